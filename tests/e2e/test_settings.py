#!/usr/bin/env python3
"""The settings dialog and the about box of the installed program.

"Start with windows" leaves an autostart entry whose Exec line, read as a desktop reads it,
starts the very executable that wrote it, from a folder whose name holds blanks, quotes,
dollar signs and the other characters a desktop reads as syntax. The about box's home page
link starts the system's web browser program with the link's text.
"""

import ctypes
import datetime
import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import MAIN_WINDOW_TITLE, E2ETestCase  # noqa: E402

ENTRY_NAME = "CorvalenPellory.desktop"

# The folder the program is copied into: every character here means something to a desktop's
# Exec parser or to a shell. (A percent sign, written "%%" as the rules say, is left to the
# widget tests: GLib 2.74's launcher looks for the program under its unexpanded name.)
AWKWARD_FOLDER = "my apps \"quoted\" $HOME `id` it's (x) & y; z"

SETTING_FILE = (b"<setting>\r\n<startwithwindows>false</startwithwindows>\r\n"
                b"<minimizeonstart>false</minimizeonstart>\r\n<alwaysontop>false</alwaysontop>\r\n"
                b"<alphablendstate>false</alphablendstate>\r\n<alphablendvalue>220</alphablendvalue>\r\n"
                b"<markformalphablendstate>true</markformalphablendstate>\r\n"
                b"<markformalphablendvalue>220</markformalphablendvalue>\r\n"
                b"<donetaskputinbottom>false</donetaskputinbottom>\r\n"
                b"<sortbycolumn>default</sortbycolumn>\r\n<displayfilter>all</displayfilter>\r\n"
                b"</setting>\r\n")

# Places in the settings dialog's client area: the "Start with windows" box and the Ok button.
START_WITH_WINDOWS_BOX = (7 + 17 + 7, 4 + 18 + 8)
OK_BUTTON = (203 + 26, 224 + 12)
# The about box's home page link.
HOME_PAGE_LINK = (56 + 6, 288 + 6)


# ----------------------------------------------------------------------------------------------
# Reading a desktop entry as a desktop does, written here from the Desktop Entry rules and
# independent of the program's own code.

_STRING_ESCAPES = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}
_RESERVED = set(" \t\n\"'\\><~|&;$*?#()`")
_FIELD_CODE = re.compile(r"%[fFuUdDnNickvm]")


def read_desktop_entry(path):
    """The keys of the [Desktop Entry] group, values as written (string escapes not undone)."""
    keys = {}
    group = None
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("["):
            group = line.strip()
            continue
        if group == "[Desktop Entry]" and "=" in line:
            key, _, value = line.partition("=")
            keys[key.strip()] = value.strip(" ")
    return keys


def _unescape_string(value):
    out = []
    i = 0
    while i < len(value):
        if value[i] == "\\":
            i += 1
            if i == len(value) or value[i] not in _STRING_ESCAPES:
                raise ValueError("invalid string escape at %d in %r" % (i, value))
            out.append(_STRING_ESCAPES[value[i]])
        else:
            out.append(value[i])
        i += 1
    return "".join(out)


def split_exec(value):
    """The command line of an Exec value: escapes, quoting and field codes undone."""
    line = _unescape_string(value)
    words = []
    i, n = 0, len(line)
    while i < n:
        if line[i] == " ":
            i += 1
            continue
        word = []
        if line[i] == "\"":
            i += 1
            while True:
                if i >= n:
                    raise ValueError("unclosed quote in %r" % line)
                c = line[i]
                if c == "\"":
                    i += 1
                    break
                if c == "\\":
                    if i + 1 >= n or line[i + 1] not in "\"`$\\":
                        raise ValueError("invalid escape in quotes in %r" % line)
                    word.append(line[i + 1])
                    i += 2
                    continue
                word.append(c)
                i += 1
            if i < n and line[i] != " ":
                raise ValueError("a quoted word must be quoted in whole: %r" % line)
        else:
            while i < n and line[i] != " ":
                if line[i] in _RESERVED:
                    raise ValueError("reserved character %r outside quotes in %r" % (line[i], line))
                word.append(line[i])
                i += 1
        text = "".join(word)
        if _FIELD_CODE.fullmatch(text):
            continue  # stands for files or addresses; an autostart passes none
        if re.search(r"%(?!%)", text.replace("%%", "")):
            raise ValueError("a lone percent sign in %r" % text)
        words.append(text.replace("%%", "%"))
    if not words:
        raise ValueError("no program in %r" % value)
    return words


def process_executable(pid):
    try:
        return Path(os.readlink("/proc/%d/exe" % pid))
    except OSError:
        return None


