#!/usr/bin/env python3
"""The task editor, the category manager and the category editor in the installed program.

Ctrl+A, a name and Enter store the task and show it in the grid; Ctrl+E opens the focused task
with what was stored; a category added through the selector's "Edit Categories" is stored and
listed by the main window's selector and by the task editor's category list.
"""

import re
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import MAIN_WINDOW_TITLE, E2ETestCase, wait_until  # noqa: E402

# United States formats: short dates "M/d/yy", long times "h:mm:ss AP". The reminder below lies
# in the future, so that no pop-up opens.
US = {"LANG": "en_US.UTF-8"}

# Places in the main window's client area: the category selector, and the band of the grid's
# first row over the task name column.
SELECTOR = (470, 33)
FIRST_ROW_NAME = (70, 68, 300, 16)
FIRST_ROW_CENTRE = (150, 76)
# The category manager's first row, in its name column.
MANAGER_FIRST_ROW = (60, 34)
# The category editor's fourth icon button (ten buttons of 23 pixels from x = 8, at y = 70).
FOURTH_ICON = (8 + 3 * 23 + 11, 70 + 11)

ONE_TASK_FILE = (b"<tasklist>\r\n<task20240102030405006><taskname>Dentist</taskname>"
                 b"<taskcategoryid>category20081124202715129</taskcategoryid><taskpriorityid>0</taskpriorityid>"
                 b"<taskcontent>Call the practice first.\r\nBring the insurance card.</taskcontent>"
                 b"<taskduedate>4/3/2030</taskduedate>"
                 b"<taskreminderstate>true</taskreminderstate><taskremindertime>7:45:10 AM</taskremindertime>"
                 b"<taskreminderdate>4/2/2030</taskreminderdate><taskstate>false</taskstate>"
                 b"<markformstate>false</markformstate><markformtop>0</markformtop><markformleft>0</markformleft>"
                 b"</task20240102030405006>\r\n</tasklist>\r\n")


def settle():
    """A moment for a freshly mapped window to paint before it is photographed."""
    time.sleep(0.3)


def open_popup(test, program, click):
    """Runs `click`, which opens a combo box's list, and returns the list's window."""
    before = set(program.windows())
    click()
    found = wait_until(lambda: [w for w in program.windows() if w not in before], harness.STEP_TIMEOUT)
    if not found:
        raise test.desktop.timeout("a combo box's list to open")
    settle()
    return found[0]


def close_popup(window, popup):
    window.desktop.key("Escape")
    popup.wait_visible(False)


class TaskEditorTest(E2ETestCase):
    def test_ctrl_a_a_name_and_enter_store_the_task_and_show_it_in_the_grid(self):
        program = self.start_program(env=US)
        main = program.wait_window(MAIN_WINDOW_TITLE)
        settle()
        empty = main.screenshot("main-before", frame=False).crop(*FIRST_ROW_NAME)
        self.assertEqual(empty.dark_pixels(), 0, "the grid is not empty at the start")

        main.key("ctrl+a")
        editor = program.wait_window("Task")
        self.assertEqual((editor.geometry().width, editor.geometry().height), (428, 336))
        settle()
        editor.screenshot("task-editor-add")
        editor.type("Water the plants")
        editor.key("Return")
        editor.wait_gone()

        stored = program.read("task.qrn").decode("utf-8")
        match = re.search(r"<(task\d{17})><taskname>Water the plants</taskname>"
                          r"<taskcategoryid>category20081124202715129</taskcategoryid>"
                          r"<taskpriorityid>1</taskpriorityid><taskcontent></taskcontent>"
                          r"<taskduedate></taskduedate><taskreminderstate>false</taskreminderstate>", stored)
        self.assertIsNotNone(match, stored)
        self.assertIn("<taskstate>false</taskstate><markformstate>false</markformstate>"
                      "<markformtop>0</markformtop><markformleft>0</markformleft></%s>" % match.group(1), stored)

        settle()
        row = main.screenshot("main-after", frame=False).crop(*FIRST_ROW_NAME)
        self.assertGreater(row.dark_pixels(), 40, "no task name drawn in the grid's first row")

    def test_ctrl_e_opens_the_focused_task_with_what_was_stored(self):
        program = self.new_program(env=US)
        program.write("task.qrn", ONE_TASK_FILE)
        program.start()
        main = program.wait_window(MAIN_WINDOW_TITLE)
        settle()
        main.activate().click(*FIRST_ROW_CENTRE)
        main.key("ctrl+e")
        editor = program.wait_window("Task")
        settle()
        editor.screenshot("task-editor-edit")
        # Ok without changes writes the same task back, its dates in the user's short format.
        editor.key("Return")
        editor.wait_gone()
        saved = program.read("task.qrn")
        self.assertIn(b"<task20240102030405006><taskname>Dentist</taskname>"
                      b"<taskcategoryid>category20081124202715129</taskcategoryid><taskpriorityid>0</taskpriorityid>"
                      b"<taskcontent>Call the practice first.\nBring the insurance card.</taskcontent>"
                      b"<taskduedate>4/3/2030</taskduedate>"
                      b"<taskreminderstate>true</taskreminderstate><taskremindertime>7:45:10 AM</taskremindertime>"
                      b"<taskreminderdate>4/2/2030</taskreminderdate><taskstate>false</taskstate>"
                      b"<markformstate>false</markformstate><markformtop>0</markformtop><markformleft>0</markformleft>"
                      b"</task20240102030405006>", saved)

        # A double-click on the row opens it too; Escape leaves it unchanged.
        main.activate().click(FIRST_ROW_CENTRE[0] + 5, FIRST_ROW_CENTRE[1], repeat=2)
        editor = program.wait_window("Task")
        editor.key("Escape")
        editor.wait_gone()
        self.assertBytesEqual(program.read("task.qrn"), saved, "task.qrn")


