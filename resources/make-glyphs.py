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


# The calendar editor's buttons: month arrows, the file menu and the journal
# zoom, each with a pressed picture moved one pixel down and to the right.
def blank(size=16):
    return [["."] * size for _ in range(size)]


def arrow(pointing_right):
    grid = blank()
    for i in range(6):  # a solid triangle 6 columns deep, 11 rows tall
        column = 5 + i if pointing_right else 10 - i
        for row in range(3 + i, 13 - i):
            grid[row][column] = "b"
    return grid


def file_menu():
    grid = blank()
    for row in range(2, 12):
        for column in range(3, 12):
            edge = row in (2, 11) or column in (3, 11)
            grid[row][column] = "k" if edge else "w"
    for row in (5, 7, 9):
        for column in range(5, 10):
            grid[row][column] = "s"
    for i, row in enumerate(range(12, 15)):  # the drop-down mark under the page
        for column in range(10 + i, 15 - i):
            grid[row][column] = "k"
    return grid


def zoom():
    grid = blank()
    for row in range(16):
        for column in range(16):
            distance = (row - 6) ** 2 + (column - 6) ** 2
            if 12 <= distance <= 22:
                grid[row][column] = "k"
            elif distance < 12:
                grid[row][column] = "c"
    for i in range(5):
        grid[10 + i][10 + i] = "o"
        grid[10 + i][11 + i if 11 + i < 16 else 15] = "o"
    return grid


def pressed(grid):
    moved = blank(len(grid))
    for row in range(len(grid) - 1):
        for column in range(len(grid) - 1):
            moved[row + 1][column + 1] = grid[row][column]
    return moved


def rows_of(grid):
    return ["".join(row) for row in grid]


GLYPHS.update({
    "calendar-next.bmp": rows_of(arrow(True)),
    "calendar-next-pressed.bmp": rows_of(pressed(arrow(True))),
    "calendar-previous.bmp": rows_of(arrow(False)),
    "calendar-previous-pressed.bmp": rows_of(pressed(arrow(False))),
    "calendar-file-menu.bmp": rows_of(file_menu()),
    "calendar-file-menu-pressed.bmp": rows_of(pressed(file_menu())),
    "calendar-zoom.bmp": rows_of(zoom()),
})


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
