#!/bin/sh
# Set-up, build and run for a Debian 12 machine.
#   ./setup.sh run    install what is missing, build, start the program
#   ./setup.sh test   install what is missing, build, run every test
# BRONTEL_JOBS and BRONTEL_TEST_JOBS set how many compilers and tests run at once.
# A second run reinstalls nothing and rebuilds only what changed.
set -eu

cd "$(dirname "$0")"
ROOT=$(pwd)
BUILD_DIR=${BRONTEL_BUILD_DIR:-$ROOT/build}

PACKAGES="build-essential cmake ninja-build pkg-config
  qtbase5-dev qtbase5-dev-tools qttools5-dev qttools5-dev-tools libqt5svg5-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libquazip1-qt5-dev libqrencode-dev libcurl4-openssl-dev ca-certificates
  nginx-light ffmpeg fonts-wqy-microhei xvfb xauth qttranslations5-l10n
  curl wrk zbar-tools iproute2 util-linux openssl unzip"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    missing=""
    for p in $PACKAGES; do
        status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
        case "$status" in
            "install ok installed") ;;
            *) missing="$missing $p" ;;
        esac
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
    # Debian starts a system nginx on port 80 when the package is installed;
    # the program runs its own nginx and does not need that one.
    if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet nginx 2>/dev/null; then
        as_root systemctl disable --now nginx >/dev/null 2>&1 || true
    fi
}

# A new build folder uses Ninja; one already configured keeps the generator
# it was made with (a folder made by hand with Unix Makefiles, say).
build() {
    if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $BRONTEL_CMAKE_ARGS
    fi
    cmake --build "$BUILD_DIR" -j "${BRONTEL_JOBS:-$(nproc)}"
}

. "$ROOT/tests/privatenet.sh"

# Runs the test command inside a private network namespace; where none can
# be made, the tests that would send beyond loopback skip themselves.
in_private_network() {
    if inside_private_network; then
        BRONTEL_TEST_NETNS=1 "$@"
        return
    fi
    if flags=$(private_network_flags); then
        run_in_private_network "$flags" "$@"
        return
    fi
    echo "NOTE: no private network namespace can be made here (needs root or user namespaces);" >&2
    echo "      tests that would send beyond loopback are skipped." >&2
    "$@"
}

BRONTEL_CMAKE_ARGS=${BRONTEL_CMAKE_ARGS:-}

case "${1:-run}" in
    run)
        install_packages
        build
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
            echo "No display: starting with the offscreen platform; the headset link still works."
            export QT_QPA_PLATFORM=offscreen
        fi
        exec "$BUILD_DIR/bin/Brontel"
        ;;
    test)
        install_packages
        build
        in_private_network ctest --test-dir "$BUILD_DIR" --output-on-failure -j "${BRONTEL_TEST_JOBS:-4}" --timeout 300
        ;;
    *)
        echo "usage: $0 [run|test]" >&2
        exit 2
        ;;
esac
