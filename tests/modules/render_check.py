#!/usr/bin/python3
"""Rendering check of the script adapters and fonts.

Every word of a word list is typed as ISCII (ICU's converter; words that do
not come back unchanged from ISCII are left out), converted by the adapter
syllable by syllable (glyph_dump) and drawn in our font; the word's Unicode
text is shaped by HarfBuzz (through Pillow's raqm layout) in the script's
source font. The two pictures are compared window by window: each window of
one picture (half an em wide, every quarter em) is looked for near its place
in the other, and what counts is the ink of the window that finds no ink
within TOLERANCE pixels in the other picture (so a missing dot, a long vowel
for a short one or a sign on the wrong side shows even in a long word, where
a whole-word overlap would hardly change). The word's score is its worst
window, in thousandths of an em square; it passes at --threshold or less.

The Unicode side is drawn in every standard spelling of its conjuncts (each
virama as written, followed by ZWNJ for a visible virama, or by ZWJ for a
half form), and the best one counts: a conjunct may be a ligature, half or
subjoined forms, or a visible virama.

--calibrate N first makes N mutants of the list's words (a short vowel for a
long one, a vowel sign dropped or added, anusvara, candrabindu or nukta
dropped, a consonant changed, in the Unicode words; a pre-base sign or reph
moved, a sign dropped or changed, in our glyph strings) and counts how many
the comparison rejects, and how many of our words drawn with their conjuncts
spelled out (visible virama) it still accepts.

usage: render_check.py GLYPH_DUMP FONT_DIR WORDS VARIANT [--threshold T]
                       [--report FILE] [--min-pass SHARE] [--calibrate N]
Exit status 1 when the share of passing words is below --min-pass, or when
calibration rejects fewer than --min-reject of the mutants.
"""
import argparse
import itertools
import os
import random
import re
import subprocess
import sys
import unicodedata

import numpy
from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "fontgen"))
from glyph_table import PLACED, TOKENS, read_table  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto/"
ZWJ, ZWNJ = "\u200d", "\u200c"

# Each script: source font, ICU's ISCII version, its glyph table and columns,
# Unicode letters ICU does not encode for it and the ISCII the adapters read
# for them, and Unicode spellings that mean the same to the adapters
# (Gurmukhi: ISCII has one anusvara; the adapter chooses tippi or bindi).
SCRIPTS = {
    "devanagari": dict(source="NotoSansDevanagari-Regular.ttf", version=0,
                       table="modules/devanagari/glyph_table.txt",
                       columns=["DV", "DVB", "VD2", "SD"], letters={}, same={}),
    "bengali": dict(source="NotoSansBengali-Regular.ttf", version=1,
                    table="modules/bengali/glyph_table.txt", columns=["BN", "BNB"],
                    letters={"\u09ce": b"\xc2\xe8\xe9"}, same={}),
    "assamese": dict(source="NotoSansBengali-Regular.ttf", version=1,
                     table="modules/bengali/glyph_table.txt", columns=["BN", "BNB"],
                     letters={"\u09ce": b"\xc2\xe8\xe9", "\u09f0": b"\xcf", "\u09f1": b"\xd4"},
                     same={}),
    "oriya": dict(source="NotoSansOriya-Regular.ttf", version=4,
                  table="modules/oriya/glyph_table.txt", columns=["OR", "ORB"],
                  letters={"\u0b71": b"\xd4"}, same={}),
    "gujarati": dict(source="NotoSansGujarati-Regular.ttf", version=3,
                     table="modules/gujarati/glyph_table.txt", columns=["GJ", "GJB"],
                     letters={}, same={}),
    "gurmukhi": dict(source="NotoSansGurmukhi-Regular.ttf", version=2,
                     table="modules/gurmukhi/glyph_table.txt", columns=["PN", "PNB"],
                     letters={}, same={"\u0a70": "\u0a02"}, addak=True),
}
# Variant: script, font of set '0', font of set '1' (or None), table column.
VARIANTS = {
    "DV": ("devanagari", "DV-Velta.ttf", None, "DV"),
    "VD": ("devanagari", "DV-Velta.ttf", "VD-Velta.ttf", "DV"),
    "DVB": ("devanagari", "DVB-TTVelta.ttf", None, "DVB"),
    "SD": ("devanagari", "SD-Velta.ttf", None, "SD"),
    "BN": ("bengali", "BN-Velta.ttf", None, "BN"),
    "BNB": ("bengali", "BNB-TTVelta.ttf", None, "BNB"),
    "AS": ("assamese", "AS-Velta.ttf", None, "BN"),
    "ASB": ("assamese", "ASB-TTVelta.ttf", None, "BNB"),
    "OR": ("oriya", "OR-Velta.ttf", None, "OR"),
    "ORB": ("oriya", "ORB-TTVelta.ttf", None, "ORB"),
    "GJ": ("gujarati", "GJ-Velta.ttf", None, "GJ"),
    "GJB": ("gujarati", "GJB-TTVelta.ttf", None, "GJB"),
    "PN": ("gurmukhi", "PN-Velta.ttf", None, "PN"),
    "PNB": ("gurmukhi", "PNB-TTVelta.ttf", None, "PNB"),
}

