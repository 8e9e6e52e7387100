"""Keys clicked on the keyboard reach the window that was in front before,
as keystrokes that program really receives."""

import os
import unittest

from rig import KEYLOG_TITLE, NOTEPAD_TITLE, KeyboardTestCase

# The keyboard sits at its default place (about 67,67 to 1187,386 at 96 dpi);
# the targets go below it so that no click lands on them.
TARGET_GEOMETRY = (67, 430, 1120, 480)
# The target title is read once a second; a generous bound for seeing it.
TRACK_TIMEOUT_MS = 2500
TYPE_TIMEOUT_S = 10


class NotepadTarget(KeyboardTestCase):
    """The delivery path against a real program that nobody here wrote."""

    def setUp(self):
        s = self.s = self.new_session()
        s.start_keyboard()
        s.start_notepad(*TARGET_GEOMETRY)
        s.drive("foreground", NOTEPAD_TITLE)
        s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", NOTEPAD_TITLE, str(TRACK_TIMEOUT_MS))

    def typed(self):
        return self.s.drive("edit-text", NOTEPAD_TITLE)

    def wait_typed(self, want):
        self.s.wait_until(lambda: self.typed() == want, TYPE_TIMEOUT_S,
                          "notepad never showed %r" % want)

    def click_keys(self, *names):
        for n in names:
            self.s.click("main", n)

    def test_letters_reach_notepad(self):
        self.click_keys(*("BUTTON_LETTER_" + c for c in "HELLO"))
        self.wait_typed("hello")
        # Clicking the keyboard does not make it the target.
        self.assertEqual(self.s.text("main", "ACTIVE_WINDOW_LABEL"), NOTEPAD_TITLE)

    def test_space_and_backspace(self):
        self.click_keys("BUTTON_LETTER_H", "BUTTON_LETTER_I", "BUTTON_SPACEBAR")
        self.wait_typed("hi ")
        self.click_keys("BUTTON_BACKSPACE", "BUTTON_BACKSPACE")
        self.wait_typed("h")

    def test_shift_latch_gives_one_capital(self):
        s = self.s
        s.click("main", "BUTTON_SHIFT_LEFT")
        # The letter keys type what they show: wait for the shifted faces.
        s.drive("wait-text", "main", "BUTTON_LETTER_A", "A")
        s.click("main", "BUTTON_LETTER_A")
        self.wait_typed("A")
        s.drive("wait-text", "main", "BUTTON_LETTER_A", "a")
        s.click("main", "BUTTON_LETTER_B")
        self.wait_typed("Ab")


class KeyLogTarget(KeyboardTestCase):
    """The exact key messages, through a window that logs each one."""

    def setUp(self):
        s = self.s = self.new_session()
        s.start_keyboard()
        self.log = s.start_keylog(*TARGET_GEOMETRY)
        s.drive("foreground", KEYLOG_TITLE)
        s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", KEYLOG_TITLE, str(TRACK_TIMEOUT_MS))

    def events(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="ascii", errors="replace") as f:
            return [l.split() for l in f.read().splitlines() if l.startswith("WM_")]

    def chars(self):
        return "".join(chr(int(e[1][3:], 16)) for e in self.events() if e[0] == "WM_CHAR")

    def wait_chars(self, want):
        self.s.wait_until(lambda: self.chars() == want, TYPE_TIMEOUT_S,
                          "the key log never showed %r (got %r)" % (want, self.chars()))

    def test_lock_states_are_unchanged_by_typing(self):
        s = self.s
        before = s.drive("keystate")
        for name in ("BUTTON_LETTER_Q", "BUTTON_NUMBER_1", "BUTTON_SPACEBAR"):
            s.click("main", name)
        s.click("main", "BUTTON_SHIFT_LEFT")
        s.drive("wait-text", "main", "BUTTON_LETTER_W", "W")
        s.click("main", "BUTTON_LETTER_W")
        self.wait_chars("q1 W")
        s.click("main", "BUTTON_BACKSPACE")
        s.wait_until(lambda: any(e[0] == "WM_KEYUP" and e[1] == "vk=0x08" for e in self.events()),
                     TYPE_TIMEOUT_S, "no Backspace arrived")
        after = s.drive("keystate")
        self.assertEqual(before, after)
        locks = {"vk=0x14", "vk=0x90", "vk=0x91"}
        self.assertFalse([e for e in self.events() if e[1] in locks],
                         "a lock key was pressed by an ordinary key")

    def test_shifted_letter_is_a_shift_chord(self):
        s = self.s
        s.click("main", "BUTTON_SHIFT_LEFT")
        s.drive("wait-text", "main", "BUTTON_LETTER_G", "G")
        s.click("main", "BUTTON_LETTER_G")
        self.wait_chars("G")
        downs = [e for e in self.events() if e[0] in ("WM_KEYDOWN", "WM_SYSKEYDOWN")]
        g = [e for e in downs if e[1] == "vk=0x47"]
        self.assertEqual(len(g), 1, downs)
        self.assertIn("mods=shift", g[0], "G arrived without Shift held: %r" % (g[0],))
        # Shift is released again: the next letter is plain.
        s.drive("wait-text", "main", "BUTTON_LETTER_G", "g")
        s.click("main", "BUTTON_LETTER_G")
        self.wait_chars("Gg")
        last_g = [e for e in self.events() if e[0] == "WM_KEYDOWN" and e[1] == "vk=0x47"][-1]
        self.assertIn("mods=none", last_g)


if __name__ == "__main__":
    unittest.main()
