#!/usr/bin/python3
"""Cross-checks the JPEG writer against independent decoders and encoders.

usage: jpg_write_crosscheck.py <work folder> "<command running pmconv>"

Every file we write (colour and grey, sequential and progressive, qualities
1 to 100, sizes from 1x1 to 2048x1040) must:
- start with the fixed 36-byte head and hold the frame, tables and scans
  asked for: DQT tables equal to cjpeg's at the same quality, one scan when
  sequential, the scan script jpegtran writes when progressive (six
  one-component scans for grey);
- decode with djpeg with nothing on stderr, with Pillow to the same pixels,
  pass jpeginfo -c, and be named progressive (or not) and grey (or not) by
  ImageMagick's identify;
- when progressive, decode with djpeg to exactly the pixels of the
  sequential file of the same picture and quality (same coefficients), and
  hold the Huffman tables and entropy-coded data jpegtran -progressive makes
  from that sequential file (all but the last byte of each scan, whose
  padding bits differ).
Two pictures stress the progressive coder: one whose refinement scans hold
only correction bits (runs flushed past 959 pending bits, where jpegtran
flushes past 937, so the byte comparison skips it) and one with chroma-free
scans of over 32,767 blocks (end-of-band runs at their limit).
Also: a 65,535-pixel wide picture is written, a 65,536-pixel wide one is
refused with no file left; our reader decodes our files close to djpeg.
PSNR against the source is printed for every file, with cjpeg's size and
PSNR at quality 75 beside ours. Exits non-zero on any difference.
"""
import math
import os
import random
import shlex
import subprocess
import sys
import warnings

from PIL import Image

PHOTO = "/usr/share/go-1.19/src/image/testdata/video-001.png"
HEAD = (b"\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
        b"\xff\xfe\x00\x0eCorvane Ltd.")
GREY_SCRIPT = [(1, 0, 0, 0, 1), (1, 1, 5, 0, 2), (1, 6, 63, 0, 2), (1, 1, 63, 2, 1),
               (1, 0, 0, 1, 0), (1, 1, 63, 1, 0)]
# Our reader and djpeg use different inverse transforms and colour rounding
# (measured on these files: at most 5, mean at most 0.8 per channel). The
# mean is judged on pictures of 64 pixels or more: over a 1x9 strip it
# follows the few pixels there are (1.56 measured).
READER_MAX, READER_MEAN, MEAN_PIXELS = 6, 1.5, 64
# Lowest PSNR (dB) of the natural picture in colour, by quality (calibrated;
# 49.2 at quality 100 with chroma rounded to the nearest level).
PSNR_FLOOR = {100: 48.5, 90: 38.0, 75: 32.0, 50: 29.0}

problems = []


def problem(text):
    problems.append(text)
    print("DIFF " + text)


def run(cmd, **kw):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kw)


# ---- pictures ---------------------------------------------------------------

def photo():
    """A natural picture, 150x103."""
    if os.path.exists(PHOTO):
        with Image.open(PHOTO) as im:
            return im.convert("RGB")
    print("note: %s missing; a synthetic picture stands in" % PHOTO)
    return synthetic(150, 103)


def synthetic(width, height):
    im = Image.new("RGB", (width, height))
    px = im.load()
    rng = random.Random(width * 1000 + height)
    for y in range(height):
        for x in range(width):
            px[x, y] = (x * 255 // max(width - 1, 1), 40 if x < width // 2 else 200,
                        (y * 9 + rng.randrange(16)) & 255)
    return im


def basis(u, x):
    return math.cos((2 * x + 1) * u * math.pi / 16) * (math.sqrt(0.5) if u == 0 else 1)


