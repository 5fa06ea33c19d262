// Loading the driver (paths, the two settings, the hooks), the menu-loop
// hook, unloading, the manager's title and the default font tables.
#include <gtest/gtest.h>

#include "tests/activation/module_folder.h"

using namespace nktest;

namespace {

class Load : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = PrepareModuleFolder();
        settings = folder + "TAVWIN.INI";
        DeleteFileA(settings.c_str());
        SetForegroundWindow(window);
        SetFocus(window);
        ManagerMessages().clear();
        SetWindowTextA(manager, "TAV-MultiScript");
        ResetDriver(VK_CAPITAL, true);
        State().managerWindow = manager;
        CopyText(State().moduleDirectory, sizeof State().moduleDirectory, folder.c_str());
        CopyText(State().iniDirectory, sizeof State().iniDirectory, folder.c_str());
    }
    void TearDown() override {
        State().dualFont = 0;
        State().managerWindow = nullptr;
        Drain(nullptr);
        DeleteFileA(settings.c_str());
    }
    void Setting(const char* section, const char* key, const char* value) {
        WritePrivateProfileStringA(section, key, value, settings.c_str());
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
    std::string folder, settings;
};
HWND Load::manager = nullptr;
HWND Load::window = nullptr;

TEST_F(Load, EntryReadsPathsAndSettingsAndInstallsBothHooks) {
    char windowsDir[MAX_PATH] = "";
    GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    struct Row {
        const char* serverCopy; // nullptr: no key
        const char* dualFont;
        bool iniInWindows;
        int expectedDual;
    } rows[] = {{nullptr, nullptr, false, 0},
                {"1", nullptr, true, 0},
                {"0", "1", false, 1},
                {"7", "0", true, 0}};
    // The module passed is one that lies in the prepared folder.
    HMODULE module = LoadLibraryA((folder + "BNTROP32.DLL").c_str());
    ASSERT_NE(module, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("ServerCopy ") + (row.serverCopy ? row.serverCopy : "none"));
        Setting("Settings", "ServerCopy", row.serverCopy);
        Setting("Settings", "DualFont", row.dualFont);
        State().layoutTable = nullptr;
        Nelkor_Entry(module);
        EXPECT_STREQ(State().moduleDirectory, folder.c_str());
        const std::string ini = row.iniInWindows ? std::string(windowsDir) + "\\" : folder;
        EXPECT_STREQ(State().iniDirectory, ini.c_str());
        EXPECT_EQ(State().dualFont, row.expectedDual);
        EXPECT_EQ(State().managerThreadId, GetCurrentThreadId());
        EXPECT_NE(State().getMessageHook, nullptr);
        EXPECT_NE(State().sysMsgFilterHook, nullptr);
        EXPECT_NE(State().layoutTable, nullptr);
        EXPECT_EQ(WEP(), 1);
        EXPECT_EQ(State().getMessageHook, nullptr);
        EXPECT_EQ(State().sysMsgFilterHook, nullptr);
    }
    FreeLibrary(module);
    EXPECT_EQ(_CIM(), 0);
}

TEST_F(Load, UnloadReleasesTheAdapterAndItsEntry) {
    State().wordTitleFlag = 10;
    ASSERT_EQ(_AS('E'), 0);
    ASSERT_NE(GetModuleHandleA((folder + "TLTROP32.DLL").c_str()), nullptr);
    EXPECT_EQ(WEP(), 1);
    EXPECT_EQ(GetModuleHandleA((folder + "TLTROP32.DLL").c_str()), nullptr);
    EXPECT_EQ(State().adapterEntry, nullptr);
    char out[64] = "x";
    _A2I("\xB3", out, nullptr, nullptr);
    EXPECT_STREQ(out, ""); // nothing bound any more
}

