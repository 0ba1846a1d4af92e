"""Fills the test program's noisy picture again with Pillow's flood fill
(4-connected, threshold on the sum of the channel differences to the seed
colour) and compares the result with the program's solid fill, and with the
pixels the magic wand selected (threshold 40) on the same picture.

Usage: fill_crosscheck.py WORK_DIR "WINE_RUN PAINTING_TESTS_EXE"
The test program writes before.bin, after.bin and selected.bin
(FillExport.*) into WORK_DIR: 48x40 pixels, BGRX bytes, X holding the
selected bit 0x04."""
import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "formats"))
from crosscheck import export_from_test  # noqa: E402

SIZE = (48, 40)
SEED = (20, 20)
FILL = (0xC0, 0x10, 0x20)  # the fixture's foreground colour
THRESHOLD = 60
WAND_THRESHOLD = 40


def read(work, name):
    return Image.frombytes("RGB", SIZE, open(os.path.join(work, name), "rb").read(), "raw", "BGRX")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    export_from_test(work, command, "KESTREL_FILL_EXPORT", "FillExport.*")
    before, after = read(work, "before.bin"), read(work, "after.bin")
    expected = before.copy()
    ImageDraw.floodfill(expected, SEED, FILL, thresh=THRESHOLD)
    filled = sum(1 for a, b in zip(before.getdata(), expected.getdata()) if a != b)
    differ = [(i % SIZE[0], i // SIZE[0]) for i, (a, b) in enumerate(zip(after.getdata(), expected.getdata()))
              if a != b]
    for x, y in differ[:20]:
        print("DIFF at %d,%d: program %r, Pillow %r" % (x, y, after.getpixel((x, y)), expected.getpixel((x, y))))
    print("Pillow filled %d pixels; %d differ" % (filled, len(differ)))
    wrong_wand, taken = wand_differences(work, before)
    print("Pillow took %d pixels at threshold %d; the wand differs at %d" % (taken, WAND_THRESHOLD, wrong_wand))
    sys.exit(1 if differ or filled < 20 or wrong_wand or taken < 20 else 0)


def wand_differences(work, before):
    """Pixels where the wand's selected bit and Pillow's fill disagree, and
    how many Pillow filled."""
    marker = (1, 2, 3)  # in no noise pixel
    expected = before.copy()
    ImageDraw.floodfill(expected, SEED, marker, thresh=WAND_THRESHOLD)
    flags = open(os.path.join(work, "selected.bin"), "rb").read()[3::4]
    wanted = [p == marker for p in expected.getdata()]
    wrong = sum(1 for f, w in zip(flags, wanted) if bool(f & 0x04) != w)
    return wrong, sum(wanted)


if __name__ == "__main__":
    main()
