// The composition arithmetic, natively: the key's codes, the syllable loop
// against fake adapters, the hyphen rule and the difference to type.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "driver/engine/compose_diff.h"

namespace {

// ---------------------------------------------------------------- key codes
KeyEntry MakeEntry(const char* normal, const char* shifted) {
    KeyEntry e;
    memset(&e, 0, sizeof e);
    strcpy(e.scriptNormal, normal);
    strcpy(e.scriptShifted, shifted);
    return e;
}

struct KeyRow {
    int scan, vk, script;
    bool special, shift, clear;
    int titleFlag;
    KeyCodesResult result;
    const char* text;
};

TEST(KeyCodes, Rows) {
    unsigned char ext[256] = {};
    ext[(unsigned char)'M'] = 0xA4;
    const KeyEntry entry = MakeEntry("\xB3", "\xB4\xE8\xCF");
    const KeyRow rows[] = {
        {37, 'K', 'B', false, false, false, 10, KEY_CODES_TEXT, "\xB3"},
        {37, 'K', 'B', false, true, false, 10, KEY_CODES_TEXT, "\xB4\xE8\xCF"},
        {37, 'K', 'B', false, true, true, 10, KEY_CODES_TEXT, "\xB4\xE8\xCF"}, // Shift first
        {37, 'K', 'B', false, false, true, 0, KEY_CODES_TEXT, "\xB3"}, // Clear needs a title flag
        {52, 190, 'B', false, false, true, 1, KEY_CODES_TEXT, "\xEA\xE9"},
        {53, 191, 'B', false, false, true, 10, KEY_CODES_TEXT, "\xA1\xE9"},
        {50, 'M', 'B', false, false, true, 10, KEY_CODES_TEXT, "\xF0\xA4"},
        {20, 'T', 'B', false, false, true, 10, KEY_CODES_BEEP, ""},
        {54, 'K', 'B', false, false, false, 10, KEY_CODES_PASS, ""},
        {70, 145, 'B', false, true, false, 10, KEY_CODES_PASS, ""},
        {1, 27, 'B', true, false, false, 10, KEY_CODES_TEXT, "\xD9"},
        {1, 27, 'M', true, false, false, 10, KEY_CODES_TEXT, "\xCA"},
        {1, 27, 'N', true, false, false, 10, KEY_CODES_TEXT, "\xCA"},
        {1, 27, 'P', true, false, false, 10, KEY_CODES_TEXT, "\xF0"},
        {70, 27, 'E', true, false, false, 10, KEY_CODES_TEXT, "\xD9"}, // special before scan test
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const KeyRow& r = rows[i];
        KeyCodesInput in = {r.scan,  r.vk,    r.script,    r.special,
                            r.shift, r.clear, r.titleFlag, r.scan < LAYOUT_KEYS ? &entry : nullptr,
                            ext};
        char text[KEY_CODES_SIZE];
        EXPECT_EQ(KeyCodes(in, text), r.result) << "row " << i;
        EXPECT_EQ(std::string(text), std::string(r.text)) << "row " << i;
    }
}

TEST(KeyCodes, UnterminatedFieldIsCutToEightCodes) {
    KeyEntry entry;
    memset(&entry, 0xB3, sizeof entry);
    KeyCodesInput in = {10, '9', 'B', false, false, false, 10, &entry, nullptr};
    char text[KEY_CODES_SIZE];
    ASSERT_EQ(KeyCodes(in, text), KEY_CODES_TEXT);
    EXPECT_EQ(strlen(text), 8u);
}

TEST(RemapUkVowel, IndependentVowelAfterALetterBecomesItsSign) {
    struct Row {
        unsigned char first;
        size_t wordLength;
        unsigned char expected;
    } rows[] = {{0xA6, 1, 0xDB}, {0xA4, 3, 0xE8}, {0xA5, 1, 0xDA}, {0xB2, 1, 0xE7},
                {0xA3, 1, 0xA3}, {0xB3, 1, 0xB3}, {0xA6, 0, 0xA6}};
    for (const Row& r : rows) {
        char text[3] = {(char)r.first, (char)0xE8, 0};
        RemapUkVowel(text, r.wordLength);
        EXPECT_EQ((unsigned char)text[0], r.expected) << std::hex << (int)r.first;
        EXPECT_EQ((unsigned char)text[1], 0xE8); // only the first code changes
    }
}

// ---------------------------------------------------------------- hyphen
TEST(HyphenWanted, Rows) {
    struct Row {
        bool allowed;
        int script;
        unsigned char glyph;
        int count;
        bool remains, expected;
    } rows[] = {
        {true, 'E', 0x41, 3, true, true},   {true, 'E', 0x40, 3, true, false},
        {true, 'E', 0x41, 2, true, false},  {true, 'E', 0x41, 3, false, false},
        {false, 'E', 0x41, 3, true, false}, {true, 'B', 0x41, 3, true, false},
        {true, 'D', 0x63, 5, true, true},   {true, 'D', 0x64, 5, true, false},
        {true, 'D', 0x7A, 5, true, false},  {true, 'D', 0x7B, 5, true, true},
        {true, 'I', 0xAC, 3, true, false},  {true, 'I', 0xE2, 3, true, false},
        {true, 'I', 0xAD, 3, true, true},   {true, 'C', 0x90, 4, true, false},
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const Row& r = rows[i];
        EXPECT_EQ(HyphenWanted({r.allowed, r.script}, r.glyph, r.count, r.remains), r.expected)
            << "row " << i;
    }
}

// ---------------------------------------------------------------- syllables
// Fake adapters: one syllable per byte, glyph = byte, set '0'; a few bytes
// misbehave on purpose.
int modeFourCalls;

int __cdecl OnePerByte(const unsigned char* text, unsigned char* out, int32_t* consumed,
                       int32_t* length, int32_t mode) {
    (void)length;
    if (mode == 4) {
        ++modeFourCalls;
        return 0;
    }
    switch (text[0]) {
    case '0':
        *consumed = 0;
        out[0] = 'X';
        out[1] = '0';
        out[2] = 0;
        return 0; // nothing consumed
    case '9':
        *consumed = 50;
        out[0] = 0;
        return 0; // more than remains
    case '#':
        memset(out, 'G', 200);
        *consumed = 1;
        return 0; // no terminator
    case '*':     // 31 pairs
        for (int i = 0; i < 31; ++i)
            out[2 * i] = 'A', out[2 * i + 1] = '0';
        out[62] = 0;
        *consumed = 1;
        return 0;
    default:
        out[0] = text[0];
        out[1] = '0';
        out[2] = 0;
        *consumed = 1;
        return 0;
    }
}

struct Buffers {
    char output[384], pairs[252], glyphs[256], scratch[256];
    SyllableBuffers View() {
        return {output, sizeof output, pairs,   sizeof pairs,
                glyphs, sizeof glyphs, scratch, sizeof scratch};
    }
};

ConvertResult Convert(const char* text, Buffers& b, HyphenRule rule = {false, 'B'},
                      int32_t* count = nullptr) {
    AdapterCursor cursor = {nullptr, 7, 7};
    int32_t syllables = -1;
    ConvertResult r = ConvertSyllables(OnePerByte, text, b.View(), rule, &cursor, &syllables);
    if (count) *count = syllables;
    return r;
}

TEST(ConvertSyllables, PairsAndGlyphs) {
    Buffers b;
    modeFourCalls = 0;
    int32_t count = 0;
    EXPECT_EQ(Convert("ABC", b, {false, 'B'}, &count), CONVERT_OK);
    EXPECT_STREQ(b.pairs, "A0B0C0");
    EXPECT_STREQ(b.glyphs, "ABC");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(modeFourCalls, 1);
    EXPECT_EQ(Convert("", b, {false, 'B'}, &count), CONVERT_OK);
    EXPECT_STREQ(b.glyphs, "");
    EXPECT_EQ(count, 0);
}

TEST(ConvertSyllables, AdapterThatConsumesNothingOrTooMuchStopsTheLoop) {
    Buffers b;
    EXPECT_EQ(Convert("AB0CD", b), CONVERT_STOPPED);
    EXPECT_STREQ(b.glyphs, "AB"); // the output of the bad call is not taken
    EXPECT_STREQ(b.pairs, "A0B0");
    EXPECT_EQ(Convert("A9", b), CONVERT_STOPPED);
    EXPECT_STREQ(b.glyphs, "A");
}

TEST(ConvertSyllables, UnterminatedOutputIsCutToWholePairsWithinTheContract) {
    Buffers b;
    EXPECT_EQ(Convert("#", b), CONVERT_OK);
    EXPECT_EQ(strlen(b.pairs), (size_t)NK_ADAPTER_OUT_MAX - 2);
    EXPECT_EQ(strlen(b.glyphs), (size_t)(NK_ADAPTER_OUT_MAX - 2) / 2);
}

TEST(ConvertSyllables, MorePairsThanTheBuffersHoldIsAnOverflow) {
    Buffers b;
    EXPECT_EQ(Convert("****", b), CONVERT_OK); // 124 pairs: 248 bytes fit in 252
    EXPECT_EQ(strlen(b.pairs), 248u);
    EXPECT_EQ(Convert("*****", b), CONVERT_OVERFLOW);
    EXPECT_LT(strlen(b.pairs), sizeof b.pairs);
    EXPECT_LT(strlen(b.glyphs), sizeof b.glyphs);
    // Hyphens count against the glyphs, not the pairs.
    Buffers c;
    EXPECT_EQ(Convert("ABCDEFGHIJKLMNOPQRSTUVWXYZ", c, {true, 'E'}), CONVERT_OK);
    EXPECT_EQ(strlen(c.glyphs), 26u + 23u); // hyphen before syllables 3..25
}

TEST(ConvertSyllables, TeluguHyphenFromTheThirdSyllableWhileInputRemains) {
    Buffers b;
    EXPECT_EQ(Convert("ABC", b, {true, 'E'}), CONVERT_OK);
    EXPECT_STREQ(b.glyphs, "ABC"); // nothing follows the third syllable
    EXPECT_EQ(Convert("ABCD", b, {true, 'E'}), CONVERT_OK);
    EXPECT_STREQ(b.glyphs, "AB-CD");
    EXPECT_STREQ(b.pairs, "A0B0C0D0"); // the hyphen is not a pair
    EXPECT_STREQ(b.output, "D0");
    EXPECT_EQ(Convert("ABCD", b, {false, 'E'}), CONVERT_OK);
    EXPECT_STREQ(b.glyphs, "ABCD");
    EXPECT_EQ(Convert("AB!D", b, {true, 'E'}), CONVERT_OK); // '!' is not above 0x40
    EXPECT_STREQ(b.glyphs, "AB!D");
}

// ---------------------------------------------------------------- the diff
TEST(DiffWord, Rows) {
    struct Row {
        const char *shown, *fresh, *shownPairs, *newPairs;
        bool sets;
        size_t common, erase;
        int setIndex, eraseSet;
    } rows[] = {
        {"S", "{S", "S0", "{0S0", false, 0, 1, 1, -1},       // first glyph changes: all erased
        {"S", "SS", "S0", "S0S0", false, 1, 0, 3, -1},       // appended: nothing erased
        {"S{S", "SS", "S0{0S0", "S0S0", false, 1, 2, 3, -1}, // Backspace
        {"", "S", "", "S0", false, 0, 0, 1, -1},
        {"Sl", "Sl", "S0l0", "S0l1", true, 1, 1, 3, '0'}, // same glyph, other set
        {"Sl", "Sl", "S0l0", "S0l1", false, 2, 0, 5, -1},
        {"Sl", "Slm", "S0l1", "S0l1m1", true, 2, 0, 5, -1},
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const Row& r = rows[i];
        WordDiff d =
            DiffWord(r.shown, 256, r.fresh, 256, r.shownPairs, 256, r.newPairs, 252, r.sets);
        EXPECT_EQ(d.common, r.common) << "row " << i;
        EXPECT_EQ(d.eraseCount, r.erase) << "row " << i;
        EXPECT_EQ(d.setIndex, r.setIndex) << "row " << i;
        EXPECT_EQ(d.eraseSet, r.eraseSet) << "row " << i;
    }
}

TEST(DiffWord, UnterminatedBuffersStayInBounds) {
    char shown[4] = {'A', 'B', 'C', 'D'}, fresh[4] = {'A', 'B', 'X', 'Y'};
    char pairs[4] = {'A', '0', 'B', '0'};
    WordDiff d = DiffWord(shown, sizeof shown, fresh, sizeof fresh, pairs, sizeof pairs, pairs,
                          sizeof pairs, true);
    EXPECT_EQ(d.common, 2u);
    EXPECT_EQ(d.eraseCount, 2u);
    EXPECT_EQ(SetByteAt(pairs, sizeof pairs, 5), 0);
    EXPECT_EQ(SetByteAt(pairs, sizeof pairs, -1), 0);
}

} // namespace
