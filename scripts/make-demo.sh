#!/usr/bin/env bash
# Regenerates the bundled demo recording data/demo/demo.nmea from the
# committed scenario data/demo/strait.scenario. The simulator is seeded by the
# scenario, so the same scenario always gives the same file.
# Usage: scripts/make-demo.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S . -B "$build" -G Ninja -DNORQ_GUI=OFF >/dev/null
fi
cmake --build "$build" --target norq-sim -j2 >/dev/null
"$build/tools/norq-sim/norq-sim" data/demo/strait.scenario --out data/demo/demo.nmea.tmp >/dev/null
mv data/demo/demo.nmea.tmp data/demo/demo.nmea
echo "data/demo/demo.nmea: $(wc -l < data/demo/demo.nmea) lines, $(wc -c < data/demo/demo.nmea) bytes"
