# What the demo shows of the vehicle's day: the daemon's state changes,
# files and failures live as they happen, and the day in figures at the end.
# Sourced after vehicle-sandbox.sh.

story_live() {
    (tail -n +1 -s 0.2 -F "$LOGFILE" 2>/dev/null \
        | grep --line-buffered -E 'Statechange|Start creation of new file|Start transfer|File transfer finished|Transfer failed|seal breaks|Reset GPRS|Trigger for|stop pppd|disable time ends|process start' \
        | while IFS= read -r LINE; do
              printf '[%s]    %s\n' "$(date +%T)" "$(echo "$LINE" | sed -E -e 's/^[^ ]+ [A-Z] File: [A-Za-z_.]+ Line: *[0-9]+ *: *//' -e "s#$ROOT##g")"
          done) &
    PIDS="$PIDS $!"
}

story_summary() {
    echo
    echo "--- the day in figures"
    printf '%-30s %s\n' "files built" \
        "$(($(count 'Start creation of new file') + $(count 'New event file (empty file') + $(ls "$OFFICE" | grep -c '^GPS_')))" \
        "files at the back office" "$(ls "$OFFICE" | wc -l)" \
        "bytes at the back office" "$(cat "$OFFICE"/* | wc -c)" \
        "link sessions" "$(count "start the 'pppd' process")" \
        "failed transfers" "$(count 'Transfer failed')" \
        "GSM module resets" "$(count 'Reset GPRS module')"
    echo "--- the back office holds"
    ls -l "$OFFICE" | tail -n +2
}
