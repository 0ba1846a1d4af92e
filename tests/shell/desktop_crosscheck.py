"""Reads with Pillow the wait screen Kestrel exported: a BMP of 320 x 400
pixels with a palette (8 bits per pixel).

Usage: desktop_crosscheck.py WORK_DIR "WINE_RUN SHELL_TESTS_EXE"
The test program writes the file into WORK_DIR; it needs the test display."""
import os
import sys

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "formats"))
from crosscheck import export_from_test  # noqa: E402


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    export_from_test(work, command, "KESTREL_DESKTOP_EXPORT", "DesktopImages.ExportForPillow")
    with Image.open(os.path.join(work, "logow.sys")) as im:
        im.load()
        found = (im.format, im.mode, im.size, len(im.getcolors(256) or []))
    if found[:3] != ("BMP", "P", (320, 400)) or found[3] < 2:
        print("DIFF logow.sys: %s %s %s with %d colours, expected an 8-bit 320 x 400 BMP" % found)
        sys.exit(1)
    print("logow.sys: %s %s %s with %d colours" % found)


if __name__ == "__main__":
    main()
