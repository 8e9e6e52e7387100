#!/usr/bin/env python3
"""Follows every relative link in README.md and docs/*.md: the file must be
there, and a #anchor must name a heading of it, as GitHub makes anchors
(lower case, spaces to '-', other punctuation dropped, a repeat numbered
-1, -2...). Links out of the repository (http:, mailto:) are not followed.
Prints every broken link; exits non-zero when there is one.

  scripts/check-links.py [file.md ...]   (default: README.md docs/*.md)
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
LINK = re.compile(r"!?\[(?:[^\]\\]|\\.)*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
FENCE = re.compile(r"^\s*(```|~~~)")


def prose(text):
    """The lines links are read from: fenced blocks left out, and code spans
    blanked, since neither holds a link."""
    fenced = False
    for number, line in enumerate(text.splitlines(), 1):
        if FENCE.match(line):
            fenced = not fenced
            continue
        if not fenced:
            yield number, re.sub(r"`[^`]*`", "``", line)


def anchor_of(heading):
    text = re.sub(r"`([^`]*)`", r"\1", heading.strip())
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)  # a link keeps its words
    text = re.sub(r"[^\w\- ]", "", text.lower())
    return text.replace(" ", "-")


def anchors(path, cache={}):
    if path not in cache:
        found, seen = set(), {}
        for _, line in prose(path.read_text(encoding="utf-8")):
            m = re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line)
            if not m:
                continue
            base = anchor_of(m.group(1))
            n = seen.get(base, 0)
            seen[base] = n + 1
            found.add(base if n == 0 else "%s-%d" % (base, n))
        cache[path] = found
    return cache[path]


def broken_links(path):
    text = path.read_text(encoding="utf-8")
    for number, line in prose(text):
        for m in LINK.finditer(line):
            target = m.group(1)
            if not target or re.match(r"^[a-z][a-z0-9+.-]*:", target, re.I):
                continue
            file_part, _, fragment = target.partition("#")
            linked = (path.parent / file_part).resolve() if file_part else path
            where = "%s:%d: %s" % (path.relative_to(ROOT), number, target)
            if not linked.exists():
                yield where + ": no such file"
            elif fragment and linked.suffix == ".md" and fragment not in anchors(linked):
                yield where + ": no heading has that anchor"


def main(argv):
    files = [pathlib.Path(a).resolve() for a in argv] or [ROOT / "README.md",
                                                          *sorted((ROOT / "docs").glob("*.md"))]
    broken = [b for f in files for b in broken_links(f)]
    for b in broken:
        print(b)
    if broken:
        return 1
    print("check-links: %d files, every link leads somewhere" % len(files))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
