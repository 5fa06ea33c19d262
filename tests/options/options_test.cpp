// The script options: what each stores, what it tells the adapter or the
// manager, and the switches between script, English and disabled typing.
#include <gtest/gtest.h>

#include "tests/activation/box_watcher.h"
#include "tests/activation/module_folder.h"

using namespace nktest;

namespace {

class Options : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = PrepareModuleFolder();
        SetForegroundWindow(window);
        SetFocus(window);
        ResetDriver(VK_CAPITAL, true);
        SharedState& s = State();
        s.managerWindow = manager;
        CopyText(s.moduleDirectory, sizeof s.moduleDirectory, folder.c_str());
        s.wordTitleFlag = 10;
        s.romanAccent = 0;
        s.romanCapitals = 0;
        s.savedLockWhileDisabled = 2;
        ManagerMessages().clear();
        Drain(window);
    }
    void TearDown() override {
        State().hookEnabled = 1;
        State().managerWindow = nullptr;
        Drain(nullptr);
    }
    static void SetUpTestSuite() {
        manager = CreateManagerWindow();
        window = CreateTestWindow("Untitled - Test Editor");
    }
    static void TearDownTestSuite() {
        DestroyWindow(window);
        DestroyWindow(manager);
    }
    void StartWord() {
        CopyText(State().wordIscii, sizeof State().wordIscii, "\xB3");
        CopyText(State().shownGlyphs, sizeof State().shownGlyphs, "S");
        CopyText(State().newGlyphs, sizeof State().newGlyphs, "S");
    }
    static HWND manager;
    static HWND window;
    std::string folder;
};
HWND Options::manager = nullptr;
HWND Options::window = nullptr;

