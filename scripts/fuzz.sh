#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz and runs each for a bounded time from a scratch copy of its committed seed corpus,
# so the corpora in the repository never grow: the Convert command (fuzz/corpus),
# pevrand-convert's batch loop (fuzz/batch-corpus) and the page's links (fuzz/link-corpus), a
# third of the time each. Exits non-zero on any
# crash, sanitizer report or failed check; the reproducer is left in build-fuzz/artifacts/.
#
#   FUZZ_SECONDS   how long to fuzz in all (default 60)
#   FUZZ_JOBS      build parallelism (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-fuzz # the fuzz preset's binary directory
seconds="${FUZZ_SECONDS:-60}"
jobs="${FUZZ_JOBS:-2}"
each=$(( (seconds + 2) / 3 ))

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target convert_fuzz batch_fuzz link_fuzz -j"$jobs"

artifacts="$build/artifacts"
rm -rf "$artifacts"
mkdir -p "$artifacts"

# run_fuzzer NAME CORPUS [OPTIONS...]
run_fuzzer() {
    local name="$1" corpus="$2"
    shift 2
    local work="$build/corpus-run-$name" log="$build/$name.log" status=0
    rm -rf "$work"
    mkdir -p "$work"
    cp "$corpus"/* "$work/"
    "$build/fuzz/$name" -max_total_time="$each" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$@" "$work" >"$log" 2>&1 || status=$?

    # The fuzzer's last status line and its final statistics.
    echo "== $name"
    grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -n 1 || true
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
        "$log" || true

    if [ "$status" -ne 0 ]; then
        echo "---- $name output (last 60 lines) ----"
        tail -n 60 "$log"
        echo "fuzz: $name FAILED (exit $status); reproducers in $artifacts/"
        exit "$status"
    fi
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $name passed, ${runs:-?} runs in ${each} s, no crash"
}

run_fuzzer convert_fuzz fuzz/corpus -dict=fuzz/convert.dict
run_fuzzer batch_fuzz fuzz/batch-corpus -dict=fuzz/convert.dict -max_len=8192
run_fuzzer link_fuzz fuzz/link-corpus -dict=fuzz/link.dict -max_len=65536
