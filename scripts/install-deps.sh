#!/usr/bin/env bash
# Installs what building, running and testing Pevrand needs on Debian 12.
# Prints what it installs; does nothing when everything is already there.
set -euo pipefail

packages=(
  # build; numbers are read with fast_float in every build
  build-essential cmake make pkg-config clang libclang-rt-14-dev libfast-float-dev
  # windows and window tests
  qt6-base-dev libgl-dev xvfb xauth x11-utils imagemagick xdotool
  fonts-liberation fonts-comic-neue fonts-dejavu-core fonts-dejavu-extra
  # the About window's stacking check under a real window manager
  openbox
  # unit tests and benchmarks
  libgtest-dev libbenchmark-dev
  # desktop integration checks
  desktop-file-utils appstream
  # the Windows side, cross-built and run under Wine
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64
  # the Windows installers (make windows)
  wixl msitools
  # the page (make web): WebAssembly from the same C++, and its tests in headless Chromium
  emscripten chromium chromium-driver python3-selenium
  # icon generator
  python3
  # the Python module (built against Debian's python3) and its tests
  python3-dev pybind11-dev python3-numpy python3-pytest
  # the Debian package (make deb): dependencies of the binaries, and its checks
  dpkg-dev lintian dh-python
  # the batch benchmark's comparison (make bench)
  mawk
)

# The 32-bit Windows programs run under Wine only where the kernel runs 32-bit x86 programs:
# the probe runs one before anything i386 is installed, and elsewhere neither the i386
# architecture nor wine32 is added (the 32-bit build is then built and checked, not run).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if i386=$("$root/scripts/runs-i386.sh"); then
  packages+=(wine32:i386)
fi

# npm for the page's accessibility check (axe-core), unless a node that bundles it is installed.
if ! command -v npm >/dev/null; then packages+=(npm); fi

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
web="$root/tests/web"
pinned=$(sed -n '/"node_modules\/axe-core"/,/}/s/.*"version": "\(.*\)".*/\1/p' "$web/package-lock.json")
installed=$(sed -n 's/^  "version": "\(.*\)".*/\1/p' "$web/node_modules/axe-core/package.json" 2>/dev/null || true)
if [ "$installed" != "$pinned" ]; then
  echo "Installing axe-core $pinned into tests/web/node_modules"
  (cd "$web" && npm ci --no-audit --no-fund --loglevel=error </dev/null)
fi
