#!/usr/bin/env bash
# Cross-builds the native Windows program for 64-bit and 32-bit Windows with MinGW-w64 and
# writes into dist/, for each architecture:
#   Pevrand-<version>-win64.zip, -win32.zip   the portable programs: the statically linked,
#                                             stripped Pevrand.exe and pevrand-convert.exe, a
#                                             short text on how to run them, the licence and
#                                             the notices of what they bundle
#   Pevrand-<version>-win64.msi, -win32.msi   its Windows Installer package, built by the
#                                             build with wixl (packaging/windows)
#
# Builds into build-win64 and build-win32 (the windows-x64 and windows-x86 presets). Needs
# cmake, the MinGW-w64 compilers and wixl (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
version=$(scripts/version.sh)
mkdir -p dist

# Packs build folder $1's programs as dist/Pevrand-<version>-$2.zip (the same bytes for the
# same files: scripts/zip-files.py) and copies its installer.
pack() {
    local build=$1 suffix=$2 stage
    stage=$(mktemp -d)
    cp "$build/app/Pevrand.exe" "$build/cli/pevrand-convert.exe" \
        "$build/packaging/windows/portable/ReadMe.txt" "$build/packaging/windows/notices/"*.txt \
        "$stage/"
    scripts/zip-files.py "dist/Pevrand-$version-$suffix.zip" "$stage"
    rm -rf "$stage"
    cp "$build/packaging/windows/Pevrand-$version-$suffix.msi" dist/
    for file in "dist/Pevrand-$version-$suffix".{zip,msi}; do
        echo "windows-dist: wrote $file ($(stat -c %s "$file") bytes)"
    done
}

for preset in windows-x64 windows-x86; do
    # CMAKE_FLAGS: more configure options (scripts/reproducible.sh leaves out the tests).
    cmake --preset "$preset" ${CMAKE_FLAGS:-} >/dev/null
    cmake --build --preset "$preset" -j"${JOBS:-2}"
done
pack build-win64 win64
pack build-win32 win32
