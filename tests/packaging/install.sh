#!/bin/sh
# What reaches a vehicle, checked against the table "What is installed" of
# README.md: exactly the files and folders the table marks for the way of
# installing, a unit that starts the installed daemon and that systemd
# accepts, and for the package computed library dependencies and a daemon
# that completes the start-up handshake with the stand-in vehicle.
#
# Usage: install.sh cmake BUILD_DIR SOURCE_DIR
#        install.sh deb BUILD_DIR SOURCE_DIR DEB_DIR VERSION   (inside dbus-run-session)
# Without a package in DEB_DIR the deb check is skipped (exit 77), unless
# FTPDATA_REQUIRE_DEB is set.
set -eu
MODE=$1
BUILD=$(cd "$2" && pwd)
SRC=$(cd "$3" && pwd)
SCRATCH=$(mktemp -d /tmp/ftp_data-install.XXXXXX)
trap 'rm -rf "$SCRATCH"' EXIT
INSTALLED=$SCRATCH/root
die() { echo "$*"; exit 1; }

# The table's rows: path, what, then one column per way of installing.
expected() { # COLUMN
    awk -F'|' -v col="$1" '
        /^### What is installed/ { on = 1; next }
        /^#/ { on = 0 }
        on && $2 ~ /^ *`\// && $col ~ /[^ ]/ { p = $2; gsub(/[ `]/, "", p); print p }' "$SRC/README.md" | sort
}
# Files, and folders that hold nothing (with a trailing /).
found() {
    (cd "$INSTALLED" && { find . -type f -printf '/%P\n'; find . -mindepth 1 -type d -empty -printf '/%P/\n'; }) | sort
}

case "$MODE" in
    cmake)
        COLUMN=4
        cmake --install "$BUILD" --prefix "$INSTALLED/usr" >/dev/null
        UNIT=$INSTALLED/usr/lib/systemd/system/ftp_data.service
        ;;
    deb)
        COLUMN=5
        DEB=$(ls -t "$4"/ftp-data_*_"$(dpkg --print-architecture)".deb 2>/dev/null | head -n 1) || true
        if [ -z "$DEB" ]; then
            [ -z "${FTPDATA_REQUIRE_DEB:-}" ] || die "no package in $4 (scripts/package builds it)"
            echo "no package in $4: run scripts/package first; skipped"
            exit 77
        fi
        echo "checking $DEB"
        [ "$(dpkg-deb -f "$DEB" Version)" = "$5" ] || die "package version $(dpkg-deb -f "$DEB" Version), daemon $5"
        DEPENDS=$(dpkg-deb -f "$DEB" Depends)
        for LIB in libqt6core6 libqt6dbus6 libc6; do
            echo "$DEPENDS" | grep -q "$LIB" || die "Depends lacks $LIB: $DEPENDS"
        done
        dpkg -x "$DEB" "$INSTALLED"
        UNIT=$INSTALLED/lib/systemd/system/ftp_data.service
        ;;
    *) die "usage: $0 cmake|deb BUILD_DIR SOURCE_DIR [DEB_DIR VERSION]" ;;
esac

expected $COLUMN > "$SCRATCH/README.md-table"
[ -s "$SCRATCH/README.md-table" ] || die "no table \"What is installed\" in README.md"
found > "$SCRATCH/installed"
(cd "$SCRATCH" && diff -u README.md-table installed) || die "installed files differ from README.md"

DAEMON=$INSTALLED/usr/bin/Tankora/ftp_data
[ -x "$DAEMON" ] || die "daemon not executable"
grep -q '^ExecStart=/usr/bin/Tankora/ftp_data$' "$UNIT" || die "unit does not start the installed daemon"
if command -v systemd-analyze >/dev/null 2>&1; then
    # verify resolves ExecStart on this machine; point it at the installed copy
    sed "s|^ExecStart=.*|ExecStart=$DAEMON|" "$UNIT" > "$SCRATCH/ftp_data.service"
    systemd-analyze verify "$SCRATCH/ftp_data.service"
fi

if [ "$MODE" = deb ]; then
    # The packaged daemon in a sandbox root with the stand-in vehicle: the
    # supervisor starts it and it connects its triggers.
    SCALE=50
    DAEMON_BIN=$DAEMON
    . "$SRC/sim/vehicle-sandbox.sh"
    trap 'cleanup; rm -rf "$SCRATCH"' EXIT
    start_service "$SRC/sim/profiles/truck.json"
    start_daemon
    wait_for_log "FTL triggers connected" 30 || fail "no start-up handshake"
    stop_daemon
fi
echo "install ok"
