#!/usr/bin/env bash
# Builds the Debian packages dist/pevrand_<version>-1_<arch>.deb and, where the build has the
# Python module, dist/python3-pevrand_<version>-1_<arch>.deb from the main build with CPack,
# and checks them with lintian, which fails the script on any error (`make build` first; `make
# deb` does both). For python3-pevrand, dh_python3 first computes ${python3:Depends} and the
# maintainer scripts that byte-compile the module and clean up after it. CPack packs in a
# folder of the build's; only the packages come to dist/, replacing their namesakes, and the
# other files there (the Windows zips and installers, the page) stay.
#
# With --install-test it then installs the packages with dpkg -i, runs both programs' checks
# and imports the module, and removes them with dpkg -r, checking that every file has gone. A
# check that fails, or any other way out, removes them too. That changes /usr, so it runs only
# as root with CI=true (a throwaway machine); elsewhere it says so and skips.
#
#   BUILD   the build directory (default build)
#   DIST    where the packages go (default dist; both relative to the checkout)
set -euo pipefail
cd "$(dirname "$0")/.."
# The packages are made as dpkg-buildpackage makes them, under umask 022: the folders they hold
# and their members take their modes from it, and so are the same whoever builds them.
umask 022

build=$(realpath -m -- "${BUILD:-build}")
dist=$(realpath -m -- "${DIST:-dist}")
install_test=false
[ "${1:-}" = --install-test ] && install_test=true

if [ ! -f "$build/CPackConfig.cmake" ]; then
    echo "deb: $build has no CPack configuration; run 'make build' first" >&2
    exit 1
fi
with_python=false
[ -f "$build/CPackProject.cmake" ] && with_python=true

# dh_python3 on the staged module, as a Debian source package's build would run it: it writes
# python3-pevrand.substvars and the postinst and prerm snippets.
if $with_python; then
    stage="$build/python3-pevrand"
    rm -rf "$stage"
    mkdir -p "$stage/debian"
    printf '%s\n' 'Source: pevrand' 'Maintainer: Pevrand Team <pevrand@druvel.example>' '' \
        'Package: python3-pevrand' 'Architecture: any' 'Depends: ${python3:Depends}' \
        'Description: neutron units converter for Python and numpy' >"$stage/debian/control"
    DESTDIR="$stage/debian/python3-pevrand" \
        cmake --install "$build" --component python --prefix /usr >/dev/null
    # The module is built against numpy's C interface: dh_numpy3 adds the numpy ABI it needs.
    (cd "$stage" && export DEB_HOST_ARCH=$(dpkg-architecture -qDEB_HOST_ARCH) &&
        dh_python3 -p python3-pevrand >/dev/null && dh_numpy3 -p python3-pevrand >/dev/null)
    PEVRAND_PYTHON3_DEPENDS=$(sed -n 's/^python3:Depends=//p' \
        "$stage/debian/python3-pevrand.substvars")
    if [ -z "$PEVRAND_PYTHON3_DEPENDS" ]; then
        echo "deb: dh_python3 computed no Depends" >&2
        exit 1
    fi
    PEVRAND_PYTHON3_SCRIPTS="$stage/scripts"
    mkdir -p "$PEVRAND_PYTHON3_SCRIPTS"
    for script in postinst prerm; do
        { printf '#!/bin/sh\nset -e\n'; cat "$stage/debian/python3-pevrand.$script.debhelper"; } \
            >"$PEVRAND_PYTHON3_SCRIPTS/$script"
        chmod 0755 "$PEVRAND_PYTHON3_SCRIPTS/$script"
    done
    export PEVRAND_PYTHON3_DEPENDS PEVRAND_PYTHON3_SCRIPTS
    echo "deb: dh_python3 and dh_numpy3 give \${python3:Depends} = $PEVRAND_PYTHON3_DEPENDS"
fi

packed="$build/deb-packages"
rm -rf "$packed"
cpack --config "$build/CPackConfig.cmake" -B "$packed" >"$build/cpack.log" 2>&1 || {
    cat "$build/cpack.log" >&2
    exit 1
}
mkdir -p "$dist"
deb= python_deb=
for package in "$packed"/*.deb; do
    name=${package##*/}
    mv -f "$package" "$dist/$name"
    case $name in
    pevrand_*) deb=$dist/$name ;;
    python3-pevrand_*) python_deb=$dist/$name ;;
    esac
done
rm -rf "$packed"

# Errors fail; the one warning kept: the packages are not uploaded to Debian, so their first
# changelog entry closes no "intent to package" bug.
for package in "$deb" $python_deb; do
    echo "deb: built $package ($(stat -c %s "$package") bytes)"
    dpkg-deb -f "$package" Depends | sed 's/^/deb:   Depends: /'
    echo "deb: lintian $package"
    lint_status=0
    lint=$(lintian --fail-on error "$package" 2>&1) || lint_status=$?
    grep -v '^running with root privileges' <<<"$lint" || true
    if [ "$lint_status" -ne 0 ]; then
        echo "deb: lintian found errors" >&2
        exit 1
    fi
done
echo "deb: lintian found no errors"

if ! $install_test; then
    exit 0
fi
if [ "$(id -u)" -ne 0 ] || [ "${CI:-}" != true ]; then
    echo "deb: install test SKIPPED: it installs into /usr, so it runs only as root with CI=true"
    exit 0
fi
packages=(pevrand)
$with_python && packages+=(python3-pevrand)
for package in "${packages[@]}"; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        echo "deb: $package is already installed here; the install test leaves it alone" \
            "(if an earlier run left it: dpkg -r $package)" >&2
        exit 1
    fi
done

fail() { echo "deb: install test FAILED: $*" >&2; exit 1; }
files=$(for package in "$deb" $python_deb; do
    dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }'
done)

# From dpkg -i on, every way out removes the packages again: a failed check, a command that
# fails, a signal.
installed=false
remove_packages() {
    if $installed; then
        echo "deb: removing ${packages[*]} again" >&2
        dpkg -r "${packages[@]}" >&2 || true
    fi
}
trap remove_packages EXIT
trap 'exit 1' HUP INT TERM
installed=true
dpkg -i "$deb" $python_deb
for file in $files; do
    [ -e "$file" ] || fail "$file is missing after dpkg -i"
done
[ "$(/usr/bin/pevrand-convert --version)" = "pevrand-convert $(scripts/version.sh)" ] || fail "--version"
[ "$(/usr/bin/pevrand-convert meV wavelength 25)" = "1.8087" ] || fail "25 meV to wavelength"
[ -x /usr/bin/Pevrand ] || fail "/usr/bin/Pevrand is not executable"
module=/usr/lib/python3/dist-packages/pevrand
if $with_python; then
    # From /, with nothing on PYTHONPATH: the installed module, not the build's.
    imported=$(cd / && env -u PYTHONPATH /usr/bin/python3 -c \
        'import pevrand; print(pevrand.__file__, pevrand.convert(25, "meV", "wavelength"))') ||
        fail "python3 -c 'import pevrand'"
    [ "$imported" = "$module/__init__.py 1.8087" ] || fail "the installed module said: $imported"
fi

dpkg -r "${packages[@]}"
installed=false
for file in $files; do
    [ ! -e "$file" ] || fail "$file is still there after dpkg -r"
done
# The byte-compiled files that the module's postinst made went with it.
[ ! -e "$module" ] || fail "$module is still there after dpkg -r: $(find "$module")"
for package in "${packages[@]}"; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        fail "dpkg still lists $package as installed"
    fi
done
echo "deb: install test passed: dpkg -i, both programs, import pevrand, dpkg -r, every file gone"
