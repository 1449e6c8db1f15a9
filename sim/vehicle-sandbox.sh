# Shared by the whole-vehicle runs: a sandbox root with the stand-in
# programs, a local back office, the stand-in service and the daemon.
# Sourced with BUILD, SRC and SCALE set (DAEMON_BIN: another daemon than
# the build's); the caller runs inside dbus-run-session.
ROOT=$(mktemp -d /tmp/ftp_data-vehicle.XXXXXX)
OFFICE="$ROOT/backoffice"
LOGFILE="$ROOT/var/log/Tankora/ftp_d.log"
CTL="$BUILD/sim/tankora-ctl"
PIDS=""
DAEMON=""
mkdir -p "$OFFICE"

cleanup() {
    for PID in $PIDS; do kill "$PID" 2>/dev/null || true; done
    # The daemon leaves the LT client and the dial-up running, as on a
    # vehicle; here they belong to this run and go with it.
    pkill -KILL -f "$ROOT/" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -n "${KEEP_ROOT:-}" ] || rm -rf "$ROOT"
}
trap cleanup EXIT
say() { echo "[$(date +%T)] == $*"; }
fail() { say "FAILED: $*"; echo "--- daemon log"; tail -n 60 "$LOGFILE" 2>/dev/null || true; exit 1; }
count() { N=$(grep -cF "$1" "$LOGFILE" 2>/dev/null) || true; echo "${N:-0}"; }
wait_until() { # SECONDS COMMAND...: false when the command is not true within them
    LIMIT=$(($1 * 10)); shift
    i=0
    until "$@"; do
        i=$((i + 1)); [ "$i" -le "$LIMIT" ] || return 1; sleep 0.1
    done
}
logged_times() { [ "$(count "$1")" -ge "$2" ]; }
at_office() { [ "$(ls "$OFFICE" | grep -c "$1")" -ge "$2" ]; }
wait_for_log() { wait_until "$2" logged_times "$1" "${3:-1}"; } # TEXT SECONDS [COUNT]
wait_for_office() { wait_until "$2" at_office "$1" 1; } # PATTERN SECONDS
wait_for_office_count() { wait_until "$3" at_office "$1" "$2"; } # PATTERN COUNT SECONDS

"$SRC/sim/install-sandbox.sh" "$ROOT" "$BUILD" >/dev/null
printf '[DEBUG_MESSAGES]\nDisplay_Message=0\nDisplay_Level=0\nLog_Level=0\n' > "$ROOT/etc/Tankora/ftp_d.ini"
PORT=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

start_office() {
    /usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p "$PORT" -u truck -P tanker -d "$OFFICE" -w >>"$ROOT/ftpd.log" 2>&1 &
    FTPD=$!
    PIDS="$PIDS $FTPD"
}

start_service() { # PROFILE [SERVICE OPTIONS]
    PROFILE=$1; shift
    "$BUILD/sim/tankora-service" --profile "$PROFILE" "$@" >>"$ROOT/service.log" 2>&1 &
    SERVICE=$!
    PIDS="$PIDS $SERVICE"
    "$CTL" wait-for CRunGsm 9 4 --timeout 20000 >/dev/null || fail "service did not come up"
    "$CTL" set CSetGsmGprsFtpData 1 "127.0.0.1:$PORT" >/dev/null
    "$CTL" set CSetGsmGprsFtpUpdate 1 "127.0.0.1:$PORT" >/dev/null
}

start_daemon() {
    PATH="$ROOT/usr/bin:$PATH" FTP_DATA_ROOT="$ROOT" FTP_DATA_DNS_HOST=localhost FTP_DATA_TIME_SCALE="$SCALE" "${DAEMON_BIN:-$BUILD/ftp_data}" &
    DAEMON=$!
    PIDS="$DAEMON $PIDS"
}

stop_daemon() {
    kill -TERM "$DAEMON"
    wait "$DAEMON" || fail "daemon did not end with code 0"
    grep -q "^killall pppd: " "$ROOT/var/log/killall.calls" 2>/dev/null ||
        fail "the daemon's killall pppd did not go through the sandbox's own killall"
    PIDS=$(echo "$PIDS" | sed "s/\b$DAEMON\b//")
}
