#!/usr/bin/python3
"""Rendering check of a script's adapter and font, with its calibration.

Every word of the list is typed as ISCII (ICU's converter), converted by the
adapter syllable by syllable (glyph_dump) and drawn in our font; the word's
Unicode text, and its standard alternatives (every conjunct with a visible
virama, every conjunct with ZWJ: half or below-base forms), are shaped by
HarfBuzz (Raqm) in the source font. The pictures share one baseline and are
compared piece by piece: every connected piece of ink of one picture (a
letter, a sign, a dot) is looked for in the other near where it lies in
proportion to the widths, and the ink of both inside the piece's box, every
stroke thickened by TOLERANCE pixels, is compared as intersection over union.
A word's score is its worst piece, both ways, against the best of its
alternatives; a word passes with at most --max-stray pixels. A whole-word overlap
would hide a missing dot or a short vowel sign for a long one; a piece's box
does not.

Calibration (--calibrate): wrong outputs made from the words (a short vowel
sign for the long one and back, a vowel sign left out or added, anusvara or
visarga left out, a consonant changed, a pulli or virama left out, a part of
a split vowel left out, a below-base form drawn full, a chillu for the
consonant with virama) must fail, and our output for the same words typed
with ISCII's explicit halant (the conjunct with a visible virama) must pass.

usage: script_render_check.py GLYPH_DUMP FONT_DIR WORDS VARIANT
           [--max-stray PIXELS] [--min-pass SHARE] [--report FILE] [--calibrate N]
Exit status 1 when the share of passing words is below --min-pass, or when
calibration rejects fewer than 95 % of the mutants or refuses an alternative.
"""
import argparse
import itertools
import os
import re
import subprocess
import sys

import numpy
import scipy.ndimage
import unicodedata
from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tools", "fontgen"))
from glyph_table import read_table  # noqa: E402
from script_words import VIRAMA, ZWJ, ZWNJ, to_iscii, typed_form  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto/"
# variant: ISCII version, source font, our font, glyph table, its columns, our column
VARIANTS = {
    "TM": (5, "NotoSansTamil-Regular.ttf", "TM-Velta.ttf", "tamil", ["TM", "TMB"], "TM"),
    "TMB": (5, "NotoSansTamil-Regular.ttf", "TMB-TTVelta.ttf", "tamil", ["TM", "TMB"], "TMB"),
    "ML": (8, "NotoSansMalayalam-Regular.ttf", "ML-Velta.ttf", "malayalam", ["ML", "MLB"], "ML"),
    "MLB": (8, "NotoSansMalayalam-Regular.ttf", "MLB-TTVelta.ttf", "malayalam", ["ML", "MLB"],
            "MLB"),
    "TL": (6, "NotoSansTelugu-Regular.ttf", "TL-Velta.ttf", "telugu", ["TL", "TLB"], "TL"),
    "TLB": (6, "NotoSansTelugu-Regular.ttf", "TLB-TTVelta.ttf", "telugu", ["TL", "TLB"], "TLB"),
    "KN": (7, "NotoSansKannada-Regular.ttf", "KN-Velta.ttf", "kannada", ["KN", "KNB"], "KN"),
    "KNB": (7, "NotoSansKannada-Regular.ttf", "KNB-TTVelta.ttf", "kannada", ["KN", "KNB"], "KNB"),
}
# Malayalam's RA with virama before a consonant, and the chillu RR that
# reformed spelling writes for it (the reph).
RA_VIRAMA, CHILLU_RR = "\u0d30\u0d4d", "\u0d7c"
SIZE = 64
BASELINE = 100  # pixels from the top; pictures are 170 high
HEIGHT = 170
TOLERANCE = 2  # pixels every stroke is thickened by
MIN_PIECE = 6  # pixels: smaller pieces of ink are noise of the rasteriser
MAX_CHOICES = 3  # conjuncts of a word whose alternatives are tried one by one
PIECE_DRIFT = 10  # pixels a piece may lie away from its place in proportion


def byte_text(data):
    """The characters an ANSI program sends for glyph bytes (code page 1252)."""
    chars = []
    for b in data:
        try:
            chars.append(bytes([b]).decode("cp1252"))
        except UnicodeDecodeError:
            chars.append(chr(b))
    return "".join(chars)


