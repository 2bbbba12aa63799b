#!/usr/bin/env python3
"""The main window of the installed program: its place, the tray icon, hiding into the tray,
coming back, and Exit."""

import re
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import MAIN_WINDOW_TITLE, E2ETestCase  # noqa: E402

SETTING_FILE = (b"<setting>\r\n<startwithwindows>false</startwithwindows>\r\n"
                b"<minimizeonstart>%s</minimizeonstart>\r\n<alwaysontop>false</alwaysontop>\r\n"
                b"<alphablendstate>false</alphablendstate>\r\n<alphablendvalue>220</alphablendvalue>\r\n"
                b"<markformalphablendstate>true</markformalphablendstate>\r\n"
                b"<markformalphablendvalue>220</markformalphablendvalue>\r\n"
                b"<donetaskputinbottom>true</donetaskputinbottom>\r\n"
                b"<sortbycolumn>default</sortbycolumn>\r\n<displayfilter>all</displayfilter>\r\n"
                b"</setting>\r\n")


def task_element(number, name, priority, state):
    ident = b"task2024010203040500%d" % number
    return (b"<%s><taskname>%s</taskname><taskcategoryid>category20081124202715129</taskcategoryid>"
            b"<taskpriorityid>%d</taskpriorityid><taskcontent></taskcontent><taskduedate>none</taskduedate>"
            b"<taskreminderstate>false</taskreminderstate><taskremindertime>9:00:00 AM</taskremindertime>"
            b"<taskreminderdate>1/2/2030</taskreminderdate><taskstate>%s</taskstate>"
            b"<markformstate>false</markformstate><markformtop>0</markformtop><markformleft>0</markformleft>"
            b"</%s>\r\n" % (ident, name, priority, state, ident))


TASK_FILE = (b"<tasklist>\r\n" + task_element(1, b"Water the plants", 1, b"false")
             + task_element(2, b"Pay the rent", 0, b"false") + b"</tasklist>\r\n")


def work_area(desktop):
    """The desktop's work area (x, y, width, height) as the window manager announces it."""
    out = desktop.run(["xprop", "-root", "_NET_WORKAREA"]).stdout
    return tuple(int(n) for n in re.findall(r"\d+", out.partition("=")[2])[:4])


def tray_icon(program):
    """The program's icon in the tray: its small window in the task bar below the work area."""
    bottom = work_area(program.desktop)[1] + work_area(program.desktop)[3]

    def find():
        for window in program.windows():
            g = window.geometry()
            if g.width <= 32 and g.height <= 32 and g.y >= bottom:
                return window
        return None

    icon = harness.wait_until(find)
    if not icon:
        raise program.desktop.timeout("the tray icon of pid %d" % program.pid)
    return icon


def wait_balloon(program):
    """The tray balloon: a tool-tip window of the program, on screen."""
    def find():
        for window in program.windows():
            if "_NET_WM_WINDOW_TYPE_TOOLTIP" in window.window_types():
                return window
        return None

    balloon = harness.wait_until(find)
    if not balloon:
        raise program.desktop.timeout("the tray balloon of pid %d" % program.pid)
    return balloon


