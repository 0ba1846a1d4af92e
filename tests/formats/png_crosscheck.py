#!/usr/bin/python3
"""Cross-checks the PNG reader and writer, and the inflate and deflate code
under them, against independent decoders.

usage: png_crosscheck.py <work folder> "<command running pmconv>"

Reading: the PngSuite images Debian ships with the Go sources, and every
PNG variant that ImageMagick (PNG8, PNG24, PNG32, PNG48, PNG64, grey of 1 to
16 bits, grey with alpha, interlaced, each compression level and filter),
netpbm's pnmtopng (palette, grey, 16-bit, interlaced, transparent, with
background) and Pillow (modes 1, L, P of 1, 2, 4 and 8 bits, LA, RGB, RGBA,
16-bit grey) write, must decode as Pillow decodes them: 16-bit samples by
their high byte, alpha dropped. So must files made here: every colour type
and depth at widths 1 to 17, interlaced or not, rows with all five filters,
image data compressed by zlib at every level and strategy (stored, fixed
and dynamic blocks) and split over IDAT chunks of random sizes, empty ones
included, with the Adler-32 across two chunks or alone in the last one.
Damaged files (CRC errors in IHDR or IDAT, a chunk between IDATs, a corrupt
deflate stream, a wrong Adler-32) must be refused; a CRC error in tEXt
must not matter.
Writing: our 1, 2, 4, 8 and 24-bit files, interlaced or not, must pass
pngcheck, hold IHDR, tEXt, PLTE, bKGD, tRNS (as asked), one IDAT and IEND in
that order, whose zlib stream Python's zlib restores, and decode in Pillow
and ImageMagick to the pixels our reader gives; at 24 bits those equal the
source. A transparent 24-bit save must be transparent for ImageMagick.
Exits non-zero on any difference.
"""
import glob
import io
import os
import random
import shlex
import struct
import subprocess
import sys
import zlib

from PIL import Image

sys.path.insert(0, os.path.dirname(__file__))
from crosscheck import compare, finish, problem, run_jobs  # noqa: E402

SUITE = "/usr/share/go-1.19/src/image/png/testdata"  # Debian's golang-1.19-src
MAGICK = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
SIGNATURE = b"\x89PNG\r\n\x1a\n"
ADAM7 = ((8, 0, 8, 0), (8, 0, 8, 4), (8, 4, 4, 0), (4, 0, 4, 2), (4, 2, 2, 0), (2, 0, 2, 1), (2, 1, 1, 0))
DEPTHS = {0: (1, 2, 4, 8, 16), 2: (8, 16), 3: (1, 2, 4, 8), 4: (8, 16), 6: (8, 16)}
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
STRATEGIES = (("default", zlib.Z_DEFAULT_STRATEGY), ("filtered", zlib.Z_FILTERED),
              ("huffman", zlib.Z_HUFFMAN_ONLY), ("rle", zlib.Z_RLE), ("fixed", zlib.Z_FIXED))


# ---- a PNG writer for the files made here ----------------------------------

def chunk(kind, data, crc_change=0):
    crc = (zlib.crc32(kind + data) ^ crc_change) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def pack_row(samples, depth):
    """A row of sample values at the depth, most significant first."""
    if depth == 16:
        return b"".join(struct.pack(">H", v) for v in samples)
    if depth == 8:
        return bytes(samples)
    out, acc, bits = bytearray(), 0, 0
    for v in samples:
        acc = acc << depth | v
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_row(kind, row, prev, bpp):
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        pred = (0, a, b, (a + b) >> 1, paeth(a, b, c))[kind]
        out[i] = (x - pred) & 255
    return bytes((kind,)) + bytes(out)


