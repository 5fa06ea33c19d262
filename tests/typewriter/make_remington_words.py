#!/usr/bin/env python3
"""Writes remington_words.tsv: Hindi words of the aspell-hi word list (GPL,
Debian package aspell-hi), each with the English keys that type it on the
Inscript keyboard and on the Remington keyboard (data/layouts), in the order
a typist strikes them. ICU (uconv) gives each word's ISCII.

    make_remington_words.py COUNT > remington_words.tsv

The Remington keys follow the typewriter's order: the short-i sign first,
half letters before the letter they join (a half letter with the stem key
where the letter has no key of its own), vowel signs, the reph, then the
anusvara or candrabindu. Words with letters either keyboard cannot type are
left out."""
import random
import subprocess
import sys

US = {}  # character -> (scan, shifted)
for first, normal, upper in ((2, "1234567890-=", "!@#$%^&*()_+"),
                             (16, "qwertyuiop[]", "QWERTYUIOP{}"),
                             (30, "asdfghjkl;'`", "ASDFGHJKL:\"~"),
                             (43, "\\zxcvbnm,./", "|ZXCVBNM<>?")):
    for i, c in enumerate(normal):
        US[c] = (first + i, False)
    for i, c in enumerate(upper):
        US[c] = (first + i, True)
KEY = {v: k for k, v in US.items()}

HALANT, NUKTA, RA = 0xE8, 0xE9, 0xCF


def iscii(text):
    out = subprocess.run(["uconv", "-f", "UTF-8", "-t", "ISCII,version=0"],
                         input=text.encode(), capture_output=True, check=True).stdout
    return list(out[2:] if out[:1] == b"\xef" else out)


def chart(path, unicode_field):
    """(scan, shifted) -> ISCII bytes of a layout source."""
    keys = {}
    for line in open(path, encoding="utf-8"):
        parts = line.split()
        if len(parts) != 3 or not parts[0].isdigit():
            continue
        for shifted, field in ((False, parts[1]), (True, parts[2])):
            codes = unicode_field(field)
            if codes:
                keys[(int(parts[0]), shifted)] = codes
    return keys


def field_codes(field):
    if field.startswith("h:"):
        h = field[2:]
        return tuple(int(h[i:i + 2], 16) for i in range(0, len(h), 2))
    if field.startswith("u:"):
        return tuple(iscii(field[2:]))
    if field.startswith("t:"):
        return tuple(field[2:].encode())
    return None


def key_of(keys, codes):
    for pos, value in keys.items():
        if value == tuple(codes) and pos in KEY and pos[0] != 1:
            return KEY[pos]
    return None


def split_syllables(codes):
    """Syllables: [consonants joined by halants][signs][modifiers], or a vowel
    with its modifiers."""
    out, i = [], 0
    while i < len(codes):
        start = i
        if 0xB3 <= codes[i] <= 0xD8:
            i += 1
            while True:
                if i < len(codes) and codes[i] == NUKTA:
                    i += 1
                if i + 1 < len(codes) and codes[i] == HALANT and 0xB3 <= codes[i + 1] <= 0xD8:
                    i += 2
                    continue
                break
            if i < len(codes) and codes[i] == HALANT:
                i += 1
            while i < len(codes) and 0xDA <= codes[i] <= 0xE7:
                i += 1
        elif 0xA4 <= codes[i] <= 0xB2:
            i += 1
        else:
            return None
        while i < len(codes) and 0xA1 <= codes[i] <= 0xA3:
            i += 1
        out.append(codes[start:i])
    return out


