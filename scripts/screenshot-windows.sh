#!/usr/bin/env bash
# Screenshots of the native Windows program's two windows as Wine draws them: starts
# Pevrand.exe in a Wine desktop of its own on a virtual X display (Wine then draws the title
# bars too), captures the main window, clicks About and captures the About window.
#
#   scripts/screenshot-windows.sh [Pevrand.exe] [main.png] [about.png]
#
# The program defaults to build-win64/app/Pevrand.exe (make windows builds it), the pictures to
# docs/windows-main-window.png and docs/windows-about-window.png. LOGPIXELS=144 shows the
# windows at 150%. Uses a scratch Wine prefix. Needs wine64, Xvfb, xdotool and ImageMagick
# (scripts/install-deps.sh).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="${1:-$root/build-win64/app/Pevrand.exe}"
main_png="${2:-$root/docs/windows-main-window.png}"
about_png="${3:-$root/docs/windows-about-window.png}"
dpi="${LOGPIXELS:-96}"

if [ ! -f "$program" ]; then
  echo "screenshot-windows: no program at $program (build it first: make windows)" >&2
  exit 1
fi
# Wine's 64-bit loader itself: Debian's `wine` prefers the 32-bit one whenever wine32 is
# installed, and some kernels can't run that.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine || echo wine)
export WINELOADER=$wine
for tool in "$wine" wineserver Xvfb xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshot-windows: $tool is missing (run scripts/install-deps.sh)" >&2
    exit 1
  fi
done

. "$root/scripts/xvfb.sh"
start_xvfb
export WINEPREFIX="$xvfb_work/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The server goes before the X display does.
trap 'wineserver -k 2>/dev/null || true; xvfb_cleanup' EXIT

"$wine" wineboot -i >"$xvfb_work/wineboot.log" 2>&1
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w

# A Wine desktop draws the windows' frames itself; there is no window manager here.
"$wine" explorer /desktop=Pevrand,900x760 "$("$wine" winepath -w "$program")" >"$xvfb_work/program.log" 2>&1 &
stop_on_exit $!

# Waits up to 30 seconds for an X window named $1 and prints its id.
find_window() {
  local id=""
  for _ in $(seq 300); do
    id="$(xdotool search --name "$1" 2>/dev/null | head -n1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "screenshot-windows: no window \"$1\" appeared" >&2
  return 1
}

desktop=$(find_window "Pevrand - Wine desktop")
sleep 3 # the window is drawn after the desktop appears

# The desktop shows the windows at their screen places: cut out a window by its place, which
# Wine's own window list does not hand to X. The main window is centred in the desktop.
capture() {
  local out=$1 geometry=$2
  mkdir -p "$(dirname "$out")"
  import -window "$desktop" -crop "$geometry" +repage "$out"
  echo "screenshot-windows: wrote $out ($(identify -format '%wx%h' "$out"))"
}

# The frames: find the windows' screen rectangles from the desktop picture, where the
# desktop's own background is one colour.
import -window "$desktop" "$xvfb_work/desktop.png"
bounds() {
  convert "$1" -fuzz 2% -fill black -opaque "$(convert "$1" -format '%[pixel:p{0,0}]' info:)" \
    -trim -format '%wx%h%X%Y' info:
}
capture "$main_png" "$(bounds "$xvfb_work/desktop.png")"

# About, as a user opens it from the keyboard: Alt+A in the main window (a click would leave
# the About button's focus mark in the picture's way).
read -r width height left top <<<"$(bounds "$xvfb_work/desktop.png" | sed 's/[x+]/ /g')"
# A click on a bare spot of the main window (left of the output units) makes it active.
xdotool mousemove --window "$desktop" $((left + 40 * dpi / 96)) $((top + height / 2 + 60 * dpi / 96)) \
  click 1
sleep 1
import -window "$desktop" "$xvfb_work/desktop.png"
# The first key after the X server starts only sets up its keyboard in Wine.
xdotool key shift
sleep 0.5
xdotool key alt+a
sleep 2
import -window "$desktop" "$xvfb_work/both.png"
# The About window is what changed, below the main window's title bar and input box (which
# change too, as the main window loses the focus): those rows are left out of the comparison.
covered=$((top + height - 574 * dpi / 96 - 3 * dpi / 96 + 600 * dpi / 1440))
for picture in desktop both; do
  convert "$xvfb_work/$picture.png" -fill black -draw "rectangle 0,0 10000,$covered" \
    "$xvfb_work/$picture-cut.png"
done
convert "$xvfb_work/desktop-cut.png" "$xvfb_work/both-cut.png" -compose difference -composite \
  -threshold 0 -trim -format '%wx%h%X%Y' info: >"$xvfb_work/about.geometry"
capture "$about_png" "$(cat "$xvfb_work/about.geometry")"
