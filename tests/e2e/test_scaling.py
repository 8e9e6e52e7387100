"""The keys scale with the window: a smaller keyboard still types."""

import unittest

from rig import NOTEPAD_TITLE, NotepadTestCase
from test_place import LAPTOP_DPI, LAPTOP_SCREEN
from xpointer import XPointer

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


class DraggingTheFrame(ScaledKeyboard):
    """A drag of the frame, as the system's loop runs it: while it lasts a
    picture of the keyboard follows the frame; once it ends the keys lie
    where the picture showed them, and type."""

    # A light in the top right-hand corner, red or green: at 60 % it lies
    # well away from where it was, and nothing else on the keyboard has its
    # colour there.
    MARKED = "CAPS_LIGHT_LABEL"

    def colour_in(self, rect):
        return self.s.drive("color-in", *(str(v) for v in rect))

    def test_the_picture_follows_the_drag_and_the_keys_take_its_places(self):
        s = self.s
        (x, y, w, h), fw, fh = self.frame()
        cx, cy, _, _ = (int(v) for v in s.drive("client-rect", "main").split())
        marked = s.rect("main", self.MARKED)
        face = s.drive("color", "main", self.MARKED)
        self.assertNotEqual(face, s.drive("color", "main", KEY), "the light does not stand out")

        def scaled(r):
            kx, ky, kw, kh = r
            return (round(cx + (kx - cx) * SCALE), round(cy + (ky - cy) * SCALE),
                    round(kw * SCALE), round(kh * SCALE))

        want = scaled(marked)
        s.drive("size-loop", "main", "enter")
        s.drive("move", "main", str(x), str(y),
                str(round((w - fw) * SCALE) + fw), str(round((h - fh) * SCALE) + fh))
        # Painted after the resize returns: wait for the face at its new place.
        s.wait_for(lambda: self.colour_in(want), lambda got: got == face, 10,
                   "the drag's picture never showed the light at its new place")
        # What shows is the picture: the light itself waits for the end.
        self.assertEqual(s.rect("main", self.MARKED), marked)
        s.drive("size-loop", "main", "exit")
        # The keys are placed before the end of the drag is answered.
        for got, expected in zip(s.rect("main", self.MARKED), want):
            self.assertClose(got, expected, 3)
        s.wait_for(lambda: s.drive("color", "main", self.MARKED), lambda got: got == face, 10,
                   "the light was not painted after the drag")
        s.make_target(NOTEPAD_TITLE)
        self.click_keys(KEY)
        self.wait_typed("q")


class DraggingTheWindowManagersFrame(ScaledKeyboard):
    """Under Wine the window manager draws the frame and drags it itself:
    the keyboard sees only a run of resizes. The real pointer drags the
    frame's corner to 60 %; the keys end up 60 % as wide, and type."""

    def test_after_the_drag_the_keys_are_placed_and_type(self):
        s = self.s
        cx, cy, cw, ch = (int(v) for v in s.drive("client-rect", "main").split())
        _, _, kw, kh = s.rect("main", KEY)
        # The grip at the right-hand end of the bar openbox draws under the
        # client area.
        corner = (cx + cw - 2, cy + ch + 2)
        with XPointer(s.env["DISPLAY"]) as pointer:
            pointer.drag(corner, (corner[0] - cw * (1 - SCALE), corner[1] - ch * (1 - SCALE)), 30, 0.02)
        _, _, kw2, kh2 = s.wait_for(lambda: s.rect("main", KEY), lambda r: abs(r[2] - kw * SCALE) <= 3, 10,
                                    lambda r: "the key is %d wide after the drag, not about %d" % (r[2], kw * SCALE))
        self.assertClose(kh2, kh * SCALE, 3)
        s.make_target(NOTEPAD_TITLE)
        self.click_keys(KEY)
        self.wait_typed("q")


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
