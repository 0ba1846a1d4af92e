#!/usr/bin/env python3
"""Compresses a readable language text into Kestrel's .lng format.

usage: lngencode.py INPUT.txt OUTPUT.lng

Format (integers little-endian): N, the text's length in bytes (32 bits);
L0, the shortest code length (0 to 8); then either one byte S (L0 = 0: the
text is N copies of S) or, for each code length from L0 to the longest, a
count byte and that many symbol bytes; then the text's canonical prefix
codes, most significant bit first. The program's decoder reads the codes
through at most four 8-bit lookup levels, so code lengths are limited
until the code fits them.
"""
import os
import sys

MAX_LEVELS = 4


def limited_lengths(freq, limit):
    """Optimal code lengths of at most `limit` bits (package-merge)."""
    leaves = sorted((count, [sym]) for sym, count in freq.items())
    packages = list(leaves)
    for _ in range(limit - 1):
        pairs = [(packages[i][0] + packages[i + 1][0], packages[i][1] + packages[i + 1][1])
                 for i in range(0, len(packages) - 1, 2)]
        packages = sorted(leaves + pairs, key=lambda p: p[0])
    lengths = dict.fromkeys(freq, 0)
    for _, symbols in packages[:2 * len(leaves) - 2]:
        for sym in symbols:
            lengths[sym] += 1
    return lengths


def counts_by_length(lengths):
    first, last = min(lengths.values()), max(lengths.values())
    return first, [sorted(s for s, n in lengths.items() if n == length) for length in range(first, last + 1)]


def lookup_levels(first, groups):
    """How many lookup levels the decoder builds for this description."""
    level, n, filled = 1, first, 0
    for symbols in groups:
        width = 256 >> n
        filled += len(symbols) * width
        if filled == 256:
            return level
        if width >= 2:
            n += 1
            continue
        ones = 0
        while ones < 8 and filled & (0x80 >> ones):
            ones += 1
        level += 1
        filled = (filled << ones) & 0xFF
        n = 9 - ones
    raise ValueError("incomplete code")


def choose_lengths(freq):
    """The shortest code the decoder's lookup levels can hold (two or more symbols)."""
    limit = min(len(freq) - 1, 32)
    while True:
        lengths = limited_lengths(freq, limit)
        if lookup_levels(*counts_by_length(lengths)) <= MAX_LEVELS:
            return lengths
        limit -= 1


def encode(text):
    out = bytearray(len(text).to_bytes(4, "little"))
    freq = {}
    for byte in text:
        freq[byte] = freq.get(byte, 0) + 1
    if len(freq) < 2:
        out += bytes([0, text[0] if text else ord("x")])
        return bytes(out)
    lengths = choose_lengths(freq)
    first, groups = counts_by_length(lengths)
    out.append(first)
    codes, code = {}, 0
    for symbols in groups:
        out.append(len(symbols))
        for sym in symbols:
            out.append(sym)
            codes[sym] = code
            code += 1
        code <<= 1
    bits, nbits = 0, 0
    for byte in text:
        bits = (bits << lengths[byte]) | codes[byte]
        nbits += lengths[byte]
        while nbits >= 8:
            nbits -= 8
            out.append((bits >> nbits) & 0xFF)
        bits &= (1 << nbits) - 1
    if nbits:
        out.append((bits << (8 - nbits)) & 0xFF)
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__.split("\n\n")[1] + "\n")
        return 2
    with open(argv[1], "rb") as source:
        text = source.read()
    data = encode(text)
    # Written under another name first, so that a failed run never leaves a
    # half-written language file in place of a good one.
    partial = argv[2] + ".part"
    with open(partial, "wb") as target:
        target.write(data)
    os.replace(partial, argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
