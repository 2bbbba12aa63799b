#!/usr/bin/env python3
"""Reminders and desktop notes of the installed program, with the real clock.

A task whose reminder falls due a few seconds after the start shows the pop-up flush with the
bottom-right corner of the work area, and OK with "Don't Remind" switches the reminder off in
the task file. A note dragged with the mouse comes back at the same place after "&Exit" and
the next start, and also after the program is ended by a termination signal.
"""

import datetime
import re
import signal
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import MAIN_WINDOW_TITLE, E2ETestCase, wait_until  # noqa: E402

# United States formats: reminder dates and times are written "M/d/yy" and "h:mm:ss AP".
US = {"LANG": "en_US.UTF-8"}

NOTE_SIZE = (253, 175)
POPUP_CLIENT = (284, 255)
# Places in the pop-up's client area: the OK button's centre.
POPUP_OK = (217 + 29, 221 + 12)


def us_date(moment):
    return "%d/%d/%d" % (moment.month, moment.day, moment.year)


def us_time(moment):
    hour = moment.hour % 12 or 12
    return "%d:%02d:%02d %s" % (hour, moment.minute, moment.second, "AM" if moment.hour < 12 else "PM")


def task_record(task_id, name, content, reminder=None, note=None):
    """One task element as the program writes it; `note` is (top, left) or None for no note."""
    moment = reminder or datetime.datetime(2026, 1, 5, 9, 0, 0)
    top, left = note if note is not None else (0, 0)
    return ("<%s><taskname>%s</taskname><taskcategoryid>category20081124202715129</taskcategoryid>"
            "<taskpriorityid>1</taskpriorityid><taskcontent>%s</taskcontent><taskduedate>none</taskduedate>"
            "<taskreminderstate>%s</taskreminderstate><taskremindertime>%s</taskremindertime>"
            "<taskreminderdate>%s</taskreminderdate><taskstate>false</taskstate>"
            "<markformstate>%s</markformstate><markformtop>%d</markformtop><markformleft>%d</markformleft></%s>"
            % (task_id, name, content, "true" if reminder else "false", us_time(moment), us_date(moment),
               "true" if note is not None else "false", top, left, task_id))


def task_file(*records):
    return ("<tasklist>\r\n" + "".join(r + "\r\n" for r in records) + "</tasklist>\r\n").encode("utf-8")


def stored(program, task_id, element):
    """The text of one element of a task in the program's task file."""
    text = program.read("task.qrn").decode("utf-8")
    record = re.search(r"<%s>(.*?)</%s>" % (task_id, task_id), text, re.S)
    if not record:
        return None
    value = re.search(r"<%s>(.*?)</%s>" % (element, element), record.group(1), re.S)
    return value.group(1) if value else None


def work_area(desktop):
    """(x, y, width, height) of the first desktop's work area, as the window manager gives it."""
    out = desktop.run(["xprop", "-root", "_NET_WORKAREA"]).stdout
    numbers = [int(n) for n in re.findall(r"\d+", out.partition("=")[2])]
    return tuple(numbers[:4])


def choose_exit(main):
    """"&Exit" in the main window's File menu: the last item of the menu."""
    main.key("alt+f")
    time.sleep(0.3)  # the menu opens
    main.desktop.key("Up", "Return")


