"""Drives the real program the way a user does: a private X server, real key presses, screen
captures.

Every process started here is remembered by its process id and ended by that id, on success
and on failure alike (also when the test itself is terminated). Waits poll for a condition
with a generous deadline, since the machine may be busy with other work.
"""

import os
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import zlib

IMPORT = "/usr/bin/import"  # ImageMagick's; another "import" may come first on PATH
TITLE_PATTERN = r"^Orvessa\."
SCREEN = (1024, 768)


class DriverError(AssertionError):
    pass


def _terminate_on_sigterm():
    # Stopped from outside with SIGTERM: raise, so that the clean-up still runs. (CTest's own
    # time-out kills the whole process tree.)
    def handler(signum, frame):
        raise SystemExit("terminated by signal %d" % signum)

    signal.signal(signal.SIGTERM, handler)


_terminate_on_sigterm()


def wait_for(condition, timeout, what, interval=0.02):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise DriverError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def _stop(process, grace=5.0):
    """Ends one child by its pid: SIGTERM, then SIGKILL; always reaps it."""
    if process is None or process.poll() is not None:
        return
    try:
        process.send_signal(signal.SIGTERM)
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Frame:
    """A captured screen: width, height and packed RGB rows from the top."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, col, row):
        i = 3 * (row * self.width + col)
        return tuple(self.rgb[i : i + 3])

    def __eq__(self, other):
        return (self.width, self.height, self.rgb) == (other.width, other.height, other.rgb)

    def colours(self):
        """The set of distinct colours (used for 'every pixel is white')."""
        return {self.rgb[i : i + 3] for i in range(0, len(self.rgb), 3)}

    def save_png(self, path):
        raw = b"".join(
            b"\x00" + self.rgb[r * self.width * 3 : (r + 1) * self.width * 3]
            for r in range(self.height)
        )

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", header))
            out.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            out.write(chunk(b"IEND", b""))


def parse_ppm(data):
    # P6, then width, height and maxval separated by whitespace, then one whitespace byte.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos : pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise DriverError("unexpected capture format %r" % fields)
    width, height = int(fields[1]), int(fields[2])
    rgb = data[pos + 1 : pos + 1 + 3 * width * height]
    if len(rgb) != 3 * width * height:
        raise DriverError("short capture: %d bytes" % len(rgb))
    return Frame(width, height, rgb)


def _cpu_ns(pid):
    """Processor time the live threads of pid have used so far, in nanoseconds: any thread
    that runs at all changes it (/proc's per-process figures count in 10 ms ticks, which a
    short run may leave unchanged)."""
    total = 0
    try:
        tasks = os.listdir("/proc/%d/task" % pid)
    except OSError:
        return None
    for tid in tasks:
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, tid)) as f:
                total += int(f.read().split()[0])
        except OSError:
            continue  # the thread ended meanwhile
    return total


def _any_thread_busy(pid):
    """True when a thread of pid is running, waiting for a processor, or in a disk wait."""
    try:
        tasks = os.listdir("/proc/%d/task" % pid)
    except OSError:
        return False
    for tid in tasks:
        try:
            with open("/proc/%d/task/%s/stat" % (pid, tid)) as f:
                state = f.read().rsplit(")", 1)[1].split()[0]
        except OSError:
            continue
        if state in ("R", "D"):
            return True
    return False


class XServer:
    """A private Xvfb, no window manager, on a display number it picks itself."""

    def __init__(self, startup_timeout=30, log=None):
        read_end, write_end = os.pipe()
        self.log = open(log or os.devnull, "wb")
        self.process = subprocess.Popen(
            # Without -noreset the server resets whenever its last client leaves, and a client
            # connecting just then (the program, while xdotool polls) is turned away.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        os.close(write_end)
        try:
            number = b""
            deadline = time.monotonic() + startup_timeout
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                ready = select.select([read_end], [], [], max(left, 0))[0]
                chunk = os.read(read_end, 16) if ready else b""
                if not chunk:
                    self.stop()
                    raise DriverError("Xvfb did not report a display number")
                number += chunk
        finally:
            os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.pid = self.process.pid

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        return env

    def run(self, *args, timeout=30):
        """Runs an X client (xdotool, import) against this display; returns its stdout."""
        try:
            done = subprocess.run(args, env=self.env(), stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise DriverError("%s did not finish within %d s" % (args[0], timeout))
        if done.returncode != 0:
            raise DriverError("%s failed (%d): %s" % (" ".join(args), done.returncode,
                                                       done.stderr.decode(errors="replace")))
        return done.stdout

    def capture(self):
        return parse_ppm(self.run(IMPORT, "-window", "root", "-depth", "8", "ppm:-"))

    def stop(self):
        _stop(self.process)
        self.log.close()


class Native:
    """Starts a program as it is, or under a wrapper such as valgrind (`prefix`); `env` adds
    to its environment."""

    def __init__(self, binary, prefix=(), env=None):
        self.binary, self.prefix, self.extra_env = binary, tuple(prefix), dict(env or {})

    def open(self):
        pass

    def argv(self, *args):
        return [*self.prefix, self.binary, *args]

    def env(self, env):
        return dict(env, **self.extra_env)

    def close(self):
        pass


class Wine:
    """Starts a Windows program under Wine. Each run has a prefix of its own, made from the
    build's (`template`) in a moment: Windows' own files are hard links, the rest copies. Its
    Wine server ends with the run, since a server that served one X display cannot open
    windows on the next run's."""

    def __init__(self, exe, template):
        self.exe, self.template = exe, template
        self.prefix = self.runtime = None

    def open(self):
        if not os.path.isfile(os.path.join(self.template, "system.reg")):
            raise DriverError("no Wine prefix at %s (the Windows build makes it)" % self.template)
        self.prefix = tempfile.mkdtemp(prefix="orvessa-wine-")
        # The folder a desktop session gives its programs (Wine 10 says so on stderr without
        # one): mkdtemp makes it the session user's alone, as it must be.
        self.runtime = tempfile.mkdtemp(prefix="orvessa-wine-runtime-")
        windows = os.path.join(self.template, "drive_c", "windows")

        def link_or_copy(source, target):
            if os.path.commonpath([source, windows]) == windows:
                os.link(source, target)
            else:
                shutil.copy2(source, target)

        def temporary_files(folder, names):
            # Other runs' temporary files (the unit tests', which run in the build's prefix,
            # among them) are no part of a prefix, and may vanish while they are copied.
            parts = os.path.relpath(folder, self.template).split(os.sep)
            return names if parts[:2] == ["drive_c", "users"] and parts[3:] == ["Temp"] else []

        shutil.copytree(self.template, self.prefix, symlinks=True, dirs_exist_ok=True,
                        copy_function=link_or_copy, ignore=temporary_files)

    def argv(self, *args):
        return ["wine", self.exe, *args]

    def env(self, env):
        env = dict(env)
        # No Mono or Gecko offers, and none of Wine's own chatter in the program's output.
        env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                   XDG_RUNTIME_DIR=self.runtime)
        return env

    def close(self):
        if self.prefix is None:
            return
        subprocess.run(["wineserver", "-k"], env=self.env(os.environ), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        shutil.rmtree(self.prefix, ignore_errors=True)
        shutil.rmtree(self.runtime, ignore_errors=True)
        self.prefix = self.runtime = None


class Qemu(Native):
    """Starts an ARM Linux program under qemu's user-mode emulator (`qemu-aarch64`,
    `qemu-arm`), called by name: no binfmt handler is registered, since the kernel's table of
    them can reach beyond this machine. qemu finds the target's loader and libraries, Mesa's
    among them, in Debian's multiarch folders."""

    def __init__(self, binary, emulator, env=None):
        super().__init__(binary, (emulator,), env)


def launcher(program, prefix=()):
    """`program` itself when it is a launcher already, else the native one for that path."""
    return program if hasattr(program, "argv") else Native(program, prefix)


class Program:
    """The program running on a display, in a working folder, with its window at (0, 0) and
    holding the keyboard focus. `program` is a path or a launcher (Native, Wine, Qemu)."""

    def __init__(self, xserver, program, workdir, prefix=(), startup_timeout=60, log=None):
        self.x = xserver
        self.launch = launcher(program, prefix)
        self.log = open(log or os.devnull, "wb")
        self.launch.open()
        try:
            self.process = subprocess.Popen(
                self.launch.argv(), cwd=workdir, env=self.launch.env(xserver.env()),
                stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        except BaseException:
            self.launch.close()
            raise
        self.pid = self.process.pid
        self.window = None
        try:
            self._take_window(startup_timeout)
        except BaseException:
            self.stop()
            raise

    def _find_window(self):
        self.assert_running()
        found = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", TITLE_PATTERN],
            env=self.x.env(), stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
        ids = found.stdout.split()
        return ids[0].decode() if ids else None

    def geometry(self):
        out = self.x.run("xdotool", "getwindowgeometry", "--shell", self.window).decode()
        values = dict(line.split("=", 1) for line in out.split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def _take_window(self, timeout):
        self.window = wait_for(self._find_window, timeout, "the program's window")
        # No window manager here: the window first shows at its requested size, then switches
        # to full screen size but off the origin; and the keyboard focus follows the pointer
        # unless it is set.
        def in_place():
            x, y, width, height = self.geometry()
            if (width, height) != SCREEN:
                return False
            if (x, y) != (0, 0):
                self.x.run("xdotool", "windowmove", "--sync", self.window, "0", "0")
                return False
            return True

        wait_for(in_place, timeout, "the window to cover the screen", interval=0.05)
        self.x.run("xdotool", "windowfocus", "--sync", self.window)
        self.wait_idle(timeout)

    def running(self):
        return self.process.poll() is None

    def assert_running(self):
        if not self.running():
            raise DriverError("the program ended unexpectedly with status %s"
                              % self.process.returncode)

    def cpu_seconds(self):
        """Processor time the program's live threads have used so far."""
        return _cpu_ns(self.pid) / 1e9

    def peak_memory(self):
        """The most resident memory the program has held so far (VmHWM), in bytes."""
        with open("/proc/%d/status" % self.pid) as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) * 1024
        raise DriverError("no VmHWM for process %d" % self.pid)

    def keys(self, *names, delay_ms=15):
        """Presses and releases each key in turn on the focused window (XTEST events)."""
        self.assert_running()
        self.x.run("xdotool", "key", "--delay", str(delay_ms), *names)

    def wait_idle(self, timeout=60, quiet=0.3):
        """Waits until no thread of the program or of the X server is running or waiting for
        a processor, and none has run at all for `quiet` seconds: every event sent so far has
        been handled and drawn. (xdotool ends only once the server has taken its events, and
        from then on each step of a key's way is a thread of the server or of the program, or
        of the emulator it runs in, that runs or waits to; under Wine, the Wine server's quick
        answers aside.) A key that changes nothing visible leaves no other sign."""
        pids = (self.pid, self.x.pid)
        state = {"used": None, "since": time.monotonic()}

        def settled():
            self.assert_running()
            busy = any(_any_thread_busy(p) for p in pids)
            used = tuple(_cpu_ns(p) for p in pids)
            now = time.monotonic()
            if busy or used != state["used"]:
                state["used"], state["since"] = used, now
                return False
            return now - state["since"] >= quiet

        wait_for(settled, timeout, "the program to become idle", interval=0.02)

    def frame(self, timeout=60):
        """The screen once the program is idle and two captures in a row agree."""
        self.wait_idle(timeout)
        previous = self.x.capture()
        deadline = time.monotonic() + timeout
        while True:
            current = self.x.capture()
            if current == previous:
                return current
            if time.monotonic() > deadline:
                raise DriverError("the screen did not settle")
            self.wait_idle(timeout)
            previous = current

    def press(self, *names, timeout=60):
        """Presses keys and returns the settled frame."""
        self.keys(*names)
        return self.frame(timeout)

    def quit(self, timeout=60):
        """Presses Escape and returns the program's exit status."""
        self.keys("Escape")
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise DriverError("the program did not end within %d s of Escape" % timeout)

    def stop(self):
        try:
            _stop(self.process)
        finally:
            self.launch.close()
            self.log.close()


class Session:
    """An X server and the program on it, in a scratch folder; closes both by pid on exit."""

    def __init__(self, program, workdir, prefix=(), startup_timeout=60, log=None):
        self.binary, self.workdir, self.prefix = program, workdir, prefix
        self.startup_timeout, self.log = startup_timeout, log
        self.x = None
        self.program = None

    def __enter__(self):
        self.x = XServer()
        try:
            self.program = Program(self.x, self.binary, self.workdir, self.prefix,
                                   self.startup_timeout, self.log)
        except BaseException:
            self.x.stop()
            raise
        return self.program

    def __exit__(self, *exc):
        try:
            if self.program is not None:
                self.program.stop()
        finally:
            self.x.stop()
        return False


def require_tools():
    missing = [t for t in ("Xvfb", "xdotool") if shutil.which(t) is None]
    if not os.access(IMPORT, os.X_OK):
        missing.append(IMPORT)
    if missing:
        raise DriverError("missing tools: %s (tools/deps.sh installs them)" % ", ".join(missing))
