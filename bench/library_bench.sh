#!/bin/sh
# The home page and the program over generated libraries of 0, 1,000, 5,000
# and 10,000 entries (store, listing, posters and copies as the program
# writes them), each figure beside its anchor where one applies:
#  - the page (bench_library, in-process, offscreen): the start-up load until
#    the first screen of tiles is painted (goal at 10,000: under 500 ms),
#    beside ffmpeg decoding all the posters; its resident memory when idle
#    after the load (goal at 10,000: under 300 MB); scrolling a page at a
#    time (the median and the slowest step, painted) and jumping to the end;
#    one more video (beside cp writing the two library files), delete mode
#    entered and left, and 100 entries deleted (each goal: under 500 ms);
#  - the program itself (build/bin/Brontel): from its start until the
#    headset's "/list" is answered with the whole listing, beside nginx
#    answering "list.json"; its resident memory when idle after that.
# Each figure is the median of RUNS runs. The figures are noisy while other
# work runs on the machine: repeat before drawing conclusions.
#   bench/library_bench.sh [BUILD_DIR] [SIZES] [RUNS]
# Runs itself inside a private network namespace: the program announces
# itself on every network.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
SIZES=${2:-0 1000 5000 10000}
RUNS=${3:-3}
. "$ROOT/tests/privatenet.sh"
enter_private_network "$0" "$BUILD" "$SIZES" "$RUNS"

