#!/usr/bin/env python3
"""The whole road of one task through the installed program, with the real clock.

Ctrl+A, a name, "Reminder :" a few seconds ahead and "Display On Desktop", Ok: the note comes
on the desktop and the pop-up at the reminder's moment. "1 minute" moves the stored reminder
one minute past its moment and the pop-up comes again then; "Don't Remind" switches it off.
The note, dragged elsewhere, comes back there after "&Exit" and the next start, with the task
in the grid and no pop-up.
"""

import datetime
import re
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import MAIN_WINDOW_TITLE, E2ETestCase, wait_until  # noqa: E402

# United States formats: the program writes dates "M/d/yyyy" and times "h:mm:ss AP".
US = {"LANG": "en_US.UTF-8"}

NAME = "Renew the passport"
NOTE_SIZE = (253, 175)
# How far ahead of the editor's opening the reminder is set: time to type it in and press Ok.
LEAD_SECONDS = 12

# Places in the task editor's client area: the "Reminder :" box (in the group box at 9, 246)
# and the "Display On Desktop" box.
REMINDER_BOX = (9 + 8 + 8, 246 + 20 + 11)
DESKTOP_BOX = (9 + 8, 308 + 11)
# Places in the pop-up's client area: the "Remind in :" list and the OK button, at their centres.
POPUP_REMIND_IN = (93 + 51, 223 + 10)
POPUP_OK = (217 + 29, 221 + 12)
# The main window's grid: the band of the first row over the task name column.
FIRST_ROW_NAME = (70, 68, 300, 16)
# The note's name label.
NOTE_NAME = (15, 27, 177, 13)


def settle():
    """A moment for a freshly mapped window to paint before it is photographed."""
    time.sleep(0.3)


def us_date(moment):
    return "%d/%d/%d" % (moment.month, moment.day, moment.year)


def us_time(moment):
    hour = moment.hour % 12 or 12
    return "%d:%02d:%02d %s" % (hour, moment.minute, moment.second, "AM" if moment.hour < 12 else "PM")


def task_ids(program):
    return re.findall(r"<(task\d{17})><taskname>", program.read("task.qrn").decode("utf-8"))


def stored(program, task_id, element):
    """The text of one element of a task in the program's task file."""
    text = program.read("task.qrn").decode("utf-8")
    record = re.search(r"<%s>(.*?)</%s>" % (task_id, task_id), text, re.S)
    if not record:
        return None
    value = re.search(r"<%s>(.*?)</%s>" % (element, element), record.group(1), re.S)
    return value.group(1) if value else None


def work_area(desktop):
    out = desktop.run(["xprop", "-root", "_NET_WORKAREA"]).stdout
    return tuple(int(n) for n in re.findall(r"\d+", out.partition("=")[2])[:4])