SIZE = 48  # pixels per em
BASELINE = 2 * SIZE  # canvas row of the baseline
HEIGHT = 3 * SIZE
MARGIN = SIZE
TOLERANCE = 2  # pixels within which ink counts as the same ink
WINDOW = SIZE // 2
STEP = SIZE // 4
DRIFT = SIZE // 4  # how far one word may lie beside the other
STRETCHES = numpy.linspace(0.85, 1.15, 13)  # how much wider one word may be
NUDGE = 3  # pixels a window may move beside the word's placement
LIFT = 2  # rows a window may move up or down
MAX_SPELLINGS = 27  # conjunct spellings tried per word at most
VIRAMA_OFFSET = 0x4D  # virama's place in every Indic Unicode block


# ---------------------------------------------------------------- conversion

def uconv(data, args):
    return subprocess.run(["uconv"] + args, input=data, capture_output=True,
                          check=True).stdout


def to_iscii(words, config):
    """ISCII of each word as the adapters read it, or None when ICU does not
    give the word back unchanged."""
    version = config["version"]
    pieces, layout = [], []
    for word in words:
        parts, run = [], ""
        for ch in word:
            if ch in config["letters"]:
                if run:
                    parts.append(len(pieces))
                    pieces.append(run)
                    run = ""
                parts.append(config["letters"][ch])
            else:
                run += ch
        if run:
            parts.append(len(pieces))
            pieces.append(run)
        layout.append(parts)
    data = ("\n".join(pieces) + "\n").encode("utf-8")
    out = uconv(data, ["-f", "UTF-8", "-t", "ISCII,version=%d" % version, "--callback",
                       "substitute"]).split(b"\n")
    # ICU begins with an ATR script switch; drop it wherever it appears.
    coded = [l[2:] if l.startswith(b"\xef") else l for l in out[:len(pieces)]]
    result = []
    for word, parts in zip(words, layout):
        text = b"".join(p if isinstance(p, bytes) else coded[p] for p in parts)
        result.append(text)
    back = from_iscii(result, config)
    return [t if b == normal(w, config) and b"\x1a" not in t else None
            for w, t, b in zip(words, result, back)]


def from_iscii(texts, config):
    """Unicode of each ISCII text as the adapters read it: ICU's, with the
    script's own letters for their ISCII (cut out and not converted)."""
    inverse = sorted(((v, k) for k, v in config["letters"].items()), key=lambda p: -len(p[0]))
    layouts, pieces = [], []
    for text in texts:
        parts, run, i = [], b"", 0
        while i < len(text):
            hit = next(((code, letter) for code, letter in inverse if text.startswith(code, i)),
                       None)
            if hit is None:
                run += text[i:i + 1]
                i += 1
                continue
            if run:
                parts.append(len(pieces))
                pieces.append(run)
                run = b""
            parts.append(hit[1])
            i += len(hit[0])
        if run:
            parts.append(len(pieces))
            pieces.append(run)
        layouts.append(parts)
    conv = uconv(b"\n".join(pieces) + b"\n",
                 ["-f", "ISCII,version=%d" % config["version"], "-t", "UTF-8", "--callback",
                  "substitute"]).decode("utf-8").split("\n") if pieces else []
    return [normal("".join(p if isinstance(p, str) else conv[p] for p in parts), config)
            for parts in layouts]


