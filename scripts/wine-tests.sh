#!/usr/bin/env bash
# The Windows suite: cross-builds the program and its tests with MinGW-w64 for x86_64
# (build-win64) and i686 (build-win32), each as the root project with its toolchain file, and
# runs ctest in each build folder. ctest runs every check under Wine in Xvfb (see
# tests/wine/CMakeLists.txt) and prints its summary; this script fails when a build or a
# check fails. Without Debian's wine32 the 32-bit programs are built and their binaries
# checked, but not run.
#
# Needs wine, wine64, wine32:i386, Xvfb and the MinGW-w64 compilers (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${JOBS:-2}
started_at=$SECONDS
failed=()

# Configures and builds the Windows build of preset $1 (folder $2).
build() {
    local preset=$1 dir=$root/$2
    echo "== $2: building (preset $preset)"
    (cd "$root" && cmake --preset "$preset") >"$dir/configure.log" 2>&1 ||
        { tail -n 30 "$dir/configure.log"; return 1; }
    cmake --build "$dir" -j"$jobs" >"$dir/build.log" 2>&1 || { tail -n 40 "$dir/build.log"; return 1; }
}

wine32_installed() {
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}

for arch in x86_64 i686; do
    dir=build-win64 preset=windows-x64
    [ "$arch" = i686 ] && dir=build-win32 preset=windows-x86
    mkdir -p "$root/$dir"
    if ! build "$preset" "$dir"; then
        failed+=("$dir: build")
        continue
    fi
    filter=()
    if [ "$arch" = i686 ] && ! wine32_installed; then
        echo "== $dir: wine32 is missing, so the 32-bit programs are built but not run"
        filter=(-L static)
    fi
    echo "== $dir: ctest"
    ctest --test-dir "$root/$dir" --output-on-failure -j"$jobs" "${filter[@]}" ||
        failed+=("$dir: ctest")
done

echo "== Windows suite: $((SECONDS - started_at)) s"
if [ ${#failed[@]} -gt 0 ]; then
    printf 'failed: %s\n' "${failed[@]}"
    exit 1
fi
