#!/usr/bin/env python3
"""Writes resources/embedded/lang/LANG1.txt..LANG3.txt from strings.tsv.

Each table is UTF-16LE with a byte-order mark and CR LF line ends: the section header
[langN], then one quoted entry per line ("Str247=CPI +"), a blank line between key groups.
Quotes inside a text are doubled. Run from anywhere; the output is committed.
"""
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
SOURCE = HERE / "strings.tsv"
OUT = HERE.parent.parent / "resources" / "embedded" / "lang"
LANGUAGES = 3


def read_rows(path):
    rows = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        cells = line.split("\t")
        if len(cells) != LANGUAGES + 1:
            sys.exit(f"{path.name}:{number}: expected {LANGUAGES + 1} columns, got {len(cells)}")
        rows.append(cells)
    keys = [r[0].lower() for r in rows]
    dupes = {k for k in keys if keys.count(k) > 1}
    if dupes:
        sys.exit(f"{path.name}: duplicate keys {sorted(dupes)}")
    return rows


def group(key):
    # Title, then the hundreds of the string number, split again by tens above 100.
    if not key.lower().startswith("str"):
        return "title"
    n = int(key[3:])
    return n // 100 if n < 100 else n // 10


def render(rows, language):
    lines = [f"[lang{language}]"]
    previous = None
    for row in rows:
        text = row[language]
        if text == "":
            continue
        g = group(row[0])
        if previous is not None and g != previous:
            lines.append("")
        previous = g
        lines.append('"' + (row[0] + "=" + text).replace('"', '""') + '"')
    return "\r\n".join(lines) + "\r\n"


def main():
    rows = read_rows(SOURCE)
    check = sys.argv[1:] == ["--check"]  # exit 1 when a committed table differs
    OUT.mkdir(parents=True, exist_ok=True)
    for language in range(1, LANGUAGES + 1):
        data = b"\xff\xfe" + render(rows, language).encode("utf-16-le")
        path = OUT / f"LANG{language}.txt"
        if not check:
            path.write_bytes(data)
        elif path.read_bytes() != data:
            sys.exit(f"{path} differs from what strings.tsv makes; run make_lang.py again")
    if check:
        print(f"{OUT}: LANG1..LANG{LANGUAGES} as generated")


if __name__ == "__main__":
    main()
