"""Which window the keys go to: the window in front before the keyboard was
clicked, the keyboard's own command line, or none at all."""

import os
import subprocess
import unittest

from rig import (KEYLOG_EXE, NOTEPAD_TITLE, TARGET_GEOMETRY, TRACK_TIMEOUT_MS, TYPE_TIMEOUT_S,
                 KeyboardTestCase, windows_path)

# Below the keyboard (about 67,67 to 1187,386 at 96 dpi), so that no click on
# a key lands on a target.
LEFT_GEOMETRY = (67, 430, 540, 300)
RIGHT_GEOMETRY = (647, 430, 540, 300)
START_TIMEOUT_MS = 60000

NO_TARGET = "QM-OSK"
COMMAND_LINE = "QM-OSK-CMD"

# The keys that only make sense with a real target window.
TARGET_GROUP = [
    "BUTTON_BACKSPACE", "BUTTON_AUTO_BACKSPACE", "BUTTON_DELETE", "BUTTON_AUTO_DELETE",
    "BUTTON_INS", "BUTTON_HOME", "BUTTON_END", "BUTTON_PG_UP", "BUTTON_PG_DN",
    "BUTTON_CTRL_LEFT", "BUTTON_CTRL_RIGHT", "BUTTON_ALT_LEFT", "BUTTON_ALT_GR",
    "SHIFT_ARROW_HIGHLIGHT_BUTTON", "BUTTON_KEY_UP", "BUTTON_KEY_DOWN", "BUTTON_KEY_LEFT",
    "BUTTON_KEY_RIGHT",
]
# Keys that work without a target, so they stay enabled throughout.
ALWAYS_ENABLED = ["BUTTON_TAB", "BUTTON_SPACEBAR", "BUTTON_SHIFT_LEFT", "BUTTON_CAPS"]


class KeyLog:
    """A key-log window with a title and a log file of its own."""

    def __init__(self, s, title, name, geometry=None):
        self.s = s
        self.title = title
        self.path = os.path.join(s.logs, name + ".log")
        s.start(KEYLOG_EXE, windows_path(self.path), title, name=name)
        # Several windows may share the title: wait for this one's own log.
        s.wait_until(lambda: os.path.exists(self.path) and "READY" in self._lines(),
                     START_TIMEOUT_MS / 1000, "%s never started" % name)
        s.drive("wait-window", title, str(START_TIMEOUT_MS))
        if geometry:
            s.drive("move", title, *map(str, geometry))

    def _lines(self):
        with open(self.path, encoding="ascii", errors="replace") as f:
            return f.read().splitlines()

    def chars(self):
        return "".join(chr(int(l.split()[1][3:], 16)) for l in self._lines()
                       if l.startswith("WM_CHAR "))

    def key_events(self):
        return [l for l in self._lines() if l.startswith("WM_")]

    def wait_chars(self, want):
        self.s.wait_for(self.chars, lambda got: got == want, TYPE_TIMEOUT_S,
                        "%s never showed %r" % (self.title, want))


class TargetingTestCase(KeyboardTestCase):
    def setUp(self):
        self.s = self.new_session()

    def label(self):
        return self.s.text("main", "ACTIVE_WINDOW_LABEL")

    def wait_label(self, title):
        self.s.drive("wait-text", "main", "ACTIVE_WINDOW_LABEL", title, str(TRACK_TIMEOUT_MS))

    def make_target(self, title):
        self.s.drive("foreground", title)
        self.wait_label(title)

    def letters(self, text):
        for c in text:
            self.s.click("main", "BUTTON_LETTER_" + c.upper())

    def group_state(self):
        lines = self.s.drive("enabled-each", "main", *(TARGET_GROUP + ALWAYS_ENABLED)).splitlines()
        return dict(l.split() for l in lines)

    def wait_group(self, want):
        expected = {name: want for name in TARGET_GROUP}
        expected.update({name: "1" for name in ALWAYS_ENABLED})
        self.s.wait_for(self.group_state, lambda got: got == expected, TYPE_TIMEOUT_S,
                        "the target keys did not become %s" % ("enabled" if want == "1" else "disabled"))

    def keyboard_alive(self):
        self.assertIsNone(self.s.keyboard.poll(), "the keyboard program ended")
        # The window still answers messages.
        self.label()


