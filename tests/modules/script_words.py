"""Words of a script as the rendering check types them: the Unicode text a
user means, its ISCII (ICU's converter) and back."""
import subprocess
import unicodedata

VIRAMA = {5: "\u0bcd", 6: "\u0c4d", 7: "\u0ccd", 8: "\u0d4d"}
ZWNJ, ZWJ = "\u200c", "\u200d"
# Malayalam's atomic chillu letters and the consonants they are the dead form of.
CHILLU = {"\u0d7a": "\u0d23", "\u0d7b": "\u0d28", "\u0d7c": "\u0d30", "\u0d7d": "\u0d32",
          "\u0d7e": "\u0d33", "\u0d7f": "\u0d15"}


def typed_form(word, version):
    """The word as it is typed. Malayalam: a chillu at the end of the word as
    the dead consonant (consonant + virama), inside the word with ISCII's soft
    halant (virama + ZWJ); a virama that ends the word and is meant to stay
    visible as the explicit halant (virama + ZWNJ)."""
    word = unicodedata.normalize("NFC", word)
    if version != 8:
        return word
    virama = VIRAMA[8]
    out = []
    for n, ch in enumerate(word):
        last = n + 1 == len(word)
        if ch in CHILLU:
            out.append(CHILLU[ch] + virama + ("" if last else ZWJ))
            continue
        out.append(ch)
        if ch == virama and last:
            out.append(ZWNJ)
    return "".join(out)


def to_iscii(texts, version):
    """ISCII bytes of each text, None where ICU cannot convert it."""
    result = []
    for text in texts:
        p = subprocess.run(["uconv", "-f", "UTF-8", "-t", "ISCII,version=%d" % version,
                            "--callback", "stop"], input=text.encode("utf-8"),
                           capture_output=True)
        data = p.stdout
        if p.returncode != 0:
            result.append(None)
            continue
        # ICU begins with an ATR script switch; drop it.
        while data.startswith(b"\xef") and len(data) >= 2:
            data = data[2:]
        result.append(data)
    return result


def to_unicode(datas, version):
    out = subprocess.run(["uconv", "-f", "ISCII,version=%d" % version, "-t", "UTF-8"],
                         input=b"\n".join(datas) + b"\n", capture_output=True,
                         check=True).stdout.decode("utf-8")
    return out.split("\n")[:len(datas)]
