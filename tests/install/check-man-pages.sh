#!/usr/bin/env bash
# Every command and option a program's own usage text names is described in its man
# page, so that a new option cannot be forgotten there.
# Usage: check-man-pages.sh MAN_SOURCE_DIR NORQ_AIS NORQ_SIM NORQ_AIS_VIEWER
set -euo pipefail
man_dir=$1
status=0

# The man page's Markdown writes an option as \-\-name (so that it is not a dash).
described() { grep -qF -- "$2" "$man_dir/$1.1.md" || grep -qF -- "\\-\\-${2#--}" "$man_dir/$1.1.md"; }
check() {
    local page=$1 words=$2
    for word in $words; do
        if ! described "$page" "$word"; then
            echo "FAIL: $page.1.md does not describe $word" >&2
            status=1
        fi
    done
}

ais_usage=$("$2" 2>&1 || true)
commands=$(sed -n 's/^  \([a-z]\+\) .*/\1/p' <<<"$ais_usage")
[[ -n "$commands" ]] || { echo "FAIL: no commands in the usage of norq-ais" >&2; exit 1; }
check norq-ais "$commands $(grep -oE -- '--[a-z][a-z-]*' <<<"$ais_usage" | sort -u)"
check norq-sim "$("$3" 2>&1 | grep -oE -- '--[a-z][a-z-]*' | sort -u || true)"
check norq-ais-viewer "$(QT_QPA_PLATFORM=offscreen "$4" --help 2>/dev/null |
    grep -oE -- '--[a-z][a-z-]*' | grep -vx -- '--help-all' | sort -u)"
[[ $status -eq 0 ]] && echo "Every command and option is in its man page."
exit $status
