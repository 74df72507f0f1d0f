#!/usr/bin/env bash
# Formats every C++ file of the project in place.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build' | xargs -r clang-format -i
