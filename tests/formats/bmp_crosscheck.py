#!/usr/bin/python3
"""Cross-checks the BMP reader and writer against independent decoders.

usage: bmp_crosscheck.py <work folder> "<command running pmconv>"

Reading: files written by ImageMagick (BMP2 short headers, BMP3, BMP with a
V5 header; 1, 4, 8, 24 bits, RLE8, 5-6-5 and 5-5-5 bit fields, 32 bits with
masks), by Pillow (modes 1, L, P, RGB), by netpbm's ppmtobmp (1, 4, 8, 24
bits, Windows and OS/2 headers) and files made here (top-down 24 and 32
bits, 32-bit masks in R, G, B order, RLE4, RLE8 with moves and runs that
cross rows) must decode as Pillow decodes them. Where Pillow misreads run-
length data (a move reads four bytes, an odd RLE4 literal run loses its last
nibble), ImageMagick is the reference. Pixels that run-length data leaves
unset are black for us and palette entry 0 for the others: those files never
use entry 0, whose colour then stands for black.
Writing: our 1, 4, 8 and 24-bit .bmp files and 4 and 8-bit .rle files, rows
of widths 1 to 33 mixing runs and literals, must decode in Pillow,
ImageMagick and netpbm's bmptopnm to the pixels our own reader gives, carry
the compression their name asks for (also as identify -verbose reports it),
and at 24 bits equal their source.
Exits non-zero on any difference.
"""
import os
import struct
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(__file__))
from crosscheck import (add_save_jobs, check_save_answers, compare, finish, magick_decode, run_jobs,  # noqa: E402
                        pillow_decode, problem, start, test_picture, tool_decode, write_file)

UNSET = (1, 2, 3)  # palette entry 0 of the run-length files made here


def few_colours(width, height, colours=16, seed=7):
    """A picture of a few colours: stretches of one colour between single
    pixels, so that coded rows mix runs and literals."""
    palette = [((i * 53) & 255, (i * 97 + 40) & 255, (i * 151 + 80) & 255) for i in range(colours)]
    im = Image.new("RGB", (width, height))
    px = im.load()
    for y in range(height):
        x = 0
        while x < width:
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            n = 1 + (seed >> 8) % 6
            colour = palette[(seed >> 16) % colours]
            for _ in range(n):
                if x < width:
                    seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
                    px[x, y] = colour if (seed >> 12) % 3 else palette[(seed >> 4) % colours]
                    x += 1
    return im


# ---- files made here ------------------------------------------------------

def bmp_file(width, height, bits, compression, data, palette=(), masks=(), header=40):
    """A bitmap file: palette as (R, G, B); masks after a 40-byte header or
    inside a longer one."""
    info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, compression, len(data), 0, 0,
                       len(palette), 0)
    extra = b"".join(struct.pack("<I", m) for m in masks)
    if header > 40:
        info += (extra + bytes(header - 40))[:header - 40]
    else:
        info += extra
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + len(info) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + table + data


def rows_bottom_up(im, pack):
    """Stored rows of im, bottom first, each packed by pack(row pixels) and
    padded to whole words."""
    w, h = im.size
    px = im.load()
    out = b""
    for y in reversed(range(h)):
        row = pack([px[x, y] for x in range(w)])
        out += row + bytes(-len(row) % 4)
    return out


def crafted_true_colour(work, src):
    w, h = src.size
    made = []
    bgr = rows_bottom_up(src, lambda row: b"".join(bytes((b, g, r)) for r, g, b in row))
    stride = len(bgr) // h
    top_down = b"".join(bgr[(h - 1 - y) * stride:(h - y) * stride] for y in range(h))
    made.append(("made-24-topdown.bmp", bmp_file(w, -h, 24, 0, top_down), "pillow", 0))
    # The fourth byte is noise: neither alpha nor flag.
    bgrx = rows_bottom_up(src, lambda row: b"".join(bytes((b, g, r, (r * 3 + g) & 255)) for r, g, b in row))
    stride = len(bgrx) // h
    top_down = b"".join(bgrx[(h - 1 - y) * stride:(h - y) * stride] for y in range(h))
    made.append(("made-32-topdown.bmp", bmp_file(w, -h, 32, 0, top_down), "pillow", 0))
    made.append(("made-32-fields-bgr.bmp",
                 bmp_file(w, h, 32, 3, bgrx, masks=(0xFF0000, 0xFF00, 0xFF)), "pillow", 0))
    # R, G, B, A in memory order; a V4 header names the alpha mask for Pillow.
    rgba = rows_bottom_up(src, lambda row: b"".join(bytes((r, g, b, 255)) for r, g, b in row))
    made.append(("made-32-fields-rgb.bmp",
                 bmp_file(w, h, 32, 3, rgba, masks=(0xFF, 0xFF00, 0xFF0000, 0xFF000000), header=108),
                 "pillow", 0))
    return made


