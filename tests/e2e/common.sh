# Shared by the end-to-end checks: runs Windows programs under the Wine of the build
# being tested (DUSKHALL_WINE_ARCH, win32 or win64, set by that build's CTest) on an X
# display, finds their windows and talks to them through xdotool.
# Sourced; the caller has `set -euo pipefail`.

e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# The command that runs a Windows program under the Wine of the build being tested
# (an array, so that `"${wine_run[@]}" prog &` gives the program's own process id).
wine_run=("$e2e_root/tests/win32/wine-run" "${DUSKHALL_WINE_ARCH:?which build: win32 or win64}")

# Without a display the whole check re-runs itself inside its own Xvfb.
e2e_need_display() {
    if [ -z "${DISPLAY:-}" ]; then
        exec "$e2e_root/tests/display/with-display" bash "$0" "$@"
    fi
}

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to $2 seconds for a window whose name matches the regular expression $1;
# prints its id.
e2e_wait_window() {
    local pattern=$1 seconds=$2 id
    for _ in $(seq $((seconds * 5))); do
        id=$(xdotool search --name "$pattern" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Waits up to $2 seconds for process $1 to end; its status is in e2e_status.
e2e_wait_exit() {
    local pid=$1 seconds=$2
    for _ in $(seq $((seconds * 5))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            e2e_status=0
            wait "$pid" || e2e_status=$?
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Gives window $1 the keyboard focus and waits until the X server reports it there
# (up to ten seconds). There is no window manager to do it; keys sent before the focus
# has arrived go to whichever window had it and are lost.
e2e_focus() {
    local window=$1 focused
    for _ in $(seq 50); do
        timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || true
        focused=$(xdotool getwindowfocus 2>/dev/null || true)
        [ "$focused" = "$window" ] && return 0
        sleep 0.2
    done
    echo "window $window did not get the focus (it is at ${focused:-none})" >&2
    return 1
}

# Presses a key in a window once it has the focus. The keys then go through XTEST to
# the focused window, as a user's keys would.
e2e_key() {
    e2e_focus "$1" || true
    xdotool key "$2"
}

# Starts recording the X events of kinds $3... of window $1 into file $2 (xev), and
# returns once the recorder demonstrably listens: it has seen a property we set on
# the window. Sets e2e_recorder to its process id.
e2e_record_events() {
    local window=$1 log=$2
    shift 2
    local kinds=(-event property)
    for kind in "$@"; do kinds+=(-event "$kind"); done
    xev -id "$window" "${kinds[@]}" >"$log" 2>&1 &
    e2e_recorder=$!
    for i in $(seq 100); do
        xprop -id "$window" -f _DUSKHALL_E2E_MARK 32c -set _DUSKHALL_E2E_MARK "$i" 2>/dev/null || true
        grep -q _DUSKHALL_E2E_MARK "$log" && return 0
        sleep 0.1
    done
    e2e_fail "the event recorder on window $window did not start"
}

# Screenshots the client area of window $1 into $2 and checks that it shows a
# textured frame: 320 x 240, not black, not uniform, many colours.
e2e_check_textured() {
    local window=$1 picture=$2 mean deviation colours
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "window $window at $X,$Y size ${WIDTH}x$HEIGHT"
    [ "$WIDTH" = 320 ] && [ "$HEIGHT" = 240 ] || e2e_fail "client area is ${WIDTH}x$HEIGHT, not 320x240"
    import -window root "${picture%.png}-screen.png"
    convert "${picture%.png}-screen.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$picture"
    read -r mean deviation < <(convert "$picture" -colorspace Gray \
        -format '%[fx:mean] %[fx:standard_deviation]\n' info:)
    colours=$(convert "$picture" -format '%k' info:)
    echo "client area: mean $mean, deviation $deviation, $colours colours ($picture)"
    awk -v m="$mean" 'BEGIN { exit !(m > 0.05) }' || e2e_fail "client area is black"
    awk -v d="$deviation" 'BEGIN { exit !(d > 0.05) }' || e2e_fail "client area is uniform"
    [ "$colours" -gt 100 ] || e2e_fail "only $colours colours: not a textured frame"
}
