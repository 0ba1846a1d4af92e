#!/usr/bin/python3
"""Cross-checks the PCX reader and writer against independent decoders.

usage: pcx_crosscheck.py <work folder> "<command running pmconv>"

Reading: files written by ImageMagick (-type Palette at 256, 16 and 2
colours, TrueColor, Grayscale, Bilevel; odd widths, so odd bytes per line),
by Pillow (modes 1, L, P, RGB) and by netpbm's ppmtopcx (bit planes for 2, 4,
8 and 16 colours, a black and white picture, -8bit, -24bit) must decode as
Pillow decodes them. Pillow cannot read three bit planes and shows every
one-plane, one-bit file black and white whatever its header palette says;
for those netpbm's pcxtoppm is the reference.
Refused with EInvalidImage: ppmtopcx -packed (2 and 4 bits in one plane),
ImageMagick's four planes (RGBA), an 8-bit file without the palette marker,
and a run that crosses the end of a row.
Writing: our 1, 4, 8 and 24-bit files (widths 1, 3, 17 and 37) must carry
the header the depth asks for and decode in Pillow, ImageMagick and
pcxtoppm to the pixels our own reader gives; at 24 bits to the source.
Pillow and ImageMagick show one-plane, one-bit files in two levels of their
own choosing (ImageMagick even shows ppmtopcx's black and white inverted):
there their two levels must split the pixels exactly as our two colours do.
Exits non-zero on any difference.
"""
import os
import struct
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(__file__))
from crosscheck import (add_save_jobs, check_save_answers, compare, finish, magick_decode, pillow_decode,  # noqa: E402
                        problem, run_jobs, start, test_picture, tool_decode, tool_output)



def few_colours(width, height, colours, seed):
    """Stretches of one colour between single pixels, values of 192 and more
    included (they must be coded as runs even when single)."""
    palette = [((i * 53 + 200) & 255, (i * 97 + 40) & 255, (i * 151 + 80) & 255) for i in range(colours)]
    im = Image.new("RGB", (width, height))
    px = im.load()
    for y in range(height):
        x = 0
        while x < width:
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            colour = palette[(seed >> 16) % colours]
            for _ in range(1 + (seed >> 8) % 6):
                if x < width:
                    px[x, y] = colour
                    x += 1
    return im


def run(args, out_path=None, stdin=None):
    if out_path is None:
        return tool_output(args)
    with open(out_path, "wb") as out:
        subprocess.run(args, stdout=out, stdin=stdin, stderr=subprocess.DEVNULL, check=True)
    return None


# ---- files made by the tools ----------------------------------------------

def magick_fixtures(work, png):
    kinds = (("m-palette", ["-type", "Palette"]),
             ("m-palette16", ["-type", "Palette", "-colors", "16"]),
             ("m-palette2", ["-type", "Palette", "-colors", "2"]),
             ("m-true", ["-type", "TrueColor"]),
             ("m-grey", ["-type", "Grayscale"]),
             ("m-bilevel", ["-type", "Bilevel"]))
    made = []
    for name, options in kinds:
        path = os.path.join(work, name + ".pcx")
        subprocess.run(["convert", png] + options + [path], check=True)
        made.append((path, "pillow"))
    return made


def pillow_fixtures(work, src):
    made = []
    for name, im in (("1", src.convert("1")), ("l", src.convert("L")), ("p", src.quantize(40)), ("rgb", src)):
        path = os.path.join(work, "pil-%s.pcx" % name)
        im.save(path)
        made.append((path, "pillow"))
    return made


def netpbm_fixtures(work, ppm):
    made = []
    for colours in (2, 4, 8, 16):
        quant = os.path.join(work, "quant%d.ppm" % colours)
        run(["pnmquant", str(colours), ppm], quant)
        path = os.path.join(work, "netpbm-planes-%d.pcx" % colours)
        run(["ppmtopcx", quant], path)
        made.append((path, "pillow" if colours in (4, 16) else "pcxtoppm"))
    mono = os.path.join(work, "mono.pbm")
    run(["ppmtopgm", ppm], mono + ".pgm")
    run(["pgmtopbm", mono + ".pgm"], mono)
    path = os.path.join(work, "netpbm-mono.pcx")
    run(["ppmtopcx", mono], path)
    made.append((path, "pillow"))
    # With more than 256 colours -8bit falls back to three planes.
    quant = os.path.join(work, "quant200.ppm")
    run(["pnmquant", "200", ppm], quant)
    for option, source in (("-8bit", quant), ("-24bit", ppm)):
        path = os.path.join(work, "netpbm%s.pcx" % option)
        run(["ppmtopcx", option, source], path)
        made.append((path, "pillow"))
    return made


def refused_fixtures(work, ppm, png):
    """Files the reader must refuse: (path, the start of the detail)."""
    made = []
    for colours in (4, 16):
        quant = os.path.join(work, "quant%d.ppm" % colours)
        path = os.path.join(work, "netpbm-packed-%d.pcx" % colours)
        run(["ppmtopcx", "-packed", quant], path)
        made.append((path, "PCX: not 8 bits"))
    path = os.path.join(work, "m-rgba.pcx")
    subprocess.run(["convert", png, "-alpha", "set", "-type", "TrueColorAlpha", path], check=True)
    made.append((path, "PCX: not 8 bits"))
    good = open(os.path.join(work, "netpbm-8bit.pcx"), "rb").read()
    path = os.path.join(work, "made-no-marker.pcx")
    with open(path, "wb") as f:
        f.write(good[:-769] + b"\x0b" + good[-768:])
    made.append((path, "PCX: 256-colour palette marker"))
    # 3 x 2 at 24 bits: row 0 is fine, row 1's blue line runs on by one.
    header = header_bytes(8, 3, 3, 2, 3)
    path = os.path.join(work, "made-run-past-row.pcx")
    with open(path, "wb") as f:
        f.write(header + bytes((1, 2, 3, 4, 5, 6, 7, 8, 9, 0xC6, 50, 0xC4, 60)))
    made.append((path, "PCX: run past the end of a row"))
    return made


