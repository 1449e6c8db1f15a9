#!/usr/bin/env python3
"""A week on the road in minutes: the real daemon on the stand-in vehicle,
sped up, through days of a truck with faults at random times, then an
invariant check of what reached the back office.

Usage: soak.py --days N --seed S --build DIR --src DIR [--scale X] [--root DIR]
Run inside dbus-run-session (scripts/soak does that, in a mount namespace
of its own so that the full disk can be played on a small tmpfs).
"""
import argparse
import collections
import json
import os
import pickle
import socket
import sys
import tempfile
import threading
import time
import types

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check  # noqa: E402
import plan as planning  # noqa: E402
from vehicle import LINE_MAX, RESTART_SEC, LogFollower, Vehicle  # noqa: E402

BATCH = planning.BATCH
SAMPLE_EVERY = 1800  # memory, descriptors and progress every half hour
STALL_S = 31         # a stalled reply holds the daemon for the call time-out
TRANSFER_WAIT = 180  # the daemon's wait for a word from the FTP client, s of the road
# Faults that last: each one's window runs from its start to its end, and a
# hung FTP client is given up only a transfer wait after the hang ends.
LASTING = ("client-hang", "client-fail", "office-down", "service-restart", "disk-full", "log-disk-full")
SERVICE_ACTIONS = {"rows", "set", "trigger", "manual", "offline", "lookup-schedule", "service-error",
                   "service-stall", "progress-fault"}


def soak_profile(src, port):
    """The truck's setups, every server on the back office, and the sensors
    the monitor needs to see doors, API valves, manlids and high pressure."""
    with open(os.path.join(src, "sim/profiles/truck.json")) as f:
        records = json.load(f)["records"]

    def setup(name, fields, index=0):
        for record in records:
            if record["record"] == name and record.get("index", 0) == index:
                record["fields"].update(fields)
                return
        records.append({"record": name, "index": index, "fields": fields})

    server = {"1": "127.0.0.1:%d" % port, "2": "truck", "3": "tanker"}
    for name in ("CSetGsmGprsFtpData", "CSetGsmGprsFtpService", "CSetGsmGprsFtpUpdate"):
        setup(name, dict(server))
    setup("CSetGeneralNonWM", {"4": 1})
    setup("CSetGeneralWM", {"3": 1})
    setup("CSetGlobalSensorNonWM", {"7": 1, "8": 1, "10": 1})
    for c in range(planning.COMPARTMENTS):
        setup("CSetCompartmentSensorNonWM", {"7": 1, "9": 1}, c)
        setup("CRunCompNonWM", {"3": 1}, c)
    setup("CRunCan", {"4": True})
    return {"records": records}


