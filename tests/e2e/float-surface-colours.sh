#!/usr/bin/env bash
# Pure red, green and blue bands and a grey ramp, shown on Direct3D's four-float
# surface as float frames and as integer frames, read back from the window: each
# band shows its own colour, the ramp climbs from black to white with red, green and
# blue equal. Arguments: float-surface-colours.exe, an output folder for the
# screenshots. Status 77 when the device refuses the float surface.
set -euo pipefail
source "$(dirname "$0")/common.sh"
e2e_need_display "$@"
exe=$1 out=$2
mkdir -p "$out"

# Prints one line per sample that is off by more than 3 of 255 in a channel:
# band centres at three places across, and the ramp at six.
off_samples() {
    convert "$1" -alpha off -depth 8 txt:- | awk '
        function expect(x, y, r, g, b) { want[x "," y] = r " " g " " b }
        BEGIN {
            split("5 160 314", across, " ")
            for (i = 1; i <= 3; ++i) {
                expect(across[i], 30, 255, 0, 0)
                expect(across[i], 90, 0, 255, 0)
                expect(across[i], 150, 0, 0, 255)
            }
            split("0 64 128 192 255 319", ramp, " ")
            for (i = 1; i <= 6; ++i) {
                v = int(ramp[i] * 255 / 319 + 0.5)
                expect(ramp[i], 210, v, v, v)
            }
        }
        {
            place = $1; sub(":", "", place)
            if (!(place in want)) next
            match($0, /\([0-9., ]+\)/)
            split(substr($0, RSTART + 1, RLENGTH - 2), g, ",")
            got = int(g[1]) " " int(g[2]) " " int(g[3])
            split(want[place], w, " ")
            for (c = 1; c <= 3; ++c) {
                d = w[c] - g[c]
                if (d > 3 || d < -3) { print "at " place ": " got ", wanted " want[place]; break }
            }
            seen++
        }
        END { if (seen != 15) print "only " seen + 0 " of the 15 samples are in the picture" }'
}

for kind in float integer; do
    "${wine_run[@]}" "$exe" "$kind" >"$out/$kind.log" 2>&1 &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    window=
    for _ in $(seq 300); do
        window=$(xdotool search --name '^float surface colours$' 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        if ! kill -0 "$pid" 2>/dev/null; then
            e2e_wait_exit "$pid" 5 || true
            cat "$out/$kind.log"
            [ "$e2e_status" = 77 ] && exit 77
            e2e_fail "$kind: the program ended with status $e2e_status before its window showed"
        fi
        sleep 0.2
    done
    [ -n "$window" ] || e2e_fail "$kind: no window appeared"
    # A few frames, so the picture is a presented one, not the window's first paint.
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" = 320 ] && [ "$HEIGHT" = 240 ] || e2e_fail "$kind: client area is ${WIDTH}x$HEIGHT"
    import -window root "$out/$kind-screen.png"
    convert "$out/$kind-screen.png" -crop "320x240+$X+$Y" +repage "$out/$kind.png"
    wrong=$(off_samples "$out/$kind.png")
    [ -z "$wrong" ] || e2e_fail "$kind frames on the float surface show other colours ($out/$kind.png):
$wrong"
    echo "$kind frames: red, green, blue and the grey ramp as they were given ($out/$kind.png)"
    e2e_key "$window" Escape
    e2e_wait_exit "$pid" 30 || e2e_fail "$kind: still running after Escape"
    trap - EXIT
done
echo "PASS: float and integer frames show their colours on the float surface"
