#!/usr/bin/env bash
# Builds everything and runs every check: the test suites, the style checks,
# the core suites again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and every fuzz target for 20 s.
# Usage: scripts/test.sh [--quick]   (--quick skips the sanitizer and fuzz builds)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build gui test docs package
scripts/check-style.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

if [[ "${1:-}" != "--quick" ]]; then
    scripts/sanitize.sh
    scripts/fuzz.sh 20
fi
echo "All tests passed."
