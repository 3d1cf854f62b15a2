#!/usr/bin/env bash
# The choice the Windows suite makes from the 32-bit probe, tried both ways on one machine:
#
#   i386-choice.sh SOURCE WORK
#
# The probe is a valid 32-bit x86 program (so a "no" comes from the kernel, not from a broken
# probe); forcing it answers as told. With the probe forced to "no" the 32-bit build keeps its
# static checks and reports every check that would start a 32-bit program skipped with the
# reason, and the 64-bit build runs every check under Wine's 64-bit loader, whatever the probe
# says.
set -euo pipefail

source=${1:?source folder}
work=${2:?scratch folder}
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

"$source/scripts/runs-i386.sh" --write "$work/probe"
readelf -h "$work/probe" | grep -q 'ELF32' || fail "the probe is not a 32-bit ELF program"
readelf -h "$work/probe" | grep -q 'Intel 80386' || fail "the probe is not an i386 program"
PEVRAND_RUNS_I386=no "$source/scripts/runs-i386.sh" >/dev/null && fail "forced no answered yes"
PEVRAND_RUNS_I386=yes "$source/scripts/runs-i386.sh" >/dev/null || fail "forced yes answered no"

# The tests of the build in folder $1 that run under Wine, one a line: name, static or run,
# skip code, the Wine its scripts use, and the command.
tests_of() {
    ctest --test-dir "$1" --show-only=json-v1 | /usr/bin/python3 -c '
import json, sys
for test in json.load(sys.stdin)["tests"]:
    props = {p["name"]: p["value"] for p in test.get("properties", [])}
    if "windows" not in props.get("LABELS", []):
        continue
    wine = [e[13:] for e in props.get("ENVIRONMENT", []) if e.startswith("PEVRAND_WINE=")]
    kind = "static" if "static" in props["LABELS"] else "run"
    print(test["name"], kind, props.get("SKIP_RETURN_CODE", "-"), wine[0] if wine else "-",
          " ".join(test.get("command", [])))'
}

for preset in windows-x64 windows-x86; do
    cmake -S "$source" -B "$work/$preset" --preset "$preset" -DPEVRAND_RUNS_I386=OFF \
        >"$work/$preset.log" 2>&1 || { tail -n 20 "$work/$preset.log"; fail "$preset: configure"; }
    tests_of "$work/$preset" >"$work/$preset.tests"
done

x64=$work/windows-x64.tests x86=$work/windows-x86.tests
while read -r name kind skip wine command; do
    [ "$kind" = static ] && continue
    [ "$skip" = - ] || fail "$name: skipped in the 64-bit build"
    [[ $wine == */wine64 ]] || fail "$name: its scripts use $wine, not Wine's 64-bit loader"
    [[ $command == */bash\ * || $command == */wine64\ * ]] || fail "$name: runs as $command"
done <"$x64"
grep -q '^program\.pairs ' "$x64" || fail "the 64-bit build lost its program checks"
grep -q '^program\.pairs run 77 ' "$x86" || fail "the 32-bit build runs its program checks"

# A run check stays only where it runs no 32-bit program: under Wine's 64-bit loader.
while read -r name kind skip wine command; do
    if [ "$kind" = static ]; then
        [ "$skip" = - ] || fail "$name: a static check is skipped"
    elif [ "$skip" = - ]; then
        [[ $wine == */wine64 ]] || fail "$name: runs ($command)"
    else
        [ "$skip" = 77 ] && [[ $command == *skip-32-bit-run.sh ]] || fail "$name: skips wrongly"
    fi
done <"$x86"
grep -q '^sse2\.' "$x86" || fail "the 32-bit build lost its SSE2 check"
reason=$(bash "$source/tests/wine/skip-32-bit-run.sh") && fail "the skip exits 0"
[[ $reason == *"can't run 32-bit"* ]] || fail "no reason given: $reason"
echo "64-bit: $(wc -l <"$x64") checks, all run under wine64; 32-bit: $(grep -c ' 77 ' "$x86") of" \
    "$(wc -l <"$x86") skipped, the static ones kept"
