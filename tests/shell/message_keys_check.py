#!/usr/bin/env python3
"""Every message key the program looks up has a built-in English text.

usage: message_keys_check.py SOURCE_DIR

Collects the keys from the program's sources: the string literals passed
to the functions that look a key up (Translate, TranslatedMessageBox,
BuiltInText), and, followed automatically, to every function that hands
one of its parameters on to them. A key held in a field comes from the
assignments to that field. An argument the scanner cannot trace (a key
built at run time, a new kind of route) fails the check until it is
traced here, so no key is skipped silently. The texts are the messages of
kestrel/shell/english.txt, which the build compiles in.
"""
import os
import re
import sys

# The language layer's look-ups: function name -> argument positions of keys.
LOOKUPS = {"Translate": {0}, "TranslatedMessageBox": {0, 1}, "BuiltInText": {0}}

# Fields that hold a key: the tools' hint key and option-bar key, and a tool
# group's bound name, read where the hint is made.
KEY_FIELDS = ("iconKey", "optionBarKey", "boundName")

# Keys that only mark something and are never shown: the grid tool's option-bar
# key names the grid bar, which is built from its own controls, not from a
# language text.
MARKERS = {"xxx"}

# An undo step's name (UndoEntry::key) is the key given to SaveUndo, or
# another step's name.
UNDO_NAME = re.compile(r"^\w+\s*->\s*key$")
UNDO_NAME_SOURCE = ("SaveUndo", 1)

# Names that are not keys: a step named after a plug-in filter carries the
# name the filter gives itself, which no language has a text for; a
# component's fault message is already translated, piece by piece, where it
# is made (its keys are checked there, as Translate calls). A filter
# component's own names are looked up as "~" + the name (TranslateName,
# ComponentNameKey), which only a language file may translate.
FOREIGN_NAME = re.compile(r'^(?:(?:GetAdobePlugInName|FaultText|ComponentNameKey|TranslateName)\s*\(|"~"\s*\+)')

# Functions whose return value is a key: their literal returns count.
KEY_RETURNING = re.compile(r"^(?:\w+\s*->\s*)?(\w*Key)\s*\(\s*\)$")

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
IDENT = re.compile(r"^[A-Za-z_]\w*$")
DECLARATION = re.compile(r"^(?:const\s+)?[\w:<>]+(?:\s*[*&]+\s*|\s+)[A-Za-z_]\w*(?:\s*=.*)?$")
FUNCTION = re.compile(r"\b(?!(?:if|for|while|switch|catch)\b)([A-Za-z_][\w:]*)\s*\(([^()]*)\)\s*(?:const\s*)?(?:override\s*)?(?::[^;{}]*)?\{")


