#!/usr/bin/python3
"""Cross-checks the GIF reader and writer against independent decoders.

usage: gif_crosscheck.py <work folder> "<command running pmconv>"

Reading: every image n of a file loads as the reader composes it: the images
before it drawn in order over the background colour (that of the screen's
background index in the first image's colour table), transparent pixels left
out, an image of disposal 2 replaced by the background in its rectangle, one of
disposal 3 left out; the first image, when asked for, shows its transparent
pixels in their own colour. References:
- gdk-pixbuf's GIF test suite (its expected RGBA frames, the transparent areas
  flattened onto what the reader shows there) and the files it must reject;
- animations made by gifsicle (disposals 0 to 3, offsets, local colour tables,
  transparency, interlaced twins), ImageMagick and giflib's gifbuild, against
  ImageMagick's -coalesce frames flattened the same way;
- single pictures from Pillow, ImageMagick and giflib's gif2rgb, against
  Pillow's decode;
- files made here: image data without a leading clear code, an earlier image
  with bytes and whole sub-blocks after its end code, an image reaching beyond
  the screen; each against its plain twin.
Writing: our files of 1 to 8 bits, interlaced or not, transparent or not, and
a 1024 x 1024 picture of 256 random colours (full string tables) must carry
the version, graphic control extension, table size, minimum code size and
255-byte sub-blocks the writer promises, be accepted by giftext and
gifsicle --info, and decode in Pillow, netpbm's giftopnm and our reader to
their source.
Exits non-zero on any difference.
"""
import configparser
import glob
import io
import os
import random
import shlex
import struct
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(__file__))
from crosscheck import compare, finish, pillow_decode, problem, rgb_of, run_jobs  # noqa: E402

GDK = "/usr/libexec/installed-tests/gdk-pixbuf"


# ---- the structure of a GIF file (no decoding) -----------------------------

class Frame:
    pass


def read_table(data, p, flags):
    n = 2 << (flags & 7)
    return [tuple(data[p + 3 * i:p + 3 * i + 3]) for i in range(n)], p + 3 * n


def parse_gif(data):
    """Screen, global table and the images with their tables, placement,
    graphic control and data sub-blocks."""
    g = Frame()
    g.version = data[:6]
    g.width, g.height, g.flags, g.background = struct.unpack("<HHBB", data[6:12])
    p = 13
    g.table = None
    if g.flags & 0x80:
        g.table, p = read_table(data, p, g.flags)
    g.frames = []
    control = None
    while p < len(data):
        kind = data[p]
        p += 1
        if kind == 0x21:
            label = data[p]
            p += 1
            first = True
            while data[p]:
                size = data[p]
                if label == 0xF9 and first and size == 4:
                    control = data[p + 1:p + 5]
                first = False
                p += 1 + size
            p += 1
        elif kind == 0x2C:
            f = Frame()
            f.left, f.top, f.width, f.height, f.flags = struct.unpack("<HHHHB", data[p:p + 9])
            p += 9
            f.local = bool(f.flags & 0x80)
            f.table = g.table
            if f.local:
                f.table, p = read_table(data, p, f.flags)
            f.control = control
            f.disposal = control[0] >> 2 & 7 if control else 0
            f.transparent = control[3] if control and control[0] & 1 else None
            f.code_size = data[p]
            p += 1
            f.blocks = []
            while data[p]:
                f.blocks.append((p, data[p]))
                p += 1 + data[p]
            f.end = p + 1
            p += 1
            g.frames.append(f)
            control = None
        else:
            break
    return g


def colour(table, index):
    return table[index] if table and index is not None and index < len(table) else (0, 0, 0)


def background(g):
    return colour(g.frames[0].table, g.background) if g.frames else (0, 0, 0)


def inside(f, x, y):
    return f.left <= x < f.left + f.width and f.top <= y < f.top + f.height


