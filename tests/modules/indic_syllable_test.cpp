// The shared syllable reader on a small made-up inventory: the behaviour
// each script switches on by its data (split vowels, pre-base signs after a
// visible virama, subjoined forms, terminal soft forms, the alternative
// anusvara, the gemination mark, marks placed per glyph). Codes are
// arbitrary; rows name glyphs by their codes.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "include/nelkor.h"
#include "modules/common/indic_syllable.h"
#include "tests/modules/glyph_keys.h"

namespace {

// key bytes, code
#define E(code, n, ...)                                                                            \
    { {__VA_ARGS__}, n, code, '0' }

const GlyphEntry kEntries[] = {
    E(0x41, 1, 0xB3),             // KA
    E(0x42, 1, 0xC2),             // TA
    E(0x43, 1, 0xCF),             // RA
    E(0x44, 1, 0xCD),             // YA
    E(0x45, 1, 0xD7),             // SA
    E(0x46, 1, 0xBD),             // TTA
    E(0x50, 1, 0xDA),             // sign AA
    E(0x51, 1, 0xDB),             // sign I (pre-base)
    E(0x52, 1, 0xE1),             // sign E (pre-base)
    E(0x53, 1, 0xE6),             // right part of sign AU
    E(0x54, 1, 0xDD),             // sign U
    E(0x60, 1, 0xE8),             // virama
    E(0x61, 2, 0xE8, 0xCD),       // ya-phala (post-base)
    E(0x62, 2, 0xE8, 0xCF),       // ra-phala (below-base)
    E(0x63, 3, 0xB3, 0xE8, 0xC2), // conjunct KA-TA
    E(0x64, 3, 0xC2, 0xE8, 0xE9), // khanda ta
    E(0x65, 2, 0xD7, 0xE8),       // half SA
    E(0x70, 1, 0xA2),             // anusvara
    E(0x71, 1, kTokenAltAnusvara),
    E(0x76, 2, 0xDC, kTokenReph), // sign II + reph as one glyph
    E(0x77, 1, 0xA1),             // candrabindu
    E(0x78, 2, 0xC2, 0xA1),       // TA with its candrabindu
    E(0x72, 1, kTokenReph),
    E(0x73, 1, kTokenGemination),
    E(0x66, 4, 0xDB, 0xB3, 0xE8, 0xC2), // sign I in its form before KA-TA
    E(0x67, 2, 0xBD, 0xDB),             // TTA + sign I as one glyph
    E(0x74, 1, 0xA4),                   // vowel A
    E(0x75, 1, 0xA5),                   // vowel AA
    E(0x79, 3, kTokenPlaced, 0xD7, 0xDD),       // sign U where the font places it on SA
    E(0x7A, 3, kTokenPlaced, 0xD7, 0xA1),       // candrabindu on SA
    E(0x7B, 3, kTokenPlaced, 0xD7, 0xE8),       // virama on SA
    E(0x7C, 4, kTokenPlaced, 0xB3, 0xE8, 0xCF), // ra-phala under KA
    E(0x48, 2, 0xD7, kTokenBaseForm),           // SA before a subjoined form
    E(0x7D, 4, kTokenPlaced, 0xD7, 0xE8, 0xCD), // ya-phala placed on SA
};

const unsigned char kPreBase[] = {0xDB, 0xE1, 0};
const SplitSign kSplit[] = {{0xE5, 0xE1, 0xDA}, {0xE6, 0xE1, 0xE6}, {0, 0, 0}};
const unsigned char kAltAfter[] = {kNoSign, 0xDB, 0xDD, 0xA4, 0};

const unsigned char kPostBase[] = {0xCD, 0};
const unsigned char kBelowBase[] = {0xDD, 0};
const unsigned char kConsonantMarks[] = {0xA1, 0};
const unsigned char kFullBefore[] = {0xCF, 0};

IndicScript TestScript(bool gemination) {
    IndicScript script = {{kEntries, (int)(sizeof kEntries / sizeof kEntries[0]), nullptr}, kPreBase, true};
    script.splitSigns = kSplit;
    script.altAnusvaraAfter = kAltAfter;
    script.geminationMark = gemination;
    // The rows without gemination stand for a script that draws the reph on
    // the consonant and subjoins ya after it.
    script.rephBeforeSigns = !gemination;
    script.postBaseConsonants = kPostBase;
    script.belowBaseSigns = kBelowBase;
    script.consonantMarks = gemination ? nullptr : kConsonantMarks;
    script.fullBeforeForms = kFullBefore;
    return script;
}

struct Row {
    const char* what;
    bool gemination;
    const char* iscii;
    int consumed;
    const char* codes; // glyph codes in order
};

const Row kRows[] = {
    {"split O around a three-consonant cluster", false, "\xD7\xE8\xB3\xE8\xC2\xE5", 6,
     "\x52\x65\x63\x50"},
    {"split AU: left part E, right part its own", false, "\xB3\xE6", 2, "\x52\x41\x53"},
    {"pre-base sign with reph: sign first, reph after", false, "\xCF\xE8\xB3\xE1", 4,
     "\x52\x41\x72"},
    {"pre-base sign after a visible virama", false, "\xBD\xE8\xB3\xDB", 4, "\x46\x60\x51\x41"},
    {"ya-phala after a conjunct", false, "\xB3\xE8\xC2\xE8\xCD\xDA", 6, "\x63\x61\x50"},
    {"no half form before a subjoined consonant", false, "\xD7\xE8\xCF", 3, "\x45\x62"},
    {"half form before a consonant with nukta", false, "\xD7\xE8\xCF\xE9", 4, "\x65\x43"},
    {"khanda ta ends the cluster", false, "\xC2\xE8\xE9\xD7", 3, "\x64"},
    {"soft halant without a soft form: half form", false, "\xD7\xE8\xE9\xB3", 4, "\x65\x41"},
    {"anusvara after the bare consonant: alternative form", false, "\xB3\xA2", 2, "\x41\x71"},
    {"anusvara after sign AA: plain", false, "\xB3\xDA\xA2", 3, "\x41\x50\x70"},
    {"anusvara after sign U: alternative form", false, "\xB3\xDD\xA2", 3, "\x41\x54\x71"},
    {"anusvara after vowel A: alternative form", false, "\xA4\xA2", 2, "\x74\x71"},
    {"anusvara after vowel AA: plain", false, "\xA5\xA2", 2, "\x75\x70"},
    {"doubled consonant: gemination mark", true, "\xB3\xE8\xB3\xDA", 4, "\x73\x41\x50"},
    {"doubled consonant without the rule: visible virama", false, "\xB3\xE8\xB3", 3,
     "\x41\x60\x41"},
    {"gemination mark before a pre-base sign", true, "\xB3\xE8\xB3\xDB", 4, "\x73\x51\x41"},
    {"reph on the consonant, before sign AA", false, "\xCF\xE8\xB3\xDA\xA2", 5, "\x41\x72\x50\x70"},
    {"sign II and reph as one glyph, not reph first", false, "\xCF\xE8\xB3\xDC", 4, "\x41\x76"},
    {"candrabindu on the consonant, before sign AA", false, "\xB3\xDA\xA1", 3, "\x41\x77\x50"},
    {"candrabindu joined to its consonant", false, "\xC2\xDA\xA1", 3, "\x78\x50"},
    {"candrabindu at the end where the script says so", true, "\xB3\xDA\xA1", 3, "\x41\x50\x77"},
    {"reph at the end where the script says so", true, "\xCF\xE8\xB3\xDA", 4, "\x41\x50\x72"},
    {"sign U under the consonant, before the ya-phala", false, "\xC2\xE8\xCD\xDD", 4,
     "\x42\x54\x61"},
    {"sign I in the form the font has before its cluster", false, "\xB3\xE8\xC2\xDB", 4,
     "\x66\x63"},
    {"cluster and pre-base sign as one glyph, reph after", false, "\xCF\xE8\xBD\xDB", 4,
     "\x67\x72"},
    {"plain sign I before another cluster", false, "\xD7\xE8\xB3\xDB", 4, "\x51\x65\x41"},
    {"sign AA after the ya-phala", false, "\xC2\xE8\xCD\xDA", 4, "\x42\x61\x50"},
    {"sign placed on the cluster's last glyph", false, "\xD7\xDD", 2, "\x45\x79"},
    {"the reph leaves its consonant the base of the sign", false, "\xCF\xE8\xD7\xDD", 4,
     "\x45\x72\x79"},
    {"consonant mark placed on its consonant, sign AA after", false, "\xD7\xDA\xA1", 3,
     "\x45\x7A\x50"},
    {"modifier placed on the consonant", true, "\xD7\xA1", 2, "\x45\x7A"},
    {"after a spacing sign the modifier sits on the sign", true, "\xD7\xDA\xA1", 3,
     "\x45\x50\x77"},
    {"virama placed on the consonant before it", false, "\xD7\xE8", 2, "\x45\x7B"},
    {"subjoined form placed on its consonant", false, "\xB3\xE8\xCF", 3, "\x41\x7C"},
    {"subjoined form without a place on the consonant", false, "\xC2\xE8\xCF", 3,
     "\x42\x62"},
    {"base form before the ya-phala, placed as on the whole SA", false, "\xD7\xE8\xCD", 3,
     "\x48\x7D"},
    {"base form, sign U under it before the ya-phala", false, "\xD7\xE8\xCD\xDD", 4,
     "\x48\x54\x7D"},
    {"whole SA before the ra-phala, which the script keeps it whole for", false,
     "\xD7\xE8\xCF\xDA", 4, "\x45\x62\x50"},
    {"whole SA after the explicit halant", false, "\xD7\xE8\xE8\xCD", 3, "\x45\x7B"},
    {"no base form for a consonant with a nukta", false, "\xD7\xE9\xE8\xCD", 4,
     "\x45\x7D"},
};

// One syllable of a row through the adapter entry: the glyph codes it gives
// and the bytes it takes.
void ExpectRow(const IndicScript& script, const Row& row, int index) {
    int32_t consumed = 0;
    const std::string codes = SyllableGlyphs(script, row.iscii, &consumed, false);
    EXPECT_EQ(std::string(row.codes), codes) << "row " << index << ": " << row.what;
    EXPECT_EQ(row.consumed, consumed) << "row " << index << ": " << row.what;
}

TEST(IndicSyllable, ScriptData) {
    int index = 0;
    for (const Row& row : kRows) {
        IndicScript script = TestScript(row.gemination);
        ExpectRow(script, row, index++);
    }
}

// A script whose signs follow the first consonant of the cluster (Telugu,
// Kannada): glyphs for a consonant with its sign, headless bodies and the
// signs on them, below-base forms, a split sign whose left part joins.
const GlyphEntry kAfterFirstEntries[] = {
    E(0x41, 1, 0xB3),                       // KA
    E(0x42, 1, 0xC2),                       // TA
    E(0x44, 2, 0xB3, kTokenHeadless),       // KA without its head
    E(0x51, 2, kTokenHeadless, 0xDB),       // sign I on most bodies
    E(0x52, 3, kTokenHeadless, 0xB3, 0xE0), // sign E at KA's own place
    E(0x53, 2, 0xC2, 0xDB),                 // TA + sign I as one glyph
    E(0x54, 1, 0xDD),                       // sign U
    E(0x55, 1, 0xDF),                       // sign vocalic R
    E(0x56, 2, kTokenHeadless, 0xE8),       // virama on most bodies
    E(0x57, 1, 0xE4),                       // right part of sign O
    E(0x58, 1, 0xE0),                       // sign E alone
    E(0x61, 2, 0xE8, 0xC2),                 // TA below
};
const unsigned char kHeadSigns[] = {0xDB, 0xE0, 0xE8, 0};
const SplitSign kAfterFirstSplit[] = {{0xE4, 0xE0, 0xE4}, {0, 0, 0}};
const unsigned char kAfterBelow[] = {0xDF, 0};

const Row kAfterFirstRows[] = {
    {"KA + I: headless KA and the sign where it sits on most bodies", false, "\xB3\xDB", 2,
     "\x44\x51"},
    {"KA + E: headless KA and the sign at KA's own place", false, "\xB3\xE0", 2, "\x44\x52"},
    {"TA + I: the glyph for both", false, "\xC2\xDB", 2, "\x53"},
    {"TA + E: no body, no glyph for both: TA and the sign", false, "\xC2\xE0", 2, "\x42\x58"},
    {"KA TA + I: the sign after KA, TA below after it", false, "\xB3\xE8\xC2\xDB", 4,
     "\x44\x51\x61"},
    {"TA KA + I: no KA below, TA keeps its virama, the sign on KA", false, "\xC2\xE8\xB3\xDB", 4,
     "\x42\x56\x44\x51"},
    {"KA TA + vocalic R: the sign after the below form", false, "\xB3\xE8\xC2\xDF", 4,
     "\x41\x61\x55"},
    {"KA TA + U: the sign after KA, not a head sign", false, "\xB3\xE8\xC2\xDD", 4, "\x41\x54\x61"},
    {"split O: its left part joins KA, its right part follows", false, "\xB3\xE4", 2,
     "\x44\x52\x57"},
    {"dead KA alone: headless KA and the virama", false, "\xB3\xE8", 2, "\x44\x56"},
};

// Glyphs a key draws after its own code (Telugu's nii as the ni glyph and
// the length mark), and forms after a halant that take room of their own.
const GlyphEntry kSequenceEntries[] = {
    E(0x41, 1, 0xB3),                                    // KA
    E(0x42, 1, 0xC2),                                    // TA
    E(0x44, 2, 0xB3, kTokenHeadless),                    // KA without its head
    E(0x53, 2, 0xC2, 0xDB),                              // TA + sign I as one glyph
    {{0xC2, 0xDC}, 2, 0x53, '0', {0x5A}},                // TA + II: TA + I, then the length mark
    {{0xB3, 0xE2}, 2, 0x44, '0', {0x5B, 0x5C}},          // KA + AI: body, e part, ai part
    {{0xB3, 0xE1}, 2, 0x44, '0', {0x5D, 0}},             // KA + EE: body and the sign, then nothing
    E(0x5A, 4, kTokenHeadless, 0xC2, 0xDB, 0xDC),        // what II adds to TA + I
    E(0x54, 1, 0xDD),                                    // sign U
    E(0x55, 1, 0xDF),                                    // sign vocalic R
    E(0x61, 2, 0xE8, 0xC2),                              // TA below, under the consonant
    E(0x62, 2, 0xE8, 0xCD),                              // YA below, beside the consonant
    E(0x63, 2, 0xB3, 0xDA),                              // KA + sign AA as one glyph
    E(0x64, 3, 0xDA, 0xE8, 0xC2),                        // TA below a consonant + AA
};
const unsigned char kSequencePostBase[] = {0xCD, 0};
const unsigned char kSequenceBeforePost[] = {0xDD, 0};

const Row kSequenceRows[] = {
    {"TA + II: the glyphs the key names, in order", false, "\xC2\xDC", 2, "\x53\x5A"},
    {"KA + AI: three glyphs for one key", false, "\xB3\xE2", 2, "\x44\x5B\x5C"},
    {"KA + EE: a zero ends the glyphs", false, "\xB3\xE1", 2, "\x44\x5D"},
    {"TA TA + II: the sequence, then the form below", false, "\xC2\xE8\xC2\xDC", 4,
     "\x53\x5A\x61"},
    {"KA TA + U: the sign after a form under the consonant", false, "\xB3\xE8\xC2\xDD", 4,
     "\x41\x61\x54"},
    {"KA YA + U: the sign before a form beside it", false, "\xB3\xE8\xCD\xDD", 4,
     "\x41\x54\x62"},
    {"KA TA YA + U: under, the sign, beside", false, "\xB3\xE8\xC2\xE8\xCD\xDD", 6,
     "\x41\x61\x54\x62"},
    {"KA YA + vocalic R: not listed, after every form", false, "\xB3\xE8\xCD\xDF", 4,
     "\x41\x62\x55"},
    {"KA TA + AA: TA's form for under the consonant + AA glyph", false, "\xB3\xE8\xC2\xDA", 4,
     "\x63\x64"},
    {"KA YA + AA: no such form of YA, its usual one", false, "\xB3\xE8\xCD\xDA", 4,
     "\x63\x62"},
    {"KA TA TA + AA: only the form right after the glyph", false,
     "\xB3\xE8\xC2\xE8\xC2\xDA", 6, "\x63\x64\x61"},
    {"KA TA + AA + anusvara: the form, then the modifier", false,
     "\xB3\xE8\xC2\xDA\xA2", 5, "\x63\x64"},
};

TEST(IndicSyllable, KeysDrawingSeveralGlyphsAndFormsBeside) {
    IndicScript script = {
        {kSequenceEntries, (int)(sizeof kSequenceEntries / sizeof kSequenceEntries[0]), nullptr},
        nullptr,
        false};
    script.signAfterFirst = true;
    script.headSigns = kHeadSigns;
    script.afterBelowForms = kAfterBelow;
    script.postBaseConsonants = kSequencePostBase;
    script.beforePostBase = kSequenceBeforePost;
    int index = 0;
    for (const Row& row : kSequenceRows)
        ExpectRow(script, row, index++);
}

// A key's later glyphs obey the writer's bound like its first: what does
// not fit is dropped whole, the string stays terminated.
TEST(IndicSyllable, SequenceStopsAtTheWritersEnd) {
    const GlyphEntry entry = {{0xB3, 0xE2}, 2, 0x44, '0', {0x5B, 0x5C}};
    const struct {
        int capacity;
        const char* codes;
    } rows[] = {{1, ""}, {3, "\x44"}, {5, "\x44\x5B"}, {6, "\x44\x5B"}, {7, "\x44\x5B\x5C"}};
    for (const auto& row : rows) {
        unsigned char out[8];
        memset(out, 0xCC, sizeof out);
        PairWriter writer;
        BeginPairs(writer, out, row.capacity);
        PutEntry(writer, &entry);
        std::string codes;
        for (int k = 0; k < writer.used; k += 2)
            codes += (char)out[k];
        EXPECT_EQ(std::string(row.codes), codes) << "capacity " << row.capacity;
        EXPECT_EQ(0, out[writer.used]) << "capacity " << row.capacity;
        EXPECT_EQ(0xCC, out[row.capacity]) << "capacity " << row.capacity;
    }
}

TEST(IndicSyllable, SignAfterFirstConsonant) {
    IndicScript script = {
        {kAfterFirstEntries, (int)(sizeof kAfterFirstEntries / sizeof kAfterFirstEntries[0]),
         nullptr},
        nullptr,
        false};
    script.deadFormsVisible = true;
    script.signAfterFirst = true;
    script.headSigns = kHeadSigns;
    script.splitSigns = kAfterFirstSplit;
    script.afterBelowForms = kAfterBelow;
    int index = 0;
    for (const Row& row : kAfterFirstRows)
        ExpectRow(script, row, index++);
}

} // namespace
