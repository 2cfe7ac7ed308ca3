#!/usr/bin/env python3
"""Draws the glyph bitmaps of the glyph buttons and writes them as 8-bit BMP files.

Each glyph is a grid of characters, one per pixel, over the palette below. The
background is light grey (192,192,192) and the shades (128,128,128) and
(223,223,223) are used for shading, so the program can load the bitmaps with
LR_LOADMAP3DCOLORS and they take the system's button colours.
"""
import os
import struct

PALETTE = {
    ".": (192, 192, 192),  # button face
    "s": (128, 128, 128),  # button shadow
    "l": (223, 223, 223),  # button light
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "y": (255, 208, 64),
    "o": (176, 128, 0),
    "b": (40, 72, 176),
    "c": (128, 160, 232),
    "r": (192, 32, 32),
}

GLYPHS = {
    # New settings file: a blank page with a folded corner.
    "new.bmp": [
        "................",
        "...kkkkkkkk.....",
        "...kwwwwwwkk....",
        "...kwwwwwwklk...",
        "...kwwwwwwkkkk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kkkkkkkkkkk..",
        "................",
    ],
    # Open settings file: an open folder.
    "open.bmp": [
        "................",
        "................",
        "..kkkk..........",
        ".kyyyyk.........",
        ".kyyyyykkkkkk...",
        ".kyyyyyyyyyyok..",
        ".kyyyyyyyyyyok..",
        ".kyykkkkkkkkkkkk",
        ".kyykyyyyyyyyyok",
        ".kyko.yyyyyyyok.",
        ".kykyyyyyyyyyok.",
        ".kkoyyyyyyyyok..",
        ".kkyyyyyyyyyok..",
        ".kkkkkkkkkkkk...",
        "................",
        "................",
    ],
    # Save settings file: a disk.
    "save.bmp": [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbbkkkkkkkkbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbkkkkkkkkbbk.",
        ".kbbkcckkkkkbbk.",
        ".kbbkcckkkkkbbk.",
        ".kbbkcckkkkkbbk.",
        "..kkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    # Save under another name: the disk with a pencil across it.
    "save-as.bmp": [
        "..............kk",
        ".kkkkkkkkkkkkkrk",
        ".kbkwwwwwwwwkrk.",
        ".kbkwwwwwwwwrk..",
        ".kbkwwwwwwwrk...",
        ".kbkwwwwwwrk....",
        ".kbbkkkkkok.....",
        ".kbbbbbbkk......",
        ".kbbbbbbkbbbbbk.",
        ".kbbkkkkkkkkbbk.",
        ".kbbkcckkkkkbbk.",
        ".kbbkcckkkkkbbk.",
        ".kbbkcckkkkkbbk.",
        "..kkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    # The colour-pick button's drop-down arrow.
    "drop-arrow.bmp": [
        ".........",
        ".........",
        ".kkkkkkk.",
        "..kkkkk..",
        "...kkk...",
        "....k....",
        ".........",
        ".........",
    ],
}


def write_bmp(path, rows):
    keys = list(PALETTE)
    width, height = len(rows[0]), len(rows)
    stride = (width + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        assert len(row) == width, path
        line = bytes(keys.index(ch) for ch in row)
        pixels += line + bytes(stride - width)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE.values())
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835,
                         len(keys), 0)
    offset = 14 + len(header) + len(table)
    with open(path, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset))
        out.write(header + table + pixels)


here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "glyphs")
os.makedirs(here, exist_ok=True)
for name, rows in GLYPHS.items():
    write_bmp(os.path.join(here, name), rows)
