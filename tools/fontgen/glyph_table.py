"""Reader of the script glyph tables (modules/<script>/glyph_table.txt).

A table row names the ISCII text a glyph stands for and its code in each
font of the script ("=XX": the glyph of the earlier row with code XX, which
this key shares without a slot of its own; "=XX+YY": that glyph and then
the glyphs of the earlier rows with codes YY..., at most THEN_MAX of them). Both the font generator and the adapters' header
generator read the tables through this module, so that the fonts and the
adapters agree on every code.
"""

REPH = "R"  # the reph token in keys: RA + halant at the start of a cluster
ALT_ANUSVARA = "N"  # the anusvara's alternative form (Gurmukhi tippi)
GEMINATION = "G"  # the mark of a doubled consonant (Gurmukhi addak)
# A consonant's headless body (key C+H) and a sign as drawn on it (key H+C+S:
# Telugu, Kannada). Rows of signs on bodies may share a code: one glyph where
# the sign sits at the same place on several bodies.
HEADLESS = "H"
# A mark as the source font places it on one glyph (key P + the glyph's key
# + the mark's key: Oriya). Rows of one mark may share a code: one glyph
# where the mark sits alike on several glyphs.
PLACED = "P"
# A consonant as the source font draws it before a subjoined form (key C+B:
# Oriya's ".base" forms without the lower bowl).
BASE_FORM = "B"
TOKENS = (REPH, ALT_ANUSVARA, GEMINATION, HEADLESS, PLACED, BASE_FORM)
# The bytes the adapters' headers give the tokens (glyph_inventory.h).
TOKEN_NAMES = {REPH: "kTokenReph", ALT_ANUSVARA: "kTokenAltAnusvara",
               GEMINATION: "kTokenGemination", HEADLESS: "kTokenHeadless",
               PLACED: "kTokenPlaced", BASE_FORM: "kTokenBaseForm"}
TOKEN_BYTES = {REPH: 0x02, ALT_ANUSVARA: 0x03, GEMINATION: 0x04, HEADLESS: 0x05, PLACED: 0x06,
               BASE_FORM: 0x07}
# Keys whose rows may share a code among rows of the same kind.
SHARING = (HEADLESS, PLACED)

# Byte codes no glyph may take: DEL, no-break space, soft hyphen (applications
# treat them specially) and the five codes that code page 1252 leaves
# undefined, which Windows turns into C1 controls that edit controls hide.
UNUSABLE_CODES = (0x7F, 0xA0, 0xAD, 0x81, 0x8D, 0x8F, 0x90, 0x9D)
THEN_MAX = 2  # kGlyphThenMax in glyph_inventory.h


class Row:
    def __init__(self, line_no, key, codes, note, shared=(), then=None):
        self.line_no = line_no
        self.key = key  # list of ints (ISCII bytes) and REPH
        self.codes = codes  # column name -> int code or None
        self.note = note
        # Columns where the row's code is "=XX": the glyph of the earlier row
        # with that code, drawn for this key too (a sign's width before many
        # clusters).
        self.shared = shared
        # Column -> codes drawn after the row's code ("=XX+YY"), each an
        # earlier row's glyph.
        self.then = then or {}

    def key_text(self):
        return "+".join(t if t in TOKENS else "%02X" % t for t in self.key)


def parse_key(text, line_no):
    key = []
    for part in text.split("+"):
        if part in TOKENS:
            key.append(part)
            continue
        try:
            value = int(part, 16)
        except ValueError:
            raise SystemExit("line %d: bad key token %r" % (line_no, part))
        if not 0x01 <= value <= 0xFF:
            raise SystemExit("line %d: key byte out of range %r" % (line_no, part))
        key.append(value)
    return key


def read_table(path, columns):
    """Rows of the table at path; columns names the code columns in order."""
    rows = []
    seen_keys = set()
    used = {c: {} for c in columns}
    with open(path, encoding="utf-8") as f:
        for line_no, line in enumerate(f, 1):
            text, _, note = line.partition("#")
            fields = text.split()
            if not fields:
                continue
            if len(fields) != 1 + len(columns):
                raise SystemExit("%s:%d: expected %d fields" % (path, line_no, 1 + len(columns)))
            key = parse_key(fields[0], line_no)
            if fields[0] in seen_keys:
                raise SystemExit("%s:%d: key %s listed twice" % (path, line_no, fields[0]))
            seen_keys.add(fields[0])
            codes, shared, then = {}, set(), {}
            for column, value in zip(columns, fields[1:]):
                if value == "-":
                    codes[column] = None
                    continue
                if value.startswith("="):
                    # Another key for the glyphs earlier rows hold.
                    sequence = [int(part, 16) for part in value[1:].split("+")]
                    if len(sequence) > 1 + THEN_MAX:
                        raise SystemExit("%s:%d: %s: more than %d glyphs"
                                         % (path, line_no, value, 1 + THEN_MAX))
                    for code in sequence:
                        if code not in used[column]:
                            raise SystemExit("%s:%d: %s code %02X shared before any row holds it"
                                             % (path, line_no, column, code))
                    codes[column] = sequence[0]
                    if len(sequence) > 1:
                        then[column] = sequence[1:]
                    shared.add(column)
                    continue
                code = int(value, 16)
                if not 0x21 <= code <= 0xFF or code in UNUSABLE_CODES:
                    raise SystemExit("%s:%d: code %s not usable" % (path, line_no, value))
                # Signs on headless bodies may share one code among them, and
                # so may the places of one mark.
                kind = key[0] if key[0] in SHARING else None
                body_share = kind is not None and used[column].get(code, (0, None))[1] == kind
                if code in used[column] and not body_share:
                    raise SystemExit("%s:%d: %s code %s already used on line %d"
                                     % (path, line_no, column, value, used[column][code][0]))
                used[column].setdefault(code, (line_no, kind))
                codes[column] = code
            rows.append(Row(line_no, key, codes, note.strip(), shared, then))
    return rows


class RomanRow:
    def __init__(self, line_no, name, code, text):
        self.line_no = line_no
        self.name = name  # C identifier part: a_macron, A_macron
        self.code = code
        self.text = text  # the letter's Unicode text


def read_roman_table(path):
    """Rows of the Roman glyph table: name, code, Unicode code points."""
    rows, names, codes = [], set(), {}
    with open(path, encoding="utf-8") as f:
        for line_no, line in enumerate(f, 1):
            fields = line.partition("#")[0].split()
            if not fields:
                continue
            if len(fields) != 3 or not fields[0].replace("_", "").isalnum():
                raise SystemExit("%s:%d: expected name, code, code points" % (path, line_no))
            name, code = fields[0], int(fields[1], 16)
            if code < 0x80 or code > 0xFF or code in UNUSABLE_CODES:
                raise SystemExit("%s:%d: code %s not usable" % (path, line_no, fields[1]))
            if name in names or code in codes:
                raise SystemExit("%s:%d: name or code listed twice" % (path, line_no))
            names.add(name)
            codes[code] = line_no
            text = "".join(chr(int(p, 16)) for p in fields[2].split("+"))
            rows.append(RomanRow(line_no, name, code, text))
    return rows