def indices(width, height, colours, seed):
    """Index rows, bottom row first, never using index 0."""
    rows = []
    for _ in range(height):
        row = []
        while len(row) < width:
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            value = 1 + (seed >> 16) % (colours - 1)
            row += [value] * (1 + (seed >> 8) % 7) if seed & 1 else [value]
        rows.append(row[:width])
    return rows


def rle_rows(rows, rle4, even_literals):
    """Codes full rows: runs of one value (RLE8) or of a repeated pair (RLE4),
    the rest as absolute runs (kept even for RLE4 when even_literals)."""
    out = b""
    for row in rows:
        i = 0
        while i < len(row):
            n = 1
            while i + n < len(row) and n < 255 and row[i + n] == row[i + (n & 1 if rle4 else 0)]:
                n += 1
            if n >= 3:
                value = row[i] << 4 | (row[i + 1] if n > 1 else 0) if rle4 else row[i]
                out += bytes((n, value))
                i += n
                continue
            k = 3
            while i + k < len(row) and k < 40 and row[i + k] != row[i + k - 1]:
                k += 1
            k = min(k, len(row) - i)
            if rle4 and even_literals:
                k &= ~1
            if k < 3:
                out += bytes((1, row[i] << 4 if rle4 else row[i]))
                i += 1
                continue
            out += absolute(row[i:i + k], rle4)
            i += k
        out += b"\0\0"
    return out + b"\0\1"


def absolute(values, rle4):
    if rle4:
        padded = list(values) + [0] * (len(values) & 1)
        data = bytes(padded[j] << 4 | padded[j + 1] for j in range(0, len(padded), 2))
    else:
        data = bytes(values)
    return bytes((0, len(values))) + data + bytes(len(data) & 1)


def rle_palette(colours):
    return [UNSET] + [((i * 37) & 255, (i * 71 + 9) & 255, (i * 113 + 50) & 255) for i in range(1, colours)]


def crafted_rle():
    made = []
    rows = indices(29, 11, 16, 5)
    made.append(("made-rle4-even.bmp", bmp_file(29, 11, 4, 2, rle_rows(rows, True, True), rle_palette(16)),
                 "pillow", 0))
    made.append(("made-rle4-odd.bmp", bmp_file(29, 11, 4, 2, rle_rows(rows, True, False), rle_palette(16)),
                 "magick", 0))
    rows = indices(31, 9, 200, 9)
    made.append(("made-rle8.bmp", bmp_file(31, 9, 8, 1, rle_rows(rows, False, False), rle_palette(200)),
                 "pillow", 0))
    # Moves: from within a row, over whole rows, and an unfinished row.
    moves = (bytes((5, 1, 0, 2, 4, 0)) + absolute([2, 3, 4, 5, 6], False) + bytes((6, 8, 0, 0))
             + bytes((3, 2, 0, 2, 2, 2, 15, 9, 0, 0))
             + absolute(list(range(10, 30)), False) + b"\0\0"
             + bytes((10, 3, 0, 0, 0, 2, 7, 1, 13, 4, 0, 0, 0, 1)))
    made.append(("made-rle8-delta.bmp", bmp_file(20, 8, 8, 1, moves, rle_palette(40)), "magick", 0))
    # Absolute runs that run on into the next row and fill it.
    crossing = (absolute(list(range(1, 15)), False) + absolute(list(range(15, 21)), False) + b"\0\0"
                + bytes((10, 6, 0, 0)) + absolute(list(range(21, 31)), False) + absolute([31, 32, 33], False)
                + absolute(list(range(34, 41)), False) + b"\0\0" + bytes((4, 7, 6, 8, 0, 0, 0, 1)))
    made.append(("made-rle8-crossing.bmp", bmp_file(10, 6, 8, 1, crossing, rle_palette(50)), "pillow", 0))
    return made


