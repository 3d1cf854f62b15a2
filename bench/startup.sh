#!/usr/bin/env bash
# Start-up benchmark of the main window, side by side with its twin: a Qt window with the same
# widgets, captions, faces and colours read from the window's description, but no engine,
# reactions or icon, from the same build. What the twin costs, any window with these controls
# pays; Pevrand's own part is what lies beyond it. For reference it also measures an empty Qt
# window of the same size (371 x 574) and that window with one label.
#
# Fails when Pevrand takes more than 1.15x the twin's start-up or 1.15x its peak memory (the
# empty window is a reference line only: it draws no text, and text's set-up is most of a
# window's start).
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
if ! cmake --build "$build" --target Pevrand startup_empty_window startup_same_widgets startup_probe -j2 >/dev/null; then
    echo "startup: cannot build the programs in $build (benchmarks switched off?)" >&2
    exit 1
fi
pevrand=$build/app/Pevrand
empty=$build/bench/startup/startup_empty_window
twin=$build/bench/startup/startup_same_widgets
probe=$build/bench/startup/startup_probe

# A display number that no X server uses yet.
. scripts/xvfb.sh
start_xvfb
work="$xvfb_work"

measure() { "$probe" 371 574 "$settle_ms" "$@"; }

# One run of each first, not counted: it fills the file cache.
measure "$empty" >/dev/null
measure "$twin" >/dev/null
measure "$pevrand" >/dev/null
for _ in $(seq "$runs"); do
    measure "$empty" >>"$work/empty"
    measure "$empty" --one-label >>"$work/label"
    measure "$twin" >>"$work/twin"
    measure "$pevrand" >>"$work/pevrand"
done

# The median of column $2 of file $1.
median() { cut -d' ' -f"$2" "$1" | sort -g | awk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for name in empty label twin pevrand; do
    declare "${name}_ms=$(median "$work/$name" 1)" "${name}_kib=$(median "$work/$name" 2)"
done

awk -v runs="$runs" -v ems="$empty_ms" -v lms="$label_ms" -v tms="$twin_ms" -v pms="$pevrand_ms" \
    -v ek="$empty_kib" -v lk="$label_kib" -v tk="$twin_kib" -v pk="$pevrand_kib" 'BEGIN {
    tr = pms / tms; mr = pk / tk
    printf "Start-up under Xvfb, median of %d runs each\n\n", runs
    printf "| Program | Start to mapped window | Peak resident memory |\n"
    printf "|---|---|---|\n"
    printf "| Empty Qt window, 371 x 574 (reference) | %.1f ms | %.1f MiB |\n", ems, ek / 1024
    printf "| The same with one label (reference) | %.1f ms | %.1f MiB |\n", lms, lk / 1024
    printf "| The same widgets and captions, no Pevrand | %.1f ms | %.1f MiB |\n", tms, tk / 1024
    printf "| Pevrand | %.1f ms (%.2fx) | %.1f MiB (%.2fx) |\n", pms, tr, pk / 1024, mr
    printf "\nLimits against the same widgets: start-up at most 1.15x, memory at most 1.15x\n"
    printf "\nstart-up %s, memory %s\n", tr <= 1.15 ? "ok" : "OVER", mr <= 1.15 ? "ok" : "OVER"
    exit (tr <= 1.15 && mr <= 1.15) ? 0 : 1
}'
