#!/usr/bin/env python3
"""Start-up of the installed program: data files, the main window, start failures, one instance
per data folder."""

import signal
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import MAIN_WINDOW_TITLE, E2ETestCase  # noqa: E402

DEFAULT_TASK_FILE = b"<tasklist>\r\n</tasklist>\r\n"
DEFAULT_CATEGORY_FILE = (b"<categorylist>\r\n<category20081124202715129><categoryname>Personal</categoryname>"
                         b"<categoryiconid>4</categoryiconid></category20081124202715129>\r\n</categorylist>\r\n")
DEFAULT_SETTING_FILE = (b"<setting>\r\n<startwithwindows>true</startwithwindows>\r\n"
                        b"<minimizeonstart>false</minimizeonstart>\r\n<alwaysontop>false</alwaysontop>\r\n"
                        b"<alphablendstate>false</alphablendstate>\r\n<alphablendvalue>220</alphablendvalue>\r\n"
                        b"<markformalphablendstate>true</markformalphablendstate>\r\n"
                        b"<markformalphablendvalue>220</markformalphablendvalue>\r\n"
                        b"<donetaskputinbottom>false</donetaskputinbottom>\r\n"
                        b"<sortbycolumn>default</sortbycolumn>\r\n<displayfilter>all</displayfilter>\r\n"
                        b"</setting>\r\n")
DEFAULT_FILES = {"task.qrn": DEFAULT_TASK_FILE, "category.qrn": DEFAULT_CATEGORY_FILE,
                 "setting.qrn": DEFAULT_SETTING_FILE}

# A task file as the program writes it, with one task, to see that a start reads and keeps it.
ONE_TASK_FILE = (b"<tasklist>\r\n<task20240102030405006><taskname>Water the plants</taskname>"
                 b"<taskcategoryid>category20081124202715129</taskcategoryid><taskpriorityid>1</taskpriorityid>"
                 b"<taskcontent>Twice a week</taskcontent><taskduedate></taskduedate>"
                 b"<taskreminderstate>false</taskreminderstate><taskremindertime>9:00:00 AM</taskremindertime>"
                 b"<taskreminderdate>1/2/2024</taskreminderdate><taskstate>false</taskstate>"
                 b"<markformstate>false</markformstate><markformtop>0</markformtop><markformleft>0</markformleft>"
                 b"</task20240102030405006>\r\n</tasklist>\r\n")


