#!/usr/bin/python3
"""Cross-checks the icon reader against icoutils' writer and Pillow's reader.

usage: ico_crosscheck.py <work folder> "<command running pmconv>"

Icons made by icotool -c from pictures with transparent pixels, at 4, 8 and
32 bits per pixel (masks included), one image each and several sizes in one
file, and the sample icon of libsdl2-image-tests: our decode must equal
Pillow's decode of the image nearest 32 x 32 (the deeper one on ties), laid
over white, where the mask makes pixels transparent. A file with a damaged
directory must be refused with EInvalidImage. Exits non-zero on any
difference.
"""
import os
import subprocess
import sys

from PIL import Image, IcoImagePlugin

sys.path.insert(0, os.path.dirname(__file__))
from crosscheck import compare, finish, problem, run_jobs, start  # noqa: E402

SDL_SAMPLE = "/usr/libexec/installed-tests/SDL2_image/sample.ico"


def picture(size, colours, seed):
    """A few colours in blocks, with a transparent corner and a transparent
    diagonal, so the mask matters at every depth."""
    palette = [((i * 53 + 20) & 255, (i * 97 + 40) & 255, (i * 151 + 80) & 255) for i in range(colours)]
    im = Image.new("RGBA", (size, size))
    px = im.load()
    for y in range(size):
        for x in range(size):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            colour = palette[((x // 3) + (y // 2) * 5 + (seed >> 20 & 1)) % colours]
            clear = (x < size // 4 and y < size // 4) or x == y
            px[x, y] = colour + ((0,) if clear else (255,))
    return im


def icotool_icon(work, name, entries):
    """entries: (size, bits, colours); icotool picks the layout from the bit depth."""
    args = ["icotool", "-c", "-o", os.path.join(work, name)]
    for i, (size, bits, colours) in enumerate(entries):
        png = os.path.join(work, "%s-%d.png" % (name, i))
        picture(size, colours, i + size).save(png)
        args += ["-b", str(bits), png]
    subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return os.path.join(work, name)


def chosen_entry(path):
    """Pillow's image of the entry nearest 32 x 32, deeper on ties, over white."""
    with open(path, "rb") as f:
        ico = IcoImagePlugin.IcoFile(f)
        best = min(ico.entry, key=lambda e: (abs(e["width"] - 32) + abs(e["height"] - 32), -e["bpp"]))
        im = ico.getimage((best["width"], best["height"]), best["bpp"]).convert("RGBA")
    white = Image.new("RGBA", im.size, (255, 255, 255, 255))
    # Icons are masked, not blended: a pixel is either shown or not.
    mask = im.getchannel("A").point(lambda a: 255 if a > 127 else 0)
    white.paste(im, (0, 0), mask)
    return white.size, white.convert("RGB").tobytes()


def damaged(work, good):
    with open(good, "rb") as f:
        data = bytearray(f.read())
    data[18:22] = (0x7FFFFFF0).to_bytes(4, "little")  # image size far past the file's end
    path = os.path.join(work, "damaged.ico")
    with open(path, "wb") as f:
        f.write(data)
    return path


def main():
    work, command = start(__doc__)
    icons = [
        icotool_icon(work, "mono4.ico", [(32, 4, 16)]),
        icotool_icon(work, "pal8.ico", [(32, 8, 200)]),
        icotool_icon(work, "rgba32.ico", [(32, 32, 256)]),
        icotool_icon(work, "odd8.ico", [(21, 8, 60)]),
        icotool_icon(work, "sizes.ico", [(16, 32, 256), (48, 32, 256), (32, 8, 100), (32, 32, 256)]),
    ]
    if os.path.exists(SDL_SAMPLE):
        icons.append(SDL_SAMPLE)
    refused = damaged(work, icons[1])

    jobs = [["load", path, os.path.join(work, "out%02d.ppm" % i)] for i, path in enumerate(icons)]
    jobs.append(["load", refused, os.path.join(work, "refused.ppm")])
    answers = run_jobs(command, work, jobs)

    for i, path in enumerate(icons):
        name = os.path.basename(path)
        if answers[i] != "ok":
            problem("%s: %s" % (name, answers[i]))
            continue
        with Image.open(jobs[i][2]) as ours:
            compare(name, (ours.size, ours.convert("RGB").tobytes()), chosen_entry(path))
    if not answers[-1].startswith("error EInvalidImage"):
        problem("damaged.ico: %s, expected EInvalidImage" % answers[-1])

    finish("%d icons read, 1 refused" % len(icons))


if __name__ == "__main__":
    main()