def click_middle(window, button=1, repeat=1):
    g = window.geometry()
    # Away first: a pointer already at the spot would keep "mousemove --sync" waiting.
    window.desktop.xdotool("mousemove", "0", "0")
    window.desktop.click(g.x + g.width // 2, g.y + g.height // 2, button=button, repeat=repeat)


def double_click(window):
    click_middle(window, repeat=2)


class MainWindowTest(E2ETestCase):
    """A start with "Minimize on start" off."""

    def start(self):
        program = self.new_program()
        program.write("setting.qrn", SETTING_FILE % b"false")
        program.write("task.qrn", TASK_FILE)
        program.start()
        return program, program.wait_window(MAIN_WINDOW_TITLE)

    def assert_in_the_corner(self, window):
        x, y, width, height = work_area(self.desktop)
        frame = harness.wait_until(lambda: (lambda f: f if (f.x + f.width, f.y + f.height) == (x + width, y + height)
                                            else None)(window.frame_geometry()))
        self.assertTrue(frame, "frame %s in the bottom-right corner of the work area %s" %
                        (window.frame_geometry(), (x, y, width, height)))
        self.assertEqual(window.geometry().width, 541)
        self.assertEqual(window.geometry().height, 361)

    def test_starts_in_the_corner_of_the_work_area_with_its_tray_icon(self):
        program, main = self.start()
        self.assertEqual(main.name(), MAIN_WINDOW_TITLE)
        self.assertEqual(main.wm_state(), "Normal")
        self.assert_in_the_corner(main)
        icon = tray_icon(program)
        self.assertTrue(icon.is_visible())
        time.sleep(0.2)  # a moment to paint
        shot = main.screenshot("main-window")
        # Two rows of tasks are drawn: dark text in the grid area.
        self.assertGreater(shot.crop(60, 100, 300, 40).dark_pixels(), 100, shot.path)
        program.kill()

    def test_close_hides_into_the_tray_with_the_balloon_and_a_double_click_brings_it_back(self):
        program, main = self.start()
        icon = tray_icon(program)
        main.close()
        main.wait_visible(False)
        self.assertTrue(program.is_running())
        self.assertNotEqual(main.wm_state(), "Iconic", "hidden, not minimised on the task bar")
        balloon = wait_balloon(program)
        shot = self.desktop.screenshot("balloon", region=balloon.geometry())
        self.assertGreater(shot.dark_pixels(), 50, "the balloon's title and text: %s" % shot.path)
        double_click(icon)
        main.wait_visible(True)
        self.assertEqual(main.wm_state(), "Normal")
        self.assertEqual(main.name(), MAIN_WINDOW_TITLE)
        program.kill()

    def test_minimise_hides_into_the_tray(self):
        program, main = self.start()
        tray_icon(program)
        time.sleep(0.2)
        self.desktop.xdotool("windowminimize", str(main.id))
        main.wait_visible(False)
        self.assertTrue(harness.wait_until(lambda: main.wm_state() != "Iconic"), "withdrawn into the tray")
        wait_balloon(program)
        # A second start brings it back, as "&Open" does.
        second = self.new_program(same_folder_as=program)
        second.start()
        self.assertEqual(second.wait_exit(), 0)
        main.wait_visible(True)
        self.assertEqual(main.wm_state(), "Normal")
        program.kill()

    def test_the_done_box_writes_the_task_file(self):
        program, main = self.start()
        self.assert_in_the_corner(main)
        time.sleep(0.2)
        # Menu bar and tool bar above the grid; the first row's box in the first visible column.
        shot = main.screenshot("before-tick", frame=False)
        header_bottom = next(y for y in range(40, 140) if shot.pixel(300, y) == (255, 255, 255))
        main.click(10, header_bottom + 9)
        ticked = re.compile(rb"<task20240102030405001>.*<taskstate>true</taskstate>.*</task20240102030405001>")
        self.assertTrue(harness.wait_until(lambda: ticked.search(program.read("task.qrn"))), program.read("task.qrn"))
        main.screenshot("after-tick")
        program.kill()

    def test_exit_in_the_file_menu_ends_the_program(self):
        program, main = self.start()
        main.key("alt+f")
        time.sleep(0.2)
        main.screenshot("file-menu")
        self.desktop.key("e")
        self.assertEqual(program.wait_exit(), 0)

    def test_exit_in_the_tray_menu_ends_the_program_also_while_hidden(self):
        program, main = self.start()
        icon = tray_icon(program)
        main.close()
        main.wait_visible(False)
        click_middle(icon, button=3)
        menu = harness.wait_until(lambda: [w for w in program.windows() if w != icon and w.geometry().height > 100])
        self.assertTrue(menu, "the tray menu is open")
        self.desktop.screenshot("tray-menu", region=menu[0].geometry())
        self.desktop.key("Up", "Return")  # from the top, Up wraps to the last item, "&Exit"
        self.assertEqual(program.wait_exit(), 0)


class MinimizeOnStartTest(E2ETestCase):
    """A start with "Minimize on start" on."""

    def test_starts_hidden_with_the_balloon_and_a_double_click_shows_the_window(self):
        program = self.new_program()
        program.write("setting.qrn", SETTING_FILE % b"true")
        program.start()
        icon = tray_icon(program)
        wait_balloon(program)
        self.desktop.screenshot("started-hidden")
        self.assertIsNone(program.find_window(MAIN_WINDOW_TITLE), "no main window on screen")
        double_click(icon)
        main = program.wait_window(MAIN_WINDOW_TITLE)
        self.assertEqual(main.wm_state(), "Normal")
        x, y, width, height = work_area(self.desktop)
        self.assertTrue(harness.wait_until(
            lambda: (lambda f: (f.x + f.width, f.y + f.height) == (x + width, y + height))(main.frame_geometry())),
            "placed in the corner on its first show: %s" % (main.frame_geometry(),))
        program.kill()


if __name__ == "__main__":
    harness.main()