# ---- files made by the tools ----------------------------------------------

def magick_fixtures(work, png):
    """(name, tolerance): 16-bit files may differ by 1 per channel, as
    Pillow and ImageMagick widen v * 255 / 31 where we repeat the top bits."""
    kinds = (("m3-24", ["BMP3:"], 0),
             ("m3-8", ["-type", "Palette", "-colors", "200", "-compress", "None", "BMP3:"], 0),
             ("m3-4", ["-type", "Palette", "-colors", "16", "BMP3:"], 0),
             ("m3-1", ["-type", "Palette", "-colors", "2", "BMP3:"], 0),
             ("m3-bilevel", ["-type", "Bilevel", "BMP3:"], 0),
             ("m3-rle8", ["-type", "Palette", "-colors", "100", "-compress", "RLE", "BMP3:"], 0),
             ("m2-24", ["BMP2:"], 0),
             ("m2-8", ["-type", "Palette", "-colors", "200", "BMP2:"], 0),
             ("m2-4", ["-type", "Palette", "-colors", "16", "BMP2:"], 0),
             ("m2-1", ["-type", "Palette", "-colors", "2", "BMP2:"], 0),
             ("m5-24", ["BMP:"], 0),
             ("m5-565", ["-define", "bmp:subtype=RGB565", "BMP:"], 1),
             ("m5-555", ["-define", "bmp:subtype=RGB555", "BMP:"], 1),
             ("m5-32", ["-alpha", "set", "BMP:"], 0))
    # It codes rows with their padding: at this width a run of the last
    # colour often runs on into the padding.
    narrow = os.path.join(work, "few-35.png")
    few_colours(35, 9, 12, seed=35).save(narrow)
    made = []
    for name, options, tolerance in kinds + (("m3-rle8-35", ["-compress", "RLE", "BMP3:"], 0),):
        path = os.path.join(work, name + ".bmp")
        source = narrow if name.endswith("-35") else png
        subprocess.run(["convert", source] + options[:-1] + [options[-1] + path], check=True)
        made.append((path, tolerance))
    return made


def pillow_fixtures(work, src):
    made = []
    for name, im in (("1", src.convert("1")), ("l", src.convert("L")), ("p", src.quantize(40)), ("rgb", src)):
        path = os.path.join(work, "pil-%s.bmp" % name)
        im.save(path)
        made.append((path, 0))
    return made


def netpbm_fixtures(work, ppm):
    made = []
    for bits in (1, 4, 8, 24):
        source = ppm
        if bits < 24:
            source = os.path.join(work, "quant%d.ppm" % bits)
            with open(source, "wb") as out:
                subprocess.run(["pnmquant", str(1 << bits), ppm], stdout=out, stderr=subprocess.DEVNULL, check=True)
        for header in ("windows", "os2"):
            path = os.path.join(work, "netpbm-%d-%s.bmp" % (bits, header))
            with open(path, "wb") as out:
                subprocess.run(["ppmtobmp", "-" + header, "-bpp", str(bits), source], stdout=out,
                               stderr=subprocess.DEVNULL, check=True)
            made.append((path, 0))
    return made


# ---- decoding and comparing -----------------------------------------------

def netpbm_decode(path):
    return tool_decode(["bmptopnm", path])


def unset_to_black(decoded):
    size, data = decoded
    out = bytearray(data)
    for i in range(0, len(out), 3):
        if tuple(out[i:i + 3]) == UNSET:
            out[i:i + 3] = b"\0\0\0"
    return size, bytes(out)


def identify_compression(path):
    out = subprocess.run(["identify", "-verbose", path], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         universal_newlines=True).stdout
    for line in out.splitlines():
        if line.strip().startswith("Compression:"):
            return line.split(":", 1)[1].strip()
    return None


