// The Roman adapter: letters per syllable under each option, initial
// capitals across a word, and bounded output for any input.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>

#include "include/nelkor.h"
#include "modules/roman/roman_adapter.h"
#include "roman_letters.h"

namespace {

std::string S(std::initializer_list<unsigned char> codes) {
    return std::string(codes.begin(), codes.end());
}

void SetOption(int mode, int value) {
    unsigned char out[NK_ADAPTER_OUT_MAX];
    int32_t consumed = 0, length = value;
    RomanEntry((const unsigned char*)"", out, &consumed, &length, mode);
}

// Letters of one mode 0 call; consumed through *consumed.
std::string Syllable(const char* iscii, int* consumed) {
    unsigned char out[NK_ADAPTER_OUT_MAX];
    int32_t used = 0, length = 0;
    RomanEntry((const unsigned char*)iscii, out, &used, &length, 0);
    *consumed = used;
    std::string letters;
    for (int i = 0; out[i] && out[i + 1]; i += 2) {
        EXPECT_EQ('0', out[i + 1]);
        letters += (char)out[i];
    }
    return letters;
}

// The engine's loop: mode 4 on the word, then mode 0 per syllable.
std::string Word(const char* iscii) {
    unsigned char out[NK_ADAPTER_OUT_MAX];
    int32_t consumed = 0, length = 0;
    const unsigned char* text = (const unsigned char*)iscii;
    RomanEntry(text, out, &consumed, &length, 4);
    std::string letters;
    while (*text) {
        consumed = length = 0;
        RomanEntry(text, out, &consumed, &length, 0);
        for (int i = 0; out[i] && out[i + 1]; i += 2)
            letters += (char)out[i];
        if (consumed < 1) break;
        text += consumed;
    }
    return letters;
}

struct RomanCase {
    const char* what;
    int capitals, accent, lastScript;
    const char* iscii;
    int consumed;
    std::string letters;
};

const RomanCase kCases[] = {
    {"consonant with inherent a", 0, 0, 'B', "\xB3\xB3", 1, "ka"},
    {"vocalic r sign, IAST", 0, 0, 'B', "\xB3\xDF", 2, S({'k', kRm_r_dot_below})},
    {"vocalic r sign, ISO 15919", 0, 1, 'B', "\xB3\xDF", 2, S({'k', kRm_r_ring_below})},
    {"cluster with visarga", 0, 0, 'B', "\xD6\xE8\xC1\xA3", 4,
     S({kRm_s_dot_below, kRm_n_dot_below, 'a', kRm_h_dot_below})},
    {"anusvara, IAST", 0, 0, 'B', "\xD7\xA2", 2, S({'s', 'a', kRm_m_dot_below})},
    {"anusvara, ISO 15919", 0, 1, 'B', "\xD7\xA2", 2, S({'s', 'a', kRm_m_dot_above})},
    {"long e, IAST", 0, 0, 'B', "\xC8\xE1", 2, "pe"},
    {"long e, ISO 15919", 0, 1, 'B', "\xC8\xE1", 2, S({'p', kRm_e_macron})},
    {"long e after Tamil without the accent", 0, 0, 'D', "\xC8\xE1", 2, S({'p', kRm_e_macron})},
    {"short e after Tamil", 0, 0, 'D', "\xC8\xE0", 2, "pe"},
    {"short o, IAST", 0, 0, 'B', "\xAF", 1, S({kRm_o_breve})},
    {"va after Bengali", 0, 0, 'C', "\xD4\xDA", 2, S({'b', kRm_a_macron})},
    {"va after Devanagari", 0, 0, 'B', "\xD4\xDA", 2, S({'v', kRm_a_macron})},
    {"halant ends the word: no vowel", 0, 0, 'B', "\xCC\xE8", 2, "m"},
    {"explicit halant: no vowel, syllable ends", 0, 0, 'B', "\xB3\xE8\xE8\xD6", 3, "k"},
    {"soft halant joins like halant", 0, 0, 'B', "\xB3\xE8\xE9\xD6", 4,
     S({'k', kRm_s_dot_below, 'a'})},
    {"nukta letters", 0, 0, 'B', "\xB3\xE9\xDC", 3, S({'q', kRm_i_macron})},
    {"nukta after ddha", 0, 0, 'B', "\xC0\xE9", 2, S({kRm_r_dot_below, 'h', 'a'})},
    {"vowel sign after INV", 0, 0, 'B', "\xD9\xDA", 2, S({kRm_a_macron})},
    {"INV alone draws nothing", 0, 0, 'B', "\xD9", 1, ""},
    {"vocalic L vowel", 0, 1, 'B', "\xA6\xE9", 2, S({kRm_l_ring_below})},
    {"OM", 0, 0, 'B', "\xA1\xE9", 2, S({'o', kRm_m_dot_below})},
    {"candrabindu", 0, 0, 'B', "\xC2\xA1", 2, S({'t', 'a', kRm_m_candrabindu})},
    {"danda and double danda", 0, 0, 'B', "\xEA\xEA", 2, "||"},
    {"avagraha", 0, 0, 'B', "\xEA\xE9", 2, "'"},
    {"digit", 0, 0, 'B', "\xF8", 1, "7"},
    {"ASCII passes", 0, 0, 'B', "-", 1, "-"},
    {"upper case", 1, 0, 'B', "\xD5\xDE", 2, S({kRm_S_acute, kRm_U_macron})},
    {"initial capital of a syllable no word was given for", 2, 0, 'B', "\xD5\xDE", 2,
     S({kRm_S_acute, kRm_u_macron})},
    {"not ISCII", 0, 0, 'B', "\xFE", 1, ""},
};

class RomanAdapter : public ::testing::Test {
  protected:
    void TearDown() override { ResetRomanOptions(); }
};

TEST_F(RomanAdapter, EachCase) {
    int row = 0;
    for (const RomanCase& c : kCases) {
        ResetRomanOptions();
        SetOption(5, c.capitals);
        SetOption(6, c.accent);
        SetOption(3, c.lastScript);
        int consumed = 0;
        EXPECT_EQ(c.letters, Syllable(c.iscii, &consumed)) << "row " << row << ": " << c.what;
        EXPECT_EQ(c.consumed, consumed) << "row " << row << ": " << c.what;
        ++row;
    }
}

TEST_F(RomanAdapter, InitialCapitalOnlyAtTheWordStart) {
    SetOption(5, 2);
    // कर्मकाण्ड: Karmakāṇḍa, one capital.
    EXPECT_EQ(
        S({'K', 'a', 'r', 'm', 'a', 'k', kRm_a_macron, kRm_n_dot_below, kRm_d_dot_below, 'a'}),
        Word("\xB3\xCF\xE8\xCC\xB3\xDA\xC1\xE8\xBF"));
    // After a blank inside the text a new word starts.
    EXPECT_EQ("Ka Ka", Word("\xB3 \xB3"));
}

TEST_F(RomanAdapter, OptionsOutOfRangeAreIgnored) {
    SetOption(5, 1);
    SetOption(5, 7); // not a capitals mode
    int consumed = 0;
    EXPECT_EQ("KA", Syllable("\xB3", &consumed));
    // Option modes write an empty, terminated output.
    unsigned char out[4] = {0xCC, 0xCC, 0xCC, 0xCC};
    int32_t used = 0, value = 1;
    RomanEntry((const unsigned char*)"\xB3", out, &used, &value, 6);
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(0xCC, out[1]);
    RomanEntry((const unsigned char*)"\xB3", out, &used, nullptr, 3); // no length: no crash
}

TEST_F(RomanAdapter, EveryInputIsBounded) {
    srand(777);
    for (int round = 0; round < 20000; ++round) {
        unsigned char text[40];
        int n = 1 + rand() % 38;
        for (int k = 0; k < n; ++k) {
            int r = rand() % 10;
            text[k] = r < 5   ? (unsigned char)(0xB3 + rand() % 39)
                      : r < 7 ? (unsigned char)(0xE8 + rand() % 2)
                              : (unsigned char)(1 + rand() % 255);
        }
        text[n] = 0;
        SetOption(5, round % 3);
        SetOption(6, round % 2);
        unsigned char out[NK_ADAPTER_OUT_MAX + 16];
        memset(out, 0xCC, sizeof out);
        int32_t consumed = 0, length = 0;
        RomanEntry(text, out, &consumed, &length, 0);
        size_t used = strnlen((const char*)out, NK_ADAPTER_OUT_MAX);
        ASSERT_LT(used, (size_t)NK_ADAPTER_OUT_MAX) << "round " << round;
        ASSERT_EQ(0u, used % 2) << "round " << round;
        for (size_t k = NK_ADAPTER_OUT_MAX; k < sizeof out; ++k)
            ASSERT_EQ(0xCC, out[k]);
        ASSERT_GE(consumed, 1) << "round " << round;
        ASSERT_LE(consumed, n) << "round " << round;
    }
}

} // namespace
