"""The stand-in vehicle of the soak: its processes and how they break.

One sandbox root (sim/install-sandbox.sh) with the stand-in service on an
SQLite file, the back office, a small disk for the outgoing files and
another for the log and the mailbox, and the
daemon under a supervisor loop that starts it again after it was killed,
as systemd does (Restart=on-failure, RestartSec=5).
"""
import json
import os
import shutil
import signal
import sqlite3
import subprocess
import threading
import time

RESTART_SEC = 5
DISK_MIB = 16
LOG_DISK_MIB = 8  # the log's bound twice over, and the mailbox
# The vehicle's own log settings: every debug line, in a file rotated at
# 1 MiB with one older copy kept.
LOG_SETTINGS = {"Display_Message": 0, "Log_Level": 0, "Logfile_Size": 1048576, "Logfile_Redundancy": 1}
LINE_MAX = 2048  # one log line, at most


class LogFollower(threading.Thread):
    """Copies the daemon's log as it grows into one whole file across its
    rotations (ftp_d.log copied to ftp_d.log.1 and begun anew), for the
    checker, and notes the log directory's peak size."""

    def __init__(self, live, whole):
        super().__init__(daemon=True)
        self.live, self.whole = live, whole
        self.inode, self.offset, self.peak, self.rotations = None, 0, 0, 0
        self.peak_at = None
        # (end offset in the whole file, wall-clock seconds, "copied" or
        # "rotated") of each piece copied and each rotation seen: when the
        # daemon's lines reached its log file.
        self.chunks = []
        self.done = threading.Event()

    def run(self):
        with open(self.whole, "ab") as out:
            while not self.done.is_set():
                self.step(out)
                self.done.wait(0.1)
            self.step(out)

    def stop(self):
        self.done.set()
        self.join(30)

    def step(self, out):
        folder = os.path.dirname(self.live)
        try:
            size = sum(os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder))
            if size > self.peak:
                self.peak, self.peak_at = size, time.time()
            held = os.stat(self.live)
        except OSError:  # in the middle of a rotation: next time
            return
        if self.inode is not None and (held.st_ino != self.inode or held.st_size < self.offset):
            # Rotated: the rest of the old file is in its copy.
            try:
                if os.path.getsize(self.live + ".1") < self.offset:
                    return
                self.copy(self.live + ".1", out)
            except OSError:
                return
            self.offset = 0
            self.rotations += 1
            self.chunks.append((out.tell(), time.time(), "rotated"))
        self.inode = held.st_ino
        self.copy(self.live, out)

    def copy(self, path, out):
        """Appends the whole lines after the offset."""
        with open(path, "rb") as log:
            log.seek(self.offset)
            data = log.read()
        end = data.rfind(b"\n") + 1
        out.write(data[:end])
        out.flush()
        self.offset += end
        if end:
            self.chunks.append((out.tell(), time.time(), "copied"))


def pids_of(pattern):
    out = subprocess.run(["pgrep", "-f", pattern], capture_output=True, text=True).stdout
    return [int(p) for p in out.split()]


class Supervisor(threading.Thread):
    """Starts the daemon again whenever it ends without being asked to."""

    def __init__(self, command, env, err_path, scale):
        super().__init__(daemon=True)
        self.command, self.env, self.err_path, self.scale = command, env, err_path, scale
        self.proc = None
        self.stopping = False
        self.kills = 0
        self.starts = 0
        self.pids = []    # every daemon process, in the order started
        self.killed = []  # the processes killed
        self.unexpected = []  # (wall time, exit code) of ends nobody asked for
        self.final_code = None
        self.expect_kill = False
        self.lock = threading.Lock()
        self.gate = threading.Event()  # cleared while the vehicle has no power
        self.gate.set()

    def run(self):
        with open(self.err_path, "ab") as err:
            while True:
                self.gate.wait()
                with self.lock:
                    if self.stopping:
                        return
                    # A process group of its own, as the unit's control group:
                    # a kill or a stop reaches the dial-up and clients too.
                    self.proc = subprocess.Popen(self.command, env=self.env, stdout=subprocess.DEVNULL,
                                                 stderr=err, start_new_session=True)
                    self.starts += 1
                    self.pids.append(self.proc.pid)
                code = self.proc.wait()
                with self.lock:
                    if self.stopping:
                        self.final_code = code
                        return
                    if code != -signal.SIGKILL or not self.expect_kill:
                        self.unexpected.append((time.time(), code))
                    self.expect_kill = False
                time.sleep(RESTART_SEC / self.scale)

    def pid(self):
        with self.lock:
            return self.proc.pid if self.proc and self.proc.poll() is None else None

    def kill(self):
        with self.lock:
            if not self.proc or self.proc.poll() is not None:
                return False
            self.expect_kill = True
            self.signal_group(signal.SIGKILL)
            self.kills += 1
            self.killed.append(self.proc.pid)
            return True

    def signal_group(self, number):
        try:
            os.killpg(self.proc.pid, number)
        except ProcessLookupError:
            pass

    def stop(self, timeout=30):
        with self.lock:
            self.stopping = True
            proc = self.proc
        if proc and proc.poll() is None:
            self.signal_group(signal.SIGTERM)
        self.join(timeout)
        return self.final_code


