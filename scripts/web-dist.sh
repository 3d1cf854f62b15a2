#!/usr/bin/env bash
# Builds the page with emscripten and writes
#   dist/pevrand-<version>.html  one self-contained file, the markup, style, script and
#                                WebAssembly all inside it, that works from disk (file://) or
#                                from any static web server and makes no network request;
#   dist/web/                    the folder to host on a static web server, under any path: the
#                                same page as index.html, which installs as a web app and works
#                                offline after one visit (its manifest, icons, service worker).
#
# Builds into build-web (the web preset). Needs cmake, emscripten and node
# (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
version=$(scripts/version.sh)

# CMAKE_FLAGS: more configure options (scripts/reproducible.sh leaves out the tests).
cmake --preset web ${CMAKE_FLAGS:-} >/dev/null
cmake --build --preset web -j"${JOBS:-2}"
mkdir -p dist
cp "build-web/pevrand-$version.html" "dist/pevrand-$version.html"
bytes=$(stat -c %s "dist/pevrand-$version.html")
gzipped=$(gzip -9c "dist/pevrand-$version.html" | wc -c)
echo "web-dist: wrote dist/pevrand-$version.html ($bytes bytes, $gzipped gzipped)"
# The folder is the build's as a whole: nothing of an older build stays in it.
rm -rf dist/web
cp -r build-web/web dist/web
echo "web-dist: wrote dist/web/ ($(cat dist/web/* | wc -c) bytes in $(ls dist/web | wc -l) files)"
