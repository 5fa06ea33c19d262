#!/usr/bin/python3
"""Builds the product's 8-bit TrueType fonts from a script glyph table.

usage: fontgen.py devanagari TABLE OUTDIR
       fontgen.py roman TABLE OUTDIR
       fontgen.py SCRIPT TABLE OUTDIR      (SCRIPT: one of INDIC_SCRIPTS)

Glyph outlines come from the OFL fonts of Debian's fonts-noto-core: for each
table row the key's Unicode text (ICU's ISCII converter) is shaped with
HarfBuzz (hb-shape) in Noto Sans Devanagari, and the glyphs HarfBuzz chooses
are copied at the positions it gives them. So a conjunct of the table is the
source font's own ligature, a half form its half form, and a mark sits where
the source font puts it on NA. Latin glyphs come from Noto Sans.

Every font maps each of its byte codes both at U+00xx and at the Unicode
value that Windows code page 1252 gives the byte, so that an ANSI program
(WM_CHAR of the byte, ExtTextOutA) and a Unicode one reach the same glyph.
"""
import os
import subprocess
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.misc.timeTools import timestampFromString
from fontTools.ttLib import TTFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from glyph_table import REPH, UNUSABLE_CODES, read_roman_table, read_table  # noqa: E402

NOTO_DIR = "/usr/share/fonts/truetype/noto"
DEVANAGARI_SOURCE = os.path.join(NOTO_DIR, "NotoSansDevanagari-Regular.ttf")
LATIN_SOURCE = os.path.join(NOTO_DIR, "NotoSans-Regular.ttf")
ZWJ = "\u200d"
# Glyphs HarfBuzz emits for joiners and empty helpers: never drawn.
EMPTY_GLYPHS = ("space", "uni200D", "uni200C", "dummymarkdeva")
# Marks and signs are taken as they sit on NA, whose stem ends the glyph, as
# on most consonants: the font draws them at the right end of the glyph
# before them. (KA, whose stem is in its middle, has its own sign rows.)
BASE = b"\xc6"
BASE_GLYPH = "nadeva"
COPYRIGHT = ("Glyph outlines from the Noto fonts, Copyright 2015-2020 Google LLC; "
             "arranged for the Velta script manager. Licensed under the SIL Open Font "
             "License 1.1 (OFL.txt).")


def cp1252_char(code):
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return chr(code)  # undefined in 1252: Windows maps it to U+00xx


def iscii_to_unicode(texts, version=0):
    """Unicode of each ISCII byte string (one uconv call for all); version
    names the script in Unicode's block order (0 Devanagari ... 8 Malayalam)."""
    data = b"\n".join(texts) + b"\n"
    out = subprocess.run(["uconv", "-f", "ISCII,version=%d" % version, "-t", "UTF-8"], input=data,
                         capture_output=True, check=True).stdout.decode("utf-8")
    lines = out.split("\n")
    return lines[:len(texts)]


def shape(font_path, texts):
    """HarfBuzz glyph runs of each text: lists of (name, dx, dy, advance)."""
    import json
    import tempfile
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8") as f:
        f.write("\n".join(texts) + "\n")
        name = f.name
    try:
        out = subprocess.run(["hb-shape", "--output-format=json", "--text-file=" + name,
                              font_path], capture_output=True, check=True, text=True).stdout
    finally:
        os.unlink(name)
    runs = []
    for line in out.splitlines():
        if not line.strip():
            continue
        runs.append([(g["g"], g["dx"], g["dy"], g["ax"]) for g in json.loads(line)])
    if len(runs) != len(texts):
        raise SystemExit("hb-shape gave %d runs for %d texts" % (len(runs), len(texts)))
    return runs


class Outline:
    """A glyph to be: pieces of source glyphs at offsets, and an advance."""

    def __init__(self, source, pieces, advance):
        self.source = source  # TTFont
        self.pieces = pieces  # [(glyph name, dx, dy)]
        self.advance = advance


def row_context(row, base=BASE):
    """ISCII text to shape for a row, whether a ZWJ follows, and whether the
    glyph sits on the NA base (marks and signs) that is not part of the glyph."""
    key = row.key
    reph = REPH in key
    data = bytes(t for t in key if t != REPH)
    first = data[0] if data else 0
    on_base = reph or first in (0xE8, 0xE9) or 0xDA <= first <= 0xE7 or (
        0xA1 <= first <= 0xA3 and data != b"\xa1\xe9")
    if on_base:
        return (b"\xcf\xe8" if reph else b"") + base + data, False, True
    half = len(data) >= 2 and data[-1] == 0xE8
    return data, half, False


