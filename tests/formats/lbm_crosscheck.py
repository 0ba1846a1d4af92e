#!/usr/bin/python3
"""Cross-checks the IFF (ILBM, PBM) reader and writer against independent decoders.

usage: lbm_crosscheck.py <work folder> "<command running pmconv>"

Neither Pillow nor ImageMagick reads IFF on its own, so the references are
netpbm's ilbmtoppm and a small reader written here from the file layout
(chunks, BMHD, CMAP, BODY of interleaved planes or chunky bytes, ByteRun1
with -128 as no operation).
Reading: files written by netpbm's ppmtoilbm (1 to 8 planes and 24 planes,
compressed and not, with a mask plane) must decode as ilbmtoppm decodes
them; files made here ("PBM " chunky files, odd widths, a mask plane of
8 planes, ByteRun1 padded with -128, colour maps of odd length, unknown
chunks) as the reader here and ilbmtoppm decode them. ilbmtoppm takes
"PBM " rows of odd width without their pad byte, so it is not asked about
those. Files the reader must refuse (a "PBM " of 4 planes, a colour
map above 768 bytes, a run past the row's end) must give EInvalidImage.
Writing: our 1 to 8 and 24-bit .iff files and 8-bit .lbm files, widths 1
to 33 included, must be well formed (type, planes, FORM length = file size
- 8, chunk lengths), never use the control byte -128, and decode in
the reader here and ilbmtoppm (but odd-width "PBM ") to the pixels our own
reader gives; at 24
bits they equal their source.
Exits non-zero on any difference.
"""
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
from crosscheck import (add_save_jobs, check_save_answers, compare, finish, pillow_decode, problem,  # noqa: E402
                        run_jobs, start, test_picture, tool_decode, write_file)



def index_rows(width, height, colours, seed):
    """Rows of indices with runs of every length up to 140."""
    rows = []
    for _ in range(height):
        row = []
        while len(row) < width:
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            value = (seed >> 16) % colours
            row += [value] * (1 + (seed >> 4) % 140) if seed & 1 else [value]
        rows.append(row[:width])
    return rows


def palette_of(colours):
    return [((i * 37) & 255, (i * 71 + 9) & 255, (i * 113 + 50) & 255) for i in range(colours)]


# ---- IFF layout, as the format describes it --------------------------------

def chunk(ident, data):
    return ident + struct.pack(">I", len(data)) + data + bytes(len(data) & 1)


def form(kind, chunks):
    return chunk(b"FORM", kind + b"".join(chunks))


def bmhd(width, height, planes, masking=0, compression=0):
    return chunk(b"BMHD", struct.pack(">HHhhBBBBBBBBHH", width, height, 0, 0, planes, masking, compression, 0,
                                      0, 0, 1, 1, width, height))


def cmap(palette):
    return chunk(b"CMAP", b"".join(bytes(c) for c in palette))


def byterun1(row, pad_controls=False):
    """Repeats of 2 and more and literals of at most 5 bytes; with
    pad_controls a -128 (no operation) before every run."""
    out = b""
    i = 0
    while i < len(row):
        if pad_controls:
            out += b"\x80"
        n = 1
        while i + n < len(row) and n < 128 and row[i + n] == row[i]:
            n += 1
        if n >= 2:
            out += bytes((257 - n, row[i]))
            i += n
            continue
        n = 1
        while i + n < len(row) and n < 5 and row[i + n] != row[i + n - 1]:
            n += 1
        out += bytes((n - 1,)) + bytes(row[i:i + n])
        i += n
    return out