TEST_F(Options, EnableAndDisableMoveTheModeByTwo) {
    struct Row {
        int mode, enable, expectedMode, result;
    } rows[] = {{0, 0, 2, 0}, {1, 0, 3, 0}, {2, 0, 2, 0}, {3, 0, 3, 0},
                {0, 1, 0, 1}, {1, 1, 1, 1}, {2, 1, 0, 1}, {3, 7, 1, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE("mode " + std::to_string(row.mode) + " enable " + std::to_string(row.enable));
        State().typingMode = row.mode;
        State().managerWindow = nullptr; // found again by its class
        EXPECT_EQ(_AI(row.enable), row.result);
        EXPECT_EQ(State().typingMode, row.expectedMode);
        EXPECT_EQ(State().managerWindow, manager);
    }
}

TEST_F(Options, AManagerWindowThatHasGoneIsLookedUpAgain) {
    // A restarted manager: the shared state outlived the old window.
    HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    State().managerWindow = gone;
    _AI(1);
    EXPECT_EQ(State().managerWindow, manager);
    State().managerWindow = gone;
    _AS(0);
    EXPECT_EQ(State().managerWindow, manager);
    EXPECT_EQ(WindowText(manager), "TAV-MultiScript [English]");
}

TEST_F(Options, ScriptOrEnglishFollowsTheSwitchKeyToggle) {
    struct Row {
        int mode;
        bool toggled;
        int on;
        int expectedMode;
        bool expectedToggle;
        bool wordKept;
    } rows[] = {
        {1, false, 1, 0, true, false}, {3, false, 1, 2, true, false},
        {0, true, 1, 0, true, true}, // already script: only the title
        {0, true, 0, 1, false, false}, {2, true, 0, 3, false, false},
        {2, true, 2, 3, false, false}, // any value but 1 is English
        {1, false, 0, 1, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("mode " + std::to_string(row.mode) + " on " + std::to_string(row.on));
        ResetDriver(VK_CAPITAL, row.toggled);
        State().managerWindow = manager;
        State().typingMode = row.mode;
        StartWord();
        SetWindowTextA(manager, "");
        EXPECT_EQ(_SCL(row.on), 0);
        EXPECT_EQ(State().typingMode, row.expectedMode);
        EXPECT_EQ((GetKeyState(VK_CAPITAL) & 1) != 0, row.expectedToggle);
        EXPECT_EQ(State().wordIscii[0] != 0, row.wordKept);
        EXPECT_NE(WindowText(manager), "");
    }
}

TEST_F(Options, RomanCapitalsReachTheBoundAdapterWithTheAccent) {
    ASSERT_EQ(_AS('A'), 0);
    const std::string roman = folder + "RMTROP32.DLL";
    AdapterLog(roman);
    State().romanAccent = 1;
    struct Row {
        int command, capitals;
        const char* log;
    } rows[] = {
        {181, 1, "5:1 6:1 "}, {182, 2, "5:2 6:1 "}, {183, 2, "5:2 6:1 "}, {180, 0, "5:0 6:1 "}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        StartWord();
        EXPECT_EQ(_RMN(row.command), 0);
        EXPECT_EQ(State().romanCapitals, row.capitals);
        EXPECT_EQ(AdapterLog(roman), row.log);
        EXPECT_STREQ(State().newGlyphs, "");
        EXPECT_STREQ(State().wordIscii, "");
    }
}

TEST_F(Options, RomanCapitalsWithNothingBoundOnlyStore) {
    State().managerWindow = manager;
    BoxWatcher watcher("NELKOR - Invalid TROP DLL");
    EXPECT_EQ(_AS('G'), 2); // no module: nothing bound afterwards
    EXPECT_TRUE(watcher.Result().seen);
    EXPECT_EQ(State().adapterEntry, nullptr);
    EXPECT_EQ(_RMN(181), 0);
    EXPECT_EQ(State().romanCapitals, 1);
}

TEST_F(Options, RomanAccentAsksTheManagerOnlyWhileRomanIsActive) {
    ASSERT_EQ(_AS('B'), 0);
    StartWord();
    _SetRomanEOAccent(1);
    EXPECT_EQ(State().romanAccent, 1);
    EXPECT_TRUE(ManagerMessages().empty());
    EXPECT_STREQ(State().wordIscii, "\xB3");

    ASSERT_EQ(_AS('A'), 0);
    StartWord();
    ManagerMessages().clear();
    _SetRomanEOAccent(0);
    EXPECT_EQ(State().romanAccent, 0);
    ASSERT_EQ(ManagerMessages().size(), 1u);
    EXPECT_EQ(ManagerMessages()[0], (Posted{WM_USER, 65, 0}));
    EXPECT_STREQ(State().newGlyphs, "");
    EXPECT_STREQ(State().wordIscii, "");
}

TEST_F(Options, MultipleSetsActivateDevanagariTibetanAndDzongkhaAgain) {
    struct Row {
        int code;
        const char* published; // after _MS(1) with a Word title seen
        int focusRequest;
    } rows[] = {{'B', "vdtrop32.dll", 1}, {'N', "  trop32.dll", 1}, {'E', "tltrop32.dll", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("code ") + (char)row.code);
        State().multipleSets = 0;
        State().wordTitleFlag = 1;
        ASSERT_EQ(_AS(row.code), 0);
        State().wordFocusRequest = 0;
        EXPECT_EQ(_MS(1), 0);
        EXPECT_EQ(State().multipleSets, 1);
        EXPECT_STREQ(State().adapterFileName, row.published);
        EXPECT_EQ(State().wordFocusRequest, row.focusRequest);
        KeyEvents(window); // the Ctrl+F3 that activation synthesises
    }
    State().multipleSets = 0;
}

TEST_F(Options, HyphenationAndBilingualWithoutReactivationOnlyStore) {
    EXPECT_EQ(_HYP(0), 0);
    EXPECT_EQ(State().hyphenation, 0);
    EXPECT_EQ(_HYP(1), 0);
    EXPECT_EQ(State().hyphenation, 1);
    ASSERT_EQ(_AS('E'), 0);
    EXPECT_EQ(SetDualFont(1, 0), 0); // TLBFA32.DLL is missing, but nothing is activated
    EXPECT_EQ(State().dualFont, 1);
    EXPECT_STREQ(State().adapterFileName, "tltrop32.dll");
    EXPECT_EQ(SetDualFont(0, 0), 0);
}

TEST_F(Options, SuspendAndResumeRestoreTheSwitchKeyToggle) {
    // Resume before any suspension changes no key state.
    ResetDriver(VK_CAPITAL, false);
    EXPECT_EQ(PellEnable(1), 0);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);

    struct Row {
        bool toggledAtSuspend, toggledAtResume;
    } rows[] = {{true, false}, {false, true}, {true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.toggledAtSuspend) + std::to_string(row.toggledAtResume));
        ResetDriver(VK_CAPITAL, row.toggledAtSuspend);
        EXPECT_EQ(PellEnable(0), 0);
        EXPECT_EQ(State().hookEnabled, 0);
        EXPECT_EQ(State().savedLockWhileDisabled, row.toggledAtSuspend ? 1 : 0);
        SetKey(VK_CAPITAL, false, row.toggledAtResume);
        EXPECT_EQ(PellEnable(1), 0);
        EXPECT_EQ(State().hookEnabled, 1);
        EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, row.toggledAtSuspend ? 1 : 0);
        EXPECT_EQ(State().savedLockWhileDisabled, row.toggledAtSuspend ? 1 : 0);
    }
}

