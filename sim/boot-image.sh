#!/bin/sh
# A vehicle's Debian 12 with the stand-in vehicle, ready to boot: a minimal
# bookworm root laid with debootstrap (cached under the build tree, so only
# a fresh machine downloads it), a fresh overlay of it mounted on
# BUILD_DIR/boot-cache/image (its changes go to boot-cache/layer/upper),
# the stand-in service, supervisor, back office, pppd, FTP client and LT
# client added, and the package DEB installed with apt as on a vehicle.
# The overlay stays mounted for the caller, who unmounts it.
#
# Usage: boot-image.sh BUILD_DIR SOURCE_DIR DEB
# Needs root, debootstrap and systemd-nspawn. FTPDATA_MIRROR overrides the
# Debian mirror.
set -eu
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
DEB=$3
HERE=$SRC/sim/boot
die() { echo "$*"; exit 1; }
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
STANDINS=$IMAGE/usr/local/lib/boot-test
mkdir -p "$STANDINS" "$IMAGE/usr/bin/Tankora" "$IMAGE/etc/systemd/system/multi-user.target.wants"
cp "$BUILD/sim/tankora-service" "$SRC/sim/profiles/truck.json" "$STANDINS/"
cp "$BUILD/sim/tankora-ctl" "$IMAGE/usr/bin/"
cp "$SRC/sim/standins/pppd" "$IMAGE/usr/sbin/pppd"
for PROGRAM in start_ftp_client FTP_Client lt_client; do
    cp "$SRC/sim/standins/$PROGRAM" "$IMAGE/usr/bin/Tankora/"
done
cp "$HERE/standin-bus.conf" "$IMAGE/etc/dbus-1/system.d/"
for UNIT in tankora-service backoffice; do
    cp "$HERE/$UNIT.service" "$IMAGE/etc/systemd/system/"
    ln -s "../$UNIT.service" "$IMAGE/etc/systemd/system/multi-user.target.wants/$UNIT.service"
done
# debootstrap writes no hosts file; a vehicle's image has one.
[ -s "$IMAGE/etc/hosts" ] || printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost\n' > "$IMAGE/etc/hosts"
# Only the console of the container, no login prompt in the way.
ln -sf /dev/null "$IMAGE/etc/systemd/system/console-getty.service"

# The package as apt installs it on a vehicle.
cp "$DEB" "$STANDINS/ftp-data.deb"
nspawn -D "$IMAGE" sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -q /usr/local/lib/boot-test/ftp-data.deb' \
    > "$RESULTS/install.log" 2>&1 || { cat "$RESULTS/install.log"; die "the package did not install"; }
echo "image ready after $(($(date +%s) - START)) s"
