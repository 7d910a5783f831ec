#!/bin/sh
# Import speed against its anchors, measured in one run on this machine:
#  1. poster and duration of a 1920x1080, 60 s H.264 clip (made here) against
#     ffmpeg -ss 30 -i clip.mp4 -frames:v 1 -s 212x119 out.png
#     (goal: at most half of ffmpeg's wall time);
#  2. the chunked copy of a 1 GiB file against cp (goal: at least 0.9 of cp's
#     throughput).
# Whole processes are timed on both sides, start-up included; each figure is
# the median of several alternating runs. The big files are removed at the end.
#   bench/import_bench.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
BENCH="$BUILD_DIR/bin/bench_import"
[ -x "$BENCH" ] || cmake --build "$BUILD_DIR" --target bench_import
WORK=$(mktemp -d "${TMPDIR:-/tmp}/brontel-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

now() { date +%s%N; }
# Wall time of a command in milliseconds.
timed() { t0=$(now); "$@" >/dev/null 2>&1; t1=$(now); echo $(( (t1 - t0) / 1000000 )); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "making a 1920x1080 60 s H.264 clip..."
ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=s=1920x1080:r=30:d=60 \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p "$WORK/clip.mp4"

RUNS=7
: > "$WORK/ours"; : > "$WORK/theirs"
for i in $(seq $RUNS); do
    timed "$BENCH" poster "$WORK/clip.mp4" "$WORK/ours.png" >> "$WORK/ours"
    timed ffmpeg -hide_banner -loglevel error -nostdin -y -ss 30 -i "$WORK/clip.mp4" \
        -frames:v 1 -s 212x119 "$WORK/theirs.png" >> "$WORK/theirs"
done
"$BENCH" poster "$WORK/clip.mp4" "$WORK/ours.png"
OURS=$(median < "$WORK/ours"); THEIRS=$(median < "$WORK/theirs")
echo "poster: bench_import ${OURS} ms, ffmpeg ${THEIRS} ms (median of $RUNS)"
awk -v a="$OURS" -v b="$THEIRS" 'BEGIN { r = a / b; printf "poster: ratio %.2f of ffmpeg'"'"'s time (goal <= 0.50): %s\n", r, (r <= 0.5 ? "met" : "NOT met") }'
rm -f "$WORK/clip.mp4"

echo "making a 1 GiB file..."
head -c 1073741824 /dev/urandom > "$WORK/big.bin"
sync
# Each copy starts from a quiet disk (the previous one written back and
# deleted), and the two take turns going first: on a shared machine whatever
# runs right after a deletion of 1 GiB pays for it.
RUNS=7
: > "$WORK/ours"; : > "$WORK/theirs"
ours() { sync; sleep 1; timed "$BENCH" copy "$WORK/big.bin" "$WORK/ours.bin" >> "$WORK/ours"; rm -f "$WORK/ours.bin"; }
theirs() { sync; sleep 1; timed cp "$WORK/big.bin" "$WORK/theirs.bin" >> "$WORK/theirs"; rm -f "$WORK/theirs.bin"; }
for i in $(seq $RUNS); do
    if [ $((i % 2)) -eq 1 ]; then ours; theirs; else theirs; ours; fi
done
OURS=$(median < "$WORK/ours"); THEIRS=$(median < "$WORK/theirs")
awk -v a="$OURS" -v b="$THEIRS" 'BEGIN {
    printf "copy: bench_import %d ms (%.0f MiB/s), cp %d ms (%.0f MiB/s) (median of 7)\n", a, 1024000 / a, b, 1024000 / b
    r = b / a; printf "copy: %.2f of cp'"'"'s throughput (goal >= 0.90): %s\n", r, (r >= 0.9 ? "met" : "NOT met") }'
