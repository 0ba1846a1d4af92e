"""Reads a spill file of the undo history with a reader of its own: the
296-byte little-endian header field by field, then the rectangle's pixels
as BGRX bytes, compared with the expected picture by ImageMagick.

Usage: spill_crosscheck.py WORK_DIR "WINE_RUN PAINTING_TESTS_EXE"
The test program writes the file (SpillExport.*) into WORK_DIR."""
import os
import struct
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "formats"))
from crosscheck import export_from_test  # noqa: E402

LEFT, TOP, WIDTH, HEIGHT = 2, 3, 29, 18
NAME = b"C:\\pictures\\spill test.png"


def pattern(x, y):
    """The test program's picture, as (R, G, B)."""
    return ((x * 7) & 255, (y * 11) & 255, (x * y) & 255)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    export_from_test(work, command, "KESTREL_SPILL_EXPORT", "SpillExport.*")
    problems = []
    left = sorted(os.listdir(work))
    if left != ["spill.bin"]:
        problems.append("folder holds %s, not the copy alone" % left)
    data = open(os.path.join(work, "spill.bin"), "rb").read()
    w, h, no_file = struct.unpack_from("<iiB", data, 0)
    counter, = struct.unpack_from("<I", data, 12)
    name = data[16:276].split(b"\0", 1)[0]
    image, = struct.unpack_from("<i", data, 276)
    selection = struct.unpack_from("<4i", data, 280)
    expected = {"size": (WIDTH, HEIGHT), "no-file flag": 1, "counter": 7, "name": NAME, "image number": 3,
                "selection": (4, 9, 5, 11), "length": 296 + WIDTH * HEIGHT * 4}
    found = {"size": (w, h), "no-file flag": no_file, "counter": counter, "name": name, "image number": image,
             "selection": selection, "length": len(data)}
    problems += ["%s: %r, expected %r" % (k, found[k], v) for k, v in expected.items() if found[k] != v]
    if not problems:
        actual = Image.frombytes("RGB", (w, h), data[296:], "raw", "BGRX")
        wanted = Image.new("RGB", (w, h))
        wanted.putdata([pattern(LEFT + x, TOP + y) for y in range(h) for x in range(w)])
        actual.save(os.path.join(work, "actual.png"))
        wanted.save(os.path.join(work, "expected.png"))
        result = subprocess.run(["compare", "-metric", "AE", os.path.join(work, "expected.png"),
                                 os.path.join(work, "actual.png"), "null:"], capture_output=True, text=True)
        if result.stderr.strip() != "0":
            problems.append("pixels differ: compare -metric AE gives %s" % result.stderr.strip())
    for p in problems:
        print("DIFF " + p)
    print("spill file checked, %d differences" % len(problems))
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