TEST_F(Load, MenuLoopTypesEnglishUntilItsEnd) {
    struct Row {
        bool scriptBefore;
        const char* titleInMenu;
        const char* titleAfter;
    } rows[] = {
        {true, "TAV-MultiScript [English]", "TAV-MultiScript [Devanagari]"},
        {false, "TAV-MultiScript [English]", "TAV-MultiScript [English]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scriptBefore ? "script before" : "English before");
        ResetDriver(VK_CAPITAL, row.scriptBefore);
        State().inMenuLoop = 0;
        MSG msg = Message(window, WM_KEYDOWN, 'K', 0);
        EXPECT_EQ(_SMP(MSGF_DIALOGBOX, 0, (LPARAM)&msg), 0); // not a menu: nothing
        EXPECT_EQ(State().inMenuLoop, 0);
        EXPECT_EQ(_SMP(MSGF_MENU, 0, (LPARAM)&msg), 0);
        EXPECT_EQ(State().inMenuLoop, 1);
        EXPECT_EQ(State().savedLockInMenu, row.scriptBefore ? 1 : 0);
        EXPECT_EQ(State().typingMode, MODE_ENGLISH);
        EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
        EXPECT_EQ(WindowText(manager), row.titleInMenu);
        msg.lParam = 0x1234; // still inside the loop
        _SMP(MSGF_MENU, 0, (LPARAM)&msg);
        EXPECT_EQ(State().inMenuLoop, 1);
        msg.lParam = 0xFFFF; // the loop's end
        _SMP(MSGF_MENU, 0, (LPARAM)&msg);
        EXPECT_EQ(State().inMenuLoop, 0);
        EXPECT_EQ(State().typingMode, row.scriptBefore ? MODE_SCRIPT : MODE_ENGLISH);
        EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, row.scriptBefore ? 1 : 0);
        EXPECT_EQ(WindowText(manager), row.titleAfter);
    }
}

TEST_F(Load, ManagerTitleNamesScriptAndMode) {
    struct Row {
        int script, mode, enable;
        const char* title;
    } rows[] = {
        {'B', MODE_SCRIPT, 1, "TAV-MultiScript [Devanagari]"},
        {'R', MODE_SCRIPT, 1, "TAV-MultiScript [Sanskirt-DEV]"},
        {'B', MODE_ENGLISH, 1, "TAV-MultiScript [English]"},
        {'B', MODE_SCRIPT, 0, "TAV-MultiScript [Disabled]"},
        {'B', MODE_ENGLISH, 0, "TAV-MultiScript [Disabled]"},
        {0, MODE_SCRIPT, 1, "TAV-MultiScript"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        State().activeScript = row.script;
        State().typingMode = row.mode;
        _AI(row.enable);
        EXPECT_EQ(WindowText(manager), row.title);
    }
}

TEST_F(Load, DefaultFontsComeFromTheSettingsOfAvailableScripts) {
    SharedState& s = State();
    Setting("DEFAULTFONTS", "DV", "DV-Velta");
    Setting("DEFAULTFONTS", "DV1", "DV1-Velta");
    Setting("DEFAULTFONTS", "TL", "TL-AVeryLongFaceNameThatCannotFitIntoAFortyByteSlot");
    Setting("DEFAULTFONTS", "TLB", "TLB-TTVelta");
    Setting("DEFAULTFONTS", "GJ", "GJ-Velta"); // not available: not read
    CopyText(s.scriptFontNames['J' - 64], NK_FONT_NAME_SIZE, "");
    s.dualFont = 0;
    EXPECT_EQ(SetAvailScripts("BEK", "DV TL PN "), 2);
    EXPECT_STREQ(s.scriptFontNames['B' - 64], "DV-Velta");
    EXPECT_STREQ(s.englishFontNames['B' - 64], "DV1-Velta");
    EXPECT_STREQ(s.scriptFontNames['E' - 64], "TL-AVeryLongFaceNameThatCannotFitIntoAF");
    EXPECT_STREQ(s.englishFontNames['E' - 64], "NotFound");
    EXPECT_STREQ(s.scriptFontNames['K' - 64], "NotFound"); // no PN- face installed
    EXPECT_STREQ(s.scriptFontNames['J' - 64], "");

    s.dualFont = 1;
    EXPECT_EQ(LoadDefFonts(nullptr), 1);
    EXPECT_STREQ(s.bilingualFontNames['E' - 64], "TLB-TTVelta");
    EXPECT_STREQ(s.bilingualFontNames['B' - 64], "NotFound");
}

} // namespace
