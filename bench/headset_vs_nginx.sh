#!/bin/sh
# What the headset gets from the real program at each library size, beside
# nginx (the program's own, with its own configuration) serving the same
# shared folder. For each size (generated libraries: store, listing, posters
# and copies as the program writes them, by `bench_library make`):
#  1. start -> listing: from the program's start until the embedded server
#     answers "/list" and nginx "/list.json" with the whole listing (median
#     and range of several starts; goals: both within 300 ms, and the
#     embedded server within 50 ms of nginx), and the parts of it that grow
#     with the library (store read, goal under 50 ms at 10,000 entries;
#     library JSON; index);
#  2. "/list" p50 and p99 (wrk, one connection, a connection per request for
#     both servers, as the headset asks) beside nginx serving "list.json", and
#     the server's CPU per request from /proc before and after (goal: p50 and
#     p99 within 1.5 x nginx's);
#  3. serving a video: wrk, 16 connections, random 1 MiB ranges of a 1 GiB
#     copy (the middle entry's, so that a search through the library costs
#     what an average request costs), CPU-seconds per GiB sent, embedded
#     beside nginx (goal: within 2 x nginx's at every size).
# The CPU figures are the whole program's and nginx's master and worker; the
# program is left to finish building its tiles first.
#
#   bench/headset_vs_nginx.sh [BUILD_DIR] [SECONDS] [SIZES]
#
# SIZES defaults to "0 1 1000 5000 10000" (the video needs an entry, so the
# size 0 has none). BUILD_DIR holds the program measured (and its own
# library reading, for the parts); the libraries are made and the servers
# polled by this tree's build (TOOLS_DIR, by default build/ beside this
# script), so one script measures any build the same way. Runs itself inside
# a private network namespace (the program announces itself on every
# network). Everything it makes is deleted at the end. Figures are noisy
# while the machine builds: run it twice.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
SECONDS_PER_RUN=${2:-5}
SIZES=${3:-0 1 1000 5000 10000}
. "$ROOT/tests/privatenet.sh"
enter_private_network "$0" "$BUILD" "$SECONDS_PER_RUN" "$SIZES"

for tool in wrk curl nginx ps; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool" >&2; exit 1; }
done
TOOLS=${TOOLS_DIR:-$ROOT/build}
PROGRAM=$BUILD/bin/Brontel
LOADER=$BUILD/bin/bench_headset
MAKER=$TOOLS/bin/bench_library
POLLER=$TOOLS/bin/bench_headset
for bin in "$PROGRAM" "$LOADER" "$MAKER" "$POLLER"; do
    [ -x "$bin" ] || { echo "build first: $bin is missing" >&2; exit 1; }
done

