#!/usr/bin/python3
"""Proposes a Telugu glyph table's consonant + head sign rows by drawing.

usage: propose_sign_rows.py TABLE WORDS COLUMN=BUDGET ... > new_table.txt

Every way the source font's pieces allow to draw a consonant with a head
sign is drawn in a scratch font and scored against Noto's own shaping with
the rendering check's measure (tests/modules/script_render_check.py): the
source's glyph for both (key C+S); the headless body (C+H) and the sign at
any consonant's place (H+C'+S) or at the common one (H+S); the glyph of the
consonant with another sign and what this sign adds to it (H+C'+S1+S2:
nii as ni and the length mark), drawn as a sequence of rows ("=XX+YY").
Then, for each column with BUDGET codes, the glyphs that draw the most
frequent pairs of WORDS (aspell-te, one Unicode word a line) within
MAX_STRAY pixels are chosen, most words per code first, and the table's
rows C+H, C+S, H+C+S and H+C+S1+S2 are written anew with the codes those
rows held. The other rows stay as they are.
"""
import collections
import os
import subprocess
import sys

from fontTools.ttLib import TTFont
from PIL import ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "modules"))
import fontgen  # noqa: E402
import script_render_check as check  # noqa: E402
from glyph_table import HEADLESS, read_table  # noqa: E402
from headless import HEAD_SIGNS, Bodies  # noqa: E402
from script_words import to_unicode  # noqa: E402

SOURCE = "/usr/share/fonts/truetype/noto/NotoSansTelugu-Regular.ttf"
VERSION = 6
COLUMNS = ["TL", "TLB"]
MAX_STRAY = 4  # pixels at 64 px: half the check's limit, for the word around
SCRATCH = "/tmp/propose_sign_rows.ttf"
SHORT = {0xDB: "i", 0xDC: "ii", 0xE0: "e", 0xE1: "ee", 0xE2: "ai", 0xE4: "o", 0xE5: "oo",
         0xE6: "au", 0xE8: "virama"}
NAMES = dict(zip(range(0xB3, 0xD9), (
    "ka kha ga gha nga ca cha ja jha nya tta ttha dda ddha nna ta tha da dha na nnna pa pha "
    "ba bha ma ya yya ra rra la lla llla va sha ssa sa ha").split()))


def pair_counts(words_path):
    """(first consonant of a cluster, its sign) -> count in the words."""
    words = [w.strip() for w in open(words_path, encoding="utf-8") if w.strip()]
    data = subprocess.run(["uconv", "-f", "UTF-8", "-t", "ISCII,version=%d" % VERSION,
                           "--callback", "skip"], input="\n".join(words).encode(),
                          capture_output=True, check=True).stdout
    counts = collections.Counter()
    for word in data.replace(b"\xef", b"").split(b"\n"):
        i = 0
        while i < len(word):
            if not 0xB3 <= word[i] <= 0xD8:
                i += 1
                continue
            first, i = word[i], i + 1
            while i + 1 < len(word) and word[i] == 0xE8 and 0xB3 <= word[i + 1] <= 0xD8:
                i += 2
            if i < len(word) and 0xDA <= word[i] <= 0xE8:
                counts[(first, word[i])] += 1
                i += 1
    return counts


def candidate_glyphs(font, consonants, signs):
    """Every glyph a pair may be drawn with: name tuple -> fontgen Outline."""
    texts = to_unicode([bytes([c]) for c in consonants] + [bytes([s]) for s in signs], VERSION)
    ctext, stext = dict(zip(consonants, texts)), dict(zip(signs, texts[len(consonants):]))
    bodies = Bodies(font, SOURCE, {bytes([c]): ctext[c] for c in consonants}, stext)
    glyphs = {}
    for unit, body in bodies.body.items():
        glyphs[("body", unit[0])] = fontgen.Outline(font, [(body, 0, 0)], bodies.advance[unit])
        for sign in signs:
            pieces, advance = bodies.pieces(bodies.shaped[(unit, sign)])
            glyphs[("whole", unit[0], sign)] = fontgen.Outline(font, pieces, advance)
            if (unit, sign) in bodies.parts:
                pieces, advance = bodies.parts[(unit, sign)]
                glyphs[("place", unit[0], sign)] = fontgen.Outline(font, list(pieces),
                                                                   max(advance, 0))
            for first in signs:
                extra = bodies.beyond(unit, first, sign) if first != sign else None
                if extra:
                    glyphs[("beyond", unit[0], first, sign)] = fontgen.Outline(
                        font, list(extra[0]), max(extra[1], 0))
    for sign in signs:
        placement = bodies.generic(sign)
        if placement:
            glyphs[("generic", sign)] = fontgen.Outline(font, list(placement[0]),
                                                        max(placement[1], 0))
    return glyphs, ctext, stext


