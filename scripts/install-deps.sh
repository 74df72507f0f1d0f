#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
# Usage: scripts/install-deps.sh [build] [gui] [test] [fuzz] [chartdata] [docs] [package]
# Quiet and quick when everything is already present; safe to rerun.
set -euo pipefail

declare -A groups=(
    [build]="cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang-format"
    [gui]="qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev qt6-serialport-dev qt6-translations-l10n libgl1-mesa-dev fonts-dejavu-core fonts-wqy-microhei"
    [test]="gpsd-clients socat xvfb imagemagick libgeos-dev xdotool pulseaudio pulseaudio-utils"
    [fuzz]="clang libclang-rt-14-dev"
    [chartdata]="gmt gmt-gshhg-full gmt-gshhg-high libgeos-dev nodejs opencc libgeonames-common"
    [docs]="pandoc weasyprint"
    [package]="dpkg-dev fakeroot file librsvg2-bin desktop-file-utils appstream man-db lintian"
)

want=()
for g in "${@:-build gui}"; do
    for word in $g; do
        [[ -n "${groups[$word]:-}" ]] || { echo "unknown package group: $word" >&2; exit 2; }
        want+=(${groups[$word]})
    done
done

missing=()
for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[[ $(id -u) -eq 0 ]] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