def header_bytes(bits, planes, width, height, bytes_per_line):
    h = struct.pack("<BBBBHHHHHH", 10, 5, 1, bits, 0, 0, width - 1, height - 1, 72, 72)
    h += bytes(48) + bytes((0, planes)) + struct.pack("<HH", bytes_per_line, 1)
    return h + bytes(128 - len(h))


# ---- decoding and comparing -----------------------------------------------

def netpbm_decode(path):
    return tool_decode(["pcxtoppm", path])


DECODERS = {"pillow": ("Pillow", pillow_decode), "magick": ("ImageMagick", magick_decode),
            "pcxtoppm": ("pcxtoppm", netpbm_decode)}


def compare_levels(name, theirs, ours):
    """theirs must map each of our colours to one colour of its own, a
    different one for each."""
    if ours[0] != theirs[0]:
        problem("%s: size %s, expected %s" % (name, theirs[0], ours[0]))
        return
    a, b = ours[1], theirs[1]
    levels = {}
    for i in range(0, len(a), 3):
        mine, its = a[i:i + 3], b[i:i + 3]
        if levels.setdefault(mine, its) != its:
            w = ours[0][0]
            problem("%s: pixel (%d, %d) splits from the others of its colour" % (name, i // 3 % w, i // 3 // w))
            return
    if len(set(levels.values())) != len(levels):
        problem("%s: two of our colours became one" % name)


def check_header(name, data, bits, width, height):
    maker, version, encoding, per_plane, xmin, ymin, xmax, ymax = struct.unpack("<BBBBHHHH", data[:12])
    planes, bytes_per_line = data[65], struct.unpack("<H", data[66:68])[0]
    want = (1, bits, (width + 7) // 8) if bits <= 4 else (8, bits // 8, width)
    got = (per_plane, planes, bytes_per_line)
    if (maker, version, encoding) != (10, 5, 1) or got != want:
        problem("%s: header %s, expected %s" % (name, (maker, version, encoding) + got, (10, 5, 1) + want))
    if (xmin, ymin, xmax, ymax) != (0, 0, width - 1, height - 1):
        problem("%s: window %s for %d x %d" % (name, (xmin, ymin, xmax, ymax), width, height))
    if bits == 8 and (len(data) < 128 + 769 or data[-769] != 12):
        problem("%s: no palette marker 769 bytes before the end" % name)


def check_saved(path, bits, ours_ppm, source):
    name = os.path.basename(path)
    ours = pillow_decode(ours_ppm)
    check_header(name, open(path, "rb").read(), bits, ours[0][0], ours[0][1])
    for key in ("pillow", "magick", "pcxtoppm"):
        tool, decode = DECODERS[key]
        exact = bits > 1 or key == "pcxtoppm"
        try:
            (compare if exact else compare_levels)("%s in %s" % (name, tool), decode(path), ours)
        except (OSError, ValueError, subprocess.CalledProcessError) as e:
            problem("%s: %s cannot read it: %s" % (name, tool, e))
    if bits == 24:
        compare(name + " against its source", ours, pillow_decode(source))


def save_cases(work, src_ppm):
    """(source ppm, output path, bits): the test picture and narrow pictures
    at every depth written."""
    cases = [(src_ppm, os.path.join(work, "ours-%d.pcx" % bits), bits) for bits in (1, 4, 8, 24)]
    for width in (1, 3, 17):
        ppm = os.path.join(work, "narrow-%d.ppm" % width)
        few_colours(width, 5, 12, seed=width).save(ppm)
        for bits in (1, 4, 8, 24):
            cases.append((ppm, os.path.join(work, "narrow-%d-%d.pcx" % (width, bits)), bits))
    return cases


def main():
    work, command = start(__doc__)
    src = test_picture(blue=200)
    png = os.path.join(work, "source.png")
    src_ppm = os.path.join(work, "source.ppm")
    src.save(png)
    src.save(src_ppm)

    decoded = magick_fixtures(work, png) + pillow_fixtures(work, src) + netpbm_fixtures(work, src_ppm)
    refused = refused_fixtures(work, src_ppm, png)
    jobs = [["load", path, os.path.join(work, "out%03d.ppm" % i)] for i, (path, _) in enumerate(decoded)]
    jobs += [["load", path, os.path.join(work, "refused%03d.ppm" % i)] for i, (path, _) in enumerate(refused)]
    cases = save_cases(work, src_ppm)
    add_save_jobs(jobs, cases)

    answers = run_jobs(command, work, jobs)

    for i, (path, reference) in enumerate(decoded):
        name = os.path.basename(path)
        if answers[i] != "ok":
            problem("%s: %s" % (name, answers[i]))
            continue
        tool, decode = DECODERS[reference]
        try:
            theirs = decode(path)
        except (OSError, ValueError, subprocess.CalledProcessError) as e:
            problem("%s: %s cannot read it: %s" % (name, tool, e))
            continue
        compare("%s (as %s reads it)" % (name, tool), pillow_decode(jobs[i][2]), theirs)
    base = len(decoded)
    for i, (path, detail) in enumerate(refused):
        answer = answers[base + i]
        if not answer.startswith("error EInvalidImage " + detail):
            problem("%s: %s, expected EInvalidImage %s..." % (os.path.basename(path), answer, detail))
    check_save_answers(answers, base + len(refused), cases, check_saved)

    finish("%d files read, %d refused, %d written" % (len(decoded), len(refused), len(cases)))


if __name__ == "__main__":
    main()
