#!/usr/bin/python3
"""Writes a word list for the rendering check of a script: words of the
language's aspell dictionary that ICU's ISCII converter turns into ISCII and
back into the same text, spread evenly over the dictionary.

usage: make_script_words.py LANG VERSION COUNT OUT
  LANG: aspell dictionary (ta, te, kn, ml); VERSION: ICU's ISCII version of
  the script (5 Tamil, 6 Telugu, 7 Kannada, 8 Malayalam).
"""
import os
import subprocess
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from script_words import to_iscii, to_unicode, typed_form  # noqa: E402


# First code point of each script's Unicode block.
BLOCKS = {5: 0x0B80, 6: 0x0C00, 7: 0x0C80, 8: 0x0D00}


def main():
    if len(sys.argv) != 5:
        raise SystemExit(__doc__)
    lang, version, count, out = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    words = subprocess.run(["aspell", "-d", lang, "dump", "master"], capture_output=True,
                           check=True, text=True).stdout.split()
    block = BLOCKS[version]
    # Words of the script's letters that begin with a letter, not a sign.
    words = sorted(set(w for w in words if all(block <= ord(c) < block + 0x80 for c in w) and
                       not unicodedata.category(w[0]).startswith("M")))
    # Three candidates for every word needed, spread over the dictionary.
    candidates = words[::max(len(words) // (3 * count), 1)]
    kept = []
    for word in candidates:
        typed = typed_form(word, version)
        iscii = to_iscii([typed], version)[0]
        if iscii is not None and to_unicode([iscii], version)[0] == typed:
            kept.append(word)
    step = max(len(kept) / count, 1)
    chosen = [kept[int(i * step)] for i in range(min(count, len(kept)))]
    with open(out, "w", encoding="utf-8") as f:
        f.write("# %d words of aspell's %s dictionary that ICU's ISCII converter (version %d)\n"
                "# round-trips; written by make_script_words.py\n" % (len(chosen), lang, version))
        f.write("\n".join(chosen) + "\n")
    print("%d of %d candidates round-trip; %d written" % (len(kept), len(candidates), len(chosen)))


if __name__ == "__main__":
    main()
