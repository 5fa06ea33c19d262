// Composition through the hook on a real window: key-downs handed to _MF with
// the test adapter bound (bin/testmods) turn into exactly the expected
// characters and back-spaces. The test adapter gives one glyph per code
// (code - 0x60: KA 0xB3 is 'S'), draws the short i 0xDB ('{') before its
// consonant, and puts the consonants 0xCC..0xD8 in font set '1'.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

const LPARAM kEraseLParam = (LPARAM)0xC00E0001u;
enum { kShift = 1, kClear = 2, kEsc = 4 };

std::string TestModules() {
    return ProgramFolder() + "testmods\\";
}

// A layout file with one block for every script: scan code -> unshifted text.
void WriteLayout(const std::string& path, const std::vector<std::pair<int, std::string>>& keys) {
    unsigned char file[12 + 864] = {0, 0, 1, 0, 'B', 0, 12, 0, 0, 0, 0x60, 0x03};
    for (const auto& k : keys)
        memcpy(file + 12 + 8 * k.first, k.second.data(), k.second.size());
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f != nullptr) << path;
    fwrite(file, 1, sizeof file, f);
    fclose(f);
}

class Compose : public ::testing::Test {
  protected:
    // One window for the suite: creating a window under Wine takes seconds.
    static void SetUpTestSuite() { window = CreateTestWindow("Untitled - Test Editor"); }
    static void TearDownTestSuite() {
        DestroyWindow(window);
        Drain(nullptr);
    }
    void SetUp() override {
        SetForegroundWindow(window);
        SetFocus(window);
        ResetDriver(VK_CAPITAL, true);
        SharedState& s = State();
        snprintf(s.moduleDirectory, sizeof s.moduleDirectory, "%s", TestModules().c_str());
        UseAdapter("DVTROP32.DLL", SCRIPT_DEVANAGARI);
        s.keyboardKind = KBD_INSCRIPT;
        s.hyphenation = 1;
        s.currentSet = '0';
        s.shiftReleasedForSet = 0;
        s.converterFileName[0] = 0;
        s.amiProEscape = 1;
        Drain(window);
    }
    void TearDown() override {
        State().keyboardKind = KBD_INSCRIPT;
        State().multipleSets = 0;
        Drain(window);
    }
    void UseAdapter(const char* file, int script) {
        snprintf(State().adapterFileName, sizeof State().adapterFileName, "%s", file);
        State().activeScript = script;
    }
    // One key-down through the hook, with the switch key toggled on.
    MSG Key(int vk, unsigned mods = 0) {
        BYTE state[256] = {};
        state[VK_CAPITAL] = 1;
        if (mods & kShift) state[VK_SHIFT] = 0x80;
        if (mods & kClear) state[VK_CLEAR] = 0x80;
        if (mods & kEsc) state[VK_ESCAPE] = 0x80;
        state[vk & 0xFF] |= 0x80;
        SetKeyboardState(state);
        State().keyHeld = 0; // the synthesised key-up is not run through the hook here
        MSG msg = Message(window, WM_KEYDOWN, (WPARAM)vk, (MapVirtualKeyA(vk, 0) << 16) | 1);
        _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg);
        return msg;
    }
    // What the driver posted: characters and erase messages (the key releases
    // that the hook synthesises through the input queue are left out).
    std::vector<Posted> Output() {
        std::vector<Posted> out;
        for (const Posted& p : Drain(window))
            if (p.message == WM_CHAR || p.lParam == kEraseLParam) out.push_back(p);
        return out;
    }
    // The characters alone; a back-space is "\b".
    std::string Typed() {
        std::string text;
        for (const Posted& p : Output())
            if (p.message == WM_CHAR) text += (char)p.wParam;
        return text;
    }
    std::string Type(const std::vector<int>& keys, unsigned mods = 0) {
        std::string text;
        for (int vk : keys) {
            Key(vk, mods);
            text += Typed();
        }
        return text;
    }
    static HWND window;
};
HWND Compose::window = nullptr;

TEST_F(Compose, ShortIRedrawsTheWholeSyllable) {
    MSG first = Key('K');
    EXPECT_EQ(first.message, (UINT)WM_NULL);
    EXPECT_EQ(Describe(Output()), Describe({{WM_CHAR, 'S', 1}}));
    MSG second = Key('F');
    EXPECT_EQ(second.message, (UINT)WM_NULL);
    EXPECT_EQ(second.wParam, 0u); // glyphs were typed: the record is cleared
    EXPECT_EQ(second.lParam, 0);
    const std::vector<Posted> expected = {{WM_KEYDOWN, 8, kEraseLParam},
                                          {WM_CHAR, 8, kEraseLParam},
                                          {WM_KEYUP, 8, kEraseLParam},
                                          {WM_CHAR, '{', 1},
                                          {WM_CHAR, 'S', 1}};
    EXPECT_EQ(Describe(Output()), Describe(expected));
    EXPECT_STREQ(State().shownGlyphs, "{S");
    EXPECT_STREQ(State().shownPairs, "{0S0");
}

