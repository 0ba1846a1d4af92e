#!/usr/bin/python3
"""Cross-checks the JPEG reader against libjpeg-turbo's djpeg.

usage: jpg_read_crosscheck.py <work folder> "<command running pmconv>"

Files written by cjpeg (sampling 1x1, 2x1, 2x2, grey, progressive, restart
intervals, optimised tables, qualities 10 to 100, sizes 1x1 to 640x481), by
ImageMagick and by Pillow, and the readable JPEG files of Go's image test
data, must decode as `djpeg -nosmooth -dct int` decodes them (replicated
chroma, like ours): PSNR above 45 dB and no channel off by more than 6
(PSNR only for pictures of 64 pixels or more: over a single pixel it is the
rounding of three values). The two decoders differ in their inverse
transform and colour rounding (our colour tables truncate toward zero, which
alone raises the mean difference from about 0.4 to 0.9), hence the
tolerance.
Lossless transcodes of one file by jpegtran (progressive, restart markers,
one scan per component, optimised tables) and the file with its DQT and DHT
segments removed (quality 50 uses the example tables) must decode to
exactly the pixels of the original.
Arithmetic-coded, lossless, 12-bit, CMYK, RGB and 1x2-sampled files must be
refused with EInvalidImage.
Prints one line per file (largest difference, mean difference, PSNR) and
exits non-zero on any failure.
"""
import math
import os
import shlex
import shutil
import subprocess
import sys

from PIL import Image, ImageDraw

MIN_PSNR = 45.0
MAX_ERROR = 6
GO_TESTDATA = "/usr/share/go-1.19/src/image/testdata"

problems = []


def problem(text):
    problems.append(text)
    print("FAIL " + text)


