#!/bin/sh
# Inside the booted image: the installed daemon under systemd, checked step
# by step. One line per check goes to /boot-results/report, "done" when
# every check has run; on a failure the journal of the units involved goes
# to /boot-results/journal. Started by boot-test.service, which powers the
# container off afterwards.
set -u
OUT=/boot-results
HERE=/usr/local/lib/boot-test
LOG=/var/log/Tankora/ftp_d.log
UNIT=ftp_data.service
BUS=unix:path=/run/dbus/system_bus_socket
FAILED=0
: > "$OUT/report"

report() { echo "$*" | tee -a "$OUT/report"; }
ok() { report "ok      $* [+$(since "$BEGIN") s]"; }
bad() { report "FAILED  $* [+$(since "$BEGIN") s]"; FAILED=1; }
check() { # TEXT COMMAND...: one check
    TEXT=$1; shift
    if "$@"; then ok "$TEXT"; else bad "$TEXT"; fi
}
prop() { systemctl show -P "$1" "$UNIT"; }
now() { cut -d' ' -f1 /proc/uptime; }
since() { echo "$(now) $1" | awk '{ printf "%.1f", $1 - $2 }'; }
count() { N=$(grep -cF "$1" "$LOG" 2>/dev/null) || true; echo "${N:-0}"; }
wait_for() { # SECONDS COMMAND...
    LIMIT=$(($1 * 10)); shift
    i=0
    until "$@"; do
        i=$((i + 1)); [ "$i" -le "$LIMIT" ] || return 1; sleep 0.1
    done
}
running() { [ "$(prop ActiveState)/$(prop SubState)" = active/running ]; }
still_running() { running && [ "$(prop MainPID)" = "$1" ]; }
running_as_other() { running && [ "$(prop MainPID)" != "$1" ] && [ "$(prop MainPID)" != 0 ]; }
logged() { [ "$(count "$1")" -ge "$2" ]; }
at_office() { ls /srv/backoffice | grep -q "$1"; }
gone() { ! pidof -x "$1" >/dev/null; }
# The handshake with the supervisor: one more start-up completed.
handshake_after() { wait_for 60 logged "FTL triggers connected" $(($1 + 1)); }

BEGIN=$(now)
# Ready means: active only once the daemon said so (Type=notify), and the
# watchdog fed since.
check "ftp_data.service active and reported ready" wait_for 60 running
check "the watchdog fed from the event loop" wait_for 20 test "$(prop WatchdogTimestampMonotonic)" -gt 0
PID=$(prop MainPID)
check "settings seeded from the sample" grep -qx 'Logfile_Name=/var/log/Tankora/ftp_d.log' /etc/Tankora/ftp_d.ini
check "the unit's bus address in the daemon's environment" \
    grep -qxF "DBUS_SESSION_BUS_ADDRESS=$BUS" "/proc/$PID/environ" -z
check "handshake with the supervisor over the system bus" handshake_after 0

# The stock system bus refuses calls to the service to anyone its policies
# do not let in; the package's policy lets root in.
export DBUS_SESSION_BUS_ADDRESS=$BUS
check "the service's names closed to others on this bus" sh -c '! runuser -u nobody -- tankora-ctl dump CRunGsm >/dev/null 2>&1'
check "the service's names open to root" sh -c 'tankora-ctl dump CRunGsm >/dev/null'
report "note    devices the unit allows: $(prop DeviceAllow | tr '\n' ' ')"

# The operator asks for the events of the morning's first half hour.
tankora-ctl set CRunTriggerFtpTransfer 2 true 12 2026-12-01T06:00:00 13 2026-12-01T06:30:00 14 Event >/dev/null
# Up to one failed dial-up: the daemon gives pppd 120 s, then dials again.
check "event file built and received by the back office" wait_for 330 at_office '^EVEm.*\.ftl$'

START=$(count "FTL triggers connected")
systemctl kill --kill-who=main -s SIGHUP "$UNIT"
check "SIGHUP logged" wait_for 10 logged "Signal SIGHUP received" 1
sleep 2
check "SIGHUP leaves the same process running" still_running "$PID"

