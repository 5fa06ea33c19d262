#!/usr/bin/python3
"""Proposes a script's glyph table (modules/<script>/glyph_table.txt).

usage: propose_table.py SCRIPT WORDS > glyph_table.txt

The letters, signs, marks, digits and the script's own forms (reph,
subjoined and post-base forms, split vowel parts, khanda ta, tippi, addak)
come first, in both fonts; then the conjuncts and consonant + sign forms
that the source font draws as a form of its own (HarfBuzz gives no glyph of
the consonant alone for them), most frequent first in the word list WORDS
(one Unicode word a line), until the fonts are full. The table is then
the one source of the fonts and the adapters: this tool only writes its
first version; edit the table, not this output.
"""
import collections
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from glyph_table import UNUSABLE_CODES  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto/"
LETTER_NAMES = {
    0xA1: "candrabindu", 0xA2: "anusvara", 0xA3: "visarga", 0xA4: "vowel A", 0xA5: "vowel AA",
    0xA6: "vowel I", 0xA7: "vowel II", 0xA8: "vowel U", 0xA9: "vowel UU", 0xAA: "vowel Rvoc",
    0xAC: "vowel E", 0xAD: "vowel AI", 0xAE: "vowel Ecandra", 0xB0: "vowel O", 0xB1: "vowel AU",
    0xB2: "vowel Ocandra", 0xDA: "sign AA", 0xDB: "sign I", 0xDC: "sign II", 0xDD: "sign U",
    0xDE: "sign UU", 0xDF: "sign Rvoc", 0xE1: "sign E", 0xE2: "sign AI", 0xE3: "sign Ecandra",
    0xE5: "sign O", 0xE6: "sign AU", 0xE7: "sign Ocandra", 0xE8: "virama", 0xE9: "nukta",
    0xEA: "danda",
}
CONSONANTS = "KA KHA GA GHA NGA CA CHA JA JHA NYA TTA TTHA DDA DDHA NNA TA THA DA DHA NA NNNA " \
             "PA PHA BA BHA MA YA YYA RA RRA LA LLA LLLA VA SHA SSA SA HA".split()

# Per script: ICU version, source font, letters of the script's ISCII (ICU's
# and the module's own), rows of the script's own forms (key, note), the
# consonants it subjoins, signs that may form a glyph with their consonant,
# and whether its conjuncts are half forms (keys ending in halant + ZWJ).
PROFILES = {
    "bengali": dict(
        version=1, source="NotoSansBengali-Regular.ttf", extra_letters=[0xD4],
        own=[("BF+E9", "RRA (DDA + nukta)"), ("C0+E9", "RHA (DDHA + nukta)"),
             ("C2+E8+E9", "khanda ta (TA + soft halant)"), ("E6", "AU length mark (right part of sign AU)"),
             ("R", "reph"), ("EA+E9", "avagraha")],
        skip_signs=[0xE5], subjoined=[0xCD, 0xCA, 0xCF], sign_forms=[0xDD, 0xDE, 0xDF],
        half=False, columns=("BN", "BNB")),
    "oriya": dict(
        version=4, source="NotoSansOriya-Regular.ttf", extra_letters=[0xD4],
        own=[("BF+E9", "RRA (DDA + nukta)"), ("C0+E9", "RHA (DDHA + nukta)"),
             ("E6", "AU length mark (right part of sign AU)"),
             ("E2", "AI length mark (right part of sign AI)"), ("R", "reph"),
             ("EA+E9", "avagraha")],
        skip_signs=[0xE5], subjoined="all", sign_forms=[0xDD, 0xDE, 0xDF],
        half=False, columns=("OR", "ORB")),
    "gujarati": dict(
        version=3, source="NotoSansGujarati-Regular.ttf", extra_letters=[],
        own=[("R", "reph"), ("A1+E9", "om"), ("EA+E9", "avagraha")],
        skip_signs=[], subjoined=[0xCF], sign_forms=[0xDD, 0xDE, 0xDF],
        half=True, columns=("GJ", "GJB")),
    "gurmukhi": dict(
        version=2, source="NotoSansGurmukhi-Regular.ttf", extra_letters=[],
        own=[("B4+E9", "KHHA (nukta)"), ("B5+E9", "GHHA (nukta)"), ("BA+E9", "ZA (nukta)"),
             ("C9+E9", "FA (nukta)"), ("BF+E9", "RRA (DDA + nukta)"), ("D1+E9", "LLA (nukta)"),
             ("D7+E9", "SHA (SA + nukta)"), ("N", "tippi"), ("G", "addak")],
        skip_signs=[], subjoined=[0xCF, 0xD8, 0xD4], sign_forms=[],
        half=False, columns=("PN", "PNB")),
}


def uconv(texts, args):
    data = ("\n".join(texts) + "\n").encode("utf-8") if isinstance(texts[0], str) else \
        b"\n".join(texts) + b"\n"
    return subprocess.run(["uconv"] + args, input=data, capture_output=True).stdout


def to_unicode(keys, version):
    out = uconv([bytes(k) for k in keys], ["-f", "ISCII,version=%d" % version, "-t", "UTF-8",
                                          "--callback", "skip"])
    return out.decode("utf-8").split("\n")[:len(keys)]


def shape(font, texts):
    import json
    import tempfile
    with tempfile.NamedTemporaryFile("w", delete=False, encoding="utf-8") as f:
        f.write("\n".join(texts) + "\n")
    out = subprocess.run(["hb-shape", "--output-format=json", "--text-file=" + f.name, font],
                         capture_output=True, text=True).stdout
    os.unlink(f.name)
    return [[g["g"] for g in json.loads(l)] for l in out.splitlines() if l.strip()]


