#!/usr/bin/python3
"""Proposes the glyph table of a script whose vowel signs join the first
consonant of a cluster (Telugu, Kannada): modules/<script>/glyph_table.txt.

usage: propose_vattu_table.py SCRIPT WORDS > glyph_table.txt

Both fonts first get the vowels, the signs' own glyphs, the marks, the
consonants and the below-base forms (key E8 + consonant). Then, most frequent
first in the word list WORDS (one Unicode word a line), the forms of a first
consonant with its sign: the headless body (key C+H) and the sign as drawn on
it (key H+C+S, one code for every body the sign sits on at the same place)
where the source font builds the form so, else the source font's glyph for
both (key C+S); until the fonts are full. This tool writes the table's first
version; the table is the one source of fonts and adapters afterwards.
"""
import collections
import os
import subprocess
import sys

from fontTools.ttLib import TTFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from glyph_table import UNUSABLE_CODES  # noqa: E402
from headless import HEAD_SIGNS, Bodies, shape_runs  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto/"
NAMES = {
    0xA2: "anusvara", 0xA3: "visarga", 0xA4: "vowel A", 0xA5: "vowel AA",
    0xA6: "vowel I", 0xA7: "vowel II", 0xA8: "vowel U", 0xA9: "vowel UU", 0xAA: "vowel vocalic R",
    0xAB: "vowel E", 0xAC: "vowel EE", 0xAD: "vowel AI", 0xAF: "vowel O", 0xB0: "vowel OO",
    0xB1: "vowel AU", 0xDA: "sign AA", 0xDB: "sign I", 0xDC: "sign II", 0xDD: "sign U",
    0xDE: "sign UU", 0xDF: "sign vocalic R", 0xE0: "sign E", 0xE1: "sign EE", 0xE2: "sign AI",
    0xE4: "sign O", 0xE5: "sign OO", 0xE6: "sign AU", 0xE8: "virama", 0xEA: "danda",
}
CONSONANTS = dict(zip(range(0xB3, 0xD9), (
    "KA KHA GA GHA NGA CA CHA JA JHA NYA TTA TTHA DDA DDHA NNA TA THA DA DHA NA NNNA PA PHA "
    "BA BHA MA YA YYA RA RRA LA LLA LLLA VA SHA SSA SA HA").split()))
SIGN_SHORT = {0xDA: "aa", 0xDB: "i", 0xDC: "ii", 0xDD: "u", 0xDE: "uu", 0xDF: "r", 0xE0: "e",
              0xE1: "ee", 0xE2: "ai", 0xE4: "o", 0xE5: "oo", 0xE6: "au", 0xE8: "virama"}
PROFILES = {
    "telugu": dict(version=6, source="NotoSansTelugu-Regular.ttf", columns=("TL", "TLB"),
                   conjuncts=[b"\xb3\xe8\xd6"], splits={}, reph=False),
    # Kannada's ii is its i form and the length mark; ee, ai, o, oo its e
    # form and the length mark, the ai length mark, the uu sign, both: the
    # table keys each right part by its sign's byte. RA first in a cluster
    # is the reph after it.
    "kannada": dict(version=7, source="NotoSansKannada-Regular.ttf", columns=("KN", "KNB"),
                    conjuncts=[b"\xb3\xe8\xd6", b"\xba\xe8\xbc"],
                    splits={0xDC: (0xDB, "\u0cd5"), 0xE1: (0xE0, "\u0cd5"),
                            0xE2: (0xE0, "\u0cd6"), 0xE4: (0xE0, "\u0cc2"),
                            0xE5: (0xE0, "\u0cc2\u0cd5")}, reph=True),
}
SINGLE_CODES = [c for c in list(range(0x41, 0x7F)) + list(range(0x80, 0x100))
                if c not in UNUSABLE_CODES]
BILINGUAL_CODES = [c for c in range(0x80, 0x100) if c not in UNUSABLE_CODES]


def uconv(texts, version):
    data = b"\n".join(texts) + b"\n"
    out = subprocess.run(["uconv", "-f", "ISCII,version=%d" % version, "-t", "UTF-8"],
                         input=data, capture_output=True, check=True).stdout.decode("utf-8")
    return out.split("\n")[:len(texts)]