WATCHDOG=$(sed -n 's/^WatchdogSec=//p' /etc/systemd/system/ftp_data.service.d/ftp_data-test.conf)
T0=$(now)
kill -STOP "$PID"
check "a frozen daemon restarted by the watchdog" wait_for 120 running_as_other "$PID"
ELAPSED=$(since "$T0")
check "the restart came after the watchdog time ($WATCHDOG s; took $ELAPSED s)" \
    awk -v e="$ELAPSED" -v w="$WATCHDOG" 'BEGIN { exit !(e >= w) }'
check "the watchdog named in the journal" sh -c "journalctl -u $UNIT | grep -q 'Watchdog timeout'"
check "handshake again after the watchdog restart" handshake_after "$START"

START=$(count "FTL triggers connected")
PID=$(prop MainPID)
RESTARTS=$(prop NRestarts)
T0=$(now)
systemctl kill -s SIGKILL "$UNIT"
check "SIGKILL followed by a restart" wait_for 60 running_as_other "$PID"
ELAPSED=$(since "$T0")
check "the restart came after 5 s (took $ELAPSED s)" awk -v e="$ELAPSED" 'BEGIN { exit !(e >= 5) }'
check "one more restart counted" test "$(prop NRestarts)" = $((RESTARTS + 1))
check "handshake again after SIGKILL" handshake_after "$START"

TERMS=$(count "SIGTERM")
systemctl stop "$UNIT"
check "stop ends it with status 0" test "$(prop ExecMainStatus)/$(prop Result)" = 0/success
check "\"SIGTERM\" in its log" logged "SIGTERM" $((TERMS + 1))
check "the LT client and the dial-up end with the unit" sh -c 'pidof -x lt_client pppd >/dev/null; [ $? -ne 0 ]'

# A key gone from the settings file is written back at the start: /etc is
# read-only to the unit but for /etc/Tankora.
sed -i '/^Setup_Poll_Rate=/d' /etc/Tankora/ftp_d.ini
START=$(count "FTL triggers connected")
systemctl start "$UNIT"
check "started again" wait_for 60 running
check "a missing key written back to the settings file" wait_for 20 grep -q '^Setup_Poll_Rate=' /etc/Tankora/ftp_d.ini
check "handshake after the start" handshake_after "$START"
START=$(count "FTL triggers connected")
TERMS=$(count "SIGTERM")
PID=$(prop MainPID)
OLD=$(dpkg-query -W -f '${Version}' ftp-data)
apt-get install -y -q "$HERE"/ftp-data-upgrade.deb > "$OUT/upgrade.log" 2>&1
NEW=$(dpkg-query -W -f '${Version}' ftp-data)
check "upgraded from $OLD to $NEW" dpkg --compare-versions "$NEW" gt "$OLD"
check "the upgrade restarted it" wait_for 60 running_as_other "$PID"
check "the old daemon ended on SIGTERM" logged "SIGTERM" $((TERMS + 1))
check "no restart after a failure during the upgrade" test "$(prop NRestarts)" = 0
check "handshake after the upgrade" handshake_after "$START"

cp "$LOG" "$OUT/ftp_d.log"
dpkg -L ftp-data > "$OUT/files"
rm -rf /etc/systemd/system/ftp_data.service.d
apt-get purge -y -q ftp-data > "$OUT/purge.log" 2>&1
check "purged" test -z "$(dpkg-query -W -f '${db:Status-Status}' ftp-data 2>/dev/null)"
LEFT=""
while read -r FILE; do
    if [ -d "$FILE" ]; then
        # A folder stays only while it holds files of the vehicle's own.
        [ -z "$(ls -A "$FILE")" ] && LEFT="$LEFT $FILE"
    elif [ -e "$FILE" ]; then
        LEFT="$LEFT $FILE"
    fi
done < "$OUT/files"
check "none of the package's files left:$LEFT" test -z "$LEFT"
check "no settings file left" test ! -e /etc/Tankora
check "no log left" sh -c '! ls /var/log/Tankora/ftp_d.log* >/dev/null 2>&1'
check "no unit left" sh -c "! systemctl cat $UNIT >/dev/null 2>&1 && ! ls /etc/systemd/system/*/$UNIT >/dev/null 2>&1"
check "no process left" sh -c 'pidof -x ftp_data lt_client pppd >/dev/null; [ $? -ne 0 ]'

if [ "$FAILED" -ne 0 ]; then
    journalctl -b --no-pager -u "$UNIT" -u tankora-service -u backoffice -u boot-test > "$OUT/journal" 2>&1
fi
report done
