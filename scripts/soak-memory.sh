#!/bin/sh
# Resident size of the viewer over a long run at a fast live feed: norq-sim
# serves the demo scenario over TCP at SPEED times real time, the viewer
# (offscreen) connects to it, and VmRSS is sampled every STEP seconds.
#
#   scripts/soak-memory.sh [BUILD_DIR] [SECONDS] [SPEED] [STEP] [PAGE]
#
# Defaults: build, 3600 s, 20x, 30 s, list. Prints one "seconds kB" line per
# sample, then the growth from the first sample at least a minute in (while
# the views fill during the first minute the size still climbs) to the last.
set -eu
build=${1:-build}
duration=${2:-3600}
speed=${3:-20}
step=${4:-30}
page=${5:-list}
. "$(dirname "$0")/live-viewer.sh"
start_live_viewer "$build" "$speed" 10000000 "$page"

elapsed=0
while [ "$elapsed" -le "$duration" ]; do
    kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$viewer_pid/status")
    echo "$elapsed $kb"
    sleep "$step"
    elapsed=$((elapsed + step))
done | tee "$work/rss.txt"
awk 'NR == 1 { start = $2 } $1 >= 60 && !first { first = $2 } { last = $2 }
     END { if (!first) first = start  # a run shorter than a minute
           printf "growth after warm-up: %.2f %% (%d kB -> %d kB)\n",
                  100 * (last - first) / first, first, last }' "$work/rss.txt"