def hexkey(data, head=False, sign=None, lead=False):
    parts = (["H"] if lead else []) + ["%02X" % b for b in data] + (["H"] if head else [])
    if sign is not None:
        parts.append("%02X" % sign)
    return "+".join(parts)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in PROFILES:
        raise SystemExit(__doc__)
    script, words_path = sys.argv[1], sys.argv[2]
    p = PROFILES[script]
    head_signs = HEAD_SIGNS[script]
    version = p["version"]
    font_path = NOTO + p["source"]
    letters = [b for b in list(NAMES) + list(CONSONANTS) if b != 0xEA]
    uni = {}
    for b in letters:
        out = subprocess.run(["uconv", "-f", "ISCII,version=%d" % version, "-t", "UTF-8"],
                             input=bytes([b]), capture_output=True)
        text = out.stdout.decode("utf-8")
        if out.returncode == 0 and text and text != "\u200d":
            uni[b] = text
    consonants = [b for b in CONSONANTS if b in uni]
    firsts = {bytes([b]): uni[b] for b in consonants}
    for c in p["conjuncts"]:
        firsts[c] = uconv([c], version)[0]
    rev_first = {t: k for k, t in firsts.items()}
    rev_sign = {uni[s]: s for s in SIGN_SHORT if s in uni}
    virama = uni[0xE8]

    # What the words use: first units with their sign, below-base consonants.
    use = collections.Counter()
    subjoined = collections.Counter()
    for line in open(words_path, encoding="utf-8"):
        w = line.strip()
        i = 0
        while i < len(w):
            unit = next((t for t in sorted(rev_first, key=len, reverse=True)
                         if w.startswith(t, i)), None)
            if unit is None:
                i += 1
                continue
            j = i + len(unit)
            if p["reph"] and unit == uni[0xCF] and j + 1 < len(w) and w[j] == virama and \
                    w[j + 1] in rev_first:
                i = j + 1  # the reph; the cluster starts after it
                continue
            while j + 1 < len(w) and w[j] == virama and w[j + 1] in rev_first:
                subjoined[rev_first[w[j + 1]]] += 1
                j += 2
            sign = rev_sign.get(w[j]) if j < len(w) else None
            if sign is not None:
                use[(rev_first[unit], sign)] += 1
                j += 1
            i = j

    font = TTFont(font_path)
    bodies = Bodies(font, font_path, {k: v for k, v in firsts.items()},
                    {s: uni[s] for s in head_signs if s in uni})
    # The pairs the source font draws as the unit's own glyphs and the
    # sign's: the reader draws them so without a glyph of their own.
    # A split sign (Kannada's ii, ee, ...) counts as its left part where the
    # source draws the consonant with it as with the left part (ke + length
    # mark), else as a form of its own (yo).
    def names(run):
        return [g[0] for g in run]
    splits = [(u, s) for u, s in use if s in p["splits"]]
    runs = shape_runs(font_path, [firsts[u] + uni[s] for u, s in splits] +
                      [firsts[u] + uni[p["splits"][s][0]] for u, s in splits])
    for n, (u, s) in enumerate(splits):
        if runs[n][0][0] == runs[len(splits) + n][0][0]:
            use[(u, p["splits"][s][0])] += use.pop((u, s))
    # The pairs the source font draws as the unit's own glyphs and the
    # sign's own: the reader draws them so without a glyph of their own.
    pairs = list(use)
    signs = sorted(set(s for _, s in pairs))
    runs = shape_runs(font_path, [firsts[u] for u, _ in pairs] +
                      [firsts[u] + uni[s] for u, s in pairs] +
                      ["\u25cc" + uni[s] for s in signs])
    own = {s: names(runs[2 * len(pairs) + n])[1:] for n, s in enumerate(signs)}
    shaped_alone = set()
    for n, (u, s) in enumerate(pairs):
        alone, joined = runs[n], runs[len(pairs) + n]
        if names(joined) == names(alone) + own[s]:
            shaped_alone.add((u, s))

    rows = []  # the core: (key, note)
    for b in [0xA2, 0xA3] + [v for v in range(0xA4, 0xB2) if v in uni]:
        rows.append((hexkey(bytes([b])), NAMES[b]))
    rows.append(("EA", "danda"))
    # A head sign's own glyph is the one it has where it sits on most bodies
    # (key H+S), which the reader takes for the sign alone.
    for s in SIGN_SHORT:
        if s in p["splits"]:
            rows.append((hexkey(bytes([s])), "right part of %s (after the consonant's %s form)"
                         % (NAMES[s], SIGN_SHORT[p["splits"][s][0]])))
        elif s not in head_signs or bodies.generic(s) is None:
            rows.append((hexkey(bytes([s])), NAMES[s] + " (its own glyph)"))
    for c in consonants:
        rows.append((hexkey(bytes([c])), CONSONANTS[c]))
    for c in p["conjuncts"]:
        rows.append((hexkey(c), "conjunct " + "".join(CONSONANTS[b].lower() for b in c
                                                       if b in CONSONANTS)))
    if p["reph"]:
        rows.append(("R", "reph: RA first in a cluster, after it"))
    for s in head_signs:
        if bodies.generic(s) is not None:
            rows.append(("H+%02X" % s, "%s where it sits on most headless consonants, and alone"
                         % NAMES[s]))
    base_count = len(rows)
    # Then, most used first: the below-base forms, the headless bodies, and
    # the forms of a first unit with its sign that neither a body with the
    # common sign nor the unit and the sign's own glyph draw right: the sign
    # on the body at a place of its own (one code for every body it sits on
    # alike), or the source font's glyph for both.
    ranked = []  # (count, key, note, owner key or None)
    for c, n in subjoined.items():
        if len(c) == 1:
            ranked.append((n, "E8+%02X" % c[0], "%s below a consonant (%d in the words)"
                           % (CONSONANTS[c[0]], n), None))
    head_use = collections.Counter()
    for (unit, sign), n in use.items():
        if sign in head_signs and unit in bodies.body:
            head_use[unit] += n
    for unit, n in head_use.items():
        name = "".join(CONSONANTS[b].lower() for b in unit if b in CONSONANTS)
        ranked.append((n, hexkey(unit, head=True), "%s without its head (%d signs on it)"
                       % (name, n), None))
    variants = collections.defaultdict(list)  # sign -> [(placement, owner key)]
    for (unit, sign), n in use.most_common():
        name = "".join(CONSONANTS[b].lower() for b in unit if b in CONSONANTS)
        short = SIGN_SHORT[sign]
        placement = bodies.parts.get((unit, sign))
        if placement is not None:
            generic = bodies.generic(sign)
            if generic is not None and bodies.same_glyph(generic, placement):
                continue
            key = hexkey(unit, sign=sign, lead=True)
            owner = next((k for known, k in variants[sign]
                          if bodies.same_glyph(known, placement)), None)
            if owner is None:
                variants[sign].append((placement, key))
            ranked.append((n, key, "sign %s on headless %s (%d in the words)"
                           % (short, name, n), owner))
        elif (unit, sign) not in shaped_alone:
            ranked.append((n, hexkey(unit, sign=sign), "%s + sign %s (%d in the words)"
                           % (name, short, n), None))
    ranked.sort(key=lambda r: -r[0])
    chosen = [(k, note, owner) for _, k, note, owner in ranked]
    # Codes: the core rows, then the ranked forms while codes remain.
    tables = {}
    for column, codes in zip(p["columns"], (SINGLE_CODES, BILINGUAL_CODES)):
        assigned, free = {}, list(codes)
        for key, _ in rows:
            if free:
                assigned[key] = free.pop(0)
        for key, _, owner in chosen:
            if owner is not None:
                if owner in assigned:
                    assigned[key] = assigned[owner]
                continue
            if free:
                assigned[key] = free.pop(0)
        # A sign on a body needs the body: drop signs whose body has no code.
        for key in list(assigned):
            if key.startswith("H+") and key.count("+") > 1:
                body = key[2:].rsplit("+", 1)[0] + "+H"
                if body not in assigned:
                    del assigned[key]
        tables[column] = assigned
    print("# %s glyph table: written first by tools/fontgen/propose_vattu_table.py" % script)
    print("# from %s; %d base rows, %d forms of a first consonant with its sign."
          % (os.path.basename(words_path), base_count, len(chosen)))
    print("#")
    print("# key                %s  %s" % p["columns"])
    for key, note in rows + [(k, n) for k, n, _ in chosen]:
        codes = ["%02X" % tables[c][key] if key in tables[c] else "-" for c in p["columns"]]
        if codes == ["-", "-"]:
            continue
        print("%-20s %-4s %-4s# %s" % (key, codes[0], codes[1], note))


if __name__ == "__main__":
    main()
