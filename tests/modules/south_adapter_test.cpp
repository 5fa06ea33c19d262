// The south Indian adapters: each script's hard cases, named by glyph-table
// keys so that they hold whatever codes the tables give, and that no input
// makes an adapter overrun its output or stall the engine.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "include/nelkor.h"
#include "modules/kannada/kannada_adapter.h"
#include "modules/malayalam/malayalam_adapter.h"
#include "modules/tamil/tamil_adapter.h"
#include "modules/telugu/telugu_adapter.h"
#include "tests/modules/glyph_keys.h"

namespace {

struct Font {
    const char* name;
    const IndicScript& (*script)(int font);
    int font;
};

const Font kFonts[] = {
    {"TM", TamilScript, kFontTM},     {"TMB", TamilScript, kFontTMB},
    {"ML", MalayalamScript, kFontML}, {"MLB", MalayalamScript, kFontMLB},
    {"TL", TeluguScript, kFontTL},    {"TLB", TeluguScript, kFontTLB},
    {"KN", KannadaScript, kFontKN},   {"KNB", KannadaScript, kFontKNB},
};

struct Case {
    const char* what;
    const char* font;  // name in kFonts
    const char* iscii; // one syllable (and what follows it)
    int consumed;
    std::vector<std::string> keys; // the glyphs, in visual order
};

const Font& FontNamed(const char* name) {
    for (const Font& f : kFonts)
        if (strcmp(f.name, name) == 0) return f;
    return kFonts[0];
}

void CheckCases(const std::vector<Case>& cases) {
    int index = 0;
    for (const Case& c : cases) {
        const Font& font = FontNamed(c.font);
        const IndicScript& script = font.script(font.font);
        int32_t consumed = 0;
        const std::string got = SyllableGlyphs(script, c.iscii, &consumed, true);
        EXPECT_EQ(Hex(ExpectedGlyphs(script.inventory, c.keys, true)), Hex(got))
            << "row " << index << " (" << c.font << "): " << c.what;
        EXPECT_EQ(c.consumed, consumed) << "row " << index << " (" << c.font << "): " << c.what;
        ++index;
    }
}

TEST(SouthSyllable, Tamil) {
    CheckCases({
        {"split o after KSSA", "TM", "\xB3\xE8\xD6\xE4", 4, {"E0", "B3+E8+D6", "DA"}},
        {"split oo", "TM", "\xB3\xE5", 2, {"E1", "B3", "DA"}},
        {"split au: e before, length mark after", "TM", "\xB3\xE6", 2, {"E0", "B3", "E6"}},
        {"e after a dead consonant, before its own",
         "TM",
         "\xC6\xE8\xC2\xE0",
         4,
         {"C6+E8", "E0", "C2"}},
        {"o after two dead consonants",
         "TM",
         "\xD7\xE8\xC2\xE8\xCF\xE4",
         6,
         {"D7+E8", "C2+E8", "E0", "CF", "DA"}},
        {"ai before its consonant", "TM", "\xB3\xE2", 2, {"E2", "B3"}},
        {"pulli at the end of a word", "TM", "\xB3\xE8", 2, {"B3+E8"}},
        {"pulli by the explicit halant", "TM", "\xB3\xE8\xE8\xB3", 3, {"B3+E8"}},
        {"no conjunct but KSSA: KA KA", "TM", "\xB3\xE8\xB3\xDA", 4, {"B3+E8", "B3", "DA"}},
        {"SA RA without sign II is no SHRI", "TM", "\xD7\xE8\xCF", 3, {"D7+E8", "CF"}},
        {"SHRI", "TM", "\xD7\xE8\xCF\xDC", 4, {"D7+E8+CF+DC"}},
        {"KA + U is one shape", "TM", "\xB3\xDD", 2, {"B3+DD"}},
        {"dead KA then KA + UU", "TM", "\xB3\xE8\xB3\xDE", 4, {"B3+E8", "B3+DE"}},
        {"KSSA takes the separate U sign", "TM", "\xB3\xE8\xD6\xDD", 4, {"B3+E8+D6", "DD"}},
        {"grantha JA takes the separate U sign", "TM", "\xBA\xDD", 2, {"BA", "DD"}},
        {"TTA + I is one shape", "TM", "\xBD\xDB", 2, {"BD+DB"}},
        {"NNNA and LLLA are letters of their own", "TM", "\xC7\xDC", 2, {"C7+DC"}},
        {"short e and long ee vowels", "TM", "\xAB\xAC", 1, {"AB"}},
        {"aytham", "TM", "\xA3", 1, {"A3"}},
        {"a stray o sign draws both parts", "TM", "\xE4", 1, {"E0", "DA"}},
        {"GA is read as KA, DHA as TA", "TM", "\xB5\xE8\xC5\xDB", 4, {"B3+E8", "C2+DB"}},
        {"BHA + U is PA + U", "TM", "\xCB\xDD", 2, {"C8+DD"}},
        {"bilingual: sign I after a rarer consonant", "TMB", "\xB7\xDB", 2, {"B7", "DB"}},
        {"bilingual: KA + I keeps its shape", "TMB", "\xB3\xDB", 2, {"B3+DB"}},
        {"bilingual: TTA + I stays one shape", "TMB", "\xBD\xDB", 2, {"BD+DB"}},
        {"bilingual: split o", "TMB", "\xC6\xE4", 2, {"E0", "C6", "DA"}},
    });
}

TEST(SouthSyllable, Malayalam) {
    CheckCases({
        {"dead NA at the end of a word: chillu", "ML", "\xC6\xE8", 2, {"C6+E8+E9"}},
        {"dead NA before a space: chillu", "ML", "\xC6\xE8 \xB3", 2, {"C6+E8+E9"}},
        {"dead NA inside a word, conjunct NA NA", "ML", "\xC6\xE8\xC6\xDA", 4, {"C6+E8+C6", "DA"}},
        {"dead NA inside a word, no conjunct: chandrakkala",
         "ML",
         "\xC6\xE8\xB3",
         3,
         {"C6", "E8", "B3"}},
        {"soft halant inside a word: chillu, which ends the syllable",
         "ML",
         "\xC6\xE8\xE9\xB3",
         3,
         {"C6+E8+E9"}},
        {"explicit halant at the end: chandrakkala", "ML", "\xC6\xE8\xE8", 3, {"C6", "E8"}},
        {"dead CA has no chillu: chandrakkala", "ML", "\xB8\xE8", 2, {"B8", "E8"}},
        {"RA first in a cluster: RA's chillu, the cluster follows",
         "ML",
         "\xCF\xE8\xB3\xE8\xB3",
         2,
         {"CF+E8+E9"}},
        {"RA after a consonant: vertical sign before it", "ML", "\xB3\xE8\xCF", 3, {"E8+CF", "B3"}},
        {"sign E before the vertical RA", "ML", "\xC8\xE8\xCF\xE0", 4, {"E0", "E8+CF", "C8"}},
        {"vertical RA after a chandrakkala stays with its consonant",
         "ML",
         "\xD7\xE8\xC2\xE8\xCF",
         5,
         {"D7", "E8", "E8+CF", "C2"}},
        {"vertical RA before a conjunct", "ML", "\xC6\xE8\xC2\xE8\xCF", 5, {"E8+CF", "C6+E8+C2"}},
        {"YA after a consonant: post-base", "ML", "\xB3\xE8\xCD\xDA", 4, {"B3", "E8+CD", "DA"}},
        {"split o", "ML", "\xB3\xE4", 2, {"E0", "B3", "DA"}},
        {"split au: e before, length mark after", "ML", "\xB3\xE6", 2, {"E0", "B3", "E6"}},
        {"split oo after a conjunct", "ML", "\xB3\xE8\xB3\xE5", 4, {"E1", "B3+E8+B3", "DA"}},
        {"sign E after a chandrakkala, before its consonant",
         "ML",
         "\xD7\xE8\xC2\xE0",
         4,
         {"D7", "E8", "E0", "C2"}},
        {"bilingual: a conjunct it lacks keeps the chandrakkala",
         "MLB",
         "\xB5\xE8\xD1",
         3,
         {"B5", "E8", "D1"}},
        {"bilingual: chillu at the end of a word", "MLB", "\xD1\xE8", 2, {"D1+E8+E9"}},
    });
}

TEST(SouthSyllable, Telugu) {
    CheckCases({
        {"KA + I: headless KA and the sign on it", "TL", "\xB3\xDB", 2, {"B3+H", "H+B3+DB"}},
        {"PA + E: headless PA and the sign at its place", "TL", "\xC8\xE0", 2, {"C8+H", "H+C8+E0"}},
        {"SA + EE: headless SA and the sign where it sits as on PA",
         "TL",
         "\xD7\xE1",
         2,
         {"D7+H", "H+C8+E1"}},
        {"SA + I: headless SA and the sign at its common place", "TL", "\xD7\xDB", 2, {"D7+H", "H+DB"}},
        {"three consonants and sign II: the sign on the first, the others below",
         "TL",
         "\xD7\xE8\xC2\xE8\xCF\xDC",
         6,
         {"D7+H", "H+DC", "E8+C2+E8+CF"}},
        {"TA RA below: one glyph where the font has it, else the two vattu forms",
         "TLB",
         "\xD7\xE8\xC2\xE8\xCF",
         5,
         {"D7", "E8+C2", "E8+CF"}},
        {"vocalic R vowel: BA and two u signs, as Noto composes it", "TL", "\xAA", 1, {"CA", "DD", "DD"}},
        {"sign U follows the first consonant, before the vattu",
         "TL",
         "\xB3\xE8\xB3\xDD",
         4,
         {"B3", "DD", "E8+B3"}},
        {"sign U after a vattu that hangs under its consonant",
         "TL",
         "\xBD\xE8\xBD\xDD",
         4,
         {"BD", "E8+BD", "DD"}},
        {"sign UU after the RA vattu, before a vattu with room of its own",
         "TL",
         "\xC2\xE8\xCF\xE8\xCD\xDE",
         6,
         {"C2", "E8+CF", "DE", "E8+CD"}},
        {"vocalic R after every vattu", "TL", "\xB8\xE8\xCD\xDF", 4, {"B8", "E8+CD", "DF"}},
        {"RA first in a cluster: full RA, the next consonant below",
         "TL",
         "\xCF\xE8\xB3",
         3,
         {"CF", "E8+B3"}},
        {"RA + I is the font's glyph for both", "TL", "\xCF\xDB", 2, {"CF+DB"}},
        {"o on a headless body, vattu after it",
         "TL",
         "\xB3\xE8\xB3\xE4",
         4,
         {"B3+H", "H+E4", "E8+B3"}},
        {"NA + II: the ni glyph, then what ii adds to it (la's place)",
         "TL",
         "\xC6\xDC",
         2,
         {"C6+DB", "H+D1+DB+DC"}},
        {"NA NA + II: the ni glyph and the length mark, then the vattu",
         "TL",
         "\xC6\xE8\xC6\xDC",
         4,
         {"C6+DB", "H+D1+DB+DC", "E8+C6"}},
        {"KA + II: headless KA and the sign on it", "TL", "\xB3\xDC", 2, {"B3+H", "H+B3+DC"}},
        {"o on a body without a place of its own: the common place",
         "TL",
         "\xD4\xE4",
         2,
         {"D4+H", "H+E4"}},
        {"dead MA: dead VA (its body and the virama) and the u sign, as Noto draws it",
         "TL",
         "\xCC\xE8",
         2,
         {"D4+H", "H+E8", "DD"}},
        {"dead NA: its body and the virama where it sits on most bodies",
         "TL",
         "\xC6\xE8",
         2,
         {"C6+H", "H+E8"}},
        {"dead KA: headless body and the virama", "TL", "\xB3\xE8", 2, {"B3+H", "H+B3+E8"}},
        {"explicit halant: the virama stays, no vattu",
         "TL",
         "\xB3\xE8\xE8\xB3",
         3,
         {"B3+H", "H+B3+E8"}},
        {"bilingual KSSA + I: the conjunct and the sign alone",
         "TLB",
         "\xB3\xE8\xD6\xDB",
         4,
         {"B3+E8+D6", "H+DB"}},
        {"short e stays short on a consonant without a body", "TL", "\xB4\xE0", 2, {"B4", "H+E0"}},
        {"anusvara after the sign and the vattu",
         "TL",
         "\xB3\xE8\xB3\xDB\xA2",
         5,
         {"B3+H", "H+B3+DB", "E8+B3", "A2"}},
        {"a stray sign: its glyph on most bodies", "TL", "\xE0", 1, {"H+E0"}},
        {"no vattu form of HA: a visible virama inside the cluster",
         "TL",
         "\xD8\xE8\xD8",
         3,
         {"D8", "H+E8", "D8"}},
        {"no vattu form of HA: KA dead on its headless body, the sign on HA",
         "TL",
         "\xB3\xE8\xD8\xDB",
         4,
         {"B3+H", "H+B3+E8", "D8+DB"}},
        {"LLA below LLA takes room beside it: sign U before it", "TL", "\xD2\xE8\xD2\xDD", 4,
         {"D2", "DD", "E8+D2"}},
        {"KSSA: KA and the SSA placed as in Noto's conjunct", "TL", "\xB3\xE8\xD6", 3,
         {"B3", "P+B3+E8+D6"}},
        {"KSSA + I: headless KA, the placed SSA, the sign as on KA",
         "TL",
         "\xB3\xE8\xD6\xDB",
         4,
         {"B3+H", "P+B3+E8+D6", "H+B3+DB"}},
        {"TTA below a consonant + aa glyph: its form for that place",
         "TL",
         "\xBD\xE8\xBD\xDA",
         4,
         {"BD+DA", "DA+E8+BD"}},
        {"bilingual: KA + I", "TLB", "\xB3\xDB", 2, {"B3+H", "H+B3+DB"}},
        {"PA RA + AA: the glyph of both, the RA vattu placed from its end",
         "TL",
         "\xC8\xE8\xCF\xDA",
         4,
         {"C8+DA", "DA+E8+CF"}},
        {"PA YA + AA: a vattu beside the glyph needs no other form",
         "TL",
         "\xC8\xE8\xCD\xDA",
         4,
         {"C8+DA", "E8+CD"}},
        {"KSSA + I: the conjunct's headless body (with its SSA) and the i sign as on KA",
         "TL",
         "\xB3\xE8\xD6\xDB",
         4,
         {"B3+E8+D6+H", "H+B3+E8+D6+DB"}},
        {"dead SA, TTA below it, at the end of a word",
         "TL",
         "\xD7\xE8\xBD\xE8",
         4,
         {"D7+H", "H+E8", "E8+BD"}},
        {"bilingual PA RA + AA: no such form, the usual vattu",
         "TLB",
         "\xC8\xE8\xCF\xDA",
         4,
         {"C8+DA", "E8+CF"}},
    });
}

TEST(SouthSyllable, Kannada) {
    CheckCases({
        {"KA + I: the consonant's i form", "KN", "\xB3\xDB", 2, {"B3+DB"}},
        {"KA + II: the i form and the length mark", "KN", "\xB3\xDC", 2, {"B3+DB", "DC"}},
        {"KA + AA: crestless KA and the aa sign", "KN", "\xB3\xDA", 2, {"B3+H", "H+DA"}},
        {"KA + O: the e form and the uu sign", "KN", "\xB3\xE4", 2, {"B3+E0", "E4"}},
        {"YA + O is a glyph of its own", "KN", "\xCD\xE4", 2, {"CD+E4"}},
        {"RA first in a cluster: the reph after the syllable",
         "KN",
         "\xCF\xE8\xB3\xDB",
         4,
         {"B3+DB", "R"}},
        {"RA first, sign O: e form, uu sign, then the reph",
         "KN",
         "\xCF\xE8\xB3\xE4",
         4,
         {"B3+E0", "E4", "R"}},
        {"KA KA + EE: e form, subscript, then the length mark",
         "KN",
         "\xB3\xE8\xB3\xE1",
         4,
         {"B3+E0", "E8+B3", "E1"}},
        {"KA KA + O: e form, uu sign, then the subscript",
         "KN",
         "\xB3\xE8\xB3\xE4",
         4,
         {"B3+E0", "E4", "E8+B3"}},
        {"SA KA + vocalic R: the sign after the subscript, in its lower form",
         "KN",
         "\xD7\xE8\xB3\xDF",
         4,
         {"D7", "E8+B3", "E8+DF"}},
        {"KA + vocalic R: no subscript, the sign's own glyph", "KN", "\xB3\xDF", 2, {"B3", "DF"}},
        {"SA VA + AI: e form, subscript, the lower ai length mark",
         "KN",
         "\xD7\xE8\xD4\xE2",
         4,
         {"D7+E0", "E8+D4", "E8+E2"}},
        {"KA + AI: the ai length mark after the e form", "KN", "\xB3\xE2", 2, {"B3+E0", "E2"}},
        {"KA + U: consonant and sign", "KN", "\xB3\xDD", 2, {"B3", "DD"}},
        {"PA + U: the font's glyph with pa's u sign", "KN", "\xC8\xDD", 2, {"C8+DD"}},
        {"PA + O: the e form and pa's own uu sign", "KN", "\xC8\xE4", 2, {"C8+E0", "H+C8+E0+E4"}},
        {"PA + OO: the e form, pa's uu sign, the length mark",
         "KN",
         "\xC8\xE5",
         2,
         {"C8+E0", "H+C8+E0+E4", "DC"}},
        {"VA + UU: the consonant and pa's uu sign", "KN", "\xD4\xDE", 2, {"D4", "H+C8+E0+E4"}},
        {"PA RA + O: pa's o, then the subscript",
         "KN",
         "\xC8\xE8\xCF\xE4",
         4,
         {"C8+E0", "H+C8+E0+E4", "E8+CF"}},
        {"RA first, PA + O: pa's o, then the reph",
         "KN",
         "\xCF\xE8\xC8\xE4",
         4,
         {"C8+E0", "H+C8+E0+E4", "R"}},
        {"dead NA at the end of a word: crestless NA and the virama",
         "KN",
         "\xC6\xE8",
         2,
         {"C6+H", "H+E8"}},
        {"dead TTA, SA below it, at the end of a word",
         "KN",
         "\xBD\xE8\xD7\xE8",
         4,
         {"BD+H", "H+E8", "E8+D7"}},
        {"KA RA + OO: e form, uu sign, subscript, then the length mark",
         "KN",
         "\xB3\xE8\xCF\xE5",
         4,
         {"B3+E0", "E4", "E8+CF", "DC"}},
        {"YA + OO: the font's yo, then the length mark", "KN", "\xCD\xE5", 2, {"CD+E4", "DC"}},
        {"PA RA + OO: pa's o, the subscript, then the length mark",
         "KN",
         "\xC8\xE8\xCF\xE5",
         4,
         {"C8+E4", "E8+CF", "DC"}},
        {"dead THA: its crestless body and the virama", "KN", "\xC3\xE8", 2, {"C3+H", "H+E8"}},
        {"SA TA RA: the two subscripts as one glyph",
         "KN",
         "\xD7\xE8\xC2\xE8\xCF",
         5,
         {"D7", "E8+C2+E8+CF"}},
        {"PHA + U: PHA and the u sign as Noto places it there",
         "KN",
         "\xC9\xDD",
         2,
         {"C9", "P+C9+DD"}},
        {"JNYA + AA: janya's crestless body and the aa sign",
         "KN",
         "\xBA\xE8\xBC\xDA",
         4,
         {"BA+E8+BC+H", "H+DA"}},
        {"KSSA + EE: kassa's e form and the length mark",
         "KN",
         "\xB3\xE8\xD6\xE1",
         4,
         {"B3+E8+D6+E0", "DC"}},
        {"a stray oo sign: all three parts", "KN", "\xE5", 1, {"E0", "E4", "DC"}},
        {"KA, soft halant, KA + OO: the length mark after the uu sign",
         "KN",
         "\xB3\xE8\xE9\xB3\xE5",
         5,
         {"B3+H", "H+E8", "E0", "B3", "E4", "DC"}},
        {"KSSA + AA: crestless KA with the SSA below it, and the aa sign",
         "KN",
         "\xB3\xE8\xD6\xDA",
         4,
         {"B3+H", "P+B3+E8+D6", "H+DA"}},
        {"JNYA + E: ja's e form and the NYA below it",
         "KN",
         "\xBA\xE8\xBC\xE0",
         4,
         {"BA+E0", "P+BA+E8+BC"}},
        {"PA SSA: the SSA below PA as below any consonant",
         "KN",
         "\xC8\xE8\xD6",
         3,
         {"C8", "E8+D6"}},
        {"a stray o sign: both parts", "KN", "\xE4", 1, {"E0", "E4"}},
        {"bilingual: KA + II", "KNB", "\xB3\xDC", 2, {"B3+DB", "DC"}},
    });
}

// Converts text syllable by syllable; fails on a syllable that consumes
// nothing, consumes past the end or writes past the output limit.
void CheckBounded(const IndicScript& script, const unsigned char* text, const char* what) {
    size_t length = strlen((const char*)text);
    size_t pos = 0;
    while (pos < length) {
        unsigned char out[NK_ADAPTER_OUT_MAX + 8];
        memset(out, 0xCC, sizeof out);
        int32_t consumed = 0, outLength = 0;
        IndicAdapterEntry(script, text + pos, out, &consumed, &outLength, 0);
        ASSERT_GE(consumed, 1) << what << " at " << pos;
        ASSERT_LE((size_t)consumed, length - pos) << what << " at " << pos;
        ASSERT_LE(strlen((const char*)out) + 1, (size_t)NK_ADAPTER_OUT_MAX) << what;
        ASSERT_EQ(0xCC, out[NK_ADAPTER_OUT_MAX]) << what << ": wrote past the limit";
        pos += (size_t)consumed;
    }
}

TEST(SouthSyllable, EveryByteSequenceIsBounded) {
    const unsigned char tails[][6] = {{0},
                                      {0xE8, 0},
                                      {0xE8, 0xE8, 0},
                                      {0xE8, 0xE9, 0},
                                      {0xE8, 0xE9, 0xB3, 0},
                                      {0xE4, 0xA2, 0xA3, 0},
                                      {0xE8, 0xCF, 0xE6, 0}};
    for (const Font& font : kFonts) {
        const IndicScript& script = font.script(font.font);
        for (int b = 1; b <= 0xFF; ++b) {
            for (const unsigned char* tail : tails) {
                unsigned char text[8] = {(unsigned char)b};
                memcpy(text + 1, tail, 6);
                char what[32];
                snprintf(what, sizeof what, "%s byte %02X", font.name, b);
                CheckBounded(script, text, what);
            }
        }
        // The longest cluster, each unit with nukta, then a split sign and modifiers.
        std::string text;
        for (int k = 0; k < 20; ++k)
            text += k ? "\xE8\xB3\xE9" : "\xB3\xE9";
        text += "\xE6\xA2\xA3";
        CheckBounded(script, (const unsigned char*)text.c_str(), font.name);
    }
}

} // namespace