def render(font, text):
    width = SIZE * (len(text) + 4)
    image = Image.new("L", (width, HEIGHT), 0)
    ImageDraw.Draw(image).text((SIZE, BASELINE), text, font=font, fill=255, anchor="ls")
    ink = numpy.asarray(image) >= 128
    cols = numpy.nonzero(ink.any(axis=0))[0]
    if cols.size == 0:
        ink = numpy.zeros((HEIGHT, 1), bool)
    else:
        ink = ink[:, cols.min():cols.max() + 1]
    return Picture(ink)


class Picture:
    """A word's ink cropped to its columns: as drawn, thickened, and the
    pieces of ink (connected components) with their pixels."""

    def __init__(self, ink):
        self.ink = ink
        self.thick = thicken(ink, TOLERANCE)
        labels, count = scipy.ndimage.label(ink, structure=numpy.ones((3, 3)))
        self.pieces = [numpy.nonzero(labels == n) for n in range(1, count + 1)]


def thicken(ink, radius):
    h, w = ink.shape
    out = numpy.zeros((h + 2 * radius, w + 2 * radius), bool)
    for dy in range(2 * radius + 1):
        for dx in range(2 * radius + 1):
            out[dy:dy + h, dx:dx + w] |= ink
    return out


def stray_ink(a, b):
    """The most ink of one piece of a (a connected component: a letter, a
    sign, a dot) that lies farther than TOLERANCE pixels from b's ink, with
    the piece moved to its best place near where it lies in proportion to
    the widths. So a letter is compared with a letter wherever the spacing
    of the word puts it, and the curl that tells a long vowel sign from the
    short one, or a missing dot, counts in pixels, not as a share of a whole
    word or a whole letter."""
    worst = 0
    scale = b.ink.shape[1] / max(a.ink.shape[1], 1)
    pad = PIECE_DRIFT + 2 * TOLERANCE + 2
    width = max(a.thick.shape[1], b.thick.shape[1])
    pb = numpy.zeros((b.thick.shape[0] + 2 * pad, width + 2 * pad), bool)
    pb[pad:pad + b.thick.shape[0], pad:pad + b.thick.shape[1]] = b.thick
    for ys, xs in a.pieces:
        if ys.size < MIN_PIECE:
            continue
        expected = int(round(xs.mean() * scale - xs.mean()))
        expected = max(-PIECE_DRIFT - 2, min(PIECE_DRIFT + 2, expected))

        def stray(dx, dy):
            # thick is offset by TOLERANCE from ink
            covered = pb[ys + dy + TOLERANCE + pad, xs + dx + TOLERANCE + pad]
            return ys.size - int(numpy.count_nonzero(covered))

        # Along the line first, then around the best place found.
        low = max(expected - PIECE_DRIFT, -PIECE_DRIFT - 2)
        high = min(expected + PIECE_DRIFT, PIECE_DRIFT + 2)
        best, best_dx = min((stray(dx, 0), dx) for dx in range(low, high + 1))
        for dx in range(best_dx - 1, best_dx + 2):
            for dy in (-1, 1):
                if best and abs(dx) <= PIECE_DRIFT + 2:
                    best = min(best, stray(dx, dy))
        worst = max(worst, best)
    return worst


def compare(ours, refs, enough):
    """The word's stray ink against the best of its references, both ways;
    the references after one with at most enough are not drawn."""
    best = None
    for ref in refs.pictures():
        value = max(stray_ink(ours, ref), stray_ink(ref, ours))
        best = value if best is None else min(best, value)
        if best <= enough:
            break
    return best


class References:
    """The pictures of a word and its alternatives, drawn when first needed."""

    def __init__(self, font, texts):
        self.font, self.texts, self.drawn = font, texts, []

    def pictures(self):
        for n, text in enumerate(self.texts):
            if n == len(self.drawn):
                self.drawn.append(render(self.font, text))
            yield self.drawn[n]


