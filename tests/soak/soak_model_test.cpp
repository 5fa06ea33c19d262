// The soak model against the behaviour it stands for: the driver's word and
// modes, and the edit control's text and caret. And that the soak's
// comparison can fail: a model with a wrong Backspace types other text.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "driver/engine/compose_diff.h"
#include "modules/devanagari/devanagari_adapter.h"
#include "modules/roman/roman_adapter.h"
#include "tests/bench/inscript_keys.h"
#include "tests/soak/soak_keys.h"
#include "tests/soak/soak_model.h"

#ifndef NK_STAGE_DATA_DIR
#error "NK_STAGE_DATA_DIR names the folder of INSKBD.BIN"
#endif

namespace {

int __cdecl DevEntry(const unsigned char* t, unsigned char* o, int32_t* c, int32_t* l, int32_t m) {
    return IndicAdapterEntry(DevanagariScript(kFontDV), t, o, c, l, m);
}

AdapterEntryFn Adapters(int script) {
    if (script == 'B') return DevEntry;
    if (script == 'A') return RomanEntry;
    return nullptr;
}

// Scan codes of the US keys used below.
const uint8_t kScanK = 37, kScanF = 33, kScanD = 32, kScanA = 30, kScanB = 48;

class SoakModelTest : public ::testing::Test {
protected:
    static LayoutTable table;
    static SoakModel model, other;
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadLayoutFile(NK_STAGE_DATA_DIR "/INSKBD.BIN", 'B', &table));
    }
    void SetUp() override {
        ResetRomanOptions();
        SoakModelInit(&model, &table, Adapters, 'B');
        model.switchOn = true;
    }
    static SoakKey Key(uint8_t scan, bool shift = false) {
        SoakKey k = {};
        k.kind = SOAK_SCRIPT_KEY;
        k.scan = scan;
        k.shift = shift;
        return k;
    }
    static SoakKey Kind(SoakKeyKind kind, uint8_t script = 0) {
        SoakKey k = {};
        k.kind = (uint8_t)kind;
        k.script = script;
        return k;
    }
    static void Type(SoakModel* m, std::initializer_list<SoakKey> keys) {
        for (const SoakKey& k : keys) SoakModelKey(m, k);
    }
    static std::string Text(const SoakModel& m) { return std::string(m.text, m.length); }
    // The glyphs of an ISCII text converted in one go by an adapter.
    static std::string Glyphs(AdapterEntryFn entry, const char* iscii, int script = 'B') {
        static char out[NK_SYLLABLE_OUT_SIZE], pairs[NK_NEW_PAIRS_SIZE], glyphs[NK_GLYPHS_SIZE],
            scratch[NK_NAME_SCRATCH_SIZE];
        const SyllableBuffers b = {out,    sizeof out,    pairs,   sizeof pairs,
                                   glyphs, sizeof glyphs, scratch, sizeof scratch};
        AdapterCursor cursor = {};
        int32_t syllables = 0;
        ConvertSyllables(entry, iscii, b, {true, script}, &cursor, &syllables);
        return glyphs;
    }
};
LayoutTable SoakModelTest::table;
SoakModel SoakModelTest::model;
SoakModel SoakModelTest::other;

TEST_F(SoakModelTest, AScriptKeyTypesItsSyllable) {
    Type(&model, {Key(kScanK)});
    EXPECT_EQ(Text(model), Glyphs(DevEntry, "\xB3"));
    EXPECT_EQ(model.caret, model.length);
}

TEST_F(SoakModelTest, AVowelSignRedrawsTheSyllableInPlace) {
    Type(&model, {Key(kScanK), Key(kScanF)}); // KA, then the sign I drawn before it
    EXPECT_EQ(Text(model), Glyphs(DevEntry, "\xB3\xDB"));
}

TEST_F(SoakModelTest, BackspaceInAWordRemovesItsLastCode) {
    Type(&model, {Key(kScanK), Key(kScanD), Key(kScanK), Kind(SOAK_BACKSPACE)});
    EXPECT_EQ(Text(model), Glyphs(DevEntry, "\xB3\xE8"));
    Type(&model, {Kind(SOAK_BACKSPACE), Kind(SOAK_BACKSPACE)});
    EXPECT_EQ(Text(model), "");
    Type(&model, {Kind(SOAK_SPACE), Kind(SOAK_SPACE), Kind(SOAK_BACKSPACE)});
    EXPECT_EQ(Text(model), " "); // an empty word: the application deletes
}

TEST_F(SoakModelTest, TypingGoesInAtTheCaret) {
    Type(&model, {Kind(SOAK_SPACE), Kind(SOAK_SPACE), Kind(SOAK_LEFT), Key(kScanK), Key(kScanF)});
    EXPECT_EQ(Text(model), " " + Glyphs(DevEntry, "\xB3\xDB") + " ");
    EXPECT_EQ(model.caret, model.length - 1);
}

TEST_F(SoakModelTest, TheFiftyFirstCodeIsLostWithTheWord) {
    for (int i = 0; i < NK_WORD_MAX_CODES; ++i) SoakModelKey(&model, Key(kScanA)); // sign AA
    const std::string full = Text(model);
    SoakModelKey(&model, Key(kScanK));
    EXPECT_EQ(Text(model), full);
    EXPECT_EQ(model.wordLimitDrops, 1u);
    SoakModelKey(&model, Key(kScanK)); // a new word: nothing of the old one is erased
    EXPECT_EQ(Text(model), full + Glyphs(DevEntry, "\xB3"));
}

