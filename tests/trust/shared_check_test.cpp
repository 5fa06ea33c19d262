// The checks a hooked process applies to the shared section before it uses it.
#include <gtest/gtest.h>

#include <stddef.h>
#include <string.h>

#include <random>

#include "driver/engine/shared_check.h"

namespace {

// A record as the manager leaves it while the user types.
SharedState Typical() {
    SharedState s;
    memset(&s, 0, sizeof s);
    s.hookEnabled = 1;
    s.activeScript = SCRIPT_TAMIL;
    s.lastIndicScript = SCRIPT_TAMIL;
    s.keyboardKind = KBD_PHONETIC;
    s.typingMode = MODE_SCRIPT;
    s.switchKey = 20;
    s.defaultAppCategory = 13;
    s.romanCapitals = 2;
    s.romanAccent = 1;
    s.savedLockWhileDisabled = 2;
    s.syllableCount = 3;
    s.setIndex = 6;
    s.currentSet = '0';
    strcpy(s.adapterFileName, "tmtrop32.dll");
    strcpy(s.layoutPath, "C:\\VELTA\\PEKBD.BIN");
    strcpy(s.moduleDirectory, "C:\\VELTA\\");
    strcpy(s.wordIscii, "\xB3\xDA\xCF\xE8");
    strcpy(s.scriptFontNames['D' - 64], "TM-Velta");
    return s;
}

TEST(CheckSharedState, GoodValuesStayExactly) {
    SharedState s = Typical();
    SharedState before = s;
    CheckSharedState(&s);
    EXPECT_EQ(memcmp(&s, &before, sizeof s), 0);
    // Edges of each range are good values too.
    s.lastIndicScript = SCRIPT_LAST;
    s.keyboardKind = KBD_UK_INSCRIPT;
    s.typingMode = MODE_DISABLED_ENGLISH;
    s.switchKey = 255;
    s.activeScript = SCRIPT_NONE;
    before = s;
    CheckSharedState(&s);
    EXPECT_EQ(memcmp(&s, &before, sizeof s), 0);
}

TEST(CheckSharedState, ValuesOutOfRangeTakeTheirInitialValue) {
    struct Row {
        const char* name;
        size_t offset;
        int32_t bad;
        int32_t repaired;
    } rows[] = {
        {"activeScript", offsetof(SharedState, activeScript), 'T', SCRIPT_NONE},
        {"activeScript", offsetof(SharedState, activeScript), '@', SCRIPT_NONE},
        {"activeScript", offsetof(SharedState, activeScript), -65, SCRIPT_NONE},
        {"lastIndicScript", offsetof(SharedState, lastIndicScript), 1000, SCRIPT_NONE},
        {"keyboardKind", offsetof(SharedState, keyboardKind), 159, KBD_INSCRIPT},
        {"keyboardKind", offsetof(SharedState, keyboardKind), 165, KBD_INSCRIPT},
        {"typingMode", offsetof(SharedState, typingMode), 4, MODE_ENGLISH},
        {"typingMode", offsetof(SharedState, typingMode), -1, MODE_ENGLISH},
        {"switchKey", offsetof(SharedState, switchKey), 256, 0},
        {"switchKey", offsetof(SharedState, switchKey), -20, 0},
        {"defaultAppCategory", offsetof(SharedState, defaultAppCategory), 14, 0},
        {"romanCapitals", offsetof(SharedState, romanCapitals), 3, 0},
        {"romanAccent", offsetof(SharedState, romanAccent), 2, 0},
        {"savedLockWhileDisabled", offsetof(SharedState, savedLockWhileDisabled), 3, 2},
        {"savedLockInMenu", offsetof(SharedState, savedLockInMenu), 0x7FFFFFFF, 0},
        {"savedLockForControl", offsetof(SharedState, savedLockForControl), -2, 0},
        {"syllableCount", offsetof(SharedState, syllableCount), -1, 0},
        {"setIndex", offsetof(SharedState, setIndex), 1 << 30, 0},
        {"setIndex", offsetof(SharedState, setIndex), -2, 0},
    };
    const SharedState typical = Typical();
    for (const Row& r : rows) {
        SharedState s = typical;
        memcpy((char*)&s + r.offset, &r.bad, sizeof r.bad);
        CheckSharedState(&s);
        int32_t now;
        memcpy(&now, (char*)&s + r.offset, sizeof now);
        EXPECT_EQ(now, r.repaired) << r.name << " = " << r.bad;
        // Nothing else changes.
        memcpy((char*)&s + r.offset, (const char*)&typical + r.offset, sizeof now);
        EXPECT_EQ(memcmp(&s, &typical, sizeof s), 0) << r.name;
    }
}

// Every text of the record, with its field size.
struct TextField {
    const char* name;
    size_t offset, size;
};
#define NK_TEXT(field) {#field, offsetof(SharedState, field), sizeof(((SharedState*)0)->field)}
const TextField kTexts[] = {
    NK_TEXT(adapterFileName), NK_TEXT(layoutPath),     NK_TEXT(converterFileName),
    NK_TEXT(activeTitle),     NK_TEXT(className),      NK_TEXT(convertedText),
    NK_TEXT(syllableOutput),  NK_TEXT(newPairs),       NK_TEXT(shownPairs),
    NK_TEXT(newGlyphs),       NK_TEXT(shownGlyphs),    NK_TEXT(managerTitle),
    NK_TEXT(moduleDirectory), NK_TEXT(iniDirectory),   NK_TEXT(nameScratch),
    NK_TEXT(sharedPrefixList),
};
#undef NK_TEXT

// What every reader may rely on once the record is checked.
void ExpectUsable(const SharedState& s, const char* context) {
    for (const TextField& t : kTexts)
        EXPECT_LT(strnlen((const char*)&s + t.offset, t.size), t.size) << t.name << context;
    EXPECT_LE(strnlen(s.wordIscii, sizeof s.wordIscii), (size_t)NK_WORD_MAX_CODES) << context;
    for (int i = 0; i < NK_SCRIPT_SLOTS; ++i)
        EXPECT_LT(strnlen(s.scriptDisplayNames[i], NK_DISPLAY_NAME_SIZE),
                  (size_t)NK_DISPLAY_NAME_SIZE);
    for (int i = 0; i < NK_FONT_SLOTS; ++i) {
        EXPECT_LT(strnlen(s.scriptFontNames[i], NK_FONT_NAME_SIZE), (size_t)NK_FONT_NAME_SIZE);
        EXPECT_LT(strnlen(s.englishFontNames[i], NK_FONT_NAME_SIZE), (size_t)NK_FONT_NAME_SIZE);
        EXPECT_LT(strnlen(s.bilingualFontNames[i], NK_FONT_NAME_SIZE), (size_t)NK_FONT_NAME_SIZE);
    }
    EXPECT_TRUE(s.activeScript == 0 || (s.activeScript >= 'A' && s.activeScript <= 'S'))
        << context;
    EXPECT_TRUE(s.keyboardKind >= KBD_INSCRIPT && s.keyboardKind <= KBD_UK_INSCRIPT) << context;
    EXPECT_TRUE(s.typingMode >= 0 && s.typingMode <= 3) << context;
    EXPECT_TRUE(s.switchKey >= 0 && s.switchKey <= 255) << context;
    EXPECT_TRUE(s.setIndex >= 0 && s.setIndex <= NK_NEW_PAIRS_SIZE) << context;
}

TEST(CheckSharedState, TextsWithoutTerminatorsAndRandomRecords) {
    SharedState s = Typical();
    memset(&s, 'x', sizeof s); // no terminator anywhere, every number out of range
    CheckSharedState(&s);
    ExpectUsable(s, " (all 'x')");
    EXPECT_EQ(strlen(s.adapterFileName), sizeof s.adapterFileName - 1);
    EXPECT_EQ(strlen(s.wordIscii), (size_t)NK_WORD_MAX_CODES);

    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        unsigned char* bytes = (unsigned char*)&s;
        for (size_t i = 0; i < sizeof s; ++i)
            bytes[i] = (unsigned char)random();
        CheckSharedState(&s);
        if (::testing::Test::HasFailure()) break;
        ExpectUsable(s, " (random)");
        SharedState again = s; // checking twice changes nothing more
        CheckSharedState(&again);
        EXPECT_EQ(memcmp(&s, &again, sizeof s), 0);
    }
}

} // namespace
