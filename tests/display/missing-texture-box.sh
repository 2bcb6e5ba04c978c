#!/bin/sh
# The Linux demo with a texture missing: the "Housekeeping error" box appears
# with its text, the line goes to standard error, and dismissing the box ends
# the program with status 1.
# Argument: the duskhall program. Needs an X display (run through with-display).
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cd "$work" || exit 1
"$program" 2>"$work/errors.txt" &
pid=$!

box=
for _ in $(seq 600); do # up to 30 s: a loaded machine can take that long to map it
    box=$(xwininfo -root -tree 2>/dev/null | awk '/"Housekeeping error"/ { print $1; exit }')
    [ -n "$box" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
if [ -z "$box" ]; then
    if kill "$pid" 2>/dev/null; then
        fail "no \"Housekeeping error\" box appeared within 30 s"
    fi
    wait "$pid"
    fail "the program ended with status $? and no \"Housekeeping error\" box; it said: $(cat "$work/errors.txt")"
fi

# The box holds the program until it is dismissed.
sleep 0.2
kill -0 "$pid" 2>/dev/null || fail "the program ended before the box was dismissed"
xdotool windowfocus --sync "$box" key Return
wait "$pid"
status=$?

[ "$status" = 1 ] || fail "exit status $status, expected 1"
grep -qx 'Housekeeping error: HKPtr: NULL pointer' "$work/errors.txt" ||
    fail "standard error lacks the message: $(cat "$work/errors.txt")"
echo "PASS: the box appeared, and dismissing it ended the program with status 1"