def devanagari_outlines(rows, source):
    contexts, flags = [], []
    for row in rows:
        data, half, on_base = row_context(row)
        contexts.append(data)
        flags.append((half, on_base))
    unicode_texts = iscii_to_unicode(contexts)
    texts = [u + (ZWJ if half else "") for u, (half, _) in zip(unicode_texts, flags)]
    runs = shape(DEVANAGARI_SOURCE, texts)
    outlines = {}
    for row, run, (half, on_base), text in zip(rows, runs, flags, texts):
        if row.key == [0xE8, 0xCF]:
            outlines[row.key_text()] = vattu_outline(source, runs, rows)
            continue
        pen_x = 0
        pieces = []
        origin = None
        advance = 0
        skipped_base = False
        for name, dx, dy, ax in run:
            use = name not in EMPTY_GLYPHS and not name.startswith("uni25CC")
            if on_base and not skipped_base and name == BASE_GLYPH:
                skipped_base = True
                use = False
            if use:
                if origin is None:
                    origin = pen_x
                pieces.append((name, pen_x - origin + dx, dy))
                advance = pen_x + ax - origin
            pen_x += ax
        if not pieces:
            raise SystemExit("line %d: %r shapes to no glyph (%s)" % (row.line_no, text, run))
        if not on_base and len(pieces) > 1 and not half and len(row.key) > 1 and \
                any(0xB3 <= t <= 0xD8 for t in row.key[1:] if t != REPH):
            print("fontgen: line %d (%s) is no single glyph in the source: %s"
                  % (row.line_no, row.note, [p[0] for p in pieces]), file=sys.stderr)
        outlines[row.key_text()] = Outline(source, pieces, max(advance, 0))
    return outlines


def vattu_outline(source, runs, rows):
    """The rakar sign alone, under the stem of the glyph before it: its
    centre under the centre of the sign U on NA."""
    u_run = shape(DEVANAGARI_SOURCE, ["\u0928\u0941"])[0]
    u_name, u_dx = u_run[1][0], u_run[1][1]
    u_box = glyph_bounds(source, u_name)
    v_box = glyph_bounds(source, "vattudeva")
    shift = (u_box[0] + u_box[2]) / 2 - (v_box[0] + v_box[2]) / 2
    return Outline(source, [("vattudeva", u_dx + shift, 0)], 0)


def glyph_bounds(font, name):
    from fontTools.pens.boundsPen import BoundsPen
    pen = BoundsPen(font.getGlyphSet())
    font.getGlyphSet()[name].draw(pen)
    return pen.bounds or (0, 0, 0, 0)


def latin_outline(latin, char):
    name = latin.getBestCmap().get(ord(char))
    if name is None:
        return None
    return Outline(latin, [(name, 0, 0)], latin["hmtx"][name][0])


def build_font(path, family, slots, vertical):
    """slots: byte code -> Outline. Writes a TrueType font at path."""
    order = [".notdef", "space"]
    glyphs, metrics, cmap = {}, {}, {}
    empty = TTGlyphPen(None).glyph()
    glyphs[".notdef"] = empty
    metrics[".notdef"] = (500, 0)
    glyphs["space"] = empty
    metrics["space"] = (260, 0)
    cmap[0x20] = "space"
    for code in sorted(slots):
        outline = slots[code]
        name = "g%02X" % code
        pen = TTGlyphPen(None)
        gs = outline.source.getGlyphSet()
        for piece, dx, dy in outline.pieces:
            # Components of the source are drawn as outlines: the new font
            # holds none of the source's other glyphs.
            recording = DecomposingRecordingPen(gs)
            gs[piece].draw(recording)
            recording.replay(TransformPen(pen, (1, 0, 0, 1, dx, dy)))
        glyph = pen.glyph()
        glyph.recalcBounds(None)
        order.append(name)
        glyphs[name] = glyph
        lsb = glyph.xMin if glyph.numberOfContours else 0
        metrics[name] = (int(round(outline.advance)), lsb)
        cmap[code] = name
        cmap.setdefault(ord(cp1252_char(code)), name)
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics(metrics)
    ascent, descent = vertical
    fb.setupHorizontalHeader(ascent=ascent, descent=-descent)
    version = "Version 1.000"
    fb.setupNameTable({
        "copyright": COPYRIGHT,
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": family + ";1.000",
        "fullName": family,
        "version": version,
        "psName": family.replace(" ", ""),
        "licenseDescription": "SIL Open Font License, Version 1.1",
        "licenseInfoURL": "https://openfontlicense.org",
    })
    fb.setupOS2(sTypoAscender=ascent, sTypoDescender=-descent, sTypoLineGap=0,
                usWinAscent=ascent, usWinDescent=descent, achVendID="VELT", fsType=0,
                usWeightClass=400, ulUnicodeRange1=0b11, ulCodePageRange1=1,
                ulCodePageRange2=0, fsSelection=0x40)
    fb.setupPost()
    # A fixed date keeps the generated files identical from build to build.
    stamp = timestampFromString("Mon Jan  6 00:00:00 2025")
    fb.setupHead(unitsPerEm=1000, created=stamp, modified=stamp)
    fb.save(path)


