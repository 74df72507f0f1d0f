#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each for a while, two at a time, from its seed corpus in fuzz/corpus/.
# New inputs go to build-fuzz/corpus/<target>/ (kept between runs, so later runs start
# where earlier ones stopped); a finding is written to build-fuzz/findings/ and fails
# the run. See docs/fuzzing.md.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#   default 20 s per target (scripts/test.sh), every fuzz/fuzz_*.cpp
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    for src in fuzz/fuzz_*.cpp; do
        name=$(basename "$src" .cpp)
        targets+=("$name")
    done
fi

scripts/install-deps.sh build fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNORQ_FUZZ=ON -DNORQ_GUI=OFF -DNORQ_TESTS=OFF -DNORQ_BENCH=OFF -DNORQ_DOCS=OFF \
    "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

mkdir -p build-fuzz/findings build-fuzz/logs
run_one() {
    local name=$1 seconds=$2
    local seeds=fuzz/corpus/${name#fuzz_}
    local corpus=build-fuzz/corpus/$name
    mkdir -p "$corpus"
    local dirs=("$corpus")
    [[ -d "$seeds" ]] && dirs+=("$seeds")
    # The first folder takes the new inputs; the seed corpus is only read.
    if ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "build-fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$name-" "${dirs[@]}" \
        >"build-fuzz/logs/$name.log" 2>&1; then
        printf '%-26s %s\n' "$name" "$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' \
            "build-fuzz/logs/$name.log" | grep -o '[0-9]*$') runs, no finding"
    else
        printf '%-26s FINDING, see build-fuzz/logs/%s.log\n' "$name" "$name"
        tail -40 "build-fuzz/logs/$name.log" >&2
        return 1
    fi
}
export -f run_one

echo "Fuzzing ${#targets[@]} targets for ${seconds} s each, two at a time"
if printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c 'run_one "$@"' _ {} "$seconds"; then
    echo "No fuzz finding."
else
    echo "Fuzzing found a fault: the inputs are in build-fuzz/findings/" >&2
    exit 1
fi
