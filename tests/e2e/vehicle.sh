#!/bin/sh
# The whole vehicle on one machine: stand-in database service, dial-up, FTP
# client and back office, and the real daemon sped up by FTP_DATA_TIME_SCALE.
# A truck seal break set through the service must reach the back office as
# an event file by itself, and the operator's GPS file request as a GPS file.
#
# Usage: vehicle.sh BUILD_DIR SOURCE_DIR [TIME_SCALE]   (run inside dbus-run-session)
set -eu
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
SCALE=${3:-50}
ROOT=$(mktemp -d /tmp/ftp_data-vehicle.XXXXXX)
OFFICE="$ROOT/backoffice"
mkdir -p "$OFFICE"
CTL="$BUILD/sim/tankora-ctl"
PIDS=""
cleanup() {
    for PID in $PIDS; do kill "$PID" 2>/dev/null || true; done
    # The daemon leaves the LT client and the dial-up running, as on a
    # vehicle; here they belong to this run and go with it.
    pkill -f "$ROOT/" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
say() { echo "[$(date +%T)] $*"; }
fail() { say "FAILED: $*"; echo "--- daemon log"; tail -n 60 "$ROOT/var/log/Tankora/ftp_d.log" 2>/dev/null || true; exit 1; }

"$SRC/sim/install-sandbox.sh" "$ROOT" "$BUILD" >/dev/null
printf '[DEBUG_MESSAGES]\nDisplay_Message=0\nDisplay_Level=0\nLog_Level=0\n' > "$ROOT/etc/Tankora/ftp_d.ini"

PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p "$PORT" -u truck -P tanker -d "$OFFICE" -w >"$ROOT/ftpd.log" 2>&1 &
FTPD=$!
PIDS="$PIDS $FTPD"

"$BUILD/sim/tankora-service" --profile "$SRC/sim/profiles/truck.json" >"$ROOT/service.log" 2>&1 &
PIDS="$PIDS $!"
"$CTL" wait-for CRunGsm 9 4 --timeout 20000 >/dev/null || fail "service did not come up"
"$CTL" set CSetGsmGprsFtpData 1 "127.0.0.1:$PORT" >/dev/null
say "back office on port $PORT, service up"

# A mailbox file another process left for the back office.
echo "delivery note 0001" > "$ROOT/var/log/log_tx/mail_0001.txt"

FTP_DATA_ROOT="$ROOT" FTP_DATA_DNS_HOST=localhost FTP_DATA_TIME_SCALE="$SCALE" "$BUILD/ftp_data" &
DAEMON=$!
PIDS="$DAEMON $PIDS"

wait_for_log() { # TEXT SECONDS
    i=0
    while ! grep -qF "$1" "$ROOT/var/log/Tankora/ftp_d.log" 2>/dev/null; do
        i=$((i + 1)); [ "$i" -le $(($2 * 10)) ] || return 1; sleep 0.1
    done
}
wait_for_office() { # PATTERN SECONDS
    i=0
    while ! ls "$OFFICE" | grep -q "$1"; do
        i=$((i + 1)); [ "$i" -le $(($2 * 10)) ] || return 1; sleep 0.1
    done
}

wait_for_log "FTL triggers connected" 30 || fail "no process start"
say "daemon started by the supervisor"

"$CTL" set CRunTruck 1 3 >/dev/null
wait_for_log "seal breaks unexpected" 30 || fail "seal break not seen by the monitor"
say "monitor saw the seal break"
wait_for_office '^EVEl.*\.ftl$' 120 || fail "no event file at the back office"
say "event file arrived: $(ls "$OFFICE" | grep '^EVE' | head -n 1)"

"$CTL" trigger gps >/dev/null
wait_for_office '^GPS_.*\.ftl$' 120 || fail "no GPS file at the back office"
say "GPS file arrived: $(ls "$OFFICE" | grep '^GPS_' | head -n 1)"

wait_for_office '^mail_0001.txt$' 60 || fail "mailbox file did not arrive"
say "mailbox file arrived"
wait_for_log "seconds (CSetGsmGprs.IdleTime)" 120 || fail "link not taken down after the idle time"
[ "$(grep -c "start the 'pppd' process" "$ROOT/var/log/Tankora/ftp_d.log")" = 1 ] || fail "link brought up more than once"
say "link taken down after the idle time, one session for all files"

# The back office goes away: failed transfers pile up until the module is reset.
kill "$FTPD"
echo "delivery note 0002" > "$ROOT/var/log/log_tx/mail_0002.txt"
wait_for_log "Reset GPRS module" 180 || fail "no module reset with the back office down"
say "back office down: transfers failed, GSM module reset requested"

EVE=$(ls "$OFFICE" | grep '^EVEl' | head -n 1)
head -n 1 "$OFFICE/$EVE" | grep -q '^0,[0-9]\{14\},1.00' || fail "event file does not start with the FTL header"
if ls "$ROOT/var/log/FTL" | grep -q '^EVEl'; then fail "sent event file left in the outgoing directory"; fi

kill -TERM "$DAEMON"
wait "$DAEMON" || fail "daemon did not end with code 0"
PIDS=$(echo "$PIDS" | sed "s/\b$DAEMON\b//")
LOGFILE="$ROOT/var/log/Tankora/ftp_d.log"
if [ -n "${VEHICLE_STORY:-}" ]; then
    echo "--- the daemon's day, state by state"
    grep -E 'Statechange|Start transfer|finished|failed|seal breaks|Create auto' "$LOGFILE" \
        | sed -E 's/^NOID\([0-9]+\):[0-9-]+_([0-9:]+):[0-9]+ [DW] File: [A-Za-z]+ Line: *[0-9]+ *: */\1  /'
fi
count() { grep -c "$1" "$LOGFILE" || true; }
echo "--- summary"
printf '%-28s %s\n' "files built" "$(count 'Start creation of new file')" \
    "files sent" "$(ls "$OFFICE" | wc -l)" \
    "bytes at the back office" "$(cat "$OFFICE"/* | wc -c)" \
    "link sessions" "$(count "start the 'pppd' process")" \
    "failed transfers" "$(count 'Transfer failed')"
say "back office holds:"
ls -l "$OFFICE"
say "vehicle run passed"
