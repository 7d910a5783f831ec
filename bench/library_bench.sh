#!/bin/sh
# The home page with a library of 1,000 entries (generated store, listing,
# posters and copies), measured in one run on this machine:
#  1. start-up: the page reads the store and shows all tiles, laid out and
#     painted (goal: under 1 s), beside ffmpeg decoding the same 1,000
#     posters, the work that no way of showing them can skip;
#  2. one more video: its tile, and "brontelvideo.dat" and "list.json"
#     written afresh (goal: under 1 s), beside cp writing the same two files.
# The page's figures are its own (printed by bench_library, in-process); the
# anchors are whole processes. Each figure is the median of several runs.
#   bench/library_bench.sh [BUILD_DIR] [ENTRIES]
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
ENTRIES=${2:-1000}
BENCH="$BUILD_DIR/bin/bench_library"
[ -x "$BENCH" ] || cmake --build "$BUILD_DIR" --target bench_library
WORK=$(mktemp -d "${TMPDIR:-/tmp}/brontel-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM
# The settings go to a home of the bench's own; the page needs no display.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/.local/share"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
mkdir -p "$HOME"

now() { date +%s%N; }
timed() { t0=$(now); "$@" >/dev/null 2>&1; t1=$(now); echo $(( (t1 - t0) / 1000000 )); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# The figure after "$2" in bench_library's line, in ms.
figure() { sed -n "s/.*$1 \([0-9.]*\) ms.*/\1/p"; }

"$BENCH" make "$WORK/lib" "$ENTRIES" 2>/dev/null
RUNS=7
: > "$WORK/ours"; : > "$WORK/theirs"
for i in $(seq $RUNS); do
    "$BENCH" load "$WORK/lib" 2>/dev/null | figure "shown in" >> "$WORK/ours"
    timed ffmpeg -hide_banner -loglevel error -nostdin -f image2 -pattern_type glob \
        -i "$WORK/lib/*.png" -f null - >> "$WORK/theirs"
done
OURS=$(median < "$WORK/ours"); THEIRS=$(median < "$WORK/theirs")
echo "start-up load of $ENTRIES entries: all tiles shown in $OURS ms; ffmpeg decodes the posters in $THEIRS ms (median of $RUNS)"
awk -v a="$OURS" -v b="$THEIRS" 'BEGIN { printf "start-up load: %.2f of ffmpeg'"'"'s time; goal under 1000 ms: %s\n", a / b, (a < 1000 ? "met" : "NOT met") }'

: > "$WORK/ours"; : > "$WORK/theirs"
cp "$WORK/lib/brontelvideo.dat" "$WORK/store.keep"; cp "$WORK/lib/list.json" "$WORK/list.keep"
for i in $(seq $RUNS); do
    "$BENCH" add "$WORK/lib" 2>/dev/null | figure "stored and listed in" >> "$WORK/ours"
    # The next run adds to the same library again.
    cp "$WORK/store.keep" "$WORK/lib/brontelvideo.dat"; cp "$WORK/list.keep" "$WORK/lib/list.json"
    timed cp "$WORK/lib/brontelvideo.dat" "$WORK/lib/list.json" "$WORK/home/" >> "$WORK/theirs"
done
OURS=$(median < "$WORK/ours"); THEIRS=$(median < "$WORK/theirs")
echo "one more video: tile added and both files rewritten in $OURS ms; cp writes the two files in $THEIRS ms (median of $RUNS)"
awk -v a="$OURS" -v b="$THEIRS" 'BEGIN { printf "one more video: %.2f of cp'"'"'s time; goal under 1000 ms: %s\n", a / b, (a < 1000 ? "met" : "NOT met") }'
