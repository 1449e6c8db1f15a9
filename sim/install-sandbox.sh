#!/bin/sh
# Lays out a sandbox root for the daemon ($FTP_DATA_ROOT) with the stand-in
# system programs of the vehicle, linked to this checkout and build.
# Usage: install-sandbox.sh ROOT [BUILD_DIR]
set -e
if [ -z "$1" ]; then
    echo "usage: $0 ROOT [BUILD_DIR]" >&2
    exit 1
fi
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(mkdir -p "$1" && cd "$1" && pwd)
BUILD=${2:-$HERE/../build}
CTL=${TANKORA_CTL:-$BUILD/sim/tankora-ctl}
if [ ! -x "$CTL" ]; then
    echo "$0: tankora-ctl not found at $CTL (give BUILD_DIR or set TANKORA_CTL)" >&2
    exit 1
fi
CTL=$(cd "$(dirname "$CTL")" && pwd)/$(basename "$CTL")

mkdir -p "$ROOT/usr/sbin" "$ROOT/usr/bin/Tankora" "$ROOT/etc/Tankora" "$ROOT/var/log/FTL" \
    "$ROOT/var/log/Tankora" "$ROOT/var/log/log_tx" "$ROOT/var/lib/Tankora" "$ROOT/tmp"
ln -sf "$CTL" "$ROOT/usr/bin/tankora-ctl"
ln -sf "$HERE/standins/pppd" "$ROOT/usr/sbin/pppd"
# First on the daemon's PATH: its "killall pppd" ends only this root's pppd.
ln -sf "$HERE/standins/killall" "$ROOT/usr/bin/killall"
for PROGRAM in start_ftp_client FTP_Client lt_client; do
    ln -sf "$HERE/standins/$PROGRAM" "$ROOT/usr/bin/Tankora/$PROGRAM"
done
echo "sandbox ready in $ROOT"
