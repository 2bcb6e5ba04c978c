#!/usr/bin/env bash
# Runs one example program on the current X display and checks, from
# screenshots, that its window shows what it draws; then Escape must end it with
# status 0. Arguments: pattern|float-frames, a folder for the screenshots, and the
# command that starts the example (a Windows one under Wine included).
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
    pattern) title='^duskhall pattern$' ;;
    float-frames) title='^duskhall float frames$' ;;
    *) fail "unknown example" ;;
esac

"$@" >"$out/$kind.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

window=
for _ in $(seq 300); do
    window=$(xdotool search --name "$title" 2>/dev/null | head -n 1 || true)
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

sleep 1
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
else
    shoot "$out/float.ppm"
    python3 "$here/check-frame.py" float "$out/float.ppm" || exit 1
fi

focus
xdotool key Escape
for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "still running 30 s after Escape"
trap - EXIT
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "Escape ended it with status $status"
echo "PASS ($kind): the window showed what it drew; Escape ended it with status 0"
