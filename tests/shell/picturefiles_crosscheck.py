"""Reads back with Pillow the pictures Kestrel saved through its save dialog
(8-bit BMP, JPEG at quality 50, interlaced GIF) and compares them with the
picture the test program held.

Usage: picturefiles_crosscheck.py WORK_DIR "WINE_RUN SHELL_TESTS_EXE"
The test program writes the files into WORK_DIR; it needs the test display."""
import os
import sys

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "formats"))
from crosscheck import export_from_test  # noqa: E402

COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]
WIDTH, HEIGHT = 16, 10


def pattern(x, y):
    """The test program's picture (FillBlocks), as (R, G, B)."""
    return COLOURS[(x // 4 + y // 5) % 4]


def pixels(path):
    im = Image.open(path)
    im.load()
    return im, list(im.convert("RGB").getdata())


def gif_interlaced(data):
    """The interlace bit of the first image descriptor."""
    pos = 13
    if data[10] & 0x80:
        pos += 3 * (2 << (data[10] & 7))
    while pos < len(data):
        if data[pos] == 0x2C:
            return bool(data[pos + 9] & 0x40)
        if data[pos] != 0x21:
            break
        pos += 2
        while pos < len(data) and data[pos]:
            pos += data[pos] + 1
        pos += 1
    return None


def check(work):
    wanted = [pattern(x, y) for y in range(HEIGHT) for x in range(WIDTH)]
    problems = []
    im, got = pixels(os.path.join(work, "e8.bmp"))
    if im.format != "BMP" or im.mode != "P" or im.size != (WIDTH, HEIGHT):
        problems.append("e8.bmp: %s %s %s, expected an 8-bit BMP" % (im.format, im.mode, im.size))
    elif got != wanted:
        problems.append("e8.bmp: pixels differ")
    im, got = pixels(os.path.join(work, "q50.jpg"))
    if im.format != "JPEG" or im.size != (WIDTH, HEIGHT):
        problems.append("q50.jpg: %s %s" % (im.format, im.size))
    else:
        # Quality 50 keeps the base luminance table: its DC step is 16.
        if im.quantization[0][0] != 16:
            problems.append("q50.jpg: DC quantiser %d, expected 16" % im.quantization[0][0])
        error = sum(abs(a - b) for p, q in zip(got, wanted) for a, b in zip(p, q)) / (3.0 * len(wanted))
        if error > 24:
            problems.append("q50.jpg: mean error %.1f" % error)
    path = os.path.join(work, "il.gif")
    im, got = pixels(path)
    if im.format != "GIF" or got != wanted:
        problems.append("il.gif: %s, pixels %s" % (im.format, "equal" if got == wanted else "differ"))
    if not gif_interlaced(open(path, "rb").read()):
        problems.append("il.gif: not interlaced")
    return problems


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    export_from_test(work, command, "KESTREL_PICTURE_EXPORT", "SavePlusTest.ExportForPillow")
    problems = check(work)
    for p in problems:
        print("DIFF " + p)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
