#!/usr/bin/env python3
"""Start-up to the main window shown, and memory after start-up, of whole processes.

    startup.py <runs> <label>=<program folder>[:tasks] ...

Each run copies the program folder into a fresh temporary folder (with a generated data
folder when a task count is given), starts the program on its own Xvfb with no window
manager, and times from the start of the process to the X server mapping its first window
of at least 300 pixels wide. The resident memory (VmRSS) is read one second later.
Prints one line per label: label, median ms, min ms, max ms, median processor ms until
shown (all threads; less disturbed by other work on the machine), median MB.
"""
import ctypes
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_data  # noqa: E402

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("pad", ctypes.c_long * 32)]


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            raise RuntimeError("Xvfb did not start")
        number += chunk
    os.close(read)
    return xvfb, ":" + number.decode().strip()


def cpu_seconds(pid):
    """Processor time of all the process's threads so far, from the scheduler's own count."""
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as stat:
                total += int(stat.read().split()[0])
        except OSError:
            pass
    return total / 1e9


def measure(display, program, folder):
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
    x11.XPending.argtypes = [ctypes.c_void_p]
    x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = x11.XOpenDisplay(display.encode())
    x11.XSelectInput(dpy, x11.XDefaultRootWindow(dpy), SUBSTRUCTURE_NOTIFY_MASK)
    x11.XFlush(dpy)
    home = os.path.join(folder, "home")
    os.makedirs(home, exist_ok=True)
    env = dict(os.environ, DISPLAY=display, HOME=home, XDG_RUNTIME_DIR=home, XDG_CONFIG_HOME=home,
               LANG="en_US.UTF-8", QT_QPA_PLATFORM="xcb")
    started = time.monotonic()
    process = subprocess.Popen([program], cwd=home, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shown = None
    event = XEvent()
    try:
        while shown is None and time.monotonic() - started < 20:
            select.select([x11.XConnectionNumber(dpy)], [], [], 0.05)
            while x11.XPending(dpy):
                x11.XNextEvent(dpy, ctypes.byref(event))
                if event.type != MAP_NOTIFY:
                    continue
                mapped = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XMapEvent)).contents
                attributes = XWindowAttributes()
                x11.XGetWindowAttributes(dpy, mapped.window, ctypes.byref(attributes))
                if attributes.width >= 300 and shown is None:
                    shown = time.monotonic() - started
                    cpu = cpu_seconds(process.pid)
        time.sleep(1.0)
        rss = 0
        with open("/proc/%d/status" % process.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    rss = int(line.split()[1]) / 1024.0
    finally:
        process.kill()
        process.wait()
        x11.XCloseDisplay(dpy)
    if shown is None:
        raise RuntimeError("%s showed no window" % program)
    return shown * 1000.0, cpu * 1000.0, rss


def main():
    runs = int(sys.argv[1])
    xvfb, display = start_xvfb()
    try:
        for spec in sys.argv[2:]:
            label, target = spec.split("=", 1)
            source, _, tasks = target.partition(":")
            times, cpus, memory = [], [], []
            for _ in range(runs):
                folder = tempfile.mkdtemp(prefix="taskwick-startup-")
                try:
                    bin_dir = os.path.join(folder, "bin")
                    if os.path.isdir(source):
                        shutil.copytree(source, bin_dir)
                        program = os.path.join(bin_dir, "taskwick")
                    else:
                        os.makedirs(bin_dir)
                        program = shutil.copy(source, bin_dir)
                    if tasks:
                        make_data.write(bin_dir, int(tasks))
                    ms, cpu, mb = measure(display, program, folder)
                    times.append(ms)
                    cpus.append(cpu)
                    memory.append(mb)
                finally:
                    shutil.rmtree(folder, ignore_errors=True)
            print("%s %.1f %.1f %.1f %.1f %.1f" % (label, statistics.median(times), min(times), max(times),
                                                   statistics.median(cpus), statistics.median(memory)))
    finally:
        xvfb.kill()
        xvfb.wait()


if __name__ == "__main__":
    main()
