#!/bin/sh
# What the embedded HTTP server and nginx answer to HTTP/1.1 at its edges,
# side by side, in one run over the same one-item library: validators in
# If-Range, odd and many ranges, numbers past 64 bits, absolute-form targets,
# missing or doubled Host, encoded bytes in the path, a lone CR and the start
# of a TLS handshake. nginx runs with the program's own configuration.
# bench_edges sends each case's exact bytes on a fresh connection (the list
# is in tests/common/httpedgecases.cpp) and prints one row per case.
#
#   bench/edges_vs_nginx.sh [BUILD_DIR]
#
# SERVER_BIN=/other/build/bin/brontel_httpbench runs the embedded server of
# another build instead (nginx's configuration and the client stay this
# build's), so that two builds' answers can be compared.
#
# Runs itself inside a private network namespace (the program announces
# itself on every network).
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
. "$ROOT/tests/privatenet.sh"
enter_private_network "$0" "$BUILD"

. "$ROOT/bench/servers.sh"
require_tools curl nginx ffmpeg
CONF_BIN=$BUILD/bin/brontel_httpbench
CLIENT=$BUILD/bin/bench_edges
SERVER_BIN=${SERVER_BIN:-$CONF_BIN}
require_built "$SERVER_BIN" "$CONF_BIN" "$CLIENT"
begin_work

NAME=1700000000000
SIZE=300000
head -c "$SIZE" /dev/urandom > "$SHARED/$NAME.mp4"
ffmpeg -loglevel error -f lavfi -i color=c=blue:s=212x119 -frames:v 1 "$SHARED/$NAME.png"
chmod 644 "$SHARED/$NAME.mp4" "$SHARED/$NAME.png"

start_embedded "$SHARED" "$NAME" "$SHARED/$NAME.mp4"
# The program's own "list.json" is of its library store, which the bench
# server leaves empty (its one item goes to the server alone): nginx gets the
# embedded server's listing instead, so that both answer the same bytes.
code=$(curl -sS --max-time 10 -o "$WORK/list" -w '%{http_code}' "http://127.0.0.1:$EMBEDDED_PORT/list" || true)
if [ "$code" = 200 ]; then
    mv "$WORK/list" "$SHARED/list.json"
elif [ ! -f "$SHARED/list.json" ]; then
    echo '{"number":"0","items": []}' > "$SHARED/list.json"
fi
chmod 644 "$SHARED/list.json"

EMBEDDED_BIN=$SERVER_BIN
SERVER_BIN=$CONF_BIN
NGINX_PORT=$(free_port_from 45670)
start_nginx "$NGINX_PREFIX" "$NGINX_PORT" "$SHARED"
SERVER_BIN=$EMBEDDED_BIN
sleep 0.5

echo "embedded server: $SERVER_BIN"
QT_QPA_PLATFORM=offscreen "$CLIENT" "$EMBEDDED_PORT" "$NGINX_PORT" "$NAME" "$SIZE"