class CategoryManagerTest(E2ETestCase):
    def test_a_category_added_through_edit_categories_is_in_both_category_lists(self):
        program = self.start_program(env=US)
        main = program.wait_window(MAIN_WINDOW_TITLE)
        settle()

        def editor_list_height():
            main.key("ctrl+a")
            editor = program.wait_window("Task")
            editor.key("Tab")  # from the name box to the category list
            popup = open_popup(self, program, lambda: editor.key("alt+Down"))
            height = popup.geometry().height
            popup.desktop.screenshot("task-editor-categories", region=popup.frame_geometry())
            close_popup(editor, popup)
            editor.key("Escape")
            editor.wait_gone()
            return height

        clicks = iter(range(100))

        def click_selector():
            # A point moved a little each time: the pointer must move for the click to go through.
            main.activate().click(SELECTOR[0] + next(clicks) % 8, SELECTOR[1])

        def selector_list_height():
            popup = open_popup(self, program, click_selector)
            height = popup.geometry().height
            popup.desktop.screenshot("selector", region=popup.frame_geometry())
            close_popup(main, popup)
            return height

        selector_before = selector_list_height()   # Personal, All, Edit Categories
        editor_before = editor_list_height()       # Personal, Edit Categories

        # "Edit Categories" is the selector's last entry.
        open_popup(self, program, click_selector)
        main.desktop.key("End", "Return")
        manager = program.wait_window("Category")
        self.assertEqual((manager.geometry().width, manager.geometry().height), (244, 220))
        manager.key("alt+a")
        category_editor = program.wait_window("Add Category")
        self.assertEqual((category_editor.geometry().width, category_editor.geometry().height), (249, 145))
        category_editor.type("Garden")
        category_editor.click(*FOURTH_ICON)
        settle()
        category_editor.screenshot("category-editor")
        category_editor.key("Return")
        category_editor.wait_gone()
        # The new row picked, and the pointer off the list, so that no row shows the hover colour.
        manager.click(*MANAGER_FIRST_ROW)
        main.desktop.xdotool("mousemove", "0", "0")
        settle()
        manager.screenshot("category-manager")
        manager.key("alt+c")
        manager.wait_gone()

        stored = program.read("category.qrn").decode("utf-8")
        self.assertRegex(stored, r"<category\d{17}><categoryname>Garden</categoryname>"
                                 r"<categoryiconid>7</categoryiconid></category\d{17}>")

        # One more entry in each list, of the height of the others.
        selector_after = selector_list_height()
        editor_after = editor_list_height()
        row = selector_after - selector_before
        self.assertGreater(row, 10)
        self.assertLessEqual(abs(selector_before - 3 * row), 12, (selector_before, selector_after))
        self.assertEqual(editor_after - editor_before, row, (editor_before, editor_after))


if __name__ == "__main__":
    harness.main()
