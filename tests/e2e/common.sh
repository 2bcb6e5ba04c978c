# Shared by the end-to-end checks: runs Windows programs under the project's Wine
# prefix on an X display, finds their windows and talks to them through xdotool.
# Sourced; the caller has `set -euo pipefail`.

e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_run="$e2e_root/tests/win32/wine-run"

# Without a display the whole check re-runs itself inside its own Xvfb.
e2e_need_display() {
    if [ -z "${DISPLAY:-}" ]; then
        exec "$e2e_root/tests/win32/with-xvfb" bash "$0" "$@"
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

# Presses a key in a window: focus it first, there is no window manager to do it.
# The keys then go through XTEST to the focused window, as a user's keys would.
e2e_key() {
    timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key "$2"
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
