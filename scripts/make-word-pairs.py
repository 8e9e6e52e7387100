#!/usr/bin/env python3
"""Builds data/pairs-en.tsv, the built-in word pairs, from the Debian packages
of public-domain and permissively licensed English prose named in
data/LICENSE-pairs-en.md, and data/rare-words-en.tsv, the words the word
list lacks, from the last of them.

    apt-get download sqlite3-doc rust-doc dict-devil dict-jargon wordnet-base
    scripts/make-word-pairs.py *.deb > data/pairs-en.tsv
    scripts/make-word-pairs.py --rare-words wordnet-base_*.deb > data/rare-words-en.tsv

Only the documents' prose counts: code, syntax diagrams, tables and
navigation are left out, and so are pairs that cross a sentence, a
parenthesis or a line of a list. A pair is kept when both its words are in
the built-in word list (so the program knows how each is written), it was
seen often enough to be more than chance, and it is among the commonest
followers of its first word. A follower far down the list is seldom among
the five shown before its first letter, but once a letter or two are typed
it outranks the single words that share them: that is where the long tail
earns its place.

The same goes for three words in a row, counted after the two words before
the third where those two were seen often.

One line per context, "first<TAB><TAB>total<TAB>kinds", opens its followers:
the context is a word, two words with a space between them, or empty for
the start of a sentence; total and kinds say how often it was followed by
any word, and by how many different ones, before the pruning, which the
program needs to weigh the followers it has against the single words. Each
follower is a line "<TAB>word<TAB>count" (the context's own first field may
stand before the tab instead, as it did once).
"""
import collections
import glob
import gzip
import html.parser
import io
import os
import re
import subprocess
import sys
import tarfile
import tempfile

MIN_COUNT = 2  # seen once, a pair says more about one page than about English
MAX_FOLLOWERS = 1000  # per first word; the long tail of a common word still earns its place
# Two words in a row are a context of their own where they were seen this
# often; fewer, and the pair of the second word says as much.
TRIPLE_MIN_CONTEXT = 50
TRIPLE_MIN_COUNT = 3
TRIPLE_MAX_FOLLOWERS = 64
RARE_MIN_COUNT = 2  # in the lexical database, for a word the list lacks
SKIPPED = {"pre", "code", "script", "style", "table", "tt", "svg", "kbd", "var", "blockquote"}
BREAKS = {"p", "li", "dd", "dt", "h1", "h2", "h3", "h4", "h5", "h6", "div", "br", "td", "tr", "ul", "ol", "dl",
          "title", "a"}
WORD = re.compile(r"[A-Za-z]+(?:'[A-Za-z]+)?")
# Inside a run of prose, these end a run of words that follow one another.
CUT = re.compile(r"[.!?;:()\[\]{}\"<>=*/\\|_#&%$@^~`+\u201c\u201d\u2018\u2014\u2013]|--|\d|,")
SENTENCE_END = re.compile(r"[.!?]\s+(?=[A-Z])")


class Prose(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.skip = 0
        self.blocks = [[]]

    def handle_starttag(self, tag, attrs):
        if tag in SKIPPED:
            self.skip += 1
        if tag in BREAKS and tag != "a":
            self.blocks.append([])

    def handle_endtag(self, tag):
        if tag in SKIPPED and self.skip > 0:
            self.skip -= 1
        if tag in BREAKS and tag != "a":
            self.blocks.append([])

    def handle_data(self, data):
        if self.skip == 0:
            self.blocks[-1].append(data)


def words_list(path):
    forms = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            form = line.split("\t")[0]
            forms.setdefault(form.lower(), form)
    forms.setdefault("i", "I")
    forms.setdefault("a", "a")
    return forms


def pages(deb):
    """The prose documents of one of the packages, as (kind, text)."""
    name = os.path.basename(deb).split("_")[0]
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["dpkg-deb", "-x", deb, tmp], check=True)
        if name == "sqlite3-doc":
            found = glob.glob(os.path.join(tmp, "usr/share/doc/sqlite3/**/*.html"), recursive=True)
        elif name == "rust-doc":
            # The book's chapters; the library reference is mostly code.
            found = glob.glob(os.path.join(tmp, "usr/share/doc/rust-doc/html/book/ch*.html"))
        elif name.startswith("dict-"):
            found = glob.glob(os.path.join(tmp, "usr/share/dictd/*.dict.dz"))
        elif name == "wordnet-base":
            found = glob.glob(os.path.join(tmp, "usr/share/wordnet/data.*"))
        else:
            sys.exit(f"{deb}: not a source this script knows")
        for path in sorted(found):
            if name == "wordnet-base":
                with open(path, encoding="utf-8", errors="replace") as f:
                    yield "glosses", f.read()
            elif path.endswith(".dz"):
                with gzip.open(path, "rt", encoding="utf-8", errors="replace") as f:
                    yield "text", f.read()
            else:
                with open(path, encoding="utf-8", errors="replace") as f:
                    yield "html", f.read()