def end_process(proc):
    """Ends one process that this test started, by its pid."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(3.0)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(harness.STEP_TIMEOUT)


def become_subreaper():
    """Makes the processes that our children leave behind our own children, so that this test
    can wait for them; True if the system allows it."""
    libc = ctypes.CDLL(None, use_errno=True)
    pr_set_child_subreaper = 36
    return libc.prctl(pr_set_child_subreaper, 1, 0, 0, 0) == 0


def end_orphan(pid):
    """Ends a process that a launcher started and left to us, by its pid, and waits for it."""
    os.kill(pid, 15)

    def gone():
        try:
            done, _ = os.waitpid(pid, os.WNOHANG)
            return done == pid
        except ChildProcessError:  # not ours to wait for: look at it instead
            return process_executable(pid) is None

    if not harness.wait_until(gone, 3.0):
        os.kill(pid, 9)
        harness.wait_until(gone, harness.STEP_TIMEOUT)


def processes_of(executable):
    """Pids of the running processes whose executable file is `executable`."""
    found = []
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit() and process_executable(int(entry.name)) == executable:
            found.append(int(entry.name))
    return found


def open_settings(program):
    """The settings dialog, opened from the main window's File menu."""
    main = program.wait_window(MAIN_WINDOW_TITLE)
    main.key("alt+f")
    program.desktop.key("s")  # "&Setting"
    dialog = program.wait_window("Setting")
    geometry = dialog.geometry()
    if (geometry.width, geometry.height) != (322, 257):
        raise harness.E2EError("the settings dialog's client area is %dx%d" % (geometry.width, geometry.height))
    time.sleep(0.2)  # let it paint before a picture is taken
    return dialog


def task_file_with_reminder(task_id, due):
    """A task file with one task whose reminder is due at `due`, in United States formats."""
    hour = due.hour % 12 or 12
    record = ("<%s><taskname>Call the bank</taskname><taskcategoryid>category20081124202715129</taskcategoryid>"
              "<taskpriorityid>1</taskpriorityid><taskcontent>About the card.</taskcontent>"
              "<taskduedate>none</taskduedate><taskreminderstate>true</taskreminderstate>"
              "<taskremindertime>%d:%02d:%02d %s</taskremindertime><taskreminderdate>%d/%d/%02d</taskreminderdate>"
              "<taskstate>false</taskstate><markformstate>false</markformstate><markformtop>0</markformtop>"
              "<markformleft>0</markformleft></%s>"
              % (task_id, hour, due.minute, due.second, "AM" if due.hour < 12 else "PM", due.month, due.day,
                 due.year % 100, task_id))
    return ("<tasklist>\r\n%s\r\n</tasklist>\r\n" % record).encode("utf-8")


# ----------------------------------------------------------------------------------------------


class StartWithWindowsTest(E2ETestCase):
    """Start with windows from the settings dialog, for a program in an awkward folder."""

    def new_awkward_program(self, **kwargs):
        program = self.new_program(**kwargs)
        awkward = program.root / AWKWARD_FOLDER / "bin"
        awkward.parent.mkdir()
        program.folder.rename(awkward)
        program.folder = awkward
        return program

    def run_as_a_desktop_would(self, program, argv):
        """Starts a command line the way a session starts its autostart entries."""
        proc = subprocess.Popen(argv, cwd=str(program.user / "home"), env=program.environment(),
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                start_new_session=True)
        self.desktop.track(proc)
        return proc

    def wait_main_window_of(self, pid):
        found = harness.wait_until(
            lambda: self.desktop.search("--pid", str(pid), "--name", "^%s$" % re.escape(MAIN_WINDOW_TITLE)),
            harness.STEP_TIMEOUT)
        if not found:
            raise self.desktop.timeout("the main window of pid %d" % pid)
        return found[0]

    def test_the_autostart_entry_starts_the_same_executable_and_off_removes_it(self):
        program = self.new_awkward_program()
        program.write("setting.qrn", SETTING_FILE)
        entry = program.user / "config" / "autostart" / ENTRY_NAME
        program.start()
        dialog = open_settings(program)
        dialog.screenshot("settings-dialog")
        dialog.click(*START_WITH_WINDOWS_BOX)
        time.sleep(0.1)
        dialog.screenshot("settings-start-with-windows-checked")
        dialog.click(*OK_BUTTON)
        dialog.wait_gone()

        self.assertIn(b"<startwithwindows>true</startwithwindows>", program.read("setting.qrn"))
        self.assertTrue(entry.is_file(), "no autostart entry at %s" % entry)
        keys = read_desktop_entry(entry)
        self.assertEqual(keys.get("Type"), "Application")
        self.assertEqual(keys.get("X-GNOME-Autostart-enabled"), "true")
        argv = split_exec(keys["Exec"])
        self.assertEqual(argv, [str(program.exe)], "Exec=%s" % keys["Exec"])
        validator = shutil.which("desktop-file-validate")
        if validator:
            result = subprocess.run([validator, str(entry)], capture_output=True, text=True, timeout=30)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

        # The session starts the entry at the next log-in, when this program no longer runs.
        program.kill()
        started = self.run_as_a_desktop_would(program, argv)
        window = self.wait_main_window_of(started.pid)
        self.assertEqual(process_executable(started.pid), program.exe)
        self.assertTrue(window.is_visible())
        end_process(started)

        # The desktop's own launcher, where it is installed, reads the entry the same way.
        gio = shutil.which("gio")
        if gio and become_subreaper():
            before = set(processes_of(program.exe))
            # Its output goes to a file: the program it starts inherits it and outlives gio.
            log = self.artifacts / "gio-launch.log"
            with open(log, "wb") as out:
                status = subprocess.run([gio, "launch", str(entry)], env=program.environment(),
                                        cwd=str(program.user / "home"), stdin=subprocess.DEVNULL, stdout=out,
                                        stderr=subprocess.STDOUT, timeout=harness.STEP_TIMEOUT).returncode
            self.assertEqual(status, 0, "gio launch: " + log.read_text(errors="replace"))
            pids = harness.wait_until(lambda: [p for p in processes_of(program.exe) if p not in before],
                                       harness.STEP_TIMEOUT)
            self.assertTrue(pids, "gio launch started no %s" % program.exe)
            self.wait_main_window_of(pids[0])
            self.assertEqual(len(pids), 1, "one program started: %s" % pids)
            end_orphan(pids[0])

        # Off again: Ok removes the entry.
        program.start()
        dialog = open_settings(program)
        dialog.click(*START_WITH_WINDOWS_BOX)
        dialog.click(*OK_BUTTON)
        dialog.wait_gone()
        self.assertIn(b"<startwithwindows>false</startwithwindows>", program.read("setting.qrn"))
        self.assertFalse(entry.exists(), "the autostart entry is still there")
        program.kill()

    def test_esc_leaves_the_dialog_open(self):
        program = self.new_program()
        program.write("setting.qrn", SETTING_FILE)
        program.start()
        dialog = open_settings(program)
        before = program.read("setting.qrn")
        dialog.key("Escape")
        time.sleep(0.3)
        self.assertTrue(dialog.is_visible(), "Esc closed the settings dialog")
        dialog.close()  # the title bar's close: like Cancel
        dialog.wait_gone()
        self.assertBytesEqual(program.read("setting.qrn"), before, "setting.qrn")
        program.kill()


