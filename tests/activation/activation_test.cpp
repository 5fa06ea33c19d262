// Script activation: which module a script binds, what hooked processes are
// told to load, the options handed to the adapter, and every failure with
// its box and the state it leaves.
#include <gtest/gtest.h>

#include <string.h>

#include "tests/activation/box_watcher.h"
#include "tests/activation/module_folder.h"

using namespace nktest;

namespace {

class Activation : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = PrepareModuleFolder();
        SetForegroundWindow(window);
        SetFocus(window);
        ManagerMessages().clear();
        SetWindowTextA(manager, "TAV-MultiScript");
        ResetDriver(VK_CAPITAL, true);
        SharedState& s = State();
        s.managerWindow = nullptr; // _AS finds the manager by its class
        CopyText(s.moduleDirectory, sizeof s.moduleDirectory, folder.c_str());
        s.wordTitleFlag = 10;
        s.romanAccent = 0;
        s.romanCapitals = 0;
        s.lastIndicScript = SCRIPT_DEVANAGARI;
        Drain(window);
    }
    void TearDown() override {
        State().dualFont = 0;
        _AS(SCRIPT_DEVANAGARI); // leave a good binding for the next test
        State().managerWindow = nullptr;
        Drain(nullptr);
    }
    // Converts one syllable through whatever this process has bound.
    std::string Convert(const char* iscii) {
        char out[64] = "x";
        int32_t a = 5, b = 5;
        _A2I(iscii, out, &a, &b);
        return out;
    }
    // Shared by the tests: without a window manager, Wine takes two seconds
    // to destroy a visible top-level window.
    static void SetUpTestSuite() {
        manager = CreateManagerWindow();
        window = CreateTestWindow("Untitled - Test Editor");
    }
    static void TearDownTestSuite() {
        DestroyWindow(window);
        DestroyWindow(manager);
    }
    static HWND manager;
    static HWND window;
    std::string folder;
};
HWND Activation::manager = nullptr;
HWND Activation::window = nullptr;

struct BindRow {
    int code;
    int dualFont, multipleSets, wordTitleFlag;
    const char* published; // adapterFileName afterwards
    const char* entry;     // conversion entry bound
    const char* title;     // the manager's title in script mode
};

TEST_F(Activation, BindsThePublishedModuleOfEveryVariant) {
    const BindRow rows[] = {
        {'B', 0, 0, 10, "dvtrop32.dll", "iscii2devglf", "TAV-MultiScript [Devanagari]"},
        {'B', 1, 0, 10, "dvbfa32.dll", "iscii2devglf", "TAV-MultiScript [Devanagari]"},
        {'B', 0, 1, 1, "vdtrop32.dll", "iscii2devglf", "TAV-MultiScript [Devanagari]"},
        {'B', 0, 1, 0, "dvtrop32.dll", "iscii2devglf", "TAV-MultiScript [Devanagari]"},
        {'R', 0, 0, 10, "sdtrop32.dll", "iscii2devsanskritglf", "TAV-MultiScript [Sanskirt-DEV]"},
        {'E', 0, 0, 10, "tltrop32.dll", "iscii2teluguglf", "TAV-MultiScript [Telugu]"},
        {'D', 0, 0, 10, "tmtrop32.dll", "iscii2tamilglf", "TAV-MultiScript [Tamil]"},
        {'M', 0, 0, 10, "  trop32.dll", "iscii2tibetanglf", "TAV-MultiScript [Tibetan]"},
        {'A', 0, 0, 10, "rmtrop32.dll", "iscii2rmglf", "TAV-MultiScript [Roman]"},
    };
    for (const BindRow& row : rows) {
        SCOPED_TRACE(std::string("code ") + (char)row.code + " published " + row.published);
        SharedState& s = State();
        s.dualFont = row.dualFont;
        s.multipleSets = row.multipleSets;
        s.wordTitleFlag = row.wordTitleFlag;
        s.typingMode = MODE_SCRIPT;
        CopyText(s.wordIscii, sizeof s.wordIscii, "\xB3\xB4");
        CopyText(s.shownGlyphs, sizeof s.shownGlyphs, "ST");

        ASSERT_EQ(_AS(row.code), 0);
        EXPECT_EQ(s.activeScript, row.code);
        EXPECT_STREQ(s.adapterFileName, row.published);
        EXPECT_STREQ(s.wordIscii, "");
        EXPECT_STREQ(s.shownGlyphs, "");
        EXPECT_EQ(s.managerWindow, manager);
        EXPECT_EQ(WindowText(manager), row.title);
        HMODULE module = GetModuleHandleA((folder + row.published).c_str());
        ASSERT_NE(module, nullptr);
        EXPECT_EQ((void*)s.adapterEntry, (void*)GetProcAddress(module, row.entry));
        Drain(window);
        EXPECT_EQ(Convert("\xB3"), "S");
        if (row.code != 'A') {
            EXPECT_EQ(s.lastIndicScript, row.code);
        }

        // A hooked process loads the published name and binds the same entry.
        MSG msg = Message(window, WM_KEYDOWN, 'K', 0x00250001);
        s.typingMode = MODE_ENGLISH;
        SetKey(VK_CAPITAL, false, false);
        s.lastActiveWindow = GetActiveWindow(); // no new detection
        _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg);
        module = GetModuleHandleA((folder + row.published).c_str()); // freed and loaded again
        ASSERT_NE(module, nullptr);
        EXPECT_EQ((void*)s.adapterEntry, (void*)GetProcAddress(module, row.entry));
        EXPECT_EQ(Convert("\xB3\xE8\xB4"), "ST");
        Drain(window);
    }
}

