#!/bin/sh
# The package on a booted Debian 12 with systemd, as on a vehicle: a minimal
# bookworm root laid with debootstrap (cached under the build tree, so only
# a fresh machine downloads it), the built package installed with apt, the
# stand-in service, supervisor, back office, pppd, FTP client and LT client
# added for the test only, then the image booted with systemd-nspawn. A
# oneshot unit inside (boot/check.sh) runs the checks and powers it off;
# its report comes out through a bound folder; what the run changed stays
# in build/boot-cache/layer/upper until the next run.
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
for PROGRAM in tankora-service tankora-ctl; do
    [ -x "$BUILD/sim/$PROGRAM" ] || die "no $BUILD/sim/$PROGRAM: build it first"
done

CACHE=$BUILD/boot-cache
BASE=$CACHE/bookworm
IMAGE=$CACHE/image
RESULTS=$CACHE/results
START=$(date +%s)
nspawn() { systemd-nspawn -q --register=no --keep-unit "$@"; }

# The base: what a vehicle's Debian has, plus what the stand-ins need.
if [ ! -e "$BASE/.complete" ]; then
    echo "laying a bookworm root in $BASE (once)"
    rm -rf "$BASE"
    mkdir -p "$CACHE"
    debootstrap --variant=minbase --include=systemd,systemd-sysv,dbus bookworm "$BASE" \
        "${FTPDATA_MIRROR:-http://deb.debian.org/debian}" > "$CACHE/debootstrap.log" 2>&1 ||
        { tail -n 20 "$CACHE/debootstrap.log"; die "debootstrap failed"; }
    nspawn -D "$BASE" sh -c 'apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
        --no-install-recommends libqt6dbus6 libqt6sql6-sqlite python3-pyftpdlib curl' > "$CACHE/base.log" 2>&1 ||
        { tail -n 20 "$CACHE/base.log"; die "the stand-ins' packages did not install"; }
    touch "$BASE/.complete"
    echo "base laid in $(($(date +%s) - START)) s"
fi

# Every run boots a fresh overlay of the base: its changes go to a layer
# of their own, so the base stays as laid and nothing is copied.
LAYER=$CACHE/layer
mountpoint -q "$IMAGE" 2>/dev/null && umount "$IMAGE"
rm -rf "$LAYER" "$RESULTS"
mkdir -p "$LAYER/upper" "$LAYER/work" "$IMAGE" "$RESULTS"
mount -t overlay overlay -o "lowerdir=$BASE,upperdir=$LAYER/upper,workdir=$LAYER/work" "$IMAGE"
trap 'umount "$IMAGE" 2>/dev/null || true' EXIT
TEST=$IMAGE/usr/local/lib/boot-test
mkdir -p "$TEST" "$IMAGE/usr/bin/Tankora" "$IMAGE/etc/systemd/system/multi-user.target.wants" \
    "$IMAGE/etc/systemd/system/ftp_data.service.d"
cp "$BUILD/sim/tankora-service" "$SRC/sim/profiles/truck.json" "$HERE/check.sh" "$TEST/"
cp "$BUILD/sim/tankora-ctl" "$IMAGE/usr/bin/"
cp "$SRC/sim/standins/pppd" "$IMAGE/usr/sbin/pppd"
for PROGRAM in start_ftp_client FTP_Client lt_client; do
    cp "$SRC/sim/standins/$PROGRAM" "$IMAGE/usr/bin/Tankora/"
done
cp "$HERE/standin-bus.conf" "$IMAGE/etc/dbus-1/system.d/"
cp "$HERE/ftp_data-test.conf" "$IMAGE/etc/systemd/system/ftp_data.service.d/"
for UNIT in tankora-service backoffice boot-test; do
    cp "$HERE/$UNIT.service" "$IMAGE/etc/systemd/system/"
    ln -s "../$UNIT.service" "$IMAGE/etc/systemd/system/multi-user.target.wants/$UNIT.service"
done
# debootstrap writes no hosts file; a vehicle's image has one.
[ -s "$IMAGE/etc/hosts" ] || printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost\n' > "$IMAGE/etc/hosts"
# Only the console of the container, no login prompt in the way.
ln -sf /dev/null "$IMAGE/etc/systemd/system/console-getty.service"

# The package as apt installs it on a vehicle, and the same build with a
# higher version for the upgrade.
cp "$DEB" "$TEST/ftp-data.deb"
VERSION=$(dpkg-deb -f "$DEB" Version)
REPACK=$CACHE/repack
rm -rf "$REPACK"
dpkg-deb -R "$DEB" "$REPACK"
sed -i "s/^Version: .*/Version: $VERSION+boot1/" "$REPACK/DEBIAN/control"
dpkg-deb -b "$REPACK" "$TEST/ftp-data-upgrade.deb" >/dev/null
rm -rf "$REPACK"
nspawn -D "$IMAGE" sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -q /usr/local/lib/boot-test/ftp-data.deb' \
    > "$RESULTS/install.log" 2>&1 || { cat "$RESULTS/install.log"; die "the package did not install"; }
echo "image ready after $(($(date +%s) - START)) s; booting"

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