def check_saved(path, bits, ours_ppm, source):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    rle = path.lower().endswith(".rle") and bits in (4, 8)
    compression = {4: 2, 8: 1}[bits] if rle else 0
    header = struct.unpack("<IiiHHI", data[14:34])
    if header != (40, header[1], header[2], 1, bits, compression) or header[2] <= 0:
        problem("%s: header %s, expected %d bits, compression %d" % (name, header, bits, compression))
    if struct.unpack("<I", data[2:6])[0] != len(data):
        problem("%s: file size field %d, file %d bytes" % (name, struct.unpack("<I", data[2:6])[0], len(data)))
    if rle:
        reported = identify_compression(path)
        if reported not in ("RLE", "RLE4", "RLE8", "BI_RLE4", "BI_RLE8"):
            problem("%s: identify reports compression %r" % (name, reported))
    ours = pillow_decode(ours_ppm)
    for tool, decode in (("Pillow", pillow_decode), ("ImageMagick", magick_decode), ("bmptopnm", netpbm_decode)):
        try:
            compare("%s in %s" % (name, tool), decode(path), ours)
        except (OSError, ValueError, subprocess.CalledProcessError) as e:
            problem("%s: %s cannot read it: %s" % (name, tool, e))
    if bits == 24:
        compare(name + " against its source", ours, pillow_decode(source))


def save_cases(work, src_ppm):
    """(source ppm, output path, bits): the test picture at every depth, and
    narrow pictures of widths 1 to 33 as RLE files."""
    cases = []
    for bits in (1, 4, 8, 24):
        cases.append((src_ppm, os.path.join(work, "ours-%d.bmp" % bits), bits))
    for bits in (4, 8):
        cases.append((src_ppm, os.path.join(work, "ours-%d.rle" % bits), bits))
    for width in range(1, 34):
        ppm = os.path.join(work, "narrow-%d.ppm" % width)
        few_colours(width, 7, 12, seed=width).save(ppm)
        for bits in (4, 8):
            cases.append((ppm, os.path.join(work, "narrow-%d-%d.rle" % (width, bits)), bits))
        if width in (1, 2, 7, 8, 9, 31, 32, 33):
            for bits in (1, 4, 8, 24):
                cases.append((ppm, os.path.join(work, "narrow-%d-%d.bmp" % (width, bits)), bits))
    return cases


def main():
    work, command = start(__doc__)
    src = test_picture()
    png = os.path.join(work, "source.png")
    src_ppm = os.path.join(work, "source.ppm")
    src.save(png)
    src.save(src_ppm)

    decoded = [(path, "pillow", tolerance) for path, tolerance in
               magick_fixtures(work, png) + pillow_fixtures(work, src) + netpbm_fixtures(work, src_ppm)]
    for name, data, reference, tolerance in crafted_true_colour(work, src) + crafted_rle():
        decoded.append((write_file(work, name, data), reference, tolerance))
    jobs = [["load", path, os.path.join(work, "out%03d.ppm" % i)] for i, (path, _, _) in enumerate(decoded)]
    cases = save_cases(work, src_ppm)
    add_save_jobs(jobs, cases)

    answers = run_jobs(command, work, jobs)

    for i, (path, reference, tolerance) in enumerate(decoded):
        name = os.path.basename(path)
        if answers[i] != "ok":
            problem("%s: %s" % (name, answers[i]))
            continue
        try:
            theirs = pillow_decode(path) if reference == "pillow" else magick_decode(path)
        except (OSError, ValueError, subprocess.CalledProcessError) as e:
            problem("%s: %s cannot read it: %s" % (name, reference, e))
            continue
        if name.startswith("made-rle"):
            theirs = unset_to_black(theirs)
        compare("%s (as %s reads it)" % (name, reference), pillow_decode(jobs[i][2]), theirs, tolerance)
    check_save_answers(answers, len(decoded), cases, check_saved)

    finish("%d files read, %d written" % (len(decoded), len(cases)))


if __name__ == "__main__":
    main()
