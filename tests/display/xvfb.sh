# The one way the tests get a private X display: a 1920 x 1080 Xvfb. Sourced by
# tests/display/with-display and scripts/test-windows. The server picks a free display
# number itself (-displayfd) and reports it, so servers started at the same moment by
# other runs never collide. It never resets (-noreset): by default an X server resets
# itself each time its last client leaves, and drops a client that connects during
# the reset, so a program starting while a test's xwininfo or xdotool had just left
# failed to open its window now and then ("nothing answers at DISPLAY=:0").

# Starts the server; sets DISPLAY and xvfb_pid. Returns non-zero when no server came
# up within 30 seconds (a loaded machine can take several) or it ended at start.
xvfb_start() {
    local number_file
    number_file=$(mktemp)
    # XVFB_DPI: the dots per inch the server states (its default otherwise).
    Xvfb -displayfd 3 -screen 0 1920x1080x24 ${XVFB_DPI:+-dpi "$XVFB_DPI"} -nolisten tcp -noreset \
        3>"$number_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 600); do
        [ -s "$number_file" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    if [ ! -s "$number_file" ]; then
        echo "xvfb: Xvfb did not start" >&2
        rm -f "$number_file"
        xvfb_stop
        return 1
    fi
    DISPLAY=":$(head -n 1 "$number_file")"
    export DISPLAY
    rm -f "$number_file"
    # The number comes once the server listens; a client is let in only when it
    # also answers one, so nothing starts against a server that failed after that.
    for _ in $(seq 200); do
        xdpyinfo >/dev/null 2>&1 && return 0
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "xvfb: the server at $DISPLAY does not answer" >&2
    xvfb_stop
    return 1
}

# Stops the server started by xvfb_start, by its process id.
xvfb_stop() {
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}
