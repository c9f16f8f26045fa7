#!/usr/bin/env python3
"""Builds the macro editor's help file Ru2Macro.TXT from its UTF-8 source.

The source is plain text: a line "====" ends a page (at most 21 lines each), "{d|text}" shows
text in the colour of element d (0-9) of the current colour set, everything else in the plain
help colour. The file is CP932: per page 21 lines of 160 bytes (78 bytes of text, CR LF, 78 colour
digits or blanks, CR LF) and "==" CR LF, so that a page is 3,364 bytes.

    make_help.py SOURCE OUTPUT
"""
import re
import sys

LINES = 21
TEXT = 78
MARKUP = re.compile(r"\{([0-9])\|([^}]*)\}")


def encode_line(line, where):
    text, colors = b"", b""
    pos = 0
    for match in MARKUP.finditer(line):
        plain = line[pos:match.start()].encode("cp932")
        text += plain
        colors += b" " * len(plain)
        marked = match.group(2).encode("cp932")
        text += marked
        colors += match.group(1).encode() * len(marked)
        pos = match.end()
    plain = line[pos:].encode("cp932")
    text += plain
    colors += b" " * len(plain)
    if len(text) > TEXT:
        sys.exit("%s: %d bytes, more than %d: %s" % (where, len(text), TEXT, line))
    return text.ljust(TEXT) + b"\r\n" + colors.ljust(TEXT) + b"\r\n"


def main():
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    pages, page = [], []
    for number, line in enumerate(lines, 1):
        if line == "====":
            pages.append(page)
            page = []
            continue
        if len(page) == LINES:
            sys.exit("%s:%d: a page holds %d lines" % (source, number, LINES))
        page.append(encode_line(line, "%s:%d" % (source, number)))
    if page:
        pages.append(page)
    data = b""
    for page in pages:
        page += [encode_line("", "")] * (LINES - len(page))
        data += b"".join(page) + b"==\r\n"
    with open(output, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
