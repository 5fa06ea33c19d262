"""Calibration of the rendering check: wrong outputs made from real words
must fail, the standard alternatives of a text must pass.

A mutant is our output for a word typed wrongly (a sign swapped, left out
or added, a consonant changed, a virama left out) or our output with one
glyph wrong (a part of a split vowel left out, a below-base form drawn as the
full consonant, a chillu for the consonant with virama). Each is compared
with the references of the word as it should be.
"""
import random

SIGNS = range(0xDA, 0xE8)
LONG_SHORT = {0xDB: 0xDC, 0xDD: 0xDE, 0xE0: 0xE1, 0xE4: 0xE5, 0xA6: 0xA7, 0xA8: 0xA9,
              0xAB: 0xAC, 0xAF: 0xB0}
LONG_SHORT.update({v: k for k, v in list(LONG_SHORT.items())})
HALANT = 0xE8
ALTERNATIVE_WORDS = 150


def is_consonant(b):
    """b: an ISCII byte, or a key token of the glyph table (the reph)."""
    return isinstance(b, int) and 0xB3 <= b <= 0xD8


def swap_length(data, rng):
    spots = [n for n, b in enumerate(data) if b in LONG_SHORT]
    if not spots:
        return None
    n = rng.choice(spots)
    return data[:n] + bytes([LONG_SHORT[data[n]]]) + data[n + 1:]


def drop_sign(data, rng):
    spots = [n for n, b in enumerate(data) if b in SIGNS]
    if not spots:
        return None
    n = rng.choice(spots)
    return data[:n] + data[n + 1:]


def add_sign(data, rng):
    spots = [n + 1 for n, b in enumerate(data) if is_consonant(b) and
             (n + 1 == len(data) or is_consonant(data[n + 1]) or data[n + 1] < 0xA4)]
    if not spots:
        return None
    n = rng.choice(spots)
    return data[:n] + bytes([rng.choice((0xDA, 0xDC, 0xDE))]) + data[n:]


def drop_modifier(data, rng):
    spots = [n for n, b in enumerate(data) if b in (0xA2, 0xA3)]
    if not spots:
        return None
    n = rng.choice(spots)
    return data[:n] + data[n + 1:]


def change_consonant(data, rng, consonants):
    spots = [n for n, b in enumerate(data) if is_consonant(b)]
    if not spots:
        return None
    n = rng.choice(spots)
    other = rng.choice([c for c in consonants if c != data[n]])
    return data[:n] + bytes([other]) + data[n + 1:]


def drop_virama(data, rng):
    spots = [n for n in range(1, len(data) - 1) if data[n] == HALANT and
             is_consonant(data[n - 1]) and is_consonant(data[n + 1])]
    if not spots:
        return None
    n = rng.choice(spots)
    return data[:n] + data[n + 1:]


TYPED = [("long/short vowel swapped", swap_length), ("vowel sign left out", drop_sign),
         ("vowel sign added", add_sign), ("anusvara/visarga left out", drop_modifier),
         ("consonant changed", change_consonant), ("virama left out", drop_virama)]


def glyph_mutants(checker, data, codes, rng):
    """(kind, codes) of the glyph-level mutants that apply to a word."""
    key_of, code_of = checker.key_of, checker.code_of
    out = []
    keys = [key_of.get(c) for c in codes]
    if any(b in (0xE4, 0xE5, 0xE6) for b in data):
        part_keys = ((0xE0,), (0xE1,), (0xDA,), (0xE6,))
        # A table that keys o's right part by its sign (Kannada) draws o and
        # oo with the uu sign and the length mark as parts of their own.
        if (0xE4,) in code_of:
            part_keys += ((0xE4,), (0xDC,))
        parts = [n for n, k in enumerate(keys) if k in part_keys]
        if parts:
            n = rng.choice(parts)
            out.append(("split vowel part left out", codes[:n] + codes[n + 1:]))
    below = [n for n, k in enumerate(keys) if k and len(k) == 2 and k[0] == HALANT and
             (k[1],) in code_of]
    if below:
        n = rng.choice(below)
        full = bytes([code_of[(keys[n][1],)]])
        out.append(("below-base form drawn full", codes[:n] + full + codes[n + 1:]))
    dead = [n for n, k in enumerate(keys) if k and len(k) == 2 and k[1] == HALANT and
            (k[0], HALANT, 0xE9) in code_of]
    if dead:
        n = rng.choice(dead)
        chillu = bytes([code_of[(keys[n][0], HALANT, 0xE9)]])
        out.append(("chillu for consonant + virama", codes[:n] + chillu + codes[n + 1:]))
    # A consonant and a separate virama glyph (Malayalam's chandrakkala).
    apart = [n for n in range(len(keys) - 1) if keys[n] and len(keys[n]) == 1 and
             keys[n + 1] == (HALANT,) and (keys[n][0], HALANT, 0xE9) in code_of]
    if apart and not dead:
        n = rng.choice(apart)
        chillu = bytes([code_of[(keys[n][0], HALANT, 0xE9)]])
        out.append(("chillu for consonant + virama", codes[:n] + chillu + codes[n + 2:]))
    return out


