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
NO_SETUP_IDLE_TIME = 120  # a process whose first read of that setup brought nothing, s
CYCLE = 5             # the periodic step, s
JITTER_S = 0.05       # wall-clock slack for a sped-up daemon on a busy machine
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


def log_stamp(text):
    """Wall-clock seconds of a log line's stamp (2026-12-08_11:37:24:241)."""
    return datetime.datetime.strptime(text, "%Y-%m-%d_%H:%M:%S:%f").replace(tzinfo=datetime.timezone.utc).timestamp()


def log_lines(path):
    """(wall-clock seconds, pid, text) of every line of the daemon's log."""
    with open(path, errors="replace") as log:
        for line in log:
            m = LINE.match(line.rstrip("\n"))
            if m:
                yield log_stamp(m.group(2)), int(m.group(1)), m.group(3)


SERVICE_FAULT = re.compile(r"^(\d{4}-\d\d-\d\d_[\d:]+) tankora-service: fault: (.*)$")


def service_lines(vehicle, pattern):
    """The match of pattern in each line of the service's log that has one."""
    try:
        with open(os.path.join(vehicle.root, "service.log"), errors="replace") as log:
            matches = [pattern.search(line.rstrip("\n")) for line in log]
    except OSError:
        return []
    return [m for m in matches if m]


def service_fault_lines(vehicle):
    """(wall-clock seconds, what) of each fault the service played, as its
    log says it: "error reply to getLogbook", "reply to getLogbook held back"."""
    return [(log_stamp(m.group(1)), m.group(2)) for m in service_lines(vehicle, SERVICE_FAULT)]


def service_faults(vehicle, text):
    """Wall-clock seconds of each fault line of the service holding text."""
    return [when for when, what in service_fault_lines(vehicle) if text in what]


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


def ftl_lines(path):
    """An FTL file's lines; a text of a record beyond ASCII is written in
    Latin-1, one byte a character, so the bytes compare as the characters."""
    return [l for l in open(path, newline="", encoding="latin-1").read().split("\r\n") if l]


def body_lines(path):
    """The lines after an FTL file's header (which ends with its "92" line)."""
    lines = ftl_lines(path)
    i = 0
    while i < len(lines) and lines[i].split(",")[0] in HEADER_CODES:
        i += 1
    if i < len(lines) and lines[i].startswith("92,"):
        i += 1
    return lines[i:]


class Rows:
    """Where each planned row's lines turned up: line stamp -> [(file, line,
    archive copy)], copies in the order the back office received them."""

    def __init__(self):
        self.seen = collections.defaultdict(list)

    def add(self, name, lines, path):
        for line in lines:
            fields = line.split(",")
            if len(fields) > 1:
                self.seen[fields[1]].append((name, line, path))


def copies_of(row, found):
    """How many whole copies of the row's lines arrived, byte for byte its
    expected lines, or None when a line is not the row's."""
    lines = [line for _, line, _ in found]
    if not row["lines"]:
        return 0 if not lines else None
    copies, rest = divmod(len(lines), len(row["lines"]))
    if rest or collections.Counter(lines) != collections.Counter({l: copies for l in row["lines"]}):
        return None
    return copies


def check_rows(rows, planned, store, book, rule, failures):
    """Every planned row of a book arrived once if it has a line, never if
    not; rows that arrived more than once go back to the caller."""
    known, twice = set(), []
    for row in planned:
        key = planning.line_stamp(row["t"])
        known.add(key)
        if "marker_t" in row:
            known.add(planning.line_stamp(row["marker_t"]))
        found = rows.seen.get(key, [])
        rid = store.get((book, row_stamp_ms(row)), "?")
        what = "row %s (%s, %s, line stamp %s)" % (rid, row["template"], row["row"]["time"], key)
        files = ", ".join(name for name, _, _ in found)
        copies = copies_of(row, found)
        if copies is None:
            failures.append("%s: %s arrived as %s, expected %s" % (
                rule, what, ["%s in %s" % (line, name) for name, line, _ in found], row["lines"] or "no line"))
        elif copies == (1 if row["lines"] else 0):
            continue
        elif not copies:
            failures.append("%s: %s never arrived" % (rule, what))
        else:
            twice.append(("%s in %s" % (what, files), key, found, copies))
    for key, found in rows.seen.items():
        if key not in known:
            failures.append("%s: line stamped %s belongs to no row: %s in %s" % (rule, key, found[0][1], found[0][0]))
    return twice


def writers(vehicle):
    """Which daemon processes wrote what: {event file name: pids} from the
    runs that created or appended to it (a run appends to the file of its
    second), {tracking line stamp: pids} from the GPS runs' lines."""
    files, positions = collections.defaultdict(set), collections.defaultdict(set)
    for _, pid, text in log_lines(vehicle.log):
        m = re.search(r'(?:Start creation of new file:|Open new file and store the data in) "([^"]+)"', text)
        if m:
            files[os.path.basename(m.group(1))].add(pid)
        m = re.search(r'Local time: "(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d),', text)
        if m:
            files["EVEl%s.ftl" % "".join(m.groups())].add(pid)
        m = re.search(r"file  Time (\d{14}) gps position", text)
        if m:
            positions[m.group(1)].add(pid)
    return files, positions


def hang_time_outs(vehicle, driver):
    """(start, time-out, file name) of each transfer given up while the FTP
    client hung."""
    out, start, name = [], None, None
    for when, _, text in log_lines(vehicle.log):
        if "Start transfer: TransferType" in text:
            start, name = when, os.path.basename(text.rstrip().split(" Filename ")[-1])
        elif "Timeout in FTP-Transfer" in text and start is not None and within(
                driver.windows, ("client-hang",), when, when):
            out.append((start, when, name))
    return out


