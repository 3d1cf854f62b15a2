#!/usr/bin/env bash
# Builds the Qt-free code and its unit tests with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (float-to-integer overflow included, no recovery) in build-asan,
# then runs the unit tests. The exit status is ctest's, and ctest's summary is the last output.
#
#   SANITIZE_JOBS   build and test parallelism (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-asan
jobs="${SANITIZE_JOBS:-2}"
flags="-fsanitize=address,undefined -fsanitize=float-cast-overflow -fno-sanitize-recover=all"
flags+=" -fno-omit-frame-pointer -O1 -gline-tables-only"

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=None \
    -DPEVRAND_WITH_QT=OFF -DPEVRAND_BENCH=OFF -DPEVRAND_FUZZ=OFF -DPEVRAND_WERROR=ON \
    "-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_EXE_LINKER_FLAGS=$flags" >/dev/null
cmake --build "$build" -j"$jobs"

# Any sanitizer report fails its test; leaks count too.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec ctest --test-dir "$build" --output-on-failure -L unit -j"$jobs"
