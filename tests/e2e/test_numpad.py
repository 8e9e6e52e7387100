"""The number pad, clicked for real: its keys reach Notepad and the key-log
window as a keypad's keys, Num Lock deciding between digits and navigation;
the window grows to the right by the pad, stays on the screen, and a
restart keeps the pad open."""

import unittest

from rig import (KEYLOG_TITLE, NOTEPAD_TITLE, TYPE_TIMEOUT_S, KeyLogTestCase, NotepadTestCase, px)

PAD_WIDTH_TWIPS = 3000  # the pad's band at the keys' design scale
CAPTION_TIMEOUT_MS = 15000


class PadInNotepad(NotepadTestCase):
    notepad_geometry = (67, 430, 1120, 250)

    def start_helpers(self, s):
        # Reads Num Lock for keystate; never the target.
        s.start_keylog(67, 720, 600, 150)

    def wait_caption(self, control, caption):
        self.s.drive("wait-text", "main", control, caption, str(CAPTION_TIMEOUT_MS))

    def wait_caret(self, at):
        self.s.wait_for(lambda: self.s.drive("edit-caret", NOTEPAD_TITLE), lambda got: got == "%d %d" % (at, at),
                        TYPE_TIMEOUT_S, "the caret never went to %d" % at)

    def open_pad(self):
        s = self.s
        before = s.rect("main")
        s.click("main", "NUM_PAD_BUTTON")
        s.wait_for(lambda: s.rect("main"), lambda r: r[2] > before[2], TYPE_TIMEOUT_S, "the window never grew")
        return before, s.rect("main")

    def test_seven_types_a_digit_with_num_lock_on_and_goes_home_with_it_off(self):
        s = self.s
        s.set_num_lock(self, True, NOTEPAD_TITLE)
        s.make_target(NOTEPAD_TITLE)
        self.open_pad()
        self.click_keys("BUTTON_LETTER_A", "BUTTON_LETTER_B")
        self.wait_typed("ab")
        self.wait_caption("NUM_PAD_7", "7")
        s.shoot("keyboard-numpad.png")
        s.click("main", "NUM_PAD_7")
        self.wait_typed("ab7")
        self.wait_caret(3)
        s.set_num_lock(self, False, NOTEPAD_TITLE)
        s.make_target(NOTEPAD_TITLE)
        self.wait_caption("NUM_PAD_7", "HOME")
        s.click("main", "NUM_PAD_7")
        self.wait_caret(0)
        self.assertEqual(self.typed(), "ab7")

    def test_the_window_grows_right_by_the_pad_stays_on_screen_and_a_restart_keeps_it(self):
        s = self.s
        _, (wl, wt, ww, wh) = s.monitor("main")
        # Flush with the work area's right edge: the pad must push it left.
        x, y, w, h = s.rect("main")
        s.drive("move", "main", str(wl + ww - w), str(y), str(w), str(h))
        s.wait_for(lambda: s.rect("main"), lambda r: r[0] + r[2] == wl + ww, TYPE_TIMEOUT_S,
                   "the keyboard never reached the right edge")
        before, after = self.open_pad()
        grown = px(PAD_WIDTH_TWIPS, s.dpi())
        self.assertClose(after[2] - before[2], grown, 2)
        self.assertEqual(after[3], before[3])
        self.assertEqual(after[1], before[1])
        self.assertLessEqual(after[0] + after[2], wl + ww, "the pad pushed the window off the work area")
        self.assertGreaterEqual(after[0], wl)
        self.assertEqual(s.setting("NUM_PAD"), "1")
        s.close_keyboard()
        # The stored size is the keys' own, without the pad.
        self.assertClose(px(float(s.setting("MainWidth")), s.dpi()), before[2], 2)
        s.start_keyboard()
        self.wait_caption("NUM_PAD_7", "7" if "num=1" in s.drive("keystate") else "HOME")
        self.assertEqual(s.rect("main"), after)
        s.click("main", "NUM_PAD_BUTTON")
        s.wait_for(lambda: s.rect("main"), lambda r: r[2] == before[2], TYPE_TIMEOUT_S,
                   "closing the pad never gave the width back")


class PadInKeyLog(KeyLogTestCase):

    def test_keypad_keys_arrive_with_the_keypads_codes(self):
        s = self.s
        s.set_num_lock(self, True, KEYLOG_TITLE)
        s.make_target(KEYLOG_TITLE)
        s.click("main", "NUM_PAD_BUTTON")
        s.drive("wait-text", "main", "NUM_PAD_7", "7", str(CAPTION_TIMEOUT_MS))
        # button, vk, scan, extended
        for button, vk, scan, ext in (("NUM_PAD_7", 0x67, 0x47, "0"), ("NUM_PAD_ENTER", 0x0D, 0x1C, "1"),
                                      ("NUM_PAD_DIVIDE", 0x6F, 0x35, "1")):
            with self.subTest(button=button):
                mark = len(self.events())
                s.click("main", button)
                got = self.wait_keys(2, since=mark)
                self.assertEqual([(m, v) for m, v, _ in got], [("WM_KEYDOWN", vk), ("WM_KEYUP", vk)])
                for _, _, fields in got:
                    self.assertEqual(int(fields["scan"], 16), scan, fields)
                    self.assertEqual(fields["ext"], ext, fields)
                    self.assertEqual(fields["mods"], "none", fields)


if __name__ == "__main__":
    unittest.main()