def uploads_cut_short(vehicle, kills):
    """[(file name, when the successor started)] of each upload a daemon
    kill ended before the daemon heard its end (the FTP client goes with
    the daemon's process group, maybe after the back office had the file
    but before it removed it)."""
    last, first = {}, {}
    for when, pid, text in log_lines(vehicle.log):
        first.setdefault(pid, when)
        m = re.search(r"Start transfer: TransferType +\d+ +Filename +(\S+)", text)
        if m:
            last[pid] = os.path.basename(m.group(1))
        elif "File transfer finished" in text or "Timeout in FTP-Transfer" in text:
            last.pop(pid, None)
    return [(last[dead], first[heir]) for dead, heir in kills if dead in last and heir in first]


def explain_twice(twice, vehicle, driver, resent_after_cut, failures):
    """Ties each copy of a row past its first to the one event that explains
    it, one copy per event: a daemon kill (the first copy written by the killed
    process, the second by its successor), a progress write the service
    refused (both copies by the process it refused), a file sent again
    after the FTP client hung (both copies of the file that timed out, the
    first received during that transfer), or a power cut that put a file
    the back office had back into the outgoing directory. Any other
    duplicate fails."""
    files, positions = writers(vehicle)
    sup = vehicle.supervisor
    kills = [(pid, sup.pids[sup.pids.index(pid) + 1]) for pid in sup.killed
             if pid in sup.pids and sup.pids.index(pid) + 1 < len(sup.pids)]
    # A refused write logs its reply code, a failed read of the progress
    # before its write that it returned nothing; either way the progress
    # stays and the run's last row goes again.
    refusals = [pid for _, pid, text in log_lines(vehicle.log)
                if " Dbus-Error: " in text or "getSetupGsm returns NULL" in text]
    hangs = hang_time_outs(vehicle, driver)
    cut_short = uploads_cut_short(vehicle, kills)
    used, tied = set(), collections.Counter()
    for what, key, found, copies in twice:
        # Copies in the order the back office received them; each copy
        # past the first needs an event between it and the one before.
        ordered = sorted(found, key=lambda f: f[2])
        firsts = ordered[::len(ordered) // copies]
        for (n1, line, p1), (n2, _, p2) in zip(firsts, firsts[1:]):
            w1, w2 = [positions[key] if n.startswith("GPS_") else files.get(n, set()) for n in (n1, n2)]
            events = [("daemon kill", i) for i, (dead, heir) in enumerate(kills) if dead in w1 and heir in w2]
            events += [("refused progress write", i) for i, pid in enumerate(refusals) if pid in w1 & w2]
            events += [("file sent again after a hung client", i) for i, (begin, end, name) in enumerate(hangs)
                       if n1 == n2 == name and begin <= os.path.getmtime(p1) <= end < os.path.getmtime(p2)]
            # A file whose upload a kill cut short after the back office had
            # it goes out again whole from the successor: each line once.
            events += [("upload cut short by a daemon kill", n1, line, i)
                       for i, (name, born) in enumerate(cut_short)
                       if n1 == n2 == name and os.path.getmtime(p1) <= born <= os.path.getmtime(p2)]
            # A put-back file goes out again whole: each of its lines once
            # for each cut that put it back.
            if n1 == n2:
                events += [("file put back by a cut", n1, line, k)
                           for k in range(resent_after_cut.get(n1, {}).get(line, 0))]
            event = next((e for e in events if e not in used), None)
            if event is None:
                failures.append("duplicates: %s, written by process %s then %s, tied to no event left (%d kills)"
                                % (what, sorted(w1), sorted(w2), len(kills)))
                continue
            used.add(event)
            tied[event[0]] += 1
    return tied


def explain_mail_copies(vehicle, driver, sent, mails, resent_after_cut, failures):
    """Each copy of a mailbox file past its first tied to one event: the
    daemon killed between the two copies, the file sent again after a hung
    client's time-out, or a cut that put the file back."""
    sup = vehicle.supervisor
    kill_times = [w["begin"] for w in driver.windows if w["kind"] in ("daemon-kill", "power-cut")]
    hangs = hang_time_outs(vehicle, driver)
    used, tied = set(), collections.Counter()
    for name in mails:
        times = sorted(os.path.getmtime(path) for n, path in sent if n == name)
        for first, again in zip(times, times[1:]):
            events = [("daemon kill", i) for i, t in enumerate(kill_times) if first <= t + 1 and t <= again]
            events += [("file sent again after a hung client", i) for i, (begin, end, hung) in enumerate(hangs)
                       if hung == name and begin - 1 <= first <= end <= again]
            events += [("file put back by a cut", name, k)
                       for k in range(max(resent_after_cut.get(name, {}).values(), default=0))]
            event = next((e for e in events if e not in used), None)
            if event is None:
                failures.append("mailbox: %s arrived again at %s, tied to no event left (%d kills)"
                                % (name, stamp_of(again), len(sup.killed)))
                continue
            used.add(event)
            tied[event[0]] += 1
    return tied


def row_stamp_ms(row):
    when = datetime.datetime.strptime(row["row"]["time"], "%Y-%m-%dT%H:%M:%SZ")
    return int(when.replace(tzinfo=datetime.timezone.utc).timestamp() * 1000)


def check_idle(vehicle, driver, failures, figures):
    """No link stays up longer than its idle time with nothing to send,
    unless the LT server keeps it or a fault held the daemon meanwhile. The
    time the daemon spent in a file run does not count: sped up, a run of a
    few dozen rows takes minutes of the road, since the bus does not speed
    up with the daemon."""
    def limit_of(idle):
        return (idle + 2 * CYCLE) / driver.scale + JITTER_S

    limit = limit_of(IDLE_TIME)
    # A full log disk keeps the lines that end a stretch out of the log.
    held = [w for w in driver.windows if w["kind"] in ("service-restart", "service-stall", "daemon-kill", "power-cut",
                                                       "log-disk-full")]
    measured = [0, 0.0, 0]  # stretches, the longest, those of a process without its link setup

    def judge(start, when, length, exempt):
        if exempt:
            return
        measured[0] += 1
        measured[1] = max(measured[1], length)
        measured[2] += idle != IDLE_TIME
        if length > limit_of(idle):
            failures.append("idle link: up %.1f s (%.0f s of the road) with nothing sent, "
                            "from %s to %s (limit %.0f s of the road)" % (
                                length, length * driver.scale, stamp_of(start), stamp_of(when),
                                limit_of(idle) * driver.scale))

    pid = state = start = run = last = None
    idle = IDLE_TIME
    lt = lt_seen = False
    busy = 0.0
    for when, line_pid, text in log_lines(vehicle.log):
        if line_pid != pid:
            # A killed process's stretch counts up to its last line.
            if start is not None and run is None:
                judge(start, last, last - start - busy, lt_seen or within(held, ("service-restart", "service-stall"),
                                                                            start, last))
            pid, state, start, run, lt, idle = line_pid, None, None, None, False, IDLE_TIME
        last = when
        # The read at start comes before the link's first state; later
        # reads (the info file's) leave the link's setup alone.
        if "getSetupGsmGprs returns NULL" in text and state is None:
            idle = NO_SETUP_IDLE_TIME
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
            judge(start, when, length, lt_seen or any(w["begin"] <= when and (w["end"] or when) >= start
                                                      for w in held))
            start = None
        state = new_state
    if not measured[0]:
        failures.append("idle link: no stretch of idle link was measured")
    figures["idle links measured, longest"] = "%d, %.0f s of the road (idle time %d s, limit %.0f s; %d of a " \
        "process without its link setup: idle time %d s, limit %.0f s)" % (
            measured[0], measured[1] * driver.scale, IDLE_TIME, limit * driver.scale, measured[2], NO_SETUP_IDLE_TIME,
            limit_of(NO_SETUP_IDLE_TIME) * driver.scale)


TRANSFER_WAIT = 180   # the daemon's wait for a word from the FTP client, s of the road
# Faults that keep the FTP client's word from the daemon: a hung client,
# the service gone or holding a reply back, the daemon killed, a power cut.
SILENCERS = ("client-hang", "service-restart", "service-stall", "daemon-kill", "power-cut")
STATUS_LINES = ("Transfer state of ", "Transfer state '")


def within(windows, kinds, begin, end):
    """Whether a window of one of the kinds overlaps [begin, end] (wall time)."""
    return any(w["kind"] in kinds and w["begin"] <= end and (w["end"] or end) >= begin for w in windows)


def check_transfer_waits(vehicle, driver, failures, figures):
    """A healthy FTP client reports well within the daemon's wait, sped up
    as it is: every "Timeout in FTP-Transfer" needs a fault that kept the
    client's word away (or a refused read of the transfer status). The
    longest silence of a healthy client is the margin the run had."""
    wait = TRANSFER_WAIT / driver.scale
    longest = busy = 0.0
    held = 0
    pid = last = refused = run = None
    for when, line_pid, text in log_lines(vehicle.log):
        if line_pid != pid:
            pid, last, run = line_pid, None, None
        if "'getRuntimeFtpTransferStatus' returns NULL" in text:
            refused = when
        # A file run holds the daemon's one thread: reports wait meanwhile.
        if RUN_BEGINS in text:
            run = when
        elif run is not None and any(end in text for end in RUN_ENDS):
            busy, run = busy + when - max(run, last or run), None
        if "Start transfer: TransferType" in text or "INFO-File created" in text:
            last, busy = when, 0.0
        elif last is not None and (any(t in text for t in STATUS_LINES) or "Timeout in FTP-Transfer" in text):
            excused = within(driver.windows, SILENCERS, last, when) or (refused is not None and refused >= last)
            silence = when - last - busy
            if not excused:
                longest = max(longest, silence)
            if "Timeout" in text and not excused:
                if busy > 0 and silence < wait:
                    # The step that builds files runs before the wait is
                    # judged, and the reports that came meanwhile are
                    # still queued: sped up, a run over the unhurried bus
                    # can outlast the wait.
                    held += 1
                elif silence < wait:
                    failures.append("time-outs: \"Timeout in FTP-Transfer\" at %s only %.3f s after the client's "
                                    "last word, short of the wait of %.3f s" % (stamp_of(when), silence, wait))
                else:
                    failures.append("time-outs: \"Timeout in FTP-Transfer\" at %s, the client silent for %.3f s "
                                    "with no hung client or other fault to keep it so" % (stamp_of(when), silence))
            last, busy = (None if "Timeout" in text else when), 0.0
        elif "File transfer finished" in text:
            last = None
    figures["FTP client's longest silence"] = "%.3f s; the daemon waits %.3f s (%d s of the road), margin %.3f s" % (
        longest, wait, TRANSFER_WAIT, wait - longest)
    figures["time-outs after a file run held the daemon"] = str(held)


def row_time(vehicle, driver, figures):
    """Time per logbook row of the automatic runs, through the real bus and
    the service: each run's span in the daemon's log over the rows it moved
    the progress by (the next run's first row), less the pause between rows,
    which the speed-up shortens."""
    runs, begun = [], {}
    for when, pid, text in log_lines(vehicle.log):
        m = re.search(r"Local time: .* Next ID (\d+)", text)
        if m:
            begun[pid] = (when, int(m.group(1)))
        elif "Finish GetAutoLogbookData()" in text and pid in begun:
            runs.append((pid,) + begun.pop(pid) + (when,))
        elif "Finish GetManLogbookData()" in text:
            begun.pop(pid, None)
    rows, seconds = 0, 0.0
    for (pid, start, first, end), (heir, _, after, _) in zip(runs, runs[1:]):
        if pid == heir and after > first:
            rows, seconds = rows + after - first, seconds + end - start
    pause = 0.010 / driver.scale
    if rows:
        figures["time per logbook row, automatic runs"] = "%.2f ms over the bus (%d rows; the %.3f ms pause taken off)" % (
            (seconds / rows - pause) * 1000, rows, pause * 1000)


def client_lines(vehicle):
    """(wall-clock second, text) of the stand-in FTP client's log."""
    try:
        lines = open(os.path.join(vehicle.root, "var/log/ftp_client.log"), errors="replace").read().splitlines()
    except OSError:
        return []
    out = []
    for line in lines:
        stamp, _, text = line.partition(" ")
        try:
            when = datetime.datetime.strptime(stamp, "%Y-%m-%dT%H:%M:%SZ")
        except ValueError:
            continue
        out.append((when.replace(tzinfo=datetime.timezone.utc).timestamp(), text))
    return out


def windows_hit(driver, kind, lines, texts, slack):
    """How many windows of a fault kind hold at least one of the lines."""
    return sum(1 for w in driver.windows if w["kind"] == kind and any(
        w["begin"] - slack <= when <= (w["end"] or when) + slack and any(t in text for t in texts)
        for when, text in lines))


def held_lines(vehicle, driver):
    """(wall-clock seconds, text) of each log line that reached the log
    file only after a full log disk had room again (the daemon keeps what
    it could not write and writes it later, so such a line is copied long
    after its stamp), and of each rotation on the full disk (its copy of the
    log cannot be made there, and what was held goes with the old file)."""
    held, start = [], 0
    with open(vehicle.log, "rb") as whole:
        data = whole.read()
    windows = [w for w in driver.windows if w["kind"] == "log-disk-full"]
    for end, copied, what in getattr(driver, "log_chunks", []):
        if what == "rotated":
            held += [(copied, "rotated") for w in windows if w["begin"] <= copied <= w["end"]]
            continue
        for line in data[start:end].decode(errors="replace").splitlines():
            m = LINE.match(line)
            if not m:
                continue
            when = log_stamp(m.group(2))
            if any(w["begin"] <= when <= w["end"] - 0.3 and copied >= w["end"] for w in windows):
                held.append((when, m.group(3)))
        start = end
    return held


PROGRESS_FAULTS = ("error reply to getSetupGsm", "empty reply to getSetupGsm", "failure code to setSetupGsm")


def progress_faults_hit(vehicle):
    """How many faults on the progress record the service has played."""
    return sum(what in PROGRESS_FAULTS for _, what in service_fault_lines(vehicle))


def count_faults(plan, vehicle, driver, held, failures, figures):
    """Each fault kind counted from what it left behind: the FTP client's
    hanging and failing runs and its uploads refused while the back office
    was down, the service's error and held-back replies, the daemon's write
    errors on a full disk and its failed calls while the service was gone,
    pppd and daemon processes killed. A planned kind never hit proves
    nothing, so it fails the run."""
    planned = collections.Counter(f["kind"] for f in plan["faults"])
    client = client_lines(vehicle)
    daemon = [(when, text) for when, _, text in log_lines(vehicle.log)]
    service = collections.Counter(what for _, what in service_fault_lines(vehicle))
    errors = collections.Counter(what[len("error reply to "):] for what in service.elements()
                                 if what.startswith("error reply to "))
    evidence = {
        "client-hang": lambda: sum("hanging as asked" in t for _, t in client),
        "client-fail": lambda: sum("failing as asked" in t for _, t in client),
        "office-down": lambda: windows_hit(driver, "office-down", client, ("failed: upload to", "listing failed"), 1),
        "disk-full": lambda: windows_hit(driver, "disk-full", daemon, ("No space left on device", "write error on "), 0.5),
        "log-disk-full": lambda: windows_hit(driver, "log-disk-full", held, ("",), 0),
        "service-restart": lambda: windows_hit(driver, "service-restart", daemon, ("returns NULL", "Dbus-Error"), 0),
        "service-error": lambda: sum(errors.values()) - errors["getSetupGsm"],
        "progress-fault": lambda: progress_faults_hit(vehicle),
        "service-stall": lambda: sum(n for what, n in service.items() if what.endswith(" held back")),
        "daemon-kill": lambda: vehicle.supervisor.kills,
    }
    hit = {kind: evidence.get(kind, lambda: driver.faults[kind])() for kind in planned}
    for kind, n in sorted(planned.items()):
        if not hit[kind] and not driver.skipped[kind]:
            failures.append("faults: %s planned %d times, never hit" % (kind, n))
    figures["faults hit (planned)"] = ", ".join("%s %d (%d)" % (k, hit[k], n) for k, n in sorted(planned.items()))
    asked = collections.Counter()
    for f in plan["faults"]:
        if f["kind"] == "service-error":
            asked[f["operation"]] += f["count"]
    unhit = ["%s %d" % (op, n - errors[op]) for op, n in sorted(asked.items()) if n > errors[op]]
    if asked:
        figures["service error replies unhit at the drain"] = ", ".join(unhit) or "none"


def process_line(pid):
    try:
        return "%d %s" % (pid, open("/proc/%d/cmdline" % pid).read().replace("\0", " ").strip())
    except OSError:
        return str(pid)


def check_pppd(vehicle, failures):
    """Never two dial-ups at once: the stand-in pppd notes each start that
    found another one of the run alive."""
    try:
        lines = open(os.path.join(vehicle.root, "var/log/pppd.log"), errors="replace").read().splitlines()
    except OSError:
        return
    for line in lines:
        if " while " in line:
            failures.append("processes: two pppd at once: %s" % line)


def stamp_of(wall):
    return datetime.datetime.fromtimestamp(wall, datetime.timezone.utc).strftime("%H:%M:%S.%f")[:-3]


WARM_UP = 6 * 3600      # s of the road a process runs before its memory is its own
GROWTH = 0.10           # what its RssAnon may grow by from then to its end
LONG_LIVED = planning.DAY


def check_held(driver, failures, figures):
    """Each daemon process against itself: RssAnon at its last sample within
    GROWTH of its sample after WARM_UP, descriptors within two of it. A week
    holds a process of three days (the plan's quiet days)."""
    samples = [s for s in driver.samples if s["rss"] is not None and s["pid"]]
    if len(samples) < 2:
        failures.append("memory: too few samples (%d)" % len(samples))
        return
    by_pid = collections.OrderedDict()
    for s in samples:
        by_pid.setdefault(s["pid"], []).append(s)
    # AddressSanitizer keeps freed memory aside for a while (its
    # quarantine), so there only the descriptors are judged.
    with open(os.path.join(driver.vehicle.build, "ftp_data"), "rb") as binary:
        sanitized = b"__asan_init" in binary.read()
    judged, oldest = 0, None
    for pid, own in by_pid.items():
        born = own[0]["t"]
        warm = next((s for s in own if s["t"] - born >= WARM_UP), None)
        if warm is None:
            continue
        judged += 1
        last = own[-1]
        if not sanitized and last["rss"] > warm["rss"] * (1 + GROWTH):
            failures.append("memory: process %d grew from RssAnon %d KiB at %s to %d KiB at %s of the road (%d %%)"
                            % (pid, warm["rss"], planning.stamp(warm["t"]), last["rss"], planning.stamp(last["t"]),
                               round(100 * (last["rss"] - warm["rss"]) / warm["rss"])))
        if last["fds"] > warm["fds"] + 2:
            failures.append("memory: process %d held %d descriptors at %s of the road, %d after its warm-up"
                            % (pid, last["fds"], planning.stamp(last["t"]), warm["fds"]))
        if oldest is None or last["t"] - born > oldest[0]:
            peak = max(own, key=lambda s: s["rss"])
            oldest = (last["t"] - born, pid, warm["rss"], last["rss"], peak["rss"], peak["t"] - born)
    if driver.plan["days"] >= 6 and (oldest is None or oldest[0] < 3 * LONG_LIVED - 2 * 3600):
        failures.append("memory: no process lived through the quiet days (the oldest %.1f days)"
                        % ((oldest or (0,))[0] / planning.DAY))
    figures["processes judged for memory"] = "%d of %d%s" % (judged, len(by_pid), ", RssAnon not judged: sanitizer build"
                                                              if sanitized else "")
    if oldest:
        figures["oldest process"] = ("%.1f days: RssAnon %d KiB warmed up, %d KiB at its end, peak %d KiB at %.1f h"
                                     % (oldest[0] / planning.DAY, oldest[2], oldest[3], oldest[4], oldest[5] / 3600))
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


SERVED = re.compile(r" tankora-service: served (logbook|tracking) row (\d+)$")


def check_rows_read(vehicle, driver, store, failures):
    """The progress passes only rows the daemon read: every stored row
    below the progress at the drain was served at least once. A row that
    makes no FTL line leaves nothing else to show that it was skipped."""
    served = collections.defaultdict(set)
    for m in service_lines(vehicle, SERVED):
        served[m.group(1)].add(int(m.group(2)))
    drained = driver.drained if isinstance(driver.drained, dict) else {}
    for field, book in (("rows", "logbook"), ("tracking", "tracking")):
        progress = drained.get(field) or 0
        unread = sorted(rid for (b, _), rid in store.items() if b == book and rid < progress and rid not in served[book])
        if unread:
            failures.append("progress: %s passed %d %s rows never read: %s" % (
                field, len(unread), book, ", ".join(map(str, unread[:10]))))


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


def run_starts(vehicle):
    """{file time "yyyyMMddhhmmss": [the first row ID of each automatic run
    of that file time]} from the daemon's "Local time" lines."""
    starts = collections.defaultdict(list)
    for _, _, text in log_lines(vehicle.log):
        m = re.search(r'Local time: +"(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d),\d{3}" , diff -?\d+ , Next ID (\d+)',
                      text)
        if m:
            starts["".join(m.groups()[:6])].append(int(m.group(7)))
    return starts


def check_deliveries(vehicle, main_rows, sent, store, failures):
    """Level and meter files: each level row's line goes, besides its event
    file, once into the level file (a compartment) or the meter file of its
    metering position, after the line of the latest position row its run
    read before it, if the run read one. Returns the rows whose line
    arrived there twice."""
    levels = {planning.line_stamp(r["t"]): r for r in main_rows if planning.delivery_file(r["row"])}
    rid = {planning.line_stamp(r["t"]): store.get(("logbook", row_stamp_ms(r))) for r in main_rows}
    positions = sorted((rid[planning.line_stamp(r["t"])], r["lines"]) for r in main_rows
                       if r["row"]["type"] == 6 and r.get("usable") and rid[planning.line_stamp(r["t"])])
    starts = run_starts(vehicle)
    delivered = Rows()
    for name, path in sent:
        if not name.startswith(("LEV", "MTR")):
            continue
        lines = body_lines(path)
        delivered.add(name, [line for line in lines if line.startswith("11,")], path)
        group = []
        for line in lines:
            group.append(line)
            if not line.startswith("11,"):
                continue
            key = line.split(",")[1]
            level, own = levels.get(key), rid.get(key)
            if level is None or own is None:
                group = []
                continue  # a line of no level row: the row check names it
            if not name.startswith(planning.delivery_file(level["row"])):
                failures.append("delivery files: %s in %s, not in a %s file" % (
                    line, name, planning.delivery_file(level["row"])))
            first = max([k for k in starts.get(name[-18:-4], []) if k <= own] or [own])
            read = [lines_of_gps for g, lines_of_gps in positions if first <= g < own]
            expected = (read[-1] if read else []) + [line]
            if group != expected:
                failures.append("delivery files: %s in %s, expected %s (the run's rows from %d)" % (
                    " | ".join(group), name, " | ".join(expected), first))
            group = []
        if group:
            failures.append("delivery files: %s ends in %s, no level line after it" % (name, " | ".join(group)))
    return check_rows(delivered, list(levels.values()), store, "logbook", "delivery files", failures)


# What the daemon logs when it has done what an operator asked for.
ANSWERS = {"gps": "Finish GetGpsData()", "info": "INFO-File created", "data-test": "New data test file created:",
           "service-test": "New service test file created:", "update-test": "New update test file created:"}
# What may keep a request from its answer: the daemon gone, the service
# gone, no room for the file.
REQUEST_FAULTS = ("daemon-kill", "power-cut", "service-restart", "service-stall", "disk-full", "log-disk-full")
# What may fail the upload of a test file.
UPLOAD_FAULTS = ("client-fail", "client-hang", "office-down")
MARKER = re.compile(r"^20,\d{14},6[34]$")


def manual_window_rows(main_rows, start, end):
    """The lines a manual event file for start..end holds: from the first
    row stored at start or later, every row in storing order until one
    stored after end."""
    lines, taken = [], False
    for row in sorted(main_rows, key=lambda r: r["t"]):
        when = row["row"]["time"]
        taken = taken or when >= start
        if taken and when > end:
            break
        if taken:
            lines += row["lines"]
    return lines


def manual_runs(log):
    """{(start, end) as the log quotes them: [{"wall", "files" (the event
    files written), "finished" (when, or False), "write_errors" (on its
    event file)}]} of every manual run."""
    runs, current = collections.defaultdict(list), {}
    for when, pid, text in log:
        m = re.search(r'Filter start \(UTC\) "([^"]+)" , end \(UTC\) "([^"]+)"', text)
        if m:
            current[pid] = {"wall": when, "files": [], "finished": False, "write_errors": 0}
            runs[m.groups()].append(current[pid])
        elif pid in current:
            m = re.search(r'Start creation of new file: "[^"]*/(EVEm[^"/]+)"', text)
            if m:
                current[pid]["files"].append(m.group(1))
            elif re.search(r"write error on \S*/EVEm", text):
                current[pid]["write_errors"] += 1
            elif "Finish GetManLogbookData()" in text:
                current.pop(pid)["finished"] = when
    return runs


# How the daemon refuses a request when the settings of its server are
# disabled, and the read that leaves them so when it brings nothing at the
# process's start (they are read again only when the service says they
# changed).
REFUSALS = {"gps": ("gps file trigger ignored", "getSetupGsmGprsFtpData"),
            "manual": ("data file trigger ignored", "getSetupGsmGprsFtpData"),
            "info": ("info file trigger ignored", "getSetupGsmGprsFtpService"),
            "data-test": ("data test file transfer is disabled", "getSetupGsmGprsFtpData"),
            "service-test": ("service test file transfer is disabled", "getSetupGsmGprsFtpService"),
            "update-test": ("update test file transfer is disabled", "getSetupGsmGprsFtpUpdate")}


def refused_without_setup(log, wall, kind, until):
    """Whether the daemon refused the request, between wall and until, in a
    process whose read of that server's settings brought nothing."""
    refusal, setup = REFUSALS[kind]
    unread = collections.defaultdict(set)
    for when, pid, text in log:
        if when > until:
            break
        if " returns NULL" in text:
            unread[pid].add(text.split(" :  ")[-1].split(" returns NULL")[0])
        elif when >= wall and refusal in text:
            return setup in unread[pid]
    return False


def gps_run_failed_at_progress(log, wall):
    """Whether the GPS run that took the first GPS request after wall ended
    at its read of the progress record (the next such read of that process
    brought nothing); the request is spent either way."""
    pid = None
    for when, line_pid, text in log:
        if pid is None:
            if when >= wall and "Trigger for GPS-File transfer received" in text:
                pid = line_pid
        elif line_pid == pid and ("Local time: " in text or "getSetupGsm returns NULL" in text):
            return "getSetupGsm returns NULL" in text
    return False


def lt_server_at_gps_trigger(log, wall):
    """Whether the LT server kept the link when the daemon took the first
    GPS request after wall. The soak's truck has GPS tracking off
    (CSetGpsTracking mode 1), so such a request is dropped, no file made."""
    lt = {}
    for when, pid, text in log:
        if "LtServerEnabled = " in text:
            lt[pid] = text.rstrip().endswith("true")
        elif when >= wall and "Trigger for GPS-File transfer received" in text:
            return lt.get(pid, False)
    return False


def check_requests(plan, vehicle, driver, sent, failures, figures):
    """Each operator request is answered after it was made: a GPS run, an
    info file, a test file that reaches the back office, within two hours
    of the road (requests of one kind made before its run share the
    answer, as they share the request flag), or a manual event file with
    exactly the rows of its window. A request left unanswered needs a fault
    after it that explains it, one request per fault."""
    log = list(log_lines(vehicle.log))
    received = collections.defaultdict(list)
    for name, path in sent:
        received[name].append(path)
    main_rows = [r for r in plan["rows"] if r["book"] == "main"]
    runs = manual_runs(log)
    # An error reply to a row read ends a run as the end of the rows does.
    row_errors = service_faults(vehicle, "error reply to getLogbook")
    used_runs, used_faults, used_errors = set(), set(), set()
    judged, answered, explained = 0, 0, collections.Counter()

    def quoted(stamp):
        return stamp.replace("T", " ").rstrip("Z") + ",000"

    def take_row_error(run):
        """One error reply inside the run, not yet tied to a request."""
        error = next((i for i, when in enumerate(row_errors) if i not in used_errors
                      and run["wall"] - JITTER_S <= when <= (run["finished"] or run["wall"]) + JITTER_S), None)
        if error is not None:
            used_errors.add(error)
        return error is not None

    for wall, request in driver.requests:
        kind = "manual" if request["kind"] == "manual" else request["names"][0]
        problem, until, faults = None, 0, REQUEST_FAULTS
        # A held-back reply that held the daemon when the request came
        # puts it off.
        due = wall
        for w in driver.windows:
            if w["kind"] == "service-stall" and w["begin"] <= due <= w["end"]:
                due = w["end"]
        if kind == "manual":
            run = next((r for r in runs.get((quoted(request["start"]), quoted(request["end"])), [])
                        if r["wall"] >= wall and id(r) not in used_runs), None)
            expected = collections.Counter(manual_window_rows(main_rows, request["start"], request["end"]))
            if run is None:
                problem = "no manual run"
            else:
                used_runs.add(id(run))
                until = run["finished"] or 0  # a reply held back or failed ends the run short
                files = [p for name in run["files"] for p in received.get(name, [])[:1]]
                got = collections.Counter(l for p in files for l in body_lines(p) if not MARKER.match(l))
                if not run["finished"]:
                    problem = "its run did not finish"
                elif got != expected:
                    problem = "its event file holds %d lines, the window %d (%d differ)" % (
                        sum(got.values()), sum(expected.values()), sum(((got - expected) + (expected - got)).values()))
        elif kind in ANSWERS:
            answer = next((i for i, (when, _, text) in enumerate(log)
                           if when >= wall and ANSWERS[kind] in text), None)
            if answer is None or log[answer][0] > due + 7200 / driver.scale + JITTER_S:
                problem = "never answered"
                # A GPS run that a fault stopped leaves its request waiting.
                until = next((when for when, _, text in log if kind == "gps" and "GPS file run stopped at row" in text
                              and wall <= when <= due + 7200 / driver.scale + JITTER_S), 0)
            else:
                m = re.search(r'created: "[^"]*/([^"/]+)"', log[answer][2])
                if m and m.group(1) not in received:
                    problem = "%s never reached the back office" % m.group(1)
                    # A test file whose upload failed is removed, not sent
                    # again: the fault that failed it explains it.
                    faults += UPLOAD_FAULTS
                    until = next((when for when, _, text in log[answer:] if m.group(1) in text
                                  and "failed. File removed" in text), 0)
        else:
            continue
        judged += 1
        if problem is None:
            answered += 1
            continue
        # What the daemon or the service did that spends the request, in
        # the order they are looked for: the first that holds explains it.
        evidence = (
            ("refused by a process started without its server's settings",
             lambda: refused_without_setup(log, wall, kind, due + 7200 / driver.scale + JITTER_S)),
            ("GPS request dropped while the LT server kept the link",
             lambda: kind == "gps" and lt_server_at_gps_trigger(log, wall)),
            ("manual run that met a full disk", lambda: kind == "manual" and run is not None and run["write_errors"]),
            ("GPS run ended at a failed progress read", lambda: kind == "gps" and gps_run_failed_at_progress(log, wall)),
            ("row read error", lambda: kind == "manual" and run is not None and take_row_error(run)),
        )
        label = next((label for label, holds in evidence if holds()), None)
        if label:
            explained[label] += 1
            continue
        # The fault must be on when the request is made or begin within a
        # minute of the road after it was due, or before its run ended.
        cause = next((i for i, w in enumerate(driver.windows) if w["kind"] in faults
                      and i not in used_faults and (w["end"] or float("inf")) >= wall
                      and w["begin"] <= max(due + 60 / driver.scale + JITTER_S, until)), None)
        if cause is None:
            failures.append("requests: %s asked at %s: %s" % (kind, stamp_of(wall), problem))
            continue
        used_faults.add(cause)
        explained[driver.windows[cause]["kind"]] += 1
    figures["operator requests answered"] = "%d of %d%s" % (answered, judged, "; the rest explained by " + ", ".join(
        "%s %d" % kv for kv in sorted(explained.items())) if explained else "")


def header_table():
    """[(what explains it, lines with "T" for the stamp)] of sim/soak/header.tsv."""
    table = []
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "header.tsv"), encoding="utf-8") as f:
        for text in f:
            if text.strip() and not text.startswith("#"):
                cause, lines = text.rstrip("\n").split("\t")
                table.append((cause, lines.split(" | ")))
    return table


