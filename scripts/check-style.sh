#!/usr/bin/env bash
# Machine-checked conventions: clang-format on every C++ file, no Qt in the core, and no
# include that runs up a floor.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

# The project's files: git's list in a checkout, every file outside the build folders
# in an exported tree (CI may check out without .git).
project_files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -co --exclude-standard -- "$@"
    else
        local patterns=() p
        for p in "$@"; do patterns+=(-o -path "./$p"); done
        find . \( -path './build*' -o -path './.git' \) -prune -o -type f \( -false "${patterns[@]}" \) -print |
            sed 's|^\./||' | sort
    fi
}

mapfile -t files < <(project_files '*.cpp' '*.h' | grep -v '^build')
if [[ ${#files[@]} -gt 0 ]]; then
    if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/norq-format.txt; then
        echo "clang-format: these files need formatting (run scripts/format.sh):"
        grep -o '^[^:]*:' /tmp/norq-format.txt | sort -u
        status=1
    fi
fi

# The core is plain C++: Qt may appear only in ui/, app/, */forms/ and chart/paint/.
core_qt=$(project_files 'src/*' |
    grep -E '\.(h|cpp)$' |
    grep -vE '^src/(ui|app)/|/forms/|^src/chart/paint/' |
    xargs -r grep -lE '^\s*#\s*include\s*[<"]Q[A-Za-z]' || true)
if [[ -n "$core_qt" ]]; then
    echo "Qt included in core files:"
    echo "$core_qt"
    status=1
fi
# Floors: a folder under src/ may include itself and the folders below it, never one above
# (docs/architecture.md). app/ on top may include every folder.
declare -A below=(
    [base]=""
    [codec]="base"
    [ui]="base"
    [ais]="codec base"
    [chart]="ais codec base ui"
    [comm]="ais codec base ui"
    [nav]="chart comm ais codec base ui"
    [crew]="chart comm ais codec base ui"
    [messaging]="nav crew chart comm ais codec base ui"
)
upward=""
while IFS= read -r file; do
    floor=${file#src/}
    floor=${floor%%/*}
    [[ -v below[$floor] ]] || continue
    allowed=" $floor ${below[$floor]} "
    while IFS= read -r folder; do
        [[ "$allowed" == *" $folder "* ]] || upward+="$file includes $folder/"$'\n'
    done < <(grep -oE '^\s*#\s*include\s*"[a-z]+/' "$file" | sed -E 's/.*"([a-z]+)\//\1/' | sort -u)
done < <(project_files 'src/*' | grep -E '\.(h|cpp|inc)$')
if [[ -n "$upward" ]]; then
    echo "Includes that run up a floor:"
    printf '%s' "$upward"
    status=1
fi
exit $status
