"""What must hold after a soak, read from the back office, the service's
store and the daemon's own log. Each broken rule is named with its evidence.
"""
import collections
import datetime
import os
import re
import time

import plan as planning

IDLE_TIME = 60        # CSetGsmGprs.IdleTime of the truck profile, s
CYCLE = 5             # the periodic step, s
JITTER_S = 0.25       # wall-clock slack for a sped-up daemon on a busy machine
HEADER_CODES = {"0", "1", "2", "6", "10", "90", "91"}
LINE = re.compile(r"^NOID\((\d+)\):(\d{4}-\d\d-\d\d_\d\d:\d\d:\d\d:\d{3}) [DWCF] (.*)$")
STATE = re.compile(r'Statechange to +"(\w+)"')
IDLE_STATES = {"FILE_TRANSFER_ACTIVE", "FILE_TRANSFER_FINISHED"}
# What ends a stretch of idle link: a transfer, the link going down, or
# work found waiting.
IDLE_ENDS = ("Start transfer:", "stop pppd", "Reset GPRS module", "INFO-File created", "file found:",
             "Start software")
# A file run (event, manual event or GPS file) from its first line to its last.
RUN_BEGINS = "Local time: "
RUN_ENDS = ("Finish Get", "run stopped", "Dbus-Error", "getSetupGsm returns NULL")
# What a cut may leave that must never reach the back office.
FTL_LINE = re.compile(rb"^\d+,\d{14}(,|$)")
HEADER_ONLY = "New event file (empty file for time trigger) created:"
REPAIRED = ("Incomplete file cut back:", "Incomplete file removed:")
SANITIZER = re.compile(r"ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|WARNING: ThreadSanitizer")


def log_lines(path):
    """(wall-clock seconds, pid, text) of every line of the daemon's log."""
    with open(path, errors="replace") as log:
        for line in log:
            m = LINE.match(line.rstrip("\n"))
            if m:
                when = datetime.datetime.strptime(m.group(2), "%Y-%m-%d_%H:%M:%S:%f")
                yield when.replace(tzinfo=datetime.timezone.utc).timestamp(), int(m.group(1)), m.group(3)


def last_state(path):
    try:
        with open(path, "rb") as log:
            log.seek(max(0, os.path.getsize(path) - 65536))
            states = STATE.findall(log.read().decode(errors="replace"))
    except OSError:
        return None
    return states[-1] if states else None


