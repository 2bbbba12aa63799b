"""End-to-end harness: the installed program on a real X server with a window manager.

`Desktop` starts Xvfb and IceWM (task bar and tray on) and tears both down again.
`Program` copies the installed program folder into a fresh temporary folder, runs it on a
desktop with a private home and configuration, and drives it with xdotool. `E2ETestCase`
wires both into unittest and keeps the screenshots and logs of a failed test.

Only the Python standard library is used; the X tools come from the set-up script
(xvfb, icewm, xdotool, x11-utils, imagemagick).
"""

import argparse
import contextlib
import ctypes
import ctypes.util
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zlib
from dataclasses import dataclass
from pathlib import Path

# How long a step may take before the test gives up. Start-up of the program is well under a
# second here; the margins are for a loaded machine.
STEP_TIMEOUT = 10.0
POLL_INTERVAL = 0.05

SCREEN = "1024x768x24"

DATA_FILES = ("task.qrn", "category.qrn", "setting.qrn")
MAIN_WINDOW_TITLE = "Taskwick 1.0.0"

# Preferences of the private IceWM: task bar and tray on, everything that polls or animates off.
ICEWM_PREFERENCES = """\
ShowTaskBar=1
TaskBarShowTray=1
TaskBarEnableSystemTray=1
TaskBarShowWindows=1
TaskBarShowClock=0
TaskBarShowAPMStatus=0
TaskBarShowCPUStatus=0
TaskBarShowMEMStatus=0
TaskBarShowNetStatus=0
TaskBarShowMailboxStatus=0
TaskBarShowWorkspaces=0
TaskBarShowShowDesktopButton=0
TaskBarAutoHide=0
TaskBarDoubleHeight=0
ShowHelp=0
ShowThemesMenu=0
ShowProgramsMenu=0
QuickSwitch=0
EdgeSwitch=0
FocusRequestFlashTime=0
DelayPointerFocus=0
AutoRaise=0
ClickToFocus=1
FocusOnAppRaise=1
RequestFocusOnAppRaise=1
SmartPlacement=1
ManualPlacement=0
Splash=""
"""

# The exit status of a test script whose tests were all skipped.
SKIP_STATUS = 77

REQUIRED_TOOLS = ("Xvfb", "icewm", "xdotool", "xprop", "xwininfo", "import")


class E2EError(AssertionError):
    """A step of an end-to-end test that did not happen: the message says what was seen."""


def _require_tools():
    missing = [tool for tool in REQUIRED_TOOLS if shutil.which(tool) is None]
    if missing:
        raise E2EError("missing tools: %s (run scripts/setup.sh)" % ", ".join(missing))


def _kill_process(proc, timeout=3.0):
    """Ends one process that this harness started, by its pid: SIGTERM, then SIGKILL."""
    if proc is None or proc.poll() is not None:
        return
    with contextlib.suppress(ProcessLookupError):
        proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        with contextlib.suppress(ProcessLookupError):
            proc.kill()
        proc.wait(timeout)