class StayOnTopTest(E2ETestCase):
    """A reminder pop-up, which stays on top, while the settings dialog is open."""

    def test_the_popup_is_an_ordinary_window_while_the_dialog_is_open(self):
        program = self.new_program(env={"LANG": "en_US.UTF-8"})
        due = (datetime.datetime.now() + datetime.timedelta(seconds=3)).replace(microsecond=0)
        program.write("task.qrn", task_file_with_reminder("task20260105090000001", due))
        program.start()
        program.wait_window(MAIN_WINDOW_TITLE)
        popup = program.wait_window("Reminder", timeout=20)
        self.assertTrue(harness.wait_until(lambda: "_NET_WM_STATE_ABOVE" in popup.net_wm_state()),
                        "the pop-up stays on top: %s" % popup.net_wm_state())
        dialog = open_settings(program)
        self.assertTrue(harness.wait_until(lambda: "_NET_WM_STATE_ABOVE" not in popup.net_wm_state()),
                        "the pop-up is still above: %s" % popup.net_wm_state())
        self.desktop.screenshot("settings-over-reminder")
        dialog.close()  # the title bar's close, like Cancel
        dialog.wait_gone()
        self.assertTrue(harness.wait_until(lambda: "_NET_WM_STATE_ABOVE" in popup.net_wm_state()),
                        "the pop-up is on top again: %s" % popup.net_wm_state())
        self.assertTrue(popup.is_visible())
        program.kill()


class AboutBoxTest(E2ETestCase):
    """The about box from the Help menu, and its home page link."""

    def test_the_home_page_link_starts_the_web_browser_with_its_text(self):
        program = self.new_program()
        # A stand-in for the system's web browser program, found first on the path.
        fake_bin = program.user / "fake-bin"
        fake_bin.mkdir()
        record = program.user / "browser-arguments"
        browser = fake_bin / "x-www-browser"
        browser.write_text("#!/bin/sh\nprintf '%%s\\n' \"$@\" > '%s'\n" % record)
        browser.chmod(0o755)
        program.extra_env["PATH"] = "%s:%s" % (fake_bin, os.environ.get("PATH", "/usr/bin:/bin"))
        program.start()
        main = program.wait_window(MAIN_WINDOW_TITLE)
        main.key("alt+h")
        self.desktop.key("a")  # "&About"
        about = program.wait_window("About")
        self.assertEqual((about.geometry().width, about.geometry().height), (525, 312))
        time.sleep(0.3)
        shot = about.screenshot("about-box", frame=False)
        # The picture's blue band runs along the top; the texts lie on its light lower part.
        top = shot.crop(0, 0, shot.width, 100)
        self.assertGreater(top.count(lambda r, g, b: b > 150 and r < 120), top.width * top.height // 2,
                           "the picture is not drawn: %s" % shot.path)
        self.assertGreater(shot.crop(0, 195, 300, 80).dark_pixels(), 200, "no product texts: %s" % shot.path)
        about.screenshot("about-box-framed")
        about.click(*HOME_PAGE_LINK)
        arguments = harness.wait_until(lambda: record.exists() and record.read_text(), harness.STEP_TIMEOUT)
        self.assertEqual(arguments, "https://corvalen.example/taskwick/\n")
        self.assertTrue(about.is_visible(), "the about box stays open")
        about.close()
        about.wait_gone()
        program.kill()


if __name__ == "__main__":
    harness.main()