def wait_for_text(path, text, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if os.path.exists(path) and text in open(path, errors="replace").read():
            return True
        time.sleep(0.1)
    return False


def archive(vehicle):
    """(name as sent, path) of every upload the back office received."""
    folder = os.path.join(vehicle.root, "backoffice", "archive")
    return [(entry.split("_", 1)[1], os.path.join(folder, entry)) for entry in sorted(os.listdir(folder))]


def body_lines(path):
    """The lines after an FTL file's header (which ends with its "92" line)."""
    lines = [l for l in open(path, newline="").read().split("\r\n") if l]
    i = 0
    while i < len(lines) and lines[i].split(",")[0] in HEADER_CODES:
        i += 1
    if i < len(lines) and lines[i].startswith("92,"):
        i += 1
    return lines[i:]


class Rows:
    """Where each planned row's lines turned up: line stamp -> [(file, line)]."""

    def __init__(self):
        self.seen = collections.defaultdict(list)

    def add(self, name, lines):
        for line in lines:
            fields = line.split(",")
            if len(fields) > 1:
                self.seen[fields[1]].append((name, line))


def whole_line(row, line):
    """The line is the row's: its record code, and for a position the
    coordinates of the row's fix (longitude first)."""
    fields = line.split(",")
    if fields[0] != row["code"]:
        return False
    if row["row"]["type"] == 1:
        position = row["row"]["payload"][0]
        return len(fields) == 11 and fields[2:4] == ["%.6f" % position["longitude"], "%.6f" % position["latitude"]]
    return True


def check_rows(rows, planned, store, book, rule, failures):
    """Every planned row of a book arrived once if it has a line, never if
    not; rows that arrived twice go back to the caller."""
    known, twice = set(), []
    for row in planned:
        key = planning.line_stamp(row["t"])
        known.add(key)
        if "marker_t" in row:
            known.add(planning.line_stamp(row["marker_t"]))
        found = rows.seen.get(key, [])
        rid = store.get((book, row_stamp_ms(row)), "?")
        what = "row %s (%s, %s, line stamp %s)" % (rid, row["template"], row["row"]["time"], key)
        files = ", ".join(name for name, _ in found)
        wanted = 1 if row["code"] else 0
        if any(not whole_line(row, line) for _, line in found):
            failures.append("%s: %s arrived as another row's line: %s" % (rule, what, found[0][1]))
        elif len(found) == wanted:
            continue
        elif wanted and len(found) == 2:
            twice.append(("%s in %s" % (what, files), {name for name, _ in found}))
        elif not found:
            failures.append("%s: %s never arrived" % (rule, what))
        else:
            failures.append("%s: %s arrived %d times: %s" % (rule, what, len(found), files))
    for key, found in rows.seen.items():
        if key not in known:
            failures.append("%s: line stamped %s belongs to no row: %s in %s" % (rule, key, found[0][1], found[0][0]))
    return twice


def timed_out_files(vehicle):
    """Files whose transfer the daemon gave up after 180 s without a word
    from the FTP client: such a file is sent again, as the daemon is told to,
    and its rows may arrive twice whatever the client did meanwhile."""
    files, current = set(), None
    for _, _, text in log_lines(vehicle.log):
        if "Start transfer: TransferType" in text:
            current = os.path.basename(text.rstrip().split(" Filename ")[-1])
        elif "Timeout in FTP-Transfer" in text and current:
            files.add(current)
    return files


def row_stamp_ms(row):
    when = datetime.datetime.strptime(row["row"]["time"], "%Y-%m-%dT%H:%M:%SZ")
    return int(when.replace(tzinfo=datetime.timezone.utc).timestamp() * 1000)


def check_idle(vehicle, driver, failures, figures):
    """No link stays up longer than its idle time with nothing to send,
    unless the LT server keeps it or a fault held the daemon meanwhile. The
    time the daemon spent in a file run does not count: sped up, a run of a
    few dozen rows takes minutes of the road, since the bus does not speed
    up with the daemon."""
    limit = (IDLE_TIME + 3 * CYCLE) / driver.scale + JITTER_S
    held = [w for w in driver.windows if w["kind"] in ("service-restart", "service-stall", "daemon-kill", "power-cut")]
    longest = 0.0
    pid = state = start = run = None
    lt = lt_seen = False
    busy = 0.0
    for when, line_pid, text in log_lines(vehicle.log):
        if line_pid != pid:
            pid, state, start, run, lt = line_pid, None, None, None, False
        if "LtServerEnabled = " in text:
            lt = text.rstrip().endswith("true")
        lt_seen = lt_seen or lt
        if RUN_BEGINS in text:
            run = when
        elif run is not None and any(end in text for end in RUN_ENDS):
            busy, run = busy + when - run, None
        m = STATE.search(text)
        new_state = m.group(1) if m else state
        if start is None and new_state in IDLE_STATES and state not in IDLE_STATES:
            start, lt_seen, busy = when, lt, 0.0
        elif start is not None and (any(end in text for end in IDLE_ENDS) or new_state not in IDLE_STATES):
            length = when - start - busy - (when - run if run is not None else 0.0)
            exempt = lt_seen or any(w["begin"] <= when and (w["end"] or when) >= start for w in held)
            if not exempt:
                longest = max(longest, length)
                if length > limit:
                    failures.append("idle link: up %.1f s (%.0f s of the road) with nothing sent, "
                                    "from %s to %s (limit %.0f s of the road)"
                                    % (length, length * driver.scale, stamp_of(start), stamp_of(when),
                                       limit * driver.scale))
            start = None
        state = new_state
    figures["longest idle link"] = "%.0f s of the road (idle time %d s)" % (longest * driver.scale, IDLE_TIME)


def stamp_of(wall):
    return datetime.datetime.fromtimestamp(wall, datetime.timezone.utc).strftime("%H:%M:%S.%f")[:-3]


def check_held(driver, failures, figures):
    """RssAnon and open descriptors stay within what the first day needed."""
    days = driver.plan["days"]
    warm = planning.DAY if days > 1 else days * planning.DAY / 2
    samples = [s for s in driver.samples if s["rss"] is not None]
    first = [s for s in samples if s["t"] < warm]
    later = [s for s in samples if s["t"] >= warm]
    if not first or not later:
        failures.append("memory: too few samples (%d)" % len(samples))
        return
    rss_bound = max(s["rss"] for s in first) * 5 // 4 + 512
    fds_bound = max(s["fds"] for s in first) + 2
    # AddressSanitizer keeps freed memory aside for a while (its
    # quarantine), so there only the descriptors are judged.
    with open(os.path.join(driver.vehicle.build, "ftp_data"), "rb") as binary:
        if b"__asan_init" in binary.read():
            rss_bound = float("inf")
            figures["RssAnon bound"] = "not judged: sanitizer build"
    for s in later:
        if s["rss"] > rss_bound or s["fds"] > fds_bound:
            failures.append("memory: at %s of the road the daemon held RssAnon %d KiB and %d descriptors "
                            "(bounds %d KiB, %d)" % (planning.stamp(s["t"]), s["rss"], s["fds"], rss_bound,
                                                     fds_bound))
    figures["RssAnon peak / final"] = "%d / %d KiB" % (max(s["rss"] for s in samples), samples[-1]["rss"])
    figures["descriptors peak / final"] = "%d / %d" % (max(s["fds"] for s in samples), samples[-1]["fds"])


def check_progress(driver, store, failures):
    """The stored progress never moves back and never past the stored rows."""
    last = {book: max([rid for (b, _), rid in store.items() if b == book] or [0]) for book in ("logbook", "tracking")}
    for field, book in (("rows", "logbook"), ("tracking", "tracking")):
        values = [(s["t"], s[field]) for s in driver.samples if s[field] is not None]
        for (t0, a), (t1, b) in zip(values, values[1:]):
            if b < a:
                failures.append("progress: %s went back from %d to %d by %s" % (field, a, b, planning.stamp(t1)))
        for t, value in values:
            if value > last[book] + 1:
                failures.append("progress: %s stored as %d at %s, past the last row %d"
                                % (field, value, planning.stamp(t), last[book]))


def count_lines(path, texts):
    return sum(1 for _, _, text in log_lines(path) if any(t in text for t in texts))


def check_whole_files(vehicle, sent, failures):
    """Every FTL and test file at the back office is whole: no stray zero
    byte, every line complete, a header that ends with its "92" line, and a
    body after it unless the daemon wrote a header-only file on purpose."""
    header_only = {os.path.basename(m.group(1)) for _, _, text in log_lines(vehicle.log)
                   for m in [re.search(re.escape(HEADER_ONLY) + r' ?"([^"]+)"', text)] if m}
    for name, path in sent:
        if not name.endswith((".ftl", ".tst")):
            continue
        data = open(path, "rb").read()
        lines = [l for l in data.split(b"\r\n") if l]
        if b"\0" in data:
            failures.append("whole files: stray zero byte in %s at byte %d" % (name, data.index(b"\0")))
        elif not data.endswith(b"\r\n"):
            failures.append("whole files: %s ends in a torn line: %r" % (name, data[-40:]))
        elif any(not FTL_LINE.match(l) for l in lines):
            failures.append("whole files: torn line in %s: %r" % (name, next(l for l in lines if not FTL_LINE.match(l))))
        elif name.startswith(("EVE", "LEV", "MTR", "TK_")):
            if not any(l.startswith(b"92,") for l in lines):
                failures.append("whole files: %s has a header cut short (%d lines)" % (name, len(lines)))
            elif not name.startswith("TK_") and not body_lines(path) and name not in header_only:
                failures.append("whole files: %s is a header without its body" % name)


def check(plan, vehicle, driver, drained, exit_code, resent_after_cut=()):
    failures, figures = [], collections.OrderedDict()
    store = vehicle.rows_in_store()
    sent = archive(vehicle)
    kinds = collections.Counter()
    events, gps = Rows(), Rows()
    for name, path in sent:
        kind = re.match(r"(EVEl|EVEm|LEV|MTR|GPS_|TK_|tk_|mail_)?", name).group(1) or "other"
        kinds[kind] += 1
        if kind == "EVEl":
            events.add(name, body_lines(path))
        elif kind == "GPS_":
            gps.add(name, [l for l in open(path, newline="").read().split("\r\n") if l])

    if not drained:
        failures.append("drain: the vehicle did not settle after the last fault: %s" % driver.drained)
    main_rows = [r for r in plan["rows"] if r["book"] == "main"]
    tracking_rows = [r for r in plan["rows"] if r["book"] == "tracking"]
    twice = check_rows(events, main_rows, store, "logbook", "event rows", failures)
    # A tracking line must sit in the file of its own local day.
    for key, found in gps.seen.items():
        for name, _ in found:
            if name != "GPS_%s.ftl" % key[:8]:
                failures.append("tracking rows: line stamped %s in %s" % (key, name))
    twice += check_rows(gps, tracking_rows, store, "tracking", "tracking rows", failures)
    kills = vehicle.supervisor.kills
    resent = timed_out_files(vehicle) | set(resent_after_cut)
    again = [what for what, files in twice if files <= resent]
    twice = [what for what, files in twice if not files <= resent]
    if len(twice) > kills:
        failures.append("rows sent twice: %d, but the daemon was killed only %d times: %s"
                        % (len(twice), kills, "; ".join(twice[:5])))
    final = driver.drained or {}
    for row in main_rows:
        rid = store.get(("logbook", row_stamp_ms(row)))
        if rid is None or rid >= final.get("rows", 0):
            failures.append("event rows: row %s (%s) not covered by the automatic runs (progress %s)"
                            % (rid, row["row"]["time"], final.get("rows")))
            break

    mails = {e["name"]: e["text"] for e in plan["events"] if e["kind"] == "mail"}
    copies = collections.Counter(name for name, _ in sent if name in mails)
    for name, text in mails.items():
        bodies = [open(path).read() for n, path in sent if n == name]
        if not bodies:
            failures.append("mailbox: %s never arrived" % name)
        elif any(body != text for body in bodies):
            failures.append("mailbox: %s arrived changed" % name)
    if vehicle.pending():
        failures.append("outgoing: files left behind: %s" % ", ".join(vehicle.pending()[:10]))

    check_whole_files(vehicle, sent, failures)
    check_idle(vehicle, driver, failures, figures)
    check_held(driver, failures, figures)
    check_progress(driver, store, failures)
    errors = open(os.path.join(vehicle.root, "daemon.err"), errors="replace").read()
    for m in list(SANITIZER.finditer(errors))[:3]:
        failures.append("sanitizer: %s" % errors[m.start():m.start() + 200].splitlines()[0])
    for when, code in vehicle.supervisor.unexpected:
        failures.append("daemon: ended by itself with %s at %s" % (code, stamp_of(when)))
    if exit_code != 0:
        failures.append("daemon: SIGTERM at the end gave exit code %s, not 0" % exit_code)

    figures["logbook rows"] = "%d (%d with FTL lines), %d tracking rows" % (
        len(main_rows), sum(1 for r in main_rows if r["code"]), len(tracking_rows))
    figures["files at the back office"] = "%d: %s" % (len(sent), ", ".join(
        "%s %d" % (k.rstrip("_"), n) for k, n in sorted(kinds.items())))
    figures["bytes at the back office"] = str(sum(os.path.getsize(p) for _, p in sent))
    figures["rows sent twice"] = "%d (daemon killed %d times), %d more in files sent again after a time-out%s" % (
        len(twice), kills, len(again), " or a cut" if resent_after_cut else "")
    figures["mailbox files sent more than once"] = str(sum(1 for n in copies.values() if n > 1))
    figures["faults played"] = ", ".join("%s %d" % kv for kv in sorted(driver.faults.items()))
    if driver.skipped:
        figures["faults left out"] = ", ".join("%s %d" % kv for kv in sorted(driver.skipped.items()))
    figures["daemon starts"] = str(vehicle.supervisor.starts)
    texts = collections.Counter()
    for _, _, text in log_lines(vehicle.log):
        for key in ("start the 'pppd' process", "Timeout in FTP-Transfer", "Reset GPRS module"):
            texts[key] += key in text
    figures["link sessions"] = str(texts["start the 'pppd' process"])
    figures["FTP client time-outs, module resets"] = "%d, %d" % (texts["Timeout in FTP-Transfer"],
                                                                texts["Reset GPRS module"])
    return failures, figures


def report(seed, failures, figures):
    """The figures, then each broken rule with its first pieces of evidence."""
    lines = ["soak %s (seed %d)" % ("FAILED" if failures else "passed", seed)]
    lines += ["  %-34s %s" % (k, v) for k, v in figures.items()]
    rules = collections.OrderedDict()
    for failure in failures:
        rule, evidence = failure.split(": ", 1)
        rules.setdefault(rule, []).append(evidence)
    for rule, evidence in rules.items():
        lines.append("  broken rule \"%s\" (%d):" % (rule, len(evidence)))
        lines += ["    %s" % e for e in evidence[:5]]
        if len(evidence) > 5:
            lines.append("    ... and %d more" % (len(evidence) - 5))
    return "\n".join(lines) + "\n"
