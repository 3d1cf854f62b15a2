#!/usr/bin/env bash
# The launcher's Windows side for real, under Wine: one check a run, named by its function.
#
#   launcher-checks.sh CHECK DRIVER
#
# DRIVER is launcher_driver.exe (tests/wine/LauncherDriver.cpp). The fixtures have booted the
# prefix (WINEPREFIX), copied the MSINFO32.EXE stand-in and its decoys into C:\ and written
# the values below HKLM\SOFTWARE\Pevrand Wine Test (prefix.sh). The checks that need the two
# MSINFO places write them here; ctest runs those one at a time. The stand-in records its
# path, command line and window mode in C:\pevrand-started.txt.
#
# Prints the evidence and exits non-zero when the check fails.
set -euo pipefail

check=${1:?check name}
driver=${2:?launcher_driver.exe}
work=$(mktemp -d "${TMPDIR:-/tmp}/pevrand-launcher.XXXXXX")
trap 'rm -rf "$work"' EXIT
drive_c=$WINEPREFIX/drive_c
marker=$drive_c/pevrand-started.txt
place1='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
place2='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
message='message: System Information Is Unavailable At This Time'

# The registry view of the launcher under test: a 32-bit program reads the 32-bit one.
reg() { "${PEVRAND_WINE:-wine}" reg "$@" "/reg:${PEVRAND_REGISTRY_VIEW:?}" >/dev/null 2>&1; }


# Both places removed; then place 1 and place 2 set where given ($1, $2; type REG_SZ unless
# $3 names another type for place 1).
places() {
    reg delete "$place1" /f || true
    reg delete "$place2" /v MSINFO /f || true
    if [ -n "${1-}" ]; then
        reg add "$place1" /v PATH /t "${3:-REG_SZ}" /d "$1" /f || return 1
    fi
    if [ -n "${2-}" ]; then
        reg add "$place2" /v MSINFO /t REG_SZ /d "$2" /f || return 1
    fi
}

# The driver runs in C:\, so that C: is its current drive.
drive() { (cd "$drive_c" && "${PEVRAND_WINE:-wine}" "$driver" "$@" 2>&1 | tr -d '\r'); }

# Runs StartSysInfo with no marker left from before; its output goes to $work/start.
start() {
    rm -f "$marker"
    drive start >"$work/start"
    echo "launcher:"
    sed 's/^/  /' "$work/start"
}

# The launcher's output is exactly the lines given.
expect_output() {
    local expected
    expected=$(printf '%s\n' "$@")
    if [ "$(cat "$work/start")" != "$expected" ]; then
        echo "expected launcher output:"
        printf '  %s\n' "$@"
        return 1
    fi
}