class TargetTracking(TargetingTestCase):
    def test_the_window_in_front_becomes_the_target_and_enables_its_keys(self):
        s = self.s
        s.start_keyboard()
        s.drive("foreground", "main")
        self.assertEqual(self.label(), NO_TARGET)
        # The first tick, with the keyboard itself in front, disables them.
        self.wait_group("0")
        log = KeyLog(s, "Tracked Log", "tracked", TARGET_GEOMETRY)
        self.make_target(log.title)
        self.wait_group("1")
        # Clicking the keyboard does not make it the target.
        s.click("main", "BUTTON_LETTER_K")
        log.wait_chars("k")
        self.assertEqual(self.label(), log.title)
        self.assertEqual(set(self.group_state().values()), {"1"})

    def test_keys_clicked_before_any_target_was_recorded_type_nothing(self):
        s = self.s
        log = KeyLog(s, "Waiting Log", "waiting", TARGET_GEOMETRY)
        s.start_keyboard()
        s.drive("foreground", "main")
        self.wait_group("0")
        self.assertEqual(self.label(), NO_TARGET)
        command_line = s.text("main", "COMMAND_LINE_TEXTBOX")
        self.letters("abc")
        for name in ("BUTTON_SPACEBAR", "BUTTON_TAB", "BUTTON_RETURN_KEY", "BUTTON_ESC",
                     "BUTTON_NUMBER_1", "BUTTON_LETTER_D"):
            s.click("main", name)
        self.assertEqual(self.label(), NO_TARGET)
        self.assertEqual(s.text("main", "COMMAND_LINE_TEXTBOX"), command_line)
        # Once there is a target, a key reaches it, and only that key: the
        # earlier clicks were handled before this one and sent nothing.
        self.make_target(log.title)
        s.drive("wait-text", "main", "BUTTON_LETTER_Z", "z")
        s.click("main", "BUTTON_LETTER_Z")
        log.wait_chars("z")
        self.assertEqual(len([e for e in log.key_events() if e.startswith("WM_KEYDOWN")]), 1,
                         log.key_events())

    def test_a_title_outside_the_ansi_code_page_still_gets_its_keys(self):
        s = self.s
        s.start_keyboard()
        log = KeyLog(s, "Ключ ✓ Log", "unicode", TARGET_GEOMETRY)
        self.make_target(log.title)
        self.letters("hi")
        s.click("main", "BUTTON_SPACEBAR")
        s.click("main", "BUTTON_BACKSPACE")
        self.letters("u")
        log.wait_chars("hi \bu")


class TheKeyboardsOwnTitle(TargetingTestCase):
    def test_a_window_titled_as_the_keyboard_is_typed_into(self):
        s = self.s
        s.start_keyboard()
        s.drive("foreground", "main")
        self.wait_group("0")
        # Found by its class: the title is the keyboard's too.
        log = KeyLog(s, NO_TARGET, "same-title")
        s.drive("move", "QMOSK_KEYLOG", *map(str, TARGET_GEOMETRY))
        s.drive("foreground", "QMOSK_KEYLOG")
        # The label reads the same with or without this target; the keys
        # that need a real target come on only with one.
        self.wait_group("1")
        self.letters("ok")
        log.wait_chars("ok")


