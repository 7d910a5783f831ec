# Sourced by setup.sh and the benchmarks: a private network namespace with
# only loopback and one private veth network (10.77.0.1/24), so that nothing
# the program sends (it broadcasts on every network it finds) can leave this
# machine. Made with unshare, as root or through a user namespace.

# Whether this shell already runs inside such a namespace.
inside_private_network() {
    [ "${BRONTEL_TEST_NETNS:-}" = 1 ] || [ "${NETNS_RUN_INSIDE:-}" = 1 ]
}

# Prints the unshare flags that work here; fails when none do.
private_network_flags() {
    for flags in "-n" "-rn"; do
        if unshare $flags true 2>/dev/null; then
            printf "%s\n" "$flags"
            return 0
        fi
    done
    return 1
}

# run_in_private_network FLAGS COMMAND [ARG...]
run_in_private_network() {
    flags=$1
    shift
    # Without a namespace flag unshare would run the command right here.
    case "$flags" in
        -n|-rn) ;;
        *) echo "not a network namespace: unshare '$flags'" >&2; return 1 ;;
    esac
    unshare $flags sh -c 'ip link set lo up &&
        ip link add vh0 type veth peer name vh1 &&
        ip addr add 10.77.0.1/24 broadcast 10.77.0.255 dev vh0 &&
        ip link set vh0 up && ip link set vh1 up ||
        { echo "could not set up the private network" >&2; exit 1; }
        export BRONTEL_TEST_NETNS=1; exec "$@"' private-network "$@"
}

# For a script that starts the program: runs the script again inside a
# private network, or refuses when none can be made. Call it first thing as
# `enter_private_network "$0" "$@"`.
enter_private_network() {
    inside_private_network && return 0
    flags=$(private_network_flags) || {
        echo "no private network namespace can be made here (needs root or user namespaces);" >&2
        echo "this starts the program, which broadcasts on every network: not run." >&2
        exit 1
    }
    run_in_private_network "$flags" "$@"
    exit $?
}
