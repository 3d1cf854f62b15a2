#!/usr/bin/env bash
# The page's size and speed (docs/performance.md, "The page"): its HTML and gzip sizes, its
# start-up from file:// beside a plain page with the same controls and no WebAssembly, and Enter
# to the result, in one headless Chromium. See bench/web_bench.py for what is timed and how.
#
# Usage: bench/web.sh   (LOADS=n, default 21; CONVERSIONS=n, default 1000; JOBS=n; PAGE=file
#        measures that page instead of building dist/pevrand-<version>.html)
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(scripts/version.sh)
page=${PAGE:-$PWD/dist/pevrand-$version.html}
[ -n "${PAGE:-}" ] || JOBS=${JOBS:-$(nproc)} scripts/web-dist.sh >/dev/null
echo "== The page, ${page#$PWD/}, in headless Chromium"
/usr/bin/python3 bench/web_bench.py "$page" "${LOADS:-21}" "${CONVERSIONS:-1000}"
