#!/usr/bin/env bash
# scripts/deb.sh among other files of the dist folder, with an install test that fails: the
# other files stay, and the packages it installed are removed. Stand-ins for `id`, dpkg's
# installing and removing (which they only log) and dpkg-query's look-up of the packages let it
# run without root and change nothing; dpkg -i installing nothing fails the first check.
#
#   deb-dist.sh SOURCE BUILD WORK
set -euo pipefail
source=${1:?source folder} build=${2:?build folder} work=${3:?scratch folder}
for tool in lintian dpkg-deb dh_python3; do
    command -v $tool >/dev/null || { echo "skipped: no $tool (install-deps.sh deb)"; exit 77; }
done
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work" && mkdir -p "$work/bin" "$work/dist"
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
printf '#!/bin/sh\ncase $1 in -i|-r) echo "$*" >>"%s" ;; *) exec /usr/bin/dpkg "$@" ;; esac\n' \
    "$work/dpkg.log" >"$work/bin/dpkg"
printf '#!/bin/sh\ncase "$*" in *pevrand*) ;; *) exec /usr/bin/dpkg-query "$@" ;; esac\n' \
    >"$work/bin/dpkg-query"
chmod +x "$work"/bin/*
touch "$work/dist/Pevrand-win64.zip"

PATH=$work/bin:$PATH CI=true BUILD=$build DIST=$work/dist "$source/scripts/deb.sh" --install-test &&
    fail "the install test passed without installing"
[ -e "$work/dist/Pevrand-win64.zip" ] || fail "another file of the dist folder went"
compgen -G "$work/dist/pevrand_*.deb" >/dev/null || fail "no package in the dist folder"
tail -n 1 "$work/dpkg.log" | grep -q '^-r pevrand' ||
    fail "the packages stayed installed: dpkg was asked: $(cat "$work/dpkg.log")"
echo "the dist folder's other files kept; after the failed check, the packages removed"
