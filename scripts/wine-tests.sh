#!/usr/bin/env bash
# The launcher's Windows side for real, under Wine.
#
# Cross-builds the launcher's registry layer, a Qt-free driver (tests/wine) with the
# program's version record and icon linked in, and a stand-in MSINFO32.EXE with MinGW-w64:
# x86_64 into build-wine64 (run here, reading the 64-bit registry view a Qt 6 Windows build
# reads) and i686 into build-wine32 (built only, so the layer stays 32-bit clean). Then, in a
# fresh Wine prefix of its own, writes the two registry places with `wine reg add` and checks
# what the launcher starts, what it says, and what the executable carries.
#
# Prints PASS or FAIL with the evidence for each check and a closing summary line; exits
# non-zero when anything failed. Needs wine, wine64 and the MinGW-w64 compilers
# (scripts/install-deps.sh installs them).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
started_at=$SECONDS
passed=0
failed=0

for tool in wine wineserver x86_64-w64-mingw32-g++ i686-w64-mingw32-g++ cmake; do
    if ! command -v "$tool" >/dev/null; then
        echo "wine-tests: $tool is missing; run scripts/install-deps.sh" >&2
        echo "wine: 0 passed, 1 failed"
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/pevrand-wine.XXXXXX")
export WINEPREFIX=$work/prefix
export WINEARCH=win64 WINEDEBUG=-all DISPLAY=
# No Mono or Gecko installers: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
boot_pid=
x86_64_built=0

cleanup() {
    if [ -n "$boot_pid" ]; then
        kill "$boot_pid" 2>/dev/null || true
    fi
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# Runs check function $2 with its output captured; prints PASS/FAIL $1 and the evidence.
check() {
    local name=$1 function=$2
    if "$function" >"$work/evidence" 2>&1; then
        passed=$((passed + 1))
        echo "PASS $name"
    else
        failed=$((failed + 1))
        echo "FAIL $name"
    fi
    sed 's/^/    /' "$work/evidence"
}

# ---- building --------------------------------------------------------------------------

# Configures and builds tests/wine for MinGW-w64 architecture $1 into build directory $2.
build() {
    local arch=$1 dir=$root/$2
    cmake -S "$root/tests/wine" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DPEVRAND_WERROR=ON \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-$arch.cmake" >"$work/build-$arch.log" 2>&1 &&
        cmake --build "$dir" -j2 >>"$work/build-$arch.log" 2>&1 ||
        { tail -n 30 "$work/build-$arch.log"; return 1; }
    # Statically linked: only system DLLs may be imported.
    local imports
    imports=$("$arch-w64-mingw32-objdump" -p "$dir/launcher_driver.exe" "$dir/msinfo_stand_in.exe" |
        sed -n 's/.*DLL Name: //p' | sort -u | tr '\n' ' ')
    echo "built launcher_driver.exe and msinfo_stand_in.exe; imports: $imports"
    case $imports in
    *libstdc++* | *libgcc* | *libwinpthread*) echo "links a MinGW DLL"; return 1 ;;
    esac
}
build_x86_64() { build x86_64 build-wine64 && x86_64_built=1; }
build_i686() { build i686 build-wine32; }

# The fresh prefix boots while the compilers run.
mkdir -p "$WINEPREFIX"
(wine wineboot -i && wineserver -w) >"$work/wineboot.log" 2>&1 &
boot_pid=$!

check "x86_64 build: launcher registry layer, driver with version record, stand-in" build_x86_64
check "i686 build: the same, 32-bit clean (built only)" build_i686

if ! wait "$boot_pid"; then
    boot_pid=
    echo "FAIL wineboot of a fresh prefix"
    sed 's/^/    /' "$work/wineboot.log"
    echo "wine: $passed passed, $((failed + 1)) failed ($((SECONDS - started_at)) s)"
    exit 1
fi
boot_pid=
if [ "$x86_64_built" -ne 1 ]; then
    echo "wine: $passed passed, $failed failed ($((SECONDS - started_at)) s; nothing run)"
    exit 1
fi
echo "wine prefix booted after $((SECONDS - started_at)) s"
# One server for the whole suite, kept up between the many short runs.
wineserver -p

# ---- the machine -----------------------------------------------------------------------

drive_c=$WINEPREFIX/drive_c
driver=$root/build-wine64/launcher_driver.exe
stand_in=$root/build-wine64/msinfo_stand_in.exe
marker=$drive_c/pevrand-started.txt
place1='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
place2='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
values='HKLM\SOFTWARE\Pevrand Wine Test'
message='message: System Information Is Unavailable At This Time'

mkdir -p "$drive_c/Tools" "$drive_c/Empty" "$drive_c/Program Files/Pevrand Test"
cp "$stand_in" "$drive_c/Tools/MSINFO32.EXE"
cp "$stand_in" "$drive_c/Program Files/Pevrand Test/MSINFO32.EXE"
# The decoy an unquoted command line would start for "C:\Program Files\...".
cp "$stand_in" "$drive_c/Program.exe"

reg() { wine reg "$@" /reg:64 >/dev/null 2>&1; }

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

drive() { wine "$driver" "$@" 2>&1 | tr -d '\r'; }

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
    reg add "$values" /v Empty /t REG_BINARY /f &&
        drive getkey 'SOFTWARE\Pevrand Wine Test' Empty | tee "$work/get" &&
        grep -q '^raised: registry value holds no bytes$' "$work/get" &&
        places '' 'C:\Tools' && reg add "$place1" /v PATH /t REG_BINARY /f && start &&
        expect_output "$message" && expect_nothing_started
}

number_value() {
    reg add "$values" /v Number /t REG_DWORD /d 261 /f &&
        drive getkey 'SOFTWARE\Pevrand Wine Test' Number | tee "$work/get" &&
        [ "$(cat "$work/get")" = "$(printf '%s\n' 'result: true' 'length: 3' 'value: 261')" ]
}

value_sizes() {
    local fits over
    fits=$(printf 'x%.0s' $(seq 1023))
    over=$(printf 'x%.0s' $(seq 1024))
    reg add "$values" /v Fits /t REG_SZ /d "$fits" /f &&
        reg add "$values" /v Over /t REG_SZ /d "$over" /f &&
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

check "neither place: the message, and nothing started" neither_place
check "place 1 starts its path as read (place 2 not consulted)" place1_starts_it
check "place 2 folder starts folder + \\MSINFO32.EXE" place2_folder
check "place 2 folder ending in a backslash: two backslashes, tested and started" \
    place2_trailing_backslash
check "place 2 folder without MSINFO32.EXE: the message, and nothing started" place2_without_tool
check "place 1 naming no file: started as read, fails, the message" place1_names_no_file
check "control: an unquoted command line would start the decoy C:\\Program.exe" unquoted_control
check "C:\\Program Files path with the decoy present starts the real tool, never the decoy" \
    program_files_decoy
check "expandable text at place 1: the empty path fails, the message" expandable_text
check "a value of no bytes raises; at place 1 it ends in the message" empty_value
check "a number value reads as its decimal value (261)" number_value
check "1024 bytes of text fit, 1025 count as missing" value_sizes
check "version record read back with GetFileVersionInfoA/VerQueryValueA" version_record
check "icon group 1: six images, sizes and bit depths in order" icon_group

echo "wine: $passed passed, $failed failed ($((SECONDS - started_at)) s)"
[ "$failed" -eq 0 ]
