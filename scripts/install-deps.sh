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
  # that hide the stand-in faces), the desktop entry's checks, and the Windows version record
  # compiled by MinGW's windres
  [check]="@run libgtest-dev fonts-dejavu-extra python3 python3-dev pybind11-dev python3-numpy
           python3-pytest python3-venv python3-pip python3-skbuild mypy
           python3-dask python3-distributed python3-xarray python3-h5py python3-zarr
           desktop-file-utils appstream binutils-mingw-w64-x86-64"
  # the windows under a real X server and window manager: the stacking check, screenshots
  [desktop]="@run xvfb xauth x11-utils imagemagick xdotool openbox"
  # make bench: Google Benchmark, the batch comparison, the module against numpy, the page
  [bench]="@check @desktop @web-tests libbenchmark-dev mawk"
  # the Windows side, cross-built with MinGW-w64, run under Wine in Xvfb, and its installers;
  # the programs built with the win32 thread model's compilers, the tests (which build
  # GoogleTest from Debian's sources) with the POSIX model's
  [windows]="cmake make python3 libfast-float-dev libgtest-dev
             g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix
             g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
             binutils-mingw-w64-i686 wine wine64 wixl msitools xvfb xauth imagemagick"
  # the page: the same C++ as WebAssembly; its unit tests run under node
  [web]="cmake make python3 libfast-float-dev libgtest-dev emscripten"
  # the page in headless Chromium (axe-core comes from npm, below)
  [web-tests]="@web @check chromium chromium-driver python3-selenium"
  # the fuzzers and the sanitizer run
  [fuzz]="@check clang libclang-rt-14-dev"
  # the Debian packages and their checks
  [deb]="@check dpkg-dev lintian dh-python debhelper"
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

# Where wine32:i386 can't be had, the Windows suite reads why from this file and skips the
# checks that would run a 32-bit program, as on a kernel without 32-bit support.
wine32_note="$root/build-win32/wine32-unavailable.txt"

# PEVRAND_SKIP_INSTALL=1: build with what the machine has, installing nothing.
if [ "${PEVRAND_SKIP_INSTALL-}" = 1 ]; then exit 0; fi

if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
  {
    echo "install-deps: this machine has no apt-get, so the packages can't be installed here."
    echo "Install what these Debian packages hold with your system's package manager:"
    printf '  %s\n' "${packages[@]}" | grep -v ':i386$'
    echo "then build with what is there, skipping this step:"
    echo "  PEVRAND_SKIP_INSTALL=1 make $1"
    echo "(docs/install.md#other-systems says which front ends need what.)"
  } >&2
  exit 1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# Installs the packages in `missing` with apt-get, through sudo when not root.
apt_install() {
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "install-deps: missing packages: ${missing[*]}" >&2
      echo "They need root to install, and sudo isn't here: ask an administrator to run" >&2
      echo "  apt-get install ${missing[*]}" >&2
      echo "or, as root, install sudo; then run make again." >&2
      exit 1
    fi
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  local status=0 reason
  log=$(mktemp)
  added_i386=false
  cleanup() {
    rm -f "$log"
    # The architecture this run added for wine32 goes again when nothing was installed for it,
    # so that later updates don't fail on an i386 index the mirror lacks.
    if $added_i386 && [ -z "$(dpkg-query -W -f='${Architecture}\n' 2>/dev/null | grep -x i386)" ]; then
      echo "install-deps: removing the i386 architecture again: nothing was installed for it"
      $sudo dpkg --remove-architecture i386 || true
    fi
  }
  trap cleanup EXIT

  wine32=false
  if [[ " ${missing[*]} " == *" wine32:i386 "* ]]; then
    wine32=true
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      $sudo dpkg --add-architecture i386
      added_i386=true
    fi
  fi

  # A failed index (a mirror mid-sync, one without i386, a repository whose key expired) leaves
  # apt with the lists it had: warn, and install from those.
  echo "Updating the package lists (apt-get update)"
  if ! $sudo apt-get update -q >"$log" 2>&1; then
    echo "install-deps: warning: apt-get update failed for some package index; going on with" \
         "the lists apt already has. apt said:" >&2
    grep -E '^(E|W|Err):' "$log" | sed 's/^/  /' >&2 || tail -n 5 "$log" | sed 's/^/  /' >&2
  fi

  # wine32:i386 must match the amd64 versions exactly (Multi-Arch); a mirror without i386, or
  # one whose indexes are out of step, can't give it. Everything else is installed without it.
  if $wine32 && ! $sudo apt-get install -s -q --no-install-recommends wine32:i386 >"$log" 2>&1; then
    missing=("${missing[@]/wine32:i386}")
    reason=$(grep -E '^ |^E:' "$log" | head -n 3 | sed 's/^ *//' | paste -sd ' ' -)
    mkdir -p "$(dirname "$wine32_note")"
    echo "wine32:i386 can't be installed from this machine's package sources (${reason:-apt refused it})" \
      >"$wine32_note"
    echo "install-deps: not installing wine32:i386: apt can't install it here:" >&2
    sed -n '/^ \|^E:/p' "$log" | head -n 5 | sed 's/^ */  /' >&2
    echo "  The 32-bit Windows programs won't run here: the Windows suite builds and checks them" \
         "and skips the checks that start them." >&2
  elif $wine32; then
    rm -f "$wine32_note"
  fi

  mapfile -t missing < <(printf '%s\n' "${missing[@]}" | grep -v '^$')
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    status=0
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" || status=$?
    if [ $status -ne 0 ]; then
      echo "install-deps: apt-get could not install these packages (see its message above)." >&2
      echo "Mend the package sources it names (docs/troubleshooting.md), or install the packages" \
           "yourself and run again with PEVRAND_SKIP_INSTALL=1." >&2
      exit 1
    fi
  fi
}

if [[ $i386 == no* ]]; then echo "Not installing wine32:i386: ${i386#no: }"; fi
if [ ${#missing[@]} -gt 0 ]; then apt_install; fi

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
