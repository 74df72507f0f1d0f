#!/usr/bin/env bash
# The crew watch's screenshots in docs/images/crew/: the crew page, the crew
# list, the event log and the rescue guide during an SOS, in English and in
# Simplified Chinese. The viewer replays a short scene of the crew-watch
# controller (own fix off Bergen, seven pendants and a repeater, then one
# pendant's SOS) with the crew-watch items shown. Needs a built viewer (build/)
# and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/images/crew
mkdir -p "$out"
viewer=build/src/app/norq-ais-viewer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A sentence with its checksum.
nmea() {
    local body=$1 sum=0 i c
    for ((i = 1; i < ${#body}; i++)); do
        printf -v c '%d' "'${body:i:1}"
        sum=$((sum ^ c))
    done
    printf '%s*%02X\r\n' "$body" "$sum"
}

scene() {
    local fix='$GPRMC,101500.00,A,6024.000,N,00518.000,E,0.4,045.0,101226,,,A'
    for i in 1 2 3; do nmea "$fix"; done
    nmea '$PMOB,5A0001,2,04,E6,000000'
    nmea '$PMOB,93FA2F,1,04,D2,000000'
    nmea '$PMOB,93FA30,1,04,E6,5A0001'
    nmea '$PMOB,93FA31,1,04,C0,5A0001'
    nmea '$PMOB,93FA32,1,04,DC,000000'
    nmea '$PMOB,93FA33,1,04,E6,000000'
    nmea '$PMOB,93FA34,1,04,D2,5A0001'
    for i in 1 2 3 4; do
        nmea "$fix"
        nmea '$PMOB,5A0001,2,01,E6,000000'
        nmea '$PMOB,93FA2F,1,01,D2,000000'
        nmea '$PMOB,93FA30,1,01,E6,5A0001'
        nmea '$PMOB,93FA31,1,01,C0,5A0001'
        nmea '$PMOB,93FA32,1,01,DC,000000'
        nmea '$PMOB,93FA33,1,01,E6,000000'
        nmea '$PMOB,93FA34,1,01,D2,5A0001'
    done
    if [[ $1 == sos ]]; then
        nmea '$PMOB,93FA30,1,02,E6,5A0001'
        # The ship runs on to the north-east while the pendant calls.
        for i in 1 2 3 4 5 6; do
            nmea "\$GPRMC,1016${i}0.00,A,6024.$((100 + i * 20)),N,00518.$((100 + i * 40)),E,6.0,045.0,101226,,,A"
            nmea '$PMOB,5A0001,2,01,E6,000000'
            nmea '$PMOB,93FA2F,1,01,D2,000000'
            nmea '$PMOB,93FA30,1,02,E6,5A0001'
            nmea '$PMOB,93FA31,1,01,C0,5A0001'
            nmea '$PMOB,93FA32,1,01,DC,000000'
            nmea '$PMOB,93FA33,1,01,E6,000000'
            nmea '$PMOB,93FA34,1,01,D2,5A0001'
        done
    fi
}

crew_file() {
    cat <<'CSV'
090:000:001,02,Aft Deck Rptr,-1, ,{}
147:250:047,01,Ingrid Solberg,0, ,{Watch leader}
147:250:048,01,Chen Wei 陈伟,1, ,{Deckhand, works on the crane}
147:250:049,01,Ola Nordmann,-1, ,{Insulin in cabin 12}
147:250:050,01,Maria Santos,-1, ,{}
147:250:051,01,Åsa Lindström,-1, ,{Cook}
147:250:052,01,Tomas Berg,-1, ,{Needs glasses}
CSV
}

# A screen large enough for the crew list's columns, and a main window to fill it.
cat >"$work/screen.json" <<'JSON'
{ "screens": [ { "name": "crew-1600x1000", "x": 0, "y": 0, "width": 1600, "height": 1000,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] }
JSON

shot() {
    local language=$1 tag=$2 scene=$3 wait=$4
    rm -rf "$work/data"
    mkdir -p "$work/data"
    crew_file >"$work/data/MOB.csv"
    printf '[MAIN_WINDOW]\nLeft=0\nTop=0\nWidth=1560\nHeight=900\n' >"$work/data/NorqAisViewer.ini"
    scene "$scene" >"$work/scene.nmea"
    QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" "$viewer" --crew-watch --language "$language" \
        --data-dir "$work/data" --replay "$work/scene.nmea" --play-log 2 \
        --quit-after "$wait" --screenshot-chart "$work/$tag-chart.png" --chart-scale 10 \
        --screenshot-crew "$work/$tag" >/dev/null 2>&1
    for png in "$work/$tag"-*.png; do
        convert "$png" -strip "$out/$(basename "$png")"
    done
}
shot 0 en-normal normal 6
shot 0 en-sos sos 10
shot 2 zh-cn-normal normal 6
shot 2 zh-cn-sos sos 10
ls -l "$out"