def normal(text, config):
    text = unicodedata.normalize("NFC", text)
    for a, b in config["same"].items():
        text = text.replace(a, b)
    if config.get("addak"):
        # ICU types the addak as the doubled consonant with halant.
        text = re.sub("\u0a71(.)", "\\1\u0a4d\\1", text)
    return text


def byte_char(code):
    """The character an ANSI program sends for a glyph byte (code page 1252)."""
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return chr(code)


# ---------------------------------------------------------------- drawing

class Fonts:
    def __init__(self, font_dir, variant):
        script, first, second, column = VARIANTS[variant]
        self.config = SCRIPTS[script]
        self.column = column
        self.ref = ImageFont.truetype(NOTO + self.config["source"], SIZE,
                                      layout_engine=ImageFont.Layout.RAQM)
        basic = ImageFont.Layout.BASIC
        self.sets = {ord("0"): ImageFont.truetype(os.path.join(font_dir, first), SIZE,
                                                  layout_engine=basic)}
        if second:
            self.sets[ord("1")] = ImageFont.truetype(os.path.join(font_dir, second), SIZE,
                                                     layout_engine=basic)


def canvas(width):
    image = Image.new("L", (width + 2 * MARGIN, HEIGHT), 255)
    return image, ImageDraw.Draw(image)


def ink_of(image):
    ink = numpy.asarray(image) < 128
    cols = numpy.nonzero(ink.any(axis=0))[0]
    if cols.size == 0:
        return ink[:, :1] & False
    return ink[:, cols.min():cols.max() + 1]


def draw_unicode(fonts, text):
    width = int(fonts.ref.getlength(text)) + SIZE
    image, draw = canvas(width)
    draw.text((MARGIN, BASELINE), text, font=fonts.ref, fill=0, anchor="ls")
    return ink_of(image)


def draw_pairs(fonts, pairs):
    """Our glyphs: each pair's code in the font of its set, pen moving by
    the glyph's advance."""
    glyphs = [(fonts.sets.get(s, fonts.sets[ord("0")]), byte_char(c))
              for s, c in zip(pairs[1::2], pairs[0::2])]
    width = int(sum(f.getlength(ch) for f, ch in glyphs)) + SIZE
    image, draw = canvas(width)
    x = MARGIN
    for font, ch in glyphs:
        draw.text((x, BASELINE), ch, font=font, fill=0, anchor="ls")
        x += font.getlength(ch)
    return ink_of(image)


def thicken(ink, radius):
    out = ink.copy()
    for dy in range(-radius, radius + 1):
        for dx in range(-radius, radius + 1):
            if dx * dx + dy * dy > radius * radius + 1:
                continue
            shifted = numpy.zeros_like(ink)
            ys = slice(max(dy, 0), ink.shape[0] + min(dy, 0))
            yd = slice(max(-dy, 0), ink.shape[0] + min(-dy, 0))
            xs = slice(max(dx, 0), ink.shape[1] + min(dx, 0))
            xd = slice(max(-dx, 0), ink.shape[1] + min(-dx, 0))
            shifted[ys, xs] = ink[yd, xd]
            out |= shifted
    return out


# ---------------------------------------------------------------- comparing

def placement(a, b_thick):
    """The stretch and shift that lay a's columns best on b (most of a's ink
    covered): s, o with column x of a at x * s + o of b."""
    wa, wb = a.shape[1], b_thick.shape[1]
    cols = numpy.arange(wa)
    best = (-1, 1.0, 0)
    for stretch in STRETCHES:
        for shift in range(-DRIFT, DRIFT + 1, 2):
            target = numpy.round(cols * stretch + shift).astype(int)
            valid = (target >= 0) & (target < wb)
            cover = numpy.count_nonzero(a[:, valid] & b_thick[:, target[valid]])
            if cover > best[0]:
                best = (cover, stretch, shift)
    return best[1], best[2]