def strip_comments(text):
    """The text with comments blanked out, string and character literals kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            out.append(" " * ((n if j < 0 else j + 2) - i))
            i = n if j < 0 else j + 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def arguments(text, open_paren):
    """The top-level arguments of the call whose "(" (or "{") is at open_paren."""
    closer = {"(": ")", "{": "}"}[text[open_paren]]
    depth, i, start, args = 0, open_paren, open_paren + 1, []
    while i < len(text):
        c = text[i]
        if c in "\"'":
            j = i + 1
            while j < len(text) and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            i = j
        elif c in "({[":
            depth += 1
        elif c in ")}]":
            depth -= 1
            if depth == 0:
                if c == closer:
                    args.append(text[start:i].strip())
                return [a for a in args if a]
        elif c == "," and depth == 1:
            args.append(text[start:i].strip())
            start = i + 1
        i += 1
    return []


class Scanner:
    def __init__(self, files):
        self.files = files
        self.lookups = {name: set(pos) for name, pos in LOOKUPS.items()}
        self.keys = {}
        self.untraced = []

    def add_key(self, key, where):
        if key:  # the empty key (an unnamed undo step) reads as empty
            self.keys.setdefault(key, where)

    def enclosing_function(self, text, pos):
        """The last function definition that begins before pos (a call in a
        constructor's initialiser list lies before its body)."""
        last = None
        for m in FUNCTION.finditer(text):
            if m.start() >= pos:
                break
            last = m
        return last

    def trace(self, expr, text, pos, where):
        """Collects the keys an argument expression can be; False when it cannot tell."""
        expr = re.sub(r"\.c_str\(\)$", "", expr.strip())
        if FOREIGN_NAME.match(expr):
            return True
        if LITERAL.search(expr):
            outside = LITERAL.sub("", expr)
            if "+" in outside:
                return False  # built at run time
            for m in LITERAL.finditer(expr if "?" not in expr else expr[expr.index("?"):]):
                self.add_key(m.group(1), where)
            return True
        if DECLARATION.match(expr) and not IDENT.match(expr):
            return True  # a function's own declaration
        if UNDO_NAME.match(expr):
            name, index = UNDO_NAME_SOURCE
            return self.forward(name, index)
        m = KEY_RETURNING.match(expr)
        if m:
            for f, t in self.files:
                for r in re.finditer(r"\b%s\s*\(\s*\)[^{;]*\{\s*return\s+\"([^\"]*)\"" % m.group(1), t):
                    self.add_key(r.group(1), f)
            return True
        field = re.search(r"(?:\.|->|^)(%s)$" % "|".join(KEY_FIELDS), expr)
        if field or any(re.fullmatch(r"\w+\s*\?\s*[\w.>-]*\b%s\s*:\s*[\w.>-]*\b\w+" % f, expr) for f in KEY_FIELDS):
            return all(self.trace_field(f) for f in KEY_FIELDS if re.search(r"\b%s\b" % f, expr))
        if IDENT.match(expr):
            return self.trace_name(expr, text, pos)
        return False

    def trace_name(self, name, text, pos):
        func = self.enclosing_function(text, pos)
        if func:
            params = [p.strip() for p in func.group(2).split(",")]
            for index, param in enumerate(params):
                if re.search(r"\b%s(?:\s*=.*)?$" % name, param):
                    return self.forward(func.group(1).split("::")[-1], index)
            body = text[func.end():pos]
            local = re.search(r"\b%s\s*=\s*([^;]*);" % name, body)
            if local and LITERAL.search(local.group(1)):
                for m in LITERAL.finditer(local.group(1)):
                    self.add_key(m.group(1), "local " + name)
                return True
        return False

    def forward(self, name, index):
        known = self.lookups.setdefault(name, set())
        if index not in known:
            known.add(index)
            self.changed = True
        return True

    def trace_field(self, field):
        ok = True
        for f, t in self.files:
            for m in re.finditer(r"\b%s\s*=\s*([^;=][^;]*);" % field, t):
                value = m.group(1).strip()
                if re.search(r"\b%s$" % field, value):
                    continue  # copied from another holder of the same field
                ok = self.trace(value, t, m.start(), f) and ok
        return ok

    def scan(self):
        self.changed = True
        while self.changed:
            self.changed = False
            self.untraced = []
            for f, t in self.files:
                for name, positions in list(self.lookups.items()):
                    call = re.compile(r"\b%s\s*\(|\b%s\s+\w+\s*[({]" % (name, name))
                    for m in call.finditer(t):
                        args = arguments(t, m.end() - 1)
                        for index in positions:
                            if index >= len(args):
                                continue
                            if not self.trace(args[index], t, m.start(), f):
                                self.untraced.append("%s: %s(... %s ...)" % (f, name, args[index]))


def english_texts(path):
    """The messages of the text, read as the program reads them: the first
    entry of a key counts, and an empty text is no text."""
    texts, inside = {}, False
    with open(path, "rb") as f:
        for raw in f.read().decode("latin-1").splitlines():
            line = raw.strip()
            if not inside:
                inside = line.lower() == "[messages]"
                continue
            if not line or line.startswith(";"):
                continue
            if line.startswith("["):
                break
            if "=" in line:
                key, value = line.split("=", 1)
                texts.setdefault(key.strip(), value.strip())
    return texts


def program_sources(top):
    found = []
    for root, _, names in os.walk(os.path.join(top, "kestrel")):
        for name in sorted(names):
            if name.endswith((".cpp", ".h")):
                path = os.path.join(root, name)
                with open(path, encoding="latin-1") as f:
                    found.append((os.path.relpath(path, top), strip_comments(f.read())))
    return found


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__.split("\n\n")[1] + "\n")
        return 2
    top = argv[1]
    scanner = Scanner(program_sources(top))
    scanner.scan()
    texts = english_texts(os.path.join(top, "kestrel", "shell", "english.txt"))
    failed = False
    for line in scanner.untraced:
        print("cannot tell which keys this passes (trace it in %s): %s" % (os.path.basename(argv[0]), line))
        failed = True
    for key in sorted(scanner.keys):
        if not texts.get(key) and key not in MARKERS:
            print("no built-in English text for \"%s\" (used in %s)" % (key, scanner.keys[key]))
            failed = True
    if len(scanner.keys) < 50:
        print("only %d keys found: the scanner no longer reads the sources" % len(scanner.keys))
        failed = True
    print("%d message keys checked through %d look-up routes" % (len(scanner.keys), len(scanner.lookups)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
