#!/usr/bin/env bash
# Start-up benchmark of the main window, side by side with the floor for any Qt program: an
# empty Qt window of the same size (371 x 574) from the same build. For reference it also
# measures that window with one label, the floor for any window that shows text.
#
# On a virtual X server (Xvfb) each run starts the program and measures the time until the X
# server maps its window (Pevrand computes its first result before it shows the window, so
# the map is the window with its result), lets it paint for a moment, ends it and reads its
# peak resident memory. Runs alternate between the two programs; the table gives medians.
#
# Usage: bench/startup.sh   (BUILD=dir, default build; RUNS=n, default 15)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD:-build}
runs=${RUNS:-15}
settle_ms=300

if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "startup: $build is not configured; run 'make build' first" >&2
    exit 1
fi
if ! cmake --build "$build" --target Pevrand startup_empty_window startup_probe -j2 >/dev/null; then
    echo "startup: cannot build the programs in $build (benchmarks switched off?)" >&2
    exit 1
fi
pevrand=$build/app/Pevrand
empty=$build/bench/startup/startup_empty_window
probe=$build/bench/startup/startup_probe

# A display number that no X server uses yet.
. scripts/xvfb.sh
start_xvfb
work="$xvfb_work"

measure() { "$probe" 371 574 "$settle_ms" "$@"; }

# One run of each first, not counted: it fills the file cache.
measure "$empty" >/dev/null
measure "$pevrand" >/dev/null
for _ in $(seq "$runs"); do
    measure "$empty" >>"$work/empty"
    measure "$empty" --one-label >>"$work/label"
    measure "$pevrand" >>"$work/pevrand"
done

# The median of column $2 of file $1.
median() { cut -d' ' -f"$2" "$1" | sort -g | awk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

empty_ms=$(median "$work/empty" 1)
pevrand_ms=$(median "$work/pevrand" 1)
label_ms=$(median "$work/label" 1)
empty_kib=$(median "$work/empty" 2)
pevrand_kib=$(median "$work/pevrand" 2)
label_kib=$(median "$work/label" 2)

awk -v runs="$runs" -v ems="$empty_ms" -v pms="$pevrand_ms" -v lms="$label_ms" \
    -v ek="$empty_kib" -v pk="$pevrand_kib" -v lk="$label_kib" 'BEGIN {
    tr = pms / ems; mr = pk / ek
    printf "Start-up under Xvfb, median of %d runs each\n\n", runs
    printf "| Program | Start to mapped window | Peak resident memory |\n"
    printf "|---|---|---|\n"
    printf "| Empty Qt window, 371 x 574 | %.1f ms | %.1f MiB |\n", ems, ek / 1024
    printf "| The same with one label | %.1f ms (%.2fx) | %.1f MiB (%.2fx) |\n", lms, lms / ems,
        lk / 1024, lk / ek
    printf "| Pevrand | %.1f ms (%.2fx) | %.1f MiB (%.2fx) |\n", pms, tr, pk / 1024, mr
    printf "\nTargets against the empty window: start-up at most 1.3x, memory at most 1.2x\n"
    printf "\nstart-up %s, memory %s\n", tr <= 1.3 ? "within target" : "OVER TARGET",
        mr <= 1.2 ? "within target" : "OVER TARGET"
}'
