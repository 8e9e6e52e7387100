"""Keys clicked on the keyboard reach the window that was in front before,
as keystrokes that program really receives."""

import time
import unittest

from rig import (KEYLOG_TITLE, NOTEPAD_TITLE, TYPE_TIMEOUT_S, VK_NUMLOCK, KeyLogTestCase, NotepadTestCase)
from xpointer import XPointer

GREEN = "0x00FF00"


VK_SHIFT = 0x10
VK_CONTROL = 0x11
LOCK_VKS = (0x14, VK_NUMLOCK, 0x91)

# button, vk, scan code, extended flag ("1" for the keys of the separate
# navigation block, whose scan codes carry the E0 prefix)
NAMED_KEYS = [
    ("BUTTON_KEY_LEFT", 0x25, 0x4B, "1"),
    ("BUTTON_KEY_RIGHT", 0x27, 0x4D, "1"),
    ("BUTTON_KEY_UP", 0x26, 0x48, "1"),
    ("BUTTON_KEY_DOWN", 0x28, 0x50, "1"),
    ("BUTTON_HOME", 0x24, 0x47, "1"),
    ("BUTTON_END", 0x23, 0x4F, "1"),
    ("BUTTON_DELETE", 0x2E, 0x53, "1"),
    ("BUTTON_INS", 0x2D, 0x52, "1"),
    ("BUTTON_PG_UP", 0x21, 0x49, "1"),
    ("BUTTON_PG_DN", 0x22, 0x51, "1"),
    ("BUTTON_TAB", 0x09, 0x0F, "0"),
    ("BUTTON_RETURN_KEY", 0x0D, 0x1C, "0"),
    ("BUTTON_ESC", 0x1B, 0x01, "0"),
    ("BUTTON_BACKSPACE", 0x08, 0x0E, "0"),
    ("BUTTON_SPACEBAR", 0x20, 0x39, "0"),
]

# button, vk, whether a latched Shift adds a shifted second press
SHIFT_ARROWS = [
    ("BUTTON_KEY_LEFT", 0x25, True),
    ("BUTTON_KEY_RIGHT", 0x27, True),
    ("BUTTON_KEY_DOWN", 0x28, True),
    ("BUTTON_KEY_UP", 0x26, False),
]