def drawings(glyphs, c, sign, signs):
    """The glyph sequences that may draw consonant c with sign."""
    out = [(("whole", c, sign),)]
    out += [(("body", c), g) for g in glyphs if g[0] == "place" and g[2] == sign]
    if ("generic", sign) in glyphs:
        out.append((("body", c), ("generic", sign)))
    for first in signs:
        starts = [(("whole", c, first),)]
        if ("place", c, first) in glyphs:
            starts.append((("body", c), ("place", c, first)))
        elif ("generic", first) in glyphs:
            starts.append((("body", c), ("generic", first)))
        for g in glyphs:
            if g[0] == "beyond" and g[2] == first and g[3] == sign:
                out += [start + (g,) for start in starts]
    return out


def score_pairs(glyphs, ctext, stext, signs):
    """(c, sign) -> [(drawing, its stray pixels)] for every consonant with a body."""
    names = sorted(glyphs, key=str)
    point = {g: 0xE000 + n for n, g in enumerate(names)}
    fontgen.cp1252_char = chr  # scratch codes are private-use characters
    fontgen.build_font(SCRATCH, "Scratch", {point[g]: glyphs[g] for g in names},
                       fontgen.vertical_of(TTFont(SOURCE)))
    noto = ImageFont.truetype(SOURCE, check.SIZE, layout_engine=ImageFont.Layout.RAQM)
    ours = ImageFont.truetype(SCRATCH, check.SIZE, layout_engine=ImageFont.Layout.BASIC)
    scores = {}
    for c in ctext:
        if ("body", c) not in glyphs:
            continue
        for sign in signs:
            ref = check.render(noto, ctext[c] + stext[sign])
            scores[(c, sign)] = []
            for drawing in drawings(glyphs, c, sign, signs):
                pic = check.render(ours, "".join(chr(point[g]) for g in drawing))
                stray = max(check.stray_ink(pic, ref), check.stray_ink(ref, pic))
                scores[(c, sign)].append((drawing, stray))
    return scores


def choose(scores, counts, budget):
    """Glyphs for budget codes, most pair counts per code first: the chosen
    glyphs and each pair's drawing."""
    good = {p: [frozenset(g for g in d if g[0] != "generic") for d, s in ds if s <= MAX_STRAY]
            for p, ds in scores.items() if counts.get(p)}
    chosen, drawn = set(), {}
    while len(chosen) < budget:
        best = None
        options = {frozenset(d - chosen) for p, ds in good.items() if p not in drawn for d in ds}
        for more in options:
            if not more or len(chosen) + len(more) > budget:
                continue
            have = chosen | more
            gain = sum(counts[p] for p, ds in good.items()
                       if p not in drawn and any(d <= have for d in ds))
            if best is None or gain / len(more) > best[0]:
                best = (gain / len(more), more)
        if best is None or best[0] == 0:
            break
        chosen |= best[1]
        for p, ds in good.items():
            fits = [d for d in ds if d <= chosen]
            if p not in drawn and fits:
                drawn[p] = min(fits, key=len)
    return chosen, drawn


def row_key(g):
    return {"body": "%02X+H", "whole": "%02X+%02X", "place": "H+%02X+%02X",
            "beyond": "H+%02X+%02X+%02X"}[g[0]] % g[1:]


def row_note(g, counts):
    if g[0] == "body":
        n = sum(v for (c, s), v in counts.items() if c == g[1] and s in SHORT)
        return "%s without its head (%d in the words)" % (NAMES[g[1]], n)
    n = counts.get((g[1], g[-1]), 0)
    if g[0] == "whole":
        return "%s + sign %s (%d in the words)" % (NAMES[g[1]], SHORT[g[2]], n)
    if g[0] == "place":
        return "sign %s on headless %s (%d in the words)" % (SHORT[g[2]], NAMES[g[1]], n)
    return "what sign %s adds to %s + sign %s (%d in the words)" % (
        SHORT[g[3]], NAMES[g[1]], SHORT[g[2]], n)


