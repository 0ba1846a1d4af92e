#!/usr/bin/python3
"""Draws the glyphs of the tool buttons (24 x 24) and of the Undo and Redo
buttons (16 x 16, beside their drop-down arrows) as BMP files.

Usage: toolglyphs.py <output folder>

Writes one <NAME>.bmp per glyph resource that kestrel/shell/toolglyphs.rc
names, then toolglyphs.stamp (the build's mark that the set is complete).
The background is magenta: the buttons treat the bottom-left pixel's colour
as transparent, so nothing is drawn there.
"""
import os
import sys

from PIL import Image, ImageDraw

SIZE = 24
# The Undo and Redo buttons are 28 pixels wide and keep room for the arrow
# of their drop-down list of steps.
SMALL_GLYPHS = {"UNDO": 16, "REDO": 16}
BACK = (255, 0, 255)
INK = (0, 0, 0)
RED = (200, 0, 0)
BLUE = (0, 0, 200)
GREEN = (0, 140, 0)
GREY = (128, 128, 128)
WHITE = (255, 255, 255)
YELLOW = (230, 200, 0)


def dashed_rect(d, box, colour=INK, dash=2):
    x0, y0, x1, y1 = box
    for x in range(x0, x1 + 1):
        if (x - x0) // dash % 2 == 0:
            d.point((x, y0), colour)
            d.point((x, y1), colour)
    for y in range(y0, y1 + 1):
        if (y - y0) // dash % 2 == 0:
            d.point((x0, y), colour)
            d.point((x1, y), colour)


def round_brush(d, r):
    d.ellipse((12 - r, 12 - r, 12 + r, 12 + r), fill=INK)


def square_brush(d, r):
    d.rectangle((12 - r, 12 - r, 12 + r, 12 + r), fill=INK)


def brush_any(d, shape):
    # The current size: the shape with arrows pointing out of it.
    shape(d, 4)
    d.line((2, 2, 6, 6), fill=RED)
    d.line((2, 2, 2, 5), fill=RED)
    d.line((2, 2, 5, 2), fill=RED)
    d.line((21, 21, 17, 17), fill=RED)
    d.line((21, 21, 21, 18), fill=RED)
    d.line((21, 21, 18, 21), fill=RED)


# The fixed-size brushes: 3, 11 and 21 pixels across.
BUILT_IN_BRUSHES = {
    "BRUSH11": (round_brush, 1), "BRUSH12": (round_brush, 5), "BRUSH13": (round_brush, 10),
    "BRUSH21": (square_brush, 1), "BRUSH22": (square_brush, 5), "BRUSH23": (square_brush, 10),
}


def pen_tip(d, x, y):
    d.polygon([(x, y), (x + 3, y - 7), (x + 7, y - 3)], fill=YELLOW, outline=INK)
    d.line((x + 3, y - 7, x + 12, y - 16), fill=INK)
    d.line((x + 7, y - 3, x + 16, y - 12), fill=INK)


def turning_arrow(d, left):
    # A half turn over the top with the head at its end: back (left) or
    # forward (right).
    d.arc((2, 3, 13, 14), 180, 360, fill=BLUE, width=2)
    if left:
        d.polygon([(0, 8), (6, 8), (3, 13)], fill=BLUE)
    else:
        d.polygon([(9, 8), (15, 8), (12, 13)], fill=BLUE)
    d.line((2, 14, 13, 14), fill=GREY)


