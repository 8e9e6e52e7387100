"""Function keys, the user's own F-key commands, the programs the keyboard
starts and its action keys, seen from the programs at the other end."""

import os
import unittest

from rig import (KEYLOG_EXE, MARKER_EXE, NOTEPAD_TITLE, TYPE_TIMEOUT_S, KeyboardTestCase, KeyLogTestCase,
                 NotepadTestCase, windows_path)

GREEN = "0x00FF00"
WHITE = "0xFFFFFF"
BLUE_TINT = "0xFF8080"

VK_SHIFT = 0x10
VK_CONTROL = 0x11
VK_MENU = 0x12
MODIFIER_NAMES = {VK_SHIFT: "shift", VK_CONTROL: "ctrl", VK_MENU: "alt"}
LATCH_BUTTONS = {VK_SHIFT: "BUTTON_SHIFT_LEFT", VK_CONTROL: "BUTTON_CTRL_LEFT", VK_MENU: "BUTTON_ALT_LEFT"}


def vk_f(n):
    return 0x6F + n


# The keys' own scan codes (set 1): F1-F10 run from 0x3B, F11 and F12 sit
# apart, F13-F16 follow at 0x64.
F_SCAN = dict([(n, 0x3A + n) for n in range(1, 11)] + [(11, 0x57), (12, 0x58)] +
              [(n, 0x57 + n) for n in range(13, 17)])

# How long a watch runs to see a flash: the flash reset ticks every 500 ms,
# and a start's answer comes back through the message loop.
WATCH_MS = 1200
START_TIMEOUT_S = 15


def down(msg):
    return msg in ("WM_KEYDOWN", "WM_SYSKEYDOWN")


class FunctionKeysReachTheTarget(KeyLogTestCase):

    def press(self, n, modifiers):
        """Latches the modifiers, clicks F-key n and returns the key messages
        that click produced."""
        s = self.s
        mark = len(self.events())
        for vk in modifiers:
            s.click("main", LATCH_BUTTONS[vk])
        s.click("main", "BUTTON_F_NUM_%d" % n)
        return self.wait_keys(2 + 2 * len(modifiers), since=mark)

    def colour(self, control):
        return self.s.drive("color", "main", control)

    def wait_colour(self, control, want, what):
        """The face is painted after the click's keys are on their way: a
        colour is read once it has had the time to change."""
        self.s.wait_for(lambda: self.colour(control), lambda got: got == want, TYPE_TIMEOUT_S, what)

    def test_plain_and_latched_function_keys_arrive_as_real_key_presses(self):
        s = self.s
        before = s.drive("keystate")
        cases = ((5, ()), (12, (VK_CONTROL, VK_SHIFT)), (10, (VK_SHIFT,)), (13, ()), (16, (VK_CONTROL,)),
                 (15, (VK_MENU,)), (3, (VK_CONTROL, VK_MENU, VK_SHIFT)))
        for n, modifiers in cases:
            with self.subTest(key="F%d" % n, modifiers=modifiers):
                got = self.press(n, modifiers)
                f_keys = [k for k in got if k[1] == vk_f(n)]
                self.assertEqual([down(m) for m, _, _ in f_keys], [True, False], got)
                for _, _, fields in f_keys:
                    self.assertEqual(int(fields["scan"], 16), F_SCAN[n], fields)
                    self.assertEqual(fields["ext"], "0", fields)
                want_mods = ",".join(MODIFIER_NAMES[vk] for vk in (VK_SHIFT, VK_CONTROL, VK_MENU)
                                     if vk in modifiers) or "none"
                self.assertEqual(f_keys[0][2]["mods"], want_mods)
                # Each modifier goes down before the key and up after it, and
                # nothing else is pressed.
                first, last = got.index(f_keys[0]), got.index(f_keys[-1])
                self.assertEqual(sorted(v for m, v, _ in got[:first] if down(m)), sorted(modifiers), got)
                self.assertEqual(sorted(v for m, v, _ in got[last + 1:] if not down(m)), sorted(modifiers), got)
                self.assertEqual(len(got), 2 + 2 * len(modifiers), got)
                # The latches it used are spent.
                for vk in modifiers:
                    self.wait_colour(LATCH_BUTTONS[vk], WHITE, "%s was not spent" % LATCH_BUTTONS[vk])
        self.assertEqual(s.drive("keystate"), before)

    def test_context_menu_key_toggles_and_forgets_the_menu_when_another_key_takes_the_focus(self):
        s = self.s
        s.click("main", "BUTTON_RIGHT_CLICK")
        want = [(True, VK_SHIFT), (True, vk_f(10)), (False, vk_f(10)), (False, VK_SHIFT)]
        self.assertEqual([(down(m), v) for m, v, _ in self.wait_keys(len(want))], want)
        self.wait_colour("BUTTON_RIGHT_CLICK", GREEN, "the first click did not open the menu")
        s.click("main", "BUTTON_RIGHT_CLICK")
        self.wait_colour("BUTTON_RIGHT_CLICK", WHITE, "the second click did not release the context-menu key")
        s.click("main", "BUTTON_RIGHT_CLICK")
        self.wait_colour("BUTTON_RIGHT_CLICK", GREEN, "the third click did not open the menu again")
        mark = len(self.events())
        # Another key takes the focus: the context-menu key lets go, and only
        # the letter is sent.
        s.click("main", "BUTTON_LETTER_Q")
        want = [(True, 0x51), (False, 0x51)]
        self.assertEqual([(down(m), v) for m, v, _ in self.wait_keys(len(want), since=mark)], want)
        self.wait_colour("BUTTON_RIGHT_CLICK", WHITE, "the letter did not release the context-menu key")


