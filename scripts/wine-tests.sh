#!/usr/bin/env bash
# The Windows suite: cross-builds the program and its tests with MinGW-w64 for x86_64
# (build-win64) and i686 (build-win32), each as the root project with its toolchain file, and
# runs ctest in each build folder. ctest runs every check under Wine in Xvfb (see
# tests/wine/CMakeLists.txt) and prints its summary; this script fails when a build or a
# check fails. The 64-bit suite runs under Wine's 64-bit loader whatever else is installed. On
# a machine that can't run 32-bit x86 programs (scripts/runs-i386.sh) the 32-bit
# programs are built and their binaries checked, and the checks that would run them are
# reported as skipped, with the probe's reason.
#
# Needs wine, wine64, Xvfb and the MinGW-w64 compilers, and wine32:i386 where 32-bit programs
# run (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${JOBS:-2}
started_at=$SECONDS
failed=()

# Decided once, before the 32-bit build is configured, from its folder.
mkdir -p "$root/build-win32"
runs_i386=OFF
i386=$("$root/scripts/runs-i386.sh" "$root/build-win32") && runs_i386=ON
# A kernel that runs them still needs Wine's 32-bit half, which a mirror without i386 (or with
# indexes out of step) can't give: scripts/install-deps.sh then leaves a note of why.
if [ $runs_i386 = ON ] && command -v dpkg-query >/dev/null &&
    ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    runs_i386=OFF
    i386="no: $(cat "$root/build-win32/wine32-unavailable.txt" 2>/dev/null ||
        echo "wine32:i386 is not installed")"
fi

reason=""
[ $runs_i386 = ON ] || reason=${i386#no: }

# Configures and builds the Windows build of preset $1 (folder $2), with cmake options $3...
build() {
    local preset=$1 dir=$root/$2
    shift 2
    echo "== $(basename "$dir"): building (preset $preset)"
    (cd "$root" && cmake --preset "$preset" "$@") >"$dir/configure.log" 2>&1 ||
        { tail -n 30 "$dir/configure.log"; return 1; }
    cmake --build "$dir" -j"$jobs" >"$dir/build.log" 2>&1 || { tail -n 40 "$dir/build.log"; return 1; }
}

for arch in x86_64 i686; do
    dir=build-win64 preset=windows-x64
    [ "$arch" = i686 ] && dir=build-win32 preset=windows-x86
    options=()
    [ "$arch" = i686 ] &&
        options=(-DPEVRAND_RUNS_I386=$runs_i386 "-DPEVRAND_I386_SKIP_REASON=${reason//;/,}")
    mkdir -p "$root/$dir"
    if ! build "$preset" "$dir" "${options[@]}"; then
        failed+=("$dir: build")
        continue
    fi
    echo "== $dir: ctest"
    ctest --test-dir "$root/$dir" --output-on-failure -j"$jobs" ||
        failed+=("$dir: ctest")
    if [ "$arch" = i686 ] && [ $runs_i386 = OFF ]; then
        echo "== $dir: the checks that run 32-bit programs were skipped: ${i386#no: }"
    fi
done

echo "== Windows suite: $((SECONDS - started_at)) s"
if [ ${#failed[@]} -gt 0 ]; then
    printf 'failed: %s\n' "${failed[@]}"
    exit 1
fi
