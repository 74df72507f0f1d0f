#!/usr/bin/env bash
# The chart view's screenshots in docs/images/chart-view/: the radar view over
# the demo feed at 800 nm, 24 nm and 0.75 nm per ring in Day Bright and Night,
# head-up, and on a real X server (Xvfb) driven with xdotool: wheel zoom, drag,
# double click, the chart's popup menu. Needs a built viewer (build/) and the
# test package group (xvfb, xdotool, imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/images/chart-view
mkdir -p "$out"
viewer=build/src/app/norq-ais-viewer
feed=data/demo/demo.nmea
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Offscreen: the chart view alone after 10 s of the feed at 50 lines per tick.
shot() {
    local name=$1
    shift
    rm -rf "$work/data"
    QT_QPA_PLATFORM=offscreen "$viewer" --replay "$feed" --play-log 50 --data-dir "$work/data" \
        --quit-after 10 --screenshot-chart "$work/$name.png" "$@" >/dev/null 2>&1
    convert "$work/$name.png" -strip +dither -colors 64 "PNG8:$out/$name.png"
}
shot day-800nm --chart-scale 0
shot day-24nm --chart-scale 5
shot day-0.75nm --chart-scale 10
shot night-800nm --chart-scale 0 --colour-scheme 4
shot night-24nm --chart-scale 5 --colour-scheme 4
shot night-0.75nm --chart-scale 10 --colour-scheme 4
shot day-head-up-0.75nm --chart-scale 10 --orientation 1
shot day-head-up-3nm --chart-scale 8 --orientation 1

# A real X server: the whole window, driven by the pointer.
display=:57
Xvfb "$display" -screen 0 1400x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
viewerPid=""
cleanup() {
    [[ -n "$viewerPid" ]] && kill "$viewerPid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
sleep 2
export DISPLAY=$display
rm -rf "$work/data"
"$viewer" --replay "$feed" --play-log 3 --data-dir "$work/data" --quit-after 90 \
    >/dev/null 2>&1 &
viewerPid=$!
window=""
for _ in $(seq 1 40); do
    window=$(xdotool search --name "NORQ AIS Viewer" 2>/dev/null | tail -1 || true)
    [[ -n "$window" ]] && xdotool getwindowgeometry "$window" >/dev/null 2>&1 && break
    sleep 0.5
done
[[ -n "$window" ]] || { echo "no viewer window" >&2; exit 1; }
sleep 12
grab() {
    import -window root "$work/x-$1.png"
    convert "$work/x-$1.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip +dither -colors 64 \
        "PNG8:$out/xvfb-$1.png"
}
# The chart's middle in screen coordinates (the chart fills the left of the window).
chart=$(xdotool search --name "NORQ AIS Viewer" | tail -1)
eval "$(xdotool getwindowgeometry --shell "$chart")"
cx=$((X + WIDTH / 3))
cy=$((Y + HEIGHT / 2))
grab 1-start
# Three wheel steps in: 48 nm -> 6 nm per ring.
xdotool mousemove "$cx" "$cy"
for _ in 1 2 3; do xdotool click 4; sleep 0.4; done
sleep 1
grab 2-wheel-zoom-in
# A drag of 200 pixels to the left and 100 up moves the chart with the pointer
# (grabbed while the button is held, and just after the release: the own
# ship's next VDO report centres the chart on it again).
xdotool mousemove "$cx" "$cy" mousedown 1
for i in $(seq 1 10); do xdotool mousemove $((cx - 20 * i)) $((cy - 10 * i)); sleep 0.05; done
sleep 0.3
grab 3-dragging
xdotool mouseup 1
sleep 0.15
grab 3-drag-released
# A double click centres the chart on the pointer.
xdotool mousemove $((cx + 200)) $((cy + 150)) click --repeat 2 --delay 80 1
sleep 0.15
grab 4-double-click
# The chart's popup menu.
xdotool mousemove $((cx - 150)) $((cy + 120)) click 3
sleep 1
grab 5-popup-menu
xdotool key Escape
sleep 0.5
# The GNSS status window from its tool button (the ninth of the tool bar).
xdotool mousemove $((X + 250)) $((Y + 36)) click 1
sleep 3
grab 6-gnss-status
kill "$viewerPid" 2>/dev/null || true
wait "$viewerPid" 2>/dev/null || true
viewerPid=""
ls -la "$out"