class UserFunctionKeys(KeyboardTestCase):

    def test_my_fkeys_shows_the_stored_captions_tinted_and_back(self):
        s = self.new_session()
        s.start_keyboard()
        s.set_setting("BUTTON_F_NUM_2_CAPTION", "Mail")
        s.click("main", "BUTTON_MY_FKEYS")
        s.drive("wait-text", "main", "BUTTON_F_NUM_2", "Mail")
        self.assertEqual(s.text("main", "BUTTON_F_NUM_1"), "FK1")
        self.assertEqual(s.text("main", "BUTTON_F_NUM_16"), "FK16")
        for key in ("BUTTON_F_NUM_1", "BUTTON_F_NUM_16"):
            s.wait_until(lambda: s.drive("color", "main", key) == BLUE_TINT, TYPE_TIMEOUT_S,
                         "%s never took the tint" % key)
        self.assertEqual(s.drive("color", "main", "BUTTON_MY_FKEYS"), GREEN)
        s.click("main", "BUTTON_MY_FKEYS")
        s.drive("wait-text", "main", "BUTTON_F_NUM_2", "F2")
        self.assertEqual(s.text("main", "BUTTON_F_NUM_16"), "F16")
        for key in ("BUTTON_F_NUM_1", "BUTTON_F_NUM_16", "BUTTON_MY_FKEYS"):
            s.wait_until(lambda: s.drive("color", "main", key) == WHITE, TYPE_TIMEOUT_S,
                         "%s never turned white again" % key)


