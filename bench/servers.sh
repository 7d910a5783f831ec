# Sourced by the benchmark scripts: what they need before they start, their
# scratch folder, and the two servers they measure, each as the program runs
# it. The servers need SERVER_BIN (brontel_httpbench) and begin_work's WORK.

# require_tools TOOL...: stops, naming the first that is not installed.
require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool" >&2; exit 1; }
    done
}

# require_built FILE...: stops, naming the first that the build has not made.
require_built() {
    for built in "$@"; do
        [ -x "$built" ] || { echo "build first: $built is missing" >&2; exit 1; }
    done
}

# begin_work: WORK, a scratch folder of the script's own, with SHARED (an
# empty shared video folder) in it; NGINX_PREFIX, where the first nginx goes
# (a second one goes beside it, under a name that starts the same). However
# the script ends, the embedded server and every nginx under WORK are stopped
# and WORK is removed.
begin_work() {
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/brontel-bench.XXXXXX")
    SERVER_PID=
    NGINX_PREFIX=$WORK/nginx
    SHARED=$WORK/shared
    trap end_work EXIT
    # An interrupted run still ends through end_work.
    trap 'exit 130' INT
    trap 'exit 143' TERM
    # nginx's worker may run as another user when this runs as root.
    chmod 755 "$WORK"
    mkdir -p "$SHARED"
}

end_work() {
    if [ -n "$SERVER_PID" ]; then
        kill "$SERVER_PID" 2>/dev/null || true
        wait "$SERVER_PID" 2>/dev/null || true
    fi
    for pid_file in "$WORK"/nginx*/logs/nginx.pid; do
        [ -f "$pid_file" ] && { kill "$(cat "$pid_file")" 2>/dev/null || true; }
    done
    sleep 0.5
    rm -rf "$WORK"
}

# start_embedded SHARED NAME FILE: the main window with a library of one item
# (NAME, its copy FILE) over the shared folder, serving on the port it picks.
# Sets SERVER_PID and EMBEDDED_PORT.
start_embedded() {
    mkdir -p "$WORK/home/.local/share/VaroVR/VaroOrvalin"
    printf '[General]\nFirstUse=1\nVaroSharedDir=%s\n' "$1" \
        > "$WORK/home/.local/share/VaroVR/VaroOrvalin/Brontel.ini"
    HOME=$WORK/home XDG_DATA_HOME=$WORK/home/.local/share QT_QPA_PLATFORM=offscreen \
        "$SERVER_BIN" "$2" "$3" > "$WORK/server.out" 2> "$WORK/server.log" &
    SERVER_PID=$!
    i=0
    until grep -q '^PORT ' "$WORK/server.out" 2>/dev/null; do
        i=$((i + 1)); [ $i -lt 100 ] || { echo "the embedded server did not start" >&2; cat "$WORK/server.log" >&2; exit 1; }
        sleep 0.1
    done
    EMBEDDED_PORT=$(sed -n 's/^PORT //p' "$WORK/server.out")
}

# free_port_from PORT: the first port from PORT up that nothing listens on
# (the main window runs its own nginx on the first free one from 45670).
free_port_from() {
    port=$1
    while ss -Htln "sport = :$port" | grep -q .; do
        port=$((port + 1))
    done
    echo "$port"
}

# start_nginx PREFIX PORT SHARED [SENDFILE]: nginx with the configuration the
# program writes, under its own prefix; SENDFILE (on/off) replaces the
# configuration's sendfile line.
start_nginx() {
    mkdir -p "$1/conf" "$1/logs" "$1/temp" "$1/html"
    cp /etc/nginx/mime.types "$1/conf/mime.types"
    echo '<html><body>error</body></html>' > "$1/html/50x.html"
    "$SERVER_BIN" --nginx-conf "$2" "$3" > "$1/conf/nginx.conf"
    if [ -n "${4:-}" ]; then
        sed -i "s/^sendfile .*;\$/sendfile        $4;/" "$1/conf/nginx.conf"
        grep -q "^sendfile        $4;\$" "$1/conf/nginx.conf" || { echo "no sendfile line in the nginx configuration" >&2; exit 1; }
    fi
    nginx -p "$1" -c conf/nginx.conf -e logs/error.log -g "pid logs/nginx.pid;"
}

# write_ranges_script: "$WORK/ranges.lua", a wrk script that asks for random
# 1 MiB ranges of a file whose size is its one argument, as a headset seeking
# through a video does.
write_ranges_script() {
    cat > "$WORK/ranges.lua" <<'LUA'
local chunk = 1048576
local chunks = 1024
function init(args)
    chunks = math.floor(tonumber(args[1]) / chunk)
    math.randomseed(os.time() + math.floor(os.clock() * 1000000))
end
function request()
    local first = math.random(0, chunks - 1) * chunk
    return wrk.format("GET", nil, { ["Range"] = "bytes=" .. first .. "-" .. (first + chunk - 1) })
end
LUA
}
