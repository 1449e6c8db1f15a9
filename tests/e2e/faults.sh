#!/bin/sh
# The vehicle when things go wrong: the daemon must keep running, lose no
# record and send what waits once the fault is gone.
#
# Usage: faults.sh BUILD_DIR SOURCE_DIR SCENARIO [TIME_SCALE]   (inside dbus-run-session)
# Scenarios: sigkill-run, logbook-error, hostile-texts, session-bus-late,
# tcp-bus-late. The faults
# a day of the soak meets anyway (pppd killed, the FTP client hanging, the
# service restarted) are left to e2e_soak.
set -eu
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
SCENARIO=$3
SCALE=${4:-50}
. "$SRC/sim/vehicle-sandbox.sh"
MAILBOX="$ROOT/var/log/log_tx"

alive() { kill -0 "$DAEMON" 2>/dev/null || fail "daemon is gone"; }
# A profile with the truck's setups and no logbook rows, or with N COP rows.
profile() { /usr/bin/python3 "$SRC/sim/profiles/backlog.py" "$SRC/sim/profiles/truck.json" "$@"; } # FILE [ROWS [PERIOD_AT LEVEL_AT]]

# The stored progress of the automatic event file, at least $1 within 120 s.
progress_at() { [ "$("$CTL" get CSetGsm 3)" -ge "$1" ]; }
wait_for_progress() { wait_until 120 progress_at "$1" || fail "event-file run did not reach row $1"; }
no_event_file() { ! ls "$ROOT/var/log/FTL" | grep -q '^EVE'; }
# Every one of ROWS rows at the back office, ALLOWED of them twice.
check_rows_arrived() { # ROWS ALLOWED
    wait_for_log "Finish GetAutoLogbookData()" 60 || fail "run did not finish"
    wait_until 120 no_event_file || fail "event files not sent"
    cat "$OFFICE"/EVE* | grep -E '^(42|11),' | cut -d, -f2 | sort > "$ROOT/stamps"
    UNIQUE=$(uniq "$ROOT/stamps" | wc -l)
    TOTAL=$(wc -l < "$ROOT/stamps")
    say "$TOTAL lines for $UNIQUE rows at the back office"
    [ "$UNIQUE" = "$1" ] || fail "rows lost: $UNIQUE of $1 arrived"
    [ $((TOTAL - UNIQUE)) -le "$2" ] || fail "$((TOTAL - UNIQUE)) rows sent twice"
}

# The daemon started on a vehicle with ROWS rows waiting for the event file.
ROWS=1500
start_backlog() {
    profile "$ROOT/backlog.json" "$ROWS"
    start_service "$ROOT/backlog.json"
    start_daemon
    wait_for_log "FTL triggers connected" 30 || fail "no process start"
}

start_office
profile "$ROOT/quiet.json"

case "$SCENARIO" in
sigkill-run)
    # Killed outright in the middle of a long event-file run and started
    # again: every row reaches the back office, at most one of them twice.
    start_backlog
    "$CTL" trigger auto-event >/dev/null
    wait_for_progress 300
    kill -KILL "$DAEMON"
    wait "$DAEMON" 2>/dev/null || true
    PIDS=$(echo "$PIDS" | sed "s/\b$DAEMON\b//")
    say "daemon killed at row $("$CTL" get CSetGsm 3) of $ROWS"
    start_daemon
    wait_for_log "FTL triggers connected" 30 2 || fail "no process start after the kill"
    "$CTL" trigger auto-event >/dev/null
    wait_for_progress $((ROWS + 1))
    check_rows_arrived "$ROWS" 1
    ;;
logbook-error)
    # getLogbook answered with an error on chosen rows of 60: row 21, inside
    # the SPD period row 20 opened, and the level-volume row 40. Each run
    # stops at its failed row, closes its open period in its own file, and
    # the next run begins with that row: the stored progress stands there,
    # every row arrives exactly once, every period is opened and closed in
    # one file, and the level file holds the level-volume row once. The
    # first run is the FTL time trigger's, raised once the monitor has
    # started; then the truck's seal breaks, then compartment 1's.
    ROWS=60
    profile "$ROOT/backlog.json" "$ROWS" 20 40
    start_service "$ROOT/backlog.json"
    "$CTL" set CRunCompNonWM 3 1 --index 0 >/dev/null
    "$CTL" fault getLogbook error --skip 20 >/dev/null
    start_daemon
    wait_for_log 'Create auto. event file, reason: "FTL time trigger"' 30 || fail "first run not raised by the time trigger"
    say "first run raised by the FTL time trigger"
    stopped_at() { # ROW RUN
        wait_for_log "Finish GetAutoLogbookData()" 30 "$2" || fail "run $2 did not stop at the error reply"
        [ "$("$CTL" get CSetGsm 3)" = "$1" ] || fail "run $2 stored progress $("$CTL" get CSetGsm 3), not its failed row $1"
        say "run $2 stopped at row $1"
        sleep 1 # the next run's files get a second of their own
    }
    stopped_at 21 1
    "$CTL" fault getLogbook error --skip 19 >/dev/null
    "$CTL" set CRunTruck 1 3 >/dev/null
    wait_for_log 'reason: "SPD truck seal breaks unexpected"' 30 || fail "second run not raised by the seal break"
    stopped_at 40 2
    "$CTL" set CRunCompNonWM 3 3 --index 0 >/dev/null
    wait_for_log 'seal breaks unexpected"' 30 2 || fail "third run not raised by the compartment's seal break"
    wait_for_progress $((ROWS + 1))
    [ "$("$CTL" get CSetGsm 3)" = $((ROWS + 1)) ] || fail "stored progress ran past the last row"
    check_rows_arrived "$ROWS" 0
    # The period of rows 20 and 21, cut by the error: opened and closed in
    # the first run's file at row 20's time, then in the second's at row 21's.
    MARKERS=$(cat "$OFFICE"/EVE* | grep '^20,' | cut -d, -f2,3 | tr -d '\r' | tr '\n' ' ')
    echo "$MARKERS" | grep -qxE '([0-9]{14}),63 \1,64 ([0-9]{14}),63 \2,64 ' || fail "SPD period markers: $MARKERS"
    wait_for_office '^LEV' 30 || fail "level file not sent"
    [ "$(cat "$OFFICE"/LEV* | grep -c '^11,')" = 1 ] || fail "level-volume row not once in the level file"
    ;;
