#!/usr/bin/env bash
# Runs the Wayland check program under a Weston of its own and checks that SDL
# used its Wayland driver, that the frames reached the compositor, and that a
# close ended the program through the screen's closing callback.
#   wayland-run.sh PROGRAM OUT-FOLDER
# Runs on an X display (tests/display/with-display gives one): Weston's headless
# back-end offers no seat, and Debian's SDL (2.26) crashes in SDL_Init on a
# compositor without one, so Weston runs with its X11 back-end, in a window of
# the X display, with the seat that back-end brings. Exit status 77, with the
# reason, when Weston is missing or does not start here.
set -uo pipefail
program=$1 out=$2
mkdir -p "$out"

skip() {
    echo "test-library: skipped the Wayland run: $*"
    exit 77
}
fail() {
    echo "FAIL (wayland): $*" >&2
    exit 1
}

command -v weston >/dev/null || skip "weston is not installed (Debian package weston; scripts/setup installs it)"
[ -n "${DISPLAY:-}" ] || skip "no X display for Weston's X11 back-end"

runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=duskhall-$$
weston_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null
        wait "$weston_pid" 2>/dev/null
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT

XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --socket="$socket" --idle-time=0 \
    --use-pixman --width=800 --height=600 --no-config --log="$out/weston.log" &
weston_pid=$!
for _ in $(seq 150); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || skip "Weston did not start: $(tail -n 3 "$out/weston.log" 2>/dev/null)"

# The X display stays in the environment: SDL_VIDEODRIVER must win over it.
taken=$out/screenshot-taken
rm -f "$taken"
XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" SDL_VIDEODRIVER=wayland \
    "$program" "$taken" >"$out/program.log" 2>&1 &
program_pid=$!
for _ in $(seq 300); do
    grep -q "showing frames" "$out/program.log" && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
grep -q "showing frames" "$out/program.log" || fail "the program showed no frames: $(cat "$out/program.log")"
grep -qx "video driver: wayland" "$out/program.log" || fail "SDL did not use its Wayland driver"

# Weston's output is a window on the X display: its picture holds ours once
# Weston has composited and drawn it, which a busy machine can take a while to do.
framed() {
    import -window root "$out/weston.png" && convert "$out/weston.png" "$out/weston.ppm" ||
        fail "no screenshot of Weston's output"
    python3 - "$out/weston.ppm" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
fields = data.split(maxsplit=4)  # P6, width, height, maximum, pixels
pixels = fields[4]
wanted = bytes((0x33, 0x66, 0xCC))
count = sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] == wanted)
print(f"wayland: {count} pixels of the frame's colour on Weston's output")
sys.exit(0 if count >= 320 * 240 else 1)
PY
}
shown=
for _ in $(seq 20); do
    if framed >"$out/framed.txt"; then
        shown=yes
        break
    fi
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended early: $(cat "$out/program.log")"
    sleep 0.5
done
cat "$out/framed.txt"
[ -n "$shown" ] || fail "the frames did not reach Weston's output within 10 s"

touch "$taken"
for _ in $(seq 200); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "still running 20 s after the close"
status=0
wait "$program_pid" || status=$?
program_pid=
cat "$out/program.log"
[ "$status" = 0 ] || fail "the close did not end the program cleanly (status $status)"
echo "PASS (wayland): SDL's Wayland driver under Weston showed the frames; the close reached the closing callback"
