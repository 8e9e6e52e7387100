"""The keys scale with the window: a smaller keyboard still types."""

import unittest

from rig import NOTEPAD_TITLE, NotepadTestCase
from test_place import LAPTOP_DPI, LAPTOP_SCREEN

KEY = "BUTTON_LETTER_Q"
SCALE = 0.6
# Below the keyboard as it opens on the laptop screen, fitted to its width.
LAPTOP_NOTEPAD = (40, 520, 900, 220)


class ScaledKeyboard(NotepadTestCase):

    def frame(self):
        """The window's outer rectangle and its frame's width and height."""
        x, y, w, h = self.s.rect("main")
        _, _, cw, ch = (int(v) for v in self.s.drive("client-rect", "main").split())
        return (x, y, w, h), w - cw, h - ch


class OnALaptopScreen(ScaledKeyboard):
    """1366 x 768 at 150 %, where the keyboard opens already scaled down to
    fit: a key types there, and again once the window is made smaller."""

    def setUp(self):
        display = self.new_display(LAPTOP_SCREEN)
        s = self.s = self.new_session(display=display, dpi=LAPTOP_DPI)
        s.start_keyboard()
        self.assertEqual(s.dpi(), LAPTOP_DPI)
        s.start_notepad(*LAPTOP_NOTEPAD)
        s.make_target(NOTEPAD_TITLE)

    def test_at_sixty_percent_the_keys_are_sixty_percent_as_wide_and_type(self):
        s = self.s
        self.click_keys(KEY)
        self.wait_typed("q")
        (x, y, w, h), fw, fh = self.frame()
        _, _, kw, kh = s.rect("main", KEY)
        client_w, client_h = w - fw, h - fh
        s.drive("move", "main", str(x), str(y),
                str(round(client_w * SCALE) + fw), str(round(client_h * SCALE) + fh))
        # The resize is sent to the keyboard's thread, which places its keys
        # before SetWindowPos returns; the rectangle is read only then.
        kx2, ky2, kw2, kh2 = s.rect("main", KEY)
        self.assertClose(kw2, kw * SCALE, 2)
        self.assertClose(kh2, kh * SCALE, 2)
        wx, wy, ww, wh = s.rect("main")
        self.assertTrue(wx <= kx2 and kx2 + kw2 <= wx + ww and wy <= ky2 and ky2 + kh2 <= wy + wh,
                        "the key lies outside the window")
        s.make_target(NOTEPAD_TITLE)
        self.click_keys(KEY)
        self.wait_typed("qq")


class KeysScaleWithTheWindow(ScaledKeyboard):

    def test_dragged_wider_only_the_keys_keep_their_shape_and_centre(self):
        s = self.s
        (x, y, w, h), _, _ = self.frame()
        kx, _, kw, kh = s.rect("main", KEY)
        s.drive("move", "main", str(x), str(y), str(w + 200), str(h))
        kx2, _, kw2, kh2 = s.rect("main", KEY)
        self.assertEqual((kw2, kh2), (kw, kh))
        self.assertEqual(kx2 - kx, 100)

    def test_the_window_cannot_be_made_too_small_to_hit(self):
        s = self.s
        (x, y, _, _), _, _ = self.frame()
        _, _, kw, _ = s.rect("main", KEY)
        s.drive("move", "main", str(x), str(y), "50", "30")
        _, _, kw2, _ = s.rect("main", KEY)
        self.assertGreaterEqual(kw2, int(kw * 0.4) - 1)


if __name__ == "__main__":
    unittest.main()
