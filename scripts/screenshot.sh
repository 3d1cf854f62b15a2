#!/usr/bin/env bash
# Takes the README's picture of the main window: starts the real program on a virtual X
# server (Xvfb), waits until its window is mapped, and writes the window's client area to
# docs/main-window.png. Then runs scripts/screenshot-about.sh, when it exists, for the About
# window's picture.
#
# Usage: scripts/screenshot.sh   (BUILD=dir picks another build directory; default build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD:-build}
program=$build/app/Pevrand
output=docs/main-window.png
title="Pevrand : Neutron Units Converter"

if [ ! -x "$program" ]; then
    echo "screenshot: $program is not built; run make build first" >&2
    exit 1
fi

# A display number that no X server uses yet.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
done

runtime=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$runtime"
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display" XDG_RUNTIME_DIR="$runtime"
unset QT_QPA_PLATFORM
for _ in $(seq 100); do
    xwininfo -root >/dev/null 2>&1 && break
    sleep 0.05
done

"$program" &
program_pid=$!

# Wait until the window is mapped (at most 10 s).
window=""
for _ in $(seq 200); do
    info=$(xwininfo -name "$title" 2>/dev/null || true)
    if grep -q 'Map State: IsViewable' <<<"$info"; then
        window=$(awk '/Window id:/ { print $4; exit }' <<<"$info")
        break
    fi
    sleep 0.05
done
if [ -z "$window" ]; then
    echo "screenshot: the window \"$title\" did not appear" >&2
    exit 1
fi
sleep 1 # let the first paint finish

mkdir -p "$(dirname "$output")"
# -strip drops the time stamps, so the file changes only when the picture does.
import -window "$window" png:- | convert - -strip "$output"
echo "screenshot: wrote $output ($(identify -format '%wx%h' "$output"))"

kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=""
kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

if [ -x scripts/screenshot-about.sh ]; then
    BUILD="$build" scripts/screenshot-about.sh
fi
