"""High contrast under Wine: the system's colours as a black high-contrast
scheme (Wine reads HKCU\\Control Panel\\Colors as a program starts; its own
high-contrast switch does nothing, so the stored HIGH_CONTRAST "1" asks for
it). A screenshot of the keyboard is read key by key: every caption stands
out from its face by at least 7:1, and a latched key differs from a plain
one by a frame, not only by its colour."""

import os
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
HIGHLIGHT = "0xFFEB1A"  # Hilight as osk-drive prints a COLORREF
BLACK = "0x000000"
COLOR_BTNFACE = 15
PAINT_TIMEOUT_S = 15
# A key's own picture (an icon) is no caption: these keys show only one.
# Their pictures keep the colours that make them what they are.
MIN_CAPTION_PIXELS = 6


def luminance(rgb):
    def channel(v):
        c = v / 255.0
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = rgb
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b)


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


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
        self.assertEqual(s.drive("syscolor", str(COLOR_BTNFACE)), BLACK)

    def key_rects(self):
        rects = {}
        for line in self.s.drive("control-rects", "main").splitlines():
            name, *numbers = line.split()
            rects[name] = tuple(int(v) for v in numbers)
        return rects

    def wait_face(self, control, want):
        self.s.wait_for(lambda: self.s.drive("color", "main", control), lambda got: got == want,
                        PAINT_TIMEOUT_S, "%s never showed %s" % (control, want))

    def shoot(self, name):
        """The keyboard as shown, for the README: into the folder that
        QMOSK_SHOTS names, when it names one."""
        folder = os.environ.get("QMOSK_SHOTS")
        if not folder:
            return
        x, y, w, h = self.s.rect("main")
        subprocess.run(["import", "-display", self.display.name, "-window", "root",
                        "-crop", "%dx%d+%d+%d" % (w, h, x, y), os.path.join(folder, name)],
                       check=False, timeout=60)

    def test_every_caption_reads_and_a_latched_key_wears_a_frame(self):
        s = self.s
        s.click("main", "BUTTON_CTRL_LEFT")
        self.wait_face("BUTTON_CTRL_LEFT", HIGHLIGHT)
        self.wait_face("BUTTON_CTRL_RIGHT", HIGHLIGHT)
        rects = self.key_rects()
        shot = Shot(self.display.name, s.rect("main"))
        self.shoot("keyboard-high-contrast.png")

        checked = []
        failures = []
        for name, rect in sorted(rects.items()):
            caption = s.text("main", name) if name.startswith(("BUTTON_", "LEFT_TOP")) else ""
            if not caption.strip():
                continue
            # Inside the raised edge and the latch's frame.
            pixels = [p for row in shot.inside(rect, 6) for p in row]
            counts = Counter(pixels).most_common()
            face = counts[0][0]
            ink = [(c, n) for c, n in counts[1:] if n >= MIN_CAPTION_PIXELS]
            if not ink:
                failures.append("%s (%r): no caption drawn on %r" % (name, caption, face))
                continue
            colour = ink[0][0]
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
            inner = shot.inside(rect, 4)
            face = Counter(p for row in inner for p in row).most_common(1)[0][0]
            ring = inner[0] + inner[-1] + [row[0] for row in inner] + [row[-1] for row in inner]
            return sum(1 for p in ring if contrast(p, face) >= 7.0) / len(ring)

        latched, plain = band(rects["BUTTON_CTRL_LEFT"]), band(rects["BUTTON_ALT_LEFT"])
        self.assertGreater(latched, 0.9, "the latched Ctrl has no frame")
        self.assertLess(plain, 0.1, "the plain Alt has a frame")


if __name__ == "__main__":
    unittest.main()
