#!/usr/bin/env bash
# Builds the program and starts it on the bundled demo feed (a recording of
# the Strait of Dover made by the project's device simulator).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build gui
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target norq-ais
build/tools/norq-ais/norq-ais replay data/demo/demo.nmea
