#!/usr/bin/env python3
"""Power cuts on the road: a day of the soak's truck with the power taken
away at random moments, drawn from a seed and weighted to the moments that
matter. At each cut every process of the vehicle is killed at once, the
file systems of the vehicle lose what was not made durable (sim/cutfs), and
the vehicle boots again: the service, the supervisor's handshake, the
daemon. After the last cut and a drain the soak's invariants must hold.

Usage: powercut.py --cuts N --seed S --build DIR --src DIR [--scale X] [--root DIR]
Run inside dbus-run-session and a mount namespace of its own (scripts/powercut).
"""
import collections
import datetime
import os
import random
import re
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check  # noqa: E402
import plan as planning  # noqa: E402
import soak  # noqa: E402
from vehicle import LOG_SETTINGS, Vehicle, pids_of  # noqa: E402

# Where a cut falls: the moment, how often it is drawn, the log line that
# marks it (None: anywhere), the request that brings it about, and how long
# after the mark the power goes, in seconds at most.
MOMENTS = [
    ("event-file run", 4, "Open new file and store the data in", None, 0.3),
    ("GPS file", 3, "gps position LAT", ["gps"], 0.1),
    ("test file", 2, None, ["data-test"], 0.05),
    ("upload", 3, "Start transfer:", ["gps"], 1.5),
    ("link shutdown", 2, "stop pppd", None, 0.3),
    ("anywhere", 1, None, None, 2.0),
]
MARK_WAIT_S = 6
NOTHING_LOST = "0 files lost unsynced data, 0 unsynced entries gone, 0 removed or renamed entries back"
# How the disk takes the cut: the latest unsynced write torn at a random
# byte, zeros in place of the unsynced data, or the unsynced data gone.
MODES = [("tear", 5), ("zeros", 2), ("drop", 3)]
# The vehicle's directories on a disk that loses what is not durable.
MOUNTS = ["var/log/FTL", "var/log/log_tx", "var/lib/Tankora", "tmp", "store"]


def draw(rng, weighted):
    return rng.choices([w[0] for w in weighted], [w[1] for w in weighted])[0]


def plan_cuts(seed, cuts, days):
    """The cuts of a run: truck time, moment and mode, from the seed."""
    rng = random.Random(seed * 7919 + cuts)
    times = sorted(rng.randint(5 * 3600, days * planning.DAY - 3 * 3600) for _ in range(cuts))
    return [{"t": t, "kind": "power-cut", "until": t, "moment": draw(rng, MOMENTS), "mode": draw(rng, MODES),
             "delay": rng.random(), "seed": rng.randrange(1 << 31)} for t in times]


