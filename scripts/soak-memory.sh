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
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
sim_pid=
viewer_pid=
cleanup() {
    [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

"$build/tools/norq-sim/norq-sim" "$root/data/demo/strait.scenario" --tcp=0 \
    --speed "$speed" --duration 10000000 >"$work/sim.out" 2>&1 &
sim_pid=$!
port=
for _ in $(seq 50); do
    port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/sim.out" | head -n1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "norq-sim did not open a port" >&2; exit 1; }

mkdir -p "$work/home"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=offscreen \
    "$build/src/app/norq-ais-viewer" --connect "tcp://127.0.0.1:$port" --page "$page" \
    >"$work/viewer.out" 2>&1 &
viewer_pid=$!

elapsed=0
while [ "$elapsed" -le "$duration" ]; do
    kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$viewer_pid/status")
    echo "$elapsed $kb"
    sleep "$step"
    elapsed=$((elapsed + step))
done | tee "$work/rss.txt"
awk '$1 >= 60 && !first { first = $2 } { last = $2 }
     END { printf "growth after warm-up: %.2f %% (%d kB -> %d kB)\n",
                  100 * (last - first) / first, first, last }' "$work/rss.txt"