for tool in ffmpeg curl nginx; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool" >&2; exit 1; }
done
BENCH=$BUILD/bin/bench_library
PROGRAM=$BUILD/bin/Brontel
for bin in "$BENCH" "$PROGRAM"; do
    [ -x "$bin" ] || { echo "build first: $bin is missing" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/brontel-bench.XXXXXX")
PROGRAM_PID=
BENCH_PID=
DATA=
stop_nginx() {
    [ -n "$DATA" ] && [ -f "$DATA/nginx/logs/nginx.pid" ] && kill "$(cat "$DATA/nginx/logs/nginx.pid")" 2>/dev/null
    return 0
}
cleanup() {
    [ -n "$PROGRAM_PID" ] && kill "$PROGRAM_PID" 2>/dev/null && wait "$PROGRAM_PID" 2>/dev/null
    [ -n "$BENCH_PID" ] && kill "$BENCH_PID" 2>/dev/null && wait "$BENCH_PID" 2>/dev/null
    stop_nginx
    sleep 0.3
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM
# nginx's worker may run as another user when this runs as root.
chmod 755 "$WORK"
export QT_QPA_PLATFORM=offscreen
# Whatever runs here keeps its settings in a home of the bench's own.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/.local/share"
mkdir -p "$HOME"

now() { date +%s%N; }
ms_since() { echo $(( ($(now) - $1) / 1000000 )); }
median() { sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "-"}'; }
# The figure after "$1" in a line of bench_library, in ms.
figure() { sed -n "s/.*$1 \([0-9.]*\) ms.*/\1/p" | head -n 1; }
rss_mb() { awk '/^VmRSS:/ {printf "%.0f\n", $2 / 1024}' "/proc/$1/status"; }
# Waits, bounded, until the command succeeds; fails when it never does.
wait_for() {
    tries=$1; shift
    while ! "$@"; do
        tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1
        sleep 0.01
    done
}
ini_value() { sed -n "s/^$2=//p" "$1" 2>/dev/null | head -n 1; }

# bench_library over a fresh copy of the library; appends each figure to its file.
run_page() {
    lib=$1; out=$WORK/page.out
    rm -rf "$WORK/run" "$WORK/go"
    cp -a "$lib" "$WORK/run"
    HOME=$WORK/home-page XDG_DATA_HOME=$WORK/home-page/.local/share \
        "$BENCH" measure "$WORK/run" "$WORK/go" > "$out" 2> "$WORK/page.log" &
    BENCH_PID=$!
    wait_for 12000 grep -q '^idle' "$out" || { echo "bench_library did not settle" >&2; cat "$out" "$WORK/page.log" >&2; exit 1; }
    rss_mb "$BENCH_PID" >> "$WORK/f.rss"
    touch "$WORK/go"
    wait "$BENCH_PID" || { echo "bench_library failed" >&2; cat "$out" >&2; exit 1; }
    BENCH_PID=
    figure "first screen shown in" < "$out" >> "$WORK/f.first"
    figure "read and built in" < "$out" >> "$WORK/f.built"
    sed -n 's/^add:.* in \([0-9.]*\) ms.*/\1/p' "$out" >> "$WORK/f.add"
    figure "median step in" < "$out" >> "$WORK/f.step"
    figure "slowest in" < "$out" >> "$WORK/f.slowest"
    figure "to the end in" < "$out" >> "$WORK/f.jump"
    figure "entered in" < "$out" >> "$WORK/f.enter"
    figure "left in" < "$out" >> "$WORK/f.leave"
    sed -n 's/^delete: .* in \([0-9.]*\) ms.*/\1/p' "$out" >> "$WORK/f.delete"
}

# The program over the library: start until "/list" holds all N entries,
# then its memory once idle, and nginx's answer for the same listing.
run_program() {
    lib=$1; n=$2
    ini=$DATA/Brontel.ini
    t0=$(now)
    HOME=$WORK/home-program XDG_DATA_HOME=$WORK/home-program/.local/share \
        "$PROGRAM" > "$WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
    answered() {
        port=$(ini_value "$ini" serverPort)
        [ -n "$port" ] && curl -s -m 2 "http://127.0.0.1:$port/list" 2>/dev/null | grep -q "\"number\":\"$n\""
    }
    wait_for 6000 answered || { echo "the program did not answer /list" >&2; tail -n 20 "$WORK/program.log" >&2; exit 1; }
    ms_since "$t0" >> "$WORK/f.list"
    sleep 2
    rss_mb "$PROGRAM_PID" >> "$WORK/f.prss"
    nginx_port=$(ini_value "$ini" NginxPport)
    curl -s -o /dev/null -w '%{time_total}\n' "http://127.0.0.1:$nginx_port/list.json" \
        | awk '{printf "%.1f\n", $1 * 1000}' >> "$WORK/f.nginx"
    kill -TERM "$PROGRAM_PID"
    wait "$PROGRAM_PID" || true
    PROGRAM_PID=
    stop_nginx
}

ROWS=$WORK/rows
: > "$ROWS"
for n in $SIZES; do
    lib=$WORK/lib-$n
    HOME=$WORK/home-make XDG_DATA_HOME=$WORK/home-make/.local/share "$BENCH" make "$lib" "$n" > /dev/null 2>&1
    rm -f "$WORK"/f.*

    # Anchors: the posters decoded, the two library files written.
    for i in $(seq "$RUNS"); do
        if [ "$n" -gt 0 ]; then
            t0=$(now)
            ffmpeg -hide_banner -loglevel error -nostdin -f image2 -pattern_type glob \
                -i "$lib/*.png" -f null - >/dev/null 2>&1
            ms_since "$t0" >> "$WORK/f.ffmpeg"
        fi
        mkdir -p "$WORK/cp"
        t0=$(now)
        cp "$lib/brontelvideo.dat" "$lib/list.json" "$WORK/cp/"
        ms_since "$t0" >> "$WORK/f.cp"
    done

    for i in $(seq "$RUNS"); do
        run_page "$lib"
    done

    # A first start that finds the library's folder named by an earlier
    # installation (it writes the nginx files), then starts as usual.
    rm -rf "$WORK/home-program"
    DATA=$WORK/home-program/.local/share/VaroVR/VaroOrvalin
    mkdir -p "$DATA"
    printf '[General]\nlanguage=us\n' > "$DATA/Brontel.ini"
    printf '[General]\nVaroSharedDir=%s\n' "$lib" > "$DATA/Dir.ini"
    for i in $(seq "$RUNS"); do
        run_program "$lib" "$n"
    done

    m() { if [ -s "$WORK/f.$1" ]; then median < "$WORK/f.$1"; else echo -; fi; }
    printf '%s %s %s %s %s %s %s %s %s %s %s %s %s %s %s %s\n' "$n" "$(m first)" "$(m built)" "$(m ffmpeg)" \
        "$(m rss)" "$(m add)" "$(m cp)" "$(m enter)" "$(m leave)" "$(m delete)" "$(m list)" "$(m nginx)" \
        "$(m prss)" "$(m step)" "$(m slowest)" "$(m jump)" >> "$ROWS"
    rm -rf "$lib" "$WORK/run"
done

echo "Medians of $RUNS runs; times in ms, memory in MB (VmRSS). Anchors in brackets."
echo
printf '%8s | %-22s | %8s | %-18s | %7s %7s | %10s | %-20s | %8s\n' \
    entries "first screen [ffmpeg]" "page RSS" "add one [cp files]" "enter" "leave" "delete 100" \
    "start→/list [nginx]" "prog RSS"
while read -r n first built ffmpeg rss add cp enter leave del list nginx prss step slowest jump; do
    printf '%8s | %8s [%10s] | %8s | %6s [%8s] | %7s %7s | %10s | %7s [%9s] | %8s\n' \
        "$n" "$first" "$ffmpeg" "$rss" "$add" "$cp" "$enter" "$leave" "$del" "$list" "$nginx" "$prss"
done < "$ROWS"
echo
printf '%8s | %-28s | %-14s | %s\n' entries "scrolling a page: median step" "slowest step" "jump to the end"
while read -r n first built ffmpeg rss add cp enter leave del list nginx prss step slowest jump; do
    printf '%8s | %28s | %14s | %s\n' "$n" "$step" "$slowest" "$jump"
done < "$ROWS"

# The goals, at the largest size measured.
tail -n 1 "$ROWS" | while read -r n first built ffmpeg rss add cp enter leave del list nginx prss step slowest jump; do
    echo
    echo "goals at $n entries:"
    check() { awk -v v="$2" -v g="$3" -v what="$1" -v unit="$4" \
        'BEGIN { if (v == "-") printf "  %s: not measured\n", what; else printf "  %s: %s %s, goal under %s: %s\n", what, v, unit, g, (v + 0 < g + 0 ? "met" : "NOT met") }'; }
    check "first screen shown" "$first" 500 ms
    check "page resident memory idle" "$rss" 300 MB
    check "program resident memory idle" "$prss" 300 MB
    check "slowest scrolling step" "$slowest" 50 ms
    check "one more video" "$add" 500 ms
    check "delete mode entered" "$enter" 500 ms
    check "delete mode left" "$leave" 500 ms
    check "100 entries deleted" "$del" 500 ms
    check "start to /list answered" "$list" 300 ms
done
