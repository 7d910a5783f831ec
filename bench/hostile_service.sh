#!/bin/sh
# What the program does against a hostile or broken online service, case by
# case, and the peak resident memory of the process meanwhile (bench_hostile,
# one fresh process per case, the stand-in service on 127.0.0.1):
#  - a baseline: the real program's Guide tab with one plain picture;
#  - the Guide tab of the real program against 1,100 quick pictures, 20 that
#    never answer and 20 that drip a byte a second, each also with 200
#    descriptors (the headset's /list must still answer);
#  - endless guide replies at start-up (the real program), on the Guide tab,
#    and endless update-check replies, at outTime 3;
#  - picture bombs on the Guide tab, with the GUI thread's longest block;
#  - installers with bad chunk framing, without end, onto a full disk (a
#    20 MiB tmpfs) and onto a disk that fills during the download (a tmpfs
#    just above the 256 MiB margin), each in a mount namespace of its own;
#  - three programs editing one "UUConfig.xml" by three spellings of its path;
#  - two differing Content-Length headers, at the installer download and at
#    the embedded server;
#  - guides far larger than any the maker writes (1,000 to 100,000 questions,
#    a 100,000-character title with a 2 MB answer) on the real program's
#    Guide tab: the window's longest block (a 20 ms timer preloaded into the
#    program), and how soon SIGTERM ends it, also in the middle of the
#    page's layout (HOSTILE_PROGRAM=path measures another build's program).
# Takes a few minutes. A figure in capitals is a case the program did not
# hold. Some figures depend on how busy the machine is (the start-up's
# endless replies above all): RUNS=N runs every case N times, one line each.
# A process that grows past HOSTILE_RSS_CEILING_MB (3072) is killed there and
# its line says so, so that the bench never takes a shared machine's memory.
#   [RUNS=N] bench/hostile_service.sh [BUILD_DIR] [CASE...]
# Runs itself inside a private network namespace: the program announces
# itself on every network.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
[ $# -gt 0 ] && shift
. "$ROOT/tests/privatenet.sh"
enter_private_network "$0" "$BUILD" "$@"

BENCH=$BUILD/bin/bench_hostile
[ -x "$BENCH" ] || { echo "build first: $BENCH is missing" >&2; exit 1; }
for tool in curl nginx prlimit mount; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/brontel-hostile.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM
# nginx's worker may run as another user when this runs as root.
chmod 755 "$WORK"
export QT_QPA_PLATFORM=offscreen TMPDIR="$WORK"

row() { printf "%-28s | %-34s |       - MB | %s\n" "$1" "$2" "$3"; }
FAILED=
failed() { row "$1" "BENCH FAILED" "exit $2, its messages below"; FAILED=1; }

# The case with its temporary folder on a tmpfs of that size, mounted in a
# mount namespace of its own, so that nothing outside sees it or must
# unmount it.
on_tmpfs() {
    size=$1 name=$2
    mkdir -p "$WORK/$name"
    if ! unshare -m sh -c 'mount -t tmpfs -o "size=$1" tmpfs "$2"' probe "$size" "$WORK/$name" 2>/dev/null; then
        row "$name" "not run" "no tmpfs can be mounted here (needs root in a mount namespace)"
        return 0
    fi
    unshare -m sh -c 'mount -t tmpfs -o "size=$1" tmpfs "$2" && chmod 755 "$2" && TMPDIR=$2 exec "$3" "$4"' \
        on-tmpfs "$size" "$WORK/$name" "$BENCH" "$name" 2>>"$WORK/bench.err" || failed "$name" $?
}

CASES=${*:-$("$BENCH" list)}
RUNS=${RUNS:-1}
printf "%-28s | %-34s | %10s | %s\n" "case" "outcome" "peak RSS" "figures"
for name in $CASES; do
  for run in $(seq "$RUNS"); do
    case "$name" in
        install-fulldisk-20m) on_tmpfs 20m "$name" ;;
        install-disk-fills-*) on_tmpfs 272m "$name" ;;
        *) "$BENCH" "$name" 2>>"$WORK/bench.err" || failed "$name" $? ;;
    esac
  done
done
[ -z "$FAILED" ] || tail -n 30 "$WORK/bench.err" >&2
