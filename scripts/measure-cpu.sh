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
. "$(dirname "$0")/live-viewer.sh"
start_live_viewer "$build" "$speed" 100000 "$page" "${VIEWER:-}"

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
