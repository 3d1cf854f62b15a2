# Sourced by the scripts that show the real program: a private virtual X server (Xvfb) for
# the calling script, stopped with everything started on it when the script exits.
#
#   start_xvfb        starts it; afterwards DISPLAY and XDG_RUNTIME_DIR point at it
#   stop_on_exit PID  stops PID on exit too (before the server)
#   xvfb_work         a scratch directory removed on exit

xvfb_work=""
xvfb_pids=()

xvfb_cleanup() {
    local pid
    for pid in "${xvfb_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ -n "$xvfb_work" ]; then rm -rf "$xvfb_work"; fi
}

stop_on_exit() {
    xvfb_pids=("$1" "${xvfb_pids[@]}")
}

start_xvfb() {
    xvfb_work=$(mktemp -d)
    trap xvfb_cleanup EXIT
    # Xvfb picks a free display itself and writes its number to the descriptor given.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$xvfb_work/display" \
        2>"$xvfb_work/xvfb.log" &
    stop_on_exit $!
    for _ in $(seq 100); do
        [ -s "$xvfb_work/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$xvfb_work/display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$xvfb_work/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(head -n1 "$xvfb_work/display")" XDG_RUNTIME_DIR="$xvfb_work"
    unset QT_QPA_PLATFORM
}
