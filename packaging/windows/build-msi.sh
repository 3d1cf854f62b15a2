#!/usr/bin/env bash
# Builds one Windows Installer package of Pevrand from packaging/windows/Pevrand.wxs with wixl
# (msitools), as the Windows build does:
#
#   build-msi.sh WXS ARCH VERSION OUT FILE...
#
# ARCH is x64 or x86, VERSION major.minor.revision, OUT the package written; the FILEs are
# packed under their own names: Pevrand.exe, pevrand-convert.exe, ReadMe.txt, LICENSE.txt,
# THIRD-PARTY-NOTICES.txt and the program's icon Pevrand.ico.
#
# The same files give the same bytes: the product and package codes are derived from the
# files, the architecture and the version, and every time in the package (the summary's
# creation and save times, the cabinet's file times) is SOURCE_DATE_EPOCH, or else the time of
# the checkout's last commit.
set -euo pipefail

wxs=$(realpath "$1") arch=$2 version=$3
out=$(realpath -m "$4")
shift 4
stage=$(mktemp -d "${TMPDIR:-/tmp}/pevrand-msi.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# wixl finds the files it packs by their names in the folder it runs in.
for file in "$@"; do cp "$file" "$stage/"; done
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$(dirname "$wxs")" log -1 --format=%ct 2>/dev/null || date +%s)}
touch -d "@$epoch" "$stage"/*

# A name-based UUID (RFC 4122 form, version 5 bits) of what is packed, for salt $1.
code() {
    (cd "$stage" && printf '%s %s %s\n' "$1" "$arch" "$version" && sha256sum -- * | sort -k2) |
        sha256sum | /usr/bin/python3 -c '
import sys, uuid
print("{%s}" % str(uuid.UUID(bytes=bytes.fromhex(sys.stdin.read()[:32]), version=5)).upper())'
}
product_code=$(code product) package_code=$(code package)

mkdir -p "$(dirname "$out")"
rm -f "$out"
# wixl says "unimplemented" of parts of the schema this package doesn't use.
(cd "$stage" && wixl -a "$arch" -D Arch="$arch" -D Version="$version" \
    -D ProductCode="$product_code" -o "$out" "$wxs" 2>&1 |
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

# wixl has no Environment element: the row that puts the programs' folder at the end of the
# system PATH on install, and takes it out again on uninstall (=: set, -: remove on uninstall,
# *: the system's variable; [~]; before the folder: appended to the value there).
printf 'Environment\tName\tValue\tComponent_\r\ns72\tl255\tL255\ts72\r\nEnvironment\tEnvironment\r\n%s\r\n' \
    $'Path\t=-*PATH\t[~];[INSTALLDIR]\tCommand' >"$stage/Environment.idt"
(cd "$stage" && msibuild "$out" -i Environment.idt)

# The package code and the summary's times: wixl makes the code up and writes the time of the
# build. msibuild sets the code, and the two FILETIMEs of the summary stream are rewritten in
# place; msiinfo then reads back both.
summary=$(msiinfo suminfo "$out")
field() { sed -n "s/^$1: //p" <<<"$summary"; }
msibuild "$out" -s "$(field Subject)" "$(field Author)" "$(field Template)" "$package_code"
/usr/bin/python3 - "$out" "$epoch" <<'PY'
import re, struct, sys, time
path, epoch = sys.argv[1], int(sys.argv[2])
data = bytearray(open(path, "rb").read())
# A property of type VT_FILETIME (64): its type, then 100 ns ticks since 1601, within a day of
# now: the creation and the last save of the summary information stream.
now = (int(time.time()) + 11644473600) * 10**7
found = [m.start() + 4 for m in re.finditer(rb"\x40\x00\x00\x00", data)
         if abs(struct.unpack_from("<Q", data, m.start() + 4)[0] - now) < 864 * 10**9]
if len(found) != 2:
    sys.exit(f"build-msi: found {len(found)} summary times, not 2")
for offset in found:
    struct.pack_into("<Q", data, offset, (epoch + 11644473600) * 10**7)
open(path, "wb").write(data)
PY
summary=$(TZ=UTC0 LC_ALL=C msiinfo suminfo "$out")
wanted=$(LC_ALL=C TZ=UTC0 date -d "@$epoch" '+%a %b %e %H:%M:%S %Y')
for name in Created "Last saved"; do
    [ "$(field "$name")" = "$wanted" ] ||
        { echo "build-msi: $name is $(field "$name"), not $wanted" >&2; exit 1; }
done
[ "$(field 'Revision number (UUID)')" = "$package_code" ] ||
    { echo "build-msi: the package code is not $package_code" >&2; exit 1; }