def assert_message_drawn(test, box):
    """The message box's text area (right of the icon, above the button row) holds drawn text.

    The text cannot be read through X, so the box is photographed (the picture is kept with a
    failed test) and the area must hold some dark pixels on a light ground: a box without text
    has next to none, a window not yet painted is dark all over.
    """
    time.sleep(0.2)  # the box paints right after it is mapped
    shot = box.screenshot("message-box", frame=False)
    area = shot.crop(50, 0, shot.width - 50, shot.height - 40)
    dark = area.dark_pixels()
    test.assertGreater(dark, 300, "no message text drawn: %s" % shot.path)
    test.assertLess(dark, area.width * area.height // 4, "not a light box with text: %s" % shot.path)


class FirstStartTest(E2ETestCase):
    """A start in a folder that holds only the program."""

    def test_creates_the_three_default_data_files_and_shows_the_main_window(self):
        program = self.new_program()
        self.assertEqual(program.data_files(), [])
        program.start()
        window = program.wait_window(MAIN_WINDOW_TITLE)
        self.assertEqual(window.name(), MAIN_WINDOW_TITLE)
        self.assertTrue(window.is_visible())
        self.assertEqual(window.wm_state(), "Normal")
        self.assertIn("_NET_WM_WINDOW_TYPE_NORMAL", window.window_types())
        # The store writes the files before the window is made, so they are complete now.
        for name, expected in DEFAULT_FILES.items():
            with self.subTest(file=name):
                self.assertBytesEqual(program.read(name), expected, name)
        self.assertEqual(program.windows(managed=True), [window], "one framed window")
        self.assertTrue(harness.wait_until(program.tray_icons), "an icon in the tray")
        shot = window.screenshot("main-window")
        # The caption is drawn by the window manager: the frame adds a title bar above the client.
        self.assertGreater(shot.height, window.geometry().height)
        program.kill()

    def test_existing_data_files_are_read_and_left_as_they_are(self):
        program = self.new_program()
        files = dict(DEFAULT_FILES, **{"task.qrn": ONE_TASK_FILE})
        for name, data in files.items():
            program.write(name, data)
        program.start()
        program.wait_window(MAIN_WINDOW_TITLE)
        for name, expected in files.items():
            with self.subTest(file=name):
                self.assertBytesEqual(program.read(name), expected, name)
        program.kill()


class StartFailureTest(E2ETestCase):
    """Starts that end with a message box and a failure status."""

    def test_without_the_resource_library_a_box_names_its_path_and_nothing_is_created(self):
        program = self.new_program()
        program.remove("Res.dll")
        files_before = program.files()
        program.start()
        box = program.wait_window()
        self.assertIn("_NET_WM_WINDOW_TYPE_DIALOG", box.window_types())
        # The box comes before the title is set: it carries the executable's name.
        self.assertIn("taskwick", box.name().lower())
        # Its text, "'<folder>/Res.dll' is not found. Please reinstall this program.", is on the picture.
        assert_message_drawn(self, box)
        self.assertEqual(program.data_files(), [])
        box.key("Return")
        status = program.wait_exit()
        self.assertGreater(status, 0, "exit status after closing the box")
        self.assertEqual(program.files(), files_before, "no file was created or removed")

    # A data file that is not well-formed, per file: the start ends after the message.
    BROKEN_FILES = [
        ("task.qrn", b"<tasklist>"),
        ("category.qrn", b""),
        ("setting.qrn", b"<setting>\r\n<minimizeonstart>false</setting>\r\n"),
        ("task.qrn", b"\xef\xbb\xbfjust some text\r\n"),
    ]

    def test_a_data_file_that_is_not_well_formed_gives_a_box_and_stays_unchanged(self):
        for name, content in self.BROKEN_FILES:
            with self.subTest(file=name, content=content):
                program = self.new_program()
                for other, data in DEFAULT_FILES.items():
                    if other != name:
                        program.write(other, data)
                program.write(name, content)
                program.start()
                box = program.wait_window()
                self.assertIn("_NET_WM_WINDOW_TYPE_DIALOG", box.window_types())
                self.assertEqual(box.name(), MAIN_WINDOW_TITLE, "the box carries the application title")
                self.assertEqual(program.windows(), [box], "the main window is not created")
                assert_message_drawn(self, box)
                box.key("Return")
                self.assertGreater(program.wait_exit(), 0)
                self.assertBytesEqual(program.read(name), content, name)
                program.cleanup()


class ReadOnlyFolderTest(E2ETestCase):
    """The program folder mounted read-only (root may write anywhere, so chmod would not do)."""

    @classmethod
    def setUpClass(cls):
        if not harness.Program.can_mount_read_only():
            raise unittest.SkipTest("this machine cannot make a private read-only bind mount (unshare --mount)")
        super().setUpClass()

    def test_without_data_files_the_start_ends_with_a_message_and_creates_nothing(self):
        program = self.new_program()
        files_before = program.files()
        program.start(read_only=True)
        box = program.wait_window()
        self.assertIn("_NET_WM_WINDOW_TYPE_DIALOG", box.window_types())
        self.assertEqual(program.windows(), [box], "the main window is not created")
        assert_message_drawn(self, box)
        box.key("Return")
        self.assertGreater(program.wait_exit(), 0)
        self.assertEqual(program.files(), files_before)

    def test_with_its_data_files_the_program_starts_and_reads_them(self):
        program = self.new_program()
        files = dict(DEFAULT_FILES, **{"task.qrn": ONE_TASK_FILE})
        for name, data in files.items():
            program.write(name, data)
        files_before = program.files()
        program.start(read_only=True)
        window = program.wait_window(MAIN_WINDOW_TITLE)
        self.assertEqual(window.wm_state(), "Normal")
        self.assertEqual(program.files(), files_before)
        for name, expected in files.items():
            self.assertBytesEqual(program.read(name), expected, name)
        program.kill()


class SingleInstanceTest(E2ETestCase):
    """One running program per data folder."""

    def start_off_screen(self, program):
        """Starts with "minimizeonstart" true and returns once the main window is off the screen.

        The start keeps the window hidden and puts the icon in the tray. Where the window comes up
        all the same, it is minimised here, so that the hand-over has a window to bring back.
        """
        program.write("setting.qrn", DEFAULT_SETTING_FILE.replace(b"<minimizeonstart>false", b"<minimizeonstart>true"))
        program.start()

        def state():
            if not program.is_running():
                return "exited"
            return program.find_window(MAIN_WINDOW_TITLE) or ("hidden" if program.tray_icons() else None)

        seen = harness.wait_until(state)
        if seen == "exited" or not seen:
            raise self.desktop.timeout("pid %d to start (status %s)" % (program.pid, program.proc.returncode))
        if seen == "hidden":
            # The tray icon comes a moment before the main window of a start that shows it.
            time.sleep(0.5)
            seen = program.find_window(MAIN_WINDOW_TITLE) or seen
        if isinstance(seen, harness.Window):
            seen.minimize()
            self.assertFalse(seen.is_visible())
            self.assertEqual(seen.wm_state(), "Iconic")
        self.assertIsNone(program.find_window(MAIN_WINDOW_TITLE), "the main window is off the screen")
        self.assertEqual(program.windows(managed=True), [], "no framed window on screen")

    def test_a_second_start_from_the_same_folder_shows_the_first_and_ends(self):
        first = self.new_program()
        self.start_off_screen(first)
        files = {name: first.read(name) for name in harness.DATA_FILES}
        second = self.new_program(same_folder_as=first)
        second.start()
        self.assertEqual(second.wait_exit(), 0)
        window = first.wait_window(MAIN_WINDOW_TITLE)
        self.assertEqual(window.wm_state(), "Normal")
        self.assertTrue(first.is_running())
        # Only the first program's window is on screen.
        shown = self.desktop.search("--name", "^%s$" % MAIN_WINDOW_TITLE.replace(".", r"\."))
        self.assertEqual(shown, [window])
        self.assertEqual(window.pid(), first.pid)
        window.screenshot("first-shown-again")
        for name, data in files.items():
            self.assertBytesEqual(first.read(name), data, name)
        first.kill()

    def test_a_second_start_of_a_shown_program_ends_and_leaves_one_window(self):
        first = self.start_program()
        window = first.wait_window(MAIN_WINDOW_TITLE)
        second = self.new_program(same_folder_as=first)
        second.start()
        self.assertEqual(second.wait_exit(), 0)
        self.assertTrue(window.is_visible())
        self.assertEqual(first.windows(managed=True), [window])
        first.kill()

    def test_a_start_from_another_folder_runs_on_its_own(self):
        first = self.start_program()
        first_window = first.wait_window(MAIN_WINDOW_TITLE)
        other = self.start_program(same_user_as=first)
        other_window = other.wait_window(MAIN_WINDOW_TITLE)
        self.assertNotEqual(other_window, first_window)
        self.assertTrue(other.is_running())
        self.assertTrue(first_window.is_visible())
        self.assertEqual(other.data_files(), list(harness.DATA_FILES), "the other folder has its own data files")
        self.desktop.screenshot("two-folders")
        other.kill()
        first.kill()

    def test_a_program_that_was_killed_does_not_block_the_next_start(self):
        first = self.start_program()
        first.wait_window(MAIN_WINDOW_TITLE)
        first.kill(signal.SIGKILL)
        self.assertTrue(first.path(".taskwick.lock").exists(), "a killed program leaves its lock behind")
        again = self.new_program(same_folder_as=first)
        again.start()
        window = again.wait_window(MAIN_WINDOW_TITLE)
        self.assertEqual(window.pid(), again.pid)
        # The new start took the folder over: a further start hands over to it.
        third = self.new_program(same_folder_as=first)
        third.start()
        self.assertEqual(third.wait_exit(), 0)
        self.assertTrue(again.is_running())
        again.kill()


if __name__ == "__main__":
    harness.main()