# The stand-in ran exactly once, as line $1 (its path|command line|show).
expect_started() {
    local waited=0
    while [ ! -s "$marker" ] && [ "$waited" -lt 150 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    if [ ! -s "$marker" ]; then
        echo "the stand-in never ran"
        return 1
    fi
    sleep 0.3 # room for a second start to show up, which must not happen
    echo "stand-in ran as: $(tr -d '\r' <"$marker")"
    if [ "$(tr -d '\r' <"$marker")" != "$1" ]; then
        echo "expected:        $1"
        return 1
    fi
}

expect_nothing_started() {
    sleep 0.3
    if [ -e "$marker" ]; then
        echo "something started: $(cat "$marker")"
        return 1
    fi
    echo "stand-in: not started"
}

# ---- the checks ------------------------------------------------------------------------

neither_place() {
    places && start &&
        expect_output "$message" && expect_nothing_started
}

place1_starts_it() {
    places 'C:\Tools\MSINFO32.EXE' 'C:\Empty' && start &&
        expect_output 'start: C:\Tools\MSINFO32.EXE' started &&
        expect_started 'C:\Tools\MSINFO32.EXE|"C:\Tools\MSINFO32.EXE"|show 1'
}

place2_folder() {
    places '' 'C:\Tools' && start &&
        expect_output 'exists: C:\Tools\MSINFO32.EXE -> yes' 'start: C:\Tools\MSINFO32.EXE' \
            started &&
        expect_started 'C:\Tools\MSINFO32.EXE|"C:\Tools\MSINFO32.EXE"|show 1'
}

place2_trailing_backslash() {
    places '' 'C:\Tools\' && start &&
        expect_output 'exists: C:\Tools\\MSINFO32.EXE -> yes' 'start: C:\Tools\\MSINFO32.EXE' \
            started &&
        expect_started 'C:\Tools\MSINFO32.EXE|"C:\Tools\\MSINFO32.EXE"|show 1'
}

place2_without_tool() {
    places '' 'C:\Empty' && start &&
        expect_output 'exists: C:\Empty\MSINFO32.EXE -> no' "$message" &&
        expect_nothing_started
}

# An empty folder is no folder: "\MSINFO32.EXE" would start the decoy at the root of the
# current drive, as the control run shows.
place2_empty_folder() {
    rm -f "$marker"
    drive unquoted-start '\MSINFO32.EXE' >/dev/null &&
        expect_started 'C:\MSINFO32.EXE|\MSINFO32.EXE|show -1' &&
        places '' '' && reg add "$place2" /v MSINFO /t REG_SZ /d '' /f && start &&
        expect_output "$message" && expect_nothing_started
}

place1_names_no_file() {
    places 'C:\Gone\MSINFO32.EXE' 'C:\Tools' && start &&
        grep -q '^start failed: ' "$work/start" &&
        [ "$(grep -v '^start failed: ' "$work/start")" = "$(printf '%s\n' \
            'start: C:\Gone\MSINFO32.EXE' "$message")" ] &&
        expect_nothing_started
}

unquoted_control() {
    rm -f "$marker"
    drive unquoted-start 'C:\Program Files\Pevrand Test\MSINFO32.EXE' &&
        expect_started 'C:\Program.exe|C:\Program Files\Pevrand Test\MSINFO32.EXE|show -1'
}

program_files_decoy() {
    local tool='C:\Program Files\Pevrand Test\MSINFO32.EXE'
    places "$tool" && start &&
        expect_output "start: $tool" started &&
        expect_started "$tool|\"$tool\"|show 1"
}

expandable_text() {
    places '%ProgramFiles%\Pevrand Test\MSINFO32.EXE' 'C:\Tools' REG_EXPAND_SZ && start &&
        grep -q '^start failed: ' "$work/start" &&
        [ "$(grep -v '^start failed: ' "$work/start")" = "$(printf '%s\n' 'start: ' "$message")" ] &&
        expect_nothing_started
}

empty_value() {
    drive getkey 'SOFTWARE\Pevrand Wine Test' Empty | tee "$work/get" &&
        grep -q '^raised: registry value holds no bytes$' "$work/get" &&
        places '' 'C:\Tools' && reg add "$place1" /v PATH /t REG_BINARY /f && start &&
        expect_output "$message" && expect_nothing_started
}

number_value() {
    drive getkey 'SOFTWARE\Pevrand Wine Test' Number | tee "$work/get" &&
        [ "$(cat "$work/get")" = "$(printf '%s\n' 'result: true' 'length: 3' 'value: 261')" ]
}

value_sizes() {
    drive getkey 'SOFTWARE\Pevrand Wine Test' Fits | grep -v '^value' | sed 's/^/1024 bytes: /' |
        tee "$work/get" &&
        drive getkey 'SOFTWARE\Pevrand Wine Test' Over | sed 's/^/1025 bytes: /' |
        tee -a "$work/get" &&
        [ "$(cat "$work/get")" = "$(printf '%s\n' '1024 bytes: result: true' \
            '1024 bytes: length: 1023' '1025 bytes: result: false' '1025 bytes: length: 0' \
            '1025 bytes: value: ')" ]
}

version_record() {
    drive version | tee "$work/version" &&
        [ "$(cat "$work/version")" = "$(printf '%s\n' \
            'fixed file version: 2.1.0.0' \
            'fixed product version: 2.1.0.0' \
            'file type: 1, os: 0x00004, flags: 0x0' \
            'translation: 0409 04B0' \
            'CompanyName: Druvel Facility' \
            'ProductName: Pevrand' \
            'FileVersion: 2.01' \
            'ProductVersion: 2.01' \
            'InternalName: Pevrand' \
            'OriginalFilename: Pevrand.exe')" ]
}

icon_group() {
    drive icons | tee "$work/icons" &&
        [ "$(grep -v 'resource id' "$work/icons")" = "$(printf '%s\n' \
            'images: 6' \
            'image 1: 16x16, 4 bits per pixel, own mask' \
            'image 2: 16x16, 8 bits per pixel, own mask' \
            'image 3: 32x32, 4 bits per pixel, own mask' \
            'image 4: 32x32, 8 bits per pixel, own mask' \
            'image 5: 48x48, 4 bits per pixel, own mask' \
            'image 6: 48x48, 8 bits per pixel, own mask')" ]
}

if ! declare -F "$check" >/dev/null; then
    echo "no such check: $check" >&2
    exit 2
fi
"$check"
