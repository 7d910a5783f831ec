#!/bin/sh
# The embedded HTTP server against nginx serving the same 1 GiB file, in one
# run: wrk with 16 connections asking for random 1 MiB ranges, then one curl
# stream of the whole file. nginx runs with one worker and the program's own
# configuration. Prints both and the ratios.
#
#   bench/httpserver_vs_nginx.sh [BUILD_DIR] [SECONDS]
#
# Runs itself inside a private network namespace (the program announces
# itself on every network). The 1 GiB file is deleted at the end.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
SECONDS_PER_RUN=${2:-10}
. "$ROOT/tests/privatenet.sh"
enter_private_network "$0" "$BUILD" "$SECONDS_PER_RUN"

. "$ROOT/bench/servers.sh"
require_tools wrk curl nginx
SERVER_BIN=$BUILD/bin/brontel_httpbench
require_built "$SERVER_BIN"
begin_work
COPYING_NGINX_PREFIX=$WORK/nginx-copying

NAME=1700000000000
FILE=$SHARED/$NAME.mp4
SIZE=1073741824
echo "making a 1 GiB file..."
head -c "$SIZE" /dev/urandom > "$FILE"
chmod 644 "$FILE"
cat "$FILE" > /dev/null

# The embedded server, as the main window starts it.
start_embedded "$SHARED" "$NAME" "$FILE"

# nginx with the program's own configuration, as the program writes it. A
# second nginx, the same but for "sendfile off", shows what copying every
# byte through user space (as the embedded server still does for bodies it
# cannot send straight from their file) costs nginx itself.
NGINX_PORT=$(free_port_from 45670)
start_nginx "$NGINX_PREFIX" "$NGINX_PORT" "$SHARED" on
COPYING_NGINX_PORT=$(free_port_from "$NGINX_PORT")
start_nginx "$COPYING_NGINX_PREFIX" "$COPYING_NGINX_PORT" "$SHARED" off
sleep 0.5

write_ranges_script

# wrk's figures: MiB/s, p99 in ms, requests/s, errors.
run_wrk() {
    wrk -t4 -c16 -d"${SECONDS_PER_RUN}s" --timeout 10s --latency -s "$WORK/ranges.lua" "$1" -- "$SIZE" > "$WORK/wrk.out" 2>&1
    awk '
        function bytes(v) { n = v + 0; if (v ~ /GB$/) return n * 1024; if (v ~ /MB$/) return n; if (v ~ /KB$/) return n / 1024; return n / 1048576 }
        function ms(v) { n = v + 0; if (v ~ /us$/) return n / 1000; if (v ~ /ms$/) return n; if (v ~ /m$/) return n * 60000; if (v ~ /s$/) return n * 1000; return n }
        /Transfer\/sec/ { mib = bytes($2) }
        /Requests\/sec/ { rps = $2 }
        /^ *99%/ { p99 = ms($2) }
        /Socket errors/ { errors = $0 }
        /Non-2xx/ { errors = errors " " $0 }
        END { printf "%.1f %.2f %.1f %s\n", mib, p99, rps, (errors == "" ? "none" : errors) }
    ' "$WORK/wrk.out"
}

run_curl() {
    curl -sS -o /dev/null -w '%{http_code} %{size_download} %{speed_download}\n' "$1"
}

echo "embedded server on $EMBEDDED_PORT, nginx on $NGINX_PORT (sendfile off: $COPYING_NGINX_PORT); $SECONDS_PER_RUN s per wrk run"
EMBEDDED_URL=http://127.0.0.1:$EMBEDDED_PORT/video/$NAME
NGINX_URL=http://127.0.0.1:$NGINX_PORT/$NAME.mp4
COPYING_URL=http://127.0.0.1:$COPYING_NGINX_PORT/$NAME.mp4

set -- $(run_wrk "$EMBEDDED_URL"); E_MIB=$1; E_P99=$2; E_RPS=$3; shift 3; E_ERR=$*
set -- $(run_wrk "$NGINX_URL"); N_MIB=$1; N_P99=$2; N_RPS=$3; shift 3; N_ERR=$*
set -- $(run_wrk "$COPYING_URL"); C_MIB=$1; C_P99=$2; C_RPS=$3; shift 3; C_ERR=$*
set -- $(run_curl "$EMBEDDED_URL"); E_CODE=$1; E_BYTES=$2; E_SPEED=$3
set -- $(run_curl "$NGINX_URL"); N_CODE=$1; N_BYTES=$2; N_SPEED=$3
set -- $(run_curl "$COPYING_URL"); C_CODE=$1; C_BYTES=$2; C_SPEED=$3

awk -v em="$E_MIB" -v ep="$E_P99" -v er="$E_RPS" -v ee="$E_ERR" \
    -v nm="$N_MIB" -v np="$N_P99" -v nr="$N_RPS" -v ne="$N_ERR" \
    -v cm="$C_MIB" -v cp="$C_P99" -v cr="$C_RPS" -v ce="$C_ERR" \
    -v ec="$E_CODE" -v eb="$E_BYTES" -v es="$E_SPEED" \
    -v nc="$N_CODE" -v nb="$N_BYTES" -v ns="$N_SPEED" \
    -v cc="$C_CODE" -v cb="$C_BYTES" -v cs="$C_SPEED" 'BEGIN {
    printf "\nwrk, 16 connections, random 1 MiB ranges of a 1 GiB file\n"
    printf "  %-20s %10s %10s %10s  %s\n", "", "MiB/s", "req/s", "p99 ms", "errors"
    printf "  %-20s %10.1f %10.1f %10.2f  %s\n", "embedded", em, er, ep, ee
    printf "  %-20s %10.1f %10.1f %10.2f  %s\n", "nginx", nm, nr, np, ne
    printf "  %-20s %10.1f %10.1f %10.2f  %s\n", "nginx, sendfile off", cm, cr, cp, ce
    printf "  embedded/nginx: throughput %.2f (goal >= 0.50), p99 %.2f (goal <= 2.00)\n", em / nm, ep / np
    printf "\ncurl, the whole file in one stream\n"
    printf "  %-20s %10s %12s %10s\n", "", "status", "bytes", "MiB/s"
    printf "  %-20s %10s %12s %10.1f\n", "embedded", ec, eb, es / 1048576
    printf "  %-20s %10s %12s %10.1f\n", "nginx", nc, nb, ns / 1048576
    printf "  %-20s %10s %12s %10.1f\n", "nginx, sendfile off", cc, cb, cs / 1048576
    printf "  embedded/nginx: throughput %.2f\n", es / ns
}'
