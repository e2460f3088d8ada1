#!/usr/bin/env python3
"""Draws the sample sprite set in examples/: twelve frames of a bouncing,
squashing ball (64 x 64, transparent margins, soft edges) and a few odd sizes.
The PNGs are committed; run this again only to change the drawings."""

import math
import struct
import zlib
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "examples"


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_rgba(name, width, height, shade):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(shade(x + 0.5, y + 0.5))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    (OUT / name).write_bytes(png)


def coverage(distance):
    """Anti-aliased edge: 1 inside, 0 outside, a one-pixel ramp between."""
    return max(0.0, min(1.0, 0.5 - distance))


def ball_frame(frame):
    t = frame / 12.0
    height = abs(math.sin(math.pi * t))
    cy = 50 - 34 * height
    squash = 1.0 + 0.35 * max(0.0, 0.25 - height) * 4
    rx, ry = 14 * squash, 14 / squash

    def shade(x, y):
        dx, dy = (x - 32) / rx, (y - cy) / ry
        d = (math.hypot(dx, dy) - 1) * min(rx, ry)
        a = coverage(d)
        light = max(0.0, 1 - math.hypot(x - 27, y - cy + 5) / 16)
        r = int(200 + 55 * light)
        g = int(60 + 120 * light)
        b = int(40 + 60 * light)
        return r, g, b, int(round(255 * a))

    return shade


def star(x, y):
    cx, cy = 18.5, 26.5
    angle = math.atan2(y - cy, x - cx)
    radius = 10 + 7 * (0.5 + 0.5 * math.cos(5 * angle))
    a = coverage(math.hypot(x - cx, y - cy) - radius)
    return 250, 210, 40, int(round(255 * a))


def bar(x, y):
    inside = 4 <= x < 96 and 5 <= y < 15
    return (40 + int(x * 2), 120, 220, 255 if inside else 0)


def tall_gem(x, y):
    a = 1.0 if abs(x - 24) / 14 + abs(y - 40) / 30 < 1 else 0.0
    return 60, 200, 140, int(255 * a)


def main():
    OUT.mkdir(exist_ok=True)
    for frame in range(12):
        write_rgba(f"ball-{frame + 1:02d}.png", 64, 64, ball_frame(frame))
    write_rgba("star-37x53.png", 37, 53, star)
    write_rgba("bar-100x20.png", 100, 20, bar)
    write_rgba("gem-48x80.png", 48, 80, tall_gem)


if __name__ == "__main__":
    main()