def explicit_halant(data):
    """The word typed with the explicit halant in every cluster."""
    out = bytearray()
    for n, b in enumerate(data):
        out.append(b)
        if b == HALANT and n + 1 < len(data) and is_consonant(data[n + 1]) and \
                (n == 0 or data[n - 1] != HALANT):
            out.append(HALANT)
    return bytes(out)


def calibrate(checker, results, max_stray, wanted):
    rng = random.Random(11)
    consonants = sorted(k[0] for k in checker.code_of if len(k) == 1 and is_consonant(k[0]))
    order = list(range(len(results)))
    rng.shuffle(order)
    mutants = []  # (kind, word, codes, refs)
    per_kind = {}
    limit = max(wanted // 6, 8)
    typed = []
    for n in order:
        word, data, codes, _, refs = results[n]
        for kind, fn in TYPED:
            wrong = fn(data, rng, consonants) if fn is change_consonant else fn(data, rng)
            if wrong is not None and per_kind.get(kind, 0) < limit:
                typed.append((kind, word, wrong, codes, refs))
                per_kind[kind] = per_kind.get(kind, 0) + 1
        for kind, wrong_codes in glyph_mutants(checker, data, codes, rng):
            if per_kind.get(kind, 0) < limit and wrong_codes != codes:
                mutants.append((kind, word, wrong_codes, refs))
                per_kind[kind] = per_kind.get(kind, 0) + 1
    converted = checker.convert([t[2] for t in typed])
    for (kind, word, _, codes, refs), wrong_codes in zip(typed, converted):
        if wrong_codes != codes:
            mutants.append((kind, word, wrong_codes, refs))
    table = {}
    for kind, word, wrong_codes, refs in mutants:
        s = checker.score(wrong_codes, refs)
        row = table.setdefault(kind, [0, 0, []])
        row[0 if s > max_stray else 1] += 1
        if s <= max_stray:
            row[2].append("%s(%d:%s)" % (word, s, wrong_codes.hex()))
    lines = ["", "calibration: mutants rejected / accepted (must be rejected)"]
    rejected = sum(r[0] for r in table.values())
    total = sum(r[0] + r[1] for r in table.values())
    for kind in sorted(table):
        r = table[kind]
        lines.append("  %-32s %3d rejected %3d accepted %s" % (kind, r[0], r[1],
                                                           " ".join(r[2][:5])))
    share = rejected / max(total, 1)
    lines.append("  all: %d of %d rejected (%.1f%%)" % (rejected, total, 100 * share))
    alt_lines, alt_ok = alternatives_check(checker, results, max_stray)
    return lines + alt_lines, share >= 0.95 and total >= 50 and alt_ok


def alternatives_check(checker, results, max_stray):
    """Our output for words typed with the explicit halant (the conjunct with
    a visible virama), where it differs from the normal output, must pass."""
    cases = [(r[0], explicit_halant(r[1]), r[2], r[4]) for r in results]
    # The words whose typing changes, at most ALTERNATIVE_WORDS of them.
    cases = [c for c, r in zip(cases, results) if c[1] != r[1]]
    cases = cases[:ALTERNATIVE_WORDS]
    outputs = checker.convert([c[1] for c in cases])
    accepted = refused = 0
    refused_words = []
    for (word, _, codes, refs), alt in zip(cases, outputs):
        if alt == codes:
            continue
        if checker.score(alt, refs) <= max_stray:
            accepted += 1
        else:
            refused += 1
            refused_words.append(word)
    lines = ["", "alternatives (explicit halant: conjuncts with a visible virama), must pass:",
             "  %d accepted %d refused %s" % (accepted, refused, " ".join(refused_words[:8]))]
    return lines, refused == 0