TEST_F(Activation, CodeZeroTypesEnglishAndKeepsTheScript) {
    ASSERT_EQ(_AS('E'), 0);
    State().typingMode = MODE_SCRIPT;
    EXPECT_EQ(_AS(0), 0);
    EXPECT_EQ(State().activeScript, 'E');
    EXPECT_EQ(State().typingMode, MODE_ENGLISH);
    EXPECT_EQ(WindowText(manager), "TAV-MultiScript [English]");
    EXPECT_STREQ(State().adapterFileName, "tltrop32.dll");
}

TEST_F(Activation, GrayedScriptIsUnavailableAndChangesNothing) {
    ASSERT_EQ(_AS('E'), 0);
    EnableMenuItem(GetSubMenu(GetMenu(manager), 1), 'D', MF_BYCOMMAND | MF_GRAYED);
    AdapterEntryFn before = State().adapterEntry;
    EXPECT_EQ(_AS('D'), 1);
    EXPECT_EQ(State().activeScript, 'E');
    EXPECT_EQ(State().adapterEntry, before);
    EXPECT_STREQ(State().adapterFileName, "tltrop32.dll");
    EXPECT_EQ(Convert("\xB3"), "S");
    // A checked item is not "exactly grayed": it activates.
    EnableMenuItem(GetSubMenu(GetMenu(manager), 1), 'D', MF_BYCOMMAND | MF_ENABLED);
    CheckMenuItem(GetSubMenu(GetMenu(manager), 1), 'D', MF_BYCOMMAND | MF_CHECKED);
    EXPECT_EQ(_AS('D'), 0);
    EXPECT_EQ(State().activeScript, 'D');
}

TEST_F(Activation, RomanHearsAccentLastScriptAndCapitalsInThatOrder) {
    ASSERT_EQ(_AS('E'), 0);
    State().romanAccent = 1;
    State().romanCapitals = 2;
    const std::string roman = folder + "RMTROP32.DLL";
    AdapterLog(roman);
    ASSERT_EQ(_AS('A'), 0);
    EXPECT_EQ(AdapterLog(roman), "6:1 3:69 5:2 ");
    EXPECT_EQ(State().lastIndicScript, 'E'); // Roman is not an Indic script
    EXPECT_STREQ(State().newGlyphs, "");
}

TEST_F(Activation, TibetanAndDzongkhaHearMultipleSetsOnlyWithAWordTitleSeen) {
    const std::string tibetan = folder + "  TROP32.DLL";
    struct Row {
        int code, wordTitleFlag, multipleSets;
        const char* log;
    } rows[] = {{'M', 1, 1, "1:1 "}, {'N', 10, 0, "1:0 "}, {'M', 0, 1, ""}, {'E', 1, 1, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("code ") + (char)row.code);
        State().wordTitleFlag = row.wordTitleFlag;
        State().multipleSets = row.multipleSets;
        ASSERT_EQ(_AS(row.code), 0);
        EXPECT_EQ(AdapterLog(tibetan), row.log);
        Drain(window);
    }
}

TEST_F(Activation, SouthIndianModulesBindThroughActivation) {
    // The real modules beside the program, single-font and bilingual: each
    // binds its entry and draws split o (KA + sign O) as three glyphs.
    const std::string program = ProgramFolder();
    CopyText(State().moduleDirectory, sizeof State().moduleDirectory, program.c_str());
    struct Row {
        int code, dualFont;
        const char* file;
    } rows[] = {{'D', 0, "tmtrop32.dll"},
                {'D', 1, "tmbfa32.dll"},
                {'I', 0, "mltrop32.dll"},
                {'I', 1, "mlbfa32.dll"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        State().dualFont = row.dualFont;
        ASSERT_EQ(_AS(row.code), 0);
        EXPECT_EQ(State().activeScript, row.code);
        EXPECT_STREQ(State().adapterFileName, row.file);
        EXPECT_EQ(Convert("\xB3\xE4").size(), 3u); // glyph codes only
        Drain(window);
    }
    State().dualFont = 0;
}

TEST_F(Activation, MultipleSetScriptsSynthesiseCtrlF3ForWord) {
    struct Row {
        int code, wordTitleFlag, multipleSets;
        const char* keys;
        int focusRequest;
    } rows[] = {
        {'B', 1, 1, "+17 +114 -114 -17", 0},
        {'N', 10, 1, "+17 +114 -114 -17", 0},
        {'B', 1, 0, "", 0},
        {'E', 1, 1, "", 0},
        {'B', 0, 1, "", 1}, // no window seen yet: Word is asked to take the focus
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("code ") + (char)row.code);
        State().wordTitleFlag = row.wordTitleFlag;
        State().multipleSets = row.multipleSets;
        State().wordFocusRequest = 0;
        ASSERT_EQ(_AS(row.code), 0);
        EXPECT_EQ(KeyEvents(window), row.keys);
        EXPECT_EQ(State().wordFocusRequest, row.focusRequest);
        EXPECT_STREQ(State().activeTitle, "Untitled - Test Editor");
    }
}