def alternatives(word, version):
    """The word and its standard alternative spellings: any of its conjuncts
    with a visible virama (ZWNJ after the virama) and, but in Malayalam, where
    virama + ZWJ is the chillu, any with half or below-base forms (ZWJ). For
    more than MAX_CHOICES conjuncts: all of them one way or the other."""
    virama = VIRAMA[version]
    forms = [word]
    if version == 8 and RA_VIRAMA in word:
        forms.append(re.sub(RA_VIRAMA + "(?=[\u0d15-\u0d39])", CHILLU_RR, word))
    spots = [n for n, ch in enumerate(word) if ch == virama and n + 1 < len(word) and
             word[n + 1] not in (ZWNJ, ZWJ)]
    joiners = (ZWNJ,) if version == 8 else (ZWNJ, ZWJ)
    if len(spots) > MAX_CHOICES:
        choices = [{n: j for n in spots} for j in joiners]
    else:
        choices = [dict(zip(spots, pick)) for pick in
                   itertools.product(("",) + joiners, repeat=len(spots))]
    for choice in choices:
        text = "".join(ch + choice.get(n, "") for n, ch in enumerate(word))
        if text not in forms:
            forms.append(text)
    return forms


class Checker:
    def __init__(self, args):
        version, source, ours, script, columns, column = VARIANTS[args.variant]
        self.version = version
        self.dump, self.variant = args.dump, args.variant
        self.max_stray = args.max_stray
        self.source = ImageFont.truetype(NOTO + source, SIZE, layout_engine=ImageFont.Layout.RAQM)
        self.ours = ImageFont.truetype(os.path.join(args.font_dir, ours), SIZE,
                                       layout_engine=ImageFont.Layout.BASIC)
        table = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "modules",
                             script, "glyph_table.txt")
        rows = read_table(table, columns)
        # A key drawn with another row's glyph does not name that glyph.
        self.key_of = {r.codes[column]: tuple(r.key) for r in rows
                       if r.codes[column] and column not in r.shared}
        self.code_of = {v: k for k, v in self.key_of.items()}

    def convert(self, isciis):
        out = subprocess.run([self.dump, self.variant], input=b"\n".join(isciis) + b"\n",
                             capture_output=True, check=True).stdout
        return out.split(b"\n")[:len(isciis)]

    def references(self, word):
        return References(self.source, alternatives(word, self.version))

    def score(self, codes, refs):
        return compare(render(self.ours, byte_text(codes)), refs, self.max_stray)


def check_words(checker, words):
    isciis = to_iscii([typed_form(w, checker.version) for w in words], checker.version)
    pairs = [(w, i) for w, i in zip(words, isciis) if i is not None]
    outputs = checker.convert([i for _, i in pairs])
    results = []
    for (word, iscii), codes in zip(pairs, outputs):
        refs = checker.references(unicodedata.normalize("NFC", word))
        results.append((word, iscii, codes, checker.score(codes, refs), refs))
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dump")
    parser.add_argument("font_dir")
    parser.add_argument("words")
    parser.add_argument("variant", choices=sorted(VARIANTS))
    parser.add_argument("--max-stray", type=int, default=8)
    parser.add_argument("--min-pass", type=float, default=0.0)
    parser.add_argument("--report")
    parser.add_argument("--calibrate", type=int, default=0)
    args = parser.parse_args()
    words = [w.strip() for w in open(args.words, encoding="utf-8")
             if w.strip() and not w.startswith("#")]
    checker = Checker(args)
    results = check_words(checker, words)
    passed = [r for r in results if r[3] <= args.max_stray]
    share = len(passed) / max(len(results), 1)
    lines = ["variant %s: %d of %d words pass (%.1f%%): at most %d pixels of stray ink"
             % (args.variant, len(passed), len(results), 100 * share, args.max_stray)]
    for word, iscii, codes, s, _ in sorted(results, key=lambda r: -r[3]):
        if s > args.max_stray:
            lines.append("FAIL %4d %s  iscii %s  glyphs %s" % (s, word, iscii.hex(" "),
                                                                codes.hex(" ")))
    ok = share >= args.min_pass
    if args.calibrate:
        from mutants import calibrate
        cal_lines, cal_ok = calibrate(checker, results, args.max_stray, args.calibrate)
        lines += cal_lines
        ok = ok and cal_ok
    text = "\n".join(lines)
    print(text)
    if args.report:
        with open(args.report, "w", encoding="utf-8") as f:
            f.write(text + "\n")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
