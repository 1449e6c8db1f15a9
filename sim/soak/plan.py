"""A truck's days and the faults that meet them, drawn from one seed.

Everything here is pure: the same seed and day count give the same rows,
requests, state changes and faults, so a failed soak can be replayed.
Times are seconds of truck time from BASE; row time stamps are BASE + t.
"""
import datetime
import os
import random

import table

BASE = datetime.datetime(2027, 3, 1, tzinfo=datetime.timezone.utc)
DAY = 86400
# The truck profile's fixed zone <+01>-1: event lines carry UTC + 1 h.
OFFSET = 3600
BATCH = 600          # rows reach the logbook in batches of ten truck minutes
COMPARTMENTS = 4

# Operations only the daemon calls: a fault on them never meets a tool of
# the stand-in vehicle. The progress record (getSetupGsm, setSetupGsm) has
# faults of its own below.
ERROR_OPERATIONS = ["getLogbook", "getLogbook", "getLogbook", "getLogbookDataTracking",
                    "getLogbookDataTracking", "setLogbookGsmFtp", "getRuntimeFtpTransferStatus",
                    "getRuntimeGsm", "getSetupGsmGprs", "getSetupGeneralNonWM", "getSetupProductWM"]
STALL_OPERATIONS = ["getLogbook", "getRuntimeGsm", "getRuntimeFtpTransferStatus"]

# Faults per day: kind -> (how many, shortest and longest duration in s).
FAULTS_PER_DAY = {
    "pppd-kill": (2, 0, 0),
    "client-hang": (1, 1200, 3600),
    "client-fail": (1, 1200, 3600),
    "office-down": (1, 1800, 7200),
    "service-restart": (1, 120, 900),
    "service-error": (3, 0, 0),
    "service-stall": (1, 0, 0),
    "disk-full": (1, 900, 3600),
    "log-disk-full": (1, 600, 1800),
    "daemon-kill": (2, 0, 0),
    "progress-fault": (3, 0, 0),
}
# A held-back reply keeps the daemon for its call time-out, 25 s of the
# wall clock: over four hours of the road at the soak's 600 times. No
# client, office or disk fault is planned in that time, as nothing could
# meet it.
STALL_HOLD = 5 * 3600
# The calls that read and write the progress, each faulted once a day: a
# read that fails or brings an empty record, a write refused with a code.
PROGRESS_FAULTS = [("getSetupGsm", "error"), ("getSetupGsm", "empty"), ("setSetupGsm", "refuse")]


def stamp(t):
    return (BASE + datetime.timedelta(seconds=t)).strftime("%Y-%m-%dT%H:%M:%SZ")


def line_stamp(t):
    """Field 2 of the FTL line of a row stamped at t."""
    return (BASE + datetime.timedelta(seconds=t + OFFSET)).strftime("%Y%m%d%H%M%S")


def fix(t, rng, usable=True):
    if not usable:  # near 0°, 0°: the GPS file drops it
        return {"latitude": 0.1, "longitude": 0.2, "altitude": 50.0, "time": stamp(t)}
    return {"latitude": round(rng.uniform(50.0, 54.0), 5), "longitude": round(rng.uniform(7.0, 12.0), 5),
            "altitude": round(rng.uniform(20.0, 300.0), 1), "time": stamp(t)}