def image_data(pixels, width, height, colour_type, depth, interlace, rng):
    """Filtered rows of every pass, each row with a random filter."""
    channels = CHANNELS[colour_type]
    bpp = max(1, channels * depth // 8)
    passes = ADAM7 if interlace else ((1, 0, 1, 0),)
    out = bytearray()
    for row_step, first_row, col_step, first_col in passes:
        cols = range(first_col, width, col_step)
        rows = range(first_row, height, row_step)
        if not cols or not rows:
            continue
        prev = None
        for y in rows:
            row = pack_row([s for x in cols for s in pixels[y][x]], depth)
            prev = prev or bytes(len(row))
            out += filter_row(rng.randrange(5), row, prev, bpp)
            prev = row
    return bytes(out)


def split(data, rng, empty=True):
    """The stream in pieces of random sizes, empty ones among them."""
    pieces, i = [], 0
    while i < len(data):
        n = rng.choice((0, 1, 2, 3, 7, 50, 300, 4096)) if empty else rng.randrange(1, 300)
        if n == 0 and not empty:
            continue
        pieces.append(data[i:i + n])
        i += n
    return pieces or [b""]


def png_file(width, height, colour_type, depth, pixels, interlace=0, palette=None, trns=None, bkgd=None,
             level=6, strategy=zlib.Z_DEFAULT_STRATEGY, pieces=None, rng=None, before_idat=b"", text=None):
    rng = rng or random.Random(1)
    raw = image_data(pixels, width, height, colour_type, depth, interlace, rng)
    co = zlib.compressobj(level, zlib.DEFLATED, 15, 9, strategy)
    stream = co.compress(raw) + co.flush()
    head = SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace))
    if text:
        head += text
    if palette is not None:
        head += chunk(b"PLTE", bytes(v for rgb in palette for v in rgb))
    if bkgd is not None:
        head += chunk(b"bKGD", bkgd)
    if trns is not None:
        head += chunk(b"tRNS", trns)
    head += before_idat
    body = b"".join(chunk(b"IDAT", p) for p in (pieces(stream) if pieces else [stream]))
    return head + body + chunk(b"IEND", b"")


TEXT = open(__file__, "rb").read()


