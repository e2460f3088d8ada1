#!/usr/bin/env python3
"""Draws the five script-editor theme tiles as palette PNGs into
resources/themes/. The paper tile of theme 4 (also behind the help text) holds
a fixed number of pixels of each grey level, scattered by a shuffle with a
fixed seed, so every run draws the same tile. The PNGs are committed so that a
build needs no Python."""

import random
from pathlib import Path

from pngwrite import write_png

OUT = Path(__file__).resolve().parent.parent / "resources" / "themes"

# Grey level and how many of the 64 x 64 pixels have it.
PAPER_LEVELS = [
    (225, 464), (228, 164), (229, 210), (230, 511), (233, 660),
    (235, 336), (238, 651), (239, 311), (241, 216), (242, 573),
]
PAPER_SEED = 1994


def opaque(*colours):
    return [(r, g, b, 255) for (r, g, b) in colours]


def tile(width, height, colour_of):
    return [[colour_of(x, y) for x in range(width)] for y in range(height)]


def paper():
    pixels = [index for index, (_, count) in enumerate(PAPER_LEVELS) for _ in range(count)]
    assert len(pixels) == 64 * 64
    random.Random(PAPER_SEED).shuffle(pixels)
    rows = [pixels[y * 64:(y + 1) * 64] for y in range(64)]
    return rows, opaque(*[(level, level, level) for level, _ in PAPER_LEVELS])


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    write_png(OUT / "theme-0.png", tile(3, 3, lambda x, y: 1 if (x, y) == (0, 1) else 0),
              opaque((25, 25, 25), (54, 54, 54)), 1)
    write_png(OUT / "theme-1.png", tile(16, 16, lambda x, y: 1 if x >= 14 or y >= 14 else 0),
              opaque((24, 12, 0), (0, 0, 0)), 1)
    write_png(OUT / "theme-2.png", tile(4, 1, lambda x, y: 1 if x >= 2 else 0),
              opaque((0, 0, 0), (16, 0, 32)), 1)
    write_png(OUT / "theme-3.png", tile(8, 8, lambda x, y: 0), opaque((0, 0, 0), (0, 0, 0)), 1)
    rows, palette = paper()
    write_png(OUT / "theme-4.png", rows, palette + opaque(*[(0, 0, 0)] * 6), 4)


if __name__ == "__main__":
    main()
