"""Reads the browser's thumbnail cache with a reader of its own: 129 pictures
made here with Pillow, browsed twice by the test program, must leave a
browser.ks of two blocks whose 129 valid entries hold each file's name,
time, size and picture size, and a thumbnail that is the picture scaled by
min(120/W, 90/H).

Usage: browser_crosscheck.py WORK_DIR "WINE_RUN SHELL_TESTS_EXE"
The test program needs the test display."""
import os
import shlex
import shutil
import struct
import subprocess
import sys

from PIL import Image

BLOCK = 4183556
INDEX = 128 * 284
THUMBS = INDEX + 4
THUMB_BYTES = 120 * 90 * 3
COUNT = 129


def picture(i):
    """Smooth shading in a tint of its own, so that thumbnails of two files
    never pass for each other; sizes above and below 120 x 90."""
    w, h = 37 + (i * 61) % 420, 23 + (i * 47) % 310
    im = Image.new("RGB", (w, h))
    px = im.load()
    tint = ((i * 53) % 200, (i * 97) % 200, (i * 29) % 200)
    for y in range(h):
        for x in range(w):
            px[x, y] = (tint[0] + x * 55 // w, tint[1] + y * 55 // h, tint[2] + (x + y) * 55 // (w + h))
    return im


def expected_size(w, h):
    if 120 * h <= 90 * w:
        return 120, max(1, h * 120 // w)
    return max(1, w * 90 // h), 90


def entries(data):
    """(block count, last next word, [(slot, fields)]) along the chain."""
    found, block = [], 0
    while True:
        base = block * BLOCK
        if base + THUMBS > len(data):
            return block, None, found
        for i in range(128):
            raw = data[base + i * 284:base + (i + 1) * 284]
            name = raw[1:260].split(b"\0")[0].decode("latin-1")
            fields = struct.unpack("<IIiiii", raw[260:284])
            if raw[0] & 1:
                found.append((block * 128 + i, name, fields))
        (following,) = struct.unpack("<I", data[base + INDEX:base + THUMBS])
        block += 1
        if following == 0:
            return block, following, found


def thumbnail(data, slot, w, h):
    base = (slot // 128) * BLOCK + THUMBS + (slot % 128) * THUMB_BYTES
    raw = data[base:base + THUMB_BYTES]
    return [tuple(raw[(y * 120 + x) * 3:(y * 120 + x) * 3 + 3]) for y in range(h) for x in range(w)]


def reference(im, w, h):
    """The picture sampled at the centres of the thumbnail's pixels."""
    W, H = im.size
    px = im.load()
    return [px[(2 * x + 1) * W // (2 * w), (2 * y + 1) * H // (2 * h)] for y in range(h) for x in range(w)]


def check(folder, pictures):
    problems = []
    path = os.path.join(folder, "browser.ks")
    if not os.path.exists(path):
        return ["no browser.ks"]
    data = open(path, "rb").read()
    if len(data) < BLOCK + THUMBS:
        problems.append("browser.ks holds %d bytes, less than two blocks' index" % len(data))
    blocks, last_next, found = entries(data)
    if blocks != 2 or last_next != 0:
        problems.append("%d blocks, last next word %s" % (blocks, last_next))
    if len(found) != COUNT or {n for _, n, _ in found} != set(pictures):
        problems.append("%d valid entries for %d pictures" % (len(found), COUNT))
    for slot, name, (mtime, size, tw, th, pw, ph) in found:
        im = pictures.get(name)
        if im is None:
            continue
        st = os.stat(os.path.join(folder, name))
        if (mtime, size, pw, ph) != (int(st.st_mtime) & 0xFFFFFFFF, st.st_size, im.size[0], im.size[1]):
            problems.append("%s: time, size, picture size %s" % (name, (mtime, size, pw, ph)))
        if (tw, th) != expected_size(*im.size):
            problems.append("%s: thumbnail %dx%d for %dx%d" % (name, tw, th, im.size[0], im.size[1]))
            continue
        got, want = thumbnail(data, slot, tw, th), reference(im, tw, th)
        worst = max(abs(a - b) for p, q in zip(got, want) for a, b in zip(p, q))
        if worst > 6:  # the smoothed samples sit within a pixel of the centres
            problems.append("%s: thumbnail differs by up to %d" % (name, worst))
    return problems


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    pictures = {}
    for i in range(COUNT):
        name = "pic%03d.png" % i
        pictures[name] = picture(i)
        pictures[name].save(os.path.join(work, name))
    env = dict(os.environ, KESTREL_BROWSER_EXPORT="Z:" + work.replace("/", "\\"))
    subprocess.run(shlex.split(command) + ["--gtest_filter=BrowseFormTest.ExportForPython"], env=env, check=True,
                   stdin=subprocess.DEVNULL)
    problems = check(work, pictures)
    for p in problems:
        print("DIFF " + p)
    print("browser.ks: %d problems" % len(problems))
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