def wait_until(predicate, timeout=STEP_TIMEOUT, interval=POLL_INTERVAL):
    """Calls predicate until it returns something true or the time is up; returns its last result."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result or time.monotonic() >= deadline:
            return result
        time.sleep(interval)


_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1


def _end_with_harness():
    """Run in each child before exec: it gets SIGTERM when the harness dies, even by SIGKILL."""
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM)


class _Xlib:
    """The one query the X command-line tools lack: the owner of a selection."""

    def __init__(self):
        name = ctypes.util.find_library("X11") or "libX11.so.6"
        lib = ctypes.CDLL(name)
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XGetSelectionOwner.restype = ctypes.c_ulong
        lib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._lib = lib

    def selection_owner(self, display, selection):
        dpy = self._lib.XOpenDisplay(display.encode())
        if not dpy:
            return 0
        try:
            atom = self._lib.XInternAtom(dpy, selection.encode(), 0)
            return int(self._lib.XGetSelectionOwner(dpy, atom))
        finally:
            self._lib.XCloseDisplay(dpy)


# ----------------------------------------------------------------------------------------------
# Pictures


class Image:
    """An RGB picture of the screen or part of it, with a few measures for assertions."""

    def __init__(self, width, height, rgb, path=None):
        self.width = width
        self.height = height
        self.rgb = rgb
        self.path = path

    @classmethod
    def from_ppm(cls, data):
        # Binary PPM: "P6" width height maxval, each separated by white space, then the pixels.
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        pos += 1
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise E2EError("unexpected picture format from import: %r" % fields)
        width, height = int(fields[1]), int(fields[2])
        return cls(width, height, data[pos:pos + width * height * 3])

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, x, y, width, height):
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + width), min(self.height, y + height)
        if x1 <= x0 or y1 <= y0:
            raise E2EError("crop %dx%d+%d+%d lies outside the %dx%d picture" % (width, height, x, y,
                                                                                self.width, self.height))
        rows = [self.rgb[(row * self.width + x0) * 3:(row * self.width + x1) * 3] for row in range(y0, y1)]
        return Image(x1 - x0, y1 - y0, b"".join(rows))

    def count(self, predicate):
        """How many pixels satisfy predicate(r, g, b)."""
        data = self.rgb
        return sum(1 for i in range(0, len(data), 3) if predicate(data[i], data[i + 1], data[i + 2]))

    def dark_pixels(self, below=96):
        """Pixels darker than `below` on every channel, as text on a light background is."""
        return self.count(lambda r, g, b: r < below and g < below and b < below)

    def colours(self):
        data = self.rgb
        return {data[i:i + 3] for i in range(0, len(data), 3)}

    def save(self, path):
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        stride = self.width * 3
        raw = b"".join(b"\x00" + self.rgb[row * stride:(row + 1) * stride] for row in range(self.height))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
               + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))
        path.write_bytes(png)
        self.path = path
        return path


# ----------------------------------------------------------------------------------------------
# Windows


@dataclass(frozen=True)
class Geometry:
    x: int
    y: int
    width: int
    height: int


class Window:
    """One X window of a program, addressed by its id."""

    def __init__(self, desktop, wid):
        self.desktop = desktop
        self.id = int(wid)

    def __repr__(self):
        return "Window(0x%x %r)" % (self.id, self.name())

    def __eq__(self, other):
        return isinstance(other, Window) and other.id == self.id

    def __hash__(self):
        return self.id

    # Reading

    def name(self):
        return self.desktop.xdotool("getwindowname", str(self.id), check=False).rstrip("\n")

    def pid(self):
        out = self.desktop.xdotool("getwindowpid", str(self.id), check=False).strip()
        return int(out) if out.isdigit() else None

    def _xwininfo(self):
        result = self.desktop.run(["xwininfo", "-id", str(self.id)], check=False)
        return result.stdout if result.returncode == 0 else ""

    def exists(self):
        return bool(self._xwininfo())

    def geometry(self):
        """Position and size of the client area (without the frame), in screen coordinates."""
        info = self._xwininfo()
        if not info:
            raise E2EError("window 0x%x no longer exists" % self.id)

        def field(label):
            return int(re.search(r"^\s*%s:\s*(-?\d+)" % re.escape(label), info, re.M).group(1))

        return Geometry(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                        field("Height"))

    def frame_extents(self):
        """(left, right, top, bottom) of the window manager's frame; zeros for a frameless window."""
        out = self.desktop.run(["xprop", "-id", str(self.id), "_NET_FRAME_EXTENTS"], check=False).stdout
        numbers = re.findall(r"\d+", out.partition("=")[2])
        return tuple(int(n) for n in numbers[:4]) if len(numbers) >= 4 else (0, 0, 0, 0)

    def frame_geometry(self):
        """The client area grown by the frame: what a person sees of the window."""
        g = self.geometry()
        left, right, top, bottom = self.frame_extents()
        return Geometry(g.x - left, g.y - top, g.width + left + right, g.height + top + bottom)

    def is_visible(self):
        """Mapped and viewable: a minimised or hidden window is not."""
        return "Map State: IsViewable" in self._xwininfo()

    def wm_state(self):
        """"Normal", "Iconic", "Withdrawn", or "" when the window manager set no state."""
        out = self.desktop.run(["xprop", "-id", str(self.id), "WM_STATE"], check=False).stdout
        match = re.search(r"window state:\s*(\w+)", out)
        return match.group(1) if match else ""

    def window_types(self):
        """The _NET_WM_WINDOW_TYPE atoms, such as "_NET_WM_WINDOW_TYPE_DIALOG"."""
        out = self.desktop.run(["xprop", "-id", str(self.id), "_NET_WM_WINDOW_TYPE"], check=False).stdout
        return re.findall(r"_NET_WM_WINDOW_TYPE_\w+", out)

    def net_wm_state(self):
        out = self.desktop.run(["xprop", "-id", str(self.id), "_NET_WM_STATE"], check=False).stdout
        return re.findall(r"_NET_WM_STATE_\w+", out)

    # Waiting

    def wait_visible(self, visible=True, timeout=STEP_TIMEOUT):
        if not wait_until(lambda: self.is_visible() == visible, timeout):
            raise self.desktop.timeout("window 0x%x %r to become %s" % (self.id, self.name(),
                                                                         "visible" if visible else "hidden"))
        return self

    def wait_gone(self, timeout=STEP_TIMEOUT):
        if not wait_until(lambda: not self.exists(), timeout):
            raise self.desktop.timeout("window 0x%x %r to go away" % (self.id, self.name()))

    # Acting

    def activate(self):
        """Gives the window the keyboard focus through the window manager."""
        if self.desktop.xdotool("windowactivate", "--sync", str(self.id), check=False, timeout=3.0) is None:
            self.desktop.xdotool("windowfocus", "--sync", str(self.id), check=False, timeout=3.0)
        return self

    def key(self, *keys):
        """Presses keys (xdotool names: "Return", "ctrl+n", "alt+f") with this window active."""
        self.activate()
        self.desktop.xdotool("key", "--clearmodifiers", "--delay", "20", *keys)
        return self

    def type(self, text):
        self.activate()
        self.desktop.xdotool("type", "--clearmodifiers", "--delay", "10", text)
        return self

    def to_screen(self, x, y):
        g = self.geometry()
        return g.x + x, g.y + y

    def click(self, x, y, button=1, repeat=1):
        """Clicks at (x, y) of the client area."""
        self.desktop.click(*self.to_screen(x, y), button=button, repeat=repeat)
        return self

    def drag(self, start, end, button=1, steps=10):
        """Drags from `start` to `end`, both (x, y) of the client area as it is when the drag begins."""
        self.desktop.drag(self.to_screen(*start), self.to_screen(*end), button=button, steps=steps)
        return self

    def minimize(self):
        self.desktop.xdotool("windowminimize", "--sync", str(self.id), timeout=STEP_TIMEOUT)
        return self

    def close(self):
        """Asks the window to close as a person does, with Alt+F4 through the window manager."""
        self.key("alt+F4")

    def move(self, x, y):
        self.desktop.xdotool("windowmove", "--sync", str(self.id), str(x), str(y), check=False)
        return self

    def screenshot(self, name, frame=True):
        """Saves this window as seen on screen (with its frame unless frame=False); returns the Image."""
        g = self.frame_geometry() if frame else self.geometry()
        return self.desktop.screenshot(name, region=g)