class PowerVehicle(Vehicle):
    """The soak's vehicle with its directories on cutfs."""

    # One log that never rotates: a cut's mark is looked for from an offset in it.
    log_settings = dict(LOG_SETTINGS, Logfile_Size=2000000000)

    def __init__(self, *args):
        super().__init__(*args)
        self.db = os.path.join(self.root, "store", "service.db")
        self.mounts = {}  # mount point -> cutfs process
        self.cut_log = []  # what each cut lost, as cutfs tells it

    def install(self, profile):
        super().install(profile)
        os.makedirs(os.path.join(self.root, "store"))
        for name in MOUNTS:
            backing = os.path.join(self.root, "disk", name.replace("/", "_"))
            os.makedirs(backing + ".control")
            os.rename(os.path.join(self.root, name), backing)
            os.makedirs(os.path.join(self.root, name))
            self.mount(name)

    def mount(self, name):
        point = os.path.join(self.root, name)
        backing = os.path.join(self.root, "disk", name.replace("/", "_"))
        self.mounts[name] = subprocess.Popen([os.path.join(self.build, "sim", "cutfs"), backing, point,
                                              backing + ".control"],
                                             stderr=open(os.path.join(self.root, "cutfs.log"), "ab"))
        deadline = time.monotonic() + 10
        while not os.path.ismount(point):
            if time.monotonic() > deadline or self.mounts[name].poll() is not None:
                raise RuntimeError("cutfs did not mount %s" % point)
            time.sleep(0.02)

    def unmount(self, name, mode):
        backing = os.path.join(self.root, "disk", name.replace("/", "_"))
        with open(os.path.join(backing + ".control", "cut"), "w") as out:
            out.write(mode + "\n")
        point = os.path.join(self.root, name)
        for _ in range(100):
            if subprocess.run(["umount", point], capture_output=True).returncode == 0:
                break
            time.sleep(0.05)  # a process killed a moment ago still lets go of its files
        else:
            raise RuntimeError("%s stayed busy after the cut" % point)
        self.mounts[name].wait(30)
        with open(os.path.join(backing + ".control", "cuts.log")) as log:
            return log.read().splitlines()[-1]

    def vehicle_pids(self):
        """The daemon, the service and every program of the sandbox (dial-up,
        FTP client and its curl, LT client, the tools they call)."""
        own = {p.pid for p in self.mounts.values()} | {self.office.pid, os.getpid()}
        pids = set(pids_of(self.root + "/")) - own
        for proc in (self.service, self.supervisor.proc):
            if proc and proc.poll() is None:
                pids.add(proc.pid)
        return pids

    def power_cut(self, mode, seed):
        """Everything dies at once; the disks keep what was durable; the
        vehicle boots again. Returns what the disks lost."""
        sup = self.supervisor
        with sup.lock:
            sup.gate.clear()
            sup.expect_kill = True
            sup.kills += 1
            if sup.proc and sup.proc.poll() is None:
                sup.killed.append(sup.proc.pid)
        # Frozen first, so that no process starts another between the kills.
        stopped = set()
        for _ in range(3):
            for pid in self.vehicle_pids() - stopped:
                try:
                    os.kill(pid, signal.SIGSTOP)
                    stopped.add(pid)
                except ProcessLookupError:
                    pass
        for pid in stopped:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.service_up = False
        self.service.wait()
        while sup.pid():
            time.sleep(0.01)
        lost = []
        for i, name in enumerate(MOUNTS):
            # The service's store keeps itself whole through its journal.
            how = "drop" if name == "store" else "%s %d" % (mode, seed + i)
            what = self.unmount(name, how)
            if not what.startswith(NOTHING_LOST):
                lost.append("%s: %s" % (name, what))
        for name in MOUNTS:
            self.mount(name)
        self.start_service()
        sup.gate.set()
        return lost or ["nothing lost"]

    def cleanup(self):
        super().cleanup()
        for name, proc in self.mounts.items():
            subprocess.run(["umount", "-l", os.path.join(self.root, name)], capture_output=True)
            proc.wait(10)


class CutDriver(soak.Driver):
    def __init__(self, vehicle, plan, scale, cuts):
        super().__init__(vehicle, plan, scale)
        self.cuts = cuts
        self.cut_no = 0
        # Lines of files the back office had whole and a cut left in the
        # outgoing directory: {file name: {line: cuts}}. Each goes out again
        # once for each cut that put it back.
        self.resent = collections.defaultdict(collections.Counter)
        self.rng = random.Random(plan["seed"])

    def act(self, t, kind, data):
        if kind == "mail":
            # The process that leaves a mailbox file makes it durable.
            v = self.vehicle
            self.note(t, kind, data)
            staging = os.path.join(v.mailbox, "." + data["name"])
            with open(staging, "w") as out:
                out.write(data["text"])
                out.flush()
                os.fsync(out.fileno())
            os.replace(staging, os.path.join(v.mailbox, data["name"]))
            sync_directory(v.mailbox)
            return
        super().act(t, kind, data)

    def fault(self, kind, data):
        if kind != "power-cut":
            return super().fault(kind, data)
        v = self.vehicle
        self.cut_no += 1
        name, _, mark, request, longest = next(m for m in MOMENTS if m[0] == data["moment"])
        start = os.path.getsize(v.log) if os.path.exists(v.log) else 0
        if request and v.service_up:
            v.ctl("trigger", *request, check=False)
        found = mark is None or wait_in_log(v.log, start, mark, MARK_WAIT_S)
        time.sleep(data["delay"] * longest)
        before = {n for n, _ in check.archive(v)}
        began = time.time()
        lost = v.power_cut(data["mode"], data["seed"])
        self.window(kind, began, (soak.RESTART_SEC + 60) / self.scale + (time.time() - began) + 5)
        for name, lines in resent_files(v, before).items():
            self.resent[name].update(lines)
        entry = "cut %d at %s: %s%s, %s; %s" % (self.cut_no, planning.stamp(data["t"]), name,
                                                 "" if found else " (its mark not seen, cut anyway)",
                                                 data["mode"], " | ".join(lost))
        v.cut_log.append(entry)
        self.journal.write(entry + "\n")
        self.journal.flush()
        self.faults[kind] += 1


