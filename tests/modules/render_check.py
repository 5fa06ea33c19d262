#!/usr/bin/python3
"""Rendering check of the Devanagari adapters and fonts.

For every word of a word list: the word is typed as ISCII (ICU's converter),
converted by the adapter syllable by syllable (glyph_dump), and the glyph
codes are drawn in our font; the word's Unicode text is shaped by HarfBuzz in
the source font (Noto Sans Devanagari). The two pictures (hb-view) must agree:
the score is the best intersection-over-union of their ink after cropping
each to its ink, thickening every stroke by TOLERANCE pixels (so that a mark
a pixel or two from where HarfBuzz puts it still counts as the same ink) and
trying small shifts. A word passes at THRESHOLD or more.

usage: render_check.py GLYPH_DUMP FONT_DIR WORDS VARIANT [--threshold T]
                       [--report FILE] [--min-pass SHARE]
VARIANT: DV, SD, DVB or VD (VD draws set '1' glyphs from VD-Velta).
Exit status 1 when the share of passing words is below --min-pass.
"""
import argparse
import os
import subprocess
import sys
import tempfile

import numpy
from PIL import Image

SOURCE = "/usr/share/fonts/truetype/noto/NotoSansDevanagari-Regular.ttf"
FONTS = {"DV": "DV-Velta.ttf", "SD": "SD-Velta.ttf", "DVB": "DVB-TTVelta.ttf",
         "VD": "DV-Velta.ttf"}
SIZE = 48
SHIFT = 3  # pixels tried in each direction
TOLERANCE = 2  # pixels every stroke is thickened by


def to_iscii(words):
    data = ("\n".join(words) + "\n").encode("utf-8")
    out = subprocess.run(["uconv", "-f", "UTF-8", "-t", "ISCII,version=0"], input=data,
                         capture_output=True, check=True).stdout
    lines = out.split(b"\n")[:len(words)]
    # ICU begins with an ATR script switch; drop it wherever it appears.
    return [l[2:] if l.startswith(b"\xef") else l for l in lines]


def byte_text(data):
    """The characters an ANSI program sends for glyph bytes (code page 1252)."""
    chars = []
    for b in data:
        try:
            chars.append(bytes([b]).decode("cp1252"))
        except UnicodeDecodeError:
            chars.append(chr(b))
    return "".join(chars)


def render(font, text, path):
    subprocess.run(["hb-view", "--font-file=" + font, "--font-size=%d" % SIZE, "--margin=16",
                    "--text=" + text, "-o", path], check=True, capture_output=True)
    ink = numpy.asarray(Image.open(path).convert("L")) < 128
    rows, cols = numpy.nonzero(ink)
    if rows.size == 0:
        return ink[:1, :1] & False
    ink = ink[rows.min():rows.max() + 1, cols.min():cols.max() + 1]
    return thicken(ink, TOLERANCE)


def thicken(ink, radius):
    h, w = ink.shape
    out = numpy.zeros((h + 2 * radius, w + 2 * radius), bool)
    for dy in range(2 * radius + 1):
        for dx in range(2 * radius + 1):
            out[dy:dy + h, dx:dx + w] |= ink
    return out


def score(a, b):
    h = max(a.shape[0], b.shape[0]) + 2 * SHIFT
    w = max(a.shape[1], b.shape[1]) + 2 * SHIFT
    pa = numpy.zeros((h, w), bool)
    pa[SHIFT:SHIFT + a.shape[0], SHIFT:SHIFT + a.shape[1]] = a
    best = 0.0
    for dy in range(0, 2 * SHIFT + 1):
        for dx in range(0, 2 * SHIFT + 1):
            pb = numpy.zeros((h, w), bool)
            pb[dy:dy + b.shape[0], dx:dx + b.shape[1]] = b
            union = numpy.count_nonzero(pa | pb)
            if union:
                best = max(best, numpy.count_nonzero(pa & pb) / union)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dump")
    parser.add_argument("font_dir")
    parser.add_argument("words")
    parser.add_argument("variant", choices=sorted(FONTS))
    parser.add_argument("--threshold", type=float, default=0.75)
    parser.add_argument("--min-pass", type=float, default=0.0)
    parser.add_argument("--report")
    args = parser.parse_args()
    words = [w.strip() for w in open(args.words, encoding="utf-8")
             if w.strip() and not w.startswith("#")]
    iscii = to_iscii(words)
    out = subprocess.run([args.dump, args.variant, "-p"], input=b"\n".join(iscii) + b"\n",
                         capture_output=True, check=True).stdout.split(b"\n")[:len(words)]
    font = os.path.join(args.font_dir, FONTS[args.variant])
    results = []
    with tempfile.TemporaryDirectory() as tmp:
        if args.variant == "VD":
            # The two sets are two fonts; draw them as one for the picture.
            merged = os.path.join(tmp, "two-set.ttf")
            two_set_font(font, os.path.join(args.font_dir, "VD-Velta.ttf"), merged)
            font = merged
        for word, pairs in zip(words, out):
            sets = pairs[0::2]
            codes = pairs[1::2]
            ref = render(SOURCE, word, os.path.join(tmp, "ref.png"))
            text = "".join(chr(0xE000 + c) if g == ord("1") else byte_text(bytes([c]))
                           for g, c in zip(sets, codes))
            ours = render(font, text, os.path.join(tmp, "ours.png"))
            results.append((word, score(ours, ref), codes))
    passed = [r for r in results if r[1] >= args.threshold]
    share = len(passed) / max(len(results), 1)
    lines = ["variant %s: %d of %d words pass (%.1f%%) at IoU >= %.2f"
             % (args.variant, len(passed), len(results), 100 * share, args.threshold)]
    for word, s, codes in sorted(results, key=lambda r: r[1]):
        if s < args.threshold:
            lines.append("FAIL %.3f %s  %s" % (s, word, codes.hex(" ")))
    text = "\n".join(lines)
    print(text)
    if args.report:
        with open(args.report, "w", encoding="utf-8") as f:
            f.write(text + "\n")
    return 0 if share >= args.min_pass else 1


def two_set_font(first, second, path):
    """One font holding both sets: the second set's glyphs at U+E000 + code."""
    from fontTools.ttLib import TTFont
    font, other = TTFont(first), TTFont(second)
    order = font.getGlyphOrder()
    cmap = {}
    for code, name in other.getBestCmap().items():
        if code > 0xFF:
            continue
        new = "set1_%02X" % code
        if new in order:
            continue
        order.append(new)
        font["glyf"].glyphs[new] = other["glyf"][name]
        font["hmtx"].metrics[new] = other["hmtx"][name]
        cmap[0xE000 + code] = new
    font.setGlyphOrder(order)
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap.update(cmap)
    font["maxp"].numGlyphs = len(order)
    font.save(path)


if __name__ == "__main__":
    sys.exit(main())