def random_pixels(width, height, colour_type, depth, rng, palette_size=None):
    """Rows mixing noise, flat runs, gradients and text."""
    top = (palette_size if colour_type == 3 else 1 << depth) - 1
    channels = CHANNELS[colour_type]
    rows = []
    for y in range(height):
        kind = rng.randrange(4)
        at = rng.randrange(len(TEXT) - width * channels)
        flat = tuple(rng.randint(0, top) for _ in range(channels))
        row = []
        for x in range(width):
            if kind == 0:
                row.append(tuple(rng.randint(0, top) for _ in range(channels)))
            elif kind == 1:
                row.append(flat)
            elif kind == 3:
                row.append(tuple(TEXT[at + x * channels + c] % (top + 1) for c in range(channels)))
            else:
                row.append(tuple((x * 37 + y * 11 + c * 50) * (top + 1) // 256 % (top + 1) for c in range(channels)))
        rows.append(row)
    return rows


def random_palette(n, rng):
    return [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(n)]


def matrix_files(rng):
    """Every colour type and depth, interlaced or not, at widths 1 to 17."""
    made = []
    for colour_type, depths in DEPTHS.items():
        for depth in depths:
            for interlace in (0, 1):
                for width in range(1, 18):
                    height = rng.randrange(1, 12)
                    size = rng.randint(2, 1 << depth) if colour_type == 3 else None
                    palette = random_palette(size, rng) if size else None
                    pixels = random_pixels(width, height, colour_type, depth, rng, size)
                    name = "made-c%d-d%d-i%d-w%d.png" % (colour_type, depth, interlace, width)
                    made.append((name, png_file(width, height, colour_type, depth, pixels, interlace, palette,
                                                rng=rng, pieces=lambda s: split(s, rng))))
    return made


def zlib_files(rng):
    """Random payloads under every zlib level and strategy, split at random."""
    made = []
    for n in range(200):
        colour_type = rng.choice((0, 2, 3, 6))
        depth = rng.choice(DEPTHS[colour_type])
        width, height = rng.randrange(1, 70), rng.randrange(1, 40)
        size = rng.randint(2, 1 << depth) if colour_type == 3 else None
        palette = random_palette(size, rng) if size else None
        pixels = random_pixels(width, height, colour_type, depth, rng, size)
        settings = [(str(level), level, zlib.Z_DEFAULT_STRATEGY) for level in range(10)]
        settings += [(name, 6, strategy) for name, strategy in STRATEGIES[1:]]
        for label, level, strategy in settings:
            name = "zlib-%03d-%s.png" % (n, label)
            made.append((name, png_file(width, height, colour_type, depth, pixels, rng.randrange(2), palette,
                                        level=level, strategy=strategy, rng=random.Random(n),
                                        pieces=lambda s: split(s, rng))))
    return made


def special_files(rng):
    """Transparency, background, Adler-32 placement and ignored damage."""
    made = []
    pixels = random_pixels(13, 7, 2, 8, rng)
    pixels[3][4] = (0xC8, 0x64, 0x32)
    made.append(("made-rgb-trns.png", png_file(13, 7, 2, 8, pixels, trns=struct.pack(">HHH", 0xC8, 0x64, 0x32),
                                               bkgd=struct.pack(">HHH", 1, 2, 3))))
    palette = random_palette(3, rng)
    made.append(("made-pal-trns.png", png_file(9, 5, 3, 2, random_pixels(9, 5, 3, 2, rng, 3), palette=palette,
                                               trns=bytes((255, 0, 255)))))
    made.append(("made-grey-trns.png", png_file(9, 5, 0, 4, random_pixels(9, 5, 0, 4, rng), trns=b"\0\x05",
                                                bkgd=b"\0\x03")))
    # Pillow refuses the damaged one: its twin without the damage is the reference.
    pixels = random_pixels(7, 7, 2, 8, rng)
    for name, change in (("made-bad-text-crc.png", 1), ("made-bad-text-crc.ref.png", 0)):
        text = chunk(b"tEXt", b"Comment\0damaged", crc_change=change)
        made.append((name, png_file(7, 7, 2, 8, pixels, text=text)))
    # The Adler-32 across two chunks, and alone in the last one.
    straddle = lambda s: [s[:-2], s[-2:]]
    alone = lambda s: [s[:-4], b"", s[-4:]]
    for name, pieces in (("made-adler-split.png", straddle), ("made-adler-alone.png", alone)):
        made.append((name, png_file(17, 9, 2, 8, random_pixels(17, 9, 2, 8, rng), pieces=pieces)))
    return made


def damaged_files(rng):
    """Files that must be refused."""
    pixels = random_pixels(11, 6, 2, 8, rng)
    good = png_file(11, 6, 2, 8, pixels, pieces=lambda s: [s[:20], s[20:]])
    made = []
    ihdr_crc = bytearray(good)
    ihdr_crc[8 + 8 + 13] ^= 1
    made.append(("bad-ihdr-crc.png", bytes(ihdr_crc)))
    idat = good.index(b"IDAT")
    idat_crc = bytearray(good)
    idat_crc[idat + 4 + 20] ^= 0x10  # the first IDAT holds 20 bytes
    made.append(("bad-idat-crc.png", bytes(idat_crc)))
    between = good[:idat - 4] + good[idat - 4:].replace(b"IDAT", b"tEXt", 2).replace(b"tEXt", b"IDAT", 1)
    made.append(("bad-chunk-between-idats.png", between))
    raw = image_data(pixels, 11, 6, 2, 8, 0, random.Random(2))
    stream = bytearray(zlib.compress(raw))
    stream[-1] ^= 1
    made.append(("bad-adler.png", SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", 11, 6, 8, 2, 0, 0, 0))
                 + chunk(b"IDAT", bytes(stream)) + chunk(b"IEND", b"")))
    # A fixed-Huffman block whose first symbol is 286.
    bits = "1" + "10" + "11000110"  # final, fixed, code of 286 (8 bits, 11000110)
    value = int(bits[::-1], 2)
    body = b"\x78\x01" + value.to_bytes(2, "little") + b"\0\0\0\0"
    made.append(("bad-symbol-286.png", SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 0, 0, 0, 0))
                 + chunk(b"IDAT", body) + chunk(b"IEND", b"")))
    return made


# ---- files made by the tools -----------------------------------------------

def test_picture(width=37, height=23, seed=1):
    """Gradients, flat areas and noise."""
    im = Image.new("RGB", (width, height))
    px = im.load()
    for y in range(height):
        for x in range(width):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            if y < height // 3:
                px[x, y] = (x * 7 & 255, y * 11 & 255, 128)
            elif y < 2 * height // 3:
                px[x, y] = (200, 30, 60) if x > width // 2 else (10, 220, 40)
            else:
                px[x, y] = (seed & 255, seed >> 8 & 255, seed >> 16 & 255)
    return im