# ----------------------------------------------------------------------------------------------
# Desktop


class Desktop:
    """Xvfb on a free display with IceWM; a context manager that leaves nothing behind."""

    def __init__(self, artifacts=None, screen=SCREEN):
        self.screen = screen
        self.artifacts = Path(artifacts) if artifacts else None
        self.display = None
        self.env = None
        self._dir = None
        self._xvfb = None
        self._wm = None
        self._processes = []
        self._shots = 0

    # Life cycle

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        _require_tools()
        self._dir = Path(tempfile.mkdtemp(prefix="taskwick-e2e-desktop-"))
        self._start_xvfb()
        self._start_wm()

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        log = open(self._dir / "xvfb.log", "wb")
        try:
            self._xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.screen, "-dpi", "96", "-nolisten", "tcp",
                 "-noreset"],
                pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                start_new_session=True, preexec_fn=_end_with_harness)
        finally:
            os.close(write_fd)
            log.close()
        number = b""
        deadline = time.monotonic() + STEP_TIMEOUT
        try:
            while not number.endswith(b"\n"):
                remaining = deadline - time.monotonic()
                if remaining <= 0 or self._xvfb.poll() is not None:
                    raise E2EError("Xvfb did not report its display (log: %s)" %
                                   (self._dir / "xvfb.log").read_text(errors="replace")[-2000:])
                ready, _, _ = select.select([read_fd], [], [], remaining)
                if ready:
                    chunk = os.read(read_fd, 64)
                    if not chunk:
                        continue
                    number += chunk
        finally:
            os.close(read_fd)
        self.display = ":" + number.decode().strip()
        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XAUTHORITY", "SESSION_MANAGER")}
        env["DISPLAY"] = self.display
        self.env = env

    def _start_wm(self):
        home = self._dir / "wm-home"
        config = home / "icewm"
        config.mkdir(parents=True)
        (config / "preferences").write_text(ICEWM_PREFERENCES)
        # Empty menus and tool bar: nothing to scan at start.
        for name in ("menu", "programs", "toolbar", "startup"):
            (config / name).write_text("")
        env = dict(self.env, HOME=str(home), ICEWM_PRIVCFG=str(config), XDG_CONFIG_HOME=str(home / "config"))
        log = open(self._dir / "icewm.log", "wb")
        try:
            self._wm = subprocess.Popen(["icewm"], env=env, stdin=subprocess.DEVNULL, stdout=log,
                                        stderr=subprocess.STDOUT, start_new_session=True,
                                        preexec_fn=_end_with_harness)
        finally:
            log.close()
        xlib = _Xlib()
        owner = wait_until(lambda: self._wm.poll() is None and xlib.selection_owner(self.display,
                                                                                      "_NET_SYSTEM_TRAY_S0"),
                            STEP_TIMEOUT)
        if not owner:
            raise E2EError("IceWM did not take the tray (_NET_SYSTEM_TRAY_S0) within %.0f s; icewm %s; log: %s" %
                           (STEP_TIMEOUT, "exited" if self._wm.poll() is not None else "running",
                            (self._dir / "icewm.log").read_text(errors="replace")[-2000:]))
        self.tray_owner = owner

    def stop(self):
        for proc in reversed(self._processes):
            _kill_process(proc)
        self._processes.clear()
        _kill_process(self._wm)
        _kill_process(self._xvfb)
        self._wm = self._xvfb = None
        if self._dir:
            shutil.rmtree(self._dir, ignore_errors=True)
            self._dir = None

    def track(self, proc):
        """Remembers a process started on this desktop so that stop() ends it at the latest."""
        self._processes.append(proc)
        return proc

    # Commands

    def run(self, args, check=True, timeout=STEP_TIMEOUT):
        try:
            result = subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=timeout,
                                    stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            if check:
                raise self.timeout("%s to finish" % " ".join(args))
            return subprocess.CompletedProcess(args, None, "", "")
        if check and result.returncode != 0:
            raise E2EError("%s failed (%s): %s" % (" ".join(args), result.returncode, result.stderr.strip()))
        return result

    def xdotool(self, *args, check=True, timeout=STEP_TIMEOUT):
        """Runs xdotool; its output, or None when check=False and it failed or took too long."""
        result = self.run(["xdotool", *args], check=check, timeout=timeout)
        return result.stdout if result.returncode == 0 else None

    # Windows

    def search(self, *criteria, visible=True):
        """Window ids that xdotool finds for all criteria (e.g. "--pid", "42", "--name", "^Title$")."""
        args = ["search", "--all"]
        if visible:
            args.append("--onlyvisible")
        out = self.xdotool(*args, *criteria, check=False) or ""
        return [Window(self, int(line)) for line in out.split() if line.isdigit()]

    def managed_windows(self):
        """The client windows the window manager manages, bottom to top."""
        out = self.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], check=False).stdout
        return [Window(self, int(h, 16)) for h in re.findall(r"0x[0-9a-fA-F]+", out)]

    def in_tray(self, window):
        """True when the window sits inside the task bar (an icon docked in the tray)."""
        tray = self.tray_geometry()
        if tray is None:
            return False
        try:
            g = window.geometry()
        except E2EError:
            return False
        return (tray.x <= g.x and g.x + g.width <= tray.x + tray.width and tray.y <= g.y and
                g.y + g.height <= tray.y + tray.height)

    def tray_geometry(self):
        """Where the task bar is on screen (the tray lies in it), or None."""
        out = self.xdotool("search", "--onlyvisible", "--class", "^TaskBar$", check=False) or ""
        bars = []
        for line in out.split():
            window = Window(self, int(line))
            with contextlib.suppress(E2EError):
                g = window.geometry()
                if g.width >= 200 and g.height <= 64:
                    bars.append(g)
        return max(bars, key=lambda g: g.width, default=None)

    def active_window(self):
        out = self.xdotool("getactivewindow", check=False)
        return Window(self, int(out)) if out and out.strip().isdigit() else None

    def describe_windows(self):
        """A text listing of what is on the screen, for failure messages."""
        lines = []
        for window in self.managed_windows():
            try:
                geometry = window.geometry()
            except E2EError:
                geometry = "(gone)"
            lines.append("  0x%x pid=%s %s %r state=%s" % (window.id, window.pid(), geometry, window.name(),
                                                            window.wm_state()))
        return "\n".join(lines) or "  (no managed windows)"

    # Input

    def click(self, x, y, button=1, repeat=1):
        self.xdotool("mousemove", "--sync", str(x), str(y))
        self.xdotool("click", "--repeat", str(repeat), "--delay", "80", str(button))

    def drag(self, start, end, button=1, steps=10):
        (x0, y0), (x1, y1) = start, end
        self.xdotool("mousemove", "--sync", str(x0), str(y0))
        self.xdotool("mousedown", str(button))
        try:
            for i in range(1, steps + 1):
                x = x0 + (x1 - x0) * i // steps
                y = y0 + (y1 - y0) * i // steps
                self.xdotool("mousemove", "--sync", str(x), str(y))
                time.sleep(0.01)
        finally:
            self.xdotool("mouseup", str(button))

    def key(self, *keys):
        """Presses keys in whatever window has the focus."""
        self.xdotool("key", "--clearmodifiers", "--delay", "20", *keys)

    # Pictures

    def capture(self, region=None):
        """The screen (or a Geometry of it) as an Image, not saved."""
        out = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, timeout=STEP_TIMEOUT, stdin=subprocess.DEVNULL)
        if out.returncode != 0:
            raise E2EError("import failed: %s" % out.stderr.decode(errors="replace").strip())
        image = Image.from_ppm(out.stdout)
        if region is not None:
            image = image.crop(region.x, region.y, region.width, region.height)
        return image

    def screenshot(self, name="screen", region=None):
        """Saves the screen (or a region) as <artifacts>/<nn>-<name>.png and returns the Image."""
        image = self.capture(region)
        self._shots += 1
        folder = self.artifacts or self._dir
        image.save(Path(folder) / ("%02d-%s.png" % (self._shots, re.sub(r"[^\w.-]+", "_", name))))
        return image

    def timeout(self, what):
        """An E2EError for a wait that ran out, with the windows on screen and a screenshot."""
        try:
            shot = self.screenshot("timeout").path
        except Exception as error:  # the screenshot is a diagnosis; the time-out is what matters
            shot = "no screenshot (%s)" % error
        return E2EError("timed out waiting for %s\nwindows on screen:\n%s\nscreenshot: %s" %
                        (what, self.describe_windows(), shot))


