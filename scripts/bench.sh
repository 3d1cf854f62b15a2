#!/usr/bin/env bash
# Runs the benchmarks from the main build (`make build` first; `make bench` does both) and
# prints their medians. Each kind of benchmark is one section below; add new ones the same way.
#
#   BUILD          the build directory (default build)
#   BENCH_REPEATS  repetitions the medians are taken over (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BUILD:-build}"
repeats="${BENCH_REPEATS:-5}"

if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "bench: $build is not configured; run 'make build' first" >&2
    exit 1
fi

# ---- Engine: RunConvert over all 100 pairs, RoundSigFigs, ReadNumber, SingleText ----
engine_benchmarks() {
    echo "== Engine benchmarks (median of $repeats runs; allocs/call = heap allocations per call)"
    if ! cmake --build "$build" --target convert_bench -j2 >/dev/null; then
        echo "bench: cannot build convert_bench in $build (is libbenchmark-dev installed?)" >&2
        return 1
    fi
    "$build/bench/convert_bench" --benchmark_repetitions="$repeats" \
        --benchmark_report_aggregates_only=true >"$build/bench/convert_bench.txt"
    # The table header and the median rows.
    grep -E '^(Benchmark |-+$)|_median ' "$build/bench/convert_bench.txt" | sed 's/_median / /'
}

engine_benchmarks
echo "bench: done"
