#!/bin/sh
# Measures the viewer's CPU cost at a live feed: norq-sim serves the demo
# scenario over TCP, the viewer (offscreen) connects to it and shows one page.
# After a warm-up the viewer's utime+stime is read from /proc over a window and
# printed as a share of one core.
#
#   scripts/measure-cpu.sh [BUILD_DIR] [PAGE] [WARMUP_S] [WINDOW_S] [SPEED]
#
# PAGE is chart or list (default chart); SPEED is the simulator's rate (1).
# VIEWER names another viewer binary (one built from another commit, say) to
# compare with; it should lie in BUILD_DIR/src/app, beside the files it reads.
# The figure depends on the machine and on what else runs on it: run it on an
# idle machine and repeat it.
set -eu
build=${1:-build}
page=${2:-chart}
warmup=${3:-20}
window=${4:-30}
speed=${5:-1}
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
    --speed "$speed" --duration 100000 >"$work/sim.out" 2>&1 &
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
    "${VIEWER:-$build/src/app/norq-ais-viewer}" --connect "tcp://127.0.0.1:$port" --page "$page" \
    >"$work/viewer.out" 2>&1 &
viewer_pid=$!

ticks() { awk '{ print $14 + $15 }' "/proc/$viewer_pid/stat"; }
sleep "$warmup"
hz=$(getconf CLK_TCK)
t0=$(ticks)
s0=$(date +%s.%N)
sleep "$window"
t1=$(ticks)
s1=$(date +%s.%N)
echo "$page $t0 $t1 $s0 $s1 $hz" | awk '{
    printf "%s page: %.2f %% of one core over %.1f s\n", $1,
        100 * ($3 - $2) / (($5 - $4) * $6), $5 - $4 }'