class NotepadTarget(NotepadTestCase):
    """The delivery path against a real program that nobody here wrote."""

    def test_letters_reach_notepad(self):
        self.click_keys(*("BUTTON_LETTER_" + c for c in "HELLO"))
        self.wait_typed("hello")
        # Clicking the keyboard does not make it the target.
        self.assertEqual(self.s.text("main", "ACTIVE_WINDOW_LABEL"), NOTEPAD_TITLE)

    def test_a_persons_clicks_into_notepad_and_then_on_keys_type_every_key(self):
        # Clicks of the X server's own pointer, which the window manager sees
        # first. After the switch back to Notepad for the first key, Wine can
        # have none of its windows in front for a moment (its desktop window
        # stands in); recorded as the target, it swallowed every later key
        # in about half of these rounds.
        s = self.s
        left, top, width, _ = (int(v) for v in s.drive("client-rect", NOTEPAD_TITLE).split())
        keys = []
        for name in ("BUTTON_LETTER_A", "BUTTON_LETTER_B", "BUTTON_LETTER_C", "BUTTON_SPACEBAR"):
            x, y, w, h = s.rect("main", name)
            keys.append((x + w // 2, y + h // 2))
        front = lambda: s.drive("title-of-foreground", check=False)[1]
        want = ""
        with XPointer(s.env["DISPLAY"]) as hands:
            for _ in range(4):
                # At the end of the line, so that each round types after the last.
                hands.click(left + width * 2 // 3, top + 8)
                s.wait_for(front, lambda t: t == NOTEPAD_TITLE, TYPE_TIMEOUT_S, "Notepad never came in front")
                for at in keys:
                    hands.click(*at)
                    time.sleep(0.35)  # a person's pace, which lets the tracking look in between
                want += "abc "
                self.wait_typed(want)

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

    def letters(self, text):
        """Clicks the letter keys for lower-case text; the faces are lower
        case as long as no Shift is latched."""
        self.click_keys(*("BUTTON_LETTER_" + c.upper() for c in text))

    def test_tab_and_enter_make_columns_and_lines(self):
        self.letters("a")
        self.click_keys("BUTTON_TAB")
        self.letters("b")
        self.click_keys("BUTTON_RETURN_KEY")
        self.letters("c")
        self.click_keys("BUTTON_RETURN_KEY", "BUTTON_RETURN_KEY")
        self.letters("d")
        self.wait_typed("a\tb\nc\n\nd")

    def test_arrows_home_end_and_delete_edit_at_the_caret(self):
        self.letters("abc")
        self.wait_typed("abc")
        self.click_keys("BUTTON_KEY_LEFT", "BUTTON_KEY_LEFT", "BUTTON_DELETE")
        self.wait_typed("ac")
        self.click_keys("BUTTON_HOME")
        self.letters("x")
        self.wait_typed("xac")
        self.click_keys("BUTTON_KEY_RIGHT")
        self.letters("y")
        self.wait_typed("xayc")
        self.click_keys("BUTTON_END")
        self.letters("z")
        self.wait_typed("xaycz")

    def test_up_and_down_move_between_lines(self):
        self.letters("ab")
        self.click_keys("BUTTON_RETURN_KEY")
        self.letters("cd")
        self.wait_typed("ab\ncd")
        self.click_keys("BUTTON_KEY_UP")
        self.letters("x")
        self.wait_typed("abx\ncd")
        self.click_keys("BUTTON_HOME", "BUTTON_KEY_DOWN")
        self.letters("y")
        self.wait_typed("abx\nycd")

    def test_latched_shift_with_left_arrow_selects_what_the_next_letter_replaces(self):
        s = self.s
        self.letters("abcd")
        self.wait_typed("abcd")
        s.click("main", "BUTTON_SHIFT_LEFT")
        s.drive("wait-text", "main", "BUTTON_LETTER_X", "X")
        # "{LEFT}" then "+{LEFT}": the caret steps back over "d", then "c" is
        # selected. A lost Shift would leave nothing selected ("abXcd"), a
        # missing second string the caret after "c" ("abcXd").
        s.click("main", "BUTTON_KEY_LEFT")
        # Arrows do not spend the Shift latch: the faces stay capital.
        self.assertEqual(s.text("main", "BUTTON_LETTER_X"), "X")
        s.click("main", "BUTTON_LETTER_X")
        self.wait_typed("abXd")
        # The capital spent the latch.
        s.drive("wait-text", "main", "BUTTON_LETTER_Y", "y")
        s.click("main", "BUTTON_LETTER_Y")
        self.wait_typed("abXyd")

    def test_latched_ctrl_makes_one_chord_with_the_next_letter(self):
        s = self.s
        self.letters("abc")
        self.wait_typed("abc")
        s.click("main", "BUTTON_CTRL_LEFT")
        # Ctrl+A selects everything, so the next letter replaces it.
        s.click("main", "BUTTON_LETTER_A")
        self.letters("x")
        self.wait_typed("x")
        # The chord spent the latch: a further letter is typed, not chorded.
        self.letters("y")
        self.wait_typed("xy")

    def test_esc_and_insert_type_nothing(self):
        s = self.s
        self.letters("ab")
        self.wait_typed("ab")
        # Esc keeps its colour: not even the press flash. Watching starts as
        # the click goes in, and lasts longer than the flash reset's period.
        before, changes = s.click_watch("main", "BUTTON_ESC", 800)
        self.assertTrue(changes, "no colour was read")
        self.assertNotIn(GREEN, [before] + [c for _, c in changes], "Esc flashed")
        # The edit control has no overwrite mode: Insert changes nothing, so
        # the next letter is inserted, not written over "b".
        self.click_keys("BUTTON_KEY_LEFT", "BUTTON_INS")
        self.letters("c")
        self.wait_typed("acb")
        # The same watch sees the flash of a key that has one. A flash that
        # the reset tick takes back before it is painted shows nowhere, so a
        # few presses are allowed for one to be seen.
        for tabs in range(1, 6):
            if GREEN in [c for _, c in s.click_watch("main", "BUTTON_TAB", 800)[1]]:
                break
        else:
            self.fail("the watch never saw Tab's flash")
        self.wait_typed("ac" + "\t" * tabs + "b")


class KeyLogTarget(KeyLogTestCase):
    """The exact key messages, through a window that logs each one."""

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

    def test_ctrl_chord_holds_ctrl_around_the_letter(self):
        s = self.s
        s.click("main", "BUTTON_CTRL_LEFT")
        s.click("main", "BUTTON_LETTER_C")
        want = [("WM_KEYDOWN", VK_CONTROL), ("WM_KEYDOWN", 0x43), ("WM_KEYUP", 0x43), ("WM_KEYUP", VK_CONTROL)]
        got = self.wait_keys(len(want))
        self.assertEqual([(m, v) for m, v, _ in got], want)
        self.assertEqual(got[1][2]["mods"], "ctrl")
        # The character comes between the letter's down and up, so it is in.
        self.assertEqual(self.chars(), "\x03")
        # The chord released the latch: the next letter comes alone.
        mark = len(self.events())
        s.click("main", "BUTTON_LETTER_D")
        want = [("WM_KEYDOWN", 0x44), ("WM_KEYUP", 0x44)]
        got = self.wait_keys(len(want), since=mark)
        self.assertEqual([(m, v) for m, v, _ in got], want)
        self.assertEqual(got[0][2]["mods"], "none")
        self.assertEqual(self.chars(), "\x03d")

    def test_named_keys_carry_their_scan_codes_and_extended_flags(self):
        s = self.s
        before = s.drive("keystate")
        for button, vk, scan, ext in NAMED_KEYS:
            with self.subTest(button=button):
                mark = len(self.events())
                s.click("main", button)
                want = [("WM_KEYDOWN", vk), ("WM_KEYUP", vk)]
                got = self.wait_keys(len(want), since=mark)
                self.assertEqual([(m, v) for m, v, _ in got], want)
                for _, _, fields in got:
                    self.assertEqual(int(fields["scan"], 16), scan, fields)
                    self.assertEqual(fields["ext"], ext, fields)
                    self.assertEqual(fields["mods"], "none", fields)
        self.assertEqual(s.drive("keystate"), before)
        self.assertFalse([k for k in self.keys() if k[1] in LOCK_VKS],
                         "a lock key was pressed by a named key")

    def test_latched_shift_arrows_stay_extended_with_num_lock_on(self):
        s = self.s
        s.set_num_lock(self, True, KEYLOG_TITLE)
        before = s.drive("keystate")
        s.click("main", "BUTTON_SHIFT_LEFT")
        s.drive("wait-text", "main", "BUTTON_LETTER_A", "A")
        for button, vk, shifted in SHIFT_ARROWS:
            with self.subTest(button=button):
                mark = len(self.events())
                s.click("main", button)
                # Another arrow closes the events of this one: nothing this
                # click sent can arrive after the next click's.
                s.click("main", "BUTTON_KEY_RIGHT" if vk != 0x27 else "BUTTON_KEY_LEFT")
                other = 0x27 if vk != 0x27 else 0x25
                got = self.wait_key_up(other, since=mark)
                first_other = next(i for i, k in enumerate(got) if k[1] == other)
                got = got[:first_other]
                want = [("WM_KEYDOWN", vk), ("WM_KEYUP", vk)]
                if shifted:
                    want += [("WM_KEYDOWN", VK_SHIFT), ("WM_KEYDOWN", vk), ("WM_KEYUP", vk),
                             ("WM_KEYUP", VK_SHIFT)]
                self.assertEqual([(m, v) for m, v, _ in got], want)
                for _, v, fields in got:
                    self.assertEqual(fields["num"], "1", fields)
                    if v == vk:
                        self.assertEqual(fields["ext"], "1", fields)
                self.assertEqual(got[0][2]["mods"], "none")
                if shifted:
                    self.assertEqual(got[3][2]["mods"], "shift", got[3])
                # The arrows leave the latch on.
                self.assertEqual(s.text("main", "BUTTON_LETTER_A"), "A")
        self.assertEqual(self.chars(), "", "an arrow typed a character (a keypad digit?)")
        self.assertEqual(s.drive("keystate"), before)


if __name__ == "__main__":
    unittest.main()