def timeline(plan):
    """Every action of the run in truck-time order."""
    actions = []
    batches = collections.defaultdict(list)
    for row in plan["rows"]:
        batches[row["t"] // BATCH].append(row["row"])
    for key, rows in batches.items():
        actions.append(((key + 1) * BATCH, "rows", rows))
    for event in plan["events"]:
        actions.append((event["t"], event["kind"], event))
    for fault in plan["faults"]:
        actions.append((fault["t"], fault["kind"], fault))
        if fault["until"] > fault["t"]:
            actions.append((fault["until"], fault["kind"] + "/end", fault))
    for t in range(0, plan["days"] * planning.DAY, SAMPLE_EVERY):
        actions.append((t, "sample", None))
    order = {kind: i for i, kind in enumerate(["sample", "rows"])}
    return sorted(actions, key=lambda a: (a[0], order.get(a[1], 2)))


class Driver:
    def __init__(self, vehicle, plan, scale):
        self.vehicle, self.plan, self.scale = vehicle, plan, scale
        self.deferred = []
        self.faults = collections.Counter()   # kind -> played
        self.skipped = collections.Counter()  # kind -> could not be played
        self.windows = []  # {"kind", "begin", "end"} in wall-clock seconds
        self.samples = []
        self.batches = 0
        self.journal = open(os.path.join(vehicle.root, "soak-journal.txt"), "w")
        self.watchers, self.pppd_kills = [], []
        self.progress_faults = 0
        self.requests = []  # (wall-clock seconds, the request's event) of each operator request
        self.mail_waits = []  # mailbox files no room was left for

    def wall(self, t):
        return self.t0 + t / self.scale

    def window(self, kind, begin, length):
        self.windows.append({"kind": kind, "begin": begin, "end": begin + length})

    def close_window(self, kind):
        """Ends the oldest open window of a lasting fault."""
        # A full log disk's window ends when it has room: its held lines
        # are told by being written after that.
        after = {"client-hang": (TRANSFER_WAIT + 2 * check.CYCLE) / self.scale + 1, "service-restart": 5,
                 "log-disk-full": 0}.get(kind, 1)
        for window in self.windows:
            if window["kind"] == kind and window["end"] is None:
                window["end"] = time.time() + after
                return

    def run(self):
        self.t0 = time.monotonic()
        self.wall0 = time.time()
        for t, kind, data in timeline(self.plan):
            delay = self.wall(t) - time.monotonic()
            if delay > 0:
                time.sleep(delay)
            if kind in SERVICE_ACTIONS and not self.vehicle.service_up:
                self.deferred.append((t, kind, data))
                continue
            self.act(t, kind, data)
        for watcher in self.watchers:
            watcher.join()
        self.faults["pppd-kill"] = self.pppd_kills.count(True)
        self.skipped["pppd-kill"] = self.pppd_kills.count(False)
        self.faults += collections.Counter()  # drops the kinds with none
        self.skipped += collections.Counter()

    def note(self, t, kind, data):
        """The run's journal: what the soak did when, for the evidence of a failure."""
        detail = "%d rows" % len(data) if kind == "rows" else json.dumps(data) if data else ""
        self.journal.write("%s %s %s %s\n" % (check.stamp_of(time.time()), planning.stamp(t), kind, detail))
        self.journal.flush()

    def act(self, t, kind, data):
        v = self.vehicle
        if kind != "sample":
            self.note(t, kind, data)
        if kind == "rows":
            self.batches += 1
            path = os.path.join(v.root, "rows", "batch-%05d.json" % self.batches)
            with open(path, "w") as out:
                json.dump({"logbook": data}, out)
            v.ctl("load", path)
        elif kind == "set":
            fields = [str(x).lower() if isinstance(x, bool) else x for kv in data["fields"].items() for x in kv]
            v.ctl("set", data["record"], *fields, "--index", data["index"])
        elif kind == "trigger":
            self.requests.append((time.time(), data))
            v.ctl("trigger", *data["names"])
        elif kind == "manual":
            self.requests.append((time.time(), data))
            v.ctl("set", "CRunTriggerFtpTransfer", 2, "true", 12, data["start"].rstrip("Z"), 13,
                  data["end"].rstrip("Z"), 14, "Event")
        elif kind == "offline":
            v.ctl("offline", data["seconds"])
        elif kind == "lookup-schedule":
            due = time.localtime((int(time.time()) + 10) // 60 * 60 + 60)
            v.ctl("set", "CSetFtpSwUpdate", 4, (due.tm_wday + 1) % 7 + 1, 5, due.tm_hour, 6, due.tm_min)
        elif kind == "mail":
            self.leave_mail(data)
        elif kind == "sample":
            self.sample(t)
        else:
            self.fault(kind, data)

    def fault(self, kind, data):
        v = self.vehicle
        now = time.time()
        if kind in LASTING:
            self.windows.append({"kind": kind, "begin": now, "end": None})
        if kind == "pppd-kill":
            # The next link there is within a few hours of the road: a
            # watcher waits for it while the day goes on.
            watcher = threading.Thread(target=lambda: self.pppd_kills.append(v.kill_pppd(4 * 3600 / self.scale)))
            watcher.start()
            self.watchers.append(watcher)
            return
        elif kind == "daemon-kill":
            played = v.supervisor.kill()
            self.window(kind, now, (RESTART_SEC + 60) / self.scale + 5)
        elif kind in ("client-hang", "client-fail"):
            v.client_fault(kind[len("client-"):], True)
            played = True
        elif kind == "office-down":
            v.office_outage.on()
            played = True
        elif kind == "service-restart":
            v.service_outage.on()
            played = True
        elif kind in ("service-error", "service-stall"):
            v.ctl("fault", data["operation"], kind[len("service-"):], data["count"])
            if kind == "service-stall":
                self.window(kind, now, STALL_S)
            played = True
        elif kind == "progress-fault":
            v.ctl("fault", data["operation"], data["fault"], data["count"])
            self.progress_faults += 1
            played = True
        elif kind == "disk-full":
            played = v.disk is not None
            if played:
                v.disk_outage.on()
        elif kind == "log-disk-full":
            played = v.log_disk is not None
            if played:
                v.log_disk_outage.on()
        elif kind.endswith("/end"):
            self.fault_end(kind[:-len("/end")], data)
            return
        else:
            raise ValueError(kind)
        (self.faults if played else self.skipped)[kind] += 1

    def fault_end(self, kind, data):
        v = self.vehicle
        if kind in LASTING:
            self.close_window(kind)
        if kind in ("client-hang", "client-fail"):
            v.client_fault(kind[len("client-"):], False)
        elif kind == "office-down":
            v.office_outage.off()
        elif kind == "service-restart":
            v.service_outage.off()
            if v.service_up:
                deferred, self.deferred = self.deferred, []
                for t, action, args in deferred:
                    self.act(t, action, args)
        elif kind == "disk-full" and v.disk is not None:
            v.disk_outage.off()
        elif kind == "log-disk-full" and v.log_disk is not None:
            v.log_disk_outage.off()
            waiting, self.mail_waits = self.mail_waits, []
            for data in waiting:
                self.leave_mail(data)

    def leave_mail(self, data):
        """A mailbox file as another process of the vehicle leaves it: written
        beside its place under a hidden name, then renamed. On a full disk
        that process tries again once there is room."""
        staging = os.path.join(self.vehicle.mailbox, "." + data["name"])
        try:
            with open(staging, "w") as out:
                out.write(data["text"])
        except OSError:
            if os.path.exists(staging):
                os.remove(staging)
            self.mail_waits.append(data)
            return
        os.replace(staging, os.path.join(self.vehicle.mailbox, data["name"]))

    def progress(self):
        """iNextLogbookRowID and iNextTrackingRowID as the service holds them,
        or None while a fault planted on the progress record waits for the
        daemon (our own read would take it)."""
        v = self.vehicle
        if not v.service_up or self.progress_faults > check.progress_faults_hit(v):
            return None, None
        return int(v.ctl("get", "CSetGsm", 3)), int(v.ctl("get", "CSetGsm", 4))

    def sample(self, t):
        pid = self.vehicle.supervisor.pid()
        held = self.vehicle.rss_and_fds(pid) if pid else None
        progress = self.progress()
        self.samples.append({"t": t, "wall": time.time(), "pid": pid, "rss": held and held[0],
                             "fds": held and held[1], "rows": progress[0], "tracking": progress[1]})

    def drain(self):
        """Waits until every row is fetched, every file sent and the link
        down. The day ends with the truck standing in status mode and the LT
        server off, and no fault left in the service; the next time trigger
        fetches the logbook, and the operator asks for the GPS file until it
        holds every position (a request whose run met an error is gone)."""
        v = self.vehicle
        v.ctl("fault", "clear")
        self.progress_faults = 0
        v.ctl("set", "CRunGeneralNonWM", 1, 5)
        v.ctl("set", "CSetLTServer", 1, "false")
        deadline = time.monotonic() + max(60.0, 12 * 3600 / self.scale)
        asked = 0.0
        while time.monotonic() < deadline:
            if time.monotonic() - asked > 1800 / self.scale:
                v.ctl("trigger", "gps")
                asked = time.monotonic()
            stored = v.rows_in_store()
            last = {book: max([rid for (b, _), rid in stored.items() if b == book] or [0])
                    for book in ("logbook", "tracking")}
            rows, tracking = self.progress()
            waiting = v.pending()
            state = check.last_state(v.log)
            self.drained = {"rows": rows, "tracking": tracking, "last_row": last["logbook"],
                            "last_tracking": last["tracking"], "waiting": waiting, "state": state}
            if (rows is not None and rows > last["logbook"] and tracking > last["tracking"] and not waiting
                    and state in ("PPP_IDLE", "GPRS_WAIT")):
                self.sample(self.plan["days"] * planning.DAY)
                return True
            time.sleep(0.5)
        return False


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def arguments(name, count, default):
    """The options of a run: COUNT (--days, --cuts), the seed, the trees, the
    speed and the sandbox (a new one under /tmp unless given)."""
    ap = argparse.ArgumentParser()
    ap.add_argument(count, type=int, default=default)
    ap.add_argument("--seed", type=int, required=True)
    ap.add_argument("--build", required=True)
    ap.add_argument("--src", required=True)
    ap.add_argument("--scale", type=float, default=600)
    ap.add_argument("--root")
    args = ap.parse_args()
    args.root = args.root or tempfile.mkdtemp(prefix="ftp_data-%s." % name)
    return args


def play(vehicle, driver):
    """Starts the vehicle, plays the plan, drains and stops: (drained, the
    daemon's exit code on SIGTERM)."""
    vehicle.start_office()
    vehicle.start_service(first=True)
    vehicle.supervise()
    follower = LogFollower(vehicle.log, os.path.join(vehicle.root, "ftp_d.whole.log"))
    follower.start()
    driver.drained = None
    if not check.wait_for_text(vehicle.log, "FTL triggers connected", 30):
        raise RuntimeError("the daemon was not started by the supervisor")
    driver.run()
    drained = driver.drain()
    exit_code = vehicle.supervisor.stop()
    follower.stop()
    # The checker reads the whole run; the log directory stays within its rotation.
    vehicle.log = follower.whole
    driver.log_chunks = follower.chunks
    settings = vehicle.log_settings
    driver.log_peak = (follower.peak, (1 + settings["Logfile_Redundancy"]) * (settings["Logfile_Size"] + LINE_MAX),
                       follower.rotations, follower.peak_at)
    deadline = time.monotonic() + 5
    while vehicle.left_over() and time.monotonic() < deadline:
        time.sleep(0.1)
    driver.left_over = vehicle.left_over()
    vehicle.service.terminate()
    vehicle.service.wait()
    return drained, exit_code


def finish(name, root, failures):
    """Keeps the sandbox of a failed run (or of any with KEEP_ROOT)."""
    if failures or os.environ.get("KEEP_ROOT"):
        print("%s: sandbox kept in %s" % (name, root))
    else:
        import shutil
        shutil.rmtree(root, ignore_errors=True)
    return 1 if failures else 0


STATE = "soak-state.pickle"


def save_state(plan, vehicle, driver, drained, exit_code):
    """What the checks read besides the sandbox's files, so that a kept
    sandbox can be judged again (--recheck) after the checks change: the
    plain values of the driver, the vehicle and its supervisor, and the
    outgoing directories, which lie on a disk that ends with the run."""
    def plain(obj):
        out = {}
        for key, value in vars(obj).items():
            try:
                pickle.dumps(value)
            except (TypeError, AttributeError, pickle.PicklingError):
                continue
            out[key] = value
        return out

    state = {"plan": plan, "vehicle": plain(vehicle), "supervisor": plain(vehicle.supervisor),
             "driver": plain(driver), "drained": drained, "exit_code": exit_code, "pending": vehicle.pending()}
    with open(os.path.join(vehicle.root, STATE), "wb") as out:
        pickle.dump(state, out)


def recheck(root):
    """Judges a kept sandbox again with the present checks."""
    with open(os.path.join(root, STATE), "rb") as saved:
        state = pickle.load(saved)
    vehicle = Vehicle.__new__(Vehicle)
    vehicle.__dict__.update(state["vehicle"])
    vehicle.supervisor = types.SimpleNamespace(**state["supervisor"])
    vehicle.pending = lambda: state["pending"]
    driver = types.SimpleNamespace(**state["driver"], vehicle=vehicle)
    failures, figures = check.check(state["plan"], vehicle, driver, state["drained"], state["exit_code"])
    print(check.report(state["plan"]["seed"], failures, figures), end="", flush=True)
    return 1 if failures else 0


def main():
    if sys.argv[1:2] == ["--recheck"]:
        return recheck(sys.argv[2])
    args = arguments("soak", "--days", 7)
    root = args.root
    started = time.monotonic()
    plan = planning.make_plan(args.seed, args.days)
    print("soak: %d day(s), seed %d, %g times faster than the road, sandbox %s"
          % (args.days, args.seed, args.scale, root), flush=True)
    vehicle = Vehicle(root, os.path.abspath(args.build), os.path.abspath(args.src), args.scale, free_port())
    failures = ["soak did not get going"]
    try:
        vehicle.install(soak_profile(args.src, vehicle.port))
        os.makedirs(os.path.join(root, "rows"))
        with open(os.path.join(root, "soak-plan.json"), "w") as out:
            json.dump(plan, out, indent=0)
        if not vehicle.disk:
            print("soak: no tmpfs of our own here, the full disk is left out", flush=True)
        driver = Driver(vehicle, plan, args.scale)
        drained, exit_code = play(vehicle, driver)
        save_state(plan, vehicle, driver, drained, exit_code)
        failures, figures = check.check(plan, vehicle, driver, drained, exit_code)
        figures["wall time"] = "%.0f s" % (time.monotonic() - started)
        report = check.report(args.seed, failures, figures)
        with open(os.path.join(root, "soak-report.txt"), "w") as out:
            out.write(report)
        print(report, end="", flush=True)
    except Exception as error:  # the run itself broke: say so with the seed
        failures = ["soak run broke: %s" % error]
        print("soak FAILED (seed %d): %s" % (args.seed, error), flush=True)
    finally:
        vehicle.cleanup()
    return finish("soak", root, failures)


if __name__ == "__main__":
    sys.exit(main())