# ----------------------------------------------------------------------------------------------
# The program


class Program:
    """The installed program copied into its own temporary folder, run on a desktop.

    `same_folder_as` runs another start from the folder (and as the user) of an existing
    Program; `same_user_as` gives a new copy that shares the home, configuration, runtime and
    temporary folders of another, as two programs of one person share them.
    """

    def __init__(self, desktop, prefix=None, same_folder_as=None, same_user_as=None, env=None):
        self.desktop = desktop
        self.proc = None
        self.log_path = None
        self._owns_folder = same_folder_as is None
        self._owns_user = same_folder_as is None and same_user_as is None
        if same_folder_as is not None:
            self.root = same_folder_as.root
            self.folder = same_folder_as.folder
            self.user = same_folder_as.user
            prefix = prefix or same_folder_as.prefix
        else:
            if prefix is None:
                raise ValueError("prefix (the installed tree with bin/taskwick) is needed for a new copy")
            self.root = Path(tempfile.mkdtemp(prefix="taskwick-e2e-app-"))
            self.folder = self.root / "bin"
            source = Path(prefix) / "bin"
            if not (source / "taskwick").is_file():
                shutil.rmtree(self.root, ignore_errors=True)
                raise E2EError("%s holds no taskwick: run the e2e_install test (cmake --install)" % source)
            shutil.copytree(source, self.folder, symlinks=True)
            if same_user_as is not None:
                self.user = same_user_as.user
            else:
                self.user = self.root / "user"
                for sub in ("home", "config", "data", "cache", "tmp", "runtime"):
                    (self.user / sub).mkdir(parents=True)
                (self.user / "runtime").chmod(0o700)
        self.prefix = prefix
        self.extra_env = dict(env or {})

    @property
    def exe(self):
        return self.folder / "taskwick"

    @property
    def pid(self):
        return self.proc.pid if self.proc else None

    def environment(self):
        env = dict(self.desktop.env)
        env.update(HOME=str(self.user / "home"), XDG_CONFIG_HOME=str(self.user / "config"),
                   XDG_DATA_HOME=str(self.user / "data"), XDG_CACHE_HOME=str(self.user / "cache"),
                   XDG_RUNTIME_DIR=str(self.user / "runtime"), TMPDIR=str(self.user / "tmp"),
                   QT_QPA_PLATFORM="xcb", LANG="C.UTF-8", NO_AT_BRIDGE="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="0")
        for name in ("LC_ALL", "LANGUAGE", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"):
            env.pop(name, None)
        env.update(self.extra_env)
        return env

    # Files

    def path(self, name):
        return self.folder / name

    def read(self, name):
        """The bytes of a file in the program folder (the data files live beside the executable)."""
        return self.path(name).read_bytes()

    def write(self, name, data):
        if isinstance(data, str):
            data = data.encode("utf-8")
        self.path(name).write_bytes(data)

    def remove(self, name):
        self.path(name).unlink()

    def data_files(self):
        """The names of the data files present, in the order task, category, setting."""
        return [name for name in DATA_FILES if self.path(name).exists()]

    def files(self):
        return sorted(p.name for p in self.folder.iterdir())

    # Running

    @staticmethod
    def can_mount_read_only():
        """True when a private mount namespace with a read-only bind mount can be made here."""
        if shutil.which("unshare") is None or shutil.which("mount") is None:
            return False
        probe = tempfile.mkdtemp(prefix="taskwick-e2e-probe-")
        try:
            result = subprocess.run(
                ["unshare", "--mount", "--propagation", "private", "sh", "-c",
                 'mount --bind -o ro "$0" "$0" && ! touch "$0/x" 2>/dev/null', probe],
                capture_output=True, timeout=STEP_TIMEOUT)
            return result.returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False
        finally:
            shutil.rmtree(probe, ignore_errors=True)

    def start(self, *args, read_only=False):
        """Starts the program; with read_only=True its folder is a read-only bind mount for it alone."""
        if self.proc is not None and self.proc.poll() is None:
            raise E2EError("this Program is already running (pid %d)" % self.proc.pid)
        command = [str(self.exe), *args]
        if read_only:
            # unshare and sh exec into the program, so the pid stays the program's.
            command = ["unshare", "--mount", "--propagation", "private", "sh", "-c",
                       'mount --bind -o ro "$0" "$0" && exec "$@"', str(self.folder), *command]
        artifacts = self.desktop.artifacts or self.root
        Path(artifacts).mkdir(parents=True, exist_ok=True)
        self.log_path = Path(artifacts) / ("program-%d.log" % (len(list(Path(artifacts).glob("program-*.log"))) + 1))
        with open(self.log_path, "wb") as log:
            self.proc = self.desktop.track(subprocess.Popen(
                command, cwd=str(self.user / "home"), env=self.environment(), stdin=subprocess.DEVNULL,
                stdout=log, stderr=subprocess.STDOUT, start_new_session=True,
                                        preexec_fn=_end_with_harness))
        return self

    def is_running(self):
        return self.proc is not None and self.proc.poll() is None

    def log(self):
        return self.log_path.read_text(errors="replace") if self.log_path and self.log_path.exists() else ""

    def wait_exit(self, timeout=STEP_TIMEOUT):
        """Waits for the program to end and returns its exit status (negative: killed by that signal)."""
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise self.desktop.timeout("pid %d to exit; its log:\n%s" % (self.proc.pid, self.log()[-2000:])) from None

    def kill(self, sig=signal.SIGTERM):
        """Ends this program by its pid and returns its exit status.

        SIGTERM (then SIGKILL if it lingers) as a session end does; SIGKILL as a crash does.
        """
        if self.proc is None:
            return None
        if sig == signal.SIGTERM:
            _kill_process(self.proc)
        elif self.proc.poll() is None:
            with contextlib.suppress(ProcessLookupError):
                self.proc.send_signal(sig)
            self.wait_exit()
        return self.proc.returncode

    def cleanup(self):
        self.kill()
        if self._owns_folder:
            shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.cleanup()
        return False

    # Windows

    def windows(self, visible=True, managed=None):
        """This program's windows; managed=True: only those the window manager frames (main
        window, dialogs), managed=False: only the others (tray icon, pop-up menus, tool tips)."""
        if self.proc is None:
            return []
        found = self.desktop.search("--pid", str(self.proc.pid), visible=visible)
        if managed is None:
            return found
        frames = set(self.desktop.managed_windows())
        return [w for w in found if (w in frames) == managed]

    def tray_icons(self):
        """This program's icons docked in the task bar's tray (windows inside the tray's window)."""
        return [w for w in self.windows(managed=False) if self.desktop.in_tray(w)]

    def find_window(self, name=None, visible=True):
        """The first window of this program whose title is exactly `name` (any title when None)."""
        criteria = ["--pid", str(self.proc.pid)]
        criteria += ["--name", "^%s$" % re.escape(name) if name is not None else ""]
        found = self.desktop.search(*criteria, visible=visible)
        return found[0] if found else None

    def wait_window(self, name=None, visible=True, timeout=STEP_TIMEOUT):
        """Waits for a window of this program titled exactly `name` (any title when None).

        visible=True waits for it to be on screen; visible=False for it merely to exist.
        Fails at once if the program ends meanwhile.
        """
        what = "a window %s of pid %d" % (repr(name) if name is not None else "(any title)", self.proc.pid)

        def probe():
            if self.proc.poll() is not None:
                return "exited"
            return self.find_window(name, visible)

        found = wait_until(probe, timeout)
        if found == "exited":
            # One more look: the window may have come and gone with the process.
            raise E2EError("the program exited with status %s while waiting for %s; its log:\n%s" %
                           (self.proc.returncode, what, self.log()[-2000:]))
        if not found:
            raise self.desktop.timeout(what)
        return found

    def wait_no_window(self, name=None, timeout=STEP_TIMEOUT):
        if not wait_until(lambda: self.find_window(name) is None, timeout):
            raise self.desktop.timeout("no visible window %r of pid %d" % (name, self.proc.pid))


# ----------------------------------------------------------------------------------------------
# unittest glue

_options = argparse.Namespace(prefix=None, artifacts=None, keep=False)


class E2ETestCase(unittest.TestCase):
    """One desktop per test class; each test gets fresh programs through start_program().

    A failed test keeps its screenshots, the program logs and a last picture of the screen
    under <artifacts>/<test id>/; a passed test leaves nothing.
    """

    desktop = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix = Path(_options.prefix or os.environ.get("TASKWICK_E2E_PREFIX") or _default_prefix())
        cls.artifacts_root = Path(_options.artifacts or os.environ.get("TASKWICK_E2E_ARTIFACTS") or
                                  cls.prefix.parent / "e2e-artifacts")
        cls.desktop = Desktop()
        cls.desktop.__enter__()

    @classmethod
    def tearDownClass(cls):
        if cls.desktop is not None:
            cls.desktop.__exit__(None, None, None)
            cls.desktop = None
        super().tearDownClass()

    def setUp(self):
        super().setUp()
        self.artifacts = self.artifacts_root / re.sub(r"[^\w.-]+", "_", self.id().split(".", 1)[-1])
        shutil.rmtree(self.artifacts, ignore_errors=True)
        self.artifacts.mkdir(parents=True)
        self.desktop.artifacts = self.artifacts
        self.desktop._shots = 0

    def _failures(self):
        result = getattr(self, "_e2e_result", None)
        return len(result.failures) + len(result.errors) if result is not None else 0

    def tearDown(self):
        # Before the programs are ended: what the screen showed when the test failed.
        if self._failures() > self._e2e_before:
            with contextlib.suppress(Exception):
                self.desktop.screenshot("at-failure")
                (self.artifacts / "windows.txt").write_text(self.desktop.describe_windows() + "\n")
        super().tearDown()

    def run(self, result=None):
        result = result if result is not None else self.defaultTestResult()
        self._e2e_result = result
        self._e2e_before = self._failures()
        super().run(result)
        if self._failures() == self._e2e_before and not _options.keep:
            shutil.rmtree(self.artifacts, ignore_errors=True)
        elif self._failures() > self._e2e_before:
            sys.stderr.write("e2e artifacts of %s: %s\n" % (self.id(), self.artifacts))
        return result

    def start_program(self, *args, read_only=False, **kwargs):
        """A new Program (see Program's arguments), started, and ended again after the test."""
        program = self.new_program(**kwargs)
        program.start(*args, read_only=read_only)
        return program

    def drag_window_by(self, note, by):
        """Drags a frameless window (a desktop note) by its content as a person does.

        Returns where it ended (left, top).

        The window manager snaps a moved window to nearby edges: keep targets clear of them.
        """
        g = note.geometry()
        x0, y0 = g.x + 60, g.y + 100
        self.desktop.xdotool("mousemove", "--sync", str(x0), str(y0))
        self.desktop.xdotool("mousedown", "1")
        try:
            time.sleep(0.3)  # the window manager takes over the move
            for i in range(1, 21):
                self.desktop.xdotool("mousemove", "--sync", str(x0 + by[0] * i // 20), str(y0 + by[1] * i // 20))
                time.sleep(0.02)
            time.sleep(0.2)
        finally:
            self.desktop.xdotool("mouseup", "1")
        target = (g.x + by[0], g.y + by[1])
        self.assertTrue(wait_until(lambda: abs(note.geometry().x - target[0]) <= 3 and
                                   abs(note.geometry().y - target[1]) <= 3),
                        "note at %s after the drag, not near %s" % (note.geometry(), target))
        time.sleep(0.2)  # the last move reaches the program
        return note.geometry().x, note.geometry().y

    def new_program(self, **kwargs):
        """A new Program not yet started (to prepare its files first), cleaned up after the test."""
        kwargs.setdefault("prefix", self.prefix)
        program = Program(self.desktop, **kwargs)
        self.addCleanup(program.cleanup)
        return program

    def assertBytesEqual(self, actual, expected, what="file"):
        if actual != expected:
            self.fail("%s differs:\n  actual:   %r\n  expected: %r" % (what, actual, expected))


def _default_prefix():
    here = Path(__file__).resolve().parent
    return here.parent.parent / "build" / "dev" / "e2e-install"


def main():
    """Runs the unittest module.

    Options before the unittest ones: --prefix <installed tree>, --artifacts <folder>, and
    --keep-artifacts to keep the screenshots and logs of passed tests as well.
    """
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--prefix")
    parser.add_argument("--artifacts")
    parser.add_argument("--keep-artifacts", action="store_true")
    known, rest = parser.parse_known_args()
    _options.prefix = known.prefix
    _options.artifacts = known.artifacts
    _options.keep = known.keep_artifacts or os.environ.get("TASKWICK_E2E_KEEP_ARTIFACTS") == "1"
    result = unittest.main(module="__main__", argv=[sys.argv[0], *rest], verbosity=2, exit=False).result
    if not result.wasSuccessful():
        sys.exit(1)
    # Every test skipped (a class skipped in setUpClass runs none): CTest reports it as skipped.
    if result.skipped and len(result.skipped) >= result.testsRun:
        sys.exit(SKIP_STATUS)
    if result.testsRun == 0:
        sys.exit("no test ran")
