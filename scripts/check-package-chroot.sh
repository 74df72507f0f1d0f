#!/usr/bin/env bash
# Installs a built package on a clean Debian 12 (a minimal debootstrap chroot) with
# apt and only the package's own Depends (no Recommends), then starts the installed
# viewer there: --check-data must find every delivered file in
# /usr/share/norq-ais-viewer/, and the viewer must replay the installed demo feed
# offscreen and close. Needs root and network access to the Debian mirror.
# Usage: scripts/check-package-chroot.sh PACKAGE.deb [CHROOT]
#   CHROOT (default build-chroot/) is made with debootstrap when it does not exist;
#   it is reused as it is otherwise (remove it for a clean start).
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$(realpath "$1")
chroot_dir=${2:-build-chroot}
fail() { echo "check-package-chroot: $*" >&2; exit 1; }
[[ $(id -u) -eq 0 ]] || fail "needs root (debootstrap, chroot)"

if [[ ! -x "$chroot_dir/usr/bin/apt-get" ]]; then
    command -v debootstrap >/dev/null ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
    echo "== debootstrap a minimal Debian 12 into $chroot_dir"
    debootstrap --variant=minbase bookworm "$chroot_dir" http://deb.debian.org/debian >/dev/null
fi
chroot_dir=$(realpath "$chroot_dir")

mount -t proc proc "$chroot_dir/proc"
trap 'umount "$chroot_dir/proc"' EXIT
in_chroot() { chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

echo "== apt install of the package, its Depends only"
cp "$deb" "$chroot_dir/tmp/"
name=$(basename "$deb")
in_chroot apt-get update -qq
# A package left from an earlier check goes first, so that the files checked are this one's.
in_chroot dpkg --purge norq-ais-viewer >/dev/null
in_chroot env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "/tmp/$name" >/dev/null
in_chroot dpkg -s norq-ais-viewer | grep -E "^(Status|Version):"

echo "== the installed viewer finds every delivered file"
in_chroot norq-ais-viewer --check-data | tee "$chroot_dir/tmp/check-data.txt"
grep -qx "program folder: /usr/share/norq-ais-viewer/" "$chroot_dir/tmp/check-data.txt" ||
    fail "the viewer does not read /usr/share/norq-ais-viewer/"
grep -q "^missing" "$chroot_dir/tmp/check-data.txt" && fail "the package lacks delivered files"

echo "== the installed viewer replays the demo feed offscreen"
rm -rf "$chroot_dir/tmp/data" "$chroot_dir/tmp/viewer.png"
in_chroot env QT_QPA_PLATFORM=offscreen timeout 60 norq-ais-viewer --data-dir /tmp/data \
    --replay /usr/share/norq-ais-viewer/Demo/demo.nmea --play-log 50 --page list \
    --quit-after 8 --screenshot /tmp/viewer.png >"$chroot_dir/tmp/viewer.log" 2>&1 ||
    { cat "$chroot_dir/tmp/viewer.log" >&2; fail "the viewer did not start and close"; }
[[ -s "$chroot_dir/tmp/viewer.png" ]] || fail "no screenshot"
[[ -s "$chroot_dir/tmp/data/NorqAisViewer.ini" ]] || fail "no settings file written"
decoded=$(in_chroot norq-ais decode /usr/share/norq-ais-viewer/Demo/demo.nmea | wc -l)
[[ $decoded -gt 1000 ]] || fail "norq-ais decoded only $decoded messages"
echo "norq-ais decoded $decoded messages; screenshot: $chroot_dir/tmp/viewer.png"
echo "The package installs and runs on a clean Debian 12."
