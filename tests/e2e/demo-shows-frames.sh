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

# The refused switch takes the window to the top-left corner at the screen's size,
# probes every format (some seconds under Wine, or much less), and puts the window
# back where it was. The X events are recorded, since polling the geometry can miss
# a short fullscreen phase.
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
fullscreen="(0,0), width $screen_width, height $screen_height"
xev -id "$window" -event structure >"$out/alt-enter-events.log" 2>&1 &
xev_pid=$!
trap 'kill $pid $xev_pid 2>/dev/null || true' EXIT
sleep 0.5
e2e_key "$window" alt+Return
tried=0 back=0
for _ in $(seq 120); do
    sleep 0.25
    kill -0 "$pid" 2>/dev/null || e2e_fail "Alt+Enter ended the program"
    grep -qF "$fullscreen" "$out/alt-enter-events.log" && tried=1
    eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null || true)"
    if [ "$tried" = 1 ] && [ "$X,$Y" = "$place" ]; then
        back=$((back + 1))
        [ "$back" -ge 4 ] && break
    else
        back=0
    fi
done
kill "$xev_pid" 2>/dev/null || true
trap 'kill $pid 2>/dev/null || true' EXIT
[ "$tried" = 1 ] || e2e_fail "Alt+Enter did not try the fullscreen switch"
[ "$back" -ge 4 ] || e2e_fail "after Alt+Enter the window is at $X,$Y, not back at $place"
e2e_check_textured "$window" "$out/client-after-alt-enter.png"

e2e_key "$window" Escape
e2e_wait_exit "$pid" 30 || e2e_fail "duskhall.exe still runs after Escape"
trap - EXIT
[ "$e2e_status" = 0 ] || e2e_fail "exit status $e2e_status after Escape"
echo "PASS: textured frames, Alt+Enter survived, Escape ended with status 0"