def unmatched(a, b_thick):
    """Worst window of a: the ink of a window of a left without ink of b near
    it. Windows lie where the whole word lies best, moved at most NUDGE
    pixels, so that a small mark cannot hide on a stroke beside its place."""
    wa, wb = a.shape[1], b_thick.shape[1]
    stretch, shift = placement(a, b_thick)
    pad = WINDOW + DRIFT + NUDGE
    padded = numpy.zeros((b_thick.shape[0], wb + 2 * pad), bool)
    padded[:, pad:pad + wb] = b_thick
    worst = 0
    last = max(wa - WINDOW, 0)
    for x0 in sorted(set(range(0, last + 1, STEP)) | {last}):
        window = a[:, x0:x0 + WINDOW]
        total = numpy.count_nonzero(window)
        if not total:
            continue
        expect = int(round(x0 * stretch + shift))
        best = 0
        for dx in range(-NUDGE, NUDGE + 1):
            start = min(max(pad + expect + dx, 0), padded.shape[1] - window.shape[1])
            other = padded[:, start:start + window.shape[1]]
            for dy in range(-LIFT, LIFT + 1):
                best = max(best, numpy.count_nonzero(window & numpy.roll(other, dy, axis=0)))
        worst = max(worst, total - best)
    return worst


def set_tolerance(pixels):
    """How near ink of the other picture must lie to count as the same."""
    global TOLERANCE
    TOLERANCE = pixels


def distance(ours, ref):
    """The word's score: the worst window either way, in thousandths of an
    em square; a width off by more than a quarter of the word is 1000."""
    wo, wr = ours.shape[1], ref.shape[1]
    if abs(wo - wr) > max(wo, wr) / 4 + SIZE / 4:
        return 1000.0
    worst = max(unmatched(ours, thicken(ref, TOLERANCE)), unmatched(ref, thicken(ours, TOLERANCE)))
    return 1000.0 * worst / (SIZE * SIZE)


def spellings(word):
    """The word with each virama as written, + ZWNJ or + ZWJ (at most
    MAX_SPELLINGS of them): as written, all ZWNJ and all ZWJ first."""
    places = [i for i, ch in enumerate(word) if 0x900 <= ord(ch) < 0xD80 and
              ord(ch) % 0x80 == VIRAMA_OFFSET and
              (i + 1 < len(word) and word[i + 1] not in (ZWJ, ZWNJ))]
    choices = [("",) * len(places), (ZWNJ,) * len(places), (ZWJ,) * len(places)]
    choices += [c for c in itertools.product(("", ZWNJ, ZWJ), repeat=len(places))
                if c not in choices]
    out = []
    for choice in choices[:MAX_SPELLINGS]:
        chars = list(word)
        for place, extra in sorted(zip(places, choice), reverse=True):
            chars.insert(place + 1, extra)
        text = "".join(chars)
        if text not in out:
            out.append(text)
    return out


def best_distance(fonts, ours_ink, word, cache, threshold):
    """The least distance to the word's spellings; stops at the first that
    passes (the spellings as written, all visible viramas and all half forms
    come first)."""
    if word not in cache:
        cache[word] = spellings(word)
    best = None
    for index, spelling in enumerate(cache[word]):
        if not isinstance(spelling, numpy.ndarray):
            spelling = cache[word][index] = draw_unicode(fonts, spelling)
        d = distance(ours_ink, spelling)
        best = d if best is None else min(best, d)
        if best <= threshold:
            break
    return best


def run_dump(dump, variant, iscii):
    out = subprocess.run([dump, variant, "-p"], input=b"\n".join(iscii) + b"\n",
                         capture_output=True, check=True).stdout
    lines = out.split(b"\n")[:len(iscii)]
    # glyph_dump writes each pair set first; the adapters' order is code, set.
    return [bytes(b for i in range(0, len(l) - 1, 2) for b in (l[i + 1], l[i])) for l in lines]


# ---------------------------------------------------------------- mutants

def block_char(config, offset):
    return chr(0x900 + 0x80 * config["version"] + offset)