TEST_F(SoakModelTest, EnglishKeysFollowShiftAndCapsLock) {
    Type(&model, {Kind(SOAK_SWITCH), Key(kScanK), Key(kScanK, true), Key(2, true)});
    EXPECT_EQ(Text(model), "kK!");
    // Disabled while the switch key is on: Caps Lock makes capitals.
    Type(&model, {Kind(SOAK_SWITCH), Kind(SOAK_CTRL_SPACE), Key(kScanB), Key(kScanB, true)});
    EXPECT_EQ(Text(model), "kK!Bb");
    Type(&model, {Kind(SOAK_CTRL_SPACE), Key(kScanK)});
    EXPECT_EQ(Text(model), "kK!Bb" + Glyphs(DevEntry, "\xB3"));
}

TEST_F(SoakModelTest, TheSwitchKeyEndsTheWord) {
    Type(&model, {Key(kScanK), Kind(SOAK_SWITCH), Kind(SOAK_SWITCH), Key(kScanF)});
    EXPECT_EQ(Text(model), Glyphs(DevEntry, "\xB3") + Glyphs(DevEntry, "\xDB"));
}

TEST_F(SoakModelTest, AHotKeyChangesTheScriptOnlyInScriptTyping) {
    Type(&model, {Kind(SOAK_HOT_KEY, 'A'), Key(kScanK)});
    EXPECT_EQ(model.script, 'A');
    EXPECT_EQ(Text(model), Glyphs(RomanEntry, "\xB3", 'A'));
    Type(&model, {Kind(SOAK_SWITCH), Kind(SOAK_HOT_KEY, 'B')});
    EXPECT_EQ(model.script, 'A'); // in English the hot key reaches the application
}

TEST_F(SoakModelTest, LineBreaksAreOneCharacterForTheCaret) {
    Type(&model, {Kind(SOAK_ENTER), Kind(SOAK_ENTER), Kind(SOAK_LEFT)});
    EXPECT_EQ(model.caret, 2u);
    Type(&model, {Kind(SOAK_RIGHT), Kind(SOAK_BACKSPACE)});
    EXPECT_EQ(Text(model), "\r\n");
    EXPECT_EQ(model.caret, 2u);
}

TEST_F(SoakModelTest, TheTitleNamesTheMode) {
    char title[64];
    SoakExpectedTitle(model, title, sizeof title);
    EXPECT_STREQ(title, "TAV-MultiScript [Devanagari]");
    Type(&model, {Kind(SOAK_SWITCH)});
    SoakExpectedTitle(model, title, sizeof title);
    EXPECT_STREQ(title, "TAV-MultiScript [English]");
    Type(&model, {Kind(SOAK_CTRL_SPACE)});
    SoakExpectedTitle(model, title, sizeof title);
    EXPECT_STREQ(title, "TAV-MultiScript [Disabled]");
}

// The same seeded stream through two models: equal models type equal text,
// and a model whose Backspace removes two codes types other text, which is
// what the soak's comparison must notice.
std::string StreamText(SoakModel* m, uint64_t seed, int keys) {
    SoakRandom r;
    SoakSeed(&r, seed);
    SoakScripts scripts = {"AB"};
    int longRun = 0;
    for (int i = 0; i < keys; ++i) SoakModelKey(m, SoakNextKey(&r, *m, scripts, &longRun));
    return std::string(m->text, m->length);
}

TEST_F(SoakModelTest, AWrongBackspaceIsSeenInTheText) {
    const int kKeys = 3000;
    const std::string good = StreamText(&model, 7, kKeys);
    SoakModelInit(&other, &table, Adapters, 'B');
    other.switchOn = true;
    EXPECT_EQ(StreamText(&other, 7, kKeys), good);
    SoakModelInit(&other, &table, Adapters, 'B');
    other.switchOn = true;
    other.fault = SOAK_FAULT_BACKSPACE_TWO_CODES;
    EXPECT_NE(StreamText(&other, 7, kKeys), good);
    EXPECT_GT(model.composed, 1000u);
}

// The stream repeats with its seed, and a few thousand keys hold every kind.
TEST(SoakKeys, TheStreamRepeatsAndHoldsEveryKind) {
    static SoakModel m;
    static LayoutTable empty;
    SoakModelInit(&m, &empty, nullptr, 'B');
    m.switchOn = true;
    SoakScripts scripts = {"AB"};
    SoakRandom a, b;
    SoakSeed(&a, 99);
    SoakSeed(&b, 99);
    int longA = 0, longB = 0, seen[SOAK_KEY_KINDS] = {}, hotKeyScripts[2] = {};
    for (int i = 0; i < 5000; ++i) {
        const SoakKey ka = SoakNextKey(&a, m, scripts, &longA);
        const SoakKey kb = SoakNextKey(&b, m, scripts, &longB);
        ASSERT_EQ(memcmp(&ka, &kb, sizeof ka), 0) << "key " << i;
        ++seen[ka.kind];
        if (ka.kind == SOAK_HOT_KEY) ++hotKeyScripts[ka.script == 'A' ? 0 : 1];
        if (ka.kind == SOAK_SCRIPT_KEY) {
            EXPECT_NE(UsVirtualKey(ka.scan), 0);
        }
    }
    for (int kind = 0; kind < SOAK_KEY_KINDS; ++kind) EXPECT_GT(seen[kind], 0) << "kind " << kind;
    EXPECT_GT(hotKeyScripts[0], 0);
    EXPECT_GT(hotKeyScripts[1], 0);
    EXPECT_EQ(SoakHotKeyFor('A'), 0x70);
    EXPECT_EQ(SoakHotKeyFor('K'), 0x7B);
    EXPECT_EQ(SoakHotKeyFor('R'), 0); // Sanskrit-Devanagari has no hot key
}

} // namespace
