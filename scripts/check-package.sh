#!/usr/bin/env bash
# Checks a built Debian package of the viewer without touching the machine's own
# installation: its dependencies resolve on this Debian, dpkg installs it into a
# scratch root, every delivered file is where the installed viewer looks for it, the
# desktop entry, AppStream metadata and man pages are valid, the installed tools run,
# and the installed viewer starts offscreen on the demo feed. Where Xvfb and xdotool
# are installed (scripts/install-deps.sh test), it also starts the viewer on a virtual
# screen and checks that "Help > User Manual(&M)" hands the installed manual to the
# desktop's opener.
# Usage: scripts/check-package.sh PACKAGE.deb [SCRATCH_DIR]
set -euo pipefail

deb=$(realpath "$1")
scratch=${2:-$(mktemp -d)}
mkdir -p "$scratch"
scratch=$(realpath "$scratch")
[[ -n "${2:-}" ]] || trap 'rm -rf "$scratch"' EXIT

fail() { echo "check-package: $*" >&2; exit 1; }
step() { echo "== $*"; }

step "control fields"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 fonts-dejavu-core; do
    [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

step "dependencies resolve on this system (apt-get --simulate)"
apt-get install --simulate -qq "$deb" >"$scratch/apt.log" 2>&1 ||
    { cat "$scratch/apt.log" >&2; fail "apt cannot install the package's dependencies"; }

step "dpkg install into a scratch root"
root=$scratch/root
rm -rf "$root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# The scratch root has no system of its own: the dependencies are those of the
# machine (checked above), and there are no maintainer scripts to run.
dpkg --root="$root" --force-depends --force-script-chrootless --log=/dev/null \
    -i "$deb" >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg -i failed"; }
dpkg --root="$root" -L norq-ais-viewer >"$scratch/files.txt"
echo "$(wc -l <"$scratch/files.txt") paths installed"

usr=$root/usr
share=$usr/share/norq-ais-viewer
for bin in norq-ais-viewer norq-ais norq-sim; do
    [[ -x "$usr/bin/$bin" ]] || fail "$bin is not installed in usr/bin"
    if ldd "$usr/bin/$bin" | grep -q "not found"; then
        ldd "$usr/bin/$bin" | grep "not found" >&2
        fail "$bin misses a shared library"
    fi
done

step "the installed viewer finds every delivered file"
"$usr/bin/norq-ais-viewer" --check-data | tee "$scratch/check-data.txt"
grep -qx "program folder: $share/" "$scratch/check-data.txt" ||
    fail "the viewer does not look in $share/"
if grep -q "^missing" "$scratch/check-data.txt"; then
    fail "the package lacks delivered files"
fi

step "copyright and changelog"
[[ -s "$usr/share/doc/norq-ais-viewer/copyright" ]] || fail "no copyright file"
grep -q "GeoNames" "$usr/share/doc/norq-ais-viewer/copyright" || fail "the copyright file lacks GeoNames"
gzip -t "$usr/share/doc/norq-ais-viewer/changelog.gz" || fail "no compressed changelog"
if command -v lintian >/dev/null; then
    # Errors and warnings fail; the notes (I:) are only shown.
    lintian "$deb" 2>/dev/null | tee "$scratch/lintian.txt" || true
    grep -qE "^[EW]: " "$scratch/lintian.txt" && fail "lintian finds errors or warnings"
fi

step "desktop entry, icons, AppStream metadata"
desktop-file-validate "$usr/share/applications/org.norq.AisViewer.desktop"
grep -qx "Exec=norq-ais-viewer" "$usr/share/applications/org.norq.AisViewer.desktop"
grep -qx "Icon=org.norq.AisViewer" "$usr/share/applications/org.norq.AisViewer.desktop"
[[ -s "$usr/share/icons/hicolor/scalable/apps/org.norq.AisViewer.svg" ]] || fail "no SVG icon"
for size in 16 24 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/org.norq.AisViewer.png
    [[ -s "$png" ]] || fail "no ${size}x${size} icon"
    [[ "$(identify -format '%wx%h' "$png" 2>/dev/null || echo "${size}x${size}")" == "${size}x${size}" ]] ||
        fail "$png is not ${size}x${size}"
done
appstreamcli validate --no-net "$usr/share/metainfo/org.norq.AisViewer.metainfo.xml"

step "man pages"
for page in norq-ais-viewer norq-ais norq-sim; do
    man=$usr/share/man/man1/$page.1.gz
    [[ -s "$man" ]] || fail "no man page for $page"
    text=$(MANWIDTH=80 man -l "$man" 2>"$scratch/man.err")
    [[ -s "$scratch/man.err" ]] && { cat "$scratch/man.err" >&2; fail "$page.1 has roff errors"; }
    [[ "$text" == *"$page"* && "$text" == *SYNOPSIS* ]] || fail "$page.1 does not render"
done

step "the installed tools on the installed demo feed"
decoded=$("$usr/bin/norq-ais" decode "$share/Demo/demo.nmea" | wc -l)
[[ $decoded -gt 1000 ]] || fail "norq-ais decoded only $decoded messages of the demo feed"
echo "norq-ais decoded $decoded messages"
"$usr/bin/norq-sim" "$share/Demo/strait.scenario" --check | head -3

step "the installed viewer starts offscreen on the demo feed"
data=$scratch/data
rm -rf "$data"
# Run from elsewhere, so that nothing is found by accident in the current folder.
(cd / && QT_QPA_PLATFORM=offscreen timeout 60 "$usr/bin/norq-ais-viewer" --data-dir "$data" \
    --replay "$share/Demo/demo.nmea" --play-log 50 --page list --quit-after 8 \
    --screenshot "$scratch/installed-viewer.png") >"$scratch/viewer.log" 2>&1 ||
    { cat "$scratch/viewer.log" >&2; fail "the installed viewer did not start and close"; }
[[ -s "$scratch/installed-viewer.png" ]] || fail "no screenshot of the installed viewer"
[[ -s "$data/NorqAisViewer.ini" ]] || fail "the viewer wrote no settings file"
# Qt's and the sound system's notes about the offscreen platform and the missing
# audio device are expected here; any other complaint is the viewer's.
if grep -vE "^This plugin does not support|^PulseAudioService|^No audio device|^QStandardPaths" \
    "$scratch/viewer.log" | grep -qiE "error|cannot|could not|fail"; then
    cat "$scratch/viewer.log" >&2
    fail "the installed viewer reported an error"
fi
echo "screenshot: $scratch/installed-viewer.png"

if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    step "Help > User Manual(&M) opens the installed manual (Xvfb)"
    # The desktop's opener is replaced by one that writes down what it was given.
    opener=$scratch/opener
    mkdir -p "$opener"
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened.txt"\n' "$scratch" >"$opener/xdg-open"
    chmod +x "$opener/xdg-open"
    rm -f "$scratch/opened.txt"
    number=$((90 + RANDOM % 100))
    while [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]]; do number=$((number + 1)); done
    display=:$number
    Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    (cd / && DISPLAY=$display PATH="$opener:$PATH" XDG_CURRENT_DESKTOP=X-Generic \
        QT_QPA_PLATFORM=xcb timeout 60 "$usr/bin/norq-ais-viewer" --data-dir "$data" \
        --replay "$share/Demo/demo.nmea" --quit-after 12) >"$scratch/viewer-x.log" 2>&1 &
    viewer=$!
    # The main window comes up after the 1.5 s splash.
    window=""
    for _ in $(seq 1 60); do
        window=$(DISPLAY=$display xdotool search --onlyvisible --name "^NORQ AIS Viewer" \
            2>/dev/null | head -1 || true)
        [[ -n "$window" ]] && break
        sleep 0.5
    done
    [[ -n "$window" ]] || { cat "$scratch/viewer-x.log" >&2; fail "no viewer window on $display"; }
    sleep 3
    for _ in 1 2 3; do
        DISPLAY=$display xdotool windowfocus --sync "$window" 2>/dev/null || true
        DISPLAY=$display xdotool key --clearmodifiers alt+h
        sleep 1
        DISPLAY=$display xdotool key m
        sleep 2
        [[ -s "$scratch/opened.txt" ]] && break
        DISPLAY=$display xdotool key Escape Escape
    done
    wait "$viewer" || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    [[ -s "$scratch/opened.txt" ]] || { cat "$scratch/viewer-x.log" >&2; fail "the manual item opened nothing"; }
    echo "opened: $(cat "$scratch/opened.txt")"
    grep -q "$share/PDF/NORQ_AIS_VIEWER_MANUAL.PDF" "$scratch/opened.txt" ||
        fail "the manual item opened something else than the installed manual"
else
    echo "(Xvfb or xdotool missing: the manual item was not tried on a screen)"
fi

echo "The package checks out: $deb"
