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
               dictionary word, and what ICU reads back from that ISCII;
  roman_L.tsv  for Hindi and Marathi: the same ISCII, and the word as ICU's
               Devanagari-Latin transliteration writes it (ISO 15919), for
               the words without anusvara or candrabindu (ICU writes the
               anusvara as the nasal of the consonant after it, ISO 15919's
               other spelling); ICU's own conventions where the Roman
               letters of this system follow the standard's plainer ones
               are rewritten (ICU_ROMAN_CONVENTIONS);
  roman_iast_L.tsv  the same words in IAST, ISO 15919's letters rewritten
               (ISO_TO_IAST).
With "--typing": only typing_L.tsv (see write_typing_words), and
typing_rm.tsv, the Hindi ones without anusvara or candrabindu in IAST.
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
ROMAN_LANGUAGES = ("hi", "mr")
ROMAN_TYPED_FROM = "hi"  # diacritic Roman is typed with the Hindi words
ANUSVARA = 0xA2
# ICU's spelling -> the Roman letters' spelling: the apostrophe ICU puts
# between letters that could be read together (an'y, bā'ū), which the
# letters do not write; candra e and o as e and o with breve, written with
# circumflex (ê ô); the h of k-h with line below, written plain; the
# avagraha as a combining comma above, written as an apostrophe.
ICU_ROMAN_CONVENTIONS = (("'", ""), ("\u0115", "\u00ea"), ("\u014f", "\u00f4"),
                         ("\u1e96", "h"), ("\u0315", "'"))
# ISO 15919 -> IAST, in this order: short e and o take the breve before the
# long ones lose their macron; vocalic r and l with ring below take the dot.
ISO_TO_IAST = (("e", "\u0115"), ("o", "\u014f"), ("\u0113", "e"), ("\u014d", "o"),
               ("r\u0325\u0304", "\u1e5d"), ("r\u0325", "\u1e5b"),
               ("l\u0325\u0304", "\u1e39"), ("l\u0325", "\u1e37"))
CANDRABINDU = 0xA1
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
    if language in ROMAN_LANGUAGES:
        write_roman_words(outdir, language, isciis, lines)


def roman_words(pairs):
    """(ISCII, Devanagari word) pairs without anusvara or candrabindu, and
    each word in ISO 15919 as ICU transliterates it, in this system's
    conventions."""
    kept = [(iscii, word) for iscii, word in pairs
            if ANUSVARA not in iscii and CANDRABINDU not in iscii]
    latin = subprocess.run(["uconv", "-f", "UTF-8", "-t", "UTF-16BE", "-x",
                            "Devanagari-Latin; NFC"],
                           input="".join(word + "\n" for _, word in kept).encode("utf-8"),
                           capture_output=True, check=True).stdout
    latin_lines = split_lines(latin)
    if len(latin_lines) < len(kept):
        sys.exit("ICU transliterated fewer words than it was given")
    isos = []
    for units in latin_lines[:len(kept)]:
        text = units.decode("utf-16-be")
        for icu, ours in ICU_ROMAN_CONVENTIONS:
            text = text.replace(icu, ours)
        isos.append(text)
    return [iscii for iscii, _ in kept], isos


def iast(iso):
    for before, after in ISO_TO_IAST:
        iso = iso.replace(before, after)
    return iso


def write_text_rows(path, isciis, texts):
    with open(path, "w") as f:
        for iscii, text in zip(isciis, texts):
            f.write("%s\t%s\n" % (iscii.hex(), units_hex(text.encode("utf-16-be"))))


def write_roman_words(outdir, language, isciis, lines):
    kept, isos = roman_words([(i, u.decode("utf-16-be")) for i, u in zip(isciis, lines)])
    write_text_rows("%s/roman_%s.tsv" % (outdir, language), kept, isos)
    write_text_rows("%s/roman_iast_%s.tsv" % (outdir, language), kept, [iast(t) for t in isos])


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
        typed = []
        for word, iscii in zip(words, encoded):
            if len(iscii) >= 2 and iscii[0] == ATR:
                iscii = iscii[2:]
            if decode(iscii, version).decode("utf-16-be") == word:
                typed.append((iscii, word))
        write_text_rows("%s/typing_%s.tsv" % (outdir, language), [i for i, _ in typed],
                        [w for _, w in typed])
        if language == ROMAN_TYPED_FROM:
            kept, isos = roman_words(typed)
            write_text_rows("%s/typing_rm.tsv" % outdir, kept, [iast(t) for t in isos])


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
