#!/usr/bin/python3
"""Writes the program's cursor and folder-glyph resources: thirteen 32x32
monochrome cursors (.cur) and two 16x16 folder bitmaps (.bmp), drawn from
the small pictures below. Usage: makecursors.py OUTPUT_DIR"""
import os
import struct
import sys

# '#' black, 'o' white, '^' inverted screen, '.' transparent; '@' marks the
# hot spot (drawn black).
CROSS = """
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
^^^^^^^^^^^^^^ @ ^^^^^^^^^^^^^^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
               ^
"""


def grid(text):
    rows = [line.ljust(32)[:32] for line in text.strip("\n").split("\n")]
    return [list(r) for r in rows] + [[" "] * 32 for _ in range(32 - len(rows))]


def draw_mark(g, kind):
    """The small sign beside the cross: plus, minus or a tick."""
    if kind == "plus":
        for i in range(20, 27):
            g[22][i] = "#"
            g[i - 20 + 19][23] = "#"
    elif kind == "minus":
        for i in range(20, 27):
            g[22][i] = "#"
    elif kind == "ok":
        for i in range(4):
            g[21 + i][19 + i] = "#"
        for i in range(6):
            g[24 - i][22 + i] = "#"


def blank():
    return [[" "] * 32 for _ in range(32)]


def outline_box(g, x0, y0, x1, y1):
    for x in range(x0, x1 + 1):
        g[y0][x] = g[y1][x] = "#"
    for y in range(y0, y1 + 1):
        g[y][x0] = g[y][x1] = "#"
    for y in range(y0 + 1, y1):
        for x in range(x0 + 1, x1):
            g[y][x] = "o"


def icon_cursor(kind):
    """A small cross at the hot spot (1, 1) with the tool's sign beside it."""
    g = blank()
    for i in range(0, 9):
        g[4][i] = "#"
        g[i][4] = "#"
    g[4][4] = "@"
    if kind == "fill":  # a tipped bucket
        outline_box(g, 12, 12, 24, 26)
        for y in range(16, 20):
            for x in range(13, 24):
                g[y][x] = "#"
    elif kind == "hand":
        outline_box(g, 12, 14, 24, 28)
        for f in range(4):
            outline_box(g, 12 + f * 3, 8, 14 + f * 3, 14)
    elif kind == "rotate":
        for a in range(0, 28):
            import math
            t = a / 28 * 1.6 * math.pi
            g[int(20 + 7 * math.sin(t))][int(20 + 7 * math.cos(t))] = "#"
        g[13][26] = g[14][27] = g[12][27] = "#"
    elif kind in ("spray", "airbrush"):
        outline_box(g, 14, 14, 22, 28)
        for x, y in ((25, 9), (27, 12), (24, 12), (28, 8), (26, 6)):
            g[y][x] = "#"
        if kind == "airbrush":
            for y in range(10, 14):
                g[y][18] = "#"
    elif kind.startswith("wand"):
        for i in range(14):
            g[14 + i][14 + i] = "#"
            g[15 + i][14 + i] = "#"
        for x, y in ((12, 12), (16, 11), (11, 16), (13, 9), (9, 13)):
            g[y][x] = "#"
        if kind == "wandplu":
            draw_mark(g, "plus")
        elif kind == "wandmin":
            draw_mark(g, "minus")
    elif kind == "pipette":
        for i in range(12):
            g[16 + i][16 + i] = "#"
        outline_box(g, 24, 24, 29, 29)
    return g


def hot_spot(g):
    for y, row in enumerate(g):
        for x, c in enumerate(row):
            if c == "@":
                return x, y
    return 0, 0


def cursor_file(g):
    hx, hy = hot_spot(g)
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):  # bottom-up
        xr = ar = 0
        for x in range(32):
            c = g[y][x]
            bit = 1 << (31 - x)
            if c == " " or c == ".":
                ar |= bit
            elif c == "^":
                ar |= bit
                xr |= bit
            elif c == "o":
                xr |= bit
        xor_rows.append(struct.pack(">I", xr))
        and_rows.append(struct.pack(">I", ar))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 2)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", 32, 32, 2, 0, hx, hy, len(image), 22)
    return directory + image


def folder_bitmap(parent):
    """16x16 24-bit folder; the parent-folder glyph carries an up arrow."""
    yellow, edge, white = (0x40, 0xC0, 0xF0), (0x00, 0x60, 0x80), (0xFF, 0xFF, 0xFF)
    px = [[(0xC0, 0xC0, 0xC0)] * 16 for _ in range(16)]
    for y in range(4, 14):
        for x in range(1, 15):
            px[y][x] = edge if y in (4, 13) or x in (1, 14) else yellow
    for x in range(1, 7):
        px[3][x] = edge
    if parent:
        for y in range(6, 12):
            px[y][8] = white
        for i in range(3):
            px[6 + i][8 - i] = px[6 + i][8 + i] = white
    rows = b"".join(b"".join(bytes(p) for p in px[y]) + b"\0" * 0 for y in range(15, -1, -1))
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 24, 0, len(rows), 0, 0, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + 40 + len(rows), 0, 0, 54) + info + rows


def cross_with(kind):
    g = grid(CROSS)
    if kind:
        draw_mark(g, kind)
    return g


CURSORS = {
    "CROSS": lambda: cross_with(None),
    "CROSSPLU": lambda: cross_with("plus"),
    "CROSSMIN": lambda: cross_with("minus"),
    "CROSSOK": lambda: cross_with("ok"),
    "FILL": lambda: icon_cursor("fill"),
    "HAND": lambda: icon_cursor("hand"),
    "ROTATE": lambda: icon_cursor("rotate"),
    "SPRAY": lambda: icon_cursor("spray"),
    "AIRBRUSH": lambda: icon_cursor("airbrush"),
    "WAND": lambda: icon_cursor("wand"),
    "WANDPLU": lambda: icon_cursor("wandplu"),
    "WANDMIN": lambda: icon_cursor("wandmin"),
    "PIPETTE": lambda: icon_cursor("pipette"),
}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, make in CURSORS.items():
        with open(os.path.join(out, name.lower() + ".cur"), "wb") as f:
            f.write(cursor_file(make()))
    for name, parent in (("folder", False), ("parentf", True)):
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(folder_bitmap(parent))


if __name__ == "__main__":
    main()
