#!/usr/bin/python3
"""What each Inscript key types in a script, beside what m17n-db's Inscript
input method for the language gives for the same key.

usage: inscript_compare.py SCRIPT MIM_FILE
SCRIPT: a script of tools/fontgen/fontgen.py (bengali, assamese, oriya,
gujarati, gurmukhi, ...). Our meaning of a key is its ISCII text in
data/layouts/inscript.txt read as the script's adapters and fonts read it
(ICU's converter, with the script's own letters). Prints a Markdown table of
the keys that both define differently, then a count of the keys that agree.
"""
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "fontgen"))
import fontgen  # noqa: E402

# Scan code -> the US key's character, unshifted and shifted.
US_KEYS = {}
for start, normal, shifted in ((2, "1234567890-=", "!@#$%^&*()_+"),
                               (16, "qwertyuiop[]", "QWERTYUIOP{}"),
                               (30, "asdfghjkl;'`", 'ASDFGHJKL:"~'),
                               (43, "\\zxcvbnm,./", "|ZXCVBNM<>?")):
    for i, (a, b) in enumerate(zip(normal, shifted)):
        US_KEYS[start + i] = (a, b)

# ("k" "क") or ("k" ?क)
MIM_RULE = re.compile(r'^\s*\("((?:\\.|[^"\\])+)"\s+(?:"((?:\\.|[^"\\])*)"|\?(\S+?))\s*\)')


def read_layout():
    """Scan code -> (unshifted ISCII, shifted ISCII) of the Inscript layout."""
    keys = {}
    path = os.path.join(ROOT, "data", "layouts", "inscript.txt")
    for line in open(path, encoding="utf-8"):
        fields = line.split()
        if len(fields) < 2 or not fields[0].isdigit():
            continue
        texts = [bytes.fromhex(f[2:]) if f.startswith("h:") else f.encode() for f in fields[1:3]]
        while len(texts) < 2:
            texts.append(b"")
        keys[int(fields[0])] = texts
    return keys


def read_mim(path):
    rules = {}
    for line in open(path, encoding="utf-8"):
        m = MIM_RULE.match(line)
        if m:
            key = m.group(1).replace('\\"', '"').replace("\\\\", "\\")
            value = m.group(2) if m.group(2) is not None else m.group(3)
            rules.setdefault(key, value.replace('\\"', '"'))
    return rules


# Codes the adapters draw as others when the font has no glyph of their own
# (modules/common/indic_syllable.cpp, kSubstitutes).
SUBSTITUTES = {0xC7: b"\xc6\xe9", 0xCE: b"\xcd\xe9", 0xD0: b"\xcf\xe9", 0xD3: b"\xd2\xe9",
               0xAB: b"\xac", 0xAF: b"\xb0", 0xAE: b"\xac", 0xB2: b"\xb0", 0xE0: b"\xe1",
               0xE4: b"\xe5", 0xE3: b"\xe1", 0xE7: b"\xe5"}
# Right parts of split signs, which the glyph tables key by their sign.
LENGTH_MARKS = ("\u09d7", "\u0b56", "\u0b57", "\u0bd7")


def meaning(text, config):
    """Our Unicode for a key's ISCII text: for a code the script does not use,
    that of the code the adapter draws instead; empty when it draws nothing."""
    if text[0] < 0x80:
        return text.decode("ascii")
    letters = {k: v for k, v in config["letters"].items() if v not in LENGTH_MARKS}
    for attempt in (text, b"".join(SUBSTITUTES.get(b, bytes([b])) for b in text)):
        try:
            return fontgen.iscii_to_unicode([attempt], config["version"], letters)[0]
        except subprocess.CalledProcessError:
            continue
    return ""


def main():
    script, mim = sys.argv[1], sys.argv[2]
    config = fontgen.SCRIPTS[script]
    layout = read_layout()
    rules = read_mim(mim)
    pairs = []
    for scan, texts in sorted(layout.items()):
        for shift, text in enumerate(texts):
            char = US_KEYS.get(scan, ("", ""))[shift]
            if char and text and char in rules:
                pairs.append((char, text))
    ours = [meaning(t, config) for _, t in pairs]
    same, rows = 0, []
    for (char, text), mine in zip(pairs, ours):
        theirs = rules[char]
        if mine == theirs:
            same += 1
            continue
        rows.append("| `%s` | %s | %s | %s |" % (char, text.hex(" ").upper(), mine or "(none)",
                                                theirs or "(none)"))
    print("| Key | ISCII | Ours | m17n |")
    print("|---|---|---|---|")
    print("\n".join(rows))
    print("\n%d keys agree, %d differ." % (same, len(rows)))


if __name__ == "__main__":
    main()
