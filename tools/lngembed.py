#!/usr/bin/env python3
"""Builds a readable language text into the program as a C++ source.

usage: lngembed.py INPUT.txt OUTPUT.cpp NAME

The source defines `extern const char NAME[]` (the text, zero-terminated)
and `extern const unsigned NAME_size` (its length in bytes). The program
reads the text with the same reader as a language file, so the built-in
texts and the language file made from the same text cannot differ.
"""
import os
import sys


def literal(chunk):
    """One C string literal holding the bytes of chunk exactly."""
    out = ['"']
    for byte in chunk:
        if byte in (0x22, 0x5C):
            out.append("\\" + chr(byte))
        elif 0x20 <= byte < 0x7F and byte != 0x3F:
            out.append(chr(byte))
        else:
            # Octal escapes take at most three digits, so a following digit
            # is never swallowed; "?" is escaped against trigraphs.
            out.append("\\%03o" % byte)
    out.append('"')
    return "".join(out)


def source(text, name):
    lines = text.splitlines(keepends=True) or [b""]
    body = "\n".join("    " + literal(line) for line in lines)
    return ("// Made by tools/lngembed.py from the readable language text; do not edit.\n"
            "extern const char %s[];\n"
            "extern const unsigned %s_size;\n"
            "const char %s[] =\n%s;\n"
            "const unsigned %s_size = %d;\n" % (name, name, name, body, name, len(text)))


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__.split("\n\n")[1] + "\n")
        return 2
    with open(argv[1], "rb") as f:
        text = f.read()
    # Written under another name first, so that a failed run never leaves a
    # half-written source in place of a good one.
    partial = argv[2] + ".part"
    with open(partial, "w", encoding="ascii", newline="\n") as f:
        f.write(source(text, argv[3]))
    os.replace(partial, argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