class CommandLineMode(TargetingTestCase):
    def test_keys_edit_the_command_line_and_nothing_reaches_the_last_window(self):
        s = self.s
        s.start_keyboard()
        s.start_notepad(*TARGET_GEOMETRY)
        self.make_target(NOTEPAD_TITLE)
        s.click("main", "COMMAND_LINE_TEXTBOX")
        self.wait_label(COMMAND_LINE)
        before = s.text("main", "COMMAND_LINE_TEXTBOX")
        self.letters("ab")
        s.drive("wait-text", "main", "COMMAND_LINE_TEXTBOX", before + "ab")
        s.click("main", "BUTTON_SPACEBAR")
        s.drive("wait-text", "main", "COMMAND_LINE_TEXTBOX", before + "ab ")
        # Backspace leaves the command line alone. It is disabled while the
        # command line has the focus or is the target, so the click goes to
        # its spot as a person's would; a letter after it shows that the
        # click was handled.
        x, y, w, h = s.rect("main", "BUTTON_BACKSPACE")
        s.drive("click-at", str(x + w // 2), str(y + h // 2))
        self.letters("c")
        s.drive("wait-text", "main", "COMMAND_LINE_TEXTBOX", before + "ab c")
        for name in ("BUTTON_TAB", "BUTTON_RETURN_KEY", "BUTTON_ESC"):
            s.click("main", name)
        self.letters("d")
        s.drive("wait-text", "main", "COMMAND_LINE_TEXTBOX", before + "ab cd")
        self.assertEqual(self.label(), COMMAND_LINE)
        # The keys that act on a target are off while the command line is it.
        self.wait_group("0")
        # Back to Notepad: it gets the next key and had none before it.
        self.make_target(NOTEPAD_TITLE)
        self.wait_group("1")
        self.letters("z")
        s.wait_for(lambda: s.drive("edit-text", NOTEPAD_TITLE), lambda got: got == "z", TYPE_TIMEOUT_S,
                   "Notepad did not show exactly \"z\"")
        self.assertEqual(s.text("main", "COMMAND_LINE_TEXTBOX"), before + "ab cd")


class LostTarget(TargetingTestCase):
    def test_a_closed_target_gets_nothing_and_a_new_window_takes_over(self):
        s = self.s
        s.start_keyboard()
        s.start_notepad(*TARGET_GEOMETRY)
        self.make_target(NOTEPAD_TITLE)
        # Untouched, so that it closes without asking to save.
        s.drive("close", NOTEPAD_TITLE)
        s.drive("wait-gone", NOTEPAD_TITLE)
        command_line = s.text("main", "COMMAND_LINE_TEXTBOX")
        for name in ("BUTTON_LETTER_B", "BUTTON_SPACEBAR", "BUTTON_TAB", "BUTTON_RETURN_KEY",
                     "BUTTON_LETTER_C"):
            s.click("main", name)
            self.keyboard_alive()
        self.assertEqual(s.text("main", "COMMAND_LINE_TEXTBOX"), command_line)
        # A new Notepad becomes the target and gets the keys from then on,
        # and none of those clicked while there was no window.
        s.start_notepad(*TARGET_GEOMETRY)
        self.make_target(NOTEPAD_TITLE)
        self.letters("d")
        s.wait_for(lambda: s.drive("edit-text", NOTEPAD_TITLE), lambda got: got == "d", TYPE_TIMEOUT_S,
                   "the new Notepad did not show exactly \"d\"")
        self.keyboard_alive()


class SharedTitle(TargetingTestCase):
    TITLE = "Twin Log"

    def handles(self):
        return self.s.drive("windows", self.TITLE).split()

    def test_keys_go_to_the_window_that_was_in_front_when_recorded(self):
        s = self.s
        s.start_keyboard()
        left = KeyLog(s, self.TITLE, "left", LEFT_GEOMETRY)
        (left_hwnd,) = self.handles()
        right = KeyLog(s, self.TITLE, "right")
        (right_hwnd,) = set(self.handles()) - {left_hwnd}
        s.drive("raise", right_hwnd)
        s.drive("move", self.TITLE, *map(str, RIGHT_GEOMETRY))
        spacer = KeyLog(s, "Spacer Log", "spacer", (67, 760, 400, 150))
        for recorded, recorded_hwnd, other, other_hwnd, letter in (
                (left, left_hwnd, right, right_hwnd, "l"),
                (right, right_hwnd, left, left_hwnd, "r")):
            with self.subTest(recorded=recorded.path):
                recorded_before, other_before = recorded.chars(), other.chars()
                # Another title first, so that the label's change shows that
                # a tick has seen the twin in front.
                self.make_target(spacer.title)
                s.drive("raise", recorded_hwnd)
                self.make_target(self.TITLE)
                # The other twin now comes first in the z-order, where a
                # search by title alone would find it.
                s.drive("raise", other_hwnd)
                self.assertEqual(self.handles()[0], other_hwnd)
                self.letters(letter)
                recorded.wait_chars(recorded_before + letter)
                self.assertEqual(other.chars(), other_before)


if __name__ == "__main__":
    unittest.main()