TEST_F(Compose, AppendedGlyphsEraseNothing) {
    EXPECT_EQ(Type({'K', 'K', 'J'}), "SSo"); // KA KA JA (0xCF)
}

TEST_F(Compose, BackspaceErasesOnlyWhatDiffers) {
    EXPECT_EQ(Type({'K', 'K', 'F'}), "SS\b{S"); // the second syllable is redrawn
    Key(VK_BACK);
    EXPECT_EQ(Typed(), "\b\bS");
    EXPECT_STREQ(State().wordIscii, "\xB3\xB3");
    Key(VK_BACK);
    EXPECT_EQ(Typed(), "\b");
    Key(VK_BACK);
    EXPECT_EQ(Typed(), "\b");
    MSG last = Key(VK_BACK); // the word is empty: the application deletes
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_TRUE(Output().empty());
}

TEST_F(Compose, TheFiftyFirstCodeIsDroppedWithTheWord) {
    std::vector<int> fifty(50, 'K');
    EXPECT_EQ(Type(fifty), std::string(50, 'S'));
    EXPECT_EQ(strlen(State().wordIscii), 50u);
    MSG dropped = Key('K');
    EXPECT_EQ(dropped.message, (UINT)WM_NULL);
    EXPECT_TRUE(Output().empty());
    EXPECT_STREQ(State().wordIscii, "");
    EXPECT_EQ(Type({'F'}), "{"); // a new word: nothing of the old one is erased
    // A key of three codes that would pass 50 is dropped whole.
    State().wordIscii[0] = 0;
    State().shownGlyphs[0] = 0;
    Type(std::vector<int>(48, 'K'));
    Key('7', kShift); // B3 E8 D6
    EXPECT_TRUE(Output().empty());
    EXPECT_STREQ(State().wordIscii, "");
}

TEST_F(Compose, HyphenRules) {
    struct Row {
        const char* adapter;
        int script, hyphenation, dualFont, category;
        const char* fourthKey;
    } rows[] = {
        {"TLTROP32.DLL", SCRIPT_TELUGU, 1, 0, 0, "\b-SS"},
        {"TLTROP32.DLL", SCRIPT_TELUGU, 0, 0, 0, "S"},
        {"TLTROP32.DLL", SCRIPT_TELUGU, 1, 1, 0, "S"},
        {"TLTROP32.DLL", SCRIPT_TELUGU, 1, 0, 10, "S"},
        {"TMTROP32.DLL", SCRIPT_TAMIL, 1, 0, 0, "\b-SS"},     // 'S' is below 0x64
        {"MLTROP32.DLL", SCRIPT_MALAYALAM, 1, 0, 0, "\b-SS"}, // 'S' is not excepted
        {"DVTROP32.DLL", SCRIPT_DEVANAGARI, 1, 0, 0, "S"},
    };
    for (const Row& r : rows) {
        ResetDriver(VK_CAPITAL, true);
        UseAdapter(r.adapter, r.script);
        State().hyphenation = r.hyphenation;
        State().dualFont = r.dualFont;
        State().defaultAppCategory = r.category;
        EXPECT_EQ(Type({'K', 'K', 'K'}), "SSS") << r.adapter << " " << r.category;
        EXPECT_EQ(Type({'K'}), r.fourthKey)
            << r.adapter << " " << r.hyphenation << r.dualFont << " " << r.category;
        EXPECT_STREQ(State().shownPairs, "S0S0S0S0"); // the hyphen is no pair
    }
}

TEST_F(Compose, ForeignFontSetSendsCtrlF4InsteadOfTheGlyph) {
    EXPECT_EQ(Type({'K'}), "S"); // category detected, wordTitleFlag set
    State().multipleSets = 1;
    MSG msg = Key('C'); // 0xCC: glyph 'l' in set '1'
    EXPECT_EQ(msg.message, (UINT)WM_NULL);
    EXPECT_EQ(msg.wParam, (WPARAM)'C'); // nothing typed: the record keeps its key
    std::vector<Posted> keys;
    for (int i = 0; i < 200 && keys.size() < 4; ++i) {
        for (const Posted& p : Drain(window)) {
            EXPECT_NE(p.message, (UINT)WM_CHAR);
            if (p.wParam == VK_CONTROL || p.wParam == VK_F4)
                keys.push_back({p.message, p.wParam, 0});
        }
        if (keys.size() < 4) Sleep(10);
    }
    const std::vector<Posted> expected = {{WM_KEYDOWN, VK_CONTROL, 0},
                                          {WM_KEYDOWN, VK_F4, 0},
                                          {WM_KEYUP, VK_F4, 0},
                                          {WM_KEYUP, VK_CONTROL, 0}};
    EXPECT_EQ(Describe(keys), Describe(expected));
    EXPECT_EQ(State().currentSet, '1');
    EXPECT_STREQ(State().shownGlyphs, "Sl"); // recorded as shown though not typed
    // The next glyph of set '1' is typed at once.
    EXPECT_EQ(Type({'C'}), "l");
    // Without multiple sets the set bytes do not matter.
    State().multipleSets = 0;
    EXPECT_EQ(Type({'K'}), "S");
}

