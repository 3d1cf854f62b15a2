#!/usr/bin/env bash
# Builds the Convert fuzzer with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz and runs it for a bounded time from a scratch copy of the committed seed corpus,
# so the corpus in the repository never grows. Exits non-zero on any crash, sanitizer report or
# failed check; the reproducer is left in build-fuzz/artifacts/.
#
#   FUZZ_SECONDS   how long to fuzz (default 60)
#   FUZZ_JOBS      build parallelism (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-fuzz # the fuzz preset's binary directory
seconds="${FUZZ_SECONDS:-60}"
jobs="${FUZZ_JOBS:-2}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target convert_fuzz -j"$jobs"

work="$build/corpus-run"
artifacts="$build/artifacts"
rm -rf "$work" "$artifacts"
mkdir -p "$work" "$artifacts"
cp fuzz/corpus/* "$work/"

log="$build/fuzz.log"
status=0
"$build/fuzz/convert_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict=fuzz/convert.dict -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" >"$log" 2>&1 || status=$?

# The fuzzer's last status line and its final statistics.
grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -n 1 || true
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
    "$log" || true

if [ "$status" -ne 0 ]; then
    echo "---- fuzzer output (last 60 lines) ----"
    tail -n 60 "$log"
    echo "fuzz: FAILED (exit $status); reproducers in $artifacts/"
    exit "$status"
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "fuzz: passed, ${runs:-?} runs in ${seconds} s, no crash"