def magick_fixtures(work, png, alpha_png):
    kinds = [("m-png8", [], "PNG8:"), ("m-png8-4", ["-colors", "16", "-define", "png:bit-depth=4"], "PNG8:"),
             ("m-png8-2", ["-colors", "4", "-define", "png:bit-depth=2"], "PNG8:"),
             ("m-png8-1", ["-colors", "2", "-define", "png:bit-depth=1"], "PNG8:"),
             ("m-png8-trns", ["-transparent", "rgb(200,30,60)"], "PNG8:"),
             ("m-png24", [], "PNG24:"), ("m-png24-trns", ["-transparent", "rgb(200,30,60)"], "PNG24:"),
             ("m-png32", [], "PNG32:"), ("m-png48", [], "PNG48:"), ("m-png64", [], "PNG64:"),
             ("m-png32-alpha", ["ALPHA"], "PNG32:"), ("m-png64-alpha", ["ALPHA"], "PNG64:")]
    for depth in (1, 2, 4, 8, 16):
        kinds.append(("m-grey%d" % depth, ["-colorspace", "Gray", "-define", "png:color-type=0",
                                           "-define", "png:bit-depth=%d" % depth], "PNG:"))
    for depth in (8, 16):
        kinds.append(("m-grey-alpha%d" % depth, ["ALPHA", "-colorspace", "Gray", "-define", "png:color-type=4",
                                                 "-define", "png:bit-depth=%d" % depth], "PNG:"))
    for level in range(10):
        kinds.append(("m-level%d" % level, ["-define", "png:compression-level=%d" % level], "PNG24:"))
    for f in range(6):
        kinds.append(("m-filter%d" % f, ["-define", "png:compression-filter=%d" % f], "PNG24:"))
    for strategy in range(5):
        kinds.append(("m-strategy%d" % strategy, ["-define", "png:compression-strategy=%d" % strategy], "PNG24:"))
    made = []
    for name, options, prefix in kinds:
        for interlace in ("", "-i"):
            source = alpha_png if "ALPHA" in options else png
            options = [o for o in options if o != "ALPHA"]
            path = os.path.join(work, name + interlace + ".png")
            extra = ["-interlace", "PNG"] if interlace else ["-interlace", "none"]
            subprocess.run([MAGICK, source] + options + extra + [prefix + path], check=True,
                           stderr=subprocess.DEVNULL)
            made.append(path)
    return made