TEST_F(Compose, UkInscriptTurnsAVowelAfterALetterIntoItsSign) {
    State().keyboardKind = KBD_UK_INSCRIPT;
    EXPECT_EQ(Type({'F'}, kShift), "F"); // 0xA6 starts the word: stays a vowel
    EXPECT_EQ(Type({'K'}), "S");
    EXPECT_EQ(Type({'F'}, kShift), "\b{S");       // 0xA6 after KA is 0xDB
    EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0); // Shift is down again after erasing
}

TEST_F(Compose, ClearKeyCodesAndSpecialCodes) {
    Type({'K'}); // detection: wordTitleFlag becomes non-zero
    State().wordIscii[0] = 0;
    State().shownGlyphs[0] = 0;
    struct Row {
        int vk;
        unsigned mods;
        int script;
        const char* typed;
    } rows[] = {
        {VK_OEM_PERIOD, kClear, 'B', "\x8A\x89"}, // EA E9
        {VK_OEM_2, kClear, 'B', "\x41\x89"},      // A1 E9
        {'M', kClear, 'B', "\x90\x44"},           // F0 A4
        {'T', kClear, 'B', ""},                   // no code: a beep, nothing typed
        {VK_ESCAPE, kShift | kEsc, 'B', "\x79"},  // D9
        {VK_ESCAPE, kShift | kEsc, 'M', "\x6A"},  // CA
        {VK_ESCAPE, kShift | kEsc, 'P', "\x90"},  // F0
    };
    for (const Row& r : rows) {
        State().wordIscii[0] = 0;
        State().shownGlyphs[0] = 0;
        State().activeScript = r.script;
        MSG msg = Key(r.vk, r.mods);
        EXPECT_EQ(msg.message, (UINT)WM_NULL) << r.vk;
        EXPECT_EQ(Typed(), r.typed) << r.vk << " " << (char)r.script;
        EXPECT_EQ(State().specialCodePending, 0);
    }
}

TEST_F(Compose, KeysOutsideTheTablePassAndWithoutAnAdapterTypeNothing) {
    MSG scroll = Key(VK_SCROLL); // a character key by its code, scan code 70
    EXPECT_EQ(scroll.message, (UINT)WM_KEYDOWN);
    EXPECT_EQ(Type({'K'}), "S");
    UseAdapter("NOSUCH32.DLL", SCRIPT_DEVANAGARI);
    MSG k = Key('K'); // nothing can convert it: nothing is typed
    EXPECT_EQ(k.message, (UINT)WM_NULL);
    EXPECT_TRUE(Output().empty());
    EXPECT_STREQ(State().wordIscii, "\xB3\xB3"); // the word keeps the code
    Key(VK_BACK);
    EXPECT_TRUE(Output().empty());
    EXPECT_STREQ(State().wordIscii, "\xB3");
    Key('K');
    UseAdapter("DVTROP32.DLL", SCRIPT_DEVANAGARI);
    EXPECT_EQ(Type({'K'}), "SS"); // the whole word once it can be converted
}

class TypewriterCompose : public Compose {
  protected:
    void SetUp() override {
        Compose::SetUp();
        layout = TestModules() + "TSTKBD.TYP";
        // K: 0xFE (31 glyphs); J: 0xFD (the adapter consumes nothing); L: KA.
        WriteLayout(layout, {{37, "\xFE"}, {36, "\xFD"}, {38, "\xB3"}});
    }
    void TearDown() override {
        DeleteFileA(layout.c_str());
        SetConverter1("");
        Compose::TearDown();
    }
    void Choose(const std::string& converter, const std::string& file) {
        ASSERT_EQ(SetConverter1(converter.c_str()), 1);
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s", file.c_str());
        _LKT(path, KBD_TYPEWRITER);
        ASSERT_EQ(State().keyboardKind, KBD_TYPEWRITER);
    }
    std::string layout;
};

