"""High contrast under Wine: the system's colours as a black high-contrast
scheme (Wine reads HKCU\\Control Panel\\Colors as a program starts; its own
high-contrast switch does nothing, so the stored HIGH_CONTRAST "1" asks for
it). A screenshot of the keyboard is read key by key: every caption stands
out from its face by at least 7:1, and a latched key differs from a plain
one by a frame, not only by its colour."""

import subprocess
import tempfile
import unittest
from collections import Counter

from rig import NOTEPAD_TITLE, TARGET_GEOMETRY, KeyboardTestCase

SCREEN = "1600x1000"
# Windows' High Contrast Black, as its theme file sets the colours the
# keyboard reads.
BLACK_SCHEME = {
    "Window": "0 0 0",
    "WindowText": "255 255 255",
    "Hilight": "26 235 255",
    "HilightText": "0 0 0",
    "ButtonFace": "0 0 0",
    "ButtonText": "255 255 255",
    "GrayText": "63 242 0",
}
HIGHLIGHT = (26, 235, 255)
BLACK = (0, 0, 0)
COLOR_BTNFACE = 15
PAINT_TIMEOUT_S = 15
# Pixels of one colour that make a caption: a full stop has few.
MIN_CAPTION_PIXELS = 2


def luminance(rgb):
    def channel(v):
        c = v / 255.0
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = rgb
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b)


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def face_of(pixels):
    return Counter(p for row in pixels for p in row).most_common(1)[0][0]


class Shot:
    """The screen's pixels in a rectangle, read through ImageMagick."""

    def __init__(self, display, rect):
        self.x, self.y, self.w, self.h = rect
        with tempfile.NamedTemporaryFile(suffix=".rgb") as f:
            subprocess.run(["import", "-display", display, "-window", "root", "-crop",
                            "%dx%d+%d+%d" % (self.w, self.h, self.x, self.y), "+repage", "-depth", "8",
                            "rgb:" + f.name], check=True, timeout=60)
            self.data = f.read()
        if len(self.data) != self.w * self.h * 3:
            raise AssertionError("screenshot of %d bytes for %dx%d" % (len(self.data), self.w, self.h))

    def pixel(self, sx, sy):
        i = ((sy - self.y) * self.w + (sx - self.x)) * 3
        return tuple(self.data[i:i + 3])

    def inside(self, rect, inset):
        """The pixels of a screen rectangle, less `inset` on every side."""
        x, y, w, h = rect
        return [[self.pixel(px, py) for px in range(x + inset, x + w - inset)]
                for py in range(y + inset, y + h - inset)]


class BlackScheme(KeyboardTestCase):

    def setUp(self):
        self.display = self.new_display(SCREEN)
        s = self.s = self.new_session(display=self.display)
        for name, value in BLACK_SCHEME.items():
            subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Colors", "/v", name, "/t", "REG_SZ",
                            "/d", value, "/f"], env=s.env, cwd=s.dir, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=60)
        s.set_setting("HIGH_CONTRAST", "1")
        s.start_keyboard()
        s.start_notepad(*TARGET_GEOMETRY)
        s.make_target(NOTEPAD_TITLE)
        # The scheme is in force for the programs started after it.
        self.assertEqual(s.drive("syscolor", str(COLOR_BTNFACE)), "0x000000")

    def key_rects(self):
        rects = {}
        for line in self.s.drive("control-rects", "main").splitlines():
            name, *numbers = line.split()
            rects[name] = tuple(int(v) for v in numbers)
        return rects

    def wait_faces(self, rects, want):
        """A screenshot once each key of `want` has its face (the colour that
        fills most of it) as wanted."""
        def faces(shot):
            return {name: face_of(shot.inside(rects[name], 2)) for name in want}
        shot = self.s.wait_for(lambda: Shot(self.display.name, self.s.rect("main")),
                               lambda shot: faces(shot) == want, PAINT_TIMEOUT_S,
                               lambda shot: "the faces were %r, never %r" % (faces(shot), want))
        return shot

    def test_every_caption_reads_and_a_latched_key_wears_a_frame(self):
        s = self.s
        rects = self.key_rects()
        s.click("main", "BUTTON_CTRL_LEFT")
        shot = self.wait_faces(rects, {"BUTTON_CTRL_LEFT": HIGHLIGHT, "BUTTON_CTRL_RIGHT": HIGHLIGHT,
                                       "BUTTON_ALT_LEFT": BLACK})
        self.s.shoot("keyboard-high-contrast.png")

        checked = []
        failures = []
        for name, rect in sorted(rects.items()):
            caption = s.text("main", name)
            if not caption.strip():
                continue
            # Inside the raised edge and the latch's frame.
            pixels = [p for row in shot.inside(rect, 6) for p in row]
            counts = Counter(pixels).most_common()
            face = counts[0][0]
            # The caption's ink: of the colours that make up a good part of
            # what is not face (a picture's smoothed edges are a few pixels
            # of many greys), the one that stands out most.
            rest = sum(n for _, n in counts[1:])
            ink = [c for c, n in counts[1:] if n >= max(MIN_CAPTION_PIXELS, rest // 10)]
            if not ink:
                failures.append("%s (%r): no caption drawn on %r" % (name, caption, face))
                continue
            colour = max(ink, key=lambda c: contrast(face, c))
            ratio = contrast(face, colour)
            checked.append(name)
            if ratio < 7.0:
                failures.append("%s (%r): %r on %r is %.2f:1" % (name, caption, colour, face, ratio))
        self.assertFalse(failures, "\n".join(failures))
        # Every character key among them: the keys the fault made blank.
        self.assertIn("BUTTON_LETTER_A", checked)
        self.assertIn("BUTTON_NUMBER_5", checked)
        self.assertIn("BUTTON_COMMA", checked)

        # A band just inside the edge is ink all round on the latched Ctrl
        # and face on the plain Alt beside it.
        def band(rect):
            # The most inked of the rings 3 to 7 pixels inside the edge.
            face = face_of(shot.inside(rect, 2))
            best = 0.0
            for inset in range(3, 8):
                inner = shot.inside(rect, inset)
                ring = inner[0] + inner[-1] + [row[0] for row in inner] + [row[-1] for row in inner]
                best = max(best, sum(1 for p in ring if contrast(p, face) >= 7.0) / len(ring))
            return best

        latched, plain = band(rects["BUTTON_CTRL_LEFT"]), band(rects["BUTTON_ALT_LEFT"])
        self.assertGreater(latched, 0.9, "the latched Ctrl has no frame")
        self.assertLess(plain, 0.1, "the plain Alt has a frame")


if __name__ == "__main__":
    unittest.main()
