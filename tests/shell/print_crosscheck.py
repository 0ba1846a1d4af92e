"""Prints the test pattern (left half red, right half blue, 100 x 50 pixels)
through the print dialog onto the test printer that tools/run-tests starts,
once at 100 % and once fitted to the page, then renders each PDF the printer
wrote and checks that the picture lies where the program computed, within a
few dots, and that the header and footer texts are on the page.

Usage: print_crosscheck.py WORK_DIR "WINE_RUN SHELL_TESTS_EXE"
Needs KESTREL_TEST_CUPS_SERVER and KESTREL_TEST_PRINTER_PDF (else it skips)
and the test display."""
import os
import shlex
import shutil
import subprocess
import sys
import time

from PIL import Image

SKIP = 77
TOLERANCE = 3  # dots
CASES = ["AtOneHundredPercent", "FittedToThePage"]
TEXTS = ["KestrelHeader", "KestrelFooter 1"]


def wait_for_pdf(path, seconds=60):
    """The job's PDF once CUPS has written all of it."""
    end = time.time() + seconds
    while time.time() < end:
        if os.path.exists(path):
            with open(path, "rb") as f:
                data = f.read()
            if data.rstrip().endswith(b"%%EOF"):
                return data
        time.sleep(0.2)
    return None


def picture_box(png):
    """Bounding box of the red and of the blue dots: (left, top, right, bottom) each."""
    im = Image.open(png).convert("RGB")
    w, h = im.size
    px = im.load()
    boxes = {"red": None, "blue": None}
    for y in range(h):
        for x in range(w):
            r, g, b = px[x, y]
            name = "red" if r > 180 and g < 90 and b < 90 else "blue" if b > 180 and r < 90 and g < 90 else None
            if name:
                old = boxes[name]
                boxes[name] = (x, y, x, y) if old is None else (
                    min(old[0], x), min(old[1], y), max(old[2], x), max(old[3], y))
    return boxes


def check_case(work, name, pdf, expected):
    problems = []
    x, y, width, height, dpi = [int(v) for v in expected.split()]
    base = os.path.join(work, name)
    subprocess.run(["pdftoppm", "-r", str(dpi), "-png", "-singlefile", pdf, base], check=True)
    boxes = picture_box(base + ".png")
    red, blue = boxes["red"], boxes["blue"]
    if red is None or blue is None:
        return ["%s: the picture is not on the page (red %s, blue %s)" % (name, red, blue)]
    got = (red[0], min(red[1], blue[1]), blue[2] - red[0] + 1, max(red[3], blue[3]) - min(red[1], blue[1]) + 1)
    want = (x, y, width, height)
    if any(abs(a - b) > TOLERANCE for a, b in zip(got, want)):
        problems.append("%s: picture at %s (x y width height), expected %s" % (name, got, want))
    if not red[2] < blue[0]:
        problems.append("%s: red is not left of blue (%s, %s)" % (name, red, blue))
    text = subprocess.run(["pdftotext", pdf, "-"], stdout=subprocess.PIPE, check=True,
                          universal_newlines=True).stdout
    for t in TEXTS:
        if t not in text:
            problems.append("%s: %r not on the page (text: %r)" % (name, t, text))
    return problems


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    server = os.environ.get("KESTREL_TEST_CUPS_SERVER")
    pdf = os.environ.get("KESTREL_TEST_PRINTER_PDF")
    if not server or not pdf:
        print("skipped: no test printer (tools/run-tests starts one when it runs as root)")
        sys.exit(SKIP)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    env = dict(os.environ, CUPS_SERVER=server, KESTREL_PRINT_EXPORT="Z:" + work.replace("/", "\\"))
    problems = []
    for name in CASES:
        if os.path.exists(pdf):
            os.remove(pdf)
        expected_file = os.path.join(work, "expected.txt")
        subprocess.run(shlex.split(command) + ["--gtest_filter=PrintOnPrinter." + name], env=env, check=True,
                       stdin=subprocess.DEVNULL)
        data = wait_for_pdf(pdf)
        if data is None:
            problems.append("%s: the printer wrote no PDF" % name)
            continue
        copy = os.path.join(work, name + ".pdf")
        with open(copy, "wb") as f:
            f.write(data)
        with open(expected_file) as f:
            expected = f.read().strip()
        problems += check_case(work, name, copy, expected)
    for p in problems:
        print("DIFF " + p)
    print("print crosscheck: %d cases, %d problems" % (len(CASES), len(problems)))
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
