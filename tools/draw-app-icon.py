#!/usr/bin/env python3
"""Draws the application icon at every size the desktop asks for into
resources/icons/app/: a sprite sheet of coloured tiles on a dark board, one of
them framed in the canvas's selection orange, with a heron's long neck and
beak in white across it. Each size is drawn from the same shapes, not scaled
from another, so small sizes stay sharp. The PNGs are committed so that a
build needs no Python."""

from pathlib import Path

from pngwrite import write_png

OUT = Path(__file__).resolve().parent.parent / "resources" / "icons" / "app"
SIZES = [16, 32, 48, 64, 128, 256]

PALETTE = [
    (0, 0, 0, 0),         # 0 transparent
    (36, 40, 48, 255),    # 1 board
    (60, 130, 220, 255),  # 2 blue tile
    (210, 50, 50, 255),   # 3 red tile
    (60, 170, 80, 255),   # 4 green tile
    (240, 190, 60, 255),  # 5 yellow tile
    (255, 128, 0, 255),   # 6 selection orange
    (245, 245, 245, 255), # 7 heron white
    (20, 20, 24, 255),    # 8 heron eye and beak tip
] + [(0, 0, 0, 255)] * 7


def draw(size):
    s = size / 128.0
    p = [[0] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), max(int(y1 * s), int(y0 * s) + 1)):
            for x in range(int(x0 * s), max(int(x1 * s), int(x0 * s) + 1)):
                if 0 <= x < size and 0 <= y < size:
                    p[y][x] = c

    def stroke(points, width, c):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            steps = max(int(max(abs(bx - ax), abs(by - ay)) * s), 1) * 2
            for i in range(steps + 1):
                x = ax + (bx - ax) * i / steps
                y = ay + (by - ay) * i / steps
                fill(x - width / 2, y - width / 2, x + width / 2, y + width / 2, c)

    # The board with rounded-off corners.
    fill(8, 4, 120, 124, 1)
    fill(4, 8, 124, 120, 1)
    colours = [2, 3, 4, 5, 4, 2, 5, 2, 3]
    for i, c in enumerate(colours):
        x, y = 14 + (i % 3) * 36, 14 + (i // 3) * 36
        fill(x, y, x + 30, y + 30, c)
    # The selected tile's frame.
    stroke([(48, 48), (82, 48), (82, 82), (48, 82), (48, 48)], 4, 6)
    # Neck, head and beak of a heron.
    stroke([(30, 118), (40, 90), (62, 70), (70, 44)], 9, 7)
    fill(62, 30, 84, 46, 7)
    stroke([(82, 38), (116, 30)], 5, 7)
    stroke([(108, 32), (118, 30)], 4, 8)
    fill(72, 34, 76, 38, 8)
    return p


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for size in SIZES:
        write_png(OUT / f"tile-heron-{size}.png", draw(size), PALETTE, 4)


if __name__ == "__main__":
    main()
