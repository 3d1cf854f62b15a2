#!/usr/bin/env bash
# Installs the Debian 12 packages that a make target needs, and nothing more: each target names
# its set, and a set takes in the sets it builds on. Prints what it installs; does nothing when
# everything is already there.
#
#   install-deps.sh [--list] SET...      SET: run check desktop bench windows web web-tests
#                                             fuzz deb test release (test is every set
#                                             but release)
#
# --list prints the set's packages, one a line, and installs nothing.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The sets. A word with a leading @ takes in that set.
declare -A sets=(
  # building and starting the Linux window; numbers are read with fast_float in every build
  [run]="build-essential cmake make pkg-config libfast-float-dev qt6-base-dev libgl-dev
         fonts-liberation fonts-comic-neue fonts-dejavu-core"
  # the native build's suite: engine, command, reactions, CLI, the Python module (also pip
  # installed into a fresh venv), the Qt windows offscreen (fonts-dejavu-extra for the rows
  # that hide the stand-in faces), and the desktop entry's checks
  [check]="@run libgtest-dev fonts-dejavu-extra python3 python3-dev pybind11-dev python3-numpy
           python3-pytest python3-venv python3-pip python3-skbuild
           desktop-file-utils appstream"
  # the windows under a real X server and window manager: the stacking check, screenshots
  [desktop]="@run xvfb xauth x11-utils imagemagick xdotool openbox"
  # make bench: Google Benchmark, the batch comparison, the module against numpy, the page
  [bench]="@check @desktop @web-tests libbenchmark-dev mawk"
  # the Windows side, cross-built with MinGW-w64, run under Wine in Xvfb, and its installers;
  # its unit tests build GoogleTest from Debian's sources
  [windows]="cmake make python3 libfast-float-dev libgtest-dev
             g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64
             binutils-mingw-w64-i686 wine wine64 wixl msitools xvfb xauth imagemagick"
  # the page: the same C++ as WebAssembly; its unit tests run under node
  [web]="cmake make python3 libfast-float-dev libgtest-dev emscripten"
  # the page in headless Chromium (axe-core comes from npm, below)
  [web-tests]="@web @check chromium chromium-driver python3-selenium"
  # the fuzzers and the sanitizer run
  [fuzz]="@check clang libclang-rt-14-dev"
  # the Debian packages and their checks
  [deb]="@check dpkg-dev lintian dh-python"
  # make test: every suite
  [test]="@check @desktop @bench @windows @web-tests @fuzz @deb"
  # make reproducible: what explains a difference between two builds of a release
  [release]="diffoscope"
)

# Prints the packages of set $1 and of the sets it takes in, one a line.
expand() {
  local word
  [ -n "${sets[$1]+x}" ] || { echo "install-deps: no set named '$1'" >&2; exit 2; }
  for word in ${sets[$1]}; do
    if [[ $word == @* ]]; then expand "${word#@}"; else echo "$word"; fi
  done
}

list=false
if [ "${1-}" = --list ]; then list=true; shift; fi
[ $# -gt 0 ] || { echo "usage: install-deps.sh [--list] SET..." >&2; exit 2; }
wanted=()
for set in "$@"; do mapfile -t -O ${#wanted[@]} wanted < <(expand "$set"); done
mapfile -t packages < <(printf '%s\n' "${wanted[@]}" | sort -u)
windows=false web_tests=false
for p in "${packages[@]}"; do
  case $p in wine64) windows=true ;; chromium) web_tests=true ;; esac
done

# The 32-bit Windows programs run under Wine only where the kernel runs 32-bit x86 programs:
# the probe runs one before anything i386 is installed, and elsewhere neither the i386
# architecture nor wine32 is added (the 32-bit build is then built and checked, not run).
i386=""
if $windows; then
  if i386=$("$root/scripts/runs-i386.sh"); then packages+=(wine32:i386); fi
fi
# npm for the page's accessibility check (axe-core), unless a node that bundles it is installed.
if $web_tests && ! command -v npm >/dev/null; then packages+=(npm); fi

if $list; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [[ $i386 == no* ]]; then echo "Not installing wine32:i386: ${i386#no: }"; fi
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# axe-core, pinned by tests/web/package-lock.json, which the browser suite injects into the page.
# Nothing is fetched when the pinned version is already there.
if $web_tests; then
  web="$root/tests/web"
  pinned=$(sed -n '/"node_modules\/axe-core"/,/}/s/.*"version": "\(.*\)".*/\1/p' "$web/package-lock.json")
  installed=$(sed -n 's/^  "version": "\(.*\)".*/\1/p' "$web/node_modules/axe-core/package.json" 2>/dev/null || true)
  if [ "$installed" != "$pinned" ]; then
    echo "Installing axe-core $pinned into tests/web/node_modules"
    (cd "$web" && npm ci --no-audit --no-fund --loglevel=error </dev/null)
  fi
fi