def correction_stress():
    """Grey blocks whose 63 AC coefficients all have magnitude 5 to 7 at
    quality 100: after the first scans every refinement bit is a correction
    bit, so they pile up until the run is flushed."""
    rng = random.Random(959)
    patterns = []
    for _ in range(12):
        coef = [[0.0] * 8 for _ in range(8)]
        for v in range(8):
            for u in range(8):
                if u or v:
                    coef[v][u] = rng.choice((-1, 1)) * rng.choice((5, 6, 7))
        block = []
        for y in range(8):
            row = []
            for x in range(8):
                s = sum(coef[v][u] * basis(u, x) * basis(v, y) for v in range(8) for u in range(8)) / 4
                row.append(min(255, max(0, int(round(s + 128)))))
            block.append(row)
        patterns.append(block)
    im = Image.new("L", (128, 64))
    px = im.load()
    for by in range(8):
        for bx in range(16):
            block = patterns[rng.randrange(len(patterns))]
            for y in range(8):
                for x in range(8):
                    px[8 * bx + x, 8 * by + y] = block[y][x]
    return im.convert("RGB")


def run_stress():
    """33,280 blocks of smooth grey in a colour file: the chroma scans are
    one end-of-band run longer than 32,767 blocks."""
    im = Image.new("RGB", (2048, 1040))
    px = im.load()
    for y in range(1040):
        for x in range(2048):
            v = (x // 8 + y // 32) & 255
            px[x, y] = (v, v, v)
    return im


# ---- file structure ---------------------------------------------------------

def segments(data):
    """[(code, payload, entropy data after it)] up to EOI."""
    out = []
    i = 2
    while i + 1 < len(data):
        if data[i] != 0xFF:
            raise ValueError("no marker at %d" % i)
        code = data[i + 1]
        if code == 0xD9:
            out.append((code, b"", b""))
            break
        n = data[i + 2] << 8 | data[i + 3]
        payload = data[i + 4:i + 2 + n]
        i += 2 + n
        start = i
        if code == 0xDA:
            while i + 1 < len(data) and not (data[i] == 0xFF and data[i + 1] != 0):
                i += 1
        out.append((code, payload, data[start:i]))
    return out


def quant_tables(segs):
    tables = {}
    for code, p, _ in segs:
        j = 0
        while code == 0xDB and j < len(p):
            precision, number = p[j] >> 4, p[j] & 15
            size = 128 if precision else 64
            tables[number] = bytes(p[j + 1:j + 1 + size])
            j += 1 + size
    return tables


def scan_list(segs):
    scans = []
    for code, p, _ in segs:
        if code == 0xDA:
            n = p[0]
            comps = tuple(p[1 + 2 * k] for k in range(n))
            scans.append((comps,) + (p[1 + 2 * n], p[2 + 2 * n], p[3 + 2 * n] >> 4, p[3 + 2 * n] & 15))
    return scans


def scans_with_tables(segs):
    """Per scan: its DHT payloads and its entropy data."""
    out, tables = [], []
    for code, p, data in segs:
        if code == 0xC4:
            tables.append(p)
        elif code == 0xDA:
            out.append((tables, data))
            tables = []
    return out


# ---- decoding and comparing -------------------------------------------------

def decode_djpeg(path, out):
    r = run(["djpeg", "-nosmooth", "-outfile", out, path])
    return r.returncode, r.stderr.decode(errors="replace").strip()


def pixels(path, mode):
    with Image.open(path) as im:
        return im.size, im.convert(mode).tobytes()


def differences(a, b):
    if len(a) != len(b) or not a:
        return None
    worst = max(abs(x - y) for x, y in zip(a, b))
    mean = sum(abs(x - y) for x, y in zip(a, b)) / len(a)
    return worst, mean


def psnr(a, b):
    se = sum((x - y) ** 2 for x, y in zip(a, b))
    return 99.0 if se == 0 else 10 * math.log10(255.0 * 255 * len(a) / se)


def cjpeg_tables(ppm, quality, grey, work):
    out = os.path.join(work, "cjpeg-q%d%s.jpg" % (quality, "-grey" if grey else ""))
    cmd = ["cjpeg", "-baseline", "-quality", str(quality), "-sample", "1x1"]
    if grey:
        cmd.append("-grayscale")
    subprocess.run(cmd + ["-outfile", out, ppm], check=True)
    return quant_tables(segments(open(out, "rb").read()))


def jpegtran_script(ppm, work):
    base = os.path.join(work, "cjpeg-444.jpg")
    prog = os.path.join(work, "cjpeg-444-progressive.jpg")
    subprocess.run(["cjpeg", "-sample", "1x1", "-outfile", base, ppm], check=True)
    subprocess.run(["jpegtran", "-progressive", "-outfile", prog, base], check=True)
    return scan_list(segments(open(prog, "rb").read()))


# ---- the run ----------------------------------------------------------------

class Output:
    """One file we write: its source, parameters and what to check."""

    def __init__(self, work, source, quality, progressive, grey, name):
        self.source, self.quality, self.progressive, self.grey = source, quality, progressive, grey
        self.name = "%s-q%d-%s-%s" % (name, quality, "prog" if progressive else "seq", "grey" if grey else "rgb")
        self.path = os.path.join(work, self.name + ".jpg")
        self.loaded = self.path + ".pm.ppm"
        self.decoded = self.path + ".djpeg.pnm"

    def job(self):
        words = ["save", self.source, self.path, "8 grey" if self.grey else "24", "quality=%d" % self.quality]
        if self.progressive:
            words.append("interlaced")
        return words


def plan(work, sources):
    outputs = []
    for name, ppm, qualities, sizes_only in sources:
        for q in qualities:
            for progressive in (False, True):
                for grey in (False, True):
                    if sizes_only and grey and q != 100:
                        continue
                    outputs.append(Output(work, ppm, q, progressive, grey, name))
    return outputs


def run_jobs(command, work, jobs):
    job_file = os.path.join(work, "jobs.txt")
    with open(job_file, "w") as f:
        f.write("".join(" ".join(job) + "\n" for job in jobs))
    result = subprocess.run(shlex.split(command) + [job_file], stdout=subprocess.PIPE, universal_newlines=True)
    answers = [line.strip() for line in result.stdout.splitlines() if line.strip()]
    if result.returncode != 0 or len(answers) != len(jobs):
        print(result.stdout)
        sys.exit("pmconv failed (exit %d, %d answers for %d jobs)" % (result.returncode, len(answers), len(jobs)))
    return answers


def check_structure(o, data, tables, script):
    segs = segments(data)
    if data[:36] != HEAD:
        problem("%s: head %r" % (o.name, data[:36]))
    codes = [c for c, _, _ in segs]
    sof = [p for c, p, _ in segs if c in (0xC0, 0xC2)]
    if codes[-1:] != [0xD9] or len(sof) != 1 or (0xC2 in codes) != o.progressive:
        problem("%s: markers %s" % (o.name, [hex(c) for c in codes]))
        return segs
    components = sof[0][5]
    if components != (1 if o.grey else 3):
        problem("%s: %d components" % (o.name, components))
    want = tables[(o.quality, o.grey)]
    got = quant_tables(segs)
    if got != want:
        problem("%s: quantisation tables differ from cjpeg's at quality %d" % (o.name, o.quality))
    scans = scan_list(segs)
    if not o.progressive:
        expected = [((1,) if o.grey else (1, 2, 3), 0, 63, 0, 0)]
    else:
        expected = [((s[0],),) + s[1:] for s in GREY_SCRIPT] if o.grey else script
    if scans != expected:
        problem("%s: scans %s, expected %s" % (o.name, scans, expected))
    return segs


def check_decoders(o, size):
    code, err = decode_djpeg(o.path, o.decoded)
    if code != 0 or err:
        problem("%s: djpeg exit %d: %s" % (o.name, code, err))
        return None
    mode = "L" if o.grey else "RGB"
    theirs = pixels(o.decoded, mode)
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        with Image.open(o.path) as im:
            im.load()
            pil = (im.size, im.mode, im.tobytes())
    if caught or pil[1] != mode or pil[0] != size:
        problem("%s: Pillow gave %s %s (%s)" % (o.name, pil[1], pil[0], [str(w.message) for w in caught]))
    else:
        d = differences(pil[2], theirs[1])
        if d is None or d[0] > 1:
            problem("%s: Pillow and djpeg differ: %s" % (o.name, d))
    info = run(["jpeginfo", "-c", o.path]) if jpeginfo else None
    if info and (info.returncode != 0 or not info.stdout.strip().endswith(b"OK")):
        problem("%s: jpeginfo: %s" % (o.name, info.stdout.decode(errors="replace").strip()))
    ident = run(["identify", "-verbose", o.path]).stdout.decode(errors="replace")
    interlace = "Interlace: JPEG" if o.progressive else "Interlace: None"
    colourspace = "Colorspace: Gray" if o.grey else "Colorspace: sRGB"
    if interlace not in ident or colourspace not in ident:
        problem("%s: identify does not say %s, %s" % (o.name, interlace, colourspace))
    return theirs


def compare_with_jpegtran(o, seq, work):
    """Our progressive file against jpegtran -progressive of our sequential one."""
    trans = os.path.join(work, o.name + ".jpegtran.jpg")
    subprocess.run(["jpegtran", "-progressive", "-outfile", trans, seq.path], check=True)
    ours = scans_with_tables(segments(open(o.path, "rb").read()))
    theirs = scans_with_tables(segments(open(trans, "rb").read()))
    if len(ours) != len(theirs):
        problem("%s: %d scans, jpegtran %d" % (o.name, len(ours), len(theirs)))
        return
    for k, ((t1, d1), (t2, d2)) in enumerate(zip(ours, theirs)):
        # Padding: ours 0 bits, jpegtran's 1 bits, which may add a stuffed byte.
        if t1 != t2 or d1[:-1] != d2[:len(d1) - 1] or len(d2) - len(d1) not in (0, 1):
            problem("%s: scan %d differs from jpegtran's (tables %s, %d/%d bytes)"
                    % (o.name, k, t1 == t2, len(d1), len(d2)))


def main():
    global jpeginfo
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(work, exist_ok=True)
    jpeginfo = run(["sh", "-c", "command -v jpeginfo"]).returncode == 0
    if not jpeginfo:
        print("note: jpeginfo is not installed; its check is skipped")

    def save(im, name):
        path = os.path.join(work, name + ".ppm")
        im.save(path)
        return path

    natural = save(photo(), "photo")
    sources = [("photo", natural, (50, 75, 90, 100), False)]
    # Larger, with a partial block row.
    big = save(Image.open(natural).resize((640, 481), Image.BICUBIC), "photo640")
    sources.append(("photo640", big, (1, 10, 75, 100), False))
    for w, h in ((1, 1), (1, 9), (17, 9)):
        sources.append(("size%dx%d" % (w, h), save(synthetic(w, h), "size%dx%d" % (w, h)), (75, 100), True))
    sources.append(("corrections", save(correction_stress(), "corrections"), (100,), False))
    sources.append(("runs", save(run_stress(), "runs"), (75,), True))
    outputs = plan(work, sources)

    wide_ok = os.path.join(work, "wide65535.jpg")
    wide_bad = os.path.join(work, "wide65536.jpg")
    for path in (wide_ok, wide_bad):
        if os.path.exists(path):
            os.remove(path)
    jobs = []
    for o in outputs:
        jobs.append(o.job())
        jobs.append(["load", o.path, o.loaded])
    # Quality 100: at lower qualities the black padding below the one row
    # bleeds into it.
    jobs.append(["save", save(Image.new("RGB", (65535, 1), (90, 160, 30)), "wide65535"), wide_ok, "24",
                 "quality=100"])
    jobs.append(["load", wide_ok, wide_ok + ".pm.ppm"])
    jobs.append(["save", save(Image.new("RGB", (65536, 1)), "wide65536"), wide_bad, "24"])
    answers = run_jobs(command, work, jobs)

    tables = {}
    for o in outputs:
        key = (o.quality, o.grey)
        if key not in tables:
            tables[key] = cjpeg_tables(natural, o.quality, o.grey, work)
    script = jpegtran_script(natural, work)

    decoded = {}
    for k, o in enumerate(outputs):
        if answers[2 * k] != "ok":
            problem("%s: save: %s" % (o.name, answers[2 * k]))
            continue
        data = open(o.path, "rb").read()
        check_structure(o, data, tables, script)
        size = Image.open(o.source).size
        theirs = check_decoders(o, size)
        if theirs is None:
            continue
        decoded[(o.source, o.quality, o.progressive, o.grey)] = (o, theirs)
        source = pixels(o.source, "L" if o.grey else "RGB")[1]
        value = psnr(source, theirs[1])
        floor = PSNR_FLOOR.get(o.quality) if o.source == natural and not o.grey else None
        print("%-34s %8d bytes  PSNR %6.2f dB%s" % (o.name, len(data), value,
                                                   "  (floor %.1f)" % floor if floor else ""))
        if floor and value < floor:
            problem("%s: PSNR %.2f below %.1f" % (o.name, value, floor))
        if answers[2 * k + 1] != "ok":
            problem("%s: our reader: %s" % (o.name, answers[2 * k + 1]))
        else:
            d = differences(pixels(o.loaded, "L" if o.grey else "RGB")[1], theirs[1])
            channels = 1 if o.grey else 3
            judge_mean = len(theirs[1]) >= MEAN_PIXELS * channels
            if d is None or d[0] > READER_MAX or (judge_mean and d[1] > READER_MEAN):
                problem("%s: our reader against djpeg: %s" % (o.name, d))

    for (src, q, progressive, grey), (o, theirs) in decoded.items():
        if not progressive:
            continue
        seq = decoded.get((src, q, False, grey))
        if not seq:
            continue
        if theirs != seq[1]:
            problem("%s: djpeg decodes it unlike the sequential file" % o.name)
        if not o.name.startswith("corrections"):
            compare_with_jpegtran(o, seq[0], work)

    # libjpeg stops at 65,500 pixels, so only our reader can read it back.
    if answers[-3] != "ok" or answers[-2] != "ok":
        problem("65535 wide: %s / %s" % (answers[-3], answers[-2]))
    else:
        size, data = pixels(wide_ok + ".pm.ppm", "RGB")
        sof = [p for c, p, _ in segments(open(wide_ok, "rb").read()) if c == 0xC0]
        worst = max(abs(v - w) for v, w in zip(data, b"\x5a\xa0\x1e" * 65535))
        if size != (65535, 1) or not sof or sof[0][3:5] != b"\xff\xff" or worst > 6:
            problem("65535 wide: read back %s, largest difference %d" % (size, worst))
    if not answers[-1].startswith("error EInvalidImage"):
        problem("65536 wide: %s, expected EInvalidImage" % answers[-1])
    if os.path.exists(wide_bad):
        problem("65536 wide: a file was left behind")

    report_cjpeg(natural, work)
    print("%d files checked, %d differences" % (len(outputs) + 2, len(problems)))
    sys.exit(1 if problems else 0)


def report_cjpeg(natural, work):
    """Size and PSNR at quality 75 beside cjpeg's (ours never subsamples)."""
    source = pixels(natural, "RGB")[1]
    for label, options in (("cjpeg -sample 1x1", ["-sample", "1x1"]), ("cjpeg (2x2)", []),
                           ("cjpeg -sample 1x1 -progressive", ["-sample", "1x1", "-progressive"])):
        out = os.path.join(work, "cjpeg-75-%d.jpg" % len(options))
        subprocess.run(["cjpeg", "-quality", "75"] + options + ["-outfile", out, natural], check=True)
        decode_djpeg(out, out + ".pnm")
        print("%-34s %8d bytes  PSNR %6.2f dB" % (label + " q75", os.path.getsize(out),
                                                 psnr(source, pixels(out + ".pnm", "RGB")[1])))


jpeginfo = False

if __name__ == "__main__":
    main()
