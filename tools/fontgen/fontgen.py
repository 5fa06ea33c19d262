#!/usr/bin/python3
"""Builds the product's 8-bit TrueType fonts from a script glyph table.

usage: fontgen.py SCRIPT TABLE OUTDIR
SCRIPT: devanagari, bengali, assamese, oriya, gujarati, gurmukhi, tamil, telugu, kannada,
malayalam or roman.

Glyph outlines come from the OFL fonts of Debian's fonts-noto-core: for each
table row the key's Unicode text (ICU's ISCII converter for the script) is
shaped with HarfBuzz (hb-shape) in the script's Noto Sans font, and the glyphs
HarfBuzz chooses are copied at the positions it gives them. So a conjunct of
the table is the source font's own ligature, a half or subjoined form its own
form, and a mark sits where the source font puts it on NA (or on the next base
letter of the script where NA and the mark make one glyph). Latin glyphs come
from Noto Sans.

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
from glyph_table import (ALT_ANUSVARA, BASE_FORM, GEMINATION, HEADLESS, PLACED, REPH,  # noqa: E402
                         UNUSABLE_CODES, read_roman_table, read_table)  # noqa: E402
from headless import HEAD_SIGNS, Bodies, components  # noqa: E402

NOTO_DIR = "/usr/share/fonts/truetype/noto"
LATIN_SOURCE = os.path.join(NOTO_DIR, "NotoSans-Regular.ttf")
ZWJ = "\u200d"
DOTTED_CIRCLE = "\u25cc"
PRE_BASE_SIGNS = (0xDB, 0xE1, 0xE2)  # the signs that may stand before a cluster
# Font units within which the places of a mark on several glyphs share one
# glyph (about two pixels at 48 pixels per em, what the rendering check's
# comparison forgives).
PLACED_SAME = 40
# The subjoined consonants (ISCII) after which fontgen looks for a
# consonant's base form, in order: YA, BA, LA, NA.
BASE_FORM_AFTER = (0xCD, 0xCA, 0xD1, 0xC6)
# Glyphs HarfBuzz emits for joiners and empty helpers: never drawn.
EMPTY_GLYPHS = ("space", "uni200D", "uni200C", "dummymarkdeva", "zerowidthjoiner",
                "zerowidthnonjoiner")
NARROW_LATIN = range(0x21, 0x41)  # digits and the punctuation Inscript types as ASCII
WIDE_LATIN = range(0x21, 0x7F)  # bilingual fonts: all of ASCII
COPYRIGHT = ("Glyph outlines from the Noto fonts, Copyright 2015-2020 Google LLC; "
             "arranged for the Velta script manager. Licensed under the SIL Open Font "
             "License 1.1 (OFL.txt).")

def danda_letters(avagraha):
    """Danda, double danda and avagraha, which ICU gives only in Devanagari."""
    letters = {b"\xea": "\u0964", b"\xea\xea": "\u0965"}
    if avagraha:
        letters[b"\xea\xe9"] = avagraha
    return letters


# The right part of sign AU: the AU length mark.
BENGALI_LETTERS = {**danda_letters("\u09bd"), b"\xe6": "\u09d7"}

# Each script: its glyph source, ICU's ISCII version, the letters its marks are
# drawn on (the first whose glyph stays separate when the mark is added: NA
# with nukta is a letter of its own in Devanagari), the table's columns and
# the fonts built from them (family, column, Latin codes), the English-mode
# companions, and Unicode text for ISCII bytes ICU does not give the script's
# meaning of: Assamese RA and VA, and the right parts of split vowel signs
# (the table keys them by the sign's own byte).
SCRIPTS = {
    "devanagari": dict(
        source="NotoSansDevanagari-Regular.ttf", version=0, bases=[b"\xc6", b"\xc8"],
        columns=["DV", "DVB", "VD2", "SD"],
        fonts=[("DV-Velta", "DV", NARROW_LATIN), ("SD-Velta", "SD", NARROW_LATIN),
               ("VD-Velta", "VD2", NARROW_LATIN), ("DVB-TTVelta", "DVB", WIDE_LATIN),
               ("SDB-TTVelta", "DVB", WIDE_LATIN)],
        english=["DV1-Velta", "SD1-Velta"], letters={}, vattu=True),
    "bengali": dict(
        source="NotoSansBengali-Regular.ttf", version=1, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["BN", "BNB"],
        fonts=[("BN-Velta", "BN", NARROW_LATIN), ("BN-TTVelta", "BN", NARROW_LATIN),
               ("BNB-TTVelta", "BNB", WIDE_LATIN)],
        english=["BN1-Velta", "BN1-TTVelta"], letters={**BENGALI_LETTERS, b"\xd4": "\u09ac"}),
    "assamese": dict(
        source="NotoSansBengali-Regular.ttf", version=1, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["BN", "BNB"],
        fonts=[("AS-Velta", "BN", NARROW_LATIN), ("AS-TTVelta", "BN", NARROW_LATIN),
               ("ASB-TTVelta", "BNB", WIDE_LATIN)],
        english=["AS1-Velta", "AS1-TTVelta"], letters={**BENGALI_LETTERS, b"\xcf": "\u09f0", b"\xd4": "\u09f1"}),
    "oriya": dict(
        source="NotoSansOriya-Regular.ttf", version=4, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["OR", "ORB"],
        fonts=[("OR-Velta", "OR", NARROW_LATIN), ("OR-TTVelta", "OR", NARROW_LATIN),
               ("ORB-TTVelta", "ORB", WIDE_LATIN)],
        english=["OR1-Velta", "OR1-TTVelta"], letters={**danda_letters("\u0b3d"), b"\xe6": "\u0b57", b"\xe2": "\u0b56"}),
    "gujarati": dict(
        source="NotoSansGujarati-Regular.ttf", version=3, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["GJ", "GJB"],
        fonts=[("GJ-Velta", "GJ", NARROW_LATIN), ("GJ-TTVelta", "GJ", NARROW_LATIN),
               ("GJB-TTVelta", "GJB", WIDE_LATIN)],
        english=["GJ1-Velta", "GJ1-TTVelta"], letters=danda_letters("\u0abd"),
        # The alternative anusvara: Noto's form over a consonant whose stem
        # stands left, shaped on KA.
        tokens={ALT_ANUSVARA: "\u0a82"}, token_base=b"\xb3"),
    "gurmukhi": dict(
        source="NotoSansGurmukhi-Regular.ttf", version=2, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["PN", "PNB"],
        fonts=[("PN-Velta", "PN", NARROW_LATIN), ("PN-TTVelta", "PN", NARROW_LATIN),
               ("PNB-TTVelta", "PNB", WIDE_LATIN)],
        # ISCII's anusvara is the bindi wherever the table keeps it (the tippi
        # is the token N); ICU would make it a tippi after some letters.
        english=["PN1-Velta", "PN1-TTVelta"], letters={**danda_letters(None), b"\xa2": "\u0a02"}),
    # Tamil: ICU gives no danda; E6 alone is the au length mark, the right
    # part of au. The "TT" faces are the names the keyboard overlay tries
    # when a face is missing; they are the same fonts.
    "tamil": dict(
        source="NotoSansTamil-Regular.ttf", version=5, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["TM", "TMB"],
        fonts=[("TM-Velta", "TM", NARROW_LATIN), ("TM-TTVelta", "TM", NARROW_LATIN),
               ("TMB-TTVelta", "TMB", WIDE_LATIN)],
        english=["TM1-Velta", "TM1-TTVelta"], letters={b"\xe6": "\u0bd7", b"\xea": "\u0964"}),
    # Malayalam: E6 alone is the au length mark.
    "malayalam": dict(
        source="NotoSansMalayalam-Regular.ttf", version=8, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["ML", "MLB"],
        fonts=[("ML-Velta", "ML", NARROW_LATIN), ("ML-TTVelta", "ML", NARROW_LATIN),
               ("MLB-TTVelta", "MLB", WIDE_LATIN)],
        english=["ML1-Velta", "ML1-TTVelta"], letters={b"\xe6": "\u0d57"}),
    # Telugu and Kannada: the headless bodies and the signs on them (keys
    # with H) come from the source font (headless.py); ICU gives no danda.
    # Kannada's DC, E1, E2, E4, E5 alone are the right parts of ii, ee, ai, o
    # and oo: the length mark, the ai length mark, the uu sign, both.
    "telugu": dict(
        source="NotoSansTelugu-Regular.ttf", version=6, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["TL", "TLB"],
        fonts=[("TL-Velta", "TL", NARROW_LATIN), ("TL-TTVelta", "TL", NARROW_LATIN),
               ("TLB-TTVelta", "TLB", WIDE_LATIN)],
        english=["TL1-Velta", "TL1-TTVelta"], letters={b"\xea": "\u0964"}),
    "kannada": dict(
        source="NotoSansKannada-Regular.ttf", version=7, bases=[b"\xc6", b"\xc8", b"\xb3"],
        columns=["KN", "KNB"],
        fonts=[("KN-Velta", "KN", NARROW_LATIN), ("KN-TTVelta", "KN", NARROW_LATIN),
               ("KNB-TTVelta", "KNB", WIDE_LATIN)],
        english=["KN1-Velta", "KN1-TTVelta"], letters={b"\xea": "\u0964"},
        parts={0xDC: "\u0cd5", 0xE1: "\u0cd5", 0xE2: "\u0cd6", 0xE4: "\u0cc2",
               0xE5: "\u0cc2\u0cd5"}),
}
# Unicode of the key tokens other than the reph, drawn on the base letter (a
# script's "tokens" may mean other text by them, shaped on its "token_base").
TOKEN_TEXT = {ALT_ANUSVARA: "\u0a70", GEMINATION: "\u0a71"}


def cp1252_char(code):
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return chr(code)  # undefined in 1252: Windows maps it to U+00xx


def uconv(texts, version):
    """Unicode of each ISCII byte string (one uconv call for all)."""
    data = b"\n".join(texts) + b"\n"
    out = subprocess.run(["uconv", "-f", "ISCII,version=%d" % version, "-t", "UTF-8"],
                         input=data, capture_output=True, check=True).stdout.decode("utf-8")
    lines = out.split("\n")
    return lines[:len(texts)]


def iscii_to_unicode(texts, version, letters):
    """ICU's meaning of each ISCII text, with the script's own meaning for
    the byte sequences in letters (longest first): the text is cut there and
    the pieces converted alone."""
    order = sorted(letters, key=len, reverse=True)
    pieces, layout = [], []
    for text in texts:
        parts, run, i = [], b"", 0
        while i < len(text):
            seq = next((q for q in order if text.startswith(q, i)), None)
            if seq is None:
                run += text[i:i + 1]
                i += 1
                continue
            if run:
                parts.append(len(pieces))
                pieces.append(run)
                run = b""
            parts.append(letters[seq])
            i += len(seq)
        if run:
            parts.append(len(pieces))
            pieces.append(run)
        layout.append(parts)
    converted = uconv(pieces, version) if pieces else []
    return ["".join(p if isinstance(p, str) else converted[p] for p in parts) for parts in layout]


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


def is_pre_form(row):
    """A pre-base sign's form before a given cluster (key: the sign, then the
    cluster): the glyph HarfBuzz puts first for the cluster with the sign."""
    key = row.key
    return len(key) > 1 and key[0] in PRE_BASE_SIGNS and isinstance(key[1], int) and \
        0xB3 <= key[1] <= 0xD8


def row_context(row, base, token_text=TOKEN_TEXT):
    """ISCII text to shape for a row on the given base letter, the Unicode
    text of a token it holds, whether a ZWJ follows, and whether the glyph
    sits on the base (marks and signs) that is not part of the glyph."""
    key = row.key
    reph = REPH in key
    token = "".join(token_text[t] for t in key if t in token_text)
    data = bytes(t for t in key if isinstance(t, int))
    first = data[0] if data else 0
    if is_pre_form(row):
        return data[1:] + data[:1], token, False, False
    on_base = reph or bool(token) or first in (0xE8, 0xE9) or 0xDA <= first <= 0xE7 or (
        0xA1 <= first <= 0xA3 and data != b"\xa1\xe9")
    if on_base:
        return (b"\xcf\xe8" if reph else b"") + base + data, token, False, True
    half = len(data) >= 2 and data[-1] == 0xE8
    return data, token, half, False


def shaped_rows(rows, config, base):
    """HarfBuzz runs of every row drawn on one base letter (None: on the
    dotted circle, for marks that join every letter, as the Devanagari nukta
    does in the source font)."""
    token_text = config.get("tokens", TOKEN_TEXT)
    contexts = [row_context(row, base or b"", token_text) for row in rows]
    unicode_texts = iscii_to_unicode([c[0] for c in contexts], config["version"],
                                     config["letters"])
    # A right part of a split sign is the row of its sign's byte alone; in
    # other rows the byte is the whole sign.
    parts = config.get("parts", {})
    base_text = iscii_to_unicode([base], config["version"], config["letters"])[0] if base else ""
    for n, row in enumerate(rows):
        if len(row.key) == 1 and row.key[0] in parts:
            unicode_texts[n] = base_text + parts[row.key[0]]
    if base is None:
        unicode_texts = [DOTTED_CIRCLE + u for u in unicode_texts]
    texts = [u + token + (ZWJ if half else "")
             for u, (_, token, half, _) in zip(unicode_texts, contexts)]
    return texts, shape(config["source_path"], texts), [c[3] for c in contexts], \
        [c[2] for c in contexts]


def base_glyph(config, base):
    if base is None:
        return shape(config["source_path"], [DOTTED_CIRCLE])[0][0][0]
    text = iscii_to_unicode([base], config["version"], config["letters"])[0]
    return shape(config["source_path"], [text])[0][0][0]


def script_outlines(rows, source, config):
    """Outline of each row: the glyphs HarfBuzz gives the row's text, at its
    positions; a mark or sign without the base letter it was shaped on (the
    first base of the script on which the letter's glyph stays separate)."""
    token_base = config.get("token_base")
    bases = config["bases"] + [None] + ([token_base] if token_base else [])
    shaped = [(base, base_glyph(config, base), shaped_rows(rows, config, base))
              for base in bases]
    outlines = {}
    headless = [row for row in rows if HEADLESS in row.key]
    if headless:
        outlines.update(headless_outlines(headless, source, config))
    placed = [row for row in rows if row.key[0] == PLACED]
    if placed:
        outlines.update(placed_outlines(placed, rows, source, config))
    for index, row in enumerate(rows):
        if HEADLESS in row.key or row.key[0] == PLACED:
            continue
        if is_form_after_sign(row):
            outlines[row.key_text()] = form_after_sign_outline(row, source, config)
            continue
        if is_sign_after_form(row):
            outlines[row.key_text()] = sign_after_form_outline(row, source, config)
            continue
        if BASE_FORM in row.key:
            outlines[row.key_text()] = base_form_outline(row, source, config)
            continue
        if config.get("vattu") and row.key == [0xE8, 0xCF]:
            outlines[row.key_text()] = vattu_outline(source, config)
            continue
        # A row with a token of the script's own is shaped on its token base.
        order = shaped[-1:] if token_base and any(t in config["tokens"] for t in row.key) \
            else shaped[:len(config["bases"]) + 1]
        for base, base_name, (texts, runs, on_bases, halves) in order:
            on_base, half = on_bases[index], halves[index]
            names = [g[0] for g in runs[index]]
            if not on_base or any(is_base(name, base_name) for name in names):
                break
        outlines[row.key_text()] = run_outline(row, source, runs[index], texts[index], on_base,
                                               half, base_name)
    return outlines


def is_form_after_sign(row):
    """A below-base form as drawn after a consonant with a sign (key sign +
    halant + consonant: Telugu's vattu under a consonant + aa)."""
    key = row.key
    return len(key) == 3 and isinstance(key[0], int) and 0xDA <= key[0] <= 0xE7 and \
        key[1] == 0xE8 and isinstance(key[2], int) and 0xB3 <= key[2] <= 0xD8


def is_sign_after_form(row):
    """A vowel sign as drawn after a below-base form (key halant + sign:
    Kannada's vocalic R and ai length mark, lower after a subscript)."""
    key = row.key
    return len(key) == 2 and key[0] == 0xE8 and isinstance(key[1], int) and \
        0xDA <= key[1] <= 0xE7


def sign_after_form_outline(row, source, config):
    """The glyphs the source draws for the sign after the first base letter
    with KA below, placed from the end of that letter and subscript as
    drawn without the sign (where the adapters' glyphs end)."""
    below = config["bases"][0] + b"\xe8\xb3"
    texts = iscii_to_unicode([below, below + bytes([row.key[1]])], config["version"],
                             config["letters"])
    alone, joined = shape(config["source_path"], texts)
    origin = sum(g[3] for g in alone)
    pieces, pen = [], 0
    for n, (name, dx, dy, ax) in enumerate(joined):
        if n >= len(alone):
            pieces.append((name, pen + dx - origin, dy))
        pen += ax
    if len(joined) <= len(alone):
        raise SystemExit("line %d: %r draws no sign of its own" % (row.line_no, texts[1]))
    return Outline(source, pieces, max(pen - origin, 0))


def form_after_sign_outline(row, source, config):
    """The below-base form the source puts under the first base letter with
    the sign, placed from the end of that glyph."""
    sign, consonant = row.key[0], row.key[2]
    base = config["bases"][0]
    texts = iscii_to_unicode([base + bytes([sign]), base + bytes([0xE8, consonant, sign])],
                             config["version"], config["letters"])
    alone, joined = shape(config["source_path"], texts)
    names = {g[0] for g in alone}
    origin = sum(g[3] for g in alone)
    pieces, pen = [], 0
    for name, dx, dy, ax in joined:
        if name not in names:
            pieces.append((name, pen + dx - origin, dy))
        pen += ax
    if not pieces:
        raise SystemExit("line %d: %r draws no form below" % (row.line_no, texts[1]))
    return Outline(source, pieces, 0)


def base_form_outline(row, source, config):
    """A consonant's form before a subjoined consonant (key C+B): the glyph
    the source draws for C before a subjoined YA (or BA, LA, NA where C + YA
    is a ligature), its advance halfway between that form's and the whole
    consonant's: the forms placed from the end of C (rows P+C+mark) and the
    glyph after the cluster each stand at most half the difference off."""
    if len(row.key) != 2 or row.key[1] != BASE_FORM or not 0xB3 <= row.key[0] <= 0xD8:
        raise SystemExit("line %d: a base form's key is a consonant + B" % row.line_no)
    consonant = bytes(row.key[:1])
    texts = iscii_to_unicode([consonant] + [consonant + b"\xe8" + bytes([c])
                                            for c in BASE_FORM_AFTER],
                             config["version"], config["letters"])
    runs = shape(config["source_path"], texts)
    alone = runs[0]
    for joined in runs[1:]:
        if len(alone) == 1 and joined[0][0] != alone[0][0] and is_base(joined[0][0], alone[0][0]):
            return Outline(source, [(joined[0][0], 0, 0)], (joined[0][3] + alone[0][3]) // 2)
    raise SystemExit("line %d: the source has no form of %s before a subjoined form"
                     % (row.line_no, row.note))


def headless_outlines(rows, source, config):
    """Outlines of the rows with H: a consonant's headless body (key C+H),
    with the full consonant's advance; a sign as drawn on a body (key
    H+C+S), placed from the end of the full consonant, its advance what the
    source's glyph for both adds to the consonant's; what a sign adds to
    the glyph of another (key H+C+S1+S2), placed from the end of that
    glyph; and the place most bodies share (key H+S)."""
    # Every consonant the script's ISCII has (the generic place is the one
    # most of them share), and the units of the rows.
    units = set()
    for c in range(0xB3, 0xD9):
        if subprocess.run(["uconv", "-f", "ISCII,version=%d" % config["version"], "-t", "UTF-8"],
                          input=bytes([c]), capture_output=True).stdout.strip():
            units.add(bytes([c]))
    head_signs = HEAD_SIGNS[config["name"]]
    for row in rows:
        data = bytes(t for t in row.key if isinstance(t, int))
        units.add(data[:-len(head_key_signs(row))] if row.key[0] == HEADLESS else data)
    # The signs of keys H+C+S1+S2 are shaped on every consonant too.
    more = sorted({s for row in rows if row.key[0] == HEADLESS for s in head_key_signs(row)
                   if 0xDA <= s <= 0xE8} - set(head_signs))
    unit_list = sorted(units)
    sign_list = [bytes([s]) for s in list(head_signs) + more]
    texts = iscii_to_unicode(unit_list + sign_list, config["version"], config["letters"])
    consonants = {u: t for u, t in zip(unit_list, texts) if t}
    sign_texts = {s[0]: t for s, t in zip(sign_list, texts[len(unit_list):])}
    bodies = Bodies(source, config["source_path"], consonants,
                    {s: sign_texts[s] for s in head_signs}, {s: sign_texts[s] for s in more})
    outlines = {}
    for row in rows:
        data = bytes(t for t in row.key if isinstance(t, int))
        if row.key[0] != HEADLESS:
            if data not in bodies.body:
                raise SystemExit("line %d: the source has no headless %s" % (row.line_no,
                                                                            row.note))
            outlines[row.key_text()] = Outline(source, [(bodies.body[data], 0, 0)] +
                                               list(bodies.kept.get(data, ())),
                                               bodies.advance[data])
            continue
        signs = head_key_signs(row)
        if len(data) == 1:
            placement = bodies.generic(data[0])
        elif len(signs) == 2:
            placement = bodies.beyond(data[:-2], signs[0], signs[1])
        else:
            placement = bodies.parts.get((data[:-1], data[-1]))
        if placement is None:
            raise SystemExit("line %d: the source draws no %s" % (row.line_no, row.note))
        pieces, advance = placement
        outlines[row.key_text()] = Outline(source, list(pieces), max(advance, 0))
    return outlines


def split_placed(row, keys):
    """(glyph key, mark key) of a row P + glyph + mark: the longest glyph
    that is a key of the table, after it a mark that is one too (a sign,
    modifier, virama, subjoined form or the reph: no consonant first). A
    subjoined form may have no row of its own: the font then draws it only
    so placed (Telugu's SSA in KSSA)."""
    rest = tuple(row.key[1:])
    for cut in range(len(rest) - 1, 0, -1):
        mark = rest[cut:]
        subjoined = len(mark) == 2 and mark[0] == 0xE8 and isinstance(mark[1], int) and \
            0xB3 <= mark[1] <= 0xD8
        if rest[:cut] in keys and (mark in keys or subjoined) and \
                not (isinstance(mark[0], int) and 0xB3 <= mark[0] <= 0xD8):
            return rest[:cut], mark
    raise SystemExit("line %d: %s is no glyph of the table + a mark of it"
                     % (row.line_no, row.key_text()))


def placed_outlines(rows, all_rows, source, config):
    """Outlines of the rows P + glyph + mark: the source's glyphs for the
    mark as it shapes them after the glyph's text, placed from the end of
    the glyph's run; a form the source takes for the glyph before the mark
    (".base") is left out: the adapters draw the glyph as it is. Where the
    source joins the mark to the glyph in a composite that holds the glyph
    at its origin (Kannada's KSSA: KA and the SSA below it), the mark is the
    composite's other pieces."""
    keys = {tuple(r.key) for r in all_rows if r.key[0] != PLACED}
    texts = []
    for row in rows:
        glyph, mark = split_placed(row, keys)
        if any(not isinstance(t, int) for t in glyph):
            raise SystemExit("line %d: a placed mark's glyph has no tokens" % row.line_no)
        data = bytes(glyph)
        texts.append(data)
        texts.append((b"\xcf\xe8" if REPH in mark else b"") + data +
                     bytes(t for t in mark if isinstance(t, int)))
    runs = shape(config["source_path"], iscii_to_unicode(texts, config["version"],
                                                         config["letters"]))
    outlines = {}
    for n, row in enumerate(rows):
        alone, run = runs[2 * n], runs[2 * n + 1]
        names = [g[0] for g in alone]
        end = sum(g[3] for g in alone)
        pieces, pen, found = [], 0, []
        for name, dx, dy, ax in run:
            same = [b for b in names if is_base(name, b)]
            comps = components(source, name) or []
            held = [b for b in names if (b, 0, 0) in comps] if len(names) == 1 else []
            # Or the composite holds every piece of the glyph's own composite
            # where it has them (Telugu's KSSA: KA's body and head stroke).
            own = components(source, names[0]) if len(names) == 1 and not held else None
            if own and len(comps) > len(own) and all(piece in comps for piece in own):
                held, rest = names, [piece for piece in comps if piece not in own]
            else:
                rest = [piece for piece in comps if held and piece != (held[0], 0, 0)]
            if same:
                found += same
            elif held:
                found += held
                pieces += [(c, pen + dx + x - end, dy + y) for c, x, y in rest]
            elif name not in EMPTY_GLYPHS:
                pieces.append((name, pen + dx - end, dy))
            pen += ax
        if sorted(found) != sorted(names) or not pieces:
            raise SystemExit("line %d: the source joins %s to its glyph: %s"
                             % (row.line_no, row.key_text(), [g[0] for g in run]))
        outlines[row.key_text()] = Outline(source, pieces, max(pen - end, 0))
    return outlines


def same_place(a, b):
    """Whether a placed mark's glyph may serve for another place of it."""
    return len(a.pieces) == len(b.pieces) and abs(a.advance - b.advance) <= PLACED_SAME and all(
        na == nb and abs(xa - xb) <= PLACED_SAME and abs(ya - yb) <= PLACED_SAME
        for (na, xa, ya), (nb, xb, yb) in zip(a.pieces, b.pieces))


def head_key_signs(row):
    """The signs that end a key with H: one (a sign on a body), or two
    (what the second sign adds to the glyph of the first)."""
    data = bytes(t for t in row.key if isinstance(t, int))
    if len(data) >= 3 and all(0xDA <= b <= 0xE8 for b in data[-2:]):
        return data[-2:]
    return data[-1:]


def is_base(name, base_name):
    """The base letter's glyph, also in a form the font takes before a
    subjoined consonant (Noto Sans Oriya's "uni0B28.base")."""
    return name == base_name or name.startswith(base_name + ".")


def run_outline(row, source, run, text, on_base, half, base_name):
    pen_x = 0
    pieces = []
    origin = None
    advance = 0
    skipped_base = False
    if is_pre_form(row):
        run = run[:1]
    for name, dx, dy, ax in run:
        use = name not in EMPTY_GLYPHS
        if on_base and not skipped_base and is_base(name, base_name):
            skipped_base = True
            use = False
        elif name.startswith("uni25CC"):
            use = False  # HarfBuzz's dotted circle for a sign with no letter
        if use:
            if origin is None:
                origin = pen_x
            pieces.append((name, pen_x - origin + dx, dy))
            advance = pen_x + ax - origin
        pen_x += ax
    if not pieces:
        raise SystemExit("line %d: %r shapes to no glyph (%s)" % (row.line_no, text, run))
    if on_base and not skipped_base:
        print("fontgen: line %d (%s) joins every base letter: %s"
              % (row.line_no, row.note, [p[0] for p in pieces]), file=sys.stderr)
    if not on_base and len(pieces) > 1 and not half and len(row.key) > 1 and \
            any(isinstance(t, int) and 0xB3 <= t <= 0xD8 for t in row.key[1:]):
        print("fontgen: line %d (%s) is no single glyph in the source: %s"
              % (row.line_no, row.note, [p[0] for p in pieces]), file=sys.stderr)
    return Outline(source, pieces, max(advance, 0))


def vattu_outline(source, config):
    """The rakar sign alone, under the stem of the glyph before it: its
    centre under the centre of the sign U on NA."""
    u_run = shape(config["source_path"], ["\u0928\u0941"])[0]
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


def same_outline(a, b):
    return a.pieces == b.pieces and round(a.advance) == round(b.advance)


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


def glyph_rows(rows, columns):
    """The rows whose outlines the fonts need: all but those drawn in every
    column as a sequence of other rows' glyphs ("=XX+YY"), or as the glyph
    of an earlier row of a sign on a body that shares its code."""
    held = {column: set() for column in columns}
    needed = []
    for row in rows:
        need = False
        for column in columns:
            code = row.codes[column]
            if code is None or column in row.then:
                continue
            if row.key[0] == HEADLESS and column not in row.shared and code in held[column]:
                continue
            need = True
            held[column].add(code)
        if need:
            needed.append(row)
    return needed


def make_script(name, table, out_dir):
    config = dict(SCRIPTS[name], name=name)
    config["source_path"] = os.path.join(NOTO_DIR, config["source"])
    rows = read_table(table, config["columns"])
    source = TTFont(config["source_path"])
    latin = TTFont(LATIN_SOURCE)
    outlines = script_outlines(glyph_rows(rows, config["columns"]), source, config)
    vertical = vertical_of(source, latin)
    for family, column, latin_codes in config["fonts"]:
        slots = latin_slots(latin, latin_codes)
        for row in rows:
            code = row.codes[column]
            if code is None or column in row.then:
                continue
            # A code several signs on bodies share takes its first row's glyph;
            # so does a code of several places of a mark, near enough to it.
            sharing = row.key[0] in (HEADLESS, PLACED)
            if column not in row.shared and (code not in slots or not sharing):
                slots[code] = outlines[row.key_text()]
            elif column not in row.shared and row.key[0] == PLACED:
                if not same_place(slots[code], outlines[row.key_text()]):
                    raise SystemExit("line %d: %s is placed too far from the glyph of code %02X"
                                     % (row.line_no, row.key_text(), code))
            elif column not in row.shared:
                continue
            elif not same_outline(slots[code], outlines[row.key_text()]):
                raise SystemExit("line %d: %s shares code %02X, whose glyph differs from its own"
                                 % (row.line_no, row.key_text(), code))
        build_font(os.path.join(out_dir, family + ".ttf"), family, slots, vertical)
    # English-mode companions: plain Latin of code page 1252.
    latin_all = latin_slots(latin, [c for c in range(0x21, 0x100) if c not in UNUSABLE_CODES])
    for family in config["english"]:
        build_font(os.path.join(out_dir, family + ".ttf"), family, latin_all, vertical)


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
    if len(sys.argv) != 4 or sys.argv[1] not in list(SCRIPTS) + ["roman"]:
        raise SystemExit(__doc__)
    os.makedirs(sys.argv[3], exist_ok=True)
    if sys.argv[1] == "roman":
        make_roman(sys.argv[2], sys.argv[3])
    else:
        make_script(sys.argv[1], sys.argv[2], sys.argv[3])


if __name__ == "__main__":
    main()
