#!/bin/sh
# The whole vehicle on one machine: stand-in database service, dial-up, FTP
# client and back office, and the real daemon sped up by FTP_DATA_TIME_SCALE.
# A truck's day: start-up, a manual event file, a seal break that raises an
# event file by itself, a GPS file request, a mailbox file, the idle link
# going down, a scheduled software-update look-up, a back office outage
# ending in a module reset, and an offline request while the link is kept
# for the LT server. Every file that reaches
# the back office must be byte for byte what the profile's rows give
# (tests/e2e/expected, file time stamps left out of the names).
#
# Usage: vehicle.sh BUILD_DIR SOURCE_DIR [TIME_SCALE]   (run inside dbus-run-session)
# VEHICLE_STORY=1 prints the daemon's day live and a summary at the end
# (sim/vehicle-story.sh).
set -eu
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
SCALE=${3:-50}
EXPECTED="$SRC/tests/e2e/expected"
. "$SRC/sim/vehicle-sandbox.sh"
. "$SRC/sim/vehicle-story.sh"

start_office
start_service "$SRC/sim/profiles/truck.json"
# The seal of the dome cover breaks: the tank body logs it before the
# daemon starts, so the row is there whichever run takes it first (the time
# trigger two minutes of the road after start, or the monitor below).
"$CTL" add-row 3 6001 -1 2026-12-01T08:00:00 0 0 1 0 "" "" 0 0 0 0 >/dev/null
say "back office on port $PORT, service up with the truck's logbook"
# A mailbox file another process left for the back office.
echo "delivery note 0001" > "$ROOT/var/log/log_tx/mail_0001.txt"
start_daemon

[ -z "${VEHICLE_STORY:-}" ] || story_live

wait_for_log "FTL triggers connected" 30 || fail "no process start"
say "daemon started and known to the supervisor"

# The operator asks for the events of the morning's first half hour.
"$CTL" set CRunTriggerFtpTransfer 2 true 12 2026-12-01T06:00:00 13 2026-12-01T06:30:00 14 Event >/dev/null
wait_for_log "setRuntimeTriggerFtpTransfer sent" 30 || fail "the handled request was not written back"
wait_for_office '^EVEm.*\.ftl$' 120 || fail "no manual event file at the back office"
say "manual event file arrived: $(ls "$OFFICE" | grep '^EVEm')"

# The seal break reaches the monitor, which raises an event file by itself.
"$CTL" set CRunTruck 1 3 >/dev/null
wait_for_log "seal breaks unexpected" 30 || fail "seal break not seen by the monitor"
say "monitor saw the seal break"
wait_for_office '^EVEl' 120 || fail "no event file for the seal break at the back office"
say "event file with the seal break arrived"

"$CTL" trigger gps >/dev/null
wait_for_office '^GPS_20261202\.ftl$' 120 || fail "no GPS file at the back office"
say "GPS files arrived: $(ls "$OFFICE" | grep '^GPS_' | tr '\n' ' ')"

wait_for_office '^mail_0001.txt$' 60 || fail "mailbox file did not arrive"
say "mailbox file arrived"
wait_for_log "seconds (CSetGsmGprs.IdleTime)" 120 || fail "link not taken down after the idle time"
say "link taken down after the idle time"

# The update server is asked on schedule: weekly, at the next whole minute
# of the daemon's clock at least 30 s ahead, so that even a loaded machine
# reads the schedule before its minute (read after it, the look-up would move
# to next week). The link comes up for the look-up alone, exactly once, and
# goes down again after the idle time; the start-up look-up has a text of
# its own, so this date's is the run's only "Start software update look-up".
set -- $(date -d "@$((($(date +%s) + 30) / 60 * 60 + 60))" '+%w %H %M')
IDLE_DOWNS=$(count "seconds (CSetGsmGprs.IdleTime)")
LOOKUPS=$(count "Transfer of update file")
DIALS=$(count "start the 'pppd' process")
"$CTL" set CSetFtpSwUpdate 4 $(($1 + 1)) 5 "$2" 6 "$3" >/dev/null
wait_for_log "Start software update look-up" 120 || fail "scheduled look-up not due at $2:$3"
wait_for_log "Transfer of update file" 60 $((LOOKUPS + 1)) || fail "scheduled look-up (FTP client -u) did not run"
wait_for_log "seconds (CSetGsmGprs.IdleTime)" 120 $((IDLE_DOWNS + 1)) || fail "link not taken down after the look-up"
[ "$(count "Start software update look-up")" = 1 ] ||
    fail "$(count "Start software update look-up") look-ups logged for one scheduled date"
