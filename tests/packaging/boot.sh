#!/bin/sh
# The package on a booted Debian 12 with systemd, as on a vehicle: the
# stand-in vehicle lays the image with the package installed
# (sim/boot-image.sh), the test adds its checks and a drop-in for the
# daemon, then boots the image with systemd-nspawn. A oneshot unit inside
# (boot/check.sh) runs the checks and powers it off; its report comes out
# through a bound folder.
#
# Usage: boot.sh BUILD_DIR SOURCE_DIR DEB_DIR
# Needs root, debootstrap and systemd-nspawn (scripts/setup --boot); without
# them or without a package it is skipped (exit 77), unless
# FTPDATA_REQUIRE_DEB is set. FTPDATA_MIRROR overrides the Debian mirror.
set -eu
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
DEBS=$3
HERE=$SRC/tests/packaging/boot
die() { echo "$*"; exit 1; }
skip() {
    [ -z "${FTPDATA_REQUIRE_DEB:-}" ] || die "$*"
    echo "$*; skipped"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "not root"
command -v debootstrap >/dev/null && command -v systemd-nspawn >/dev/null ||
    skip "no debootstrap or systemd-nspawn (scripts/setup --boot)"
DEB=$(ls -t "$DEBS"/ftp-data_*_"$(dpkg --print-architecture)".deb 2>/dev/null | head -n 1) || true
[ -n "$DEB" ] || skip "no package in $DEBS (scripts/package builds it)"
CACHE=$BUILD/boot-cache
IMAGE=$CACHE/image
RESULTS=$CACHE/results
START=$(date +%s)
trap 'umount "$IMAGE" 2>/dev/null || true' EXIT
"$SRC/sim/boot-image.sh" "$BUILD" "$SRC" "$DEB"
TEST=$IMAGE/usr/local/lib/boot-test
mkdir -p "$IMAGE/etc/systemd/system/ftp_data.service.d"
cp "$HERE/check.sh" "$TEST/"
cp "$HERE/ftp_data-test.conf" "$IMAGE/etc/systemd/system/ftp_data.service.d/"
cp "$HERE/boot-test.service" "$IMAGE/etc/systemd/system/"
ln -s ../boot-test.service "$IMAGE/etc/systemd/system/multi-user.target.wants/boot-test.service"

# The same build with a higher version for the upgrade.
VERSION=$(dpkg-deb -f "$DEB" Version)
REPACK=$CACHE/repack
rm -rf "$REPACK"
dpkg-deb -R "$DEB" "$REPACK"
sed -i "s/^Version: .*/Version: $VERSION+boot1/" "$REPACK/DEBIAN/control"
dpkg-deb -b "$REPACK" "$TEST/ftp-data-upgrade.deb" >/dev/null
rm -rf "$REPACK"
echo "booting"

# No network but loopback: the back office and the bus live inside.
timeout 900 systemd-nspawn -q --register=no --keep-unit -D "$IMAGE" -b --private-network \
    --bind="$RESULTS:/boot-results" > "$RESULTS/console.log" 2>&1 || true
echo "booted, checked and powered off after $(($(date +%s) - START)) s"

cat "$RESULTS/report" 2>/dev/null || true
if ! grep -qx done "$RESULTS/report" 2>/dev/null || grep -q '^FAILED' "$RESULTS/report"; then
    echo "--- console"
    tail -n 40 "$RESULTS/console.log"
    echo "--- journal of the units involved"
    cat "$RESULTS/journal" 2>/dev/null || true
    echo "--- daemon log"
    tail -n 60 "$RESULTS/ftp_d.log" 2>/dev/null || true
    exit 1
fi
echo "boot ok"
