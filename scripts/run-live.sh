#!/usr/bin/env bash
# Starts the device simulator (norq-sim) on the demo scenario as a TCP server on
# the loopback address and the viewer connected to it, so that the viewer shows
# a live link without hardware: the AIS transponder and the GNSS receiver of a
# busy half hour in the Strait of Dover, in real time. Run scripts/run.sh once
# first (it installs the packages and makes the chart data). Extra arguments go
# to the viewer. Closing the viewer stops the simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNORQ_GUI=ON >/dev/null
cmake --build build -j"$(nproc)" --target norq-ais-viewer norq-sim
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "No display found: start this from a desktop session (or set QT_QPA_PLATFORM)." >&2
    exit 1
fi

announce=$(mktemp)
# Port 0: the simulator takes a free port and announces it.
build/tools/norq-sim/norq-sim data/demo/strait.scenario --tcp=0 >"$announce" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -f "$announce"' EXIT
port=""
for _ in $(seq 1 50); do
    port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9]*\) .*/\1/p' "$announce")
    [[ -n "$port" ]] && break
    sleep 0.1
done
if [[ -z "$port" ]]; then
    echo "norq-sim did not start:" >&2
    cat "$announce" >&2
    exit 1
fi
echo "norq-sim serves on 127.0.0.1:$port; the viewer connects to it."
build/src/app/norq-ais-viewer --connect "tcp://127.0.0.1:$port" "$@"
