#!/usr/bin/env bash
# The page's tests, after the page is built afresh, so that they never run on a stale page or
# skip: the engine's unit tests as WebAssembly under node (the web build's ctest), then the page
# driven in headless Chromium against the main build's pevrand-convert (the main build's test
# labelled web). Both print ctest's summary.
#
# Usage: scripts/web-tests.sh   (BUILD=dir, the main build, default build; JOBS=n)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD:-build}
jobs=${JOBS:-$(nproc)}

if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "web-tests: $build is not configured; run 'make build' first" >&2
    exit 1
fi

JOBS=$jobs scripts/web-dist.sh
ctest --test-dir build-web --output-on-failure -j"$jobs"

cmake --build "$build" --target pevrand-convert -j"$jobs" >/dev/null
ctest --test-dir "$build" -L web --output-on-failure
