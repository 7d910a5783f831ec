#!/bin/sh
# Extraction speed of the unzip worker against Debian's unzip, measured in one
# run on this machine: one archive of 160 MiB of entries (made here: 64 files
# of random bytes that do not compress, 48 of text that does, in folders)
# extracted by both into an empty folder (goal: at least 0.8 of unzip's
# throughput). Whole processes are timed on both sides, start-up included;
# each figure is the median of several alternating runs.
#   bench/unzip_bench.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
BENCH="$BUILD_DIR/bin/bench_unzip"
[ -x "$BENCH" ] || cmake --build "$BUILD_DIR" --target bench_unzip
command -v unzip >/dev/null || { echo "unzip is missing: run ./setup.sh test once to install it" >&2; exit 1; }
WORK=$(mktemp -d "${TMPDIR:-/tmp}/brontel-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

now() { date +%s%N; }
timed() { t0=$(now); "$@" >/dev/null 2>&1; t1=$(now); echo $(( (t1 - t0) / 1000000 )); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "making the archive..."
for i in $(seq 64); do
    mkdir -p "$WORK/src/video/$((i % 8))"
    head -c 1048576 /dev/urandom > "$WORK/src/video/$((i % 8))/part$i.bin"
done
for i in $(seq 48); do
    mkdir -p "$WORK/src/text/$((i % 4))"
    head -c 1572864 /dev/urandom | base64 -w 76 | head -c 2097152 > "$WORK/src/text/$((i % 4))/notes$i.txt"
done
"$BENCH" pack "$WORK/src" "$WORK/big.zip" >/dev/null
MIB=$(du -sm --apparent-size "$WORK/src" | cut -f1)
rm -rf "$WORK/src"
echo "archive: $(du -m "$WORK/big.zip" | cut -f1) MiB holding $MIB MiB of entries"

RUNS=7
: > "$WORK/ours.ms"; : > "$WORK/theirs.ms"
ours() { sync; timed "$BENCH" extract "$WORK/big.zip" "$WORK/ours" >> "$WORK/ours.ms"; rm -rf "$WORK/ours"; }
theirs() { sync; timed unzip -q -o "$WORK/big.zip" -d "$WORK/theirs" >> "$WORK/theirs.ms"; rm -rf "$WORK/theirs"; }
# Check once that both produce the same tree before timing them.
"$BENCH" extract "$WORK/big.zip" "$WORK/ours" >/dev/null
unzip -q -o "$WORK/big.zip" -d "$WORK/theirs"
diff -r "$WORK/ours" "$WORK/theirs" >/dev/null || { echo "the two extractions differ" >&2; exit 1; }
rm -rf "$WORK/ours" "$WORK/theirs"
for i in $(seq $RUNS); do
    if [ $((i % 2)) -eq 1 ]; then ours; theirs; else theirs; ours; fi
done
OURS=$(median < "$WORK/ours.ms"); THEIRS=$(median < "$WORK/theirs.ms")
awk -v a="$OURS" -v b="$THEIRS" -v m="$MIB" -v n="$RUNS" 'BEGIN {
    printf "extract: bench_unzip %d ms (%.0f MiB/s), unzip %d ms (%.0f MiB/s) (median of %d)\n", a, m * 1000 / a, b, m * 1000 / b, n
    r = b / a; printf "extract: %.2f of unzip'"'"'s throughput (goal >= 0.80): %s\n", r, (r >= 0.8 ? "met" : "NOT met") }'
