"""An idle keyboard leaves its windows alone: with nothing changing, its
message loop takes little more than its own timer ticks and no control is
repainted, wherever the pointer rests and whatever modes are on."""

import time

from rig import NotepadTestCase

# Ticks a second of the timers that always run: the flash reset and the
# target tracking. The faces and lights are refreshed on key events, not by
# a timer of their own.
TIMER_TICKS_PER_S = 2 + 1
# The caret of a focused command line blinks: two system timer messages a
# second, which are what the user is meant to see.
CARET_BLINKS_PER_S = 2
# A stray paint or focus message may come from the window manager; the
# faults this catches cost a hundred messages a second.
SLACK = 5
# After the last click: a flash reset and a tracking tick. On a loaded
# machine those ticks come late, so the watch starts once nothing has been
# repainted for that long rather than that long after the click; a keyboard
# that never stops repainting fails here.
SETTLE_S = 1.2
SETTLE_TIMEOUT_S = 15
QUIET_S = 3


class IdleKeyboard(NotepadTestCase):

    def activity(self):
        repaints, messages = self.s.drive("activity", "main").split()
        return int(repaints), int(messages)

    def settle(self, what):
        repaints = self.activity()[0]
        still_since = time.monotonic()
        deadline = still_since + SETTLE_TIMEOUT_S
        while time.monotonic() - still_since < SETTLE_S:
            time.sleep(0.2)
            now = self.activity()[0]
            if now != repaints:
                repaints, still_since = now, time.monotonic()
            if time.monotonic() > deadline:
                self.fail("repaints never stopped for %.1f s: %s" % (SETTLE_S, what))

    def assert_quiet(self, what, extra_per_s=0):
        self.settle(what)
        start = time.monotonic()
        r0, m0 = self.activity()
        time.sleep(QUIET_S)
        r1, m1 = self.activity()
        elapsed = time.monotonic() - start
        with self.subTest(what):
            self.assertEqual(r1 - r0, 0, "repaints while idle: %s" % what)
            budget = (TIMER_TICKS_PER_S + extra_per_s) * elapsed + SLACK
            self.assertLessEqual(m1 - m0, budget, "messages in %.1f s while idle: %s" % (elapsed, what))

    def test_nothing_runs_but_the_timers(self):
        s = self.s
        s.click("main", "BUTTON_LETTER_A")
        self.wait_typed("a")
        self.assert_quiet("pointer on the letter key just clicked, Notepad in front")

        x, y = s.drive("free-spot", "main").split()
        s.click("main", "client:%s,%s" % (x, y))
        self.assert_quiet("keyboard in front of its target, pointer between the keys")

        s.click("main", "ACTIVE_WINDOW_LABEL")
        self.assert_quiet("pointer on the target label")

        for latch in ("SHIFT_LOCK_BUTTON", "LOCK_TOP_NUMBER_KEYS_BUTTON", "SHIFT_ARROW_HIGHLIGHT_BUTTON"):
            s.click("main", latch)
        self.assert_quiet("both locks and the highlight on, pointer on the highlight button")

        s.click("main", "BUTTON_COMMA")
        self.wait_typed("a<")
        self.assert_quiet("modes on, pointer on the symbol key just clicked")

        s.click("main", "COMMAND_LINE_TEXTBOX")
        s.drive("point", "main", "BUTTON_DELETE")
        self.assert_quiet("command line in use, pointer on a disabled key", CARET_BLINKS_PER_S)


if __name__ == "__main__":
    import unittest
    unittest.main()