def test_picture(width, height, seed=3):
    """Smooth gradients, hard-edged discs, text and a noisy strip: what
    photographs and drawings give a JPEG coder."""
    im = Image.new("RGB", (width, height))
    px = im.load()
    for y in range(height):
        for x in range(width):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            if y > height * 4 // 5:
                px[x, y] = (seed & 255, seed >> 8 & 255, seed >> 16 & 255)
            else:
                px[x, y] = (int(128 + 100 * math.sin(x / 13.0)), int(128 + 90 * math.cos(y / 9.0 + x / 31.0)),
                            (x * y) // 97 % 256)
    draw = ImageDraw.Draw(im)
    for i in range(max(1, width * height // 1000)):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        x0, y0 = seed % width, (seed >> 10) % height
        colour = (seed >> 3 & 255, seed >> 11 & 255, seed >> 19 & 255)
        draw.ellipse([x0, y0, x0 + 5 + seed % 35, y0 + 5 + (seed >> 6) % 35], fill=colour)
    draw.text((3, 3), "Kestrel", fill=(255, 255, 255))
    return im


def run(args, out_path=None, stdin_path=None):
    stdin = open(stdin_path, "rb") if stdin_path else None
    stdout = open(out_path, "wb") if out_path else subprocess.DEVNULL
    try:
        subprocess.run(args, stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL, check=True)
    finally:
        for f in (stdin, stdout):
            if f not in (None, subprocess.DEVNULL):
                f.close()


def cjpeg_fixtures(work, sources):
    """(file, compare with djpeg) made by cjpeg from the PPM sources."""
    made = []
    options = [
        ("q90-1x1", "ppm", ["-quality", "90", "-sample", "1x1"]),
        ("q90-2x1", "ppm", ["-quality", "90", "-sample", "2x1"]),
        ("q90-2x2", "ppm", ["-quality", "90", "-sample", "2x2"]),
        ("q100-1x1", "ppm", ["-quality", "100", "-sample", "1x1"]),
        ("q75-2x2", "ppm", ["-quality", "75"]),
        ("q30-2x1", "ppm", ["-quality", "30", "-sample", "2x1"]),
        ("q10-2x2", "ppm", ["-quality", "10"]),
        ("grey-q85", "ppm", ["-grayscale", "-quality", "85"]),
        ("grey-prog", "ppm", ["-grayscale", "-progressive"]),
        ("prog-1x1", "ppm", ["-progressive", "-sample", "1x1"]),
        ("prog-2x1", "ppm", ["-progressive", "-sample", "2x1", "-quality", "60"]),
        ("prog-2x2", "ppm", ["-progressive", "-quality", "95"]),
        ("restart-1", "ppm", ["-restart", "1"]),
        ("restart-5B-2x1", "ppm", ["-restart", "5B", "-sample", "2x1"]),
        ("restart-prog", "ppm", ["-restart", "2", "-progressive"]),
        ("optimize-1x1", "ppm", ["-optimize", "-sample", "1x1", "-quality", "50"]),
        ("optimize-2x2", "ppm", ["-optimize"]),
    ]
    for size, ppm in sources:
        for name, _, opts in options:
            # The odd sizes need only the sampling modes.
            if size != "203x131" and name not in ("q90-1x1", "q90-2x1", "q90-2x2", "grey-q85", "prog-2x2"):
                continue
            path = os.path.join(work, "cjpeg-%s-%s.jpg" % (size, name))
            run(["cjpeg"] + opts + [ppm], path)
            made.append(path)
    return made


def magick_fixtures(work, png):
    made = []
    for name, opts in [("default", ["-quality", "85"]), ("progressive", ["-interlace", "Plane"]),
                       ("2x1", ["-sampling-factor", "2x1", "-quality", "92"]),
                       ("1x1", ["-sampling-factor", "1x1", "-quality", "70"]),
                       ("grey", ["-colorspace", "Gray", "-quality", "80"])]:
        path = os.path.join(work, "magick-%s.jpg" % name)
        run(["convert", png] + opts + [path])
        made.append(path)
    return made


def pillow_fixtures(work, src):
    made = []
    for name, image, kwargs in [("420", src, {"quality": 80}), ("444", src, {"quality": 93, "subsampling": 0}),
                                ("422", src, {"quality": 70, "subsampling": 1}),
                                ("progressive", src, {"progressive": True, "optimize": True}),
                                ("grey", src.convert("L"), {"quality": 88})]:
        path = os.path.join(work, "pillow-%s.jpg" % name)
        image.save(path, "JPEG", **kwargs)
        made.append(path)
    return made


def go_fixtures(work):
    """Go's JPEG test files that the reader accepts, and those it refuses
    (4:1:1, 4:4:0, 4:1:0 and 1x2 sampling, CMYK, RGB, grey with 2x2)."""
    readable, refused = [], []
    if not os.path.isdir(GO_TESTDATA):
        print("note: %s not found; Go's test files skipped" % GO_TESTDATA)
        return readable, refused
    for name in sorted(os.listdir(GO_TESTDATA)):
        if not name.endswith(".jpeg"):
            continue
        path = os.path.join(work, "go-" + name)
        shutil.copyfile(os.path.join(GO_TESTDATA, name), path)
        bad = any(tag in name for tag in (".221212.", ".cmyk.", ".rgb.", ".410.", ".411.", ".440.", "gray.q50.2x2"))
        (refused if bad else readable).append(path)
    return readable, refused


# ---- byte-level variants --------------------------------------------------

def segments(data):
    """(offset, code, length) of each marker segment before the first scan."""
    out, i = [], 2
    while i + 4 <= len(data):
        code, length = data[i + 1], data[i + 2] << 8 | data[i + 3]
        out.append((i, code, length))
        if code == 0xDA:
            break
        i += 2 + length
    return out


def frame_offset(data):
    return next(i for i, code, _ in segments(data) if 0xC0 <= code <= 0xC2)


def without_tables(data):
    """The file with its DQT and DHT segments removed."""
    keep = bytearray(data[:2])
    for i, code, length in segments(data):
        if code not in (0xDB, 0xC4):
            keep += data[i:i + 2 + length] if code != 0xDA else data[i:]
    return bytes(keep)


def refused_fixtures(work, ppm, base):
    made = []
    arith = os.path.join(work, "refuse-arithmetic.jpg")
    run(["cjpeg", "-arithmetic", ppm], arith)
    made.append(arith)
    run(["cjpeg", "-sample", "1x2", ppm], os.path.join(work, "refuse-1x2.jpg"))
    made.append(os.path.join(work, "refuse-1x2.jpg"))
    run(["cjpeg", "-rgb", ppm], os.path.join(work, "refuse-rgb.jpg"))
    made.append(os.path.join(work, "refuse-rgb.jpg"))
    cmyk = os.path.join(work, "refuse-cmyk.jpg")
    run(["convert", ppm, "-colorspace", "CMYK", cmyk])
    made.append(cmyk)
    data = open(base, "rb").read()
    sof = frame_offset(data)
    for name, offset, value in [("lossless", 1, 0xC3), ("12bit", 4, 12), ("hierarchical", 1, 0xC5)]:
        patched = bytearray(data)
        patched[sof + offset] = value
        path = os.path.join(work, "refuse-%s.jpg" % name)
        open(path, "wb").write(bytes(patched))
        made.append(path)
    return made


def transcode_groups(work, ppm):
    """Groups of files holding the same coefficients: each must decode to
    the pixels of the group's first file."""
    groups = []
    for name, opts in [("2x2", []), ("2x1", ["-sample", "2x1"]), ("1x1", ["-sample", "1x1"]),
                       ("grey", ["-grayscale"])]:
        base = os.path.join(work, "same-%s.jpg" % name)
        run(["cjpeg", "-quality", "80"] + opts + [ppm], base)
        group = [base]
        variants = [("prog", ["-progressive"]), ("restart1", ["-restart", "1"]),
                    ("restart2-prog", ["-restart", "2", "-progressive"]),
                    ("restart7B", ["-restart", "7B"]), ("optimize", ["-optimize"])]
        grey = name == "grey"
        scans = os.path.join(work, "scans-%s.txt" % name)
        with open(scans, "w") as f:
            # One scan per component; the luma scan of a sub-sampled frame
            # walks 8x8 blocks, not MCUs.
            f.write("0;\n" if grey else "0;\n1;\n2;\n")
        variants.append(("separate", ["-scans", scans]))
        if not grey:
            mixed = os.path.join(work, "scans-mixed-%s.txt" % name)
            with open(mixed, "w") as f:
                f.write("0;\n1 2;\n")
            variants.append(("luma-then-chroma", ["-scans", mixed]))
        for tag, opts2 in variants:
            path = os.path.join(work, "same-%s-%s.jpg" % (name, tag))
            run(["jpegtran"] + opts2 + [base], path)
            group.append(path)
        groups.append(group)
    k50 = os.path.join(work, "same-k50.jpg")
    run(["cjpeg", "-quality", "50", "-baseline", ppm], k50)
    bare = os.path.join(work, "same-k50-no-tables.jpg")
    open(bare, "wb").write(without_tables(open(k50, "rb").read()))
    groups.append([k50, bare])
    return groups


# ---- comparison -----------------------------------------------------------

def rgb_bytes(path):
    im = Image.open(path)
    im.load()
    return im.size, im.convert("RGB").tobytes()


def djpeg(path, out):
    run(["djpeg", "-nosmooth", "-dct", "int", "-ppm", path], out)
    return rgb_bytes(out)


def compare_djpeg(name, ours, theirs):
    if ours[0] != theirs[0]:
        problem("%s: size %s, djpeg %s" % (name, ours[0], theirs[0]))
        return None
    a, b = ours[1], theirs[1]
    hist = [0] * 256
    for x, y in zip(a, b):
        hist[abs(x - y)] += 1
    worst = max(i for i in range(256) if hist[i])
    mse = sum(i * i * n for i, n in enumerate(hist)) / len(a)
    mean = sum(i * n for i, n in enumerate(hist)) / len(a)
    psnr = 99.0 if mse == 0 else 10 * math.log10(255 * 255 / mse)
    print("%-44s max %d  mean %.3f  PSNR %5.1f dB" % (name, worst, mean, psnr))
    if (psnr <= MIN_PSNR and len(a) >= 3 * 64) or worst > MAX_ERROR:
        problem("%s: PSNR %.1f dB, largest difference %d against djpeg" % (name, psnr, worst))
    return worst, mean, psnr, len(a) // 3


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


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(work, exist_ok=True)
    sources = []
    for w, h in [(203, 131), (640, 481), (17, 9), (1, 1), (16, 16)]:
        ppm = os.path.join(work, "source-%dx%d.ppm" % (w, h))
        test_picture(w, h).save(ppm)
        sources.append(("%dx%d" % (w, h), ppm))
    src = test_picture(203, 131)
    png = os.path.join(work, "source.png")
    src.save(png)
    ppm = sources[0][1]

    go_readable, go_refused = go_fixtures(work)
    compared = cjpeg_fixtures(work, sources) + magick_fixtures(work, png) + pillow_fixtures(work, src) + go_readable
    groups = transcode_groups(work, ppm)
    refused = refused_fixtures(work, ppm, groups[0][0]) + go_refused
    same = [path for group in groups for path in group]

    loads = compared + same + refused
    outs = [os.path.join(work, "pm-%03d.ppm" % i) for i in range(len(loads))]
    answers = run_jobs(command, work, [["load", path, out] for path, out in zip(loads, outs)])
    result = dict(zip(loads, zip(answers, outs)))

    stats = []
    for path in compared:
        name = os.path.basename(path)
        answer, out = result[path]
        if answer != "ok":
            problem("%s: %s" % (name, answer))
            continue
        s = compare_djpeg(name, rgb_bytes(out), djpeg(path, path + ".djpeg.ppm"))
        if s:
            stats.append(s)
    for group in groups:
        first = None
        for path in group:
            name = os.path.basename(path)
            answer, out = result[path]
            if answer != "ok":
                problem("%s: %s" % (name, answer))
                continue
            pixels = rgb_bytes(out)
            if first is None:
                first = pixels
            elif pixels != first:
                problem("%s: pixels differ from %s" % (name, os.path.basename(group[0])))
        print("%-44s %d files, identical pixels" % (os.path.basename(group[0]), len(group)))
    for path in refused:
        answer = result[path][0]
        if not answer.startswith("error EInvalidImage"):
            problem("%s: %s, expected EInvalidImage" % (os.path.basename(path), answer))
        else:
            print("%-44s refused: %s" % (os.path.basename(path), answer[len("error EInvalidImage "):]))

    if stats:
        big = [s for s in stats if s[3] >= 64]
        print("against djpeg: %d files, lowest PSNR %.1f dB (of %d pictures of 64 pixels or more), "
              "largest difference %d, largest mean %.3f" % (len(stats), min(s[2] for s in big), len(big),
                                                            max(s[0] for s in stats), max(s[1] for s in stats)))
    print("%d compared, %d in transcode groups, %d refused, %d failures"
          % (len(compared), len(same), len(refused), len(problems)))
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
