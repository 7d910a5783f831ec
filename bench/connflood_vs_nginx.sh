#!/bin/sh
# The headset's listing while other hosts hold connections open, from the
# embedded server (as the main window starts it) and from nginx (one worker,
# the program's own configuration, serving the same listing as "list.json").
#
# 1. Latency: 600 idle connections and 64 that trickle a request head that
#    never ends, all from 127.0.0.2; the listing is asked REQUESTS times from
#    127.0.0.1, one request at a time on a fresh connection, first with no
#    flood, then under it, then under a flood that makes every connection
#    the server ends again at once ("reopen"). Prints p50, p99 and max.
# 2. Answered within 1 s: a client on a fresh address (127.0.0.1) asks for
#    the listing every 0.25 s for 12 s while
#      idle    200 addresses hold 20 idle connections each (no byte sent),
#      reopen  5 addresses hold 64 idle connections each, each made again
#              as soon as the server closes it,
#      20000   100 addresses hold 200 idle connections each;
#    prints, for both servers, the share of its requests answered 200 within
#    1 s (goal: at least 99%, as nginx), and the most descriptors and memory
#    (resident) the server's process had meanwhile, with its peak resident
#    memory so far (goal for the program under the 20,000: under 150 MB).
#
#   bench/connflood_vs_nginx.sh [BUILD_DIR] [REQUESTS]
#
# BUILD_DIR holds the program measured (brontel_httpbench); the clients come
# from this tree's build (TOOLS_DIR, by default build/ beside this script),
# so one script measures any build the same way. Runs itself inside a
# private network namespace (the program announces itself on every network).
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
REQUESTS=${2:-500}
TOOLS=${TOOLS_DIR:-$ROOT/build}
IDLE=600
TRICKLING=64
PROBE_SECONDS=12
. "$ROOT/tests/privatenet.sh"
enter_private_network "$0" "$BUILD" "$REQUESTS"

. "$ROOT/bench/servers.sh"
require_tools curl nginx
SERVER_BIN=$BUILD/bin/brontel_httpbench
FLOOD_BIN=$TOOLS/bin/bench_connflood
require_built "$SERVER_BIN" "$FLOOD_BIN"
begin_work

NAME=1700000000000
head -c 1048576 /dev/urandom > "$SHARED/$NAME.mp4"
chmod 644 "$SHARED/$NAME.mp4"

start_embedded "$SHARED" "$NAME" "$SHARED/$NAME.mp4"
# nginx serves the very listing the embedded server answers with.
curl -sS -o "$SHARED/list.json" "http://127.0.0.1:$EMBEDDED_PORT/list"
chmod 644 "$SHARED/list.json"

NGINX_PORT=$(free_port_from 45670)
start_nginx "$NGINX_PREFIX" "$NGINX_PORT" "$SHARED"
sleep 0.5
NGINX_MASTER=$(cat "$NGINX_PREFIX/logs/nginx.pid")

echo "embedded server on $EMBEDDED_PORT (pid $SERVER_PID), nginx on $NGINX_PORT; $REQUESTS listing requests per latency run"
run() { # PORT PATH IDLE TRICKLING [reopen]
    "$FLOOD_BIN" latency "$1" "$2" "$3" "$4" "$REQUESTS" ${5:-}
}
E_QUIET=$(run "$EMBEDDED_PORT" /list 0 0)
N_QUIET=$(run "$NGINX_PORT" /list.json 0 0)
E_FLOOD=$(run "$EMBEDDED_PORT" /list "$IDLE" "$TRICKLING")
N_FLOOD=$(run "$NGINX_PORT" /list.json "$IDLE" "$TRICKLING")
E_REOPEN=$(run "$EMBEDDED_PORT" /list "$IDLE" "$TRICKLING" reopen)
N_REOPEN=$(run "$NGINX_PORT" /list.json "$IDLE" "$TRICKLING" reopen)

printf '%s\n' "embedded quiet $E_QUIET" "nginx quiet $N_QUIET" "embedded flood $E_FLOOD" "nginx flood $N_FLOOD" \
    "embedded reopen $E_REOPEN" "nginx reopen $N_REOPEN" | awk -v idle="$IDLE" -v trickling="$TRICKLING" '
    function field(name,   i) { for (i = 3; i < NF; i++) if ($i == name) return $(i + 1); return "?" }
    {
        row[NR] = sprintf("  %-9s %-6s %8s %8s %8s %9s %7s %12s", $1, $2, field("p50"), field("p99"), field("max"),
                          field("answered"), field("failed"), field("held") "/" field("ended"))
        p99[$1 " " $2] = field("p99")
    }
    END {
        printf "\nthe listing from 127.0.0.1, ms; flood: %d idle and %d trickling connections from 127.0.0.2\n", idle, trickling
        printf "(held/ended: the flood'"'"'s connections open at the end / ended by the server)\n"
        printf "  %-9s %-6s %8s %8s %8s %9s %7s %12s\n", "server", "flood", "p50", "p99", "max", "answered", "failed", "held/ended"
        for (i = 1; i <= NR; i++) print row[i]
        printf "  embedded p99 under the flood: %s ms (goal < 100); nginx: %s ms\n", p99["embedded flood"], p99["nginx flood"]
    }'