def latin_slots(latin, codes):
    slots = {}
    for code in codes:
        outline = latin_outline(latin, cp1252_char(code))
        if outline is not None:
            slots[code] = outline
    return slots


def vertical_of(*fonts):
    ascent = max(f["OS/2"].usWinAscent for f in fonts)
    descent = max(f["OS/2"].usWinDescent for f in fonts)
    return ascent, descent


def make_devanagari(table, out_dir):
    columns = ["DV", "DVB", "VD2", "SD"]
    rows = read_table(table, columns)
    source = TTFont(DEVANAGARI_SOURCE)
    latin = TTFont(LATIN_SOURCE)
    outlines = devanagari_outlines(rows, source)
    vertical = vertical_of(source, latin)
    narrow_latin = latin_slots(latin, range(0x21, 0x41))  # digits, punctuation
    wide_latin = latin_slots(latin, range(0x21, 0x7F))
    fonts = [("DV-Velta", "DV", narrow_latin), ("SD-Velta", "SD", narrow_latin),
             ("VD-Velta", "VD2", narrow_latin), ("DVB-TTVelta", "DVB", wide_latin),
             ("SDB-TTVelta", "DVB", wide_latin)]
    for family, column, base in fonts:
        slots = dict(base)
        for row in rows:
            code = row.codes[column]
            if code is not None:
                slots[code] = outlines[row.key_text()]
        build_font(os.path.join(out_dir, family + ".ttf"), family, slots, vertical)
    # English-mode companions: plain Latin of code page 1252.
    latin_all = latin_slots(latin, [c for c in range(0x21, 0x100) if c not in UNUSABLE_CODES])
    for family in ("DV1-Velta", "SD1-Velta"):
        build_font(os.path.join(out_dir, family + ".ttf"), family, latin_all, vertical)


# The scripts built from one glyph table each by indic_outlines: ICU's ISCII
# version, the source font, the font columns of the table, and the faces:
# (face, column, Latin of the bilingual face). "TT" faces are the names the
# keyboard overlay tries when a face is missing; they are the same fonts.
# unicode: the text shaped for keys ICU does not convert in the script (or
# converts to more than the glyph: E6 alone is only the au length mark).
INDIC_SCRIPTS = {
    "tamil": {
        "version": 5, "source": "NotoSansTamil-Regular.ttf", "prefix": "TM",
        "columns": ["TM", "TMB"],
        "faces": [("TM-Velta", "TM", False), ("TM-TTVelta", "TM", False),
                  ("TMB-TTVelta", "TMB", True)],
        "unicode": {"EA": "\u0964", "EA+EA": "\u0965", "E6": "\u0bd7"},
    },
}


def indic_outlines(rows, cfg, source_path, source):
    """Outlines of every row: the glyphs HarfBuzz gives for the row's text in
    the source font, at its positions. Signs and marks are shaped on NA and
    NA is left out; a sign that merges with NA is shaped alone (HarfBuzz puts
    it on a dotted circle, which is left out too)."""
    contexts, flags = [], []
    for row in rows:
        data, _, on_base = row_context(row)
        # ICU refuses the keys it does not convert: shape their own text.
        contexts.append(BASE if row.key_text() in cfg["unicode"] else data)
        flags.append(on_base)
    texts = iscii_to_unicode(contexts, cfg["version"])
    base_text = iscii_to_unicode([BASE], cfg["version"])[0]
    base_glyph = shape(source_path, [base_text])[0][0][0]
    for n, row in enumerate(rows):
        if row.key_text() in cfg["unicode"]:
            texts[n] = (base_text if flags[n] else "") + cfg["unicode"][row.key_text()]
    runs = shape(source_path, texts)
    alone = [n for n, run in enumerate(runs)
             if flags[n] and base_glyph not in [g[0] for g in run]]
    if alone:
        for n, run in zip(alone, shape(source_path, [texts[n][len(base_text):] for n in alone])):
            runs[n] = run
    outlines = {}
    for row, run, on_base in zip(rows, runs, flags):
        outlines[row.key_text()] = run_outline(row, run, on_base, base_glyph, source)
    return outlines


