"""The palette PNG writer the drawing scripts share."""

import struct
import zlib
from pathlib import Path


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, pixels, palette, depth):
    """Writes rows of palette indices as a palette PNG of the given bit depth."""
    height, width = len(pixels), len(pixels[0])
    raw = bytearray()
    per_byte = 8 // depth
    for row in pixels:
        raw.append(0)
        for start in range(0, width, per_byte):
            byte = 0
            for i in range(per_byte):
                value = row[start + i] if start + i < width else 0
                byte |= value << (8 - depth * (i + 1))
            raw.append(byte)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, 3, 0, 0, 0))
    png += chunk(b"PLTE", bytes(c for rgba in palette for c in rgba[:3]))
    alphas = bytes(rgba[3] for rgba in palette)
    if any(a != 255 for a in alphas):
        png += chunk(b"tRNS", alphas.rstrip(b"\xff") or b"\xff")
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    Path(path).write_bytes(png)
