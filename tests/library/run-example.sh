#!/usr/bin/env bash
# Runs one example program on the current X display and checks, from
# screenshots, that its window shows what it draws; then Escape must end it with
# status 0. Arguments: pattern|float-frames|image-viewer, a folder for the
# screenshots, and the command that starts the example (a Windows one under Wine
# included). The image viewer is resized from outside, told so, and switched
# through its three scalings.
set -euo pipefail
kind=$1 out=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

fail() {
    echo "FAIL ($kind): $*" >&2
    exit 1
}

case "$kind" in
    pattern) name='duskhall pattern' ;;
    float-frames) name='duskhall float frames' ;;
    image-viewer) name='duskhall image viewer' ;;
    *) fail "unknown example" ;;
esac

source "$here/example-run.sh"
example_start "$out/$kind.log" "$@"

# xdotool reads WM_NAME, which SDL types "UTF-8" (unreadable to it) in a process
# with a UTF-8 locale, Python's for one: then the example's own windows are asked
# for the _NET_WM_NAME window managers show.
find_window() {
    xdotool search --name "^$name\$" 2>/dev/null | head -n 1 && return
    for candidate in $(xdotool search --pid "$pid" 2>/dev/null); do
        if xprop -id "$candidate" _NET_WM_NAME 2>/dev/null | grep -qx "_NET_WM_NAME(UTF8_STRING) = \"$name\""; then
            echo "$candidate"
            return
        fi
    done
}

window=
for _ in $(seq 300); do
    window=$(find_window || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "ended before its window appeared: $(cat "$out/$kind.log")"
    sleep 0.2
done
[ -n "$window" ] || fail "no window appeared"

# Screenshots the client area of the window into $1 (PPM).
shoot() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root "$out/screen.png"
    convert "$out/screen.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$1"
}

# No window manager gives the focus: take it, so keys reach the example.
focus() {
    timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# SDL may replace the first window it makes (a renderer needing another visual):
# look again once the example has settled.
sleep 1
window=$(find_window || true)
[ -n "$window" ] || fail "its window went away"
if [ "$kind" = pattern ]; then
    xdotool mousemove --window "$window" 100 60
    sleep 0.7
    shoot "$out/pattern.ppm"
    python3 "$here/check-frame.py" pattern "$out/pattern.ppm" 100 60 || exit 1
    focus
    xdotool key space
    sleep 0.7
    shoot "$out/swapped.ppm"
    python3 "$here/check-frame.py" swapped "$out/swapped.ppm" 100 60 || exit 1
elif [ "$kind" = image-viewer ]; then
    # Waits up to 10 s for the example to print a line.
    wait_for_line() {
        for _ in $(seq 50); do
            grep -qx "$1" "$out/$kind.log" && return
            sleep 0.2
        done
        fail "never printed '$1': $(cat "$out/$kind.log")"
    }
    xdotool windowsize "$window" 700 400
    wait_for_line "resized 700 x 400"
    for scaling in integer fit stretch; do
        focus
        xdotool key "${scaling:0:1}"
        wait_for_line "scaling $scaling"
        sleep 0.5
        shoot "$out/$scaling.ppm"
        python3 "$here/check-frame.py" "viewer-$scaling" "$out/$scaling.ppm" || exit 1
    done
    [ "$(grep -c '^resized' "$out/$kind.log")" = 1 ] ||
        fail "told of a size more than once: $(cat "$out/$kind.log")"
else
    shoot "$out/float.ppm"
    python3 "$here/check-frame.py" float "$out/float.ppm" || exit 1
fi

focus
example_end_with_escape
echo "PASS ($kind): the window showed what it drew; Escape ended it with status 0"