def run_outline(row, run, on_base, base_glyph, source):
    pen_x, pieces, origin, advance, skipped_base = 0, [], None, 0, False
    for name, dx, dy, ax in run:
        use = name not in EMPTY_GLYPHS and not name.startswith("uni25CC")
        if on_base and not skipped_base and name == base_glyph:
            skipped_base, use = True, False
        if use:
            if origin is None:
                origin = pen_x
            pieces.append((name, pen_x - origin + dx, dy))
            advance = pen_x + ax - origin
        pen_x += ax
    if not pieces or any(p[0] == ".notdef" for p in pieces):
        raise SystemExit("line %d (%s): no glyph in the source (%s)" % (row.line_no, row.note, run))
    return Outline(source, pieces, max(advance, 0))


def make_indic(script, table, out_dir):
    cfg = INDIC_SCRIPTS[script]
    source_path = os.path.join(NOTO_DIR, cfg["source"])
    rows = read_table(table, cfg["columns"])
    source = TTFont(source_path)
    latin = TTFont(LATIN_SOURCE)
    outlines = indic_outlines(rows, cfg, source_path, source)
    vertical = vertical_of(source, latin)
    narrow_latin = latin_slots(latin, range(0x21, 0x41))  # digits, punctuation
    wide_latin = latin_slots(latin, range(0x21, 0x7F))
    for face, column, wide in cfg["faces"]:
        slots = dict(wide_latin if wide else narrow_latin)
        for row in rows:
            code = row.codes[column]
            if code is not None:
                slots[code] = outlines[row.key_text()]
        build_font(os.path.join(out_dir, face + ".ttf"), face, slots, vertical)
    # English-mode companions: plain Latin of code page 1252.
    latin_all = latin_slots(latin, [c for c in range(0x21, 0x100) if c not in UNUSABLE_CODES])
    for face in (cfg["prefix"] + "1-Velta", cfg["prefix"] + "1-TTVelta"):
        build_font(os.path.join(out_dir, face + ".ttf"), face, latin_all, vertical)


def make_roman(table, out_dir):
    rows = read_roman_table(table)
    latin = TTFont(LATIN_SOURCE)
    usable = [c for c in range(0x21, 0x100) if c not in UNUSABLE_CODES]
    slots = latin_slots(latin, usable)
    for row in rows:
        slots[row.code] = roman_outline(latin, row.text, row)
    # The bilingual face is the same font: ASCII already fills its lower half.
    for family in ("RM-Velta", "RMB-TTVelta"):
        build_font(os.path.join(out_dir, family + ".ttf"), family, slots, vertical_of(latin))
    build_font(os.path.join(out_dir, "RM1-Velta.ttf"), "RM1-Velta", latin_slots(latin, usable),
               vertical_of(latin))


def roman_outline(latin, text, row):
    """A Latin letter with its diacritics, as HarfBuzz composes it in Noto Sans."""
    run = shape(LATIN_SOURCE, [text])[0]
    pieces, pen_x, advance = [], 0, 0
    for name, dx, dy, ax in run:
        pieces.append((name, pen_x + dx, dy))
        pen_x += ax
        advance = pen_x
    if not pieces or any(p[0] == ".notdef" for p in pieces):
        raise SystemExit("line %d: no glyph for %r" % (row.line_no, text))
    return Outline(latin, pieces, advance)


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("devanagari", "roman") + tuple(INDIC_SCRIPTS):
        raise SystemExit(__doc__)
    os.makedirs(sys.argv[3], exist_ok=True)
    if sys.argv[1] in INDIC_SCRIPTS:
        make_indic(sys.argv[1], sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "devanagari":
        make_devanagari(sys.argv[2], sys.argv[3])
    else:
        make_roman(sys.argv[2], sys.argv[3])


if __name__ == "__main__":
    main()
