"""Keeping the focus in the target: started with --keep-focus, the keyboard
types into Notepad without ever becoming the foreground window, and its
command line still takes typing.

An open menu of Notepad cannot be kept open here: under Wine a window in
menu mode grabs the pointer, so a click anywhere else closes the menu and
never reaches the keyboard at all (its Shift lock stays off)."""

import unittest

from rig import NOTEPAD_TITLE, TYPE_TIMEOUT_S
from test_character_keys import NotepadCase

class KeepFocus(NotepadCase):

    keyboard_args = ("--keep-focus",)

    def assert_never_left_notepad(self, control, typed):
        # The watch lasts until the click has typed, so a switch that comes
        # late on a busy machine is seen all the same.
        before, changes = self.s.click_watch_foreground("main", control, NOTEPAD_TITLE, typed)
        self.assertEqual(before, NOTEPAD_TITLE)
        self.assertEqual(changes, [], "the foreground changed during the click")

    def test_keys_type_while_notepad_stays_in_front(self):
        self.assertEqual(self.s.setting("KEEP_TARGET_FOCUS"), "1", "the switch is remembered")
        self.wait_caption("BUTTON_LETTER_Q", "q")
        self.assert_never_left_notepad("BUTTON_LETTER_Q", "q")
        self.wait_typed("q")
        self.s.click("main", "BUTTON_SHIFT_LEFT")
        self.wait_caption("BUTTON_LETTER_W", "W")
        self.assert_never_left_notepad("BUTTON_LETTER_W", "qW")
        self.assert_never_left_notepad("BUTTON_SPACEBAR", "qW ")
        self.wait_typed("qW ")

    def test_command_line_takes_typing(self):
        s = self.s
        s.click("main", "COMMAND_LINE_TEXTBOX")
        s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", "QM-OSK-CMD", "3000")
        self.assertEqual(s.drive("title-of-foreground"), "QM-OSK")
        before = s.text("main", "COMMAND_LINE_TEXTBOX")
        self.click_showing("BUTTON_LETTER_A", "a")
        self.click_showing("BUTTON_LETTER_B", "b")
        s.drive("wait-text", "main", "COMMAND_LINE_TEXTBOX", before + "ab", "3000")
        self.assertEqual(self.typed(), "")


class KeepFocusFromTheSettingsDialog(NotepadCase):

    def test_the_tick_box_switches_the_mode_at_the_click(self):
        s = self.s
        s.click("main", "SETTINGS_BUTTON")
        s.drive("wait-window", "settings")
        s.click("settings", "KEEP_TARGET_FOCUS_TICKBOX")
        # "At once" is while the dialog is still open: the bound only limits
        # waiting, each look being an osk-drive start.
        s.wait_until(lambda: s.setting("KEEP_TARGET_FOCUS") == "1", TYPE_TIMEOUT_S,
                     "the tick was not stored at once")
        s.click("settings", "OK_BUTTON")
        s.drive("wait-gone", "settings")
        s.make_target(NOTEPAD_TITLE)
        self.wait_caption("BUTTON_LETTER_Q", "q")
        before, changes = s.click_watch_foreground("main", "BUTTON_LETTER_Q", NOTEPAD_TITLE, "q")
        self.assertEqual((before, changes), (NOTEPAD_TITLE, []), "the click took the focus")
        self.wait_typed("q")


class KeepFocusOff(NotepadCase):

    def test_without_the_switch_a_click_takes_the_focus_for_a_moment(self):
        # The contrast that shows the watch above can see a switch at all.
        self.wait_caption("BUTTON_LETTER_Q", "q")
        before, changes = self.s.click_watch_foreground("main", "BUTTON_LETTER_Q", NOTEPAD_TITLE, "q")
        self.assertEqual(before, NOTEPAD_TITLE)
        self.assertIn("QM-OSK", [title for _, title in changes])
        self.assertEqual(changes[-1][1], NOTEPAD_TITLE, "the focus went back to Notepad")
        self.wait_typed("q")


if __name__ == "__main__":
    unittest.main()
