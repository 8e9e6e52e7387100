"""Opening, closing and geometry of the keyboard window, and the settings
dialog it opens."""

import os
import shutil
import time
import unittest

from rig import KEYBOARD_EXE, NOTEPAD_TITLE, START_TIMEOUT_S, KeyboardTestCase, px

DEFAULT_LEFT, DEFAULT_TOP = 1000, 1000
DEFAULT_WIDTH, DEFAULT_HEIGHT = 16800, 4785
ROUNDING_PX = 1


class FirstStart(KeyboardTestCase):
    def test_opens_at_the_default_geometry(self):
        s = self.new_session()
        self.assertIsNone(s.setting("MainLeft"), "the store of a new prefix must be empty")
        s.start_keyboard()
        dpi = s.dpi()
        left, top, width, height = s.rect("main")
        self.assertClose(left, px(DEFAULT_LEFT, dpi), ROUNDING_PX)
        self.assertClose(top, px(DEFAULT_TOP, dpi), ROUNDING_PX)
        self.assertClose(width, px(DEFAULT_WIDTH, dpi), ROUNDING_PX)
        self.assertClose(height, px(DEFAULT_HEIGHT, dpi), ROUNDING_PX)
        self.assertEqual(s.drive("text", "main"), "QM-OSK")
        self.assertEqual(s.text("main", "ACTIVE_WINDOW_LABEL"), "QM-OSK")

    def test_closing_ends_the_program_and_saves_the_geometry(self):
        s = self.new_session()
        s.start_keyboard()
        s.close_keyboard()
        for key, want in (("MainLeft", DEFAULT_LEFT), ("MainTop", DEFAULT_TOP),
                          ("MainWidth", DEFAULT_WIDTH), ("MainHeight", DEFAULT_HEIGHT)):
            stored = s.setting(key)
            self.assertIsNotNone(stored, key + " was not saved")
            # One pixel is 15 twips at 96 dpi; the saved value may be the
            # pixel-rounded geometry.
            self.assertClose(float(stored), want, 15, "%s saved as %r" % (key, stored))


class GeometryRoundTrip(KeyboardTestCase):
    def test_moved_and_resized_window_comes_back_in_place(self):
        s = self.new_session()
        s.start_keyboard()
        want = (203, 151, 901, 287)
        s.drive("move", "main", *map(str, want))
        moved = s.rect("main")
        for a, b in zip(moved, want):
            self.assertClose(a, b, ROUNDING_PX, "the move itself did not take: %r" % (moved,))
        s.close_keyboard()
        dpi = s.dpi()
        self.assertClose(float(s.setting("MainLeft")), want[0] * 1440 / dpi, 15)
        self.assertClose(float(s.setting("MainWidth")), want[2] * 1440 / dpi, 15)

        s.start_keyboard()
        again = s.rect("main")
        for a, b in zip(again, moved):
            self.assertClose(a, b, ROUNDING_PX, "restarted at %r, closed at %r" % (again, moved))
        # A second round trip must not drift by accumulated rounding.
        s.close_keyboard()
        s.start_keyboard()
        third = s.rect("main")
        for a, b in zip(third, moved):
            self.assertClose(a, b, ROUNDING_PX, "drifted to %r from %r" % (third, moved))


class SettingsDialog(KeyboardTestCase):
    def _open_and_close(self, s, opener):
        opener()
        s.drive("wait-window", "settings")
        self.assertEqual(s.drive("text", "settings"), "QM-OSK")
        # Modal: the keyboard takes no input while the dialog is shown.
        self.assertEqual(s.drive("enabled", "main"), "0")
        s.click("settings", "OK_BUTTON")
        s.drive("wait-gone", "settings")
        s.drive("wait-enabled", "main", "1")
        self.assertEqual(s.drive("exists", "settings"), "0")

    def test_opens_modally_from_the_settings_button(self):
        s = self.new_session()
        s.start_keyboard()
        self._open_and_close(s, lambda: s.click("main", "SETTINGS_BUTTON"))
        # And a second time: the dialog is reusable after OK.
        self._open_and_close(s, lambda: s.click("main", "SETTINGS_BUTTON"))

    def test_opens_modally_from_a_double_click_on_the_background(self):
        s = self.new_session()
        s.start_keyboard()
        x, y = s.drive("free-spot", "main").split()
        spot = "client:%s,%s" % (x, y)
        self._open_and_close(s, lambda: s.drive("dblclick", "main", spot))