def netpbm_fixtures(work, ppm, src):
    sources = {"rgb": ppm}
    grey = os.path.join(work, "grey.pgm")
    src.convert("L").save(grey)
    sources["grey"] = grey
    wide = os.path.join(work, "wide.ppm")
    with open(wide, "wb") as f:
        w, h = src.size
        f.write(b"P6\n%d %d\n65535\n" % (w, h))
        f.write(b"".join(struct.pack(">H", (v * 257 + (x * 7919 % 251)) & 0xFFFF)
                         for x, v in enumerate(src.tobytes())))
    sources["wide"] = wide
    few = os.path.join(work, "few.ppm")
    with open(few, "wb") as out:
        subprocess.run(["pnmquant", "12", ppm], stdout=out, stderr=subprocess.DEVNULL, check=True)
    sources["few"] = few
    made = []
    variants = (("", []), ("-i", ["-interlace"]), ("-t", ["-transparent=rgb:c8/1e/3c"]),
                ("-b", ["-background=rgb:10/20/30"]), ("-c0", ["-compression=0"]), ("-c9", ["-compression=9"]))
    for kind, source in sources.items():
        for suffix, options in variants:
            path = os.path.join(work, "netpbm-%s%s.png" % (kind, suffix))
            with open(path, "wb") as out:
                subprocess.run(["pnmtopng"] + options + [source], stdout=out, stderr=subprocess.DEVNULL,
                               check=True)
            made.append(path)
    # Grey of fewer bits: maxval 1, 3 and 15.
    for maxval in (1, 3, 15):
        pgm = os.path.join(work, "grey%d.pgm" % maxval)
        with open(pgm, "wb") as f:
            w, h = src.size
            f.write(b"P5\n%d %d\n%d\n" % (w, h, maxval) + bytes(v * maxval // 255 for v in src.convert("L").tobytes()))
        path = os.path.join(work, "netpbm-grey%d.png" % maxval)
        with open(path, "wb") as out:
            subprocess.run(["pnmtopng", pgm], stdout=out, stderr=subprocess.DEVNULL, check=True)
        made.append(path)
    return made


def pillow_fixtures(work, src):
    made = []
    images = [("1", src.convert("1"), {}), ("l", src.convert("L"), {}), ("rgb", src, {}),
              ("rgba", src.convert("RGBA"), {}), ("la", src.convert("LA"), {}),
              ("i16", Image.frombytes("I;16", src.size, b"".join(struct.pack("<H", v * 257 ^ 0x5A)
                                                                  for v in src.convert("L").tobytes())), {}),
              ("rgb-trns", src, {"transparency": (200, 30, 60)}), ("l-trns", src.convert("L"), {"transparency": 128}),
              ("rgb-opt", src, {"optimize": True})]
    for bits in (1, 2, 4, 8):
        p = src.quantize(1 << bits)
        images.append(("p%d" % bits, p, {"bits": bits}))
        images.append(("p%d-trns" % bits, p, {"bits": bits, "transparency": 1}))
    for name, im, options in images:
        path = os.path.join(work, "pil-%s.png" % name)
        im.save(path, **options)
        made.append(path)
    return made


def suite_files():
    """The PngSuite subset and the Go test pictures; the damaged ones the
    reader must refuse."""
    if not os.path.isdir(SUITE):
        sys.exit("missing %s (Debian package golang-1.19-src)" % SUITE)
    good = sorted(glob.glob(os.path.join(SUITE, "pngsuite", "*.png")))
    good += sorted(p for p in glob.glob(os.path.join(SUITE, "*.png")) if "invalid" not in os.path.basename(p))
    # invalid-noend and invalid-trunc lack only what follows the image data;
    # invalid-palette uses indices past its palette, which read as black here.
    bad = [os.path.join(SUITE, name) for name in ("invalid-crc32.png", "invalid-zlib.png")]
    return good, bad


# ---- decoding and comparing -------------------------------------------------

def pillow_decode(path):
    """Pillow's decode reduced as our reader reduces: 16-bit grey by its high
    byte (Pillow keeps 16 bits there; its 16-bit colour is already 8), alpha dropped."""
    with Image.open(path) as im:
        im.load()
        if im.mode in ("I;16", "I;16B", "I"):
            grey = bytes(min(v >> 8, 255) for v in im.getdata())
            return im.size, bytes(b for v in grey for b in (v, v, v))
        if im.mode == "P":
            im = im.convert("RGBA")
        return im.size, im.convert("RGB").tobytes()


def magick_decode(path):
    out = subprocess.run([MAGICK, path, "-alpha", "off", "-depth", "8", "ppm:-"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, check=True).stdout
    im = Image.open(io.BytesIO(out))
    return im.size, im.convert("RGB").tobytes()


def ppm_pixels(path):
    im = Image.open(path)
    return im.size, im.convert("RGB").tobytes()


def chunks_of(data):
    """(type, data) of every chunk, or None when the file is not a chunk list."""
    if data[:8] != SIGNATURE:
        return None
    out, i = [], 8
    while i + 12 <= len(data):
        n, = struct.unpack(">I", data[i:i + 4])
        out.append((data[i + 4:i + 8], data[i + 8:i + 8 + n]))
        i += 12 + n
    return out if i == len(data) else None


def check_saved(path, bits, interlaced, transparent, ours_ppm, source):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    chunks = chunks_of(data)
    if chunks is None:
        problem("%s: not a list of chunks" % name)
        return
    kinds = [k for k, _ in chunks]
    # A transparent save is given the colour in a GFXtra32, which also writes bKGD.
    expected = ([b"IHDR", b"tEXt"] + ([b"PLTE"] if bits <= 8 else []) + ([b"bKGD", b"tRNS"] if transparent else [])
                + [b"IDAT", b"IEND"])
    if kinds != expected or chunks[1][1] != b"Software\0Corvane":
        problem("%s: chunks %s, expected %s; tEXt %r" % (name, kinds, expected, chunks[1][1]))
    width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    want = (min(bits, 8), 3 if bits <= 8 else 2, 1 if interlaced else 0)
    if (depth, colour_type, interlace) != want:
        problem("%s: depth, colour type, interlace %s, expected %s"
                % (name, (depth, colour_type, interlace), want))
    idat = b"".join(d for k, d in chunks if k == b"IDAT")
    try:
        zlib.decompress(idat)
    except zlib.error as e:
        problem("%s: Python's zlib cannot restore the image data: %s" % (name, e))
    check = subprocess.run(["pngcheck", "-v", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           universal_newlines=True)
    if check.returncode != 0:
        problem("%s: pngcheck: %s" % (name, check.stdout.strip().splitlines()[-2:]))
    ours = ppm_pixels(ours_ppm)
    for tool, decode in (("Pillow", pillow_decode), ("ImageMagick", magick_decode)):
        try:
            compare("%s in %s" % (name, tool), decode(path), ours)
        except (OSError, ValueError, subprocess.CalledProcessError) as e:
            problem("%s: %s cannot read it: %s" % (name, tool, e))
    if bits == 24:
        compare(name + " against its source", ours, ppm_pixels(source))
    if transparent and bits == 24:
        opaque = subprocess.run(["identify", "-format", "%[opaque]", path], stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, universal_newlines=True)
        if opaque.stdout.strip().lower() != "false" or "tRNS" in opaque.stderr or "bKGD" in opaque.stderr:
            problem("%s: ImageMagick finds it opaque or warns: %s %s" % (name, opaque.stdout, opaque.stderr))


def save_cases(work, src_ppm):
    """(source, output, bits, interlaced, transparent)."""
    cases = []
    for bits in (1, 2, 4, 8, 24):
        for interlaced in (False, True):
            out = os.path.join(work, "ours-%d%s.png" % (bits, "-i" if interlaced else ""))
            cases.append((src_ppm, out, bits, interlaced, False))
        cases.append((src_ppm, os.path.join(work, "ours-%d-t.png" % bits), bits, False, True))
    rng = random.Random(5)
    for width in range(1, 18):
        im = Image.new("RGB", (width, rng.randrange(1, 10)))
        im.putdata([(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(im.size[0] * im.size[1])])
        ppm = os.path.join(work, "narrow-%d.ppm" % width)
        im.save(ppm)
        for bits in (1, 2, 4, 8, 24):
            cases.append((ppm, os.path.join(work, "narrow-%d-%d-i.png" % (width, bits)), bits, True, False))
    # Text and flat data through the compressor: long matches, runs, far repeats.
    text = open(__file__, "rb").read()[:3 * 64 * 60]
    im = Image.frombytes("RGB", (64, len(text) // 192), text[:len(text) // 192 * 192])
    for name, picture in (("text", im), ("flat", Image.new("RGB", (300, 40), (9, 9, 9)))):
        ppm = os.path.join(work, "%s.ppm" % name)
        picture.save(ppm)
        cases.append((ppm, os.path.join(work, "ours-%s.png" % name), 24, False, False))
    return cases


def save_job(source, out, bits, interlaced, transparent):
    job = ["save", source, out, str(bits)]
    if interlaced:
        job.append("interlaced")
    if transparent:
        job.append("transparent")  # keys out the colour of the top-left pixel
    return job


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(work, exist_ok=True)
    rng = random.Random(1234)
    src = test_picture()
    png = os.path.join(work, "source.png")
    alpha_png = os.path.join(work, "source-alpha.png")
    src_ppm = os.path.join(work, "source.ppm")
    src.save(png)
    src.save(src_ppm)
    alpha = src.convert("RGBA")
    alpha.putalpha(Image.linear_gradient("L").resize(src.size))
    alpha.save(alpha_png)

    good, bad = suite_files()
    good += magick_fixtures(work, png, alpha_png) + netpbm_fixtures(work, src_ppm, src) + pillow_fixtures(work, src)
    for name, data in matrix_files(rng) + zlib_files(rng) + special_files(rng):
        path = os.path.join(work, name)
        with open(path, "wb") as f:
            f.write(data)
        good.append(path)
    for name, data in damaged_files(rng):
        path = os.path.join(work, name)
        with open(path, "wb") as f:
            f.write(data)
        bad.append(path)

    jobs = [["load", path, os.path.join(work, "out%04d.ppm" % i)] for i, path in enumerate(good + bad)]
    cases = save_cases(work, src_ppm)
    for case in cases:
        jobs.append(save_job(*case))
        jobs.append(["load", case[1], case[1] + ".pm.ppm"])

    answers = run_jobs(command, work, jobs)

    for i, path in enumerate(good):
        name = os.path.basename(path)
        if answers[i] != "ok":
            problem("%s: %s" % (name, answers[i]))
            continue
        reference = path[:-4] + ".ref.png"
        compare(name, ppm_pixels(jobs[i][2]), pillow_decode(reference if os.path.exists(reference) else path))
    for i, path in enumerate(bad, len(good)):
        if not answers[i].startswith("error EInvalidImage"):
            problem("%s: %s, expected EInvalidImage" % (os.path.basename(path), answers[i]))
    base = len(good) + len(bad)
    for k, case in enumerate(cases):
        saved, loaded = answers[base + 2 * k], answers[base + 2 * k + 1]
        if saved != "ok" or loaded != "ok":
            problem("%s: save %s / load %s" % (os.path.basename(case[1]), saved, loaded))
            continue
        source, out, bits, interlaced, transparent = case
        check_saved(out, bits, interlaced, transparent, out + ".pm.ppm", source)

    finish("%d files read, %d refused, %d written" % (len(good), len(bad), len(cases)))


if __name__ == "__main__":
    main()
