#!/usr/bin/env bash
# Builds one Windows Installer package of Pevrand from packaging/windows/Pevrand.wxs with wixl
# (msitools), as the Windows build does:
#
#   build-msi.sh WXS ARCH VERSION EXE README ICON OUT
#
# ARCH is x64 or x86, VERSION major.minor.revision; EXE, README and ICON are the files packed
# as Pevrand.exe, ReadMe.txt and the program's icon; OUT is the package written.
set -euo pipefail

wxs=$(realpath "$1") arch=$2 version=$3 exe=$4 readme=$5 icon=$6
out=$(realpath -m "$7")
stage=$(mktemp -d "${TMPDIR:-/tmp}/pevrand-msi.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# wixl finds the files it packs by their names in the folder it runs in.
cp "$exe" "$stage/Pevrand.exe"
cp "$readme" "$stage/ReadMe.txt"
cp "$icon" "$stage/Pevrand.ico"
mkdir -p "$(dirname "$out")"
rm -f "$out"
# wixl says "unimplemented" of parts of the schema this package doesn't use.
(cd "$stage" && wixl -a "$arch" -D Arch="$arch" -D Version="$version" -o "$out" "$wxs" 2>&1 |
    { grep -v 'builder.vala:[0-9]*: unimplemented' || true; })
[ -s "$out" ] || { echo "build-msi: wixl wrote no $out" >&2; exit 1; }

# wixl ignores IncludeMaximum: the upgrade row must take in this very version too, so that two
# builds of one version, or the two architectures, replace each other instead of standing side
# by side. Attributes 256 + 512: both ends of the range inclusive.
msiinfo export "$out" Upgrade >"$stage/Upgrade.idt"
awk -F"\t" -v OFS="\t" 'NR > 3 && $7 == "WIX_UPGRADE_DETECTED\r" { $5 = 768 } { print }' \
    "$stage/Upgrade.idt" >"$stage/Upgrade.fixed.idt"
mv "$stage/Upgrade.fixed.idt" "$stage/Upgrade.idt"
(cd "$stage" && msibuild "$out" -i Upgrade.idt)
grep -q $'\t768\t\tWIX_UPGRADE_DETECTED' <(msiinfo export "$out" Upgrade) ||
    { echo "build-msi: the upgrade row is not inclusive" >&2; exit 1; }