def unicode_mutants(word, config):
    """Wrong spellings of a word: (kind, text)."""
    c = lambda offset: block_char(config, offset)  # noqa: E731
    pairs = [(c(0x3F), c(0x40)), (c(0x41), c(0x42))]  # short and long i, u
    out = []
    for short, long_ in pairs:
        if short in word:
            out.append(("short vowel for long", word.replace(short, long_, 1)))
        if long_ in word:
            out.append(("long vowel for short", word.replace(long_, short, 1)))
    signs = [ch for ch in word if 0x3E <= (ord(ch) % 0x80) <= 0x4C and ord(ch) >= 0x900]
    if signs:
        out.append(("vowel sign missing", word.replace(signs[0], "", 1)))
    for i, ch in enumerate(word):
        if is_consonant(ch) and (i + 1 == len(word) or not is_mark(word[i + 1])):
            out.append(("vowel sign added", word[:i + 1] + c(0x3E) + word[i + 1:]))
            break
    for offset, kind in ((0x02, "anusvara missing"), (0x01, "candrabindu missing"),
                         (0x3C, "nukta missing"), (0x70, "tippi missing")):
        if c(offset) in word:
            out.append((kind, word.replace(c(offset), "", 1)))
    for i, ch in enumerate(word):
        if is_consonant(ch):
            other = c(0x15) if ch != c(0x15) else c(0x2E)  # KA, or MA for KA
            out.append(("wrong consonant", word[:i] + other + word[i + 1:]))
            break
    return out


def is_consonant(ch):
    o = ord(ch)
    return 0x900 <= o < 0xD80 and 0x15 <= o % 0x80 <= 0x39


def is_mark(ch):
    o = ord(ch)
    return 0x900 <= o < 0xD80 and (0x3C <= o % 0x80 <= 0x4D or o % 0x80 in (0x01, 0x02, 0x03))


class Glyphs:
    """What each glyph code of our font stands for (its table key)."""

    def __init__(self, fonts):
        rows = read_table(os.path.join(ROOT, fonts.config["table"]), fonts.config["columns"])
        self.key = {}
        for row in rows:
            code = row.codes[fonts.column]
            if code is not None and fonts.column not in row.shared:
                self.key[code] = tuple(row.key)
        self.code = {k: c for c, k in self.key.items()}


def pair_mutants(pairs, glyphs, pre_base):
    """Wrong glyph strings: (kind, pairs)."""
    items = [(pairs[i], pairs[i + 1]) for i in range(0, len(pairs) - 1, 2)]
    out = []
    swaps = {(0xDB,): (0xDC,), (0xDC,): (0xDB,), (0xDD,): (0xDE,), (0xDE,): (0xDD,)}

    def emit(kind, new):
        out.append((kind, b"".join(bytes(p) for p in new)))

    for i, (code, s) in enumerate(items):
        key = glyphs.key.get(code)
        if key is None:
            continue
        # A mark placed on its glyph (key P + glyph + mark) is that mark; its
        # swap sits on the same glyph where the font places it so.
        base, key = placed_parts(key)
        swapped = glyphs.code.get(base + swaps[key]) if key in swaps and base else None
        if swapped is None and key in swaps:
            swapped = glyphs.code.get(swaps[key])
        if swapped is not None:
            emit("sign swapped in our glyphs", items[:i] + [(swapped, s)] + items[i + 1:])
        if key[0] in pre_base and len(key) == 1 and i + 1 < len(items):
            emit("pre-base sign after its consonant",
                 items[:i] + [items[i + 1], items[i]] + items[i + 2:])
        if "R" in key and i > 0:
            emit("reph moved", items[:i - 1] + [items[i], items[i - 1]] + items[i + 1:])
        first = key[0] if isinstance(key[0], int) else 0
        if first in (0xA1, 0xA2) or 0xDA <= first <= 0xE7:
            emit("sign missing in our glyphs", items[:i] + items[i + 1:])
    return out


def placed_parts(key):
    """(P + the glyph's key, the mark's key) of a placed mark's key, else
    ((), key). The mark is the last token, or the halant + consonant of a
    subjoined form."""
    if key[0] != PLACED:
        return (), key
    cut = len(key) - 2 if len(key) >= 4 and key[-2] == 0xE8 and 0xB3 <= key[-1] <= 0xD8 else \
        len(key) - 1
    return key[:cut], key[cut:]