def letters_of(version, extra):
    """ISCII bytes that ICU gives a letter of the script, and the extras."""
    codes = [b for b in range(0xA1, 0xFB) if b not in (0xD9, 0xE8, 0xE9)]
    text = to_unicode([[b] for b in codes], version)
    return [b for b, t in zip(codes, text) if t.strip()] + list(extra)


def name_of(key):
    parts = []
    for t in key.split("+"):
        if t in ("R", "N", "G"):
            parts.append(t)
            continue
        b = int(t, 16)
        if 0xB3 <= b <= 0xD8:
            parts.append(CONSONANTS[b - 0xB3])
        elif 0xF1 <= b <= 0xFA:
            parts.append("digit %d" % (b - 0xF1))
        else:
            parts.append(LETTER_NAMES.get(b, t))
    return " + ".join(parts)


CLUSTER = re.compile(rb"(?:[\xb3-\xd8]\xe9?\xe8)*[\xb3-\xd8]\xe9?")


def word_counts(words, version):
    """Clusters (2 and 3 consonants) and cluster + sign pairs, counted."""
    iscii = uconv(words, ["-f", "UTF-8", "-t", "ISCII,version=%d" % version, "--callback",
                          "skip"]).split(b"\n")
    clusters, signs = collections.Counter(), collections.Counter()
    for text in iscii:
        text = text.replace(b"\xef" + bytes([0x42 + version]), b"")
        for m in CLUSTER.finditer(text):
            c = m.group(0)
            if c.startswith(b"\xcf\xe8") and len(c) > 2:
                c = c[2:]  # the reph is a glyph of its own
            units = c.split(b"\xe8")
            for n in (2, 3):
                for i in range(len(units) - n + 1):
                    clusters[b"\xe8".join(units[i:i + n])] += 1
            nxt = text[m.end():m.end() + 1]
            if nxt and 0xDA <= nxt[0] <= 0xE7:
                signs[(units[-1], nxt[0])] += 1
                if len(units) >= 2:
                    signs[(b"\xe8".join(units[-2:]), nxt[0])] += 1
    return clusters, signs


def key_text(data):
    return "+".join("%02X" % b for b in data)


def main():
    script, words_path = sys.argv[1], sys.argv[2]
    p = PROFILES[script]
    font = NOTO + p["source"]
    words = [w.strip() for w in open(words_path, encoding="utf-8") if w.strip()]
    letters = letters_of(p["version"], p["extra_letters"])
    base = []  # (key, note)
    for b in sorted(set(letters)):
        if b in p["skip_signs"] or (0xEB <= b <= 0xF0):
            continue
        note = name_of("%02X" % b)
        base.append(("%02X" % b, note))
    base.append(("E8", "virama"))
    if script != "gujarati":
        base.append(("E9", "nukta"))
    base.append(("EA+EA", "double danda"))
    if 0xEA not in letters:
        base.append(("EA", "danda"))
    consonants = [b for b in letters if 0xB3 <= b <= 0xD8]
    subjoined = consonants if p["subjoined"] == "all" else p["subjoined"]
    for b in subjoined:
        base.append(("E8+%02X" % b, "subjoined " + CONSONANTS[b - 0xB3]))
    if p["half"]:
        for b in consonants:
            base.append(("%02X+E8" % b, "half " + CONSONANTS[b - 0xB3]))
    for key, note in p["own"]:
        base = [(k, n) for k, n in base if k != key]  # the script's own meaning wins
        base.append((key, note))
    # Forms of their own, by frequency.
    clusters, signs = word_counts(words, p["version"])
    candidates = []
    single = {}
    cons_unicode = dict(zip(consonants, to_unicode([[b] for b in consonants], p["version"])))
    cons_glyphs = dict(zip(consonants, shape(font, [cons_unicode[b] for b in consonants])))
    for c, n in clusters.most_common(600):
        if any(u[0] not in consonants for u in c.split(b"\xe8") if u):
            continue
        candidates.append((c, n))
    for (c, s), n in signs.most_common(300):
        if s in p["sign_forms"]:
            candidates.append((c + bytes([s]), n))
    texts = to_unicode([list(c) for c, _ in candidates], p["version"])
    runs = shape(font, texts)
    chosen = []
    for (c, n), glyphs in zip(candidates, runs):
        first = c[0]
        own = cons_glyphs.get(first, ["?"])[0]
        if own in glyphs:
            continue  # drawn from the consonant's own glyph and its marks
        chosen.append((key_text(c), "%s (%d)" % (name_of(key_text(c)), n)))
    keys = set(k for k, _ in base)
    extras = [(k, n) for k, n in chosen if k not in keys]
    rows = base + extras
    first_col = [c for c in range(0x41, 0x100) if c != 0x7F and c not in UNUSABLE_CODES]
    second_col = [c for c in range(0x80, 0x100) if c not in UNUSABLE_CODES]
    out = []
    for i, (key, note) in enumerate(rows):
        a = "%02X" % first_col[i] if i < len(first_col) else "-"
        b = "%02X" % second_col[i] if i < len(second_col) else "-"
        if a == "-" and b == "-":
            break
        out.append("%-14s %-3s %-3s # %s" % (key, a, b, note))
    print("\n".join(out))


if __name__ == "__main__":
    main()
