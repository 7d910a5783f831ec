#!/bin/sh
# The headset's listing while another host holds connections open: 600 idle
# ones and 64 that trickle a request head that never ends, all from
# 127.0.0.2. The embedded server (as the main window starts it) and nginx
# (one worker, the program's own configuration, serving the same listing as
# "list.json") are each asked for the listing REQUESTS times from 127.0.0.1,
# one request at a time on a fresh connection, first with no flood and then
# under it, then under a flood that makes every connection the server ends
# again at once ("reopen"). Prints p50, p99 and max of the answer times, and
# the embedded server's p99 under the flood beside its goal (under 100 ms)
# and nginx's.
#
#   bench/connflood_vs_nginx.sh [BUILD_DIR] [REQUESTS]
#
# Runs itself inside a private network namespace (the program announces
# itself on every network).
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
REQUESTS=${2:-500}
IDLE=600
TRICKLING=64
. "$ROOT/tests/privatenet.sh"
enter_private_network "$0" "$BUILD" "$REQUESTS"

. "$ROOT/bench/servers.sh"
require_tools curl nginx
SERVER_BIN=$BUILD/bin/brontel_httpbench
FLOOD_BIN=$BUILD/bin/bench_connflood
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

echo "embedded server on $EMBEDDED_PORT, nginx on $NGINX_PORT; $REQUESTS listing requests per run"
run() { # PORT PATH IDLE TRICKLING [reopen]
    "$FLOOD_BIN" "$1" "$2" "$3" "$4" "$REQUESTS" ${5:-}
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
