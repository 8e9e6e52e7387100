"""Where the keyboard opens and how it keeps its place: it fits the screen it
opens on, its place survives a crash, and a second start leaves one
keyboard."""

import os
import shutil
import unittest

from rig import BUILD, KEYBOARD_EXE, NOTEPAD_TITLE, START_TIMEOUT_S, KeyboardTestCase, px
from test_character_keys import NotepadCase
from test_dialogs import open_fkeys, open_settings
from test_lifecycle import DEFAULT_HEIGHT, DEFAULT_TOP, DEFAULT_WIDTH, ROUNDING_PX

# The common laptop set-up on which the default keyboard was wider than the
# screen: 1366 x 768 pixels at 150 %.
LAPTOP_SCREEN = "1366x768"
LAPTOP_DPI = 144
# The place is stored a second after the last move; this only bounds the wait.
SAVE_TIMEOUT_S = 10
# Holds a mutex that no other program may open.
DENY_OBJECT_EXE = os.path.join(BUILD, "tools", "deny-object", "qmosk-deny-object.exe")


def controls_outside(s, form="main"):
    """The shown controls of a window of the keyboard whose rectangle does
    not lie wholly inside that window's."""
    left, top, width, height = s.rect(form)
    outside = []
    for line in s.drive("control-rects", form).splitlines():
        name, x, y, w, h = line.split()
        x, y, w, h = int(x), int(y), int(w), int(h)
        if x < left or y < top or x + w > left + width or y + h > top + height:
            outside.append(name)
    return outside


class FitsWhereItOpens(KeyboardTestCase):

    def start_on_laptop_screen(self):
        display = self.new_display(LAPTOP_SCREEN)
        s = self.new_session(display=display, dpi=LAPTOP_DPI)
        s.start_keyboard()
        self.assertEqual(s.dpi(), LAPTOP_DPI)
        return s

    def test_first_start_fits_the_work_area_keeping_the_proportions(self):
        s = self.start_on_laptop_screen()
        left, top, width, height = s.rect("main")
        _, (wl, wt, ww, wh) = s.monitor("main")
        self.assertGreaterEqual(left, wl)
        self.assertGreaterEqual(top, wt)
        self.assertLessEqual(left + width, wl + ww)
        self.assertLessEqual(top + height, wt + wh)
        # Too wide as it is, the default size shrinks until it is as wide as
        # the screen, in proportion, and keeps its top.
        self.assertClose(width, ww, ROUNDING_PX)
        self.assertClose(height, px(DEFAULT_HEIGHT, LAPTOP_DPI) * ww / px(DEFAULT_WIDTH, LAPTOP_DPI),
                         ROUNDING_PX)
        self.assertClose(top, px(DEFAULT_TOP, LAPTOP_DPI), ROUNDING_PX)

    def test_first_start_shows_every_control_inside_the_window(self):
        s = self.start_on_laptop_screen()
        self.assertEqual(controls_outside(s), [])

    def test_at_96_dpi_on_a_large_screen_every_control_lies_inside_as_before(self):
        s = self.new_session()
        s.start_keyboard()
        self.assertEqual(s.dpi(), 96)
        self.assertEqual(controls_outside(s), [])


class DialogsScale(KeyboardTestCase):
    """The dialogs at 150 % on the laptop screen: the settings dialog grows
    by half, and the F-key dialog, too tall for the screen at that scale,
    shrinks to fit it; every control lies inside its dialog."""

    def open_dialogs(self, s):
        s.start_keyboard()
        open_settings(s)
        open_fkeys(s)
        _, (wl, wt, ww, wh) = s.monitor("main")
        for form in ("settings", "fkeys"):
            self.assertEqual(controls_outside(s, form), [], "%s at %d DPI" % (form, s.dpi()))
            left, top, width, height = s.rect(form)
            self.assertTrue(wl <= left and left + width <= wl + ww and wt <= top and top + height <= wt + wh,
                            "%s at %d DPI lies outside the work area" % (form, s.dpi()))
        return s.rect("settings", "EMAIL_ADDRESS_TEXTBOX")

    def test_at_150_percent_the_dialogs_scale_and_fit_the_screen(self):
        _, _, w96, h96 = self.open_dialogs(self.new_session())
        laptop = self.new_session(display=self.new_display(LAPTOP_SCREEN), dpi=LAPTOP_DPI)
        _, _, w, h = self.open_dialogs(laptop)
        self.assertClose(w, w96 * 1.5, 2, "a text box %d wide at 144 DPI, %d at 96" % (w, w96))
        self.assertClose(h, h96 * 1.5, 2, "a text box %d high at 144 DPI, %d at 96" % (h, h96))


