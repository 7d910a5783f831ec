#!/bin/sh
# A headset fetching a grid of posters at once: curl asks for one poster 40
# times in parallel from 127.0.0.1, each on a connection of its own, all
# opened at once, first from the embedded server (as the main window starts
# it) and then from nginx (one worker, the program's own configuration, over
# the same shared folder). ROUNDS rounds each. Prints, per server, how many
# requests were answered 200, how many got an empty reply or another failure,
# and the median and slowest time of a round.
#
#   bench/parallel_posters_vs_nginx.sh [BUILD_DIR] [ROUNDS]
#
# Runs itself inside a private network namespace (the program announces
# itself on every network).
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
ROUNDS=${2:-20}
PARALLEL=40
. "$ROOT/tests/privatenet.sh"
enter_private_network "$0" "$BUILD" "$ROUNDS"

. "$ROOT/bench/servers.sh"
require_tools curl nginx ffmpeg
SERVER_BIN=$BUILD/bin/brontel_httpbench
require_built "$SERVER_BIN"
begin_work

NAME=1700000000000
head -c 1048576 /dev/urandom > "$SHARED/$NAME.mp4"
# A poster of the library's size, a few KB as a real one.
ffmpeg -loglevel error -f lavfi -i "life=size=212x119:seed=7" -frames:v 1 -pix_fmt rgb24 "$SHARED/$NAME.png"
chmod 644 "$SHARED/$NAME.mp4" "$SHARED/$NAME.png"

start_embedded "$SHARED" "$NAME" "$SHARED/$NAME.mp4"
NGINX_PORT=$(free_port_from 45670)
start_nginx "$NGINX_PREFIX" "$NGINX_PORT" "$SHARED"
sleep 0.5

# One round: the URL PARALLEL times; prints "answered empty failed ms".
round() {
    url=$1
    set --
    i=0
    while [ $i -lt $PARALLEL ]; do
        set -- "$@" -o /dev/null "$url"
        i=$((i + 1))
    done
    start=$(date +%s%N)
    curl -sS --no-progress-meter --parallel --parallel-max "$PARALLEL" --parallel-immediate --max-time 30 \
        -w '%{http_code}\n' "$@" > "$WORK/codes" 2> "$WORK/errors" || true
    end=$(date +%s%N)
    answered=$(grep -c '^200$' "$WORK/codes" || true)
    empty=$(grep -c 'Empty reply from server' "$WORK/errors" || true)
    echo "$answered $empty $((PARALLEL - answered - empty)) $(((end - start) / 1000000))"
}

# ROUNDS rounds against one URL; prints "answered empty failed median max".
rounds() {
    : > "$WORK/rounds"
    r=0
    while [ $r -lt "$ROUNDS" ]; do
        round "$1" >> "$WORK/rounds"
        r=$((r + 1))
    done
    sort -n -k4 "$WORK/rounds" | awk '
        { answered += $1; empty += $2; failed += $3; ms[NR] = $4 }
        END { printf "%d %d %d %d %d\n", answered, empty, failed, ms[int((NR + 1) / 2)], ms[NR] }'
}

EMBEDDED_URL=http://127.0.0.1:$EMBEDDED_PORT/post/$NAME
NGINX_URL=http://127.0.0.1:$NGINX_PORT/$NAME.png
# Both serve the same bytes, or the comparison means nothing.
curl -sS -o "$WORK/embedded.png" "$EMBEDDED_URL"
curl -sS -o "$WORK/nginx.png" "$NGINX_URL"
cmp -s "$WORK/embedded.png" "$WORK/nginx.png" || { echo "the two servers send different posters" >&2; exit 1; }

echo "embedded server on $EMBEDDED_PORT, nginx on $NGINX_PORT; poster of $(stat -c %s "$SHARED/$NAME.png") bytes," \
    "$ROUNDS rounds of $PARALLEL parallel requests from 127.0.0.1"
E=$(rounds "$EMBEDDED_URL")
N=$(rounds "$NGINX_URL")

printf '%s\n' "embedded $E" "nginx $N" | awk -v total=$((ROUNDS * PARALLEL)) '
    BEGIN {
        printf "\n%d poster requests per server, %d at once\n", total, '"$PARALLEL"'
        printf "  %-9s %9s %12s %7s %11s %8s\n", "server", "answered", "empty reply", "failed", "median ms", "max ms"
    }
    { printf "  %-9s %9d %12d %7d %11d %8d\n", $1, $2, $3, $4, $5, $6; answered[$1] = $2 }
    END { printf "  answered 200: embedded %d, nginx %d of %d\n", answered["embedded"], answered["nginx"], total }'
