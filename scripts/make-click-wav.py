#!/usr/bin/env python3
"""Writes the key click, src/host/start/click.wav: 12 ms of a decaying
2.2 kHz tone with a little noise, 22050 Hz, 16-bit mono, peaking at about a
quarter of full scale so that it stays quiet beside the system's own sounds.
Made here rather than taken from anywhere, so the program ships only sound
of its own. Run it again after changing a figure; the output is the same
on every run (the noise has a fixed seed)."""

import math
import os
import random
import struct
import sys

RATE = 22050
MILLISECONDS = 12
TONE_HZ = 2200
PEAK = 0.25          # of full scale
DECAY_PER_MS = 0.55  # amplitude lost each millisecond, as a fraction of e


def samples():
    noise = random.Random(32)
    count = RATE * MILLISECONDS // 1000
    for n in range(count):
        t = n / RATE
        envelope = math.exp(-DECAY_PER_MS * t * 1000)
        value = 0.8 * math.sin(2 * math.pi * TONE_HZ * t) + 0.2 * noise.uniform(-1, 1)
        yield int(round(32767 * PEAK * envelope * value))


def wav(data):
    body = struct.pack("<%dh" % len(data), *data)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    return (b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(body)) + b"WAVE" +
            b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(body)) + body)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "host", "start", "click.wav")
    with open(out, "wb") as f:
        f.write(wav(list(samples())))


if __name__ == "__main__":
    main()
