#!/usr/bin/env python3
"""Draws the toolbar pictures and the canvas background tile as small palette
PNGs into resources/icons/. Run it again after changing a drawing; the PNGs
are committed so that a build needs no Python."""

from pathlib import Path

from pngwrite import write_png

OUT = Path(__file__).resolve().parent.parent / "resources" / "icons"

# One 16-colour palette for every toolbar picture (RGBA).
PALETTE = [
    (0, 0, 0, 0),        # 0 transparent
    (40, 40, 40, 255),   # 1 outline
    (200, 200, 200, 255),# 2 button face
    (150, 150, 150, 255),# 3 pressed face
    (255, 255, 255, 255),# 4 paper
    (240, 190, 60, 255), # 5 folder
    (200, 140, 30, 255), # 6 folder shade
    (60, 130, 220, 255), # 7 blue
    (210, 50, 50, 255),  # 8 red
    (60, 170, 80, 255),  # 9 green
    (255, 128, 0, 255),  # 10 orange
    (110, 110, 110, 255),# 11 dark grey
    (90, 90, 90, 255),   # 12 separator line
    (230, 230, 230, 255),# 13 highlight
    (30, 90, 170, 255),  # 14 deep blue
    (0, 0, 0, 255),      # 15 black
]


class Canvas:
    def __init__(self, width, height, fill=0):
        self.w, self.h = width, height
        self.p = [[fill] * width for _ in range(height)]

    def px(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.p[y][x] = c

    def box(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.px(xx, yy, c)

    def frame(self, x, y, w, h, c):
        for xx in range(x, x + w):
            self.px(xx, y, c)
            self.px(xx, y + h - 1, c)
        for yy in range(y, y + h):
            self.px(x, yy, c)
            self.px(x + w - 1, yy, c)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.px(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), c)


def button(glyph, pressed):
    c = Canvas(24, 24)
    face = 3 if pressed else 2
    c.box(1, 1, 22, 22, face)
    c.frame(0, 0, 24, 24, 1)
    for i in range(1, 23):
        c.px(i, 1, 11 if pressed else 13)
        c.px(1, i, 11 if pressed else 13)
    glyph(c, 1 if pressed else 0)
    return c.p


def new_canvas(c, d):
    c.box(6 + d, 4 + d, 11, 16, 4)
    c.frame(6 + d, 4 + d, 12, 16, 1)
    c.line(14 + d, 4 + d, 17 + d, 7 + d, 1)
    c.box(14 + d, 5 + d, 3, 2, face_of(c))


def face_of(c):
    return c.p[12][2]


def open_folder(c, d):
    c.box(4 + d, 7 + d, 7, 3, 6)
    c.box(4 + d, 9 + d, 16, 10, 5)
    c.frame(4 + d, 9 + d, 16, 10, 1)
    c.line(4 + d, 7 + d, 10 + d, 7 + d, 1)


def import_image(c, d):
    c.box(11 + d, 4 + d, 3, 9, 7)
    c.line(7 + d, 10 + d, 12 + d, 15 + d, 14)
    c.line(17 + d, 10 + d, 12 + d, 15 + d, 14)
    c.line(8 + d, 10 + d, 12 + d, 14 + d, 7)
    c.line(16 + d, 10 + d, 12 + d, 14 + d, 7)
    c.box(5 + d, 17 + d, 15, 3, 11)


def delete_image(c, d):
    for o in (-1, 0, 1):
        c.line(6 + d + o, 6 + d, 17 + d + o, 17 + d, 8)
        c.line(17 + d + o, 6 + d, 6 + d + o, 17 + d, 8)


def script_editor(c, d):
    c.box(5 + d, 4 + d, 14, 16, 4)
    c.frame(5 + d, 4 + d, 14, 16, 1)
    for row, length in ((7, 9), (10, 6), (13, 8), (16, 5)):
        c.box(7 + d, row + d, length, 1, 14)


def export_sheet(c, d):
    c.frame(4 + d, 5 + d, 12, 12, 1)
    for gx in (0, 6):
        for gy in (0, 6):
            c.box(5 + d + gx, 6 + d + gy, 5, 5, 10 if (gx + gy) % 12 == 0 else 7)
    c.line(13 + d, 16 + d, 19 + d, 16 + d, 9)
    c.line(17 + d, 14 + d, 19 + d, 16 + d, 9)
    c.line(17 + d, 18 + d, 19 + d, 16 + d, 9)
    c.box(13 + d, 15 + d, 5, 3, 9)


def separator():
    c = Canvas(8, 24)
    c.box(3, 2, 1, 20, 1)
    return c.p


def snap(on):
    c = Canvas(16, 15)
    c.box(0, 0, 16, 15, 2)
    c.frame(0, 0, 16, 15, 1)
    for g in (5, 10):
        c.box(g, 1, 1, 13, 11)
        c.box(1, g, 14, 1, 11)
    if on:
        c.line(3, 7, 6, 11, 9)
        c.line(4, 7, 7, 11, 9)
        c.line(6, 11, 13, 3, 9)
        c.line(7, 11, 13, 4, 9)
    return c.p


def background_tile():
    # Lines every 8 pixels, brighter every 32, brightest every 128, so the
    # 8-pixel snap grid and larger sheet sizes can be read off the canvas.
    palette = [(64, 64, 64, 255), (76, 76, 76, 255), (100, 100, 100, 255), (140, 140, 140, 255)]
    palette += [(0, 0, 0, 255)] * 12
    c = Canvas(128, 128)
    for i in range(128):
        level = 3 if i == 0 else 2 if i % 32 == 0 else 1 if i % 8 == 0 else 0
        if level:
            for j in range(128):
                c.p[j][i] = max(c.p[j][i], level)
                c.p[i][j] = max(c.p[i][j], level)
    return c.p, palette


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    glyphs = {
        "new-canvas": new_canvas,
        "open-folder": open_folder,
        "import-image": import_image,
        "delete-image": delete_image,
        "script-editor": script_editor,
        "export-sheet": export_sheet,
    }
    for name, glyph in glyphs.items():
        write_png(OUT / f"{name}.png", button(glyph, False), PALETTE, 4)
        write_png(OUT / f"{name}-pressed.png", button(glyph, True), PALETTE, 4)
    write_png(OUT / "separator.png", separator(), [(0, 0, 0, 0), (40, 40, 40, 255)], 1)
    write_png(OUT / "snap-off.png", snap(False), PALETTE, 4)
    write_png(OUT / "snap-on.png", snap(True), PALETTE, 4)
    tile, palette = background_tile()
    write_png(OUT / "background-tile.png", tile, palette, 4)


if __name__ == "__main__":
    main()
