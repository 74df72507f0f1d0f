#!/usr/bin/env bash
# Builds the viewer and starts it on the bundled demo feed (a 30-minute
# recording of the Strait of Dover made by the project's device simulator),
# replayed at about its real pace. The first run also generates the world
# chart and gazetteer files (a few minutes); later runs reuse them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build gui
scripts/make-chart-data.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNORQ_GUI=ON >/dev/null
cmake --build build -j"$(nproc)" --target norq-ais-viewer
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "No display found: start this from a desktop session (or set QT_QPA_PLATFORM)." >&2
    exit 1
fi
exec build/src/app/norq-ais-viewer --replay data/demo/demo.nmea --play-log 3 "$@"
