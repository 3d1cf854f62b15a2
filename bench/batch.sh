#!/usr/bin/env bash
# pevrand-convert's batch mode side by side with the awk line a user would otherwise write:
# 1,000,000 energies like "12.345" from standard input to wavelengths on standard output, on
# one core, the two programs taking turns. Prints the median CPU time of each and the ratio
# (above 1: pevrand-convert is faster). Run `make build` first (`make bench` does both).
#
#   BUILD          the build directory (default build)
#   BENCH_REPEATS  runs of each program (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BUILD:-build}"
repeats="${BENCH_REPEATS:-7}"
command="$build/cli/pevrand-convert"
if [ ! -x "$command" ]; then
    echo "bench: $command is missing; run 'make build' first" >&2
    exit 1
fi
for tool in mawk taskset; do
    if ! command -v "$tool" >/dev/null; then
        echo "bench: $tool is missing; run scripts/install-deps.sh" >&2
        exit 1
    fi
done

work="$build/bench/batch"
mkdir -p "$work"
input="$work/energies.txt"
# Values from 0.001 to 999.999, each with three decimals, in a fixed pseudo-random order.
if [ ! -s "$input" ]; then
    mawk 'BEGIN { srand(7); for (i = 0; i < 1000000; i++) printf "%.3f\n", 0.001 + rand() * 999.998 }' \
        >"$input"
fi

# CPU time (user + system) in seconds of one run of "$@" on core 0, its output discarded: the
# work each program does, less disturbed by other load than the wall time.
seconds() {
    local TIMEFORMAT='%U %S' times
    times=$({ time taskset -c 0 "$@" <"$input" >/dev/null; } 2>&1)
    awk -v t="$times" 'BEGIN { split(t, p, " "); printf "%.3f\n", p[1] + p[2] }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", v[int((NR + 1) / 2)] }'; }

ours=()
theirs=()
for _ in $(seq "$repeats"); do
    ours+=("$(seconds "$command" energy wavelength)")
    theirs+=("$(seconds mawk '{ printf "%.5g\n", sqrt(81.787 / $1) }')")
done
ours_median=$(printf '%s\n' "${ours[@]}" | median)
theirs_median=$(printf '%s\n' "${theirs[@]}" | median)

echo "== Batch conversion: 1,000,000 energies to wavelengths, one core, median CPU time of $repeats runs"
printf '%-44s %8s s\n' "pevrand-convert energy wavelength" "$ours_median"
printf '%-44s %8s s\n' "mawk '{printf \"%.5g\\n\", sqrt(81.787/\$1)}'" "$theirs_median"
awk -v a="$theirs_median" -v b="$ours_median" \
    'BEGIN { printf "ratio (mawk / pevrand-convert): %.2f\n", a / b }'