def flatten(size, rgba, g, n):
    """RGBA as the reader shows it: transparent pixels take the background,
    but those of the first image asked for show that image's own colour."""
    w = size[0]
    bg = bytes(background(g))
    first = g.frames[0]
    own = bytes(colour(first.table, first.transparent)) if n == 0 and first.transparent is not None else None
    out = bytearray()
    for i in range(len(rgba) // 4):
        px = rgba[4 * i:4 * i + 4]
        if px[3] == 255:
            out += px[:3]
        elif px[3] == 0:
            out += own if own is not None and inside(first, i % w, i // w) else bg
        else:
            problem("partly transparent reference pixel")
            return size, b""
    return size, bytes(out)


# ---- decoding and comparing -------------------------------------------------


def coalesced(path, work):
    """ImageMagick's composed frames, as RGBA."""
    stem = os.path.join(work, os.path.basename(path) + ".co")
    for old in glob.glob(stem + "-*.png"):
        os.remove(old)
    subprocess.run(["convert", path, "-coalesce", "PNG32:" + stem + "-%d.png"], check=True,
                   stderr=subprocess.DEVNULL)
    frames = []
    while os.path.exists("%s-%d.png" % (stem, len(frames))):
        with Image.open("%s-%d.png" % (stem, len(frames))) as im:
            frames.append((im.size, im.convert("RGBA").tobytes()))
    return frames


class Loads:
    """Load jobs and what to hold each result against."""

    def __init__(self, work):
        self.work = work
        self.jobs = []
        self.checks = []

    def add(self, path, image, check):
        """check(answer, our decode or None) is called after the run."""
        out = os.path.join(self.work, "out%04d.ppm" % len(self.jobs))
        self.jobs.append(["load", path, out, str(image)])
        self.checks.append(check)

    def expect(self, name, path, image, reference):
        def check(answer, ours):
            if answer != "ok":
                problem("%s: %s" % (name, answer))
            else:
                compare(name, ours, reference() if callable(reference) else reference)
        self.add(path, image, check)

    def refuse(self, name, path, image=0):
        def check(answer, ours):
            if not answer.startswith("error EInvalidImage") and not answer.startswith("error EReadError"):
                problem("%s: must be refused, got %s" % (name, answer))
        self.add(path, image, check)

    def settle(self, answers):
        for job, answer, check in zip(self.jobs, answers, self.checks):
            ours = None
            if answer == "ok":
                with Image.open(job[2]) as im:
                    ours = rgb_of(im)
            check(answer, ours)


def expect_coalesced(loads, name, path):
    """Every image of path against ImageMagick's composition."""
    g = parse_gif(open(path, "rb").read())
    frames = coalesced(path, loads.work)
    if len(frames) != len(g.frames):
        problem("%s: ImageMagick gives %d frames for %d images" % (name, len(frames), len(g.frames)))
        return
    for n, (size, rgba) in enumerate(frames):
        loads.expect("%s image %d" % (name, n), path, n, flatten(size, rgba, g, n))


# ---- gdk-pixbuf's test suite ------------------------------------------------

# Files of the suite on which the reader's rules differ from gdk-pixbuf's.
GDK_REFUSED = {
    "no-data": "holds no image at all",
    "image-zero-width": "has no code size nor data after its empty image",
    "image-zero-height": "has no code size nor data after its empty image",
    "image-zero-size": "has no code size nor data after its empty image",
}
GDK_BLACK = {"invalid-colors": "a pixel beyond the colour table looks up black"}
GDK_PILLOW = {"plain-text": "plain text extensions are passed over"}


def frame_ends(g, count):
    """The image that completes each of gdk-pixbuf's frames: one per image,
    or, for files that build frames of several images, each image with a
    delay (images without one join the next frame) and the last image."""
    last = len(g.frames) - 1
    if count == len(g.frames):
        return list(range(count))
    ends = [i for i, f in enumerate(g.frames) if f.control is not None and f.control[1:3] != b"\0\0"]
    if not ends or ends[-1] != last:
        ends.append(last)
    return ends if len(ends) == count else None


def gdk_cases(loads):
    suite = os.path.join(GDK, "test-images", "gif-test-suite")
    confs = sorted(glob.glob(os.path.join(suite, "*.conf")))
    if not confs:
        problem("gdk-pixbuf-tests is not installed (%s)" % suite)
        return
    for conf in confs:
        name = os.path.basename(conf)[:-5]
        cfg = configparser.RawConfigParser()
        cfg.read(conf, encoding="latin-1")
        path = os.path.join(suite, cfg.get("config", "input"))
        frames = [f.strip() for f in cfg.get("config", "frames").split(",") if f.strip()]
        if name in GDK_REFUSED:
            print("note: %s refused: %s" % (name, GDK_REFUSED[name]))
            loads.refuse("gdk " + name, path)
            continue
        if name in GDK_BLACK:
            print("note: %s: %s" % (name, GDK_BLACK[name]))
            w, h = cfg.getint("config", "width"), cfg.getint("config", "height")
            loads.expect("gdk " + name, path, 0, ((w, h), bytes(3 * w * h)))
            continue
        if name in GDK_PILLOW:
            print("note: %s: %s" % (name, GDK_PILLOW[name]))
            loads.expect("gdk " + name, path, 0, pillow_decode(path))
            continue
        if not frames:
            loads.refuse("gdk " + name, path)
            continue
        g = parse_gif(open(path, "rb").read())
        ends = frame_ends(g, len(frames))
        if ends is None:
            problem("gdk %s: cannot match %d frames to %d images" % (name, len(frames), len(g.frames)))
            continue
        for k, section in enumerate(frames):
            pixels = os.path.join(suite, cfg.get(section, "pixels"))
            w, h = cfg.getint("config", "width"), cfg.getint("config", "height")
            rgba = open(pixels, "rb").read()
            loads.expect("gdk %s frame %d" % (name, k), path, ends[k], flatten((w, h), rgba, g, ends[k]))
    for path in sorted(glob.glob(os.path.join(GDK, "test-images", "fail", "*.gif"))):
        if open(path, "rb").read(3) != b"GIF":
            print("note: %s is no GIF file at all; left to the other formats" % os.path.basename(path))
            continue
        loads.refuse("gdk fail/" + os.path.basename(path), path)
    for path in sorted(glob.glob(os.path.join(GDK, "test-images", "randomly-modified", "valid*.gif"))):
        loads.expect("gdk " + os.path.basename(path), path, 0, pillow_decode(path))
    for path in sorted(glob.glob(os.path.join(GDK, "*.gif"))):
        expect_coalesced(loads, "gdk " + os.path.basename(path), path)


# ---- pictures and animations made by the tools ------------------------------

def palette_picture(w, h, colours, seed):
    """A palette picture: bands, blocks and noise over `colours` entries."""
    rng = random.Random(seed)
    im = Image.new("P", (w, h))
    pal = []
    for _ in range(colours):
        pal += [rng.randrange(256), rng.randrange(256), rng.randrange(256)]
    im.putpalette(pal + [0] * (768 - len(pal)))
    px = im.load()
    for y in range(h):
        for x in range(w):
            if y < h // 3:
                v = (x + 2 * y) % colours
            elif y < 2 * h // 3:
                v = (x // 5 + y // 4) % colours
            else:
                v = rng.randrange(colours)
            px[x, y] = v
    return im


def rgb_picture(w, h, seed):
    rng = random.Random(seed)
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = ((x * 7) & 255, (y * 11) & 255, rng.randrange(256) if y > h // 2 else 128)
    return im


def frame_file(work, name, w, h, colours, seed):
    path = os.path.join(work, name)
    palette_picture(w, h, colours, seed).save(path, interlace=False, optimize=False)
    return path


def hex_colour(path, index):
    with Image.open(path) as im:
        r, g, b = im.getpalette()[3 * index:3 * index + 3]
    return "#%02x%02x%02x" % (r, g, b)


def gifsicle_animations(work):
    """(name, path): disposals, offsets, local tables and transparency."""
    f = [frame_file(work, "gs-f%d.gif" % i, w, h, c, 10 + i)
         for i, (w, h, c) in enumerate(((40, 30, 200), (14, 11, 150), (12, 16, 180), (20, 9, 120), (9, 9, 60)))]
    plain = os.path.join(work, "gs-anim.gif")
    subprocess.run(["gifsicle", "--no-warnings", f[0],
                    "-D", "none", "-p", "3,2", f[1],
                    "-D", "background", "-p", "10,6", "-t", hex_colour(f[2], 3), f[2],
                    "-D", "previous", "-p", "1,9", "-t", hex_colour(f[3], 0), f[3],
                    "-D", "asis", "-p", "25,12", "-t", hex_colour(f[4], 5), f[4],
                    "-p", "20,1", f[1], "-o", plain], check=True)
    interlaced = os.path.join(work, "gs-anim-i.gif")
    subprocess.run(["gifsicle", "-w", "-i", plain, "-o", interlaced], check=True)
    # The first image transparent, the second disposed to the background.
    # A delay gives every image its own control extension: ImageMagick
    # wrongly keeps the last disposal for an image that has none.
    first = os.path.join(work, "gs-first-transparent.gif")
    subprocess.run(["gifsicle", "--no-warnings", "-d", "5", "-t", hex_colour(f[0], 7), "-D", "background", f[0],
                    "-D", "none", "--no-transparent", "-p", "5,5", f[4],
                    "-p", "30,20", "-t", hex_colour(f[1], 2), f[1], "-o", first], check=True)
    # A frame of a few low entries of the 256-entry global table: gifsicle
    # sizes its codes by the values used, below the table's size.
    with Image.open(f[0]) as im:
        low = Image.new("P", (10, 7))
        low.putpalette(im.getpalette())
    low.putdata([(x * y) % 4 for y in range(7) for x in range(10)])
    low_frame = os.path.join(work, "gs-low-frame.gif")
    low.save(low_frame, optimize=False)
    small_codes = os.path.join(work, "gs-small-codes.gif")
    subprocess.run(["gifsicle", "--no-warnings", f[0], "-p", "6,4", low_frame, "-o", small_codes], check=True)
    second = parse_gif(open(small_codes, "rb").read()).frames[1]
    if second.local or second.code_size >= 8:
        problem("gifsicle wrote code size %d for a frame of 4 entries" % second.code_size)
    g = parse_gif(open(plain, "rb").read())
    if not any(fr.local for fr in g.frames):
        problem("gifsicle animation has no local colour table")
    if sorted(set(fr.disposal for fr in g.frames)) != [0, 1, 2, 3]:
        problem("gifsicle animation disposals are %s" % [fr.disposal for fr in g.frames])
    return [("gifsicle anim", plain), ("gifsicle anim interlaced", interlaced), ("gifsicle first transparent", first),
            ("gifsicle small codes", small_codes)]


def magick_animation(work):
    frames = []
    for i, (w, h) in enumerate(((32, 24), (32, 24), (32, 24))):
        path = os.path.join(work, "im-f%d.png" % i)
        rgb_picture(w, h, 30 + i).quantize(60 + 40 * i).convert("RGB").save(path)
        frames.append(path)
    path = os.path.join(work, "im-anim.gif")
    subprocess.run(["convert", "-delay", "10", "-dispose", "None", frames[0], "-dispose", "Background", frames[1],
                    "-dispose", "Previous", frames[2], "-interlace", "GIF", path], check=True)
    return [("ImageMagick anim", path)]


GIFBUILD_ANIMATION = """screen width 24
screen height 18
screen colors 8
screen background 2
screen map
\trgb 0 0 0 is a
\trgb 255 255 255 is b
\trgb 200 30 30 is c
\trgb 30 200 30 is d
\trgb 30 30 200 is e
\trgb 200 200 30 is f
\trgb 30 200 200 is g
\trgb 200 30 200 is h
end
image
image left 0
image top 0
image bits 24 by 18
%s
image
image left 4
image top 3
image interlaced
image bits 10 by 9
%s
graphics control
\tdisposal mode 2
\ttransparent index 1
end
image
image left 9
image top 7
image map
\trgb 10 20 30 is p
\trgb 40 50 60 is q
\trgb 70 80 90 is r
\trgb 100 110 120 is s
end
image bits 12 by 8
%s
graphics control
\tdisposal mode 3
end
image
image left 2
image top 10
image bits 15 by 8
%s
graphics control
\tdisposal mode 1
\ttransparent index 0
end
"""


def ascii_rows(w, h, keys, seed):
    rng = random.Random(seed)
    return "\n".join("".join(keys[(x * y + rng.randrange(2)) % len(keys)] for x in range(w)) for y in range(h))


def giflib_files(work):
    """gifbuild animation (giflib's encoder) and gif2rgb pictures of 1 to 8
    bits; (name, path, reference kind)."""
    text = GIFBUILD_ANIMATION % (ascii_rows(24, 18, "abcdefgh", 1), ascii_rows(10, 9, "bcde", 2),
                                 ascii_rows(12, 8, "pqrs", 3), ascii_rows(15, 8, "adfh", 4))
    path = os.path.join(work, "gb-anim.gif")
    with open(path, "wb") as out:
        subprocess.run(["gifbuild"], input=text.encode(), stdout=out, check=True)
    made = [("gifbuild anim", path, "coalesce")]
    src = rgb_picture(37, 23, 5)
    raw = os.path.join(work, "g2r.rgb")
    with open(raw, "wb") as f:
        f.write(src.tobytes())
    for bits in range(1, 9):
        path = os.path.join(work, "g2r-%d.gif" % bits)
        with open(path, "wb") as out:
            subprocess.run(["gif2rgb", "-c", str(bits), "-s", "37", "23", "-1", raw], stdout=out, check=True)
        made.append(("gif2rgb %d bits" % bits, path, "pillow"))
    return made


def pillow_files(work):
    made = []
    for colours in (2, 3, 4, 16, 100, 256):
        for interlace in (False, True):
            path = os.path.join(work, "pil-%d-%d.gif" % (colours, interlace))
            palette_picture(29, 17, colours, colours).save(path, interlace=interlace, optimize=False)
            made.append(path)
    path = os.path.join(work, "pil-transparent.gif")
    palette_picture(21, 13, 16, 99).save(path, transparency=4)
    made.append(path)
    path = os.path.join(work, "pil-l.gif")
    rgb_picture(33, 19, 7).convert("L").save(path)
    made.append(path)
    path = os.path.join(work, "pil-1.gif")
    rgb_picture(33, 19, 8).convert("1").save(path)
    made.append(path)
    return made


def magick_files(work):
    png = os.path.join(work, "im-src.png")
    rgb_picture(41, 27, 11).save(png)
    made = []
    for name, options in (("im-2", ["-colors", "2"]), ("im-16", ["-colors", "16"]),
                          ("im-256", ["-colors", "256"]), ("im-interlaced", ["-colors", "64", "-interlace", "GIF"]),
                          ("im-87a", ["-colors", "32", "GIF87:"])):
        path = os.path.join(work, name + ".gif")
        out = options[-1] + path if options[-1].endswith(":") else path
        opts = options[:-1] if options[-1].endswith(":") else options
        subprocess.run(["convert", png] + opts + [out], check=True)
        made.append(path)
    path = os.path.join(work, "im-transparent.gif")
    subprocess.run(["convert", png, "-colors", "30", "-fill", "none", "-draw", "rectangle 3,3 12,9", path], check=True)
    made.append(path)
    return made


# ---- files made here ---------------------------------------------------------

def data_bytes(data, f):
    return b"".join(data[p + 1:p + 1 + n] for p, n in f.blocks)


def sub_blocks(payload, size=255):
    out = b""
    for i in range(0, len(payload), size):
        chunk = payload[i:i + size]
        out += bytes((len(chunk),)) + chunk
    return out + b"\0"


def replace_data(data, f, payload):
    start = f.blocks[0][0] if f.blocks else f.end - 1
    return data[:start] + payload + data[f.end:]


def without_first_clear(data):
    """Every image's data with its leading clear code taken out; the coder
    starts in the state a clear code gives, so the pixels stay the same."""
    g = parse_gif(data)
    for f in reversed(g.frames):
        bits = int.from_bytes(data_bytes(data, f), "little")
        width = f.code_size + 1
        if bits & ((1 << width) - 1) != 1 << f.code_size:
            problem("fixture: image data does not start with a clear code")
        n = len(data_bytes(data, f)) * 8 - width
        stream = (bits >> width).to_bytes((n + 7) // 8, "little")
        data = replace_data(data, f, sub_blocks(stream, 100))
    return data


def extra_after_end(data):
    """The first image's data followed, after its end code, by junk in the
    same sub-block and by two more sub-blocks."""
    g = parse_gif(data)
    f = g.frames[0]
    payload = data_bytes(data, f)
    junk = bytes(range(0x30, 0x30 + 7))
    return replace_data(data, f, sub_blocks(payload + junk, 200)[:-1] + b"\x03\x3B\x2C\x21\x01\xF9\0")


def beyond_screen(data):
    """The screen made smaller than the images: the last ones reach out."""
    return data[:6] + struct.pack("<HH", 34, 20) + data[10:]


def crafted_files(work, sources):
    """(name, path, twin): loads of every image must equal the twin's."""
    made = []
    for name, path in sources:
        data = open(path, "rb").read()
        for kind, change in (("no clear", without_first_clear), ("extra after end", extra_after_end)):
            out = os.path.join(work, "made-%s-%s.gif" % (kind.replace(" ", "-"), os.path.basename(path)[:-4]))
            with open(out, "wb") as f:
                f.write(change(data))
            made.append(("%s (%s)" % (name, kind), out, path))
    return made


# ---- writing ----------------------------------------------------------------

def few_colours(w, h, colours, seed):
    """A picture of exactly `colours` colours, so that any palette depth that
    holds them writes it without loss."""
    rng = random.Random(seed)
    pal = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(colours)]
    while len(set(pal)) < colours:
        pal = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(colours)]
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = pal[(x // 3 + y) % colours] if y % 5 else pal[rng.randrange(colours)]
    for i in range(colours):
        px[i % w, h - 1 - i // w] = pal[i]
    return im


def save_cases(work):
    """(source ppm, output, bits, options)."""
    cases = []
    for bits in range(1, 9):
        src = os.path.join(work, "few-%d.ppm" % bits)
        few_colours(45 + bits, 31 - bits, min(1 << bits, 200), bits).save(src)
        for options in ((), ("interlaced",), ("transparent",), ("interlaced", "transparent")):
            out = os.path.join(work, "ours-%d%s.gif" % (bits, "".join("-" + o[0] for o in options)))
            cases.append((src, out, bits, options))
    rng = random.Random(1024)
    pal = set()
    while len(pal) < 256:
        pal.add((rng.randrange(256), rng.randrange(256), rng.randrange(256)))
    pal = list(pal)
    big = Image.new("RGB", (1024, 1024))
    big.putdata([pal[rng.randrange(256)] for _ in range(1024 * 1024)])
    src = os.path.join(work, "random-1024.ppm")
    big.save(src)
    cases.append((src, os.path.join(work, "ours-random-1024.gif"), 8, ()))
    return cases


def tool_text(args):
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, universal_newlines=True)
    return result.returncode, result.stdout


def netpbm_decode(path):
    out = subprocess.run(["giftopnm", path], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout
    return rgb_of(Image.open(io.BytesIO(out)))


def check_saved(src, path, bits, options, ours_ppm):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    transparent = "transparent" in options
    interlaced = "interlaced" in options
    g = parse_gif(data)
    if g.version != (b"GIF89a" if transparent else b"GIF87a"):
        problem("%s: version %s" % (name, g.version))
    if g.flags != 0xF0 | (bits - 1) or len(g.table or []) != 1 << bits:
        problem("%s: screen flags %02x, %d table entries" % (name, g.flags, len(g.table or [])))
    if len(g.frames) != 1:
        problem("%s: %d images" % (name, len(g.frames)))
        return
    f = g.frames[0]
    control = b"\x21\xF9\x04\x01\0\0\0\0"
    if (control in data) != transparent or (transparent and data.index(control) != 13 + 3 * (1 << bits)):
        problem("%s: graphic control extension %s where transparency is %s" % (name, control in data, transparent))
    if f.flags != (0x40 if interlaced else 0) | (bits - 1) or f.local:
        problem("%s: image flags %02x" % (name, f.flags))
    if f.code_size != max(bits, 2):
        problem("%s: minimum code size %d" % (name, f.code_size))
    if any(n != 255 for _, n in f.blocks[:-1]):
        problem("%s: sub-blocks of %s bytes" % (name, sorted(set(n for _, n in f.blocks))))
    if data[f.end:] != b";":
        problem("%s: %r after the image" % (name, data[f.end:]))
    code, text = tool_text(["giftext", path])
    if code != 0 or ("Transparency on: yes" in text) != transparent or ("Image is Interlaced" in text) != interlaced:
        problem("%s: giftext (exit %d) disagrees:\n%s" % (name, code, text))
    code, text = tool_text(["gifsicle", "--info", path])
    if code != 0 or (" interlaced" in text) != interlaced or ("transparent 0" in text) != transparent:
        problem("%s: gifsicle --info (exit %d) disagrees:\n%s" % (name, code, text))
    if transparent:
        # The keyed colour (the top-left pixel's) must be entry 0.
        with Image.open(path) as im:
            if im.info.get("transparency") != 0 or im.getpixel((0, 0)) != 0:
                problem("%s: transparency %s, top-left index %s" % (name, im.info.get("transparency"),
                                                                     im.getpixel((0, 0))))
    source = rgb_of(Image.open(src))
    compare(name + " in our reader", rgb_of(Image.open(ours_ppm)), source)
    for tool, decode in (("Pillow", pillow_decode), ("giftopnm", netpbm_decode)):
        try:
            compare("%s in %s" % (name, tool), decode(path), source)
        except (OSError, ValueError, subprocess.CalledProcessError) as e:
            problem("%s: %s cannot read it: %s" % (name, tool, e))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(work, exist_ok=True)
    loads = Loads(work)

    gdk_cases(loads)
    animations = gifsicle_animations(work) + magick_animation(work)
    for name, path in animations:
        expect_coalesced(loads, name, path)
    plain, interlaced = animations[0][1], animations[1][1]
    for n in range(len(parse_gif(open(plain, "rb").read()).frames)):
        loads.expect("gifsicle anim image %d interlaced twin" % n, interlaced, n, twin(loads, plain, n))
    for name, path, kind in giflib_files(work):
        if kind == "coalesce":
            expect_coalesced(loads, name, path)
        else:
            loads.expect(name, path, 0, pillow_decode(path))
    for path in pillow_files(work) + magick_files(work):
        loads.expect(os.path.basename(path), path, 0, pillow_decode(path))
    for name, path, original in crafted_files(work, [animations[0], animations[-1]]):
        g = parse_gif(open(original, "rb").read())
        for n in range(len(g.frames)):
            loads.expect("%s image %d" % (name, n), path, n, twin(loads, original, n))
    wide = os.path.join(work, "made-beyond-screen.gif")
    with open(wide, "wb") as f:
        f.write(beyond_screen(open(plain, "rb").read()))
    g = parse_gif(open(wide, "rb").read())
    for n in range(len(g.frames)):
        loads.expect("beyond the screen image %d" % n, wide, n, twin(loads, plain, n, (34, 20)))

    # The twins' own loads come first in the job list.
    base = len(loads.jobs)
    twin_jobs = sorted(twin_requests)
    for path, n in twin_jobs:
        loads.jobs.append(["load", path, os.path.join(work, "twin-%d-%s.ppm" % (n, os.path.basename(path))), str(n)])
        loads.checks.append(lambda answer, ours: None)
    cases = save_cases(work)
    save_base = len(loads.jobs)
    jobs = list(loads.jobs)
    for source, out, bits, options in cases:
        jobs.append(["save", source, out, str(bits)] + list(options))
        jobs.append(["load", out, out + ".pm.ppm"])
    answers = run_jobs(command, work, jobs)
    for (path, n), answer in zip(twin_jobs, answers[base:save_base]):
        if answer != "ok":
            problem("twin %s image %d: %s" % (os.path.basename(path), n, answer))
    loads.settle(answers[:base])
    for k, (source, out, bits, options) in enumerate(cases):
        saved, loaded = answers[save_base + 2 * k], answers[save_base + 2 * k + 1]
        if saved != "ok" or loaded != "ok":
            problem("%s: save %s / load %s" % (os.path.basename(out), saved, loaded))
            continue
        check_saved(source, out, bits, options, out + ".pm.ppm")

    finish("%d loads checked, %d files written" % (base, len(cases)))


twin_requests = set()


def twin(loads, path, n, crop=None):
    """Our own load of image n of path, made in the same run, optionally
    cut to a smaller size."""
    twin_requests.add((path, n))
    ppm = os.path.join(loads.work, "twin-%d-%s.ppm" % (n, os.path.basename(path)))

    def decode():
        with Image.open(ppm) as im:
            return rgb_of(im.crop((0, 0) + crop) if crop else im)
    return decode


if __name__ == "__main__":
    main()