class PlaceSurvivesACrash(KeyboardTestCase):

    def test_a_move_by_another_program_is_kept_when_the_keyboard_is_killed(self):
        s = self.new_session()
        s.start_keyboard()
        dpi = s.dpi()
        # Moved by a program, as the system or a window tool would: no drag,
        # so no end of a drag is ever reported.
        moved = tuple(int(v) for v in s.drive("move", "main", "203", "151", "901", "287").split())
        want = dict(zip(("MainLeft", "MainTop", "MainWidth", "MainHeight"), (v * 1440 / dpi for v in moved)))

        def stored():
            values = {k: s.setting(k) for k in want}
            return all(v is not None and abs(float(v) - want[k]) <= 15 for k, v in values.items())
        s.wait_until(stored, SAVE_TIMEOUT_S, "the moved place was never stored")

        s.kill_all()
        s.start_keyboard()
        again = s.rect("main")
        for a, b in zip(again, moved):
            self.assertClose(a, b, ROUNDING_PX, "restarted at %r, moved to %r" % (again, moved))


class OneKeyboardPerSession(NotepadCase):

    def test_a_second_start_with_keep_focus_leaves_one_keyboard_in_that_mode(self):
        s = self.s
        first = s.keyboard
        self.assertIsNone(s.setting("KEEP_TARGET_FOCUS"))
        second = s.start(KEYBOARD_EXE, "--keep-focus", name="second")
        self.assertEqual(second.wait(timeout=START_TIMEOUT_S), 0)
        # The running keyboard has taken the switch before the second start
        # ends: it waits for the answer.
        self.assertEqual(s.setting("KEEP_TARGET_FOCUS"), "1")
        self.assertIsNone(first.poll(), "the running keyboard ended")
        self.assertEqual(len(s.drive("windows", "QM-OSK").splitlines()), 1)
        self.assertEqual(s.drive("title-of-foreground"), NOTEPAD_TITLE, "the second start took the focus")
        # And it is in the mode: a click leaves Notepad in front and types.
        self.wait_caption("BUTTON_LETTER_Q", "q")
        before, changes = s.click_watch_foreground("main", "BUTTON_LETTER_Q", NOTEPAD_TITLE, "q")
        self.assertEqual((before, changes), (NOTEPAD_TITLE, []), "the click took the focus")
        self.wait_typed("q")


class OneKeyboardPerProgramName(KeyboardTestCase):

    def test_a_copy_under_another_name_runs_beside_it(self):
        # It keeps settings of its own, so it is a keyboard of its own.
        s = self.new_session()
        s.start_keyboard()
        copy = os.path.join(s.dir, "work-osk.exe")
        shutil.copy(KEYBOARD_EXE, copy)
        other = s.start(copy, name="copy")
        s.wait_until(lambda: len(s.drive("windows", "QM-OSK").splitlines()) == 2, START_TIMEOUT_S,
                     "the copy never showed its keyboard")
        self.assertIsNone(other.poll())
        self.assertIsNone(s.keyboard.poll())


class KeyboardOutOfReach(KeyboardTestCase):

    def test_a_start_that_may_not_open_the_running_keyboard_says_so_and_ends(self):
        # As for the user's start beside a keyboard run as administrator: its
        # object is there and refuses this start (Wine checks the DACL), and
        # no window of it can be reached.
        s = self.new_session()
        s.start_ready(DENY_OBJECT_EXE, "Local\\QM-OSK.one-keyboard.qm-osk", "deny-object",
                      "the mutex was never held")
        keyboard = s.start(KEYBOARD_EXE, name="keyboard")
        s.drive("wait-window", "#32770", str(START_TIMEOUT_S * 1000))
        self.assertIn("A keyboard already runs as administrator or as another user.",
                      s.drive("child-texts", "#32770"))
        self.assertEqual(s.drive("exists", "main"), "0")
        s.drive("close", "#32770")
        self.assertEqual(keyboard.wait(timeout=START_TIMEOUT_S), 0)
        # A second start loads nothing, so saves nothing over the other's.
        self.assertIsNone(s.setting("MainLeft"))


if __name__ == "__main__":
    unittest.main()