class RoadTest(E2ETestCase):
    def notes(self, program):
        return [w for w in program.windows() if w.name() == "Mark"]

    def wait_note(self, program, place=None):
        """The program's one note on screen, at `place` (left, top) when given."""
        def probe():
            found = self.notes(program)
            if len(found) != 1:
                return None
            g = found[0].geometry()
            return found[0] if place is None or (g.x, g.y) == tuple(place) else None
        note = wait_until(probe)
        if not note:
            raise self.desktop.timeout("one note%s" % (" at %d, %d" % tuple(place) if place else ""))
        return note

    def choose_remind_in(self, program, popup, keys, name):
        """Opens "Remind in :" with a click, picks an entry with `keys` and shows the choice."""
        before = set(program.windows())
        popup.click(*POPUP_REMIND_IN)
        opened = wait_until(lambda: [w for w in program.windows() if w not in before])
        if not opened:
            raise self.desktop.timeout("the list of \"Remind in :\" to open")
        settle()
        self.desktop.screenshot(name + "-list", region=opened[0].frame_geometry())
        self.desktop.key(*keys, "Return")
        opened[0].wait_visible(False)
        settle()
        popup.screenshot(name)

    def test_add_remind_snooze_switch_off_move_the_note_exit_and_start_again(self):
        program = self.start_program(env=US)
        main = program.wait_window(MAIN_WINDOW_TITLE)
        settle()

        # The editor: a name, the reminder a few seconds ahead, the note on the desktop.
        main.key("ctrl+a")
        editor = program.wait_window("Task")
        due = (datetime.datetime.now() + datetime.timedelta(seconds=LEAD_SECONDS)).replace(microsecond=0)
        editor.type(NAME)
        editor.click(*REMINDER_BOX)
        # Tab from the box to the time, now enabled: its hour is selected, and typing fills in
        # one part after the other.
        editor.key("Tab")
        editor.type(due.strftime("%H%M%S"))
        editor.click(*DESKTOP_BOX)
        settle()
        editor.screenshot("task-editor")
        self.assertLess(datetime.datetime.now(), due - datetime.timedelta(seconds=2),
                        "typing took too long for the reminder set")
        editor.key("Return")
        editor.wait_gone()

        ids = task_ids(program)
        self.assertEqual(len(ids), 1, program.read("task.qrn"))
        task = ids[0]
        self.assertEqual(stored(program, task, "taskname"), NAME)
        self.assertEqual(stored(program, task, "taskreminderstate"), "true")
        self.assertEqual((stored(program, task, "taskreminderdate"), stored(program, task, "taskremindertime")),
                         (us_date(due), us_time(due)))
        self.assertEqual(stored(program, task, "markformstate"), "true")

        # The note comes at once, before the reminder's moment, and shows the name.
        note = self.wait_note(program)
        self.assertEqual((note.geometry().width, note.geometry().height), NOTE_SIZE)
        self.assertIn("_NET_WM_STATE_BELOW", note.net_wm_state())
        self.assertEqual(note.frame_extents(), (0, 0, 0, 0), "a note has no frame")
        self.assertIsNone(program.find_window("Reminder"), "the pop-up came before its moment")
        settle()
        shot = note.screenshot("note", frame=False)
        self.assertGreater(shot.crop(*NOTE_NAME).dark_pixels(), 20, "no name on the note: %s" % shot.path)
        self.desktop.screenshot("note-on-screen")

        # The first pop-up, at the moment; "1 minute" moves the reminder past it.
        popup = program.wait_window("Reminder", timeout=LEAD_SECONDS + 15)
        self.assertGreaterEqual(datetime.datetime.now(), due - datetime.timedelta(seconds=1),
                                "the pop-up came before its moment")
        settle()
        popup.screenshot("first-popup")
        self.choose_remind_in(program, popup, ["Down"], "first-popup-1-minute")
        popup.click(*POPUP_OK)
        popup.wait_gone()
        later = due + datetime.timedelta(minutes=1)
        self.assertEqual(stored(program, task, "taskreminderstate"), "true")
        self.assertEqual((stored(program, task, "taskreminderdate"), stored(program, task, "taskremindertime")),
                         (us_date(later), us_time(later)))
        self.assertEqual(len(self.notes(program)), 1, "the note is still one")

        # The second pop-up a minute after the first moment; "Don't Remind" switches it off.
        second = program.wait_window("Reminder", timeout=75)
        self.assertGreaterEqual(datetime.datetime.now(), later - datetime.timedelta(seconds=1),
                                "the second pop-up came before its moment")
        settle()
        self.choose_remind_in(program, second, ["Home"], "second-popup-dont-remind")
        second.click(*POPUP_OK)
        second.wait_gone()
        self.assertEqual(stored(program, task, "taskreminderstate"), "false")

        # The note moved with the mouse, then "&Exit" in the File menu.
        note = self.wait_note(program)
        moved = self.drag_window_by(note, (-550, 120))
        self.desktop.screenshot("note-moved")
        main.key("alt+f")
        time.sleep(0.2)  # the menu opens
        self.desktop.key("e")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(stored(program, task, "markformstate"), "true")
        self.assertEqual((stored(program, task, "markformleft"), stored(program, task, "markformtop")),
                         (str(moved[0]), str(moved[1])))

        # The next start from the same folder: the task in the grid, the note where it was left,
        # and no pop-up.
        again = self.new_program(same_folder_as=program, env=US)
        again.start()
        main = again.wait_window(MAIN_WINDOW_TITLE)
        self.assertEqual(task_ids(again), [task])
        self.assertEqual(stored(again, task, "taskname"), NAME)
        self.wait_note(again, moved)
        settle()
        row = main.screenshot("main-after-start", frame=False).crop(*FIRST_ROW_NAME)
        self.assertGreater(row.dark_pixels(), 40, "no task name drawn in the grid's first row")
        self.desktop.screenshot("after-start")
        # A due reminder shows at start; one switched off stays away.
        self.assertFalse(wait_until(lambda: again.find_window("Reminder"), timeout=3), "a pop-up after the start")
        self.assertEqual(stored(again, task, "taskreminderstate"), "false")
        again.kill()


if __name__ == "__main__":
    harness.main()
