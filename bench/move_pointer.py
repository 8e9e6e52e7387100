"""Moves the X server's pointer round and round inside a rectangle, as a
hand moving a mouse does (a mouse reports about 125 times a second), until
it is stopped. Through XTEST, so Wine sees the moves as a person's.

Usage: move_pointer.py <left> <top> <width> <height> [moves per second]"""

import math
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from xpointer import XPointer  # noqa: E402  (found through the path above)


def main():
    left, top, width, height = (int(v) for v in sys.argv[1:5])
    rate = float(sys.argv[5]) if len(sys.argv) > 5 else 125.0
    period = 1.0 / rate
    cx, cy, rx, ry = left + width / 2, top + height / 2, width * 0.4, height * 0.4
    with XPointer(os.environ["DISPLAY"]) as hands:
        start = time.monotonic()
        n = 0
        while True:
            # Once round the ellipse every two seconds: every move lands on
            # a new pixel.
            angle = 2 * math.pi * (n * period) / 2.0
            hands.move(cx + rx * math.cos(angle), cy + ry * math.sin(angle))
            n += 1
            time.sleep(max(0.0, start + n * period - time.monotonic()))


if __name__ == "__main__":
    main()
