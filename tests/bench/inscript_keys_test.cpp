// The Inscript key helper the bench and the soak test type with: every
// single code of the layout file has a key that types exactly it, words
// become keys or are refused, and the US key names agree with each other.
#include <gtest/gtest.h>

#include <string.h>

#include "tests/bench/inscript_keys.h"

#ifndef NK_STAGE_DATA_DIR
#error "NK_STAGE_DATA_DIR names the folder of INSKBD.BIN"
#endif

namespace {

class InscriptKeysTest : public ::testing::Test {
protected:
    static LayoutTable table;
    static KeyFinder finder;
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadLayoutFile(NK_STAGE_DATA_DIR "/INSKBD.BIN", 'B', &table));
        BuildKeyFinder(table, &finder);
    }
};
LayoutTable InscriptKeysTest::table;
KeyFinder InscriptKeysTest::finder;

TEST_F(InscriptKeysTest, EveryKnownCodeIsTypedByItsKey) {
    int known = 0;
    for (int code = 1; code < 256; ++code) {
        if (!finder.known[code]) continue;
        ++known;
        const InscriptKey k = finder.byCode[code];
        const KeyEntry& e = table.keys[k.scan];
        const char* text = k.shift ? e.scriptShifted : e.scriptNormal;
        EXPECT_EQ((unsigned char)text[0], code) << "code " << code;
        EXPECT_EQ(text[1], 0) << "code " << code;
        EXPECT_GE(k.scan, 2) << "the Esc position is never used";
        EXPECT_NE(UsKeyChar(k.scan, k.shift), 0) << "code " << code;
    }
    EXPECT_GT(known, 80); // the consonants, vowels, signs, digits and marks
}

TEST_F(InscriptKeysTest, PlainKeysWinOverShiftedOnes) {
    EXPECT_FALSE(finder.byCode[0xB3].shift); // KA: k
    EXPECT_EQ(finder.byCode[0xB3].scan, 37);
    EXPECT_TRUE(finder.byCode[0xB4].shift); // KHA: Shift+k
    EXPECT_EQ(finder.byCode[0xE4].scan, 41); // the grave key, not scan 1
}

TEST_F(InscriptKeysTest, AWordBecomesOneKeyPerCode) {
    InscriptKey keys[8];
    // An ATR pair as ICU begins its ISCII output, then KA, the sign I, NA.
    const unsigned char word[] = {0xEF, 0x42, 0xB3, 0xDB, 0xC6, 0};
    ASSERT_EQ(WordKeys(finder, word, keys, 8), 3);
    EXPECT_EQ(UsKeyChar(keys[0].scan, keys[0].shift), 'k');
    EXPECT_EQ(UsKeyChar(keys[1].scan, keys[1].shift), 'f');
    EXPECT_EQ(UsKeyChar(keys[2].scan, keys[2].shift), 'v');
    EXPECT_EQ(WordKeys(finder, word, keys, 2), -1); // longer than allowed
    const unsigned char isciiDigit[] = {0xB3, 0xF1, 0}; // ISCII digits have no Inscript key
    EXPECT_EQ(WordKeys(finder, isciiDigit, keys, 8), -1);
}

TEST(UsKeys, VirtualKeysAndCharactersAgree) {
    for (int scan = 0; scan < LAYOUT_KEYS; ++scan) {
        const char c = UsKeyChar(scan, false);
        EXPECT_EQ(c != 0, UsVirtualKey(scan) != 0) << "scan " << scan;
        if (c >= 'a' && c <= 'z') {
            EXPECT_EQ(UsVirtualKey(scan), c - 'a' + 'A');
            EXPECT_EQ(UsKeyChar(scan, true), c - 'a' + 'A');
        }
    }
    EXPECT_EQ(UsKeyChar(2, true), '!');
    EXPECT_EQ(UsVirtualKey(53), 0xBF); // slash
    EXPECT_EQ(UsKeyChar(54, false), 0);
}

} // namespace
