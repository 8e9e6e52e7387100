#!/usr/bin/env python3
"""Writes the application icon: a small keyboard at 16, 32 and 48 pixels.

Pure standard library, so it runs anywhere the build does:
    python3 scripts/make_icon.py src/host/start/qm_osk.ico
Each size is drawn at four times its resolution and averaged down, which
keeps the key gaps visible at 16 pixels.
"""
import struct
import sys

SUPER = 4


def render(size):
    n = size * SUPER
    # RGBA, transparent background
    img = [[(0, 0, 0, 0)] * n for _ in range(n)]

    def fill(x0, y0, x1, y1, rgba, radius=0.0):
        for y in range(max(0, int(y0 * n)), min(n, int(y1 * n + 0.999))):
            for x in range(max(0, int(x0 * n)), min(n, int(x1 * n + 0.999))):
                fx, fy = (x + 0.5) / n, (y + 0.5) / n
                if not (x0 <= fx < x1 and y0 <= fy < y1):
                    continue
                if radius:
                    cx = min(max(fx, x0 + radius), x1 - radius)
                    cy = min(max(fy, y0 + radius), y1 - radius)
                    if (fx - cx) ** 2 + (fy - cy) ** 2 > radius ** 2:
                        continue
                img[y][x] = rgba

    outline = (30, 32, 40, 255)
    body = (70, 76, 90, 255)
    key = (250, 250, 250, 255)
    green = (40, 200, 60, 255)

    # keyboard body, a little shallower than it is wide
    fill(0.02, 0.18, 0.98, 0.86, outline, 0.09)
    fill(0.06, 0.22, 0.94, 0.82, body, 0.06)
    rows = [(0.27, 5, 0.00), (0.41, 5, 0.04), (0.55, 4, 0.08)]
    for top, count, indent in rows:
        left, right = 0.10 + indent, 0.90
        pitch = (right - left) / count
        for i in range(count):
            x0 = left + i * pitch
            colour = green if (top, i) == (0.41, 0) else key
            fill(x0 + 0.015, top, x0 + pitch - 0.015, top + 0.11, colour, 0.015)
    # space bar
    fill(0.26, 0.69, 0.74, 0.78, key, 0.015)

    out = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for dy in range(SUPER):
                for dx in range(SUPER):
                    r, g, b, a = img[y * SUPER + dy][x * SUPER + dx]
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            if acc[3]:
                px = (acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], acc[3] // (SUPER * SUPER))
            else:
                px = (0, 0, 0, 0)
            row.append(px)
        out.append(row)
    return out


def bmp_entry(size):
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    and_mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_mask += bits
    return header + bytes(xor) + bytes(and_mask)


def main(path):
    sizes = [16, 32, 48]
    images = [bmp_entry(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        data += img
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/host/start/qm_osk.ico")
