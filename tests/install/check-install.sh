#!/usr/bin/env bash
# Usage: check-install.sh BUILD_DIR BUILT_VIEWER MANUAL_BUILT(ON|OFF)
# Installs the build into a scratch prefix and checks what the installed viewer finds.
set -euo pipefail
build=$1
built_viewer=$2
manual_built=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for bin in norq-ais-viewer norq-ais norq-sim; do
    [[ -x "$prefix/bin/$bin" ]] || fail "$bin is not installed"
done

# The installed viewer reads the program folder beside its bin/ and misses nothing
# the build tree has.
share=$prefix/share/norq-ais-viewer
installed=$(env -u NORQ_PROGRAM_DIR "$prefix/bin/norq-ais-viewer" --check-data) ||
    { echo "$installed"; fail "the installed tree lacks a file the viewer needs"; }
echo "$installed"
grep -qx "program folder: $share/" <<<"$installed" || fail "the viewer does not read $share/"
built=$(env -u NORQ_PROGRAM_DIR "$built_viewer" --check-data || true)
while read -r line; do
    [[ "$line" == missing* ]] || continue
    grep -qxF "$line" <<<"$built" || fail "installed tree: $line (the build tree has it)"
done <<<"$installed"
if [[ "$manual_built" == ON ]]; then
    grep -q "NORQ_AIS_VIEWER_MANUAL.html" <<<"$installed" && fail "the HTML manual is not installed"
fi
[[ -s "$share/Demo/strait.scenario" ]] || fail "the demo scenario is not installed"
[[ -s "$prefix/share/doc/norq-ais-viewer/copyright" ]] || fail "no copyright file"

desktop=$prefix/share/applications/org.norq.AisViewer.desktop
metainfo=$prefix/share/metainfo/org.norq.AisViewer.metainfo.xml
[[ -s "$desktop" ]] || fail "no desktop entry"
[[ -s "$metainfo" ]] || fail "no AppStream metadata"
[[ -s "$prefix/share/icons/hicolor/scalable/apps/org.norq.AisViewer.svg" ]] || fail "no SVG icon"
icon_png=$(find "$prefix/share/icons/hicolor" -name org.norq.AisViewer.png | wc -l)
if command -v rsvg-convert >/dev/null || command -v convert >/dev/null; then
    [[ $icon_png -ge 7 ]] || fail "only $icon_png PNG icons installed"
fi
if [[ "$manual_built" == ON ]]; then
    for page in norq-ais-viewer norq-ais norq-sim; do
        ls "$prefix/share/man/man1/$page.1"* >/dev/null 2>&1 || fail "no man page for $page"
    done
fi

# The validators, where they are installed (scripts/install-deps.sh package).
if ! command -v desktop-file-validate >/dev/null || ! command -v appstreamcli >/dev/null; then
    echo "desktop-file-validate or appstreamcli missing: not validated"
    exit 77
fi
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$metainfo" || fail "the AppStream metadata does not validate"
echo "The installed tree is complete."
