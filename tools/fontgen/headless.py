"""Headless consonant bodies and the signs drawn on them (Telugu, Kannada).

Noto Sans Telugu draws a consonant with a vowel sign that replaces its head
stroke (i, ii, e, ee, ai, o, oo, au, the virama) as one glyph; many of those
glyphs are composites of the consonant's headless body at the origin and the
sign's glyph at an offset. The glyph tables of these scripts name the body
(key consonant + H) and the sign as it sits on that body (key H + consonant
+ sign); a sign at the same place on several bodies is one glyph, so one
font code serves them all, and the place most bodies share is the glyph of
key H + sign, which needs no row per consonant. Many glyphs hold another
sign's glyph whole (nii: the ni glyph and a length mark): key H + consonant
+ first sign + second sign is what the second adds to the first. The font generator and the table proposer both
read the composites through this module.
"""
import collections
import json
import os
import subprocess
import tempfile

# Signs that take the place of a consonant's head (ISCII), per script:
# Telugu's i, ii, e, ee, ai, o, oo, au and virama replace the talakattu;
# Kannada's aa, au and virama stand after the consonant without its crest
# (its i and e forms are glyphs of their own, and ii, ee, ai, o, oo are those
# forms with a right part).
HEAD_SIGNS = {
    "telugu": (0xDB, 0xDC, 0xE0, 0xE1, 0xE2, 0xE4, 0xE5, 0xE6, 0xE8),
    "kannada": (0xDA, 0xE6, 0xE8),
}
# Font units within which two placements of a sign count as the same glyph.
SAME_PLACE = 24


def shape_runs(font_path, texts):
    """HarfBuzz runs of each text: lists of (glyph name, dx, dy, advance)."""
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8") as f:
        f.write("\n".join(texts) + "\n")
        name = f.name
    try:
        out = subprocess.run(["hb-shape", "--output-format=json", "--text-file=" + name,
                              font_path], capture_output=True, check=True, text=True).stdout
    finally:
        os.unlink(name)
    return [[(g["g"], g["dx"], g["dy"], g["ax"]) for g in json.loads(line)]
            for line in out.splitlines() if line.strip()]


def components(font, name):
    """(component, x, y) of a composite glyph without transforms, else None."""
    glyph = font["glyf"][name]
    if not glyph.isComposite():
        return None
    out = []
    for c in glyph.components:
        transform = getattr(c, "transform", None)
        if transform is not None and any(abs(transform[i][j] - (i == j)) > 1e-6
                                         for i in range(2) for j in range(2)):
            return None
        out.append((c.glyphName, c.x, c.y))
    return out


