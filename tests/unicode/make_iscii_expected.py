#!/usr/bin/env python3
"""Expected Unicode for ISCII text, as ICU's converter reads it (uconv).

Writes into OUTDIR, for every ISCII version 0..8 (Unicode block order):
  codes_N.tsv  every code alone, every pair of codes from 0x80 and every
               triple KA + two codes from 0xA0, each followed by " \\n"
               (the space ends any pending code, the newline any script
               switch), all decoded in one stream;
  ends_N.tsv   every code from 0x80, and KA + code, each as a whole stream
               of its own (what a code left pending at the end becomes);
  words_L.tsv  for each aspell language L: the ISCII that ICU makes of each
               dictionary word, and what ICU reads back from that ISCII.
With "--typing": only typing_L.tsv (see write_typing_words).
Each line: input bytes in hex, a tab, the UTF-16 code units in hex.
"""
import os
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

VERSIONS = range(9)
# aspell dictionary -> ISCII version of its script.
LANGUAGES = {"hi": 0, "mr": 0, "bn": 1, "pa": 2, "gu": 3, "or": 4,
             "ta": 5, "te": 6, "kn": 7, "ml": 8}
WORDS_PER_LANGUAGE = 600
# typed into an editor under Wine (Assamese types the Bengali words)
TYPED_LANGUAGES = ("hi", "bn", "ta", "ml", "gu", "pa", "or", "te", "kn")
TYPING_CANDIDATES = 400
KA = 0xB3
HALANT = 0xE8
ATR = 0xEF


def uconv(data, source, target):
    return subprocess.run(["uconv", "--from-callback", "substitute", "--to-callback",
                           "substitute", "-f", source, "-t", target],
                          input=data, capture_output=True, check=True).stdout


def decode(data, version):
    return uconv(data, "ISCII,version=%d" % version, "UTF-16BE")


def units_hex(raw):
    return " ".join(raw[i:i + 2].hex() for i in range(0, len(raw), 2))


def split_lines(raw):
    """UTF-16BE text cut at each newline (kept out), unit by unit."""
    lines, start = [], 0
    for i in range(0, len(raw), 2):
        if raw[i:i + 2] == b"\x00\n":
            lines.append(raw[start:i])
            start = i + 2
    return lines


def stream_items():
    items = [bytes([c]) for c in range(256) if c not in (0x0A, 0x0D)]
    items += [bytes([a, b]) for a in range(0x80, 0x100) for b in range(0x80, 0x100)]
    items += [bytes([KA, a, b]) for a in range(0xA0, 0x100) for b in range(0xA0, 0x100)]
    items += [bytes([a, HALANT, b]) for a in range(0xA0, 0x100) for b in range(0xA0, 0x100)]
    return items


def write_codes(outdir, version, items):
    tail = b" \n"
    raw = decode(b"".join(item + tail for item in items), version)
    lines = []
    newline = b"\x00\n"
    start = 0
    for item in items:
        end = start
        while raw[end:end + 2] != newline:
            end += 2
            if end >= len(raw):
                sys.exit("ICU output ended early at item %s" % item.hex())
        lines.append("%s\t%s\n" % ((item + tail).hex(), units_hex(raw[start:end + 2])))
        start = end + 2
    with open("%s/codes_%d.tsv" % (outdir, version), "w") as f:
        f.writelines(lines)


def write_ends(outdir, version):
    items = [bytes([c]) for c in range(0xA0, 0x100)] + \
            [bytes([KA, c]) for c in (0xD9, 0xE8, 0xE9, 0xEF, 0xF0)]
    with ThreadPoolExecutor(max_workers=4) as pool:
        outputs = list(pool.map(lambda item: decode(item, version), items))
    with open("%s/ends_%d.tsv" % (outdir, version), "w") as f:
        for item, raw in zip(items, outputs):
            f.write("%s\t%s\n" % (item.hex(), units_hex(raw)))


def write_words(outdir, language, version):
    dump = subprocess.run(["aspell", "-d", language, "dump", "master"],
                          capture_output=True, check=True).stdout.decode("utf-8")
    words = sorted({w.strip() for w in dump.split("\n") if w.strip()})
    # Every n-th word, so the list spans the whole dictionary.
    step = max(1, len(words) // WORDS_PER_LANGUAGE)
    words = words[::step][:WORDS_PER_LANGUAGE]
    encoded = uconv("".join(w + "\n" for w in words).encode("utf-8"), "UTF-8",
                    "ISCII,version=%d" % version).split(b"\n")[:len(words)]
    isciis = []
    for iscii in encoded:
        if len(iscii) >= 2 and iscii[0] == ATR:
            iscii = iscii[2:]  # the script-switch pair ICU begins with
        isciis.append(iscii)
    raw = decode(b"".join(i + b"\n" for i in isciis), version)
    lines = split_lines(raw)
    if len(lines) < len(isciis):
        sys.exit("ICU read back fewer words than it wrote for %s" % language)
    with open("%s/words_%s.tsv" % (outdir, language), "w") as f:
        for iscii, units in zip(isciis, lines):
            f.write("%s\t%s\n" % (iscii.hex(), units_hex(units)))


def write_typing_words(outdir):
    """typing_L.tsv for the languages typed under Wine: dictionary words
    whose ISCII ICU reads back as exactly the word (so the text expected in
    the editor is the dictionary's own word)."""
    for language in TYPED_LANGUAGES:
        version = LANGUAGES[language]
        dump = subprocess.run(["aspell", "-d", language, "dump", "master"],
                              capture_output=True, check=True).stdout.decode("utf-8")
        words = sorted({w.strip() for w in dump.split("\n") if w.strip()})
        step = max(1, len(words) // TYPING_CANDIDATES)
        words = words[::step][:TYPING_CANDIDATES]
        encoded = uconv("".join(w + "\n" for w in words).encode("utf-8"), "UTF-8",
                        "ISCII,version=%d" % version).split(b"\n")[:len(words)]
        with open("%s/typing_%s.tsv" % (outdir, language), "w") as f:
            for word, iscii in zip(words, encoded):
                if len(iscii) >= 2 and iscii[0] == ATR:
                    iscii = iscii[2:]
                back = decode(iscii, version).decode("utf-16-be")
                if back == word:
                    f.write("%s\t%s\n" % (iscii.hex(), units_hex(word.encode("utf-16-be"))))


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    if len(sys.argv) > 2 and sys.argv[2] == "--typing":
        write_typing_words(outdir)
        return
    items = stream_items()
    for version in VERSIONS:
        write_codes(outdir, version, items)
        write_ends(outdir, version)
    for language, version in LANGUAGES.items():
        write_words(outdir, language, version)


if __name__ == "__main__":
    main()
