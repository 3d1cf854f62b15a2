#!/usr/bin/env bash
# `make run`, `make install` and `make uninstall` on a machine that has only what the window
# needs:
#
#   run-without-test-packages.sh SOURCE WORK
#
# The packages `make run` installs hold no test toolchain, and with every package that only the
# tests, benchmarks or the Python module use hidden from CMake, `make run` configures a fresh
# build folder, builds the program and pevrand-convert and starts the program (offscreen here;
# the program is stopped once it is up). `make install` then copies the program, the command and
# their manual pages into a prefix without building any test, and `make uninstall` leaves the
# prefix as it was.
set -euo pipefail

source=${1:?source folder}
work=${2:?scratch folder}
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

test_only='wine|mingw|wixl|emscripten|chromium|npm|node|selenium|gtest|benchmark|pybind11|numpy|pytest|lintian|xvfb|clang'
if found=$("$source/scripts/install-deps.sh" --list run | grep -E -- "$test_only"); then
    fail "make run installs $found"
fi

hidden="-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
-DCMAKE_DISABLE_FIND_PACKAGE_pybind11=ON -DCMAKE_DISABLE_FIND_PACKAGE_Python=ON \
-DCMAKE_DISABLE_FIND_PACKAGE_Python3=ON"
program=$work/build/app/Pevrand
QT_QPA_PLATFORM=offscreen make -C "$source" --no-print-directory run BUILD="$work/build" \
    JOBS="${JOBS:-2}" CMAKE_FLAGS="$hidden" >"$work/make.log" 2>&1 &
make_pid=$!
started=false
while kill -0 "$make_pid" 2>/dev/null; do
    if pid=$(pgrep -f -x "$program"); then
        sleep 1
        kill -0 "$pid" 2>/dev/null && started=true
        kill "$pid" 2>/dev/null || true
        break
    fi
    sleep 0.5
done
wait "$make_pid" || true
$started || { tail -n 30 "$work/make.log"; fail "make run did not start the program"; }
grep -q 'PEVRAND_TESTS:BOOL=OFF' "$work/build/CMakeCache.txt" ||
    fail "a fresh make run build has the tests switched on"
[ -x "$work/build/cli/pevrand-convert" ] || fail "make run did not build pevrand-convert"

prefix=$work/prefix
mkdir -p "$prefix/share/man"
touch "$prefix/share/man/mine"
make -C "$source" --no-print-directory install BUILD="$work/build" PREFIX="$prefix" \
    JOBS="${JOBS:-2}" CMAKE_FLAGS="$hidden" >"$work/install.log" 2>&1 ||
    { tail -n 30 "$work/install.log"; fail "make install failed"; }
for file in bin/Pevrand bin/pevrand-convert share/man/man1/Pevrand.1.gz \
    share/man/man1/pevrand-convert.1.gz; do
    [ -e "$prefix/$file" ] || fail "make install did not install $file"
done
[ "$("$prefix/bin/pevrand-convert" meV wavelength 25)" = 1.8087 ] || fail "the installed command"
built_tests=$(find "$work/build" -name '*Test' -type f -executable | head -n 3)
[ -z "$built_tests" ] || fail "make install built tests: $built_tests"
make -C "$source" --no-print-directory uninstall BUILD="$work/build" >>"$work/install.log" 2>&1 ||
    { tail -n 30 "$work/install.log"; fail "make uninstall failed"; }
left=$(cd "$prefix" && find . -mindepth 1 | sort | paste -sd ' ' -)
[ "$left" = "./share ./share/man ./share/man/mine" ] ||
    fail "make uninstall left the prefix holding: $left"
echo "make run, make install, make uninstall: built, started, installed and removed the program" \
     "and pevrand-convert with only the window's packages"