def broken_conjuncts(pairs, glyphs):
    """Our glyphs with every conjunct drawn as its consonants and visible
    viramas: a standard spelling that must pass."""
    items, changed = [], False
    for i in range(0, len(pairs) - 1, 2):
        code, s = pairs[i], pairs[i + 1]
        key = glyphs.key.get(code) if s == ord("0") else None
        parts = split_conjunct(key, glyphs) if key else None
        if parts:
            items += [(p, s) for p in parts]
            changed = True
        else:
            items.append((code, s))
    return b"".join(bytes(p) for p in items) if changed else None


def split_conjunct(key, glyphs):
    if len(key) < 3 or any(t in TOKENS for t in key) or key[-1] == 0xE8 or key[0] == 0xE8:
        return None
    codes = []
    for t in key:
        if t == 0xE9:
            return None
        c = glyphs.code.get((t,))
        if c is None:
            return None
        codes.append(c)
    return codes if 0xE8 in key else None


def changes_picture(fonts, case, words, pairs_list):
    """Whether a mutant draws differently from the word it was made from (a
    reph swapped with a zero-width mark draws the same: no mutant)."""
    kind, side, word, ref_text, pairs = case
    if side == "unicode":
        a, b = draw_unicode(fonts, word), draw_unicode(fonts, ref_text)
    else:
        a, b = draw_pairs(fonts, pairs_list[words.index(word)]), draw_pairs(fonts, pairs)
    return a.shape != b.shape or bool((a != b).any())


def unseen(fonts, case, words, pairs_list, threshold):
    """Whether the mutant and its word, both drawn in one font, lie within
    the threshold: a difference the comparison cannot see in any font."""
    kind, side, word, ref_text, pairs = case
    if side == "unicode":
        a, b = draw_unicode(fonts, word), draw_unicode(fonts, ref_text)
    else:
        a, b = draw_pairs(fonts, pairs_list[words.index(word)]), draw_pairs(fonts, pairs)
    return distance(a, b) <= threshold


def calibrate(fonts, words, iscii, pairs_list, threshold, count, pre_base):
    glyphs = Glyphs(fonts)
    rng = random.Random(1)
    cases = []
    for word, pairs in zip(words, pairs_list):
        ours = None
        for kind, mutant in unicode_mutants(word, fonts.config):
            cases.append((kind, "unicode", word, mutant, pairs))
        for kind, mutant in pair_mutants(pairs, glyphs, pre_base):
            cases.append((kind, "glyphs", word, word, mutant))
        del ours
    rng.shuffle(cases)
    # Every kind gets its share before the rest fill up.
    by_kind = {}
    for case in cases:
        by_kind.setdefault(case[0], []).append(case)
    chosen = []
    while len(chosen) < count and any(by_kind.values()):
        for kind in sorted(by_kind):
            while by_kind[kind] and len(chosen) < count:
                case = by_kind[kind].pop()
                if changes_picture(fonts, case, words, pairs_list):
                    chosen.append(case)
                    break
    table = {}
    cache = {}
    for case in chosen:
        kind, side, word, ref_text, pairs = case
        d = best_distance(fonts, draw_pairs(fonts, pairs), ref_text, cache, threshold)
        rejected = d > threshold
        if os.environ.get("NK_RENDER_DEBUG"):
            print("mutant %6.1f %-34s %s" % (d, kind, ref_text))
        row = table.setdefault(kind, [0, 0, 0])
        row[0 if rejected else 1] += 1
        if not rejected and unseen(fonts, case, words, pairs_list, threshold):
            row[2] += 1
    alternatives = [0, 0]
    for word, pairs in zip(words, pairs_list):
        broken = broken_conjuncts(pairs, glyphs)
        if broken is None:
            continue
        d = best_distance(fonts, draw_pairs(fonts, broken), word, cache, threshold)
        alternatives[0 if d <= threshold else 1] += 1
        if sum(alternatives) >= count:
            break
    return table, alternatives


