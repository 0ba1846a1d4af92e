#!/usr/bin/python3
"""Cross-checks the TGA reader and writer against independent decoders.

usage: tga_crosscheck.py <work folder> "<command running pmconv>"

Reading: files written by Pillow (RGB, RGBA, L, P; packed or not; top-down
or bottom-up), by ImageMagick (packed, no footer) and the TGA pictures of
Debian's gdk-pixbuf-tests must decode as Pillow decodes them; files the
reader cannot load (16-bit grey with alpha, damaged files) must be refused
with an error, not decoded.
Writing: our 8-bit and 24-bit files must decode in Pillow and in netpbm's
tgatoppm to the same pixels as our own reader gives; the 24-bit file to
exactly the source picture.
Exits non-zero on any difference.
"""
import glob
import os
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(__file__))
from crosscheck import compare, finish, pillow_decode, problem, run_jobs, start  # noqa: E402

GDK = "/usr/libexec/installed-tests/gdk-pixbuf/test-images"
ID = b"CORVANE\0"
FOOTER = b"\0" * 8 + b"TRUEVISION-XFILE.\0"

def test_picture(width=53, height=37):
    """Gradients, flat areas (long runs, runs across row ends) and noise."""
    im = Image.new("RGB", (width, height))
    px = im.load()
    seed = 12345
    for y in range(height):
        for x in range(width):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            if y < height // 3:
                px[x, y] = (x * 255 // width, y * 7 & 255, 128)
            elif y < 2 * height // 3:
                px[x, y] = (200, 30, 60) if x > width // 2 else (10, 220, 40)
            else:
                px[x, y] = (seed & 255, seed >> 8 & 255, seed >> 16 & 255)
    return im


def reference(path):
    """Pillow's decode; for the few corpus files Pillow cannot read (a colour
    map of 32-bit entries, packets running past the picture's end), the
    corpus's own reference picture."""
    try:
        return pillow_decode(path)
    except (OSError, ValueError) as e:
        if not os.path.exists(path + ".ref.png"):
            raise
        print("note: %s: Pillow: %s; compared with its reference PNG" % (os.path.basename(path), e))
        return pillow_decode(path + ".ref.png")


def pillow_fixtures(work, src):
    """(path, tolerance) of files written by Pillow."""
    rgba = src.copy()
    rgba.putalpha(Image.linear_gradient("L").resize(src.size))
    modes = {"rgb": src, "rgba": rgba, "l": src.convert("L"),
             "p": src.quantize(colors=40)}
    made = []
    for name, im in modes.items():
        for rle in (False, True):
            for orientation, where in ((1, "top"), (-1, "bottom")):
                path = os.path.join(work, "pil-%s-%s-%s.tga" % (name, "rle" if rle else "raw", where))
                im.save(path, rle=rle, orientation=orientation)
                made.append((path, 0))
    return made


def magick_fixtures(work, src):
    png = os.path.join(work, "source.png")
    src.save(png)
    made = []
    for name, options in (("rle", ["-compress", "RLE"]),
                          ("raw", []),
                          ("palette-rle", ["-colors", "30", "-type", "Palette", "-compress", "RLE"])):
        path = os.path.join(work, "magick-%s.tga" % name)
        subprocess.run(["convert", png] + options + [path], check=True)
        made.append((path, 0))
    return made


def gdk_fixtures():
    """Pictures with reference PNGs; 5-5-5 files may differ by 1 per channel
    because Pillow widens v * 255 / 31 where we repeat the top bits."""
    made = []
    for path in sorted(glob.glob(GDK + "/reftests/**/*.tga", recursive=True)):
        if not os.path.exists(path + ".ref.png") or path in must_fail():
            continue
        made.append((path, 1 if "16bpp" in path else 0))
    return made


def must_fail():
    """Files the reader has to refuse (not every one of them has a reference)."""
    paths = sorted(glob.glob(GDK + "/fail/*.tga"))
    paths += sorted(glob.glob(GDK + "/reftests/tga/gtk-logo-gray*-16bpp-*.tga"))
    return paths


def check_saved(path, bits, loaded_ppm, source_ppm):
    data = open(path, "rb").read()
    name = os.path.basename(path)
    if data[18:26] != ID:
        problem("%s: image ID %r" % (name, data[18:26]))
    if data[-26:] != FOOTER:
        problem("%s: footer %r" % (name, data[-26:]))
    if data[2] != (9 if bits == 8 else 10) or data[16] != bits or data[17] != 0x20:
        problem("%s: header %r" % (name, data[:18]))
    ours = pillow_decode(loaded_ppm)
    compare(name + " in Pillow", pillow_decode(path), ours, 0)
    netpbm = path + ".netpbm.ppm"
    with open(netpbm, "wb") as out:
        subprocess.run(["tgatoppm", path], stdout=out, stderr=subprocess.DEVNULL, check=True)
    compare(name + " in tgatoppm", pillow_decode(netpbm), ours, 0)
    if bits == 24:
        compare(name + " against its source", ours, pillow_decode(source_ppm), 0)


def main():
    work, command = start(__doc__)
    src = test_picture()
    source_ppm = os.path.join(work, "source.ppm")
    src.save(source_ppm)

    decoded = pillow_fixtures(work, src) + magick_fixtures(work, src) + gdk_fixtures()
    refused = must_fail()
    jobs = []
    for i, (path, _) in enumerate(decoded + [(p, 0) for p in refused]):
        jobs.append(["load", path, os.path.join(work, "out%03d.ppm" % i)])
    saved = {}
    for bits in (24, 8):
        out = os.path.join(work, "ours-%d.tga" % bits)
        saved[bits] = (out, out + ".pm.ppm")
        jobs.append(["save", source_ppm, out, str(bits)])
        jobs.append(["load", out, out + ".pm.ppm"])

    answers = run_jobs(command, work, jobs)

    for i, (path, tolerance) in enumerate(decoded):
        name = os.path.relpath(path, GDK) if path.startswith(GDK) else os.path.basename(path)
        if answers[i] != "ok":
            problem("%s: %s" % (name, answers[i]))
            continue
        compare(name, pillow_decode(jobs[i][2]), reference(path), tolerance)
    for k, path in enumerate(refused):
        answer = answers[len(decoded) + k]
        if not answer.startswith("error "):
            problem("%s: decoded, expected an error" % os.path.relpath(path, GDK))
    base = len(decoded) + len(refused)
    for k, bits in enumerate((24, 8)):
        out, ppm = saved[bits]
        if answers[base + 2 * k] != "ok" or answers[base + 2 * k + 1] != "ok":
            problem("%d-bit save: %s / %s" % (bits, answers[base + 2 * k], answers[base + 2 * k + 1]))
            continue
        check_saved(out, bits, ppm, source_ppm)

    checked = len(decoded) + len(refused) + 2
    finish("%d files checked" % checked)


if __name__ == "__main__":
    main()