TABLE = table.load(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
# The planner's names for the table's classes.
DRAWN = {"cop": "COP", "spd": "SPD", "loading": "LOADING", "discharge": "DISCHARGE", "gps": "GPS", "smp": "SMP",
         "seal": "SEAL", "level": "LEVEL"}
# Where an automatic run puts a level row's line besides its event file: a
# compartment's in the level file, a metering position's in its meter file.
DELIVERY_FILES = {100: "MTR1d", 101: "MTR2d", 102: "MTR3d"}


def delivery_file(row):
    """The prefix and tag of the level or meter file a level row's line goes to."""
    return DELIVERY_FILES.get(row["compartment"], "LEVl") if row["type"] == 7 else None


def template(rng, name, t):
    """One logbook row: (profile row, the exact lines it gives in an event
    file, whether its conversion is usable).

    Most rows are drawn from the unit tests' table with their lines; the
    rest give none.
    """
    if name in DRAWN:
        entry = rng.choice(TABLE[DRAWN[name]])
        return (table.profile_row(DRAWN[name], entry, stamp(t), OFFSET), table.expected(entry, line_stamp(t)),
                entry.get("usable", True))
    row = {"time": stamp(t), "compartment": -1}
    kinds = {
        "fpm": (23, 15000, ["pump", 1, 1.0, 2.0, 3.0, 0]),
        "gsm-ftp": (17, 9000, ["GPRS", "connected"]),
    }
    if name in kinds:
        row["type"], row["subtype"], row["payload"] = kinds[name]
        return row, [], False
    if name == "error":  # no FTL form
        row.update({"type": 5, "subtype": 4201, "kinds": "i s", "payload": [4, "CAN bus off"]})
        return row, [], False
    raise ValueError(name)


class Planner:
    def __init__(self, seed, days):
        self.rng = random.Random(seed)
        self.seed = seed
        self.days = days
        # {"t", "book", "template", "lines" (exact), "row", "marker_t"}
        self.rows = []
        self.events = []  # {"t", "kind", ...}
        self.faults = []  # {"t", "kind", "until", ...}
        self.taken = set()
        self.mails = 0

    def free(self, t):
        """The next second from t that no row stamp uses yet."""
        t = int(t)
        while t in self.taken:
            t += 1
        self.taken.add(t)
        return t

    def row(self, name, t):
        t = self.free(t)
        row, lines, usable = template(self.rng, name, t)
        self.rows.append({"t": t, "book": "main", "template": name, "lines": lines, "row": row, "usable": usable})
        return t

    def period_row(self, t):
        """An SPD period row: its line carries the event time, the period
        markers the row's own time stamp."""
        t = self.free(t)
        event_t = self.free(t - 20)
        entry = self.rng.choice(TABLE["SPD-PERIOD"])
        row = table.profile_row("SPD", entry, stamp(t))
        row["payload"][-1] = stamp(event_t)
        lines = table.expected(entry, line_stamp(t), line_stamp(event_t))
        self.rows.append({"t": event_t, "book": "main", "template": "spd-period", "lines": lines, "row": row,
                          "marker_t": t})

    def tracking(self, t):
        t = self.free(t)
        if self.rng.random() > 0.03:
            entry = self.rng.choice(TABLE["TRACK"])
            position, lines = table.fix_of(entry["values"]["fix"], stamp(t)), table.expected(entry, line_stamp(t))
        else:
            position, lines = fix(t, self.rng, usable=False), []
        row = {"type": 1, "time": stamp(t), "payload": [position, True]}
        self.rows.append({"t": t, "book": "tracking", "template": "tracking", "lines": lines, "row": row})

    def event(self, t, kind, **args):
        self.events.append(dict(t=int(t), kind=kind, **args))

    def state(self, t, record, fields, index=0):
        self.event(t, "set", record=record, index=index, fields=fields)

    def mode(self, t, mode):
        self.state(t, "CRunGeneralNonWM", {"1": mode})
        t = self.free(t)
        entry = next(e for e in TABLE["OPMM"] if e["values"]["mode"] == str(mode))
        self.rows.append({"t": t, "book": "main", "template": "opmm", "lines": table.expected(entry, line_stamp(t)),
                          "row": table.profile_row("OPMM", entry, stamp(t))})

    def trip(self, t):
        """Loading at the depot, the drive, discharges at stations."""
        rng = self.rng
        comps = rng.sample(range(COMPARTMENTS), rng.randint(1, COMPARTMENTS))
        self.mode(t, 3)
        self.row("cop", t + 30)
        for c in comps:
            t += rng.randint(120, 600)
            self.row("loading", t)
            self.row("cop", t + 10)
            if rng.random() < 0.3:  # a seal broken while loading: held until loading ends
                self.state(t + 40, "CRunCompNonWM", {"3": 3}, c)
                self.state(t + 400, "CRunCompNonWM", {"3": 1}, c)
            self.row("spd", t + 60)
            self.row("loading", t + 300)
            self.row("level", t + 320)
            self.row("cop", t + 330)
        t += 600
        self.row("seal", t)
        self.mode(t + 30, 5)
        for _ in range(rng.randint(1, 3)):
            t += rng.randint(1800, 5400)  # the drive
            self.row("gps", t - 600)
            if rng.random() < 0.4:
                self.row("gps", t - 300)
            if rng.random() < 0.3:  # a door opened on the road
                field = rng.choice(["5", "6"])
                self.state(t - 900, "CRunTruckSensorNonWM", {field: 1})
                self.state(t - 840, "CRunTruckSensorNonWM", {field: 0})
            if rng.random() < 0.2:  # API or manlid opened outside loading
                c = rng.randrange(COMPARTMENTS)
                field = rng.choice(["5", "6"])
                self.state(t - 700, "CRunCompSensorNonWM", {field: 1}, c)
                self.state(t - 650, "CRunCompSensorNonWM", {field: 0}, c)
            self.mode(t, 4)
            self.state(t + 20, "CRunTruckSensorNonWM", {"4": 1})
            self.row("discharge", t + 60)
            self.row("cop", t + 70)
            self.row("spd", t + 80)
            if rng.random() < 0.5:
                self.period_row(t + 200)
            self.row("cop", t + 300)
            self.row("discharge", t + 900)
            self.row("level", t + 920)
            self.row(rng.choice(["smp", "spd", "fpm", "error"]), t + 930)
            self.state(t + 940, "CRunTruckSensorNonWM", {"4": 0})  # high pressure off
            self.mode(t + 1000, 13)
            self.mode(t + 1060, 5)
            t += 1100
        if rng.random() < 0.15:  # the truck's seal broken after a known state
            self.state(t + 300, "CRunTruck", {"1": 3})
            self.state(t + 1500, "CRunTruck", {"1": 1})
        return t

    def day(self, d):
        rng = self.rng
        t0 = d * DAY
        t = t0 + 5 * 3600 + rng.randint(0, 3600)
        self.mode(t, 5)
        while t < t0 + 17 * 3600:
            t = self.trip(t + rng.randint(600, 2400))
        # Positions every few minutes while the truck is on the move.
        ts = t0 + 5 * 3600
        while ts < t0 + 20 * 3600:
            self.tracking(ts)
            ts += rng.randint(120, 420)
        self.row("gsm-ftp", t0 + rng.randint(0, DAY - 3600))
        # The operator and the other processes of the vehicle.
        for _ in range(rng.randint(2, 3)):
            self.event(t0 + rng.randint(6 * 3600, DAY - 3600), "trigger", names=["gps"])
        # A manual event file of the last three hours, up to the last batch
        # of rows the logbook already holds.
        asked = t0 + rng.randint(12 * 3600, 20 * 3600)
        end = asked // BATCH * BATCH - 1
        self.event(asked, "manual", start=stamp(end - 3 * 3600), end=stamp(end))
        self.event(t0 + rng.randint(3600, DAY - 3600), "trigger",
                   names=[rng.choice(["data-test", "service-test", "update-test"])])
        self.event(t0 + rng.randint(3600, DAY - 3600), "trigger", names=[rng.choice(["info", "sw-update"])])
        # The weekly software-update look-up, put on the minute ahead of the
        # wall clock (the schedule runs on the vehicle's real time, so it
        # comes due up to 70 s later, hours of the sped-up day).
        self.event(t0 + rng.randint(600, 4 * 3600), "lookup-schedule")
        for _ in range(rng.randint(2, 5)):
            self.mails += 1
            self.event(t0 + rng.randint(0, DAY - 3600), "mail", name="mail_%04d.txt" % self.mails,
                       text="delivery note %d of day %d\n" % (self.mails, d + 1))
        if rng.random() < 0.6:  # the LT server keeps the link; the truck goes offline for a while
            lt = t0 + rng.randint(8 * 3600, 18 * 3600)
            seconds = rng.randint(600, 2400)
            self.state(lt, "CSetLTServer", {"1": True})
            self.event(lt + 900, "offline", seconds=seconds)
            self.state(lt + 900 + seconds + 1800, "CSetLTServer", {"1": False})
        else:
            self.event(t0 + rng.randint(3600, DAY - 3600), "offline", seconds=rng.randint(60, 600))

    def day_faults(self, d):
        rng = self.rng
        t0 = d * DAY
        last = (d + 1) * DAY - 2 * 3600 if d == self.days - 1 else (d + 1) * DAY
        lasting = []
        # The held-back reply last: it is placed clear of the others.
        for kind, (count, shortest, longest) in sorted(FAULTS_PER_DAY.items(), key=lambda kv: kv[0] == "service-stall"):
            if kind == "daemon-kill" and d in self.quiet_days():
                continue
            for n in range(count):
                start = rng.randint(t0 + 1800, last - longest - 60)
                if kind == "service-stall":
                    start = self.clear_of(lasting, start, t0 + 1800, last - STALL_HOLD)
                fault = {"t": start, "kind": kind, "until": start + rng.randint(shortest, longest)}
                if kind == "service-error":
                    # Each day one logbook read fails, the others at random.
                    operation = "getLogbook" if n == 0 else rng.choice(ERROR_OPERATIONS)
                    fault.update(operation=operation, count=rng.randint(1, 3))
                elif kind == "service-stall":
                    fault.update(operation=rng.choice(STALL_OPERATIONS), count=1)
                elif kind == "progress-fault":
                    fault.update(operation=PROGRESS_FAULTS[n][0], fault=PROGRESS_FAULTS[n][1], count=1)
                elif kind in ("disk-full", "log-disk-full", "client-hang", "client-fail", "office-down"):
                    # An info file asked for inside the fault: at least one
                    # write or upload meets it, whatever else the hour brings.
                    self.event(start + 120, "trigger", names=["info"])
                if longest:
                    lasting.append((fault["t"], fault["until"]))
                self.faults.append(fault)

    def clear_of(self, lasting, start, first, last):
        """A moment from which the daemon may be held for STALL_HOLD without
        a lasting fault in that time, if the day has one (else start)."""
        for _ in range(200):
            if not any(begin < start + STALL_HOLD and start < end for begin, end in lasting):
                return start
            start = self.rng.randint(first, last)
        return start

    def quiet_days(self):
        """Days without a daemon kill: a week keeps three in a row, so one
        process lives long enough to show whether its memory grows."""
        return range(2, 5) if self.days >= 6 else ()

    def build(self):
        for d in range(self.days):
            self.day(d)
        for d in range(self.days):
            self.day_faults(d)
        end = self.days * DAY
        self.rows = sorted((r for r in self.rows if r["t"] < end), key=lambda r: r["t"])
        self.events = sorted((e for e in self.events if e["t"] < end), key=lambda e: e["t"])
        self.faults.sort(key=lambda f: f["t"])
        return {"seed": self.seed, "days": self.days, "rows": self.rows, "events": self.events,
                "faults": self.faults}


def make_plan(seed, days):
    return Planner(seed, days).build()
