#!/usr/bin/env bash
# The Wine suite's machine, set up and taken down by ctest fixtures. The environment (set by
# tests/wine/CMakeLists.txt) names the prefix (WINEPREFIX), the display (DISPLAY) and the
# suite's folder (PEVRAND_WINE_ROOT).
#
#   prefix.sh boot              starts Xvfb on DISPLAY, boots a fresh prefix, copies it to
#                               prefix-dpi144 whose screen has 144 dots per inch, and keeps
#                               both servers up between the checks' many short runs
#   prefix.sh shutdown          stops the servers and Xvfb
#   prefix.sh stand-ins EXE     copies the MSINFO32.EXE stand-in to the checks' places
#   prefix.sh registry-values   writes the values GetKeyValue reads back
#
# Every daemon's output goes to a log file: ctest waits for a test's output to close.
set -euo pipefail

root=${PEVRAND_WINE_ROOT:?}
logs=$root/logs
mkdir -p "$logs"

# The registry view of the programs under test: 32-bit programs read the 32-bit one.
reg() { "${PEVRAND_WINE:-wine}" reg "$@" "/reg:${PEVRAND_REGISTRY_VIEW:?}" >>"$logs/reg.log" 2>&1; }

start_xvfb() {
    if xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
        echo "display $DISPLAY: already up"
        return
    fi
    setsid Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null \
        >"$logs/xvfb.log" 2>&1 &
    echo $! >"$root/xvfb.pid"
    for _ in $(seq 100); do
        xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 || { cat "$logs/xvfb.log"; return 1; }
    echo "display $DISPLAY: Xvfb started"
}

boot() {
    local started=$SECONDS
    start_xvfb
    wineserver -k 2>/dev/null || true
    WINEPREFIX=$root/prefix-dpi144 wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    if ! "${PEVRAND_WINE:-wine}" wineboot -i </dev/null >"$logs/wineboot.log" 2>&1; then
        cat "$logs/wineboot.log"
        return 1
    fi
    wineserver -w
    dpi_copy prefix-dpi144 144
    # One server for the whole suite, kept up between the many short runs, and its services
    # started here: they outlive the run that starts them, holding its output open.
    wineserver -p </dev/null >>"$logs/wineboot.log" 2>&1
    "${PEVRAND_WINE:-wine}" reg query 'HKCU\Control Panel\Desktop' </dev/null >>"$logs/wineboot.log" 2>&1
    echo "prefix $WINEPREFIX booted in $((SECONDS - started)) s"
}

shutdown() {
    local prefix
    for prefix in "$root"/prefix*; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    done
    if [ -s "$root/xvfb.pid" ]; then
        kill "$(cat "$root/xvfb.pid")" 2>/dev/null || true
        rm -f "$root/xvfb.pid"
    fi
    echo "servers stopped"
}

stand_ins() {
    local exe=$1 drive_c=$WINEPREFIX/drive_c
    mkdir -p "$drive_c/Tools" "$drive_c/Empty" "$drive_c/Program Files/Pevrand Test"
    cp "$exe" "$drive_c/Tools/MSINFO32.EXE"
    cp "$exe" "$drive_c/Program Files/Pevrand Test/MSINFO32.EXE"
    # The decoys: what an unquoted command line would start for "C:\Program Files\...", and
    # what "\MSINFO32.EXE" (an empty folder value) would start from the current drive.
    cp "$exe" "$drive_c/Program.exe"
    cp "$exe" "$drive_c/MSINFO32.EXE"
    echo "stand-in copied to C:\\Tools, C:\\Program Files\\Pevrand Test, decoys C:\\Program.exe" \
        "and C:\\MSINFO32.EXE"
}

registry_values() {
    local key='HKLM\SOFTWARE\Pevrand Wine Test'
    reg add "$key" /v Empty /t REG_BINARY /f &&
        reg add "$key" /v Number /t REG_DWORD /d 261 /f &&
        reg add "$key" /v Fits /t REG_SZ /d "$(printf 'x%.0s' $(seq 1023))" /f &&
        reg add "$key" /v Over /t REG_SZ /d "$(printf 'x%.0s' $(seq 1024))" /f ||
        { cat "$logs/reg.log"; return 1; }
    echo "written below $key: Empty (no bytes), Number (261), Fits (1023 x), Over (1024 x)"
}

# A copy of the booted, stopped prefix whose screen has `dpi` dots per inch.
dpi_copy() {
    local copy=$root/$1 dpi=$2
    rm -rf "$copy"
    cp -a "$WINEPREFIX" "$copy"
    WINEPREFIX=$copy wineserver -p </dev/null >>"$logs/wineboot.log" 2>&1
    WINEPREFIX=$copy "${PEVRAND_WINE:-wine}" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$dpi" /f >>"$logs/reg.log" 2>&1
    echo "prefix $copy at $dpi DPI"
}

case ${1-} in
boot) boot ;;
shutdown) shutdown ;;
stand-ins) stand_ins "$2" ;;
registry-values) registry_values ;;
*)
    echo "usage: prefix.sh boot | shutdown | stand-ins EXE | registry-values" >&2
    exit 2
    ;;
esac
