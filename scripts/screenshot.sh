#!/usr/bin/env bash
# Takes the documents' pictures of the main window: starts the real program on a virtual X
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

. scripts/xvfb.sh
start_xvfb

"$program" &
stop_on_exit $!

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

xvfb_cleanup
trap - EXIT

if [ -x scripts/screenshot-about.sh ]; then
    BUILD="$build" scripts/screenshot-about.sh
fi
