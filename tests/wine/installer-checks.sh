#!/usr/bin/env bash
# The Windows installers under Wine, in a fresh prefix of their own (WINEPREFIX), installed and
# removed silently as an IT group deploys them.
#
#   installer-checks.sh win64 MSI NEXT_MSI DRIVER
#       MSI installs the two programs and the three texts into Program Files\Pevrand, the
#       folder at the end of the system PATH, the Start-menu shortcut and the entry in Settings,
#       Apps (name, version, publisher, icon, no Modify or Repair); the installed program opens
#       its window (DRIVER, program_driver, checks it) and the command runs by its name;
#       installing MSI again keeps one entry; NEXT_MSI, one revision on, replaces it in place;
#       MSI over NEXT_MSI is refused; uninstalling leaves nothing behind.
#   installer-checks.sh win32 MSI
#       MSI installs into Program Files (x86)\Pevrand with its entry in the 32-bit registry
#       view, and uninstalling leaves nothing behind. Windows Installer copies the files
#       itself: no 32-bit program runs.
#
# Prints each check and exits non-zero when one fails.
set -uo pipefail

kind=${1:?win64 or win32}
msi=${2:?package}
wine=${PEVRAND_WINE:-wine}
drive_c=$WINEPREFIX/drive_c
work=$(mktemp -d "${TMPDIR:-/tmp}/pevrand-installer.XXXXXX")
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
# Shortcuts stay inside the prefix: no menu entries on the machine running the checks.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
failed=0

# Runs a check: its description, then its command.
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what" && failed=1; fi
}
version_of() { basename "$1" | sed 's/^Pevrand-\(.*\)-win[0-9]*\.msi$/\1/'; }
msiexec() { "$wine" msiexec "$@" /qn >>"$work/msiexec.log" 2>&1; }
# The registry keys of the entries named Pevrand in Settings, Apps, one a line.
entries() {
    "$wine" reg query "$uninstall" /s "/reg:$view" 2>/dev/null | tr -d '\r' |
        awk '/^HKEY/ { key = $0 } /^ +DisplayName +REG_SZ +Pevrand$/ { print key }'
}
# Value $2 of the entry's values $1 (reg query's lines).
value() { sed -n "s/^ *$2 \+REG_[A-Z_]\+ \+//p" <<<"$1"; }
same() { [ "$1" = "$2" ] || { echo "  got:      $1" && echo "  expected: $2" && false; }; }

# One entry, of `version`, with the program's publisher and icon and no Modify or Repair; the
# two files in `folder` and one Start-menu shortcut to the program, with its icon. (Wine puts
# the shortcut into the user's Start menu: its msiexec doesn't move the menu folders to All
# Users for a per-machine install as Windows does.)
installed() {
    local version=$1 folder=$2 key entry links
    key=$(entries)
    entry=$("$wine" reg query "$key" "/reg:$view" | tr -d '\r')
    links=$(find "$drive_c" -path '*/Start Menu/Programs/Pevrand.lnk')
    same "$(wc -l <<<"$key") $(LC_ALL=C ls "$drive_c/$folder" | xargs)" \
        "1 LICENSE.txt Pevrand.exe ReadMe.txt THIRD-PARTY-NOTICES.txt pevrand-convert.exe" &&
        "$wine" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' \
            /v PATH | tr -d '\r' | grep -qiF ";C:\\${folder//\//\\}\\" &&
        same "$(value "$entry" DisplayVersion)|$(value "$entry" Publisher)" \
            "$version|Druvel Facility" &&
        same "$(value "$entry" NoModify) $(value "$entry" NoRepair)" "0x1 0x1" &&
        "$wine" reg query 'HKLM\Software\Classes\Installer\Products' /s | tr -d '\r' |
        grep -q 'ProductIcon *REG_SZ *C:\\windows\\Installer\\{.*}\\Pevrand.ico$' &&
        same "$(wc -l <<<"$links")" 1 && grep -aqF "${folder//\//\\}\\Pevrand.exe" "$links" &&
        strings -el "$links" | grep -q 'C:\\windows\\Installer\\{.*}\\Pevrand.ico$'
}

# Every file and registry value the package put in is gone again (Windows Installer's own
# folder stays).
nothing_behind() {
    wineserver -k # writes the registry out
    find "$drive_c" | sort >"$work/after"
    same "$(comm -13 "$work/before" "$work/after")" "$drive_c/windows/Installer" &&
        same "$(grep -il pevrand "$WINEPREFIX"/*.reg)" ""
}

view=64
[ "$kind" = win32 ] && view=32 && unset DISPLAY # nothing is shown
wineserver -k 2>/dev/null
rm -rf "$WINEPREFIX"
"$wine" wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" && exit 1; }
wineserver -w
find "$drive_c" | sort >"$work/before"
wineserver -p # one server for the many short runs
version=$(version_of "$msi")

if [ "$kind" = win32 ]; then
    check "installs $(basename "$msi")" msiexec /i "$msi"
    check "into Program Files (x86), entry in the 32-bit view" \
        installed "$version" "Program Files (x86)/Pevrand"
    check "not into Program Files" [ ! -e "$drive_c/Program Files/Pevrand" ]
    check "uninstalls" msiexec /x "$msi"
    check "leaves nothing behind" nothing_behind
    exit $failed
fi

next=${3:?next package} driver=${4:?program_driver}
next_version=$(version_of "$next")
check "installs $(basename "$msi")" msiexec /i "$msi"
check "files, shortcut and entry of $version" installed "$version" "Program Files/Pevrand"
key=$(entries)
check "the installed program opens its window" "$wine" "$driver" \
    'C:\Program Files\Pevrand\Pevrand.exe' \
    --gtest_filter=StartUp.OpensWithTheResultOf25MeVAndTheFocusInTheValueBox --gtest_brief=1
check "the command runs by its name, found on the PATH" \
    same "$("$wine" cmd /c pevrand-convert meV wavelength 25 2>/dev/null)" 1.8087
check "installing again keeps its one entry" msiexec /i "$msi"
check "  the same entry" same "$(entries)" "$key"
check "$(basename "$next") upgrades in place" msiexec /i "$next"
check "  one entry, of $next_version" installed "$next_version" "Program Files/Pevrand"
next_key=$(entries)
check "  a new product code" [ "$next_key" != "$key" ]
# Wine's msiexec shows no message under /qn and logs none; the refusal is its exit status,
# 1603 (the install failed) cut to 8 bits, and the launch condition's property in the log.
log=$work/downgrade.log
msiexec /i "$msi" /l*v "Z:${log//\//\\}"
check "the older package over the newer is refused" same "$?" 67
check "  because the newer one is found" \
    grep -qF "WIX_DOWNGRADE_DETECTED = ${next_key##*\\}" <(tr -d '\0\r' <"$log")
check "  which stays" installed "$next_version" "Program Files/Pevrand"
check "uninstalls" msiexec /x "$next"
check "leaves nothing behind" nothing_behind
exit $failed