def plane_row(values, bit):
    out = bytearray((len(values) + 15) // 16 * 2)
    for i, v in enumerate(values):
        if v >> bit & 1:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def ilbm_body(rows, planes, compress, mask_rows=None, pad_controls=False):
    body = b""
    for y, row in enumerate(rows):
        stored = [plane_row(row, k) for k in range(planes)]
        if mask_rows is not None:
            stored.append(plane_row(mask_rows[y], 0))
        for s in stored:
            body += byterun1(s, pad_controls) if compress else s
    return chunk(b"BODY", body)


def pbm_body(rows, compress):
    body = b""
    for row in rows:
        stored = bytes(row) + bytes(len(row) & 1)
        body += byterun1(stored) if compress else stored
    return chunk(b"BODY", body)


# ---- the reader here --------------------------------------------------------

class Unreadable(Exception):
    pass


def chunks_of(data):
    if data[:4] != b"FORM":
        raise Unreadable("no FORM")
    kind = data[8:12]
    at = 12
    while at + 8 <= len(data):
        ident = data[at:at + 4]
        length = struct.unpack(">I", data[at + 4:at + 8])[0]
        yield kind, ident, data[at + 8:at + 8 + length]
        at += 8 + length + (length & 1)


def unpack(data, at, n):
    """One ByteRun1-coded row of n bytes from data[at:]; (row, next at)."""
    out = bytearray()
    while len(out) < n:
        c = data[at]
        at += 1
        if c < 128:
            out += data[at:at + c + 1]
            at += c + 1
        elif c > 128:
            out += bytes((data[at],)) * (257 - c)
            at += 1
        if len(out) > n:
            raise Unreadable("run past the row's end")
    return bytes(out), at


def decode_iff(path):
    """((width, height), RGB bytes) of an ILBM or PBM file."""
    data = open(path, "rb").read()
    head = palette = body = kind = None
    for kind, ident, content in chunks_of(data):
        if ident == b"BMHD":
            head = struct.unpack(">HHhhBBBB", content[:12])
        elif ident == b"CMAP":
            palette = [tuple(content[i:i + 3]) for i in range(0, len(content) - 2, 3)]
        elif ident == b"BODY":
            body = content
    width, height, _, _, planes, masking, compression, _ = head
    chunky = kind == b"PBM "
    palette = (palette or []) + [(0, 0, 0)] * 256
    row_bytes = (width + 1) & ~1 if chunky else (width + 15) // 16 * 2
    stored = 1 if chunky else planes + (masking == 1)
    out = bytearray()
    at = 0
    for _ in range(height):
        rows = []
        for _ in range(stored):
            if compression:
                row, at = unpack(body, at, row_bytes)
            else:
                row, at = body[at:at + row_bytes], at + row_bytes
            rows.append(row)
        for x in range(width):
            if chunky:
                v = rows[0][x]
            else:
                v = sum((rows[k][x // 8] >> (7 - x % 8) & 1) << k for k in range(planes))
            if planes == 24:
                out += bytes((v & 255, v >> 8 & 255, v >> 16))
            else:
                out += bytes(palette[v])
    return (width, height), bytes(out)


def count_minus_128(path):
    """Control bytes of -128 in the coded BODY of a file we wrote."""
    data = open(path, "rb").read()
    for kind, ident, content in chunks_of(data):
        if ident == b"BMHD":
            width, planes = struct.unpack(">H", content[:2])[0], content[8]
            row_bytes = (width + 1) & ~1 if kind == b"PBM " else (width + 15) // 16 * 2
        elif ident == b"BODY":
            at, found = 0, 0
            while at < len(content):
                done = 0
                while done < row_bytes:
                    c = content[at]
                    at += 1
                    if c < 128:
                        done += c + 1
                        at += c + 1
                    elif c > 128:
                        done += 257 - c
                        at += 1
                    else:
                        found += 1
            return found
    return 0


# ---- reference decoders and comparing ---------------------------------------

def ilbmtoppm_decode(path):
    return tool_decode(["ilbmtoppm", path])


# ---- fixtures ---------------------------------------------------------------

def netpbm_fixtures(work, ppm):
    """(path, reference) of ppmtoilbm files."""
    made = []
    for planes in range(1, 9):
        quant = os.path.join(work, "quant%d.ppm" % planes)
        with open(quant, "wb") as out:
            subprocess.run(["pnmquant", str(1 << planes), ppm], stdout=out, stderr=subprocess.DEVNULL, check=True)
        for compress in ("byterun1", "none"):
            path = os.path.join(work, "netpbm-%d-%s.iff" % (planes, compress))
            with open(path, "wb") as out:
                subprocess.run(["ppmtoilbm", "-fixplanes", str(planes), "-cmethod", compress, quant], stdout=out,
                               stderr=subprocess.DEVNULL, check=True)
            made.append(path)
    mask = os.path.join(work, "mask.pbm")
    with open(mask, "wb") as out:
        subprocess.run(["pbmmake", "-gray", "37", "23"], stdout=out, check=True)
    for name, options in (("netpbm-24-byterun1.iff", ["-24force"]),
                          ("netpbm-24-none.iff", ["-24force", "-cmethod", "none"]),
                          ("netpbm-24-mask.iff", ["-24force", "-maskfile", mask]),
                          ("netpbm-4-mask.iff", ["-fixplanes", "4", "-maskfile", mask])):
        path = os.path.join(work, name)
        source = os.path.join(work, "quant4.ppm") if "-4-" in name else ppm
        with open(path, "wb") as out:
            subprocess.run(["ppmtoilbm"] + options + [source], stdout=out, stderr=subprocess.DEVNULL, check=True)
        made.append(path)
    return made


def crafted_fixtures():
    """(name, bytes) of files made here."""
    made = []
    for width in (1, 7, 16, 29):
        rows = index_rows(width, 9, 256, width)
        for compress in (0, 1):
            made.append(("made-pbm-%d-%d.lbm" % (width, compress),
                         form(b"PBM ", [bmhd(width, 9, 8, 0, compress), cmap(palette_of(256)),
                                        pbm_body(rows, compress)])))
    rows = index_rows(33, 7, 256, 3)
    masks = index_rows(33, 7, 2, 4)
    made.append(("made-8-mask.iff", form(b"ILBM", [bmhd(33, 7, 8, 1, 1), cmap(palette_of(256)),
                                                   ilbm_body(rows, 8, True, masks)])))
    rows = index_rows(41, 6, 32, 5)
    made.append(("made-5-noop.iff", form(b"ILBM", [bmhd(41, 6, 5, 0, 1), cmap(palette_of(32)),
                                                   ilbm_body(rows, 5, True, pad_controls=True)])))
    # Unknown chunks of odd length before and between the known ones, and a
    # colour map of 11 entries for 4 planes.
    rows = index_rows(19, 5, 11, 6)
    made.append(("made-4-chunks.iff", form(b"ILBM", [chunk(b"ANNO", b"odd"), bmhd(19, 5, 4, 0, 1),
                                                     chunk(b"CAMG", bytes(4)), cmap(palette_of(11)),
                                                     chunk(b"XTRA", b"\0\x48\0"), ilbm_body(rows, 4, True)])))
    return made


def refused_fixtures():
    """(name, bytes, detail) of files the reader must refuse."""
    rows = index_rows(8, 2, 16, 7)
    return [("bad-pbm-4.lbm", form(b"PBM ", [bmhd(8, 2, 4), cmap(palette_of(16)), pbm_body(rows, 0)]),
             "IFF: PBM picture without 8 planes"),
            ("bad-cmap.iff", form(b"ILBM", [bmhd(8, 2, 4), cmap(palette_of(257)), ilbm_body(rows, 4, False)]),
             "IFF: colour map above 768 bytes"),
            ("bad-run.iff", form(b"ILBM", [bmhd(8, 2, 4, 0, 1), cmap(palette_of(16)),
                                           chunk(b"BODY", b"\xfd\x01" * 16)]),
             "IFF: repeat run past the end of the row")]


# ---- running pmconv and checking --------------------------------------------

def check_layout(path, bits):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    kind = b"PBM " if path.lower().endswith(".lbm") and bits == 8 else b"ILBM"
    if data[:4] != b"FORM" or data[8:12] != kind:
        problem("%s: starts %r, expected FORM ... %r" % (name, data[:12], kind))
        return
    if struct.unpack(">I", data[4:8])[0] != len(data) - 8:
        problem("%s: FORM length %d, file %d bytes" % (name, struct.unpack(">I", data[4:8])[0], len(data)))
    idents = []
    for _, ident, content in chunks_of(data):
        idents.append(ident)
        if ident == b"BMHD" and (content[8] != bits or content[10] != 1):
            problem("%s: BMHD planes %d compression %d, expected %d and 1" % (name, content[8], content[10], bits))
        if ident == b"CMAP" and len(content) != 3 << bits:
            problem("%s: CMAP of %d bytes, expected %d" % (name, len(content), 3 << bits))
    expected = [b"BMHD", b"CMAP", b"BODY"] if bits <= 8 else [b"BMHD", b"BODY"]
    if idents != expected:
        problem("%s: chunks %s, expected %s" % (name, idents, expected))
    if count_minus_128(path):
        problem("%s: uses the control byte -128" % name)


def odd_chunky(path):
    """ilbmtoppm reads "PBM " rows of odd widths without their pad byte."""
    data = open(path, "rb").read()
    return data[8:12] == b"PBM " and struct.unpack(">H", data[20:22])[0] % 2 == 1


def check_saved(path, bits, ours_ppm, source):
    name = os.path.basename(path)
    check_layout(path, bits)
    ours = pillow_decode(ours_ppm)
    compare(name + " (the reader here)", decode_iff(path), ours)
    if odd_chunky(path):
        return
    try:
        compare(name + " (ilbmtoppm)", ilbmtoppm_decode(path), ours)
    except subprocess.CalledProcessError as e:
        problem("%s: ilbmtoppm cannot read it: %s" % (name, e))
    if bits == 24:
        compare(name + " against its source", ours, pillow_decode(source))


def save_cases(work, src_ppm):
    cases = []
    for bits in list(range(1, 9)) + [24]:
        cases.append((src_ppm, os.path.join(work, "ours-%d.iff" % bits), bits))
    cases.append((src_ppm, os.path.join(work, "ours-8.lbm"), 8))
    for width in range(1, 34):
        ppm = os.path.join(work, "narrow-%d.ppm" % width)
        test_picture(width, 5, seed=width).save(ppm)
        for bits in (1, 3, 8, 24):
            cases.append((ppm, os.path.join(work, "narrow-%d-%d.iff" % (width, bits)), bits))
        cases.append((ppm, os.path.join(work, "narrow-%d-8.lbm" % width), 8))
    return cases


def main():
    work, command = start(__doc__)
    src = test_picture()
    src_ppm = os.path.join(work, "source.ppm")
    src.save(src_ppm)

    loads = [(path, "ilbmtoppm") for path in netpbm_fixtures(work, src_ppm)]
    for name, data in crafted_fixtures():
        loads.append((write_file(work, name, data), "here"))
    refused = []
    for name, data, detail in refused_fixtures():
        refused.append((write_file(work, name, data), detail))

    jobs = [["load", path, os.path.join(work, "out%03d.ppm" % i)] for i, (path, _) in enumerate(loads)]
    jobs += [["load", path, path + ".ppm"] for path, _ in refused]
    cases = save_cases(work, src_ppm)
    add_save_jobs(jobs, cases)

    answers = run_jobs(command, work, jobs)

    for i, (path, reference) in enumerate(loads):
        name = os.path.basename(path)
        if answers[i] != "ok":
            problem("%s: %s" % (name, answers[i]))
            continue
        ours = pillow_decode(jobs[i][2])
        if reference == "ilbmtoppm":
            compare(name + " (as ilbmtoppm reads it)", ours, ilbmtoppm_decode(path))
        compare(name + " (as the reader here reads it)", ours, decode_iff(path))
        if reference == "here" and not odd_chunky(path):
            compare(name + " (as ilbmtoppm reads it)", ours, ilbmtoppm_decode(path))
    base = len(loads)
    for k, (path, detail) in enumerate(refused):
        if answers[base + k] != "error EInvalidImage " + detail:
            problem("%s: %s, expected EInvalidImage %s" % (os.path.basename(path), answers[base + k], detail))
    check_save_answers(answers, base + len(refused), cases, check_saved)

    finish("%d files read, %d refused, %d written" % (len(loads), len(refused), len(cases)))


if __name__ == "__main__":
    main()
