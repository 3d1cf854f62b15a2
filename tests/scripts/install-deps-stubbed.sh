#!/usr/bin/env bash
# scripts/install-deps.sh against the package sources scientists' machines really have, with
# apt-get, dpkg and dpkg-query stubbed (nothing is installed; no root needed):
#
#   install-deps-stubbed.sh SOURCE WORK
#
# A failed `apt-get update` warns and goes on; a wine32:i386 that apt can't install is left out
# with apt's reason, the rest is installed, the reason is left for the Windows suite and the
# i386 architecture that the run added is removed again; a failed install stops with apt's
# message; a machine without apt-get gets the list and a way on; `make install` asks only for
# the window's packages.
set -euo pipefail

source=${1:?source folder}
work=${2:?scratch folder}
rm -rf "$work"
mkdir -p "$work/bin"
fail() { echo "FAIL: $*"; [ ! -f "$work/out" ] || sed 's/^/  | /' "$work/out"; exit 1; }

# The stubs log each call to $work/calls. STUB_UPDATE and STUB_WINE32 say how apt-get's
# update and wine32:i386 fare: ok, or fail with a real apt message.
cat >"$work/bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $*" >>"$STUB_DIR/calls"
case "$*" in
*update*)
    [ "$STUB_UPDATE" = ok ] && exit 0
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1234 != 5678). Mirror sync in progress? [IP: 127.0.0.1 80]"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
*" -s "*wine32:i386*)
    [ "$STUB_WINE32" = ok ] && exit 0
    echo "The following packages have unmet dependencies:"
    echo " libwine:i386 : Depends: libpcre2-8-0:i386 but it is not installable"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100 ;;
*install*)
    [ "${STUB_INSTALL:-ok}" = ok ] && exit 0
    echo "E: Unable to locate package qt6-base-dev"
    exit 100 ;;
esac
STUB
cat >"$work/bin/dpkg" <<'STUB'
#!/bin/bash
echo "dpkg $*" >>"$STUB_DIR/calls"
case $1 in
--print-foreign-architectures) cat "$STUB_DIR/arches" 2>/dev/null ;;
--add-architecture) echo "$2" >>"$STUB_DIR/arches" ;;
--remove-architecture) sed -i "/^$2\$/d" "$STUB_DIR/arches" ;;
esac
STUB
printf '#!/bin/bash\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/bash\n"$@"\n' >"$work/bin/sudo"
# cmake stops make install once the packages are asked for: what it builds is another row's.
printf '#!/bin/bash\necho "cmake $*" >>"$STUB_DIR/calls"\nexit 3\n' >"$work/bin/cmake"
chmod +x "$work/bin"/*
stubbed() {
    rm -f "$work/calls" "$work/arches"
    STUB_DIR=$work PATH="$work/bin:$PATH" PEVRAND_RUNS_I386=yes "$@" >"$work/out" 2>&1
}
installed() { grep '^apt-get install -y' "$work/calls" | tr ' ' '\n' | grep -v '^-' | sed 1,2d; }

# A mirror mid-sync and an uninstallable wine32:i386: everything else is installed.
mkdir -p "$work/tree/scripts" "$work/tree/build-win32"
cp "$source/scripts/install-deps.sh" "$source/scripts/runs-i386.sh" "$work/tree/scripts/"
STUB_UPDATE=fail STUB_WINE32=fail stubbed "$work/tree/scripts/install-deps.sh" windows ||
    fail "a failed update or an uninstallable wine32 stopped the install"
grep -q 'warning: apt-get update failed' "$work/out" || fail "no warning for the failed update"
grep -q 'Mirror sync in progress' "$work/out" || fail "apt's update error isn't shown"
installed | grep -qx wine64 || fail "the other packages weren't installed"
installed | grep -q i386 && fail "wine32:i386 was asked for"
grep -q "32-bit Windows programs won't run" "$work/out" || fail "no word on the 32-bit programs"
grep -q 'libpcre2-8-0:i386' "$work/tree/build-win32/wine32-unavailable.txt" ||
    fail "the Windows suite isn't told why"
grep -q 'dpkg --remove-architecture i386' "$work/calls" || fail "the added i386 stayed"

# Where wine32:i386 installs, it is asked for, and the architecture stays.
STUB_UPDATE=ok STUB_WINE32=ok stubbed "$work/tree/scripts/install-deps.sh" windows ||
    fail "the install failed"
installed | grep -qx wine32:i386 || fail "an installable wine32:i386 was left out"
[ ! -e "$work/tree/build-win32/wine32-unavailable.txt" ] || fail "a stale note was kept"

# A failed install stops, with apt's message and a way on.
if STUB_UPDATE=ok STUB_WINE32=ok STUB_INSTALL=fail stubbed "$work/tree/scripts/install-deps.sh" run
then fail "a failed install went on"; fi
grep -q 'Unable to locate package' "$work/out" || fail "apt's install error isn't shown"
grep -q 'PEVRAND_SKIP_INSTALL=1' "$work/out" || fail "no way on after a failed install"

# No apt-get: the Debian names and a way on, never a shell error. The PATH holds only the
# basic tools, so that no real apt-get can be reached.
mkdir -p "$work/plain"
for tool in bash env dirname sort grep sed cat mktemp id rm mkdir tr head tail paste; do
    ln -sf "$(command -v "$tool")" "$work/plain/$tool"
done
status=0
STUB_DIR=$work PEVRAND_RUNS_I386=yes "$work/plain/env" PATH="$work/plain" \
    bash "$work/tree/scripts/install-deps.sh" run >"$work/out" 2>&1 || status=$?
[ $status = 1 ] || fail "no apt-get: exit status $status"
grep -qx '  qt6-base-dev' "$work/out" || fail "no apt-get: the packages aren't listed"
grep -q 'PEVRAND_SKIP_INSTALL=1 make run' "$work/out" || fail "no apt-get: no way on"
grep -qiE 'command not found|line [0-9]+:' "$work/out" && fail "no apt-get: a shell error"

# make install asks for the window's packages alone.
cp "$source/Makefile" "$work/tree/"
STUB_UPDATE=ok STUB_WINE32=ok stubbed make -C "$work/tree" install BUILD="$work/b" PREFIX="$work/p" || true
grep -q '^cmake ' "$work/calls" || fail "make install didn't go on to build"
diff <(installed | sort) <("$source/scripts/install-deps.sh" --list run | sort) >"$work/diff" ||
    fail "make install asks for other packages than the window's: $(cat "$work/diff")"
echo "install-deps: goes on past a failed update and an uninstallable wine32:i386, stops on a" \
     "failed install, lists the packages without apt-get; make install asks for the run set"
