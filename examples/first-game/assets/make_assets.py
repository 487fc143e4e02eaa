#!/usr/bin/env python3
"""Writes the first game's three small asset files, the way a drawing or
sound program would: hero.png (24 x 24, RGB with alpha), coin.tga (16 x 16,
32-bit, uncompressed, rows stored bottom up) and pickup.wav (a short rising
chirp, 8-bit mono at 11025 Hz). The files are kept in the repository; run
this again after changing it:  python3 make_assets.py
With --check it writes nothing and fails when a kept file differs from what
it would write."""

import math
import os
import struct
import sys
import zlib


def hero_pixel(x, y):
    """A round green face with two dark eyes, transparent around it."""
    dx, dy = x - 11.5, y - 11.5
    if dx * dx + dy * dy > 11.5 * 11.5:
        return (0, 0, 0, 0)
    if (x in (8, 9) or x in (14, 15)) and y in (8, 9, 10):
        return (20, 30, 20, 255)
    if 7 <= x <= 16 and y == 16:
        return (20, 30, 20, 255)
    shade = 255 - 5 * int(math.hypot(dx + 4, dy + 4))
    return (40, max(shade, 90), 60, 255)


def coin_pixel(x, y):
    """A gold disc with a lighter rim and a dark upright bar, so that it can
    be seen to turn, transparent around it."""
    dx, dy = x - 7.5, y - 7.5
    distance = math.hypot(dx, dy)
    if distance > 7.5:
        return (0, 0, 0, 0)
    if distance > 5.5:
        return (255, 230, 120, 255)
    if x in (7, 8) and 3 <= y <= 12:
        return (150, 100, 10, 255)
    return (230, 170, 20, 255)


def png(width, height, pixel):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    # Stored without compression: every zlib writes these same bytes.
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 0))
            + chunk(b"IEND", b""))


def tga(width, height, pixel):
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 32, 8)
    pixels = bytearray()
    for y in reversed(range(height)):  # bottom row first
        for x in range(width):
            r, g, b, a = pixel(x, y)
            pixels += bytes((b, g, r, a))
    return header + bytes(pixels)


def wav():
    rate = 11025
    count = 1650  # 0.15 s; even, so the data chunk needs no pad byte
    samples = bytearray()
    for i in range(count):
        t = i / rate
        fade = 1 - i / count
        value = 100 * fade * math.sin(2 * math.pi * (600 + 3000 * t) * t)
        samples.append(128 + int(round(value)))
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(samples)) + samples
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    files = {"hero.png": png(24, 24, hero_pixel), "coin.tga": tga(16, 16, coin_pixel), "pickup.wav": wav()}
    stale = []
    for name, data in files.items():
        path = os.path.join(folder, name)
        if "--check" in sys.argv[1:]:
            with open(path, "rb") as kept:
                if kept.read() != data:
                    stale.append(name)
        else:
            with open(path, "wb") as out:
                out.write(data)
    if stale:
        sys.exit("not what make_assets.py writes: " + ", ".join(stale))


if __name__ == "__main__":
    main()
