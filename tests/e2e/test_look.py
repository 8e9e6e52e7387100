"""Fading and docking as a user sees them: a keyboard that fades turns
see-through once the pointer has been elsewhere for the wait, and whole
again once the pointer is over it, at no cost while it rests faded; a
docked keyboard lies along the bottom of the work area at its full width,
and undocked it is back where it was."""

import time

from rig import KeyboardTestCase
from test_dialogs import open_settings
from test_idle import SLACK, TIMER_TICKS_PER_S
from xpointer import XPointer

FADED_PERCENT = 30
WAIT_S = 1
# The wait plus the look the fader takes while it last saw the pointer
# over the keyboard; this only bounds the test.
FADE_TIMEOUT_S = 10
QUIET_S = 3
# Pixels a place may move in its round trip through twips.
ROUNDING_PX = 2


class Fading(KeyboardTestCase):

    def setUp(self):
        s = self.s = self.new_session()
        s.set_setting("FADE_WHEN_NOT_IN_USE", "1")
        s.set_setting("FADE_OPACITY", str(FADED_PERCENT))
        s.set_setting("FADE_WAIT", str(WAIT_S))
        s.start_keyboard()

    def opacity(self):
        return int(self.s.drive("opacity", "main"))

    def wait_opacity(self, want, what):
        self.s.wait_for(self.opacity, lambda got: got == want, FADE_TIMEOUT_S, what)

    def test_fades_with_the_pointer_elsewhere_and_comes_back_under_it(self):
        s = self.s
        left, top, width, height = s.rect("main")
        _, (wl, wt, ww, wh) = s.monitor("main")
        # Below or beside the keyboard, wherever there is room.
        away = (wl + ww - 5, wt + wh - 5)
        self.assertFalse(left <= away[0] < left + width and top <= away[1] < top + height)
        with XPointer(s.env["DISPLAY"]) as pointer:
            pointer.move(left + width // 2, top + height // 2)
            self.wait_opacity(100, "the keyboard was not whole with the pointer over it")
            pointer.move(*away)
            started = time.monotonic()
            self.wait_opacity(FADED_PERCENT, "the keyboard never faded with the pointer elsewhere")
            self.assertGreaterEqual(time.monotonic() - started, WAIT_S * 0.9, "faded before the wait")

            # Faded and still, nothing runs but the keyboard's own timers.
            m0 = int(s.drive("activity", "main").split()[1])
            begun = time.monotonic()
            time.sleep(QUIET_S)
            m1 = int(s.drive("activity", "main").split()[1])
            budget = TIMER_TICKS_PER_S * (time.monotonic() - begun) + SLACK
            self.assertLessEqual(m1 - m0, budget, "messages while faded and still")
            self.assertEqual(self.opacity(), FADED_PERCENT)

            pointer.move(left + width // 3, top + height // 2)
            self.wait_opacity(100, "the keyboard stayed faded with the pointer over it")


class Docking(KeyboardTestCase):

    def setUp(self):
        self.s = self.new_session()
        self.s.start_keyboard()

    def appbar(self):
        state = int(self.s.drive("appbar", "main"))
        return state & 1, state >> 1

    def wait_rect(self, want, what):
        def close(got):
            return all(abs(g - w) <= ROUNDING_PX for g, w in zip(got, want))
        self.s.wait_for(lambda: self.s.rect("main"), close, FADE_TIMEOUT_S, what)

    def assert_docked(self, what):
        _, (wl, wt, ww, wh) = self.s.monitor("main")
        def along_the_bottom(r):
            left, top, width, height = r
            return (abs(left - wl) <= ROUNDING_PX and abs(width - ww) <= ROUNDING_PX
                    and abs(top + height - (wt + wh)) <= ROUNDING_PX and height < wh)
        self.s.wait_for(lambda: self.s.rect("main"), along_the_bottom, FADE_TIMEOUT_S,
                        "not along the bottom of the work area: %s" % what)
        self.assertEqual(self.appbar(), (1, 0), "app bar calls: %s" % what)

    def wait_topmost(self, want, what):
        self.s.wait_for(lambda: self.s.drive("topmost", "main"), lambda got: got == want, FADE_TIMEOUT_S, what)

    def click_dock_box(self):
        open_settings(self.s)
        self.s.click("settings", "DOCK_TICKBOX")

    def test_docks_along_the_bottom_and_gives_back_the_place(self):
        s = self.s
        earlier = s.rect("main")
        self.assertEqual(self.appbar(), (0, 0))
        self.click_dock_box()
        self.assert_docked("ticked in the settings dialog")
        self.assertEqual(s.drive("checked", "settings", "DOCK_TICKBOX"), "1")
        s.click("settings", "OK_BUTTON")
        s.drive("wait-gone", "settings")
        # In front of other windows while a bar, as the taskbar is.
        self.wait_topmost("1", "the docked keyboard is not in front")
        self.assertEqual(s.setting("DOCK_BOTTOM"), "1")

        # Docked at the next start, and the earlier place is what is stored.
        s.close_keyboard()
        self.assertEqual(self.appbar_after_start(), (1, 0))
        self.assert_docked("restored at start")
        self.wait_topmost("1", "docked at start but not in front")

        self.click_dock_box()
        self.wait_rect(earlier, "unticked, the keyboard did not go back to its place")
        self.assertEqual(self.appbar(), (0, 0), "the bar was not removed")
        self.assertEqual(s.setting("DOCK_BOTTOM"), "0")
        s.click("settings", "OK_BUTTON")
        s.drive("wait-gone", "settings")
        self.assertEqual(s.drive("topmost", "main"), "0", "still in front once undocked")

    def appbar_after_start(self):
        self.s.start_keyboard()
        self.s.wait_for(self.appbar, lambda got: got[0] == 1, FADE_TIMEOUT_S, "no bar at start")
        return self.appbar()