def draw(name):
    size = SMALL_GLYPHS.get(name, SIZE)
    img = Image.new("RGB", (size, size), BACK)
    d = ImageDraw.Draw(img)
    kind = name
    if kind == "UNDO":
        turning_arrow(d, True)
    elif kind == "REDO":
        turning_arrow(d, False)
    elif kind in BUILT_IN_BRUSHES:
        shape, radius = BUILT_IN_BRUSHES[kind]
        shape(d, radius)
    elif kind == "BRUSH1":
        brush_any(d, round_brush)
    elif kind == "BRUSH2":
        brush_any(d, square_brush)
    elif kind == "PEN1":
        d.line([(2, 18), (6, 12), (10, 16), (14, 10)], fill=BLUE, width=2)
        pen_tip(d, 14, 10)
    elif kind == "PEN2":
        for x, y in [(2, 18), (6, 13), (10, 16)]:
            d.ellipse((x - 1, y - 1, x + 1, y + 1), fill=BLUE)
        pen_tip(d, 14, 10)
    elif kind == "PEN3":
        d.ellipse((3, 15, 7, 19), fill=BLUE)
        pen_tip(d, 14, 10)
    elif kind == "LINE1":
        d.line((3, 20, 20, 3), fill=INK, width=2)
    elif kind == "LINE2":
        d.line([(3, 20), (8, 5), (14, 16), (20, 3)], fill=INK, width=2)
    elif kind == "SPLINE1":
        d.arc((2, 4, 21, 30), 200, 340, fill=INK, width=2)
    elif kind == "SPLINE2":
        d.arc((2, 3, 13, 16), 180, 360, fill=INK, width=2)
        d.arc((11, 8, 22, 21), 0, 180, fill=INK, width=2)
    elif kind == "RECT1":
        d.rectangle((3, 5, 20, 18), outline=INK, width=2)
    elif kind == "RECT2":
        d.rectangle((3, 5, 20, 18), fill=BLUE, outline=INK)
    elif kind == "RECT3":
        d.rectangle((3, 5, 20, 18), outline=INK, width=2)
        d.line((11, 11, 12, 12), fill=RED)
        d.line((11, 12, 12, 11), fill=RED)
    elif kind == "RECT4":
        d.rectangle((3, 5, 20, 18), fill=BLUE, outline=INK)
        d.rectangle((10, 10, 13, 13), fill=RED)
    elif kind == "CRC1":
        d.ellipse((3, 3, 20, 20), outline=INK, width=2)
    elif kind == "CRC2":
        d.ellipse((3, 3, 20, 20), fill=BLUE, outline=INK)
    elif kind == "CRC3":
        d.ellipse((2, 6, 21, 17), outline=INK, width=2)
    elif kind == "CRC4":
        d.ellipse((2, 6, 21, 17), fill=BLUE, outline=INK)
    elif kind == "FILLDRAW":
        d.polygon([(4, 12), (7, 4), (13, 6), (20, 3), (19, 13), (14, 20), (6, 18)], fill=GREEN, outline=INK)
    elif kind == "FILLPOLY":
        d.polygon([(3, 19), (8, 4), (20, 8), (15, 20)], fill=GREEN, outline=INK)
    elif kind == "SPRAY1":
        d.rectangle((14, 10, 20, 21), fill=GREY, outline=INK)
        d.rectangle((16, 7, 18, 9), fill=INK)
        for x, y in [(3, 4), (7, 3), (5, 7), (10, 5), (2, 10), (8, 9), (12, 8), (6, 12), (3, 15)]:
            d.point((x, y), RED)
    elif kind == "SPRAY2":
        d.polygon([(12, 20), (20, 12), (22, 14), (14, 22)], fill=GREY, outline=INK)
        for r, colour in [(7, (240, 180, 180)), (5, (230, 120, 120)), (3, RED)]:
            d.ellipse((8 - r, 8 - r, 8 + r, 8 + r), fill=colour)
    elif kind == "FILL1":
        d.polygon([(4, 10), (12, 3), (19, 10), (11, 17)], fill=WHITE, outline=INK)
        d.polygon([(19, 10), (21, 16), (20, 19), (18, 16)], fill=BLUE)
    elif kind == "FILL2":
        d.polygon([(4, 10), (12, 3), (19, 10), (11, 17)], fill=WHITE, outline=INK)
        for x in range(6, 18, 3):
            for y in range(6, 16, 3):
                d.point((x, y), BLUE)
        d.polygon([(19, 10), (21, 16), (20, 19), (18, 16)], fill=BLUE)
    elif kind == "TEXT":
        d.polygon([(11, 3), (13, 3), (20, 20), (17, 20), (12, 7), (7, 20), (4, 20)], fill=INK)
        d.line((8, 14, 16, 14), fill=INK, width=2)
    elif kind == "CUT1":
        dashed_rect(d, (3, 4, 20, 19))
    elif kind == "CUT2":
        pts = [(4, 10), (7, 3), (14, 5), (20, 4), (19, 14), (13, 20), (5, 17), (4, 10)]
        for i in range(len(pts) - 1):
            if i % 2 == 0:
                d.line(pts[i] + pts[i + 1], fill=INK)
    elif kind == "CUT3":
        pts = [(3, 19), (8, 4), (20, 8), (15, 20), (3, 19)]
        for a, b in zip(pts, pts[1:]):
            d.line(a + b, fill=INK)
        for x, y in pts[:-1]:
            d.rectangle((x - 1, y - 1, x + 1, y + 1), fill=RED)
    elif kind == "CUT4":
        d.line((4, 20, 15, 9), fill=INK, width=2)
        d.line((15, 9, 18, 6), fill=WHITE, width=2)
        for a, b in [((18, 1), (18, 4)), ((20, 6), (23, 6)), ((20, 3), (22, 1)), ((14, 3), (15, 4))]:
            d.line(a + b, fill=YELLOW)
    elif kind == "CUT5":
        dashed_rect(d, (3, 4, 20, 19))
        d.line((7, 12, 16, 12), fill=RED)
        d.line((7, 10, 7, 14), fill=RED)
        d.line((16, 10, 16, 14), fill=RED)
    elif kind == "CLONE":
        d.rectangle((2, 2, 11, 11), fill=GREEN, outline=INK)
        d.rectangle((12, 12, 21, 21), fill=GREEN, outline=INK)
        d.line((11, 6, 16, 6), fill=RED)
        d.line((16, 6, 16, 12), fill=RED)
    elif kind == "GETCOL":
        d.line((4, 20, 13, 11), fill=INK, width=2)
        d.ellipse((13, 4, 20, 11), fill=GREY, outline=INK)
        d.rectangle((2, 19, 5, 22), fill=RED)
    elif kind == "CHCOL":
        d.rectangle((2, 4, 9, 11), fill=RED, outline=INK)
        d.rectangle((14, 12, 21, 19), fill=BLUE, outline=INK)
        d.line((8, 15, 13, 15), fill=INK)
        d.polygon([(13, 13), (13, 17), (15, 15)], fill=INK)
    elif kind == "GRID":
        for v in range(3, 22, 6):
            d.line((v, 2, v, 21), fill=GREY)
            d.line((2, v, 21, v), fill=GREY)
    elif kind == "CLEAR":
        d.rectangle((4, 2, 19, 21), fill=WHITE, outline=INK)
        d.line((8, 7, 15, 16), fill=RED, width=2)
        d.line((15, 7, 8, 16), fill=RED, width=2)
    else:
        raise SystemExit("no drawing for glyph " + name)
    # The transparent key must survive at the bottom-left corner.
    img.putpixel((0, size - 1), BACK)
    return img


GLYPHS = [
    "BRUSH1", "BRUSH11", "BRUSH12", "BRUSH13", "BRUSH2", "BRUSH21", "BRUSH22", "BRUSH23",
    "PEN1", "PEN2", "PEN3", "LINE1", "LINE2", "SPLINE1", "SPLINE2",
    "RECT1", "RECT2", "RECT3", "RECT4", "CRC1", "CRC2", "CRC3", "CRC4",
    "FILLDRAW", "FILLPOLY", "SPRAY1", "SPRAY2", "FILL1", "FILL2", "TEXT",
    "CUT1", "CUT2", "CUT3", "CUT4", "CUT5", "CLONE", "GETCOL", "CHCOL", "GRID", "CLEAR",
    "UNDO", "REDO",
]


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    seen = {}
    for name in GLYPHS:
        img = draw(name)
        data = img.tobytes()
        if data in seen:
            raise SystemExit("glyphs %s and %s look the same" % (seen[data], name))
        seen[data] = name
        img.save(os.path.join(out, name + ".bmp"), "BMP")
    with open(os.path.join(out, "toolglyphs.stamp"), "w") as stamp:
        stamp.write("%d glyphs\n" % len(GLYPHS))


if __name__ == "__main__":
    main()