class ReminderPopupTest(E2ETestCase):
    """A reminder due a few seconds after the start."""

    def test_pops_up_at_the_bottom_right_corner_and_dont_remind_switches_it_off(self):
        program = self.new_program(env=US)
        due = (datetime.datetime.now() + datetime.timedelta(seconds=4)).replace(microsecond=0)
        record = task_record("task20260105090000001", "Call the bank",
                             "Ask about the transfer of the 12th and the new card.", reminder=due)
        program.write("task.qrn", task_file(record))
        program.start()
        program.wait_window(MAIN_WINDOW_TITLE)

        popup = program.wait_window("Reminder", timeout=20)
        shown = datetime.datetime.now()
        self.assertGreaterEqual(shown, due - datetime.timedelta(seconds=1), "the pop-up came before its moment")
        client = popup.geometry()
        self.assertEqual((client.width, client.height), POPUP_CLIENT)
        # The frame's bottom-right corner is the work area's.
        x, y, width, height = work_area(self.desktop)
        self.assertTrue(wait_until(lambda: popup.frame_extents() != (0, 0, 0, 0)))
        self.assertTrue(wait_until(lambda: (popup.frame_geometry().x + popup.frame_geometry().width,
                                            popup.frame_geometry().y + popup.frame_geometry().height)
                                   == (x + width, y + height)),
                        "pop-up frame at %s, work area %s" % (popup.frame_geometry(), (x, y, width, height)))
        states = popup.net_wm_state()
        self.assertIn("_NET_WM_STATE_ABOVE", states)
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", states)
        time.sleep(0.3)  # a moment to paint
        popup.screenshot("reminder-popup")
        self.desktop.screenshot("reminder-popup-on-screen")

        # "Don't Remind" is chosen from the start: OK switches the reminder off.
        popup.click(*POPUP_OK)
        popup.wait_gone()
        self.assertEqual(stored(program, "task20260105090000001", "taskreminderstate"), "false")
        self.assertEqual(stored(program, "task20260105090000001", "taskreminderdate"), us_date(due))
        self.assertEqual(stored(program, "task20260105090000001", "taskremindertime"), us_time(due))
        program.kill()

    def test_shows_while_the_main_window_is_hidden(self):
        program = self.new_program(env=US)
        due = (datetime.datetime.now() + datetime.timedelta(seconds=3)).replace(microsecond=0)
        program.write("task.qrn", task_file(task_record("task20260105090000002", "Hidden", "", reminder=due)))
        program.start()
        main = program.wait_window(MAIN_WINDOW_TITLE)
        main.close()  # closing the main window only hides it
        main.wait_visible(False)
        popup = program.wait_window("Reminder", timeout=20)
        self.assertTrue(popup.is_visible())
        self.assertFalse(main.is_visible())
        program.kill()


class DesktopNoteTest(E2ETestCase):
    """A note on the desktop, dragged, and shown again after the next start."""

    TASK = "task20260105090000003"

    def start_with_notes(self, program):
        program.write("task.qrn", task_file(
            task_record(self.TASK, "Buy milk", "Two litres, and bread for the weekend.", note=(0, 0)),
            task_record("task20260105090000004", "Water the plants",
                        "The ferns in the hall need it most; the cactus can wait.",
                        reminder=datetime.datetime.now() + datetime.timedelta(days=1), note=(260, 120))))
        program.start()
        return program.wait_window(MAIN_WINDOW_TITLE)

    def note_at(self, program, left, top):
        def probe():
            for window in program.windows():
                if window.name() == "Mark":
                    g = window.geometry()
                    if (g.x, g.y) == (left, top):
                        return window
            return None
        window = wait_until(probe)
        if not window:
            raise self.desktop.timeout("a note at %d, %d" % (left, top))
        return window

    def default_place(self):
        x, y, width, _ = work_area(self.desktop)
        return x + width - NOTE_SIZE[0] - 50, y + 50

    def test_a_dragged_note_comes_back_at_its_place_after_exit(self):
        program = self.new_program(env=US)
        main = self.start_with_notes(program)
        left, top = self.default_place()
        note = self.note_at(program, left, top)
        self.assertEqual((note.geometry().width, note.geometry().height), NOTE_SIZE)
        states = note.net_wm_state()
        self.assertIn("_NET_WM_STATE_BELOW", states)
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", states)
        other = self.note_at(program, 120, 260)
        time.sleep(0.3)  # a moment to paint
        self.desktop.screenshot("desktop-notes")

        moved = self.drag_window_by(note, (-380, 200))
        # Moving writes nothing by itself.
        self.assertEqual(stored(program, self.TASK, "markformtop"), "0")
        self.assertTrue(other.is_visible())

        choose_exit(main)
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(stored(program, self.TASK, "markformstate"), "true")
        self.assertEqual((stored(program, self.TASK, "markformleft"), stored(program, self.TASK, "markformtop")),
                         (str(moved[0]), str(moved[1])))

        again = self.new_program(same_folder_as=program, env=US)
        again.start()
        again.wait_window(MAIN_WINDOW_TITLE)
        self.note_at(again, *moved)
        self.note_at(again, 120, 260)
        again.kill()

    def test_a_termination_signal_saves_the_notes_places_as_exit_does(self):
        program = self.new_program(env=US)
        main = self.start_with_notes(program)
        note = self.note_at(program, *self.default_place())
        moved = self.drag_window_by(note, (-250, 40))
        # Minimising the main window leaves the notes on the desktop.
        main.minimize()
        main.wait_visible(False)
        self.assertTrue(note.is_visible())
        program.proc.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual((stored(program, self.TASK, "markformleft"), stored(program, self.TASK, "markformtop")),
                         (str(moved[0]), str(moved[1])))


if __name__ == "__main__":
    harness.main()