def header_warnings(vehicle):
    """({file name: [the warnings of each time the daemon wrote its header]},
    {names of the files made with a header only}): the "returns NULL" lines
    right after "Start creation of new file:", or right before the line that
    says a header-only file was made."""
    lines = list(log_lines(vehicle.log))
    found, header_only = collections.defaultdict(list), set()
    for i, (_, pid, text) in enumerate(lines):
        m = re.search(r'(Start creation of new file:|created:) "([^"]+)"', text)
        if not m:
            continue
        if "(empty file for time trigger)" in text:
            header_only.add(os.path.basename(m.group(2)))
        step = 1 if m.group(1).startswith("Start") else -1
        warned, j = set(), i + step
        while 0 <= j < len(lines) and lines[j][1] == pid and " returns NULL" in lines[j][2]:
            warned.add(lines[j][2].split(" :  ")[-1].strip())
            j += step
        found[os.path.basename(m.group(2))].append(warned)
    return found, header_only


def check_headers(vehicle, sent, failures):
    """Every FTL and test file starts with the truck's header, stamped with
    its first body line (a file made with a header only: a stamp of its own,
    kept when a run of the same second adds its lines). A header of
    defaults needs the failed read that explains it."""
    table, (warnings, header_only) = header_table(), header_warnings(vehicle)
    product_errors = sum(what == "error reply to getSetupProductWM" for _, what in service_fault_lines(vehicle))
    for name, path in sent:
        if not name.startswith(("EVE", "LEV", "MTR", "TK_")):
            continue
        lines = ftl_lines(path)
        head = lines[:next((i + 1 for i, l in enumerate(lines) if l.startswith("92,")), len(lines))]
        body = lines[len(head):]
        stamps = {l.split(",")[1] for l in body[:1] + head[:1 if name in header_only or not body else 0]}
        header = [",".join("T" if i == 1 and f in stamps else f for i, f in enumerate(l.split(","))) for l in head]
        causes = [cause for cause, expected in table if expected == header]
        said = set().union(*warnings.get(name, [set()]))
        if "-" in causes:
            continue
        if any(set(cause.split(" + ")) <= said for cause in causes):
            continue
        if "error reply to getSetupProductWM" in causes and product_errors > 0:
            product_errors -= 1
            continue
        failures.append("headers: %s starts %s, %s" % (
            name, " | ".join(head), "explained by %s, which did not happen" % " or ".join(causes) if causes
            else "not the truck's header"))


