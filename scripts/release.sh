#!/usr/bin/env bash
# make release: every file of a release of this checkout, in dist/release/:
#
#   pevrand_<v>-1_amd64.deb, python3-pevrand_<v>-1_amd64.deb   make deb (checked by lintian)
#   pevrand-<v>-cp3XX-cp3XX-linux_x86_64.whl                   pip, offline, from the sdist
#   pevrand-<v>.tar.gz                                          the sdist (scripts/sdist.py)
#   Pevrand-<v>-win64.zip, -win32.zip, -win64.msi, -win32.msi   make windows
#   pevrand-<v>.html, pevrand-<v>-web.zip                       make web (the zip: dist/web/)
#   SHA256SUMS                                                  sha256sum of all the above
#   RELEASE-NOTES.md                                            CHANGELOG.md's section for <v>
#
# <v> is the version in resources/ProgramIdentity.h; CHANGELOG.md must have its section and
# CITATION.cff its number. Each file is built by the project's own target, which reuses its
# build folder (build, build-win64, build-win32, build-web), and then each is checked for the
# licence (tests/packaging/check_release_licence.py).
#
# The same commit gives the same bytes (scripts/reproducible.sh compares two builds):
# SOURCE_DATE_EPOCH is the commit's date, and every archive is written sorted with fixed times
# and modes.
#
# Refuses a checkout with uncommitted changes or untracked files, whose release no commit
# could rebuild; ALLOW_DIRTY=1 makes one anyway (for a trial: the sdist holds the tracked files
# as they are in the working tree). JOBS=n builds with n jobs; CMAKE_FLAGS are passed on to
# each build's configure (scripts/reproducible.sh leaves out the tests' and benchmarks' code).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
version=$(scripts/version.sh)
fail() { echo "release: $*" >&2; exit 1; }

if [ -n "$(git status --porcelain)" ]; then
    [ "${ALLOW_DIRTY:-}" = 1 ] ||
        fail "the checkout has uncommitted changes or untracked files (git status); commit" \
            "them first, or set ALLOW_DIRTY=1 for a trial release"
    echo "release: ALLOW_DIRTY=1: releasing a checkout with uncommitted changes"
fi
grep -q "^## \[$version\] - [0-9]\{4\}-[0-9]\{2\}-[0-9]\{2\}$" CHANGELOG.md ||
    fail "CHANGELOG.md has no section '## [$version] - YYYY-MM-DD'"
grep -q "^version: $version$" CITATION.cff || fail "CITATION.cff is not at version $version"

# The time written into every file: it may not depend on when the release is built. Nor may
# the modes, which every archive writes fixed, whatever the umask (scripts/reproducible.sh
# builds under two).
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
echo "release: Pevrand $version, SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH ($(git log -1 --format=%h))"

jobs=${JOBS:-$(nproc)}
make --no-print-directory deb JOBS="$jobs"
make --no-print-directory windows JOBS="$jobs"
make --no-print-directory web JOBS="$jobs"

out=dist/release
stage=dist/release.new
rm -rf "$stage"
mkdir -p "$stage"
arch=$(dpkg --print-architecture)
for file in "pevrand_$version-1_$arch.deb" "python3-pevrand_$version-1_$arch.deb" \
    "Pevrand-$version-win64.zip" "Pevrand-$version-win32.zip" \
    "Pevrand-$version-win64.msi" "Pevrand-$version-win32.msi" "pevrand-$version.html"; do
    cp "dist/$file" "$stage/"
done
scripts/zip-files.py "$stage/pevrand-$version-web.zip" dist/web

# The sdist, and the wheel that pip builds from it offline, as from a checkout; with no
# configuration, index or cache of the machine's.
scripts/sdist.py "$stage"
env PIP_CONFIG_FILE=/dev/null PIP_NO_CACHE_DIR=1 PIP_DISABLE_PIP_VERSION_CHECK=1 \
    PYTHONNOUSERSITE=1 CMAKE_BUILD_PARALLEL_LEVEL="$jobs" \
    /usr/bin/python3 -m pip wheel --no-input --no-build-isolation --no-index --no-deps \
    -w "$stage" "$stage/pevrand-$version.tar.gz" >"$stage.pip.log" 2>&1 ||
    { tail -n 40 "$stage.pip.log"; fail "pip could not build the wheel from the sdist"; }
rm -f "$stage.pip.log"
# The wheel's entries have the modes of the files pip packed, which follow the umask: written
# again 0644, as every zip of the release has them (the module holds no program), in their
# order and with their dates.
/usr/bin/python3 - "$stage"/pevrand-"$version"-*.whl <<'EOF'
import sys
import zipfile
with zipfile.ZipFile(sys.argv[1]) as wheel:
    entries = [(entry, wheel.read(entry)) for entry in wheel.infolist()]
with zipfile.ZipFile(sys.argv[1], "w") as wheel:
    for entry, data in entries:
        entry.external_attr = 0o100644 << 16
        wheel.writestr(entry, data)
EOF

# The notes: CHANGELOG.md's section for this version, under the release's title.
{
    echo "# Pevrand $version"
    echo
    echo "Released $(sed -n "s/^## \[$version\] - //p" CHANGELOG.md)."
    sed -n "/^## \[$version\]/,/^## \[/{/^## \[/!p}" CHANGELOG.md
    echo "Check a download against SHA256SUMS: \`sha256sum --check --ignore-missing SHA256SUMS\`."
} >"$stage/RELEASE-NOTES.md"

/usr/bin/python3 tests/packaging/check_release_licence.py "$stage"
(cd "$stage" && LC_ALL=C sha256sum -- $(LC_ALL=C ls) >SHA256SUMS)
rm -rf "$out"
mv "$stage" "$out"
echo "release: wrote $out:"
(cd "$out" && LC_ALL=C ls -l | awk 'NR > 1 { printf "  %10d  %s\n", $5, $9 }')