[ "$(count "Transfer of update file")" = $((LOOKUPS + 1)) ] || fail "more than one look-up ran for one date"
# The link was down when the schedule was set: the look-up raised its own.
[ "$(count "start the 'pppd' process")" -gt "$DIALS" ] || fail "the look-up ran without a link of its own"
say "scheduled software-update look-up at $2:$3, link down again after the idle time"

# The back office goes away: failed transfers pile up until the module is
# reset. When it is back, the waiting file goes out.
kill "$FTPD"
echo "delivery note 0002" > "$ROOT/var/log/log_tx/mail_0002.txt"
wait_for_log "Reset GPRS module" 240 || fail "no module reset with the back office down"
say "back office down: transfers failed, GSM module reset requested"
start_office
wait_for_office '^mail_0002.txt$' 240 || fail "waiting mailbox file not sent once the back office was back"
say "back office back: the waiting mailbox file arrived"

# The LT server keeps the link up; the operator takes the truck offline for
# a while and the link comes back by itself afterwards.
DIALS=$(count "start the 'pppd' process")
"$CTL" set CSetLTServer 1 true >/dev/null
wait_for_log "LtServerEnabled =  true" 30 || fail "LT server setup not taken over"
"$CTL" offline 300 >/dev/null
wait_for_log 'Statechange to  "PPP_DISABLED"' 120 || fail "offline request not followed"
say "offline: link down for the requested time"
wait_for_log "pppd disable time ends" 120 || fail "offline time did not end"
wait_for_log "start the 'pppd' process" 120 $((DIALS + 1)) || fail "link not back after the offline time"
say "online again"
# The time trigger may have raised an event file while the truck was
# offline: it goes out on the link that just came back.
outgoing_empty() { ! ls "$ROOT/var/log/FTL" | grep -q .; }
wait_until 60 outgoing_empty || true

stop_daemon
[ "$(count "Start software update look-up")" = 1 ] || fail "the scheduled look-up ran again on the same date"

# Every file at the back office against what the rows give. Names lose the
# run's time stamp and gain their place among files of the same kind
# (EVEl-1.ftl, EVEl-2.ftl); a header-only event file (a time trigger with
# nothing new) carries the run's local time in its header instead of a
# row's, and is checked against the header with that time.
MISMATCH=0
LAST=""
N=0
for NAME in $(ls "$OFFICE"); do
    FILE="$OFFICE/$NAME"
    KIND=$(echo "$NAME" | sed 's/[0-9]\{14\}//')
    STAMP=$(echo "$NAME" | grep -o '[0-9]\{14\}' || true)
    if [ -n "$STAMP" ] && [ "$(grep -c '^[0-9]*,' "$FILE")" = "$(grep -c '^\(0\|1\|2\|6\|10\|90\|91\|92\),' "$FILE")" ]; then
        sed "s/YYYYMMDDhhmmss/$STAMP/" "$EXPECTED/header-only.ftl" | cmp -s - "$FILE" \
            || { echo "header-only file differs: $NAME"; MISMATCH=1; }
        continue
    fi
    KEY=$NAME
    if [ -n "$STAMP" ]; then
        [ "$KIND" = "$LAST" ] && N=$((N + 1)) || N=1
        LAST=$KIND
        KEY=$(echo "$KIND" | sed "s/\.ftl\$/-$N.ftl/")
    fi
    echo "$KEY" >> "$ROOT/keys"
    if [ -f "$EXPECTED/$KEY" ]; then
        cmp -s "$EXPECTED/$KEY" "$FILE" || { echo "differs from $KEY: $NAME"; diff "$EXPECTED/$KEY" "$FILE" | head -n 20; MISMATCH=1; }
    else
        echo "unexpected file at the back office: $NAME ($KEY)"; MISMATCH=1
    fi
done
for KEY in $(ls "$EXPECTED" | grep -v '^header-only'); do
    grep -qx "$KEY" "$ROOT/keys" 2>/dev/null || { echo "missing at the back office: $KEY"; MISMATCH=1; }
done
[ "$MISMATCH" = 0 ] || fail "back office files differ from what the rows give"
ls "$ROOT/var/log/FTL" | grep -q . && fail "sent files left in the outgoing directory: $(ls "$ROOT/var/log/FTL")"

[ -z "${VEHICLE_STORY:-}" ] || story_summary
say "vehicle run passed: every file arrived as the rows give it"
