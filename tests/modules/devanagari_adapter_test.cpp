// The Devanagari syllable reader: what each syllable becomes in each font,
// and that no input makes an adapter overrun its output or stall the engine.
// Expected glyphs are named by their glyph-table keys, so the cases hold
// whatever codes the table gives them.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "include/nelkor.h"
#include "modules/devanagari/devanagari_adapter.h"
#include "tests/modules/glyph_keys.h"

namespace {

// The pair string expected for glyph keys (ASCII keys are written "'a").
std::string ExpectedPairs(int font, const std::vector<std::string>& keys) {
    return ExpectedGlyphs(DevanagariScript(font).inventory, keys, true);
}

struct SyllableCase {
    const char* what;
    int font;
    const char* iscii;
    int consumed;
    std::vector<std::string> glyphs;
};

const SyllableCase kSyllables[] = {
    {"three-consonant cluster: half SA + conjunct TRA",
     kFontDV,
     "\xD7\xE8\xC2\xE8\xCF",
     5,
     {"D7+E8", "C2+E8+CF"}},
    {"conjunct KSSA", kFontDV, "\xB3\xE8\xD6\xDA", 4, {"B3+E8+D6", "DA"}},
    {"half form before a full consonant", kFontDV, "\xC6\xE8\xC4\xDC", 4, {"C6+E8", "C4", "DC"}},
    {"no half form: explicit virama inside the cluster",
     kFontDV,
     "\xBD\xE8\xB3",
     3,
     {"BD", "E8", "B3"}},
    {"reph with short i: the sign carries the reph, before the cluster",
     kFontDV,
     "\xCF\xE8\xB3\xDB",
     4,
     {"DB+R", "B3"}},
    {"reph with long ii after the cluster", kFontDV, "\xCF\xE8\xC2\xDC", 4, {"C2", "DC+R"}},
    {"KA with long ii as one glyph, the reph after it",
     kFontDV,
     "\xCF\xE8\xB3\xDC",
     4,
     {"B3+DC", "R"}},
    {"reph over a two-consonant cluster", kFontDV, "\xCF\xE8\xC2\xE8\xCD", 5, {"C2+E8", "CD", "R"}},
    {"short i in its width before the whole cluster",
     kFontDV,
     "\xC6\xE8\xC4\xDB",
     4,
     {"DB+C6+E8+C4", "C6+E8", "C4"}},
    {"short i of NA's width before NA", kFontDV, "\xC6\xDB", 2, {"DB", "C6"}},
    {"short i with the reph keeps one width", kFontDV, "\xCF\xE8\xC6\xDB", 4, {"DB+R", "C6"}},
    {"short i after a visible virama: before the consonant after it",
     kFontDV,
     "\xBD\xE8\xB3\xDB",
     4,
     {"BD", "E8", "DB", "B3"}},
    {"bilingual font: DA without half form, short i before YA",
     kFontDVB,
     "\xC4\xE8\xCD\xDB",
     4,
     {"C4", "E8", "DB", "CD"}},
    {"halant at the end of the word", kFontDV, "\xB3\xE8", 2, {"B3", "E8"}},
    {"halant before a space ends the syllable", kFontDV, "\xB3\xE8 ", 2, {"B3", "E8"}},
    {"explicit halant: visible virama, no conjunct", kFontDV, "\xB3\xE8\xE8\xD6", 3, {"B3", "E8"}},
    {"soft halant: half form, no conjunct", kFontDV, "\xB3\xE8\xE9\xD6", 4, {"B3+E8", "D6"}},
    {"nukta after a conjunct", kFontDV, "\xB3\xE8\xD6\xE9", 4, {"B3+E8+D6", "E9"}},
    {"nukta letter with its own half form", kFontDV, "\xC9\xE9\xE8\xCD", 4, {"C9+E9+E8", "CD"}},
    {"nukta letter", kFontDV, "\xB3\xE9\xDC", 3, {"B3+E9", "DC"}},
    {"vowel sign after INV", kFontDV, "\xD9\xDA", 2, {"DA"}},
    {"short i after INV", kFontDV, "\xD9\xDB", 2, {"DB"}},
    {"rakar joined to its consonant", kFontDV, "\xC8\xE8\xCF\xE1", 4, {"C8+E8+CF", "E1"}},
    {"rakar sign where the font has no joined form", kFontDV, "\xD8\xE8\xCF", 3, {"D8", "E8+CF"}},
    {"the second set holds the joined form", kFontVD, "\xD8\xE8\xCF", 3, {"D8+E8+CF"}},
    {"RA with sign U is one glyph", kFontDV, "\xCF\xDD", 2, {"CF+DD"}},
    {"sign E with anusvara is one glyph", kFontDV, "\xC6\xE1\xA2", 3, {"C6", "E1+A2"}},
    {"KA carries its own sign E; the anusvara follows",
     kFontDV,
     "\xB3\xE1\xA2",
     3,
     {"B3+E1", "A2"}},
    {"vowel sign, then candrabindu and visarga",
     kFontDV,
     "\xB3\xDA\xA1\xA3",
     4,
     {"B3", "DA", "A1", "A3"}},
    {"independent vowel with anusvara", kFontDV, "\xA4\xA2\xB3", 2, {"A4", "A2"}},
    {"vocalic L vowel (vowel + nukta)", kFontDV, "\xA6\xE9", 2, {"A6+E9"}},
    {"OM", kFontDV, "\xA1\xE9\xB3", 2, {"A1+E9"}},
    {"double danda", kFontDV, "\xEA\xEA", 2, {"EA+EA"}},
    {"avagraha", kFontDV, "\xEA\xE9", 2, {"EA+E9"}},
    {"digit", kFontDV, "\xF3\xF4", 1, {"F3"}},
    {"ASCII passes as itself", kFontDV, "a\xB3", 1, {"'a"}},
    {"stray sign", kFontDV, "\xDA\xB3", 1, {"DA"}},
    {"stray halant", kFontDV, "\xE8\xB3", 1, {"E8"}},
    {"ATR and its byte draw nothing", kFontDV, "\xEF\x42\xB3", 2, {}},
    {"ATR at the end of the text", kFontDV, "\xEF", 1, {}},
    {"not ISCII: nothing drawn", kFontDV, "\xFE\xB3", 1, {}},
    {"no reph from RA + soft halant", kFontDV, "\xCF\xE8\xE9\xCD", 4, {"CF", "E8", "CD"}},
    {"RRA is never a reph", kFontDV, "\xD0\xE8\xCD", 3, {"D0", "E8", "CD"}},
    {"bilingual font: letter without its own glyph drawn with nukta",
     kFontDVB,
     "\xC7\xDA",
     2,
     {"C6", "E9", "DA"}},
    {"bilingual font: half forms as in the single font",
     kFontDVB,
     "\xC6\xE8\xC4",
     3,
     {"C6+E8", "C4"}},
    {"Sanskrit font: stacked DA + DHA", kFontSD, "\xC4\xE8\xC5\xCD", 3, {"C4+E8+C5"}},
    {"Sanskrit font: short e drawn as e", kFontSD, "\xC6\xE0", 2, {"C6", "E1"}},
    {"vocalic L sign (sign I + nukta) has its own glyph",
     kFontDV,
     "\xB3\xDB\xE9",
     3,
     {"B3", "DB+E9"}},
    {"vocalic L sign in the Sanskrit font", kFontSD, "\xB3\xDB\xE9", 3, {"B3", "DB+E9"}},
};

TEST(DevanagariSyllable, EachCase) {
    int row = 0;
    for (const SyllableCase& c : kSyllables) {
        int32_t consumed = 0;
        const std::string got = SyllableGlyphs(DevanagariScript(c.font), c.iscii, &consumed, true);
        EXPECT_EQ(Hex(ExpectedPairs(c.font, c.glyphs)), Hex(got)) << "row " << row << ": " << c.what;
        EXPECT_EQ(c.consumed, consumed) << "row " << row << ": " << c.what;
        ++row;
    }
}

// The engine's loop over a word: mode 4 once, then mode 0 per syllable.
std::string ConvertWord(int font, const std::string& iscii, int* calls) {
    const unsigned char* text = (const unsigned char*)iscii.c_str();
    unsigned char out[NK_ADAPTER_OUT_MAX];
    int32_t consumed = 0, length = 0;
    IndicAdapterEntry(DevanagariScript(font), text, out, &consumed, &length, 4);
    std::string pairs;
    *calls = 0;
    while (*text) {
        consumed = length = 0;
        IndicAdapterEntry(DevanagariScript(font), text, out, &consumed, &length, 0);
        pairs += (const char*)out;
        ++*calls;
        if (consumed < 1) break;
        text += consumed;
    }
    return pairs;
}

TEST(DevanagariSyllable, WordIsItsSyllables) {
    // कर्म: KA, then RA-MA with reph: the reph follows MA.
    int calls = 0;
    std::string pairs = ConvertWord(kFontDV, "\xB3\xCF\xE8\xCC", &calls);
    EXPECT_EQ(Hex(ExpectedPairs(kFontDV, {"B3", "CC", "R"})), Hex(pairs));
    EXPECT_EQ(2, calls);
    // स्त्री: one syllable.
    pairs = ConvertWord(kFontDV, "\xD7\xE8\xC2\xE8\xCF\xDC", &calls);
    EXPECT_EQ(Hex(ExpectedPairs(kFontDV, {"D7+E8", "C2+E8+CF", "DC"})), Hex(pairs));
    EXPECT_EQ(1, calls);
}

TEST(DevanagariSyllable, OtherModesWriteAnEmptyOutput) {
    for (int mode : {1, 3, 4, 5, 6, 7, -1}) {
        unsigned char out[NK_ADAPTER_OUT_MAX];
        memset(out, 0xCC, sizeof out);
        int32_t consumed = 77, length = 1;
        IndicAdapterEntry(DevanagariScript(kFontDV), (const unsigned char*)"\xB3\xDA", out,
                          &consumed, &length, mode);
        EXPECT_EQ(0, out[0]) << "mode " << mode;
        EXPECT_EQ(0xCC, out[1]) << "mode " << mode;
        EXPECT_EQ(77, consumed) << "mode " << mode;
    }
}

TEST(DevanagariSyllable, VariantsUseTheirSets) {
    for (int font = 0; font < kDevanagariFontCount; ++font) {
        const GlyphInventory& inventory = DevanagariScript(font).inventory;
        int second = 0;
        for (int i = 0; i < inventory.count; ++i) {
            char set = (char)inventory.entries[i].set;
            ASSERT_TRUE(set == '0' || set == '1') << "font " << font << " entry " << i;
            second += set == '1';
        }
        EXPECT_EQ(font == kFontVD, second > 0) << "font " << font;
    }
}

// Every ISCII letter and sign draws something in every font, through its own
// glyph or a substitute.
TEST(DevanagariSyllable, EveryLetterHasAGlyphInEveryFont) {
    for (int font = 0; font < kDevanagariFontCount; ++font) {
        for (int b = 0xA1; b <= 0xFA; ++b) {
            if (b == 0xD9 || (b >= 0xEB && b <= 0xF0)) continue;
            unsigned char text[2] = {(unsigned char)b, 0};
            unsigned char out[NK_ADAPTER_OUT_MAX];
            int32_t consumed = 0, length = 0;
            IndicAdapterEntry(DevanagariScript(font), text, out, &consumed, &length, 0);
            EXPECT_NE(0, out[0]) << "font " << font << " byte " << std::hex << b;
        }
    }
}

// Checks one call: the output stays inside 64 bytes (the canary after it is
// untouched), is whole pairs, and at least one byte is consumed.
void CheckBounded(int font, const unsigned char* text, const char* what) {
    unsigned char out[NK_ADAPTER_OUT_MAX + 16];
    memset(out, 0xCC, sizeof out);
    int32_t consumed = 0, length = 0;
    IndicAdapterEntry(DevanagariScript(font), text, out, &consumed, &length, 0);
    size_t used = strnlen((const char*)out, NK_ADAPTER_OUT_MAX);
    ASSERT_LT(used, (size_t)NK_ADAPTER_OUT_MAX) << what;
    ASSERT_EQ(0u, used % 2) << what;
    for (size_t k = NK_ADAPTER_OUT_MAX; k < sizeof out; ++k)
        ASSERT_EQ(0xCC, out[k]) << what;
    ASSERT_GE(consumed, 1) << what;
    ASSERT_LE((size_t)consumed, strlen((const char*)text)) << what;
}

TEST(DevanagariSyllable, LongClustersStopAtTheUnitLimit) {
    // 20 nukta consonants joined by halants, with a sign and modifiers.
    std::string text;
    for (int k = 0; k < 20; ++k)
        text += k ? "\xE8\xD0\xE9" : "\xD0\xE9";
    text += "\xDB\xA1\xA2\xA3";
    for (int font = 0; font < kDevanagariFontCount; ++font) {
        CheckBounded(font, (const unsigned char*)text.c_str(), "long cluster");
        int calls = 0;
        ConvertWord(font, text, &calls);
        // 8 + 8 + 4 units with the sign and two modifiers, then the third modifier.
        EXPECT_EQ(4, calls) << "font " << font;
    }
}

TEST(DevanagariSyllable, EveryByteSequenceIsBounded) {
    // Every byte followed by every continuation of interest, then random text.
    const unsigned char tails[][6] = {{0},
                                      {0xE8, 0},
                                      {0xE8, 0xE8, 0},
                                      {0xE8, 0xE9, 0},
                                      {0xE9, 0xE8, 0xB3, 0},
                                      {0xDB, 0xA2, 0},
                                      {0xE8, 0xCF, 0xDD, 0}};
    for (int font = 0; font < kDevanagariFontCount; ++font) {
        for (int b = 1; b <= 0xFF; ++b) {
            for (const unsigned char* tail : tails) {
                unsigned char text[8] = {(unsigned char)b};
                memcpy(text + 1, tail, 6);
                char what[32];
                snprintf(what, sizeof what, "font %d byte %02X", font, b);
                CheckBounded(font, text, what);
            }
        }
    }
    srand(12345);
    for (int round = 0; round < 20000; ++round) {
        unsigned char text[40];
        int n = 1 + rand() % 38;
        for (int k = 0; k < n; ++k) {
            // Mostly ISCII letters and joiners, some anything.
            int r = rand() % 10;
            text[k] = r < 4   ? (unsigned char)(0xB3 + rand() % 39)
                      : r < 7 ? (unsigned char)(0xE8 + rand() % 2)
                              : (unsigned char)(1 + rand() % 255);
        }
        text[n] = 0;
        CheckBounded(round % kDevanagariFontCount, text, "random text");
    }
}

} // namespace

