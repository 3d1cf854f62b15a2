#!/usr/bin/env bash
# Builds the Qt-free code and its unit tests with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (float-to-integer overflow included, no recovery) in build-asan,
# then runs the unit tests. The exit status is ctest's, and ctest's summary is the last output.
#
#   SANITIZE_JOBS   build and test parallelism (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${SANITIZE_JOBS:-2}"

# The preset holds the compiler and the sanitizer flags.
cmake --preset asan-ubsan >/dev/null
cmake --build --preset asan-ubsan -j"$jobs"

# Any sanitizer report fails its test; leaks count too (the preset sets the options).
exec ctest --preset asan-ubsan -j"$jobs"