class RefusedWindows(KeyboardTestCase):
    """The system refuses windows when it is out of window resources; a hook
    that vetoes the creation of one class of window does the same at will."""

    def test_a_keyboard_refused_its_window_says_why_and_ends(self):
        # Both lines in the language the user chose, the reason as well as
        # the headline.
        for language, headline, reason in (
                (None, "QM-OSK could not start.", "The window could not be created"),
                ("de", "QM-OSK konnte nicht gestartet werden.", "Das Fenster konnte nicht erstellt werden")):
            with self.subTest(language=language):
                s = self.new_session()
                if language:
                    s.set_setting("UI_LANGUAGE", language)
                s.deny_windows("QM_OSK_MAIN")
                keyboard = s.start(KEYBOARD_EXE, name="keyboard")
                s.drive("wait-window", "#32770", str(START_TIMEOUT_S * 1000))
                said = s.drive("child-texts", "#32770")
                self.assertIn(headline, said)
                self.assertIn(reason, said)
                self.assertEqual(s.drive("exists", "main"), "0")
                s.drive("close", "#32770")
                self.assertEqual(keyboard.wait(timeout=START_TIMEOUT_S), 1)
                # Nothing was loaded, so nothing is saved over the store.
                self.assertIsNone(s.setting("MainLeft"))

    def test_a_dialog_refused_its_window_is_reported_and_the_keyboard_goes_on(self):
        s = self.new_session()
        s.start_keyboard()
        deny = s.deny_windows("QM_OSK_SETTINGS")
        s.click("main", "SETTINGS_BUTTON")
        note = s.wait_until(s.note, START_TIMEOUT_S, "no note about the dialog")
        self.assertTrue(note.startswith("The dialog could not be opened. The window could not be created"), note)
        self.assertEqual(s.drive("exists", "settings"), "0")
        self.assertEqual(s.drive("enabled", "main"), "1")
        deny.terminate()
        deny.wait(timeout=START_TIMEOUT_S)
        s.click("main", "SETTINGS_BUTTON")
        s.drive("wait-window", "settings")
        s.click("settings", "OK_BUTTON")
        s.drive("wait-gone", "settings")


class SeparateSettingsPerProgramName(KeyboardTestCase):
    def test_a_renamed_copy_keeps_its_own_geometry(self):
        s = self.new_session()
        copy = os.path.join(s.dir, "work-osk.exe")
        shutil.copy(KEYBOARD_EXE, copy)
        s.keyboard = s.start(copy, name="keyboard")
        s.drive("wait-window", "main", str(START_TIMEOUT_S * 1000))
        s.drive("move", "main", "301", "222", "1000", "300")
        moved = s.rect("main")
        s.close_keyboard()
        self.assertIsNotNone(s.drive("get-reg", "work-osk", "MainLeft"))
        self.assertIsNone(s.setting("MainLeft"), "the copy wrote into the original's settings")

        s.start_keyboard()  # the original still opens at its default place
        dpi = s.dpi()
        left, top, _, _ = s.rect("main")
        self.assertClose(left, px(DEFAULT_LEFT, dpi), ROUNDING_PX)
        self.assertClose(top, px(DEFAULT_TOP, dpi), ROUNDING_PX)
        s.close_keyboard()

        s.keyboard = s.start(copy, name="keyboard")
        s.drive("wait-window", "main", str(START_TIMEOUT_S * 1000))
        for a, b in zip(s.rect("main"), moved):
            self.assertClose(a, b, ROUNDING_PX)


class AlwaysOnTop(KeyboardTestCase):
    # The placement is renewed once a second; this bound only limits waiting.
    TOPMOST_TIMEOUT_S = 5

    def _start_with_notepad_in_front(self, flag):
        s = self.new_session()
        if flag is not None:
            s.set_setting("ALWAYS_ON_TOP_TICKBOX", flag)
        s.start_keyboard()
        s.start_notepad(67, 430, 1120, 480)
        s.drive("foreground", NOTEPAD_TITLE)
        return s

    def test_stored_choice_keeps_the_keyboard_above_a_topmost_window(self):
        s = self._start_with_notepad_in_front("1")
        s.drive("set-topmost", NOTEPAD_TITLE, "1")
        # The tick leaves the keyboard alone while it is itself in front.
        s.wait_until(lambda: s.drive("topmost", "main") == "1", self.TOPMOST_TIMEOUT_S,
                     lambda _: "the keyboard was not made topmost (in front: %r)" % s.drive("title-of-foreground"))
        # The window in front loses the topmost place it took for itself.
        s.wait_until(lambda: s.drive("topmost", NOTEPAD_TITLE) == "0", self.TOPMOST_TIMEOUT_S,
                     "the window in front kept its topmost place")

    def test_without_the_choice_the_keyboard_is_left_alone(self):
        for flag in (None, "0", "yes"):
            with self.subTest(flag=flag):
                s = self._start_with_notepad_in_front(flag)
                s.drive("set-topmost", NOTEPAD_TITLE, "1")
                # Several ticks of the placement timer would have passed.
                time.sleep(2.5)
                self.assertEqual(s.drive("topmost", "main"), "0")
                self.assertEqual(s.drive("topmost", NOTEPAD_TITLE), "1")
                s.close()


if __name__ == "__main__":
    unittest.main()
