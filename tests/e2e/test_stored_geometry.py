"""Stored geometry that cannot be used as it is: the keyboard must still
open where a person can see and reach it."""

import unittest

from rig import KeyboardTestCase, px
from test_lifecycle import (DEFAULT_HEIGHT, DEFAULT_LEFT, DEFAULT_TOP, DEFAULT_WIDTH,
                            ROUNDING_PX)

KEYS = ("MainLeft", "MainTop", "MainWidth", "MainHeight")


class UnusableValues(KeyboardTestCase):
    def _assert_fully_on_monitor(self, s):
        left, top, width, height = s.rect("main")
        (_, _, _, _), (wl, wt, ww, wh) = s.monitor()
        self.assertGreaterEqual(left, wl - ROUNDING_PX)
        self.assertGreaterEqual(top, wt - ROUNDING_PX)
        self.assertLessEqual(left + width, wl + ww + ROUNDING_PX)
        self.assertLessEqual(top + height, wt + wh + ROUNDING_PX)
        return left, top, width, height

    def _start_with(self, values):
        s = self.new_session()
        for key, value in values.items():
            s.set_setting(key, value)
        s.start_keyboard()
        return s

    def test_values_that_are_not_numbers_fall_back_to_the_defaults(self):
        # Text, an overflow to infinity, and numbers no window can have.
        for bad in ("abc", "1e999", "", "nan"):
            with self.subTest(value=bad):
                s = self._start_with({k: bad for k in KEYS})
                dpi = s.dpi()
                left, top, width, height = self._assert_fully_on_monitor(s)
                self.assertClose(left, px(DEFAULT_LEFT, dpi), ROUNDING_PX)
                self.assertClose(top, px(DEFAULT_TOP, dpi), ROUNDING_PX)
                self.assertClose(width, px(DEFAULT_WIDTH, dpi), ROUNDING_PX)
                self.assertClose(height, px(DEFAULT_HEIGHT, dpi), ROUNDING_PX)
                s.close_keyboard()

    def test_impossible_sizes_fall_back_to_the_default_size(self):
        for bad in ("-5", "99999999999999999999", "1e30"):
            with self.subTest(value=bad):
                s = self._start_with({"MainWidth": bad, "MainHeight": bad})
                dpi = s.dpi()
                _, _, width, height = self._assert_fully_on_monitor(s)
                self.assertClose(width, px(DEFAULT_WIDTH, dpi), ROUNDING_PX)
                self.assertClose(height, px(DEFAULT_HEIGHT, dpi), ROUNDING_PX)
                s.close_keyboard()

    def test_huge_positions_still_open_on_screen_at_the_default_size(self):
        for bad in ("99999999999999999999", "-99999999999999999999"):
            with self.subTest(value=bad):
                s = self._start_with({"MainLeft": bad, "MainTop": bad})
                dpi = s.dpi()
                _, _, width, height = self._assert_fully_on_monitor(s)
                self.assertClose(width, px(DEFAULT_WIDTH, dpi), ROUNDING_PX)
                self.assertClose(height, px(DEFAULT_HEIGHT, dpi), ROUNDING_PX)
                s.close_keyboard()


class OffScreenGeometry(KeyboardTestCase):
    def test_window_far_off_screen_comes_back_keeping_its_size(self):
        cases = (
            {"MainLeft": "-999999"},
            {"MainTop": "-999999"},
            {"MainLeft": "999999", "MainTop": "999999"},
        )
        for case in cases:
            with self.subTest(**case):
                s = self.new_session()
                # A size other than the default, to tell "kept" from "reset".
                s.set_setting("MainWidth", "12000")
                s.set_setting("MainHeight", "3600")
                for key, value in case.items():
                    s.set_setting(key, value)
                s.start_keyboard()
                dpi = s.dpi()
                left, top, width, height = s.rect("main")
                self.assertClose(width, px(12000, dpi), ROUNDING_PX)
                self.assertClose(height, px(3600, dpi), ROUNDING_PX)
                (_, _, _, _), (wl, wt, ww, wh) = s.monitor()
                self.assertGreaterEqual(left, wl - ROUNDING_PX)
                self.assertGreaterEqual(top, wt - ROUNDING_PX)
                self.assertLessEqual(left + width, wl + ww + ROUNDING_PX)
                self.assertLessEqual(top + height, wt + wh + ROUNDING_PX)
                s.close_keyboard()


if __name__ == "__main__":
    unittest.main()
