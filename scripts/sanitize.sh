#!/usr/bin/env bash
# The core suites (everything but the windows) built and run with ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNORQ_GUI=OFF -DNORQ_BENCH=OFF \
    -DNORQ_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs"
