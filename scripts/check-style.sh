#!/usr/bin/env bash
# Machine-checked conventions: clang-format on every C++ file, and no Qt in the core.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build')
if [[ ${#files[@]} -gt 0 ]]; then
    if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/norq-format.txt; then
        echo "clang-format: these files need formatting (run scripts/format.sh):"
        grep -o '^[^:]*:' /tmp/norq-format.txt | sort -u
        status=1
    fi
fi

# The core is plain C++: Qt may appear only in ui/, app/, */forms/ and chart/paint/.
core_qt=$(git ls-files -co --exclude-standard -- 'src/*' |
    grep -E '\.(h|cpp)$' |
    grep -vE '^src/(ui|app)/|/forms/|^src/chart/paint/' |
    xargs -r grep -lE '^\s*#\s*include\s*[<"]Q[A-Za-z]' || true)
if [[ -n "$core_qt" ]]; then
    echo "Qt included in core files:"
    echo "$core_qt"
    status=1
fi
exit $status
