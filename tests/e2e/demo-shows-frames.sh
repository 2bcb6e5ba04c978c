#!/usr/bin/env bash
# duskhall.exe opens its window and shows textured frames; Alt+Enter, whose
# exclusive 320 x 240 mode Wine refuses, leaves it running in its window; Escape
# ends it with status 0. Arguments: duskhall.exe, the folder with the textures, an
# output folder for the screenshots.
set -euo pipefail
source "$(dirname "$0")/common.sh"
e2e_need_display "$@"
exe=$1 textures=$2 out=$3
mkdir -p "$out"

cd "$textures"
"$wine_run" "$exe" >"$out/demo.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

window=$(e2e_wait_window '^duskhall$' 60) || e2e_fail "no duskhall window appeared"
# Let the camera move for a while so the frame is a real one, not the first.
sleep 2
e2e_check_textured "$window" "$out/client.png"
place="$X,$Y"

# The refused switch probes every format first (some seconds under Wine), then the
# window comes back where it was.
e2e_key "$window" alt+Return
left=0 back=0
for _ in $(seq 120); do
    sleep 0.25
    kill -0 "$pid" 2>/dev/null || e2e_fail "Alt+Enter ended the program"
    eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null || true)"
    if [ "$X,$Y" != "$place" ]; then
        left=1
    elif [ "$left" = 1 ]; then
        back=$((back + 1))
        [ "$back" -ge 4 ] && break
    fi
done
[ "$left" = 1 ] || e2e_fail "Alt+Enter did not try the fullscreen switch"
[ "$back" -ge 4 ] || e2e_fail "after Alt+Enter the window is at $X,$Y, not back at $place"
e2e_check_textured "$window" "$out/client-after-alt-enter.png"

e2e_key "$window" Escape
e2e_wait_exit "$pid" 30 || e2e_fail "duskhall.exe still runs after Escape"
trap - EXIT
[ "$e2e_status" = 0 ] || e2e_fail "exit status $e2e_status after Escape"
echo "PASS: textured frames, Alt+Enter survived, Escape ended with status 0"