def is_pair_row(row, signs):
    key = row.key
    if len(key) == 2 and isinstance(key[0], int) and 0xB3 <= key[0] <= 0xD8:
        return key[1] == HEADLESS or key[1] in signs
    return len(key) in (3, 4) and key[0] == HEADLESS and isinstance(key[1], int) and \
        0xB3 <= key[1] <= 0xD8


def write_table(table, rows, signs, choices, counts):
    """The table's lines with its pair rows written anew."""
    pair_lines = {r.line_no for r in rows if is_pair_row(r, signs)}
    lines = [line for n, line in enumerate(open(table, encoding="utf-8").read().split("\n"), 1)
             if n not in pair_lines]
    while lines and not lines[-1].strip():
        lines.pop()
    code_of, values = {}, collections.OrderedDict()
    generic = {c: {r.key[1]: r.codes[c] for r in rows if len(r.key) == 2 and r.key[0] == HEADLESS}
               for c in COLUMNS}
    for column, (chosen, drawn) in choices.items():
        held = {r.codes[column] for r in rows if not is_pair_row(r, signs)}
        free = sorted({r.codes[column] for r in rows if is_pair_row(r, signs) and
                       r.codes[column] is not None and column not in r.shared} - held)
        order = sorted(chosen, key=lambda g: (["body", "whole", "place", "beyond"].index(g[0]),
                                               str(g)))
        if len(order) > len(free):
            raise SystemExit("%s: %d glyphs for %d codes" % (column, len(order), len(free)))
        for g, code in zip(order, free):
            code_of[(column, g)] = code
            values.setdefault(row_key(g), [g, {}])[1][column] = "%02X" % code
        for (c, sign), drawing in sorted(drawn.items()):
            kinds = {g[0]: g for g in drawing}
            if "beyond" in kinds:
                extra = kinds["beyond"]
                if "whole" in kinds:
                    sequence = [code_of[(column, kinds["whole"])]]
                else:
                    place = kinds.get("place")
                    sequence = [code_of[(column, kinds["body"])],
                                code_of[(column, place)] if place else generic[column][extra[2]]]
                sequence.append(code_of[(column, extra)])
                entry = values.setdefault("%02X+%02X" % (c, sign), [("seq", c, sign), {}])
                entry[1][column] = "=" + "+".join("%02X" % x for x in sequence)
            elif "place" in kinds and kinds["place"][1] != c:
                entry = values.setdefault("H+%02X+%02X" % (c, sign), [("shared", c, sign), {}])
                entry[1][column] = "%02X" % code_of[(column, kinds["place"])]
    own = [(k, v) for k, v in values.items() if not any(x.startswith("=") for x in v[1].values())]
    after = [(k, v) for k, v in values.items() if (k, v) not in own]
    for key, (g, codes) in own + after:
        if g[0] == "seq":
            note = "%s + sign %s: glyphs of the table (%d in the words)" % (
                NAMES[g[1]], SHORT[g[2]], counts.get(g[1:], 0))
        elif g[0] == "shared":
            note = "sign %s on headless %s, where it sits alike (%d in the words)" % (
                SHORT[g[2]], NAMES[g[1]], counts.get(g[1:], 0))
        else:
            note = row_note(g, counts)
        lines.append("%-20s %s  # %s" % (key, " ".join("%-4s" % codes.get(c, "-")
                                                       for c in COLUMNS), note))
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) < 4:
        raise SystemExit(__doc__)
    table, words = sys.argv[1], sys.argv[2]
    budgets = dict((a.split("=")[0], int(a.split("=")[1])) for a in sys.argv[3:])
    signs = list(HEAD_SIGNS["telugu"])
    rows = read_table(table, COLUMNS)
    consonants = sorted({r.key[0] for r in rows if len(r.key) == 1 and isinstance(r.key[0], int)
                         and 0xB3 <= r.key[0] <= 0xD8})
    counts = pair_counts(words)
    glyphs, ctext, stext = candidate_glyphs(TTFont(SOURCE), consonants, signs)
    scores = score_pairs(glyphs, ctext, stext, signs)
    choices = {c: choose(scores, counts, budgets[c]) for c in COLUMNS}
    sys.stdout.write(write_table(table, rows, signs, choices, counts))


if __name__ == "__main__":
    main()