// The failures: each shows its box over the focused window and leaves the
// engine in a stated state; a released module is never called.
TEST_F(Activation, MissingEntryShowsInvalidFileAndDisablesTyping) {
    ASSERT_EQ(_AS('E'), 0);
    BoxWatcher watcher("NELKOR - Invalid File");
    EXPECT_EQ(_AS('C'), 2); // BNTROP32.DLL loads but has no iscii2bengaliglf
    SeenBox box = watcher.Result();
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.text, "iscii2bengaliglf");
    EXPECT_EQ(box.owner, window);
    EXPECT_TRUE(box.topmost);
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(State().activeScript, 0);
    EXPECT_EQ(State().typingMode, MODE_DISABLED_SCRIPT);
    EXPECT_EQ(State().adapterEntry, nullptr);
    EXPECT_EQ(WindowText(manager), "TAV-MultiScript");
    EXPECT_EQ(GetModuleHandleA((folder + "TLTROP32.DLL").c_str()), nullptr); // released
    EXPECT_EQ(Convert("\xB3"), "");
    EXPECT_EQ(SetConverter(), nullptr); // no script: nothing to bind
}

TEST_F(Activation, ModuleThatWillNotLoadShowsItsPathAndDisablesTyping) {
    ASSERT_EQ(_AS('E'), 0);
    BoxWatcher watcher("NELKOR - Invalid TROP DLL");
    EXPECT_EQ(_AS('G'), 2); // no ORTROP32.DLL
    SeenBox box = watcher.Result();
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.text, folder + "ORTROP32.DLL");
    EXPECT_EQ(box.owner, window);
    EXPECT_TRUE(box.topmost);
    EXPECT_EQ(State().activeScript, 0);
    EXPECT_EQ(State().typingMode, MODE_DISABLED_SCRIPT);
    EXPECT_EQ(State().adapterEntry, nullptr);
    EXPECT_STREQ(State().adapterFileName, "tltrop32.dll"); // hooked processes bind nothing
    EXPECT_EQ(GetModuleHandleA((folder + "TLTROP32.DLL").c_str()), nullptr);
    EXPECT_EQ(Convert("\xB3"), "");
}

TEST_F(Activation, MissingBilingualModuleKeepsTheScriptAndReturnsTheMode) {
    ASSERT_EQ(_AS('E'), 0);
    State().dualFont = 1;
    State().typingMode = MODE_DISABLED_ENGLISH;
    BoxWatcher watcher("TAV Keyboard Manager");
    EXPECT_EQ(_AS('E'), MODE_DISABLED_ENGLISH); // no TLBFA32.DLL
    SeenBox box = watcher.Result();
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.text, "\nBi-lingual font option is not be available with current script.");
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(State().activeScript, 'E');
    EXPECT_EQ(State().typingMode, MODE_DISABLED_ENGLISH);
    EXPECT_STREQ(State().adapterFileName, "tltrop32.dll");
    EXPECT_EQ(Convert("\xB3"), "S"); // the previous binding is still alive
}

TEST_F(Activation, QuietActivationThroughSetDualFontReturnsOne) {
    struct Row {
        int code;
        const char* caption;
        const char* text; // "" for the module path
    } rows[] = {
        {'E', "TAV Keyboard Manager",
         "\nBi-lingual font option is not be available with current script."},
        {'J', "NELKOR - Invalid TROP DLL", ""}, // GJBFA32.DLL is no module
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        State().dualFont = 0;
        ASSERT_EQ(_AS(row.code), 0);
        State().typingMode = MODE_SCRIPT;
        BoxWatcher watcher(row.caption);
        EXPECT_EQ(SetDualFont(1, 1), 1);
        SeenBox box = watcher.Result();
        ASSERT_TRUE(box.seen);
        EXPECT_EQ(box.text, row.text[0] ? std::string(row.text) : folder + "GJBFA32.DLL");
        EXPECT_EQ(State().activeScript, row.code);
        EXPECT_EQ(State().typingMode, MODE_SCRIPT);
        EXPECT_EQ(State().dualFont, 1);
        EXPECT_EQ(Convert("\xB3"), "S"); // still bound to the single-font module
        // The manager puts the option back.
        EXPECT_EQ(SetDualFont(0, 1), 0);
        EXPECT_EQ(State().activeScript, row.code);
    }
}

} // namespace