class StartingPrograms(NotepadTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        if not os.path.exists(MARKER_EXE):
            raise AssertionError("missing %s: build the mingw preset first" % MARKER_EXE)

    def wait_marks(self, want):
        s = self.s
        s.wait_until(lambda: s.marker_lines() == want, START_TIMEOUT_S,
                     "the started program wrote %r, not %r" % (s.marker_lines(), want))

    def test_user_fkey_and_calculator_start_our_program_with_its_arguments(self):
        s = self.s
        marker = windows_path(MARKER_EXE)
        # Stored while the keyboard runs: each press reads the store.
        s.set_setting("MY-FKEYS-COMMAND-F3", '"%s" one "two words"' % marker)
        s.set_setting("CALCULATOR_COMMAND_TEXTBOX", "%s calc" % marker)
        s.click("main", "BUTTON_MY_FKEYS")
        s.drive("wait-text", "main", "BUTTON_F_NUM_3", "FK3")
        s.click("main", "BUTTON_F_NUM_3")
        self.wait_marks(["[one][two words]"])
        # The target was not brought back: a consent prompt owned by the
        # keyboard comes up in front of it.
        self.assertEqual(s.drive("title-of-foreground"), "QM-OSK")
        # A flash the reset takes back before it is painted shows nowhere:
        # a few presses are allowed for one to be seen.
        for presses in range(1, 6):
            if GREEN in [c for _, c in s.click_watch("main", "BUTTON_CALC", WATCH_MS)[1]]:
                break
        else:
            self.fail("the calculator key never flashed")
        self.wait_marks(["[one][two words]"] + ["[calc]"] * presses)
        self.assertIsNone(s.note())

    def test_a_missing_program_leaves_the_key_unflashed_and_says_why(self):
        s = self.s
        s.set_setting("MY-FKEYS-COMMAND-F4", r"Z:\nowhere\missing-program.exe")
        s.click("main", "BUTTON_MY_FKEYS")
        s.drive("wait-text", "main", "BUTTON_F_NUM_4", "FK4")
        before, changes = s.click_watch("main", "BUTTON_F_NUM_4", WATCH_MS)
        self.assertNotIn(GREEN, [before] + [c for _, c in changes])
        note = s.wait_until(s.note, TYPE_TIMEOUT_S, "no note said why nothing started")
        self.assertIn('Could not start "Z:\\nowhere\\missing-program.exe"', note)
        # A click puts the note away, wherever it lies over the keys.
        s.drive("click-note", "main")
        s.wait_until(lambda: s.note() is None, TYPE_TIMEOUT_S, "the note stayed after a click on it")
        # The keyboard goes on working.
        self.click_keys("BUTTON_LETTER_O", "BUTTON_LETTER_K")
        self.wait_typed("ok")

    def test_copy_and_paste_move_text_through_the_clipboard(self):
        s = self.s
        self.click_keys("BUTTON_LETTER_A", "BUTTON_LETTER_B", "BUTTON_LETTER_C")
        self.wait_typed("abc")
        self.click_keys("BUTTON_CTRL_LEFT", "BUTTON_LETTER_A")
        # Copy spends a latched Shift, which no chord of it uses.
        s.click("main", "BUTTON_SHIFT_LEFT")
        s.drive("wait-text", "main", "BUTTON_LETTER_A", "A")
        s.click("main", "COPY_BUTTON")
        s.drive("wait-text", "main", "BUTTON_LETTER_A", "a")
        # The copy is seen apart from the paste, so a failure says which.
        s.wait_for(lambda: s.drive("clipboard"), lambda text: text == "abc", TYPE_TIMEOUT_S,
                   "the selection never reached the clipboard")
        self.click_keys("BUTTON_END", "PASTE_BUTTON")
        self.wait_typed("abcabc")
        self.click_keys("BUTTON_CTRL_LEFT", "BUTTON_LETTER_A", "CUT_BUTTON")
        self.wait_typed("")
        self.click_keys("PASTE_BUTTON", "PASTE_BUTTON")
        self.wait_typed("abcabcabcabc")


class CommandLine(KeyboardTestCase):

    def test_run_button_starts_the_command_line_in_front_with_its_arguments(self):
        s = self.new_session()
        s.start_keyboard()
        log = os.path.join(s.logs, "run-target.log")
        line = '%s %s "Run Target"' % (windows_path(KEYLOG_EXE), windows_path(log))
        s.set_text("main", "COMMAND_LINE_TEXTBOX", line)
        s.click("main", "BUTTON_RUN_INTERNAL")
        s.drive("wait-window", "Run Target", str(START_TIMEOUT_S * 1000))
        s.wait_until(lambda: s.drive("title-of-foreground") == "Run Target", TYPE_TIMEOUT_S,
                     "the started program did not get the focus")
        self.assertTrue(os.path.exists(log))
        self.assertEqual(s.text("main", "COMMAND_LINE_TEXTBOX"), line)
        self.assertIsNone(s.note())


if __name__ == "__main__":
    unittest.main()
