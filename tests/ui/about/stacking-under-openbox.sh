#!/usr/bin/env bash
# The About window under a real window manager: on a virtual X server with openbox, opens it
# from the main window, then clicks the main window, which must then lie above it. An About
# window marked transient for the program stays above the main window whatever the user does.
#
# Usage: stacking-under-openbox.sh PROGRAM
set -euo pipefail
program=$1
main_title="Pevrand : Neutron Units Converter"
about_title="About Pevrand"

. "$(dirname "$0")/../../../scripts/xvfb.sh"
start_xvfb

fail() {
    echo "stacking: $*" >&2
    exit 1
}

# The managed windows from bottom to top, as hexadecimal ids.
stacking() {
    xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'
}

# Whether window $1 lies above window $2 (decimal ids).
above() {
    local top bottom id place=0 top_at=-1 bottom_at=-1
    top=$(printf '0x%x' "$1")
    bottom=$(printf '0x%x' "$2")
    for id in $(stacking); do
        [ "$id" = "$top" ] && top_at=$place
        [ "$id" = "$bottom" ] && bottom_at=$place
        place=$((place + 1))
    done
    [ "$bottom_at" -ge 0 ] && [ "$top_at" -gt "$bottom_at" ]
}

# The id of the visible window named exactly $1, waiting at most 10 s.
window_named() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window \"$1\""
}

# Waits at most 5 s for the command "$@" to succeed.
eventually() {
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

openbox --sm-disable >"$xvfb_work/openbox.log" 2>&1 &
stop_on_exit $!
wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
eventually wm_running || fail "openbox did not start"

"$program" 2>"$xvfb_work/program.log" &
stop_on_exit $!
main=$(window_named "$main_title")
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+a
about=$(window_named "$about_title")
eventually above "$about" "$main" || fail "the About window did not open above the main window"

if xprop -id "$about" WM_TRANSIENT_FOR | grep -q 'window id'; then
    fail "the About window is transient for another window"
fi

# The main window's top left part: the About window opens over its centre.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --sync $((X + 30)) $((Y + 20)) click 1
eventually above "$main" "$about" || fail "clicking the main window left the About window above it ($(stacking))"
echo "stacking: the main window rose above the About window"