TEST_F(TypewriterCompose, MoreGlyphsThanTheBuffersHoldDropTheKeyWithTheWord) {
    Choose("", layout); // no converter: the typed codes are converted as they are
    std::string glyphs31;
    for (int k = 0; k < 31; ++k)
        glyphs31 += (char)('A' + k % 26);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Type({'K'}), glyphs31) << i; // 248 pair bytes
    MSG fifth = Key('K');
    EXPECT_EQ(fifth.message, (UINT)WM_NULL);
    EXPECT_TRUE(Output().empty());
    EXPECT_STREQ(State().wordIscii, "");
    EXPECT_EQ(Type({'K'}), glyphs31); // a new word, nothing erased
}

TEST_F(TypewriterCompose, AdapterThatConsumesNothingEndsTheConversion) {
    Choose("", layout);
    EXPECT_EQ(Type({'L', 'J', 'L'}), "S");
    EXPECT_STREQ(State().wordIscii, "\xB3\xFD\xB3");
}

// The layout file is read again only when it changes, and then at the very
// next key: no reread while it stays as it was, the new codes at once after.
TEST_F(TypewriterCompose, AChangedLayoutFileTakesEffectAtTheNextKey) {
    Choose("", layout);
    EXPECT_EQ(Type({'L'}), "S");         // KA
    Key(VK_SPACE);                       // the word ends
    WriteLayout(layout, {{38, "\xB4"}}); // L: KHA now
    Drain(window);
    EXPECT_EQ(Type({'L'}), "T"); // KHA, from the file as it is now
}

// Phonetic English in a program folder of its own (below the program's), so
// that its rule file can be changed under the running hook.
class PhoneticCompose : public Compose {
  protected:
    void SetUp() override {
        Compose::SetUp();
        folder = TestModules() + "phonetic\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name : {"PEKBD.BIN", "EN2IN.RUL", "IN2EN.RUL"})
            ASSERT_TRUE(
                CopyFileA((ProgramFolder() + name).c_str(), (folder + name).c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((TestModules() + "DVTROP32.DLL").c_str(),
                              (folder + "DVTROP32.DLL").c_str(), FALSE));
        snprintf(State().moduleDirectory, sizeof State().moduleDirectory, "%s", folder.c_str());
        char path[MAX_PATH] = "PEKBD.BIN";
        _LKT(path, 0);
        ASSERT_EQ(State().keyboardKind, KBD_PHONETIC);
    }
    void TearDown() override {
        Compose::TearDown();
        char inscript[MAX_PATH] = "INSKBD.BIN";
        _LKT(inscript, 0);
    }
    // "ka" as a word of its own: the glyphs it leaves shown.
    std::string TypeKa() {
        Key(VK_SPACE); // the word before ends
        Drain(window);
        Type({'K', 'A'});
        return State().shownGlyphs;
    }
    std::string folder;
};

// The rule file is read again at the very next key after it changes on
// disk, in a process that is not the manager's, and not otherwise.
TEST_F(PhoneticCompose, AChangedRuleFileTakesEffectAtTheNextKey) {
    const std::string rules = folder + "EN2IN.RUL";
    EXPECT_EQ(TypeKa(), "S"); // KA
    // Another file under the same name: the Roman-to-ISCII rules are gone.
    ASSERT_TRUE(CopyFileA((folder + "IN2EN.RUL").c_str(), rules.c_str(), FALSE));
    EXPECT_NE(TypeKa(), "S");
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "EN2IN.RUL").c_str(), rules.c_str(), FALSE));
    EXPECT_EQ(TypeKa(), "S");
}

TEST_F(TypewriterCompose, ConverterModuleTurnsTheLayoutTextIntoIscii) {
    Choose(TestModules() + "DVAKBD32.DLL", TestModules() + "DVAKBD32.typ");
    EXPECT_STREQ(State().layoutPath, "DVAKBD32.TYP"); // too long: kept by its name
    // 'k' -> 0xBD (glyph ']'), Shift+F -> '[' -> short i.
    EXPECT_EQ(Type({'K'}), "]");
    EXPECT_EQ(Type({'F'}, kShift), "\b{]");
    EXPECT_STREQ(State().wordIscii, "k[");
    // The converter stays loaded from key to key; a changed module file name
    // takes effect at the very next key.
    HMODULE converter = GetModuleHandleA("DVAKBD32.DLL");
    ASSERT_NE(converter, nullptr);
    Type({'K'});
    EXPECT_EQ(GetModuleHandleA("DVAKBD32.DLL"), converter);
    strcpy(State().converterFileName, "C:\\nowhere\\X.DLL");
    Type({'K'});
    EXPECT_EQ(GetModuleHandleA("DVAKBD32.DLL"), nullptr);
}

} // namespace
