#!/usr/bin/python3
"""Proposes the placed-mark rows of a glyph table (keys P + glyph + mark).

usage: propose_placed_rows.py SCRIPT TABLE MARK [MARK ...]
MARK: a mark's key as the table writes it ("DD", "E8+CD", "R").

For every consonant of the script and every conjunct of the table, the
mark is shaped after the glyph in the source font (as fontgen.py draws the
rows) and its place measured from the glyph's end. Places within NEAR font
units of the mark's own glyph (drawn as on NA) need no row; the others are
grouped, no place farther than NEAR from the group's middle, each group one
glyph: the rows printed share the code of their group (written XX1, XX2
...: the table's free codes go there), the row nearest the middle, whose
place the glyph takes, first.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fontgen  # noqa: E402
from glyph_table import PLACED, Row, parse_key, read_table  # noqa: E402

# Font units within which a place counts as the mark's own or its group's:
# well inside what fontgen.py lets a shared glyph stand for.
NEAR = fontgen.PLACED_SAME * 3 // 4


def place(outline):
    return outline.pieces[0][1], outline.pieces[0][2], tuple(p[0] for p in outline.pieces)


def groups_of(places, limit):
    """Places (key, x, y, names) in groups no wider than 2 * limit; each
    group's first member is the one nearest its middle."""
    out = []
    for item in sorted(places, key=lambda p: (p[3], p[1])):
        if out and out[-1][0][3] == item[3] and item[1] - out[-1][0][1] <= 2 * limit:
            out[-1].append(item)
        else:
            out.append([item])
    result = []
    for group in out:
        middle = (group[0][1] + group[-1][1]) / 2
        group.sort(key=lambda p: abs(p[1] - middle))
        result.append(group)
    return result


def main():
    if len(sys.argv) < 4:
        raise SystemExit(__doc__)
    name, table, marks = sys.argv[1], sys.argv[2], sys.argv[3:]
    config = dict(fontgen.SCRIPTS[name], name=name)
    config["source_path"] = os.path.join(fontgen.NOTO_DIR, config["source"])
    rows = read_table(table, config["columns"])
    source = fontgen.TTFont(config["source_path"])
    glyphs = [[c] for c in range(0xB3, 0xD9)
              if fontgen.subprocess.run(["uconv", "-f", "ISCII,version=%d" % config["version"],
                                         "-t", "UTF-8"], input=bytes([c]),
                                        capture_output=True).stdout.strip()]
    glyphs += [r.key for r in rows if len(r.key) >= 3 and all(isinstance(t, int) for t in r.key)
               and 0xB3 <= r.key[0] <= 0xD8 and 0xB3 <= r.key[-1] <= 0xD8 and r.key[1] == 0xE8]
    limit = NEAR
    for mark_text in marks:
        mark = parse_key(mark_text, 0)
        # The mark's own glyph, as the font generator draws it.
        own = Row(0, mark, {}, "")
        outlines = fontgen.script_outlines([own], source, config)
        trial = [own] + [Row(0, [PLACED] + g + mark, {}, "") for g in glyphs]
        for row in trial[1:]:
            try:
                outlines.update(fontgen.placed_outlines([row], rows, source, config))
            except SystemExit as e:
                print("# %s: %s" % (row.key_text(), e), file=sys.stderr)
        home = place(outlines[own.key_text()])
        places = []
        for row in trial[1:]:
            if row.key_text() not in outlines:
                continue
            x, y, names = place(outlines[row.key_text()])
            if names == home[2] and abs(x - home[0]) <= limit and abs(y - home[1]) <= limit:
                continue
            places.append((row.key_text(), x, y, names))
        print("# %s: own place %d,%d %s" % (mark_text, home[0], home[1], " ".join(home[2])))
        for n, group in enumerate(groups_of(places, limit), 1):
            for key, x, y, names in group:
                print("%-22s XX%d  -   # %s at %d,%d" % (key, n, " ".join(names), x, y))


if __name__ == "__main__":
    main()