# ---------------------------------------------------------------- main

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dump")
    parser.add_argument("font_dir")
    parser.add_argument("words")
    parser.add_argument("variant", choices=sorted(VARIANTS))
    parser.add_argument("--threshold", type=float, default=4.0)
    parser.add_argument("--min-pass", type=float, default=0.0)
    parser.add_argument("--calibrate", type=int, default=0)
    parser.add_argument("--min-reject", type=float, default=0.95)
    parser.add_argument("--report")
    parser.add_argument("--tolerance", type=int, default=TOLERANCE)
    args = parser.parse_args()
    set_tolerance(args.tolerance)
    fonts = Fonts(args.font_dir, args.variant)
    listed = [w.strip() for w in open(args.words, encoding="utf-8")
              if w.strip() and not w.startswith("#")]
    coded = to_iscii(listed, fonts.config)
    skipped = [w for w, c in zip(listed, coded) if c is None]
    words = [w for w, c in zip(listed, coded) if c is not None]
    iscii = [c for c in coded if c is not None]
    dumped = run_dump(args.dump, args.variant, iscii)
    cache = {}
    results = []
    for word, code, pairs in zip(words, iscii, dumped):
        d = best_distance(fonts, draw_pairs(fonts, pairs), word, cache, args.threshold)
        results.append((word, d, code, pairs))
    passed = [r for r in results if r[1] <= args.threshold]
    if os.environ.get("NK_RENDER_DEBUG"):
        print("distances:", numpy.percentile([r[1] for r in results], [50, 90, 95, 98, 99]))
    share = len(passed) / max(len(results), 1)
    lines = ["variant %s: %d of %d words pass (%.1f%%) at worst window <= %.1f/1000 em^2; "
             "%d listed words left out (ICU does not give them back)"
             % (args.variant, len(passed), len(results), 100 * share, args.threshold,
                len(skipped))]
    ok = share >= args.min_pass
    if args.calibrate:
        pre_base = set(PRE_BASE.get(fonts.config["table"], ()))
        table, alternatives = calibrate(fonts, words, iscii, dumped, args.threshold,
                                        args.calibrate, pre_base)
        rejected = sum(r[0] for r in table.values())
        total = sum(r[0] + r[1] for r in table.values())
        lines.append("calibration: %d of %d mutants rejected (%.1f%%); conjuncts spelled with "
                     "a visible virama accepted %d of %d"
                     % (rejected, total, 100.0 * rejected / max(total, 1), alternatives[0],
                        sum(alternatives)))
        unseen_total = sum(r[2] for r in table.values())
        if unseen_total:
            lines.append("  of the accepted, %d differ from their word by less than the "
                         "threshold even drawn in one font" % unseen_total)
        for kind in sorted(table):
            lines.append("  %-36s rejected %3d accepted %3d" % (kind, table[kind][0],
                                                              table[kind][1]))
        ok = ok and total > 0 and rejected >= args.min_reject * total
    for word, d, code, pairs in sorted(results, key=lambda r: -r[1]):
        if d > args.threshold:
            lines.append("FAIL %6.1f %s  iscii %s  glyphs %s" % (d, word, code.hex(" "),
                                                                 pairs[0::2].hex(" ")))
    for word in skipped:
        lines.append("LEFT OUT %s" % word)
    text = "\n".join(lines)
    print("\n".join(l for l in lines if not l.startswith("LEFT OUT")))
    if args.report:
        with open(args.report, "w", encoding="utf-8") as f:
            f.write(text + "\n")
    return 0 if ok else 1


# Signs each script's adapters draw before their cluster (ISCII), for the
# mutant that moves them.
PRE_BASE = {
    "modules/devanagari/glyph_table.txt": (0xDB,),
    "modules/bengali/glyph_table.txt": (0xDB, 0xE1, 0xE2),
    "modules/oriya/glyph_table.txt": (0xE1,),
    "modules/gujarati/glyph_table.txt": (0xDB,),
    "modules/gurmukhi/glyph_table.txt": (0xDB,),
}

if __name__ == "__main__":
    sys.exit(main())
