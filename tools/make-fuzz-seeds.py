#!/usr/bin/env python3
"""Writes the seed corpora of tests/fuzz/corpus/ that are made rather than
copied: small PNG files of every colour type and bit depth (one interlaced,
some with tRNS) and damaged headers, small BMP files of every depth, small
preference files and text files of every line end. The template seeds are
the default templates and the golden cases' templates, copied by hand.

Run from the repository folder: tools/make-fuzz-seeds.py"""

import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fuzz", "corpus")


def put(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def packed_row(samples, depth):
    """Samples (one an int) packed at the bit depth, big-endian for 16 bits."""
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    out, byte, filled = bytearray(), 0, 0
    for s in samples:
        byte, filled = byte << depth | s, filled + depth
        if filled == 8:
            out.append(byte)
            byte, filled = 0, 0
    if filled:
        out.append(byte << (8 - filled))
    return bytes(out)


def png(width, height, colour, depth, interlaced=False, extra=b"", filter_type=1):
    channels = CHANNELS[colour]
    top = (1 << depth) - 1
    samples = [[(x * 37 + y * 91 + c * 53) % (top + 1) for x in range(width) for c in range(channels)]
               for y in range(height)]
    if colour == 3:
        samples = [[s % 4 for s in row] for row in samples]
    passes = ADAM7 if interlaced else [(0, 0, 1, 1)]
    raw = bytearray()
    for x0, y0, dx, dy in passes:
        for y in range(y0, height, dy):
            xs = range(x0, width, dx)
            if not xs:
                continue
            row = [samples[y][x * channels + c] for x in xs for c in range(channels)]
            raw.append(filter_type)
            raw += packed_row(row, depth)
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 1 if interlaced else 0)
    plte = chunk(b"PLTE", bytes([0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255])) if colour == 3 else b""
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + plte + extra
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def make_png_seeds():
    for colour, depths in {0: [1, 2, 4, 8, 16], 2: [8, 16], 3: [1, 2, 4, 8], 4: [8, 16], 6: [8, 16]}.items():
        for depth in depths:
            put("png_decoder", f"colour{colour}_depth{depth}.png", png(5, 3, colour, depth))
    put("png_decoder", "rgba8_interlaced_9x10.png", png(9, 10, 6, 8, interlaced=True))
    put("png_decoder", "palette2_interlaced.png", png(7, 5, 3, 2, interlaced=True))
    put("png_decoder", "palette_trns.png", png(4, 4, 3, 8, extra=chunk(b"tRNS", bytes([0, 128]))))
    put("png_decoder", "grey_trns.png", png(4, 4, 0, 4, extra=chunk(b"tRNS", struct.pack(">H", 3))))
    put("png_decoder", "rgb_trns.png", png(4, 4, 2, 8, extra=chunk(b"tRNS", struct.pack(">HHH", 0, 91, 53))))
    # 8-bit RGB and RGBA rows are unfiltered apart from libpng: every filter,
    # an undefined one, and image data spread over chunks, one of them empty.
    for colour in (2, 6):
        for name, kind in (("sub", 1), ("up", 2), ("average", 3), ("paeth", 4)):
            put("png_decoder", f"colour{colour}_{name}_filter.png", png(6, 4, colour, 8, filter_type=kind))
    put("png_decoder", "filter_type_5.png", png(6, 4, 6, 8, filter_type=5))
    whole = png(6, 4, 2, 8, filter_type=3)
    start = whole.index(b"IDAT") - 4
    data = whole[start + 8:whole.index(b"IEND") - 8]
    split = chunk(b"IDAT", data[:5]) + chunk(b"IDAT", b"") + chunk(b"IDAT", data[5:])
    put("png_decoder", "idat_in_three_chunks.png", whole[:start] + split + whole[whole.index(b"IEND") - 4:])
    good = png(6, 4, 6, 8, filter_type=4)
    put("png_decoder", "paeth_filter.png", good)
    put("png_decoder", "truncated_in_idat.png", good[:len(good) - 20])
    put("png_decoder", "cut_in_header.png", good[:20])
    bad_crc = bytearray(good)
    bad_crc[29] ^= 1
    put("png_decoder", "bad_ihdr_crc.png", bytes(bad_crc))
    put("png_decoder", "zero_width.png", png(5, 3, 6, 8)[:16] + b"\0\0\0\0" + png(5, 3, 6, 8)[20:])
    huge = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 30000, 30000, 8, 2, 0, 0, 0))
    put("png_decoder", "declares_30000x30000.png", huge + chunk(b"IDAT", zlib.compress(b"\0" * 100)))


def bmp(width, height, bits, compression=0, table=None, rows=None):
    row_bytes = (width * bits + 31) // 32 * 4
    table = table if table is not None else (bytes(i % 256 for i in range(4 * (1 << bits))) if bits <= 8 else b"")
    data = rows if rows is not None else bytes((i * 7) % 256 for i in range(row_bytes * abs(height)))
    offset = 54 + len(table)
    header = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(data), 2835, 2835, 0, 0)
    return header + info + table + data


def make_bmp_seeds():
    for bits in (1, 4, 8, 16, 24, 32):
        put("bmp_decoder", f"depth{bits}_5x3.bmp", bmp(5, 3, bits))
    put("bmp_decoder", "rle8.bmp", bmp(4, 2, 8, compression=1))
    put("bmp_decoder", "short_colour_table.bmp", bmp(3, 2, 8, table=bytes(8)))
    put("bmp_decoder", "one_of_two_rows.bmp", bmp(1, 2, 24)[:58])
    put("bmp_decoder", "negative_height.bmp", bmp(2, -2, 24))
    put("bmp_decoder", "declares_30000x30000.bmp", bmp(30000, 30000, 24, rows=b""))


def make_preference_seeds():
    bom = b"\xef\xbb\xbf\n"
    put("preference_store", "written.prefs", bom + b"[Examples]\nHTML5 = 1\n[Export]\nformat = 8\npath = /a/b c\n")
    put("preference_store", "tight_blank_lines.prefs", bom + b"top=1\n\n[A]\nk=v\n\n[B]\n; note\nk=-2147483649\n")
    put("preference_store", "latin1_crlf.prefs", b"[Gr\xfc\xdfe]\r\nname = J\xf6rg\r\n  indented = 5\r\n")
    put("preference_store", "cr_only_no_end.prefs", b"[a]\rx = 1\r[A]\ry=2")
    put("preference_store", "odd_lines.prefs", b"[unclosed\nno equals\n= no key\n[]\n\0hidden = 3\n")
    put("preference_store", "empty.prefs", b"")


def make_text_seeds():
    put("text_reader", "lf.txt", b"one\ntwo\n")
    put("text_reader", "crlf_cr_mixed.txt", b"a\r\nb\rc\n\r\nd")
    put("text_reader", "bom_and_nul.txt", b"\xef\xbb\xbfx\0y\n")
    put("text_reader", "empty.txt", b"")
    put("text_reader", "lone_cr.txt", b"\r")


if __name__ == "__main__":
    make_png_seeds()
    make_bmp_seeds()
    make_preference_seeds()
    make_text_seeds()