def check(plan, vehicle, driver, drained, exit_code, resent_after_cut=None):
    failures, figures = [], collections.OrderedDict()
    store = vehicle.rows_in_store()
    sent = archive(vehicle)
    kinds = collections.Counter()
    events, gps = Rows(), Rows()
    for name, path in sent:
        kind = re.match(r"(EVEl|EVEm|LEV|MTR|GPS_|TK_|tk_|mail_)?", name).group(1) or "other"
        kinds[kind] += 1
        if kind == "EVEl":
            events.add(name, body_lines(path), path)
        elif kind == "GPS_":
            gps.add(name, ftl_lines(path), path)

    if not drained:
        failures.append("drain: the vehicle did not settle after the last fault: %s" % driver.drained)
    main_rows = [r for r in plan["rows"] if r["book"] == "main"]
    tracking_rows = [r for r in plan["rows"] if r["book"] == "tracking"]
    twice = check_rows(events, main_rows, store, "logbook", "event rows", failures)
    # A tracking line must sit in the file of its own local day.
    for key, found in gps.seen.items():
        for name, _, _ in found:
            if name != "GPS_%s.ftl" % key[:8]:
                failures.append("tracking rows: line stamped %s in %s" % (key, name))
    twice += check_rows(gps, tracking_rows, store, "tracking", "tracking rows", failures)
    kills = vehicle.supervisor.kills
    tied = explain_twice(twice, vehicle, driver, dict(resent_after_cut or {}), failures)
    # A level line goes twice into its level or meter file when its event
    # line does, or when the run ended between the two.
    delivered_twice = check_deliveries(vehicle, main_rows, sent, store, failures)
    tied += explain_twice(delivered_twice, vehicle, driver, dict(resent_after_cut or {}), failures)
    twice += delivered_twice
    final = driver.drained or {}
    for row in main_rows:
        rid = store.get(("logbook", row_stamp_ms(row)))
        if rid is None or rid >= final.get("rows", 0):
            failures.append("event rows: row %s (%s) not covered by the automatic runs (progress %s)"
                            % (rid, row["row"]["time"], final.get("rows")))
            break

    mails = {e["name"]: e["text"] for e in plan["events"] if e["kind"] == "mail"}
    copies = collections.Counter(name for name, _ in sent if name in mails)
    tied_mails = explain_mail_copies(vehicle, driver, sent, mails, dict(resent_after_cut or {}), failures)
    for name, text in mails.items():
        bodies = [open(path).read() for n, path in sent if n == name]
        if not bodies:
            failures.append("mailbox: %s never arrived" % name)
        elif any(body != text for body in bodies):
            failures.append("mailbox: %s arrived changed" % name)
    if vehicle.pending():
        failures.append("outgoing: files left behind: %s" % ", ".join(vehicle.pending()[:10]))

    check_whole_files(vehicle, sent, failures)
    check_headers(vehicle, sent, failures)
    check_requests(plan, vehicle, driver, sent, failures, figures)
    check_idle(vehicle, driver, failures, figures)
    check_transfer_waits(vehicle, driver, failures, figures)
    row_time(vehicle, driver, figures)
    held = held_lines(vehicle, driver)
    count_faults(plan, vehicle, driver, held, failures, figures)
    check_held(driver, failures, figures)
    check_progress(driver, store, failures)
    check_rows_read(vehicle, driver, store, failures)
    errors = open(os.path.join(vehicle.root, "daemon.err"), errors="replace").read()
    for m in list(SANITIZER.finditer(errors))[:3]:
        failures.append("sanitizer: %s" % errors[m.start():m.start() + 200].splitlines()[0])
    for when, code in vehicle.supervisor.unexpected:
        failures.append("daemon: ended by itself with %s at %s" % (code, stamp_of(when)))
    peak, bound, rotations, peak_at = getattr(driver, "log_peak", (0, 0, 0, None))
    figures["log directory peak"] = "%d KiB (bound %d KiB), %d rotations" % (peak // 1024, bound // 1024, rotations)
    # The lines a full log disk held go into the file at once when it has
    # room, past the size the daemon looks at only before each line.
    held_bytes = sum(len(text) + 40 for when, text in held if text != "rotated"
               and any(w["begin"] <= when <= w["end"] and w["begin"] <= (peak_at or 0) <= w["end"] + 2
                       for w in driver.windows if w["kind"] == "log-disk-full"))
    if peak > bound + held_bytes:
        failures.append("log: the log directory held %d bytes, past %d%s" % (
            peak, bound, " and the %d bytes a full log disk held" % held_bytes if held_bytes else ""))
    elif peak > bound:
        figures["log directory peak"] += ", %d bytes past it held by a full log disk" % (peak - bound)
    for pid in getattr(driver, "left_over", []):
        failures.append("processes: %s left after the final SIGTERM" % process_line(pid))
    check_pppd(vehicle, failures)
    if exit_code != 0:
        failures.append("daemon: SIGTERM at the end gave exit code %s, not 0" % exit_code)

    figures["logbook rows"] = "%d (%d with FTL lines), %d tracking rows" % (
        len(main_rows), sum(1 for r in main_rows if r["lines"]), len(tracking_rows))
    figures["files at the back office"] = "%d: %s" % (len(sent), ", ".join(
        "%s %d" % (k.rstrip("_"), n) for k, n in sorted(kinds.items())))
    figures["bytes at the back office"] = str(sum(os.path.getsize(p) for _, p in sent))
    figures["rows sent twice"] = "%d (daemon killed %d times): %s" % (
        sum(copies - 1 for *_, copies in twice), kills, ", ".join("%s %d" % kv for kv in sorted(tied.items())) or "none")
    figures["mailbox files sent more than once"] = "%d: %s" % (
        sum(1 for n in copies.values() if n > 1), ", ".join("%s %d" % kv for kv in sorted(tied_mails.items())) or "none")
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