class Outage:
    """A fault that faults of the same kind may overlap: it begins with the
    first and ends with the last."""

    def __init__(self, begin, end):
        self.begin, self.end, self.count = begin, end, 0

    def on(self):
        self.count += 1
        if self.count == 1:
            self.begin()

    def off(self):
        self.count -= 1
        if self.count == 0:
            self.end()


class DiskFiller(Outage):
    """Fills a small disk and keeps it full while the fault lasts: each
    removal frees a page that the next write would take."""

    def __init__(self, disk):
        super().__init__(self.fill, self.free)
        self.disk = disk  # the mount point, once known

    def fill(self):
        if not self.disk():
            return
        self.filling = threading.Event()
        self.filler = threading.Thread(target=self.top_up, daemon=True)
        self.filler.start()

    def top_up(self):
        block = b"\0" * 4096
        with open(os.path.join(self.disk(), "filler"), "ab", buffering=0) as out:
            while True:
                try:
                    while out.write(block):
                        pass
                except OSError:  # the disk is full
                    pass
                if self.filling.wait(0.01):
                    return

    def free(self):
        if self.disk():
            self.filling.set()
            self.filler.join()
            os.remove(os.path.join(self.disk(), "filler"))


class Vehicle:
    log_settings = LOG_SETTINGS

    def __init__(self, root, build, src, scale, port):
        self.root, self.build, self.src, self.scale, self.port = root, build, src, scale, port
        self.ctl_path = os.path.join(build, "sim", "tankora-ctl")
        self.log = os.path.join(root, "var/log/Tankora/ftp_d.log")
        self.db = os.path.join(root, "service.db")
        self.ftl = os.path.join(root, "var/log/FTL")
        self.mailbox = os.path.join(root, "var/log/log_tx")
        self.fault_file = os.path.join(root, "var/run/ftp_client.fault")
        self.office = self.service = None
        self.service_up = False
        self.client_faults = []
        self.disk = self.log_disk = None
        self.office_outage = Outage(self.stop_office, self.start_office)
        self.service_outage = Outage(self.kill_service, self.start_service)
        self.disk_outage = DiskFiller(lambda: self.disk)
        self.log_disk_outage = DiskFiller(lambda: self.log_disk)

    # --- set-up -----------------------------------------------------------
    def install(self, profile):
        subprocess.run([os.path.join(self.src, "sim/install-sandbox.sh"), self.root, self.build], check=True,
                       stdout=subprocess.DEVNULL)
        os.makedirs(os.path.join(self.root, "var/run"), exist_ok=True)
        self.mount_disk()
        with open(os.path.join(self.root, "etc/Tankora/ftp_d.ini"), "w") as ini:
            ini.write("[DEBUG_MESSAGES]\n" + "".join("%s=%s\n" % kv for kv in self.log_settings.items()))
        with open(os.path.join(self.root, "soak-profile.json"), "w") as out:
            json.dump(profile, out)

    def mount_disk(self):
        """The outgoing directory and /tmp on a small disk of their own, the
        log and the mailbox on another, when the sandbox may mount them
        (scripts/soak runs in its own mount namespace); otherwise a full
        disk cannot be played."""
        if not os.environ.get("SOAK_OWN_MOUNTS"):
            return
        self.disk = self.mount_tmpfs("disk", DISK_MIB, {"FTL": self.ftl, "tmp": os.path.join(self.root, "tmp")})
        self.log_disk = self.mount_tmpfs("log-disk", LOG_DISK_MIB, {
            "Tankora": os.path.dirname(self.log), "log_tx": self.mailbox})

    def mount_tmpfs(self, name, mib, folders):
        """A tmpfs under the root that the folders move onto, each left as a
        link to its new place; None when it cannot be mounted."""
        disk = os.path.join(self.root, name)
        os.makedirs(disk)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%dm" % mib, "soak-" + name, disk],
                          capture_output=True).returncode != 0:
            return None
        for entry_name, path in folders.items():
            os.makedirs(os.path.join(disk, entry_name))
            for entry in os.listdir(path):
                shutil.move(os.path.join(path, entry), os.path.join(disk, entry_name))
            os.rmdir(path)
            os.symlink(os.path.join(disk, entry_name), path)
        return disk

    def env(self):
        # The sandbox's killall first: the daemon's ends only this root's pppd.
        env = dict(os.environ, FTP_DATA_ROOT=self.root, FTP_DATA_DNS_HOST="localhost",
                   FTP_DATA_TIME_SCALE=str(self.scale),
                   PATH=os.path.join(self.root, "usr/bin") + os.pathsep + os.environ.get("PATH", ""))
        return env

    # --- the processes ----------------------------------------------------
    def ctl(self, *args, check=True):
        result = subprocess.run([self.ctl_path] + [str(a) for a in args], capture_output=True, text=True)
        if check and result.returncode != 0:
            raise RuntimeError("tankora-ctl %s: %s" % (" ".join(map(str, args)), result.stderr.strip()))
        return result.stdout.strip()

    def start_office(self):
        office = os.path.join(self.root, "backoffice")
        self.office = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(self.src, "sim/soak/backoffice.py"), str(self.port),
             os.path.join(office, "incoming"), os.path.join(office, "archive")],
            stdout=subprocess.DEVNULL, stderr=open(os.path.join(self.root, "backoffice.log"), "ab"))

    def stop_office(self):
        self.office.terminate()
        self.office.wait()

    def start_service(self, first=False):
        args = [os.path.join(self.build, "sim/tankora-service"), "--db", self.db]
        if first:
            args += ["--profile", os.path.join(self.root, "soak-profile.json")]
        # Stamped like the daemon's log, so a played fault can be tied to
        # the run that met it; every row served named, so a row the
        # progress passed over unread shows.
        env = dict(os.environ, QT_MESSAGE_PATTERN="%{time yyyy-MM-dd_hh:mm:ss:zzz} %{message}",
                   QT_LOGGING_RULES="tankora.rows.debug=true")
        self.service = subprocess.Popen(args, stdout=subprocess.DEVNULL, env=env,
                                        stderr=open(os.path.join(self.root, "service.log"), "ab"))
        self.ctl("wait-for", "CRunGsm", 9, 4, "--timeout", 20000)
        self.service_up = True

    def kill_service(self):
        self.service_up = False
        self.service.kill()
        self.service.wait()

    def supervise(self):
        self.supervisor = Supervisor([os.path.join(self.build, "ftp_data")], self.env(),
                                     os.path.join(self.root, "daemon.err"), self.scale)
        self.supervisor.start()

    # --- faults -------------------------------------------------------------
    def kill_pppd(self, wait_s):
        """Kills the dial-up as a dropped line does, once there is one."""
        deadline = time.monotonic() + wait_s
        while time.monotonic() < deadline:
            killed = False
            for pid in pids_of(os.path.join(self.root, "usr/sbin/pppd")):
                try:
                    os.kill(pid, signal.SIGKILL)
                    killed = True
                except ProcessLookupError:  # ended meanwhile
                    pass
            if killed:
                if self.service_up:  # what the modem reports when the line drops
                    self.ctl("set", "CRunGsmGprs", 1, 3, check=False)
                return True
            time.sleep(0.05)
        return False

    def left_over(self):
        """The dial-up, FTP and LT clients of this run still alive."""
        return sorted(set(pids_of(os.path.join(self.root, "usr/sbin/pppd"))) |
                      set(pids_of(os.path.join(self.root, "usr/bin/Tankora/"))))

    def client_fault(self, kind, on):
        """The FTP client hangs ("hang") or fails ("fail"); the latest fault
        that is still on is the one it plays."""
        if on:
            self.client_faults.append(kind)
        else:
            self.client_faults.remove(kind)
        if self.client_faults:
            with open(self.fault_file + ".new", "w") as out:
                out.write(self.client_faults[-1] + "\n")
            os.replace(self.fault_file + ".new", self.fault_file)
        elif os.path.exists(self.fault_file):
            os.remove(self.fault_file)

    # --- what the vehicle holds ---------------------------------------------
    def rss_and_fds(self, pid):
        try:
            with open("/proc/%d/status" % pid) as status:
                rss = next(int(l.split()[1]) for l in status if l.startswith("RssAnon:"))
            return rss, len(os.listdir("/proc/%d/fd" % pid))
        except (OSError, StopIteration):
            return None

    def rows_in_store(self):
        """{(book, time stamp in ms): row ID} of every stored logbook row."""
        con = sqlite3.connect("file:%s?mode=ro" % self.db, uri=True, timeout=30)
        try:
            return {(book, stamp): rid for book in ("logbook", "tracking")
                    for rid, stamp in con.execute("SELECT id, stamp FROM %s" % book)}
        finally:
            con.close()

    def pending(self):
        """Files still waiting in the outgoing directories."""
        return sorted(os.listdir(self.ftl)) + sorted(os.listdir(self.mailbox))

    def cleanup(self):
        if getattr(self, "supervisor", None):
            self.supervisor.stop(10)
        for proc in (self.service, self.office):
            if proc and proc.poll() is None:
                proc.kill()
        # The dial-up, FTP and LT clients the daemon left behind belong to this run.
        for pid in pids_of(self.root + "/"):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        for disk in (self.disk, self.log_disk):
            if disk:
                subprocess.run(["umount", "-l", disk])
