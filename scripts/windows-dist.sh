#!/usr/bin/env bash
# Cross-builds the native Windows program for 64-bit and 32-bit Windows with MinGW-w64 and
# packs each into dist/Pevrand-<version>-win64.zip and dist/Pevrand-<version>-win32.zip: the
# statically linked Pevrand.exe and a short text on how to run it.
#
# Builds into build-win64 and build-win32 (the windows-x64 and windows-x86 presets). Needs
# cmake and the MinGW-w64 compilers (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
version=$(sed -n 's/^#define PEVRAND_VERSION_\(MAJOR\|MINOR\|REVISION\) \([0-9]*\)$/\2/p' \
    resources/ProgramIdentity.h | paste -sd.)
mkdir -p dist

# Packs build folder $1 as dist/Pevrand-<version>-$2.zip for architecture name $3.
pack() {
    local build=$1 suffix=$2 arch=$3 note=$4 stage
    stage=$(mktemp -d)
    cp "$build/app/Pevrand.exe" "$stage/"
    # Windows' own line ends, so that every editor shows the text as lines.
    sed -e "s/@VERSION@/$version/; s/@ARCH@/$arch/; s/@ARCH_NOTE@/$note/" -e 's/$/\r/' \
        packaging/windows/ReadMe.txt >"$stage/ReadMe.txt"
    rm -f "dist/Pevrand-$version-$suffix.zip"
    (cd "$stage" && cmake -E tar cf "$root/dist/Pevrand-$version-$suffix.zip" --format=zip \
        Pevrand.exe ReadMe.txt)
    rm -rf "$stage"
    echo "windows-dist: wrote dist/Pevrand-$version-$suffix.zip ($(stat -c %s "dist/Pevrand-$version-$suffix.zip") bytes)"
}

for preset in windows-x64 windows-x86; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"${JOBS:-2}"
done
pack build-win64 win64 64-bit "it runs on 64-bit Windows only."
pack build-win32 win32 32-bit "it runs on 32-bit and 64-bit Windows."
