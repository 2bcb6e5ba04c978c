# Starting an example in the background and ending it with Escape, for the example
# drivers (sourced). The caller defines fail().

# Starts "${@:2}" with its output in $1; sets pid, and kills the example if the
# caller ends first.
example_start() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
}

# Presses Escape (give the window the focus first) and checks that the example
# ends within 30 seconds, with status 0.
example_end_with_escape() {
    xdotool key Escape
    for _ in $(seq 150); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "still running 30 s after Escape"
    fi
    trap - EXIT
    local status=0
    wait "$pid" || status=$?
    [ "$status" = 0 ] || fail "Escape ended it with status $status"
}