# descriptors_of PID...: the open descriptors of the processes together.
descriptors_of() {
    n=0
    for p in "$@"; do
        n=$((n + $(ls "/proc/$p/fd" 2>/dev/null | wc -l)))
    done
    echo "$n"
}
# kib_of FIELD PID...: a /proc/PID/status figure of the processes together.
kib_of() {
    field=$1; shift
    n=0
    for p in "$@"; do
        n=$((n + $(awk -v f="$field:" '$1 == f { print $2 }' "/proc/$p/status" 2>/dev/null || echo 0)))
    done
    echo "$n"
}

# flood_share NAME PORT PATH ADDRESSES PER_ADDRESS PROCESSES REOPEN PIDS...:
# the flood held by PROCESSES clients, the probe meanwhile, and the most
# descriptors and resident memory of the PIDS while it ran.
flood_share() {
    name=$1 port=$2 path=$3 addresses=$4 per=$5 processes=$6 reopen=$7
    shift 7
    stop=$WORK/stop.$name.$port
    rm -f "$stop"
    per_process=$((addresses / processes))
    holders=
    i=0
    while [ $i -lt "$processes" ]; do
        "$FLOOD_BIN" hold "$port" $((i * per_process)) "$per_process" "$per" "$stop" $reopen \
            > "$WORK/hold.$i" 2> "$WORK/hold.$i.err" &
        holders="$holders $!"
        i=$((i + 1))
    done
    # Until every client has made its connections (a minute at most).
    t=0
    while [ "$(cat "$WORK"/hold.* 2>/dev/null | grep -c '^ready')" -lt "$processes" ] && [ $t -lt 700 ]; do
        sleep 0.1; t=$((t + 1))
    done
    most_fd=0; most_rss=0
    "$FLOOD_BIN" probe "$port" "$path" "$PROBE_SECONDS" > "$WORK/probe" &
    probe=$!
    while kill -0 "$probe" 2>/dev/null; do
        fd=$(descriptors_of "$@"); rss=$(kib_of VmRSS "$@")
        [ "$fd" -gt "$most_fd" ] && most_fd=$fd
        [ "$rss" -gt "$most_rss" ] && most_rss=$rss
        sleep 0.5
    done
    wait "$probe" || true
    hwm=$(kib_of VmHWM "$@")
    held=$(cat "$WORK"/hold.[0-9] "$WORK"/hold.[0-9][0-9] 2>/dev/null | awk '$1 == "ready" { h += $3 } END { print h + 0 }')
    touch "$stop"
    for holder in $holders; do
        wait "$holder" || true
    done
    ended=$(cat "$WORK"/hold.[0-9] "$WORK"/hold.[0-9][0-9] 2>/dev/null | awk '$1 == "held" { e += $4 } END { print e + 0 }')
    rm -f "$WORK"/hold.*
    echo "$(cat "$WORK/probe") held $held ended $ended fd $most_fd rss $((most_rss / 1024)) hwm $((hwm / 1024))"
    # The server lets the closed connections go before the next flood.
    sleep 2
}

: > "$WORK/shares"
for flood in idle reopen 20000; do
    case $flood in
        idle) args="200 20 4 -" ;;
        reopen) args="5 64 1 reopen" ;;
        20000) args="100 200 5 -" ;;
    esac
    set -- $args
    reopen=$4; [ "$reopen" = - ] && reopen=
    NGINX_PIDS="$NGINX_MASTER $(ps -o pid= --ppid "$NGINX_MASTER" | tr '\n' ' ')"
    echo "$flood embedded $(flood_share "$flood" "$EMBEDDED_PORT" /list "$1" "$2" "$3" "$reopen" "$SERVER_PID")" >> "$WORK/shares"
    echo "$flood nginx $(flood_share "$flood" "$NGINX_PORT" /list.json "$1" "$2" "$3" "$reopen" $NGINX_PIDS)" >> "$WORK/shares"
    kill -0 "$SERVER_PID" 2>/dev/null || { echo "the embedded server is gone after the $flood flood" >&2; exit 1; }
done

awk -v seconds="$PROBE_SECONDS" '
    function field(name,   i) { for (i = 3; i < NF; i++) if ($i == name) return $(i + 1); return "?" }
    BEGIN {
        printf "\nthe listing from a fresh address every 0.25 s for %d s under each flood\n", seconds
        printf "(idle: 200 addresses x 20 idle; reopen: 5 x 64 idle, each made again as soon as it is closed;\n"
        printf " 20000: 100 x 200 idle; held/ended: the flood'"'"'s connections made / ended by the server;\n"
        printf " fd, RSS: the most the server'"'"'s processes had meanwhile; HWM: their peak resident memory so far)\n"
        printf "  %-7s %-9s %6s %9s %7s %8s %8s %13s %6s %7s %7s\n", "flood", "server", "asked", "in 1 s", "share",
            "p50 ms", "max ms", "held/ended", "fd", "RSS MB", "HWM MB"
    }
    {
        printf "  %-7s %-9s %6s %9s %6s%% %8s %8s %13s %6s %7s %7s\n", $1, $2, field("asked"), field("within1s"),
            field("share"), field("p50"), field("max"), field("held") "/" field("ended"), field("fd"), field("rss"),
            field("hwm")
    }' "$WORK/shares"
