#!/usr/bin/env bash
# Drives the paint example with real input on the current X display: xdotool's
# wheel buttons 4 and 5, typed "Hi!", and Shift held over a click. Compares what
# the program printed with what it must have received, then checks the title it
# set and, from a screenshot, the red dab Shift painted. Escape must end it with
# status 0. Arguments: a folder for the log and screenshot, and the program.
set -euo pipefail
out=$1
shift
mkdir -p "$out"
log=$out/paint.log

fail() {
    echo "FAIL (paint): $*" >&2
    exit 1
}

source "$(dirname "$0")/example-run.sh"
example_start "$log" "$@"

window=
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "ended before its window appeared: $(cat "$log")"
    sleep 0.1
done
[ -n "$window" ] || fail "no window appeared"

# Waits until the log has a line matching $1 (the program's own report that the
# input arrived), for up to 10 seconds.
wait_for() {
    for _ in $(seq 100); do
        grep -qE "$1" "$log" && return 0
        sleep 0.1
    done
    fail "never printed '$1'; it printed: $(cat "$log")"
}

# No window manager gives the focus: take it, so keys reach the program.
timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool mousemove --window "$window" 100 60
xdotool click 4
xdotool click --repeat 2 5
wait_for '^wheel -1 brush 3$'
xdotool type 'Hi!'
wait_for '^text ! '
xdotool keydown shift
wait_for '^modifiers shift$'
xdotool mousemove --window "$window" 50 50 click 1
wait_for '^draw '
xdotool keyup shift
wait_for '^modifiers none$'

expected="wheel 1 brush 5
wheel -1 brush 4
wheel -1 brush 3
text H title H
text i title Hi
text ! title Hi!
draw 50 50 brush 3 colour ff0000"
got=$(grep -E '^(wheel|text|draw) ' "$log")
[ "$got" = "$expected" ] || fail "received
$got
instead of
$expected"

title=$(xprop -id "$window" _NET_WM_NAME)
[ "$title" = '_NET_WM_NAME(UTF8_STRING) = "Hi!"' ] || fail "the title is $title"

# The dab shows with the next frame: look until it does, for up to 10 seconds.
eval "$(xdotool getwindowgeometry --shell "$window")"
for _ in $(seq 50); do
    import -window root "$out/screen.png"
    pixel=$(convert "$out/screen.png" -crop "1x1+$((X + 50))+$((Y + 50))" -depth 8 txt:- |
        tail -n 1)
    [[ "$pixel" == *"#FF0000"* ]] && break
    sleep 0.2
done
[[ "$pixel" == *"#FF0000"* ]] || fail "the dab Shift painted is not red: $pixel"

example_end_with_escape
echo "PASS (paint): wheel notches, typed text, the title and Shift's colour as the user gave them"