hostile-texts)
    # Setups and file names that try to run commands or leave their
    # directory: nothing runs, the link comes up with the texts as they are,
    # and the files arrive under their own names.
    start_service "$ROOT/quiet.json"
    cd "$ROOT"
    "$CTL" set CSetGsmGprs 1 'u";touch pwned-user;"' 2 '$(touch pwned-pass)' 3 'apn`touch pwned-apn`' >/dev/null
    NAME1='$(touch pwned-file).txt'
    NAME2="'; touch x #.txt"
    echo "one" > "$MAILBOX/$NAME1"
    echo "two" > "$MAILBOX/$NAME2"
    start_daemon
    wait_for_office_count '\.txt$' 2 120 || fail "files with odd names not sent"
    ls "$OFFICE" | grep -qxF "$NAME1" || fail "file name changed on the way: $(ls "$OFFICE")"
    ls "$OFFICE" | grep -qxF "$NAME2" || fail "file name changed on the way: $(ls "$OFFICE")"
    grep -qxF 'PXLN_GPRS_APN=apn`touch pwned-apn`' "$ROOT/var/log/pppd.env" || fail "APN not passed as it is"
    if ls "$ROOT" | grep -q pwned || [ -e x ]; then fail "a text from a record ran a command: $(ls "$ROOT")"; fi
    alive
    ;;
session-bus-late | tcp-bus-late)
    # The boot race: the daemon starts before its bus. It keeps trying,
    # connects once the bus is there, and the day goes on: the supervisor's
    # handshake, then a mailbox file at the back office. Everything of this
    # run talks on that late bus; over TCP the bus is one of the test's own,
    # anonymous, and the daemon reaches it through TCP_Bus_Address while its
    # heartbeat thread takes the session bus, here the same address.
    LATE_PORT=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    if [ "$SCENARIO" = tcp-bus-late ]; then
        LATE_BUS="tcp:host=127.0.0.1,port=$LATE_PORT"
        printf '[SETUP_GENERAL]\nUse_Session_Bus=0\nTCP_Bus_Address="%s"\n' "$LATE_BUS" >> "$ROOT/etc/Tankora/ftp_d.ini"
        sed "s|@LATE_BUS@|$LATE_BUS|" "$SRC/tests/e2e/late-bus.conf" > "$ROOT/late-bus.conf"
        UNREACHED="Can't connect to"
        set -- --config-file="$ROOT/late-bus.conf"
    else
        LATE_BUS="unix:path=$ROOT/late-bus"
        UNREACHED="Can't connect to session bus!"
        set -- --session --address="$LATE_BUS"
    fi
    export DBUS_SESSION_BUS_ADDRESS="$LATE_BUS"
    echo "delivery note 0003" > "$MAILBOX/mail_0003.txt"
    start_daemon
    wait_for_log "$UNREACHED" 30 || fail "the daemon did not try the bus before it was there"
    dbus-daemon --nofork "$@" >>"$ROOT/late-bus.log" 2>&1 &
    PIDS="$PIDS $!"
    # The stand-in service gives up on a bus that is not listening yet.
    wait_until 10 dbus-send --bus="$LATE_BUS" --dest=org.freedesktop.DBus --print-reply / org.freedesktop.DBus.GetId \
        >/dev/null 2>&1 || fail "the late bus did not start"
    say "bus $LATE_BUS up after the daemon"
    start_service "$ROOT/quiet.json"
    wait_for_log "FTL triggers connected" 60 || fail "no start-up handshake on the late bus"
    [ "$SCENARIO" = session-bus-late ] || wait_for_log "Connected to  \"$LATE_BUS\"" 1 || fail "not connected through TCP_Bus_Address"
    wait_for_office '^mail_0003.txt$' 60 || fail "mailbox file did not arrive over the late bus"
    alive
    ;;
*)
    fail "unknown scenario $SCENARIO"
    ;;
esac
stop_daemon
say "$SCENARIO passed"