STARTS=5
TICK=$(getconf CLK_TCK)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/brontel-bench.XXXXXX")
PID=
cleanup() {
    stop_program
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM
# nginx's worker may run as another user when this runs as root.
chmod 755 "$WORK"

HOME_DIR=$WORK/home
DATA=$HOME_DIR/.local/share/VaroVR/VaroOrvalin
# free_port_from
SERVER_BIN=
. "$ROOT/bench/servers.sh"

# stop_program: the program ends as the system asks it to, and stops nginx,
# which may still be writing into the data folder when the program is gone.
stop_program() {
    [ -n "$PID" ] || return 0
    master=$(cat "$DATA/nginx/logs/nginx.pid" 2>/dev/null || true)
    kill "$PID" 2>/dev/null || true
    i=0
    while kill -0 "$PID" 2>/dev/null && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
    kill -0 "$PID" 2>/dev/null && kill -9 "$PID" 2>/dev/null
    wait "$PID" 2>/dev/null || true
    PID=
    i=0
    while [ -n "$master" ] && kill -0 "$master" 2>/dev/null && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
}

# cpu_ticks PID...: user and system time of the processes, in clock ticks.
cpu_ticks() {
    total=0
    for p in "$@"; do
        t=$(awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$p/stat" 2>/dev/null || echo 0)
        total=$((total + t))
    done
    echo "$total"
}

nginx_pids() {
    master=$(cat "$DATA/nginx/logs/nginx.pid")
    echo "$master" $(ps -o pid= --ppid "$master")
}

# settle PID: until the program uses less than 2% of a core for half a
# second (its tiles are built), at most a minute.
settle() {
    i=0
    while [ $i -lt 120 ]; do
        a=$(cpu_ticks "$1"); sleep 0.5; b=$(cpu_ticks "$1")
        [ $(( (b - a) * 100 )) -lt $(( TICK )) ] && return 0
        i=$((i + 1))
    done
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
range() { sort -n | awk 'NR==1 {lo=$1} {hi=$1} END {printf "%s-%s", lo, hi}'; }

# wrk_figures OUT: p50 ms, p99 ms, requests, bytes read.
wrk_figures() {
    awk '
        function ms(v) { n = v + 0; if (v ~ /us$/) return n / 1000; if (v ~ /ms$/) return n; if (v ~ /m$/) return n * 60000; if (v ~ /s$/) return n * 1000; return n }
        function bytes(v) { n = v + 0; if (v ~ /GB$/) return n * 1073741824; if (v ~ /MB$/) return n * 1048576; if (v ~ /KB$/) return n * 1024; return n }
        /^ *50%/ { p50 = ms($2) }
        /^ *99%/ { p99 = ms($2) }
        / requests in / { requests = $1; read = bytes($5) }
        END { printf "%.2f %.2f %d %.0f\n", p50, p99, requests, read }
    ' "$1"
}

# measure_wrk PIDS... -- WRK-ARGS: wrk's figures and the CPU ticks the
# processes used meanwhile.
measure_wrk() {
    pids=
    while [ "$1" != "--" ]; do pids="$pids $1"; shift; done
    shift
    before=$(cpu_ticks $pids)
    wrk --latency "$@" > "$WORK/wrk.out" 2>&1
    after=$(cpu_ticks $pids)
    echo "$(wrk_figures "$WORK/wrk.out") $((after - before))"
}

# list_wrk PIDS... -- URL: one connection, a new one for each request.
list_wrk() {
    measure_wrk "$@" -t1 -c1 -d"${SECONDS_PER_RUN}s" --timeout 10s -H "Connection: close"
}

# video_wrk PIDS... -- URL: 16 connections asking for random 1 MiB ranges.
video_wrk() {
    pids=
    while [ "$1" != "--" ]; do pids="$pids $1"; shift; done
    measure_wrk $pids -- -t4 -c16 -d"${SECONDS_PER_RUN}s" --timeout 10s -s "$WORK/ranges.lua" "$2" -- "$BIG_SIZE"
}

write_ranges_script

BIG=$WORK/big.mp4
BIG_SIZE=1073741824
echo "making a 1 GiB copy..."
head -c "$BIG_SIZE" /dev/urandom > "$BIG"
chmod 644 "$BIG"

# The name of the entry whose copy is the large one ("" for none): the
# copies are named after the time, one millisecond apart.
video_name() {
    [ "$1" -gt 0 ] && echo $((1700000000000 + $1 / 2)) || true
}

# start_program N: the program, as a fresh user, over the library of N
# entries; sets PID, EPORT and NPORT, and prints the poller's figures.
start_program() {
    rm -rf "$HOME_DIR"
    mkdir -p "$DATA"
    printf '[General]\nFirstUse=1\nVaroSharedDir=%s\n' "$WORK/lib$1" > "$DATA/Brontel.ini"
    # The ports the program will take: the first free ones.
    EPORT=$(free_port_from 9000)
    NPORT=$(free_port_from 45670)
    t0=$(date +%s%N)
    env HOME="$HOME_DIR" XDG_DATA_HOME="$HOME_DIR/.local/share" QT_QPA_PLATFORM=offscreen \
        "$PROGRAM" > "$WORK/program.out" 2>&1 &
    PID=$!
    "$POLLER" wait "$t0" "$EPORT" "$NPORT" "$1" > "$WORK/poll.out" || { echo "no listing at $1 entries" >&2; exit 1; }
    [ "$(sed -n 's/^serverPort=//p' "$DATA/Brontel.ini")" = "$EPORT" ] &&
        [ "$(sed -n 's/^NginxPport=//p' "$DATA/Brontel.ini")" = "$NPORT" ] ||
        { echo "the program took other ports than $EPORT and $NPORT" >&2; exit 1; }
}

for N in $SIZES; do
    HOME=$WORK/maker XDG_DATA_HOME=$WORK/maker/.local/share QT_QPA_PLATFORM=offscreen \
        "$MAKER" make "$WORK/lib$N" "$N" > /dev/null 2>&1 || { echo "bench_library make failed" >&2; exit 1; }
    NAME=$(video_name "$N")
    [ -z "$NAME" ] || ln -f "$BIG" "$WORK/lib$N/$NAME.mp4"
    chmod -R a+rX "$WORK/lib$N"
done

# What the start-up does before it can answer, on its own: the store read,
# the library JSON made of it and the index made of that (median of 5).
for N in $SIZES; do
    : > "$WORK/load"
    for run in 1 2 3 4 5; do
        HOME=$WORK/maker XDG_DATA_HOME=$WORK/maker/.local/share QT_QPA_PLATFORM=offscreen \
            "$LOADER" load "$WORK/lib$N" >> "$WORK/load"
    done
    for step in store json index; do
        awk -v s="$step" '{ for (i = 1; i < NF; i++) if ($i == s) print $(i + 1) }' "$WORK/load" | median > "$WORK/$step.$N"
    done
    echo "$N entries: store read $(cat "$WORK/store.$N") ms, library JSON $(cat "$WORK/json.$N") ms, index $(cat "$WORK/index.$N") ms"
done

# The starts come first: the serving below leaves tens of thousands of
# connections in TIME_WAIT for a minute, and the program's port search reads
# every one of them.
for N in $SIZES; do
    : > "$WORK/embedded.ms"; : > "$WORK/nginx.ms"; : > "$WORK/behind.ms"
    for run in $(seq $STARTS); do
        start_program "$N"
        set -- $(cat "$WORK/poll.out")
        echo "$2" >> "$WORK/embedded.ms"; echo "$4" >> "$WORK/nginx.ms"
        # How much later than nginx the embedded server answered, that start.
        awk -v e="$2" -v n="$4" 'BEGIN { printf "%.1f\n", e - n }' >> "$WORK/behind.ms"
        stop_program
    done
    echo "$(median < "$WORK/embedded.ms") ($(range < "$WORK/embedded.ms"))" > "$WORK/start-e.$N"
    echo "$(median < "$WORK/nginx.ms") ($(range < "$WORK/nginx.ms"))" > "$WORK/start-n.$N"
    echo "$(median < "$WORK/behind.ms") ($(range < "$WORK/behind.ms"))" > "$WORK/start-d.$N"
    echo "$N entries: start -> listing, embedded $(cat "$WORK/start-e.$N") ms, nginx $(cat "$WORK/start-n.$N") ms," \
        "embedded - nginx $(cat "$WORK/start-d.$N") ms"
done

: > "$WORK/results"
for N in $SIZES; do
    start_program "$N"
    settle "$PID"
    NGINX=$(nginx_pids)

    set -- $(list_wrk "$PID" -- "http://127.0.0.1:$EPORT/list")
    E_P50=$1; E_P99=$2; E_REQ=$3; E_CPU=$5
    set -- $(list_wrk $NGINX -- "http://127.0.0.1:$NPORT/list.json")
    N_P50=$1; N_P99=$2; N_REQ=$3; N_CPU=$5

    V_E="-"; V_N="-"
    NAME=$(video_name "$N")
    if [ -n "$NAME" ]; then
        set -- $(video_wrk "$PID" -- "http://127.0.0.1:$EPORT/video/$NAME")
        V_E=$(awk -v t="$5" -v b="$4" -v k="$TICK" 'BEGIN { printf "%.3f", (t / k) / (b / 1073741824) }')
        set -- $(video_wrk $NGINX -- "http://127.0.0.1:$NPORT/$NAME.mp4")
        V_N=$(awk -v t="$5" -v b="$4" -v k="$TICK" 'BEGIN { printf "%.3f", (t / k) / (b / 1073741824) }')
    fi
    stop_program

    awk -v n="$N" -v se="$(cat "$WORK/start-e.$N")" -v sn="$(cat "$WORK/start-n.$N")" -v sd="$(cat "$WORK/start-d.$N")" \
        -v st="$(cat "$WORK/store.$N")" -v js="$(cat "$WORK/json.$N")" -v ix="$(cat "$WORK/index.$N")" \
        -v ep50="$E_P50" -v ep99="$E_P99" -v np50="$N_P50" -v np99="$N_P99" \
        -v ereq="$E_REQ" -v ecpu="$E_CPU" -v nreq="$N_REQ" -v ncpu="$N_CPU" -v k="$TICK" -v ve="$V_E" -v vn="$V_N" 'BEGIN {
        printf "%s entries\n", n
        printf "  start -> listing, ms (median, range of '"$STARTS"'): embedded %s, nginx %s (goal <= 300)\n", se, sn
        printf "  embedded - nginx, ms (median, range): %s (goal <= 50)\n", sd
        printf "  of which store read %s ms (goal < 50 at 10,000), library JSON %s ms, index %s ms\n", st, js, ix
        printf "  /list p50/p99 ms: embedded %.2f/%.2f, nginx list.json %.2f/%.2f; ratio %.2f/%.2f (goal <= 1.5)\n", \
            ep50, ep99, np50, np99, ep50 / np50, ep99 / np99
        printf "  CPU per /list, ms: embedded %.3f (%d requests), nginx %.3f (%d requests)\n", \
            ereq ? ecpu * 1000 / k / ereq : 0, ereq, nreq ? ncpu * 1000 / k / nreq : 0, nreq
        if (ve != "-")
            printf "  video, CPU-seconds per GiB: embedded %s, nginx %s; ratio %.2f (goal <= 2)\n", ve, vn, (vn > 0 ? ve / vn : 0)
    }' | tee -a "$WORK/results"
done
echo
echo "summary"
cat "$WORK/results"