TEST_F(Options, ResumeChoosesTheScriptFontInAKnownWordProcessor) {
    CopyText(State().scriptFontNames['B' - 64], NK_FONT_NAME_SIZE, "dv-Ab");
    State().activeScript = 'B';
    SetWindowTextA(window, "Document - WordPad");
    State().typingMode = MODE_SCRIPT;
    PellEnable(0);
    PellEnable(1);
    // Alt+O, F, Alt up; "DV-AB"; Enter; Esc.
    EXPECT_EQ(KeyEvents(window), "+18 +79 -79 +70 -70 -18 +68 -68 +86 -86 +189 -189 +65 -65 +66 "
                                 "-66 +13 -13 +27 -27");
    State().typingMode = MODE_DISABLED_SCRIPT; // disabled: no font chosen
    PellEnable(0);
    PellEnable(1);
    EXPECT_EQ(KeyEvents(window), "");
    SetWindowTextA(window, "Untitled - Test Editor");
}

TEST_F(Options, GlyphCodesOfTheFirstSyllableOnly) {
    ASSERT_EQ(_AS('B'), 0);
    struct Row {
        const char* iscii;
        std::string glyphs;
        int consumed;
    } rows[] = {
        {"\xB3", "S", 1},
        {"\xB3\xE8\xB4", "ST", 3}, // two pairs: glyph bytes only
        {"\xB3\xDB", "{S", 2},     // a sign drawn before its consonant
        {"\xB3\xB4", "S", 1},      // the second syllable is not converted
        {"", "", 0},
        {"\xFE", "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE", 1}, // 31 pairs: 62 bytes fit
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.glyphs);
        char out[64];
        memset(out, 'z', sizeof out);
        int32_t consumed = 9, length = 9;
        EXPECT_EQ(_A2I(row.iscii, out, &consumed, &length), 0);
        EXPECT_EQ(std::string(out), row.glyphs);
        EXPECT_EQ(consumed, row.consumed);
    }
}

TEST_F(Options, AnUnterminatedAdapterResultGivesNoGlyphs) {
    ASSERT_EQ(_AS('H'), 0); // KNTROP32.DLL fills 64 bytes without a terminator
    char out[64] = "x";
    int32_t consumed = 0, length = 0;
    _A2I("\xB3", out, &consumed, &length);
    EXPECT_STREQ(out, "");
}

} // namespace