class Bodies:
    """What the source font draws for consonants (Unicode texts) with the
    head signs: each consonant's headless body, and each (consonant, sign)
    drawn as that body and sign parts."""

    def __init__(self, font, font_path, consonants, signs, more_signs=None):
        """consonants: {name: Unicode text}; signs: {ISCII sign: Unicode text};
        more_signs: other signs shaped on the consonants for beyond()."""
        self.font = font
        names = list(consonants)
        texts = [consonants[c] for c in names]
        every = dict(more_signs or {})
        every.update(signs)
        pairs = [(c, s) for c in names for s in every]
        runs = shape_runs(font_path, texts + [consonants[c] + every[s] for c, s in pairs])
        self.advance = {c: sum(g[3] for g in run) for c, run in zip(names, runs)}
        shaped = dict(zip(pairs, runs[len(names):]))
        self.shaped = shaped
        self.body, self.parts = {}, {}
        # Pieces a conjunct's body keeps besides the glyph at the origin.
        self.kept = {}
        alone = dict(zip(names, runs))
        for c in names:
            # The body is the piece the consonant's sign glyphs share at the
            # origin (Noto puts it first in most of them, the sign first in
            # some: its oo on SA).
            firsts = collections.Counter(
                name for s in signs for name in self.bodies_in(alone[c], shaped[(c, s)]))
            if not firsts:
                continue
            body = firsts.most_common(1)[0][0]
            self.body[c] = body
            # A conjunct keeps the pieces that every sign glyph of it holds
            # at one place (Telugu's KSSA: the SSA below KA's body), else
            # they would go with each sign, or be lost where the sign sits
            # at its common place.
            kept = self.common_pieces(shaped, c, signs, body) if len(c) > 1 else ()
            if kept:
                self.kept[c] = kept
            for s in signs:
                split = self.split(alone[c], shaped[(c, s)], body, kept)
                if not split:
                    continue
                # The sign's parts relative to the end of the full consonant.
                adv = self.advance[c]
                pieces = tuple((n, x - adv, y) for n, x, y in split[0])
                self.parts[(c, s)] = (pieces, split[1] - adv)

    def bodies_in(self, alone, run):
        """The glyphs that may be the consonant's body in its run with a
        sign: a composite's pieces at the origin, or a first glyph that is
        not the consonant's own followed by the sign's glyphs."""
        if len(run) == 1:
            comps = components(self.font, run[0][0])
            if not comps or len(comps) < 2:
                return []
            return [name for name, x, y in comps if (x, y) == (0, 0)]
        if len(alone) != 1 or run[0][0] == alone[0][0]:
            return []
        return [run[0][0]]

    def common_pieces(self, shaped, unit, signs, body):
        """The pieces besides the body at the origin that all of the unit's
        sign glyphs that are composites hold at the same place."""
        common = None
        for s in signs:
            run = shaped[(unit, s)]
            comps = components(self.font, run[0][0]) if len(run) == 1 else None
            if not comps or (body, 0, 0) not in comps:
                continue
            pieces = set(comps) - {(body, 0, 0)}
            common = pieces if common is None else common & pieces
        return tuple(sorted(common or ()))

    def split(self, alone, run, body, kept=()):
        """([(part, x, y)], advance) of a consonant + sign the source draws
        as the body and parts: one composite glyph with the body at the
        origin (Telugu), or the body followed by the sign's glyphs
        (Kannada's crestless consonant); else None."""
        if body not in self.bodies_in(alone, run):
            return None
        if len(run) == 1:
            comps = components(self.font, run[0][0])
            at = [n for n, (name, x, y) in enumerate(comps) if name == body and (x, y) == (0, 0)]
            rest = comps[:at[0]] + comps[at[0] + 1:]
            if any(piece not in rest for piece in kept):
                return None  # the sign moves a piece the body keeps
            return [piece for piece in rest if piece not in kept], run[0][3]
        if kept:
            return None
        parts, pen = [], run[0][3]
        for name, dx, dy, ax in run[1:]:
            parts.append((name, pen + dx, dy))
            pen += ax
        return parts, pen

    def pieces(self, run):
        """The source glyphs a run draws, composites opened one level:
        [(name, x, y)], and the run's advance."""
        out, pen = [], 0
        for name, dx, dy, ax in run:
            comps = components(self.font, name)
            if comps:
                out += [(n, pen + dx + x, dy + y) for n, x, y in comps]
            else:
                out.append((name, pen + dx, dy))
            pen += ax
        return out, pen

    def beyond(self, unit, first, then):
        """What the source's glyph of unit + sign then draws besides all of
        its glyph of unit + sign first (Telugu's nii: the ni glyph and the
        length mark; kai: ke and the ai length mark), placed from the end of
        the first glyph, and the advance it adds; None when the second does
        not hold the first."""
        if (unit, first) not in self.shaped or (unit, then) not in self.shaped:
            return None
        held, held_advance = self.pieces(self.shaped[(unit, first)])
        rest, advance = self.pieces(self.shaped[(unit, then)])
        for piece in held:
            if piece not in rest:
                return None
            rest.remove(piece)
        if not rest:
            return None
        return tuple((n, x - held_advance, y) for n, x, y in rest), advance - held_advance

    def generic(self, sign):
        """The placement of the sign that most bodies share (the glyph of key
        H+S), or None: the first in byte order of the largest group."""
        groups = []  # [placement, count]
        for unit in sorted(self.body):
            placement = self.parts.get((unit, sign))
            if placement is None:
                continue
            for group in groups:
                if self.same_glyph(group[0], placement):
                    group[1] += 1
                    break
            else:
                groups.append([placement, 1])
        if not groups:
            return None
        return max(groups, key=lambda g: g[1])[0]

    def same_glyph(self, a, b):
        """Whether two placements (pieces, advance) may share one glyph."""
        (pa, aa), (pb, ab) = a, b
        return len(pa) == len(pb) and abs(aa - ab) <= SAME_PLACE and all(
            na == nb and abs(xa - xb) <= SAME_PLACE and ya == yb
            for (na, xa, ya), (nb, xb, yb) in zip(pa, pb))
