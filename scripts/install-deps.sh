#!/usr/bin/env bash
# Installs what building, running and testing Pevrand needs on Debian 12.
# Prints what it installs; does nothing when everything is already there.
set -euo pipefail

packages=(
  # build
  build-essential cmake make pkg-config clang libclang-rt-14-dev
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
  # the 32-bit Windows programs under Wine (i386 multiarch)
  wine32:i386
  # icon generator
  python3
  # the Debian package (make deb): dependencies of the binaries, and its checks
  dpkg-dev lintian
  # the batch benchmark's comparison (make bench)
  mawk
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