def blocks(kind, page):
    if kind == "html":
        parser = Prose()
        parser.feed(page)
        for block in parser.blocks:
            yield " ".join(block)
    elif kind == "glosses":
        yield from glosses(page)
    else:
        # Paragraphs, each a block; a dictionary's headword lines are too
        # short to count as prose.
        yield from re.split(r"\n\s*\n", page)


def glosses(page):
    """A lexical database's definitions and the sentences that show each word
    in use: the sentences are everyday English, each a sentence of its own."""
    for line in page.splitlines():
        if line.startswith("  ") or " | " not in line:
            continue  # the licence at the head of the file
        gloss = line.split(" | ", 1)[1]
        for part in gloss.split(";"):
            part = part.strip()
            if part.startswith('"'):
                example = part.strip('" ')
                if example:
                    yield example[0].upper() + example[1:] + "."
            else:
                yield part


def count(block, pairs, min_words):
    text = " ".join(block.replace("\u2019", "'").split())
    # Prose has sentences of several words; headings and labels do not.
    if len(text.split()) < min_words:
        return
    for sentence in SENTENCE_END.split(text):
        first = True
        for run in CUT.split(sentence):
            words = [w.lower() for w in WORD.findall(run)]
            if first and words and run.strip()[0].isupper():
                pairs[("", words[0])] += 1
            first = False
            for a, b in zip(words, words[1:]):
                pairs[(a, b)] += 1
            for a, b, c in zip(words, words[1:], words[2:]):
                pairs[(f"{a} {b}", c)] += 1


def rare_words(debs, known):
    """The lexical database's words that the word list lacks: its
    definitions and examples name the diseases, trades, tools and plants that
    a story or a letter names once or twice, which the list (the commonest
    words of today's web) leaves out. A word seen once may be a slip, and one
    of two letters or in capitals throughout is an abbreviation. Each goes in
    at the count of the list's rarest words, so that none outranks a word of
    the list, and once its letters are typed it comes up all the same."""
    counts = collections.Counter()
    spellings = collections.defaultdict(collections.Counter)
    for deb in debs:
        for kind, page in pages(deb):
            for block in blocks(kind, page):
                for word in WORD.findall(block.replace("\u2019", "'")):
                    key = word.lower()
                    counts[key] += 1
                    spellings[key][word] += 1
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "words-en.tsv"),
              encoding="utf-8") as f:
        floor = min(int(line.split("\t")[1]) for line in f if "\t" in line)
    kept = []
    for key, n in counts.items():
        form = spellings[key].most_common(1)[0][0]
        if key in known or n < RARE_MIN_COUNT or len(key) < 3 or (form.isupper() and len(form) > 1):
            continue
        kept.append((-n, form))
    # The commonest first, as in the list.
    return "".join(f"{form}\t{floor}\n" for _, form in sorted(kept))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    here = os.path.dirname(os.path.abspath(__file__))
    known = words_list(os.path.join(here, "..", "data", "words-en.tsv"))
    if sys.argv[1] == "--rare-words":
        sys.stdout.write(rare_words(sys.argv[2:], known))
        return
    pairs = collections.Counter()
    for deb in sys.argv[1:]:
        for kind, page in pages(deb):
            # A definition or an example of use is short, and is prose
            # all the same.
            min_words = 2 if kind == "glosses" else 6
            for block in blocks(kind, page):
                count(block, pairs, min_words)
    totals = collections.Counter()
    kinds = collections.Counter()
    followers = collections.defaultdict(list)
    for (a, b), n in pairs.items():
        totals[a] += n
        kinds[a] += 1
    for (a, b), n in pairs.items():
        if b not in known or not all(w in known for w in a.split()) or b == a.split(" ")[-1]:
            continue
        if " " not in a and n >= MIN_COUNT:
            followers[a].append((n, b))
        elif " " in a and n >= TRIPLE_MIN_COUNT and totals[a] >= TRIPLE_MIN_CONTEXT:
            followers[a].append((n, b))
    out = io.StringIO()
    # The pairs first, then the two-word contexts.
    for a in sorted(followers, key=lambda w: (" " in w, -totals[w], w)):
        most = TRIPLE_MAX_FOLLOWERS if " " in a else MAX_FOLLOWERS
        kept = sorted(followers[a], key=lambda x: (-x[0], x[1]))[:most]
        out.write(f"{a}\t\t{totals[a]}\t{kinds[a]}\n")
        for n, b in kept:
            out.write(f"\t{b}\t{n}\n")
    sys.stdout.write(out.getvalue())


if __name__ == "__main__":
    main()