class Remington:
    def __init__(self, keys):
        self.keys = keys
        k = lambda *c: key_of(keys, c)
        self.stem, self.halant, self.reph = k(0xDA), k(HALANT), k(0x80)
        self.sub_ra, self.nukta = k(HALANT, RA), k(NUKTA)
        self.signs = {0xDA: self.stem, 0xDC: k(0xDC), 0xDD: k(0xDD), 0xDE: k(0xDE),
                      0xDF: k(0xDF), 0xE1: k(0xE1), 0xE2: k(0xE2), 0xE3: k(0xE3),
                      0xE5: self.stem + k(0xE1), 0xE6: self.stem + k(0xE2),
                      0xE7: self.stem + k(0xE3)}
        a, e = k(0xA4), k(0xAC)
        self.vowels = {0xA4: a, 0xA5: a + self.stem, 0xA6: k(0xA6), 0xA7: k(0xA6) + self.reph,
                       0xA8: k(0xA8), 0xA9: k(0xA9), 0xAA: k(0xAA), 0xAC: e,
                       0xAD: e + k(0xE1), 0xB0: a + self.stem + k(0xE1),
                       0xB1: a + self.stem + k(0xE2), 0xB2: a + self.stem + k(0xE3)}
        self.mods = {0xA1: k(0xA1), 0xA2: k(0xA2), 0xA3: k(0xA3)}

    def letter(self, c, nukta, last):
        """Keys of one consonant: full when last, else half."""
        extra = self.nukta if nukta else ""
        full, half = key_of(self.keys, [c]), key_of(self.keys, [c, HALANT])
        if last:
            if full:
                return full + extra
            return half + self.stem + extra if half and not nukta else None
        if half and not nukta:
            return half
        return full + extra + self.halant if full else None

    def cluster(self, units):
        """units: [(consonant, nukta)]; conjunct keys where the cluster ends."""
        keys = ""
        i = 0
        while i < len(units):
            rest = units[i:]
            if len(rest) == 2 and not rest[0][1] and not rest[1][1]:
                conj = key_of(self.keys, [rest[0][0], HALANT, rest[1][0]])
                if conj:
                    return keys + conj
            c, nukta = units[i]
            if i + 2 == len(units) and units[i + 1] == (RA, False):
                part = self.letter(c, nukta, True)  # the letter, then the ra below it
                return None if part is None else keys + part + self.sub_ra
            part = self.letter(c, nukta, i == len(units) - 1)
            if part is None:
                return None
            keys += part
            i += 1
        return keys

    def syllable(self, s):
        if 0xA4 <= s[0] <= 0xB2:
            v = self.vowels.get(s[0])
            mods = [self.mods.get(m) for m in s[1:]]
            return None if v is None or None in mods else v + "".join(mods)
        units, i = [], 0
        while i < len(s) and 0xB3 <= s[i] <= 0xD8:
            nukta = i + 1 < len(s) and s[i + 1] == NUKTA
            units.append((s[i], nukta))
            i += 2 if nukta else 1
            if i + 1 < len(s) and s[i] == HALANT and 0xB3 <= s[i + 1] <= 0xD8:
                i += 1
        final_halant = i < len(s) and s[i] == HALANT
        rest = s[i + 1:] if final_halant else s[i:]
        reph = len(units) > 1 and units[0] == (RA, False)
        if reph:
            units = units[1:]
        body = self.cluster(units)
        if body is None:
            return None
        signs = [x for x in rest if 0xDA <= x <= 0xE7]
        if len(set(signs)) != len(signs):
            return None
        mods = [x for x in rest if 0xA1 <= x <= 0xA3]
        keys = ("f" if 0xDB in signs else "") + body + (self.halant if final_halant else "")
        for x in signs:
            if x != 0xDB:
                if self.signs.get(x) is None:
                    return None
                keys += self.signs[x]
        keys += self.reph if reph else ""
        for m in mods:
            if self.mods.get(m) is None:
                return None
            keys += self.mods[m]
        return keys

    def word(self, codes):
        parts = split_syllables(codes)
        if parts is None:
            return None
        out = [self.syllable(p) for p in parts]
        return None if None in out else "".join(out)


def inscript(keys, codes):
    out = ""
    for c in codes:
        k = key_of(keys, [c])
        if k is None:
            return None
        out += k
    return out


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 150
    here = __file__.rsplit("/", 1)[0]
    layouts = here + "/../../data/layouts/"
    rem = Remington(chart(layouts + "remington_hindi.txt", field_codes))
    ins = chart(layouts + "inscript.txt", field_codes)
    words = subprocess.run(["aspell", "-d", "hi", "dump", "master"], capture_output=True,
                           check=True, text=True).stdout.split()
    random.seed(17)
    random.shuffle(words)
    print("# word\tInscript keys\tRemington keys (make_remington_words.py, aspell-hi words)")
    taken = 0
    for w in words:
        codes = iscii(w)
        if not codes or len(codes) > 20 or any(c < 0xA1 for c in codes):
            continue
        r, i = rem.word(codes), inscript(ins, codes)
        if r and i and " " not in r + i:
            print(f"{w}\t{i}\t{r}")
            taken += 1
            if taken == count:
                break


if __name__ == "__main__":
    main()
