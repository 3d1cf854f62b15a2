#!/usr/bin/env bash
# scripts/deb.sh beside another file of the dist folder, with an install test that fails: that
# file stays, and the packages are removed again. Stand-ins for `id`, dpkg -i and -r (logged
# only, so the first check fails) and dpkg-query's look-ups of the packages: no root needed.
#
#   deb-dist.sh SOURCE BUILD WORK
set -euo pipefail
command -v lintian >/dev/null && command -v dh_python3 >/dev/null ||
    { echo "FAIL: lintian or dh_python3 is missing: scripts/install-deps.sh deb"; exit 1; }
work=$3
rm -rf "$work" && mkdir -p "$work/bin" "$work/dist" && touch "$work/dist/Pevrand-win64.zip"
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
printf '#!/bin/sh\ncase $1 in -i|-r) echo "$*" >>"%s" ;; *) exec /usr/bin/dpkg "$@" ;; esac\n' \
    "$work/dpkg.log" >"$work/bin/dpkg"
printf '#!/bin/sh\ncase "$*" in *pevrand*) ;; *) exec /usr/bin/dpkg-query "$@" ;; esac\n' \
    >"$work/bin/dpkg-query"
chmod +x "$work"/bin/*
fail() { echo "FAIL: $*"; exit 1; }
PATH=$work/bin:$PATH CI=true BUILD=$2 DIST=$work/dist "$1/scripts/deb.sh" --install-test &&
    fail "the install test passed without installing"
[ -e "$work/dist/Pevrand-win64.zip" ] || fail "another file of the dist folder went"
tail -n 1 "$work/dpkg.log" | grep -q '^-r pevrand' || fail "left installed: $(cat "$work/dpkg.log")"
echo "the dist folder's other file kept; after the failed check, the packages removed"