// The first-byte index only narrows where lookups read: every text converts
// to the same pairs and consumes the same count as with a scan of the whole
// table, in every font, and each entry lies in its first byte's slice.
TEST(DevanagariSyllable, IndexedLookupsMatchWholeTableScans) {
    srand(777);
    for (int font = 0; font < kDevanagariFontCount; ++font) {
        const IndicScript& indexed = DevanagariScript(font);
        const GlyphInventory& inventory = indexed.inventory;
        ASSERT_NE(nullptr, inventory.byFirstByte);
        for (int i = 0; i < inventory.count; ++i) {
            const unsigned char first = inventory.entries[i].key[0];
            EXPECT_LE(inventory.byFirstByte[first], i);
            EXPECT_GT(inventory.byFirstByte[first + 1], i);
        }
        IndicScript scanning = indexed;
        scanning.inventory.byFirstByte = nullptr;
        for (int round = 0; round < 20000; ++round) {
            unsigned char text[16];
            const int n = 1 + rand() % 14;
            for (int k = 0; k < n; ++k)
                text[k] = (unsigned char)(0xA1 + rand() % 0x5A);
            text[n] = 0;
            unsigned char a[NK_ADAPTER_OUT_MAX], b[NK_ADAPTER_OUT_MAX];
            int32_t consumedA = 0, consumedB = 0, length = 0;
            IndicAdapterEntry(indexed, text, a, &consumedA, &length, 0);
            IndicAdapterEntry(scanning, text, b, &consumedB, &length, 0);
            ASSERT_EQ(consumedB, consumedA) << "font " << font << " round " << round;
            ASSERT_STREQ((const char*)b, (const char*)a) << "font " << font << " round " << round;
        }
    }
}