def blame(failure, cuts):
    """A row that went wrong names the first cut after its time stamp."""
    m = re.search(r"line stamp (\d{14})", failure)
    if not m:
        return failure
    when = datetime.datetime.strptime(m.group(1), "%Y%m%d%H%M%S").replace(tzinfo=datetime.timezone.utc)
    t = (when - planning.BASE).total_seconds() - planning.OFFSET
    after = [(i + 1, c) for i, c in enumerate(cuts) if c["t"] >= t]
    if not after:
        return failure
    n, cut = after[0]
    return "%s; first cut after it: cut %d (%s, %s)" % (failure, n, cut["moment"], cut["mode"])


def sync_directory(path):
    fd = os.open(path, os.O_RDONLY | os.O_DIRECTORY)
    try:
        os.fsync(fd)
    finally:
        os.close(fd)


def wait_in_log(path, start, text, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            with open(path, "rb") as log:
                log.seek(start)
                if text.encode() in log.read():
                    return True
        except OSError:
            pass
        time.sleep(0.005)
    return False


def resent_files(vehicle, received):
    """Files the back office received whole and that are back in the
    outgoing directory after the cut with lines it already has: the upload
    ended, but the FTP client's removal was not yet durable. Returns
    {file name: the lines the back office already has}."""
    archived = {}
    for name, path in check.archive(vehicle):
        archived[name] = path
    again = {}
    for folder in (vehicle.ftl, vehicle.mailbox):
        for name in os.listdir(folder):
            if name in received and name in archived:
                with open(os.path.join(folder, name), "rb") as now, open(archived[name], "rb") as sent:
                    lines = {l for l in now.read().split(b"\r\n") if l}
                    shared = lines & {l for l in sent.read().split(b"\r\n") if l}
                    if shared:
                        again[name] = {l.decode("latin-1") for l in shared}
    return again


def main():
    args = soak.arguments("powercut", "--cuts", 20)
    root = args.root
    started = time.monotonic()
    days = 1 + args.cuts // 40
    plan = planning.make_plan(args.seed, days)
    plan["faults"] = plan_cuts(args.seed, args.cuts, days)
    print("powercut: %d cut(s) in %d day(s), seed %d, sandbox %s" % (args.cuts, days, args.seed, root), flush=True)
    vehicle = PowerVehicle(root, os.path.abspath(args.build), os.path.abspath(args.src), args.scale,
                           soak.free_port())
    failures = ["powercut did not get going"]
    try:
        vehicle.install(soak.soak_profile(args.src, vehicle.port))
        os.makedirs(os.path.join(root, "rows"))
        driver = CutDriver(vehicle, plan, args.scale, args.cuts)
        drained, exit_code = soak.play(vehicle, driver)
        failures, figures = check.check(plan, vehicle, driver, drained, exit_code, driver.resent)
        failures = [blame(f, plan["faults"]) for f in failures]
        figures["cuts survived"] = "%d of %d" % (driver.cut_no if not failures else 0, args.cuts)
        figures["files repaired at start"] = str(check.count_lines(vehicle.log, check.REPAIRED))
        figures["wall time"] = "%.0f s" % (time.monotonic() - started)
        report = check.report(args.seed, failures, figures).replace("soak", "powercut", 1)
        if failures:
            report += "  the cuts (seed %d):\n" % args.seed + "".join("    %s\n" % c for c in vehicle.cut_log)
        with open(os.path.join(root, "powercut-report.txt"), "w") as out:
            out.write(report + "".join("%s\n" % c for c in vehicle.cut_log))
        print(report, end="", flush=True)
    except Exception as error:  # the run itself broke: say so with the seed
        failures = ["powercut run broke: %s" % error]
        print("powercut FAILED (seed %d, after %d cut(s)): %s" % (args.seed, len(vehicle.cut_log), error),
              flush=True)
    finally:
        vehicle.cleanup()
    return soak.finish("powercut", root, failures)


if __name__ == "__main__":
    sys.exit(main())
