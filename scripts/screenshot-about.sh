#!/usr/bin/env bash
# Takes a screenshot of the About window as a user opens it: starts the program on a virtual
# X display, presses Alt+A in the main window, waits for "About Pevrand" and captures that
# window.
#
#   scripts/screenshot-about.sh [program] [output.png]
#
# The program defaults to $BUILD/app/Pevrand (BUILD defaults to "build"), the picture to
# docs/about-window.png. Set QT_SCALE_FACTOR=2 to see the window at high-DPI scale.
# Needs Xvfb, xdotool and ImageMagick (scripts/install-deps.sh).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="${1:-$root/${BUILD:-build}/app/Pevrand}"
output="${2:-$root/docs/about-window.png}"
main_title="Pevrand : Neutron Units Converter"
about_title="About Pevrand"

if [ ! -x "$program" ]; then
  echo "screenshot-about: no program at $program (build it first: make build)" >&2
  exit 1
fi
for tool in Xvfb xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshot-about: $tool is missing (run scripts/install-deps.sh)" >&2
    exit 1
  fi
done

. "$root/scripts/xvfb.sh"
start_xvfb
work="$xvfb_work"

"$program" >"$work/program.log" 2>&1 &
program_pid=$!
stop_on_exit "$program_pid"

# Waits up to 20 seconds for a visible window named exactly $1 and prints its id.
find_window() {
  local id=""
  for _ in $(seq 200); do
    id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    if ! kill -0 "$program_pid" 2>/dev/null; then
      break
    fi
    sleep 0.1
  done
  echo "screenshot-about: no window \"$1\" appeared" >&2
  cat "$work/program.log" >&2
  return 1
}

main_window="$(find_window "$main_title")"
# There is no window manager: give the main window the keyboard, then press its access key.
xdotool windowfocus --sync "$main_window"
xdotool key --clearmodifiers alt+a
about_window="$(find_window "$about_title")"
sleep 0.5 # let it paint

mkdir -p "$(dirname "$output")"
import -window "$about_window" "$output"
echo "screenshot-about: wrote $output ($(identify -format '%wx%h' "$output"))"
