# Sourced by the measuring scripts: starts norq-sim serving the demo scenario
# over TCP and the viewer (offscreen, its own empty home) connected to it.
#
#   start_live_viewer BUILD_DIR SPEED SIM_SECONDS PAGE [VIEWER]
#
# Sets work (a scratch folder, removed at exit), sim_pid and viewer_pid.
work=$(mktemp -d)
sim_pid=
viewer_pid=
cleanup() {
    [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

start_live_viewer() {
    root=$(cd "$(dirname "$0")/.." && pwd)
    "$1/tools/norq-sim/norq-sim" "$root/data/demo/strait.scenario" --tcp=0 \
        --speed "$2" --duration "$3" >"$work/sim.out" 2>&1 &
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
        "${5:-$1/src/app/norq-ais-viewer}" --connect "tcp://127.0.0.1:$port" --page "$4" \
        >"$work/viewer.out" 2>&1 &
    viewer_pid=$!
}
