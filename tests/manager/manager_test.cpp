// davrin.exe under Wine: start-up from prepared settings files, the settings
// written at close, commands sent by other programs, the application category
// dialog, keep-on-top, the start-up failures and the refusal of a second
// manager. Each start uses a fresh program directory (manager_session.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "manager/resources/resource_ids.h"
#include "tests/harness/wine_test_util.h"
#include "tests/manager/manager_session.h"

using namespace nkmgr;
using nktest::State;

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;

// Every start-up that gets as far as loading the transliteration rules needs them.
#define REQUIRE_RULES()                                                                            \
    if (!RulesAvailable())                                                                         \
    GTEST_SKIP() << "the driver's rule engine cannot load bin/EN2IN.RUL: a start-up cannot "       \
                    "pass ascii2iscii_init"

class ManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        State().wordFocusRequest = 0;
        State().wordTitleFlag = 0;
        // The shared record outlives each manager while this test maps the
        // driver: forget the last manager's window and set known values.
        State().managerWindow = nullptr;
        State().typingMode = MODE_ENGLISH;
        State().hookEnabled = 1;
        State().dualFont = 0;
        State().defaultAppCategory = 7; // sentinel: start-up must not call for 0
    }
    void TearDown() override {
        Kill(manager);
        State().managerWindow = nullptr;
    }
    std::string Ini() const { return dir.path + "TAVWIN.INI"; }
    bool Checked(int id) { return (MenuState(manager, id) & MF_CHECKED) != 0; }
    bool Grayed(int id) { return (MenuState(manager, id) & MF_GRAYED) != 0; }
    // _AS binds the adapter module and, outside Word, asks for Word's focus
    // handling: the request shows that an activation ran to its end.
    bool ActivationComplete() const { return State().wordFocusRequest == 1; }

    ProgramDir dir;
    Manager manager;
};

TEST_F(ManagerTest, StartsMinimisedWithItsClassTitleAndSplash) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    WriteSettings(Ini(), {});
    ASSERT_TRUE(Start(dir, manager));

    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(IsIconic(manager.window));

    const LONG style = GetWindowLongA(manager.window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(ClassStyle(manager) & (CS_HREDRAW | CS_VREDRAW), CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(ClassLook(manager), 1) << "light grey brush, arrow cursor, icon";

    // The driver titles the window; with the script loaded, English typing.
    EXPECT_EQ(nktest::WindowText(manager.window), "TAV-MultiScript [English]");

    // The splash: a button-class window of the picture's size, centred.
    EXPECT_TRUE(manager.splashSeen);
    EXPECT_STREQ(manager.splashClass.c_str(), "Button");
    EXPECT_EQ(manager.splashRect.right - manager.splashRect.left, 320);
    EXPECT_EQ(manager.splashRect.bottom - manager.splashRect.top, 160);
    EXPECT_EQ(manager.splashRect.left, (w - 320) / 2);
    EXPECT_EQ(manager.splashRect.top, (h - 160) / 2);

    // Keep-on-top starts on: topmost, item 209 checked and available.
    EXPECT_NE(GetWindowLongA(manager.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(SystemMenuState(manager, IDM_KEEP_ON_TOP) & (MF_CHECKED | MF_GRAYED), MF_CHECKED);

    // Defaults: Devanagari, Caps Lock, lower-case Roman, Inscript, hyphenation
    // grayed for Devanagari, the other scripts still grayed.
    EXPECT_TRUE(Checked(IDM_SCRIPT_DEVANAGARI));
    EXPECT_TRUE(Checked(IDM_SWITCH_CAPSLOCK));
    EXPECT_TRUE(Checked(IDM_CAPS_LOWER));
    EXPECT_TRUE(Checked(IDM_KBD_INSCRIPT));
    EXPECT_FALSE(Checked(IDM_DISABLE));
    EXPECT_TRUE(Grayed(IDM_HYPHENATION));
    EXPECT_TRUE(Grayed(IDM_SCRIPT_BENGALI));
    EXPECT_EQ(State().switchKey, VK_CAPITAL);
    EXPECT_EQ(State().activeScript, 'B');
    EXPECT_EQ(State().defaultAppCategory, 7) << "category 0 is not handed to the driver";
    EXPECT_TRUE(Close(manager));
}

// One start per row: settings in, menu and driver state after start-up, and
// the values written back at close.
struct StartRow {
    const char* name;
    std::vector<std::string> modules;
    Keys settings;
    std::vector<int> checked;
    std::vector<int> unchecked;
    int activeScript;
    int appCategory; // the driver's default category after start-up
    Keys written;    // a value "*X": the written value ends with X
};

void PrintTo(const StartRow& row, std::ostream* os) {
    *os << row.name;
}

class StartRows : public ManagerTest, public ::testing::WithParamInterface<StartRow> {};

TEST_P(StartRows, ReadsSettingsAndWritesThemBack) {
    REQUIRE_RULES();
    const StartRow& row = GetParam();
    dir = MakeProgramDir(row.modules);
    WriteSettings(Ini(), row.settings);
    ASSERT_TRUE(Start(dir, manager)) << row.name;
    for (int id : row.checked)
        EXPECT_TRUE(Checked(id)) << row.name << ": item " << id;
    for (int id : row.unchecked)
        EXPECT_FALSE(Checked(id)) << row.name << ": item " << id;
    EXPECT_EQ(State().activeScript, row.activeScript) << row.name;
    EXPECT_EQ(State().defaultAppCategory, row.appCategory) << row.name;
    ASSERT_TRUE(Close(manager)) << row.name;
    for (auto [key, value] : row.written) {
        const std::string written = ReadSetting(Ini(), key.c_str());
        if (!value.empty() && value[0] == '*') { // ends with the rest
            const std::string end = value.substr(1);
            EXPECT_TRUE(written.size() >= end.size() &&
                        written.compare(written.size() - end.size(), end.size(), end) == 0)
                << row.name << ": " << key << " = " << written;
            continue;
        }
        EXPECT_EQ(written, value) << row.name << ": " << key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StartRows,
    ::testing::Values(StartRow{"BengaliPresent",
                               {"DVTROP32.DLL", "BNTROP32.DLL"},
                               {{"DefaultScript", "BN"}},
                               {IDM_SCRIPT_BENGALI},
                               {IDM_SCRIPT_DEVANAGARI},
                               'C',
                               7,
                               {{"DefaultScript", "BN"}}},
                      StartRow{"BengaliAbsent",
                               {"DVTROP32.DLL"},
                               {{"DefaultScript", "BN"}},
                               {IDM_SCRIPT_DEVANAGARI},
                               {IDM_SCRIPT_BENGALI},
                               'B',
                               7,
                               {{"DefaultScript", "DV"}}},
                      StartRow{"DisabledAnyCase",
                               {"DVTROP32.DLL"},
                               {{"TAV", "off"}},
                               {IDM_DISABLE},
                               {},
                               'B',
                               7,
                               {{"TAV", "OFF"}}},
                      StartRow{"MultipleSetsAlwaysOff",
                               {"DVTROP32.DLL"},
                               {{"MultipleSets", "1"}},
                               {},
                               {},
                               'B',
                               7,
                               {{"MultipleSets", "0"}}},
                      StartRow{"RomanCapitalsOutOfRange",
                               {"DVTROP32.DLL"},
                               {{"RomanCapitals", "7"}},
                               {IDM_CAPS_LOWER},
                               {IDM_CAPS_UPPER, IDM_CAPS_INITIAL},
                               'B',
                               7,
                               {{"RomanCapitals", "0"}}},
                      StartRow{"InitialCaps",
                               {"DVTROP32.DLL"},
                               {{"RomanCapitals", "2"}},
                               {IDM_CAPS_INITIAL},
                               {IDM_CAPS_LOWER},
                               'B',
                               7,
                               {{"RomanCapitals", "2"}}},
                      StartRow{"CategoryAboveRange",
                               {"DVTROP32.DLL"},
                               {{"Application_Category", "20"}},
                               {},
                               {},
                               'B',
                               13,
                               {{"Application_Category", "13"}}},
                      StartRow{"CategoryBelowRange",
                               {"DVTROP32.DLL"},
                               {{"Application_Category", "-3"}},
                               {},
                               {},
                               'B',
                               7,
                               {{"Application_Category", "0"}}},
                      StartRow{"NumLockSwitch",
                               {"DVTROP32.DLL"},
                               {{"InscriptSwitch", "144"}},
                               {IDM_SWITCH_NUMLOCK},
                               {IDM_SWITCH_CAPSLOCK},
                               'B',
                               7,
                               {{"InscriptSwitch", "144"}}},
                      StartRow{"MissingKeyboardFile",
                               {"DVTROP32.DLL"},
                               {{"KeyboardOverlay", "C:\\NOWHERE\\OTHER.BIN"}},
                               {IDM_KBD_INSCRIPT},
                               {IDM_KBD_OTHERS},
                               'B',
                               7,
                               {{"KeyboardOverlay", "*INSKBD.BIN"}, {"KEYBOARD", "160"}}},
                      StartRow{"HyphenationForTamil",
                               {"TMTROP32.DLL"},
                               {{"Hyphenation", "1"}, {"DefaultScript", "TM"}},
                               {IDM_HYPHENATION},
                               {},
                               'D',
                               7,
                               {{"Hyphenation", "1"}, {"DefaultScript", "TM"}}}),
    [](const ::testing::TestParamInfo<StartRow>& info) { return std::string(info.param.name); });

TEST_F(ManagerTest, ClosingWritesAllThirteenKeysInOrder) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    WriteFileText(Ini(), "[Settings]\r\n");
    ASSERT_TRUE(Start(dir, manager));
    ASSERT_TRUE(Close(manager));
    const std::vector<std::string> expected = {"InscriptSwitch",   "TAV",
                                               "TavOnTop",         "DefaultScript",
                                               "Hyphenation",      "MultipleSets",
                                               "RomanCapitals",    "KeyboardOverlay",
                                               "DualFont",         "Application_Category",
                                               "KEYBOARD",         "KbdTypeWriterDLL",
                                               "KbdTypeWriterName"};
    EXPECT_EQ(SettingsKeys(Ini()), expected);
    EXPECT_EQ(ReadSetting(Ini(), "TAV"), "ON");
    EXPECT_EQ(ReadSetting(Ini(), "TavOnTop"), "1");
    EXPECT_EQ(ReadSetting(Ini(), "InscriptSwitch"), "20");
    EXPECT_EQ(ReadSetting(Ini(), "DefaultScript"), "DV");
    EXPECT_EQ(ReadSetting(Ini(), "Hyphenation"), "1");
    EXPECT_EQ(ReadSetting(Ini(), "DualFont"), "0");
    EXPECT_EQ(ReadSetting(Ini(), "KEYBOARD"), "160");
}

TEST_F(ManagerTest, ServerCopyReadsAndWritesTheWindowsDirectory) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL", "BNTROP32.DLL"});
    WriteSettings(Ini(), {{"ServerCopy", "1"}, {"DefaultScript", "DV"}});
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string serverIni = std::string(windows) + "\\TAVWIN.INI";
    WriteSettings(serverIni, {{"DefaultScript", "BN"}, {"RomanCapitals", "1"}});
    const std::string beside = ReadFileText(Ini());

    ASSERT_TRUE(Start(dir, manager));
    EXPECT_EQ(State().activeScript, 'C');
    EXPECT_TRUE(Checked(IDM_CAPS_UPPER));
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadFileText(Ini()), beside) << "the file beside the program is only read";
    EXPECT_EQ(ReadSetting(serverIni, "DefaultScript"), "BN");
    EXPECT_EQ(ReadSetting(serverIni, "RomanCapitals"), "1");
    EXPECT_EQ(ReadSetting(serverIni, "KbdTypeWriterName"), "");
    DeleteFileA(serverIni.c_str());
}

// A start-up failure shows one message (caption "TAV", system-modal), ends
// the program and writes nothing.
struct FailureRow {
    const char* name;
    std::vector<std::string> modules;
    const char* ruleFile; // nullptr: none
    const char* message;
    bool needsRules; // the message comes from the real rule engine
};

void PrintTo(const FailureRow& row, std::ostream* os) {
    *os << row.name;
}

class StartupFailures : public ManagerTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(StartupFailures, ShowOneMessageAndEndWithoutWriting) {
    const FailureRow& row = GetParam();
    if (row.needsRules) REQUIRE_RULES();
    dir = MakeProgramDir(row.modules, false);
    if (row.ruleFile) WriteFileText(dir.path + "EN2IN.RUL", row.ruleFile);
    WriteSettings(Ini(), {{"DefaultScript", "DV"}});
    const std::string before = ReadFileText(Ini());
    ASSERT_TRUE(Launch(dir, manager));
    HWND box = nullptr;
    for (int i = 0; i < 2000 && !box; ++i, Sleep(5))
        box = FindProcessWindow(manager.process.dwProcessId, "#32770", "TAV");
    ASSERT_NE(box, nullptr) << row.name;
    EXPECT_NE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "system-modal";
    EXPECT_EQ(TakeMessageBox(manager), row.message) << row.name;
    EXPECT_TRUE(WaitForExit(manager)) << row.name;
    EXPECT_EQ(ReadFileText(Ini()), before) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, StartupFailures,
    ::testing::Values(
        FailureRow{"NoModules", {}, "[HEADER]\n", "No script modules available", false},
        FailureRow{"OnlyVariantModule",
                   {"VDTROP32.DLL"},
                   "[HEADER]\n",
                   "No script modules available",
                   false},
        FailureRow{"RuleFileMissing",
                   {"DVTROP32.DLL"},
                   nullptr,
                   "ASC2ISC.DLL failed - Rule file not found",
                   false},
        FailureRow{"WrongRuleFile",
                   {"DVTROP32.DLL"},
                   "this is no rule file\n",
                   "ASC2ISC.DLL failed - Wrong Rule file",
                   true}),
    [](const ::testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.name); });

TEST_F(ManagerTest, SecondManagerIsRefused) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    ASSERT_TRUE(Start(dir, manager));
    ProgramDir other = MakeProgramDir({"DVTROP32.DLL"});
    Manager second;
    ASSERT_TRUE(Launch(other, second));
    EXPECT_TRUE(WaitForExit(second, 5000)) << "the second manager ends at once";
    EXPECT_EQ(ReadFileText(other.path + "TAVWIN.INI"), "") << "and writes nothing";
    EXPECT_EQ(FindWindowA("LoraTAV", nullptr), manager.window);
    Kill(second);
}

TEST_F(ManagerTest, DisableCommandTogglesOrFollowsRemoteMode) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    ASSERT_TRUE(Start(dir, manager));
    struct Step {
        int id;
        LPARAM lParam;
        bool disabled;   // item 176 checked, typing disabled
        int hookEnabled; // PellEnable's record
    };
    const Step steps[] = {
        {IDM_DISABLE, 0, true, 1},     {IDM_DISABLE, 0, false, 1},
        {IDM_DISABLE, 2, true, 0},     {IDM_DISABLE, 1, false, 1}, // outside remote: toggles
        {IDM_REMOTE_ON, 0, false, 1},  {IDM_DISABLE, 2, true, 0},
        {IDM_DISABLE, 2, true, 0},     {IDM_DISABLE, 1, false, 1}, // inside: sets and clears
        {IDM_DISABLE, 0, false, 1}, // lParam 0 in remote mode leaves it
        {IDM_REMOTE_OFF, 0, false, 1}, {IDM_DISABLE, 0, true, 1}};
    int n = 0;
    for (const Step& s : steps) {
        Command(manager, s.id, s.lParam);
        EXPECT_EQ(Checked(IDM_DISABLE), s.disabled) << "step " << n;
        EXPECT_EQ(State().typingMode >= MODE_DISABLED_SCRIPT, s.disabled) << "step " << n;
        EXPECT_EQ(State().hookEnabled, s.hookEnabled) << "step " << n;
        ++n;
    }
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "TAV"), "OFF");
}

TEST_F(ManagerTest, RemoteSwitchAndCategoryCommands) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    ASSERT_TRUE(Start(dir, manager));
    EXPECT_EQ(State().typingMode, MODE_ENGLISH);
    Command(manager, IDM_REMOTE_SWITCH, 1);
    EXPECT_EQ(State().typingMode, MODE_SCRIPT);
    Command(manager, IDM_REMOTE_SWITCH, 2);
    EXPECT_EQ(State().typingMode, MODE_ENGLISH);
    Command(manager, IDM_REMOTE_SWITCH, 5);
    EXPECT_EQ(State().typingMode, MODE_ENGLISH);

    Command(manager, IDM_REMOTE_CATEGORY, 9); // outside remote mode: nothing
    EXPECT_EQ(State().defaultAppCategory, 7);
    Command(manager, IDM_REMOTE_ON);
    Command(manager, IDM_REMOTE_CATEGORY, 9);
    EXPECT_EQ(State().defaultAppCategory, 9);
    Command(manager, IDM_REMOTE_CATEGORY, 40); // no such category: refused
    EXPECT_EQ(State().defaultAppCategory, 9);
    Command(manager, IDM_REMOTE_OFF);
    Command(manager, IDM_REMOTE_CATEGORY, 3);
    EXPECT_EQ(State().defaultAppCategory, 9);
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "Application_Category"), "9");
}

TEST_F(ManagerTest, BilingualCommandInAndOutOfRemoteMode) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL", "DVBFA32.DLL"});
    ASSERT_TRUE(Start(dir, manager));
    Command(manager, IDM_BILINGUAL); // the bilingual module exists: accepted
    EXPECT_TRUE(Checked(IDM_BILINGUAL));
    EXPECT_EQ(State().dualFont, 1);
    Command(manager, IDM_BILINGUAL);
    EXPECT_FALSE(Checked(IDM_BILINGUAL));
    EXPECT_EQ(State().dualFont, 0);
    Command(manager, IDM_REMOTE_ON);
    Command(manager, IDM_BILINGUAL, 1);
    Command(manager, IDM_BILINGUAL, 1); // sets, does not toggle
    EXPECT_TRUE(Checked(IDM_BILINGUAL));
    EXPECT_EQ(State().dualFont, 1);
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "DualFont"), "1");
}

TEST_F(ManagerTest, BilingualRefusedWithoutBilingualModule) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    ASSERT_TRUE(Start(dir, manager));
    if (!ActivationComplete())
        GTEST_SKIP() << "the driver's _AS does not bind adapter modules yet, so it cannot "
                        "refuse the bilingual option";
    PostMessageA(manager.window, WM_COMMAND, IDM_BILINGUAL, 0);
    EXPECT_NE(TakeMessageBox(manager, "TAV Keyboard Manager"), "");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(manager.window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_FALSE(Checked(IDM_BILINGUAL));
    EXPECT_EQ(State().dualFont, 0) << "set back after the refusal";
}

TEST_F(ManagerTest, ScriptKeyboardAndOptionCommands) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL", "BNTROP32.DLL", "TMTROP32.DLL"});
    // The directory listing's order decides the first script: name it.
    WriteSettings(Ini(), {{"Hyphenation", "1"}, {"DefaultScript", "DV"}});
    ASSERT_TRUE(Start(dir, manager));

    Command(manager, IDM_KBD_PHONETIC);
    EXPECT_TRUE(Checked(IDM_KBD_PHONETIC));
    EXPECT_FALSE(Checked(IDM_KBD_INSCRIPT));
    // Bengali has no typewriter module: the keyboard returns to Inscript.
    Command(manager, IDM_SCRIPT_BENGALI);
    EXPECT_TRUE(Checked(IDM_SCRIPT_BENGALI));
    EXPECT_FALSE(Checked(IDM_SCRIPT_DEVANAGARI));
    EXPECT_EQ(State().activeScript, 'C');
    EXPECT_TRUE(Checked(IDM_KBD_INSCRIPT));
    EXPECT_FALSE(Checked(IDM_KBD_PHONETIC));
    EXPECT_TRUE(Grayed(IDM_HYPHENATION));
    // Tamil offers hyphenation, checked because the option is on.
    Command(manager, IDM_SCRIPT_TAMIL);
    EXPECT_FALSE(Grayed(IDM_HYPHENATION));
    EXPECT_TRUE(Checked(IDM_HYPHENATION));
    Command(manager, IDM_HYPHENATION);
    EXPECT_FALSE(Checked(IDM_HYPHENATION));
    EXPECT_EQ(State().hyphenation, 0);

    // Switch key, Roman capitals, Roman accent.
    Command(manager, IDM_SWITCH_SCROLLLOCK);
    EXPECT_TRUE(Checked(IDM_SWITCH_SCROLLLOCK));
    EXPECT_FALSE(Checked(IDM_SWITCH_CAPSLOCK));
    EXPECT_EQ(State().switchKey, VK_SCROLL);
    Command(manager, IDM_CAPS_UPPER);
    EXPECT_TRUE(Checked(IDM_CAPS_UPPER));
    EXPECT_FALSE(Checked(IDM_CAPS_LOWER));
    EXPECT_EQ(State().romanCapitals, 1);
    Command(manager, IDM_ROMAN_ACCENT);
    EXPECT_TRUE(Checked(IDM_ROMAN_ACCENT));
    EXPECT_EQ(State().romanAccent, 1);

    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "DefaultScript"), "TM");
    EXPECT_EQ(ReadSetting(Ini(), "InscriptSwitch"), "145");
    EXPECT_EQ(ReadSetting(Ini(), "RomanCapitals"), "1");
    EXPECT_EQ(ReadSetting(Ini(), "Hyphenation"), "0");
}

TEST_F(ManagerTest, GrayedScriptIsRefusedByTheDriver) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL", "TMTROP32.DLL"});
    WriteSettings(Ini(), {{"DefaultScript", "DV"}});
    ASSERT_TRUE(Start(dir, manager));
    if (!ActivationComplete())
        GTEST_SKIP() << "the activation did not run to its end";
    Command(manager, IDM_SCRIPT_KANNADA);
    EXPECT_TRUE(Grayed(IDM_SCRIPT_KANNADA));
    EXPECT_FALSE(Checked(IDM_SCRIPT_KANNADA));
    EXPECT_TRUE(Checked(IDM_SCRIPT_DEVANAGARI));
    EXPECT_EQ(State().activeScript, 'B');
}

TEST_F(ManagerTest, TypewriterModulesAreOfferedSelectedAndRestored) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    CopyTestModule(dir, "DVAKBD32.DLL", "DVAKBD32.DLL");
    CopyTestModule(dir, "DVAKBD32.DLL", "DVBKBD32.DLL");
    CopyTestModule(dir, "DVAKBD32.typ", "DVAKBD32.typ");
    CopyTestModule(dir, "DVAKBD32.typ", "DVBKBD32.typ");
    ASSERT_TRUE(Start(dir, manager));
    EXPECT_EQ(PopupCount(manager, 3), 4);
    EXPECT_EQ(KeyboardItemText(manager, 3), "&Typewriter");
    EXPECT_EQ(ItemText(manager, IDM_TYPEWRITER_FIRST), "Test Typewriter");
    EXPECT_EQ(ItemText(manager, IDM_TYPEWRITER_FIRST + 1), "Test Typewriter");
    EXPECT_TRUE(Checked(IDM_KBD_INSCRIPT));

    Command(manager, IDM_TYPEWRITER_FIRST + 1);
    EXPECT_TRUE(Checked(IDM_TYPEWRITER_FIRST + 1));
    EXPECT_FALSE(Checked(IDM_KBD_INSCRIPT));
    EXPECT_EQ(std::string(State().converterFileName), dir.path + "DVBKBD32.DLL");
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "KEYBOARD"), "162");
    EXPECT_EQ(ReadSetting(Ini(), "KbdTypeWriterDLL"), dir.path + "DVBKBD32.DLL");
    EXPECT_EQ(ReadSetting(Ini(), "KbdTypeWriterName"), dir.path + "DVBKBD32.typ");
    // The driver upper-cases the layout path it is handed, in place.
    std::string upper = dir.path + "DVBKBD32.TYP";
    CharUpperA(upper.data());
    EXPECT_EQ(ReadSetting(Ini(), "KeyboardOverlay"), upper);

    // The next start selects the same layout again (its file exists).
    ASSERT_TRUE(Start(dir, manager));
    EXPECT_TRUE(Checked(IDM_TYPEWRITER_FIRST + 1));
    EXPECT_FALSE(Checked(IDM_TYPEWRITER_FIRST));
    EXPECT_FALSE(Checked(IDM_KBD_INSCRIPT));
    ASSERT_TRUE(Close(manager));
}

// Trying Inscript for a while does not forget the typewriter layout: the
// module and layout stay in the settings file through closes and starts,
// while "KEYBOARD" and "KeyboardOverlay" say what is in use.
TEST_F(ManagerTest, TypewriterChoiceIsKeptWhileAnotherKeyboardIsUsed) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    CopyTestModule(dir, "DVAKBD32.DLL", "DVAKBD32.DLL");
    CopyTestModule(dir, "DVAKBD32.typ", "DVAKBD32.typ");
    ASSERT_TRUE(Start(dir, manager));
    Command(manager, IDM_TYPEWRITER_FIRST);
    Command(manager, IDM_KBD_INSCRIPT);
    EXPECT_TRUE(Checked(IDM_KBD_INSCRIPT));
    EXPECT_FALSE(Checked(IDM_TYPEWRITER_FIRST));
    ASSERT_TRUE(Close(manager));
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start == 0 ? "written at the first close" : "after one more start");
        EXPECT_EQ(ReadSetting(Ini(), "KEYBOARD"), "160");
        EXPECT_TRUE(ReadSetting(Ini(), "KeyboardOverlay").ends_with("INSKBD.BIN"));
        EXPECT_EQ(ReadSetting(Ini(), "KbdTypeWriterDLL"), dir.path + "DVAKBD32.DLL");
        EXPECT_EQ(ReadSetting(Ini(), "KbdTypeWriterName"), dir.path + "DVAKBD32.typ");
        ASSERT_TRUE(Start(dir, manager));
        EXPECT_TRUE(Checked(IDM_KBD_INSCRIPT)) << "Inscript starts, as it was in use";
        ASSERT_TRUE(Close(manager));
    }
}

// A module that cannot convert, or a layout that is missing or damaged, is
// reported when chosen; no converter stays bound and Inscript types.
struct BrokenChoiceRow {
    const char* name;
    const char* module;    // copied from the test modules as DVAKBD32.DLL
    std::string layout;    // DVAKBD32.typ: "test" the test layout, "" none, else its bytes
    const char* caption;   // the message box that must appear
    const char* boxText;   // its text; "*" + the layout file's path
};

void PrintTo(const BrokenChoiceRow& row, std::ostream* os) {
    *os << row.name;
}

class BrokenChoice : public ManagerTest, public ::testing::WithParamInterface<BrokenChoiceRow> {};

TEST_P(BrokenChoice, IsReportedAndInscriptTypes) {
    REQUIRE_RULES();
    const BrokenChoiceRow& row = GetParam();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    CopyTestModule(dir, row.module, "DVAKBD32.DLL");
    const std::string layout = dir.path + "DVAKBD32.typ";
    if (row.layout == "test")
        CopyTestModule(dir, "DVAKBD32.typ", "DVAKBD32.typ");
    else if (!row.layout.empty())
        WriteFileText(layout, row.layout);
    ASSERT_TRUE(Start(dir, manager));
    ASSERT_EQ(PopupCount(manager, 3), 4) << "the module is offered";
    PostMessageA(manager.window, WM_COMMAND, IDM_TYPEWRITER_FIRST, 0);
    std::string expected = row.boxText;
    if (expected == "*") {
        expected = layout;
        CharUpperA(expected.data()); // the driver upper-cases the path it is given
    } else if (expected[0] == '*') {
        expected = expected.substr(1) + layout;
    }
    EXPECT_EQ(TakeMessageBox(manager, row.caption), expected);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(manager.window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_TRUE(Checked(IDM_KBD_INSCRIPT));
    EXPECT_FALSE(Checked(IDM_TYPEWRITER_FIRST));
    EXPECT_EQ(State().keyboardKind, KBD_INSCRIPT);
    EXPECT_STREQ(State().converterFileName, "") << "no converter stays bound";
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "KEYBOARD"), "160");
    EXPECT_EQ(ReadSetting(Ini(), "KbdTypeWriterDLL"), "") << "a failed choice is not stored";
}

INSTANTIATE_TEST_SUITE_P(
    Typewriters, BrokenChoice,
    ::testing::Values(
        BrokenChoiceRow{"no_make_iscii", "DVNKBD32.DLL", "test", "TAV", "Unable to Get Address"},
        BrokenChoiceRow{"layout_missing", "DVAKBD32.DLL", "", "NELKOR - Cannot Access", "*"},
        BrokenChoiceRow{"layout_short", "DVAKBD32.DLL", "\x01\x02", "Error",
                        "*Invalid KBD Layout "},
        BrokenChoiceRow{"layout_cut_block", "DVAKBD32.DLL",
                        std::string("\0\0\1\0B\0\x0C\0\0\0\x60\x03 only a few bytes", 24),
                        "Error", "*Invalid KBD Layout "}),
    [](const ::testing::TestParamInfo<BrokenChoiceRow>& info) { return info.param.name; });

// A typewriter layout types on when its script is chosen again, and gives way
// to Inscript for a script whose modules do not include it.
TEST_F(ManagerTest, ScriptChangeKeepsOnlyTheScriptsOwnTypewriter) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL", "TMTROP32.DLL"});
    WriteSettings(Ini(), {{"DefaultScript", "DV"}});
    CopyTestModule(dir, "DVAKBD32.DLL", "DVAKBD32.DLL");
    CopyTestModule(dir, "DVAKBD32.typ", "DVAKBD32.typ");
    CopyTestModule(dir, "DVAKBD32.DLL", "TMAKBD32.DLL");
    CopyTestModule(dir, "DVAKBD32.typ", "TMAKBD32.typ");
    ASSERT_TRUE(Start(dir, manager));
    Command(manager, IDM_TYPEWRITER_FIRST);
    ASSERT_TRUE(Checked(IDM_TYPEWRITER_FIRST));

    Command(manager, IDM_SCRIPT_DEVANAGARI); // the same script again: the menu is rebuilt
    EXPECT_TRUE(Checked(IDM_TYPEWRITER_FIRST)) << "the same module is chosen again";
    EXPECT_EQ(std::string(State().converterFileName), dir.path + "DVAKBD32.DLL");
    EXPECT_EQ(State().keyboardKind, KBD_TYPEWRITER);

    Command(manager, IDM_SCRIPT_TAMIL); // Tamil has a typewriter, but not this one
    EXPECT_EQ(PopupCount(manager, 3), 4);
    EXPECT_TRUE(Checked(IDM_KBD_INSCRIPT));
    EXPECT_FALSE(Checked(IDM_TYPEWRITER_FIRST));
    EXPECT_EQ(State().keyboardKind, KBD_INSCRIPT);
    ASSERT_TRUE(Close(manager));
}

TEST_F(ManagerTest, BrokenTypewriterModulesAreReportedAndLeftOut) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    CopyTestModule(dir, "DVTROP32.DLL", "DVXKBD32.DLL"); // no "get_kbd_name"
    WriteFileText(dir.path + "DVYKBD32.DLL", "not a module");
    ASSERT_TRUE(Launch(dir, manager));
    std::vector<std::string> messages = {TakeMessageBox(manager, "Error"),
                                         TakeMessageBox(manager, "Error")};
    std::sort(messages.begin(), messages.end());
    const std::vector<std::string> expected = {"Invalid KBD Library " + dir.path + "DVXKBD32.DLL",
                                               "Unable to load library " + dir.path +
                                                   "DVYKBD32.DLL"};
    EXPECT_EQ(messages, expected);
    ASSERT_TRUE(WaitReady(manager));
    EXPECT_EQ(PopupCount(manager, 3), 3) << "no \"&Typewriter\" item";
    EXPECT_TRUE(Checked(IDM_KBD_INSCRIPT));
}

// A modal dialog of the manager's process with the given title, once it is
// shown: the window exists before its controls and its WM_INITDIALOG, and a
// loaded machine lets a test see it in between.
HWND WaitForDialog(const Manager& m, const char* title) {
    HWND dialog = nullptr;
    for (int i = 0; i < 1000; ++i, Sleep(5)) {
        dialog = FindProcessWindow(m.process.dwProcessId, "#32770", title);
        if (dialog && IsWindowVisible(dialog)) return dialog;
    }
    return dialog;
}

TEST_F(ManagerTest, CategoryDialogStepsTheDriverAndClosesOnlyWithOk) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    WriteSettings(Ini(), {{"Application_Category", "12"}});
    ASSERT_TRUE(Start(dir, manager));
    PostMessageA(manager.window, WM_COMMAND, IDM_TUNE_APP, 0);
    HWND dialog = WaitForDialog(manager, "Application Category");
    ASSERT_NE(dialog, nullptr);
    HWND bar = GetDlgItem(dialog, IDC_CATEGORY_SCROLL);
    auto value = [&] { return nktest::WindowText(GetDlgItem(dialog, IDC_CATEGORY_VALUE)); };
    auto scroll = [&](int code) { SendMessageA(dialog, WM_HSCROLL, (WPARAM)code, (LPARAM)bar); };
    EXPECT_EQ(value(), "12");
    scroll(SB_LINERIGHT);
    EXPECT_EQ(value(), "13");
    EXPECT_EQ(State().defaultAppCategory, 13);
    State().defaultAppCategory = 5; // at 13 the right arrow makes no call
    scroll(SB_LINERIGHT);
    EXPECT_EQ(value(), "13");
    EXPECT_EQ(State().defaultAppCategory, 5);
    scroll(SB_PAGELEFT); // other codes are ignored
    EXPECT_EQ(value(), "13");
    for (int i = 0; i < 13; ++i)
        scroll(SB_LINELEFT);
    EXPECT_EQ(value(), "0");
    EXPECT_EQ(State().defaultAppCategory, 0) << "stepping down reaches the driver with 0";
    State().defaultAppCategory = 4;
    scroll(SB_LINELEFT);
    EXPECT_EQ(value(), "0");
    EXPECT_EQ(State().defaultAppCategory, 4);
    scroll(SB_LINERIGHT);
    EXPECT_EQ(State().defaultAppCategory, 1);

    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); // Esc and the close box
    EXPECT_TRUE(IsWindow(dialog));
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 400 && IsWindow(dialog); ++i)
        Sleep(5);
    EXPECT_FALSE(IsWindow(dialog));
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "Application_Category"), "1");
}

TEST_F(ManagerTest, KeepOnTopIsToggledFromTheSystemMenu) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    ASSERT_TRUE(Start(dir, manager));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(manager.window, WM_SYSCOMMAND, IDM_KEEP_ON_TOP, 0, SMTO_BLOCK, 5000,
                        &ignored);
    EXPECT_EQ(GetWindowLongA(manager.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(SystemMenuState(manager, IDM_KEEP_ON_TOP) & MF_CHECKED, 0);
    // Restored, the item is not offered and the window comes back where it
    // was created: at a fifth of the screen width and an eighth of its height,
    // 3/5 of the screen wide and 3/4 high (the move to (0,0) before the
    // restore applies to the minimised window only).
    SendMessageTimeoutA(manager.window, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_NE(SystemMenuState(manager, IDM_KEEP_ON_TOP) & MF_GRAYED, 0);
    EXPECT_FALSE(IsIconic(manager.window));
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    RECT rect{};
    GetWindowRect(manager.window, &rect);
    EXPECT_EQ(rect.left, w / 5);
    EXPECT_EQ(rect.top, h / 8);
    EXPECT_EQ(rect.right - rect.left, 3 * w / 5);
    EXPECT_EQ(rect.bottom - rect.top, 6 * h / 8);
    SendMessageTimeoutA(manager.window, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_EQ(SystemMenuState(manager, IDM_KEEP_ON_TOP) & MF_GRAYED, 0);
    EXPECT_TRUE(IsIconic(manager.window));
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "TavOnTop"), "0");
}

// Installed under Program Files and deeper: a program folder of over 200
// characters. The modules are found there, and the Phonetic English and
// typewriter choices type from there and survive restarts that begin in
// another folder (as the "Run" entry starts the manager).
TEST_F(ManagerTest, LongProgramFolderKeepsItsKeyboardsAcrossStarts) {
    REQUIRE_RULES();
    dir = MakeDeepProgramDir({"DVTROP32.DLL"}, 220);
    ASSERT_GT(dir.path.size(), 200u);
    CopyTestModule(dir, "DVAKBD32.DLL", "DVAKBD32.DLL");
    CopyTestModule(dir, "DVAKBD32.typ", "DVAKBD32.typ");
    dir.startIn = MakeTempDir(); // holds no layout file of the same name
    WriteSettings(Ini(), {{"DefaultScript", "DV"}});
    ASSERT_TRUE(Start(dir, manager)) << TakeMessageBox(manager);
    EXPECT_EQ(std::string(State().moduleDirectory), dir.path);
    EXPECT_TRUE(Checked(IDM_SCRIPT_DEVANAGARI));

    Command(manager, IDM_KBD_PHONETIC);
    EXPECT_EQ(State().keyboardKind, IDM_KBD_PHONETIC);
    ASSERT_TRUE(Close(manager));
    ASSERT_TRUE(Start(dir, manager));
    EXPECT_TRUE(Checked(IDM_KBD_PHONETIC)) << ReadSetting(Ini(), "KeyboardOverlay");
    EXPECT_EQ(State().keyboardKind, IDM_KBD_PHONETIC);

    Command(manager, IDM_TYPEWRITER_FIRST);
    EXPECT_TRUE(Checked(IDM_TYPEWRITER_FIRST));
    EXPECT_EQ(std::string(State().converterFileName), dir.path + "DVAKBD32.DLL");
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(ReadSetting(Ini(), "KbdTypeWriterDLL"), dir.path + "DVAKBD32.DLL");
    ASSERT_TRUE(Start(dir, manager));
    EXPECT_TRUE(Checked(IDM_TYPEWRITER_FIRST));
    EXPECT_EQ(State().keyboardKind, IDM_KBD_TYPEWRITER);
    EXPECT_EQ(std::string(State().converterFileName), dir.path + "DVAKBD32.DLL");
    ASSERT_TRUE(Close(manager));
}

TEST_F(ManagerTest, ExitCommandWritesAndEnds) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    WriteFileText(Ini(), "");
    ASSERT_TRUE(Start(dir, manager));
    PostMessageA(manager.window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(WaitForExit(manager));
    EXPECT_EQ(SettingsKeys(Ini()).size(), 13u);
}


void WaitGone(HWND window) {
    for (int i = 0; i < 400 && IsWindow(window); ++i)
        Sleep(5);
}

TEST_F(ManagerTest, AboutHelpAndFontDialogs) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL", "DVBFA32.DLL"});
    ASSERT_TRUE(Start(dir, manager));

    PostMessageA(manager.window, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = WaitForDialog(manager, "ABOUT TAV");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(GetWindow(about, GW_OWNER), manager.window);
    EXPECT_NE(FindWindowExA(about, nullptr, "Static", "VELTA SCRIPT MANAGER"), nullptr);
    SendMessageA(about, WM_COMMAND, IDOK, 0);
    WaitGone(about);
    EXPECT_FALSE(IsWindow(about));

    // No help file ships: the user is told where it was looked for.
    PostMessageA(manager.window, WM_COMMAND, IDM_HELP_CONTENTS, 0);
    const std::string help = TakeMessageBox(manager);
    EXPECT_NE(help.find(dir.path + "davrin.hlp"), std::string::npos) << help;

    // Default fonts: the driver's dialog procedure runs the manager's
    // template, owned by the main window; the bilingual one has no owner.
    PostMessageA(manager.window, WM_COMMAND, IDM_DEFAULT_FONTS, 0);
    HWND fonts = WaitForDialog(manager, "Default fonts selection");
    ASSERT_NE(fonts, nullptr);
    EXPECT_EQ(GetWindow(fonts, GW_OWNER), manager.window);
    EXPECT_NE(GetDlgItem(fonts, IDC_FONT_ENGLISH), nullptr);
    SendMessageA(fonts, WM_COMMAND, IDC_FONT_CANCEL, 0);
    WaitGone(fonts);
    if (IsWindow(fonts)) return; // the driver's FontDlgProc does not end dialogs yet
    Command(manager, IDM_BILINGUAL);
    PostMessageA(manager.window, WM_COMMAND, IDM_DEFAULT_FONTS, 0);
    HWND bilingual = WaitForDialog(manager, "Default Font Selection");
    ASSERT_NE(bilingual, nullptr);
    EXPECT_EQ(GetWindow(bilingual, GW_OWNER), nullptr);
    SendMessageA(bilingual, WM_COMMAND, IDC_FONT_CANCEL, 0);
}

TEST_F(ManagerTest, OtherKeyboardFileDialog) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    // Layout files to choose: copies of the built Inscript layout when there
    // is one, so that a complete driver loads them without complaint.
    std::string layout = ReadFileText(BinDir() + "INSKBD.BIN");
    CreateDirectoryA((dir.path + "lay").c_str(), nullptr);
    WriteFileText(dir.path + "lay\\MY.BIN", layout);
    WriteFileText(dir.path + "lay\\PEKBD.BIN", layout);
    ASSERT_TRUE(Start(dir, manager));

    struct Choice {
        const char* file; // nullptr: cancel
        int checked;
    };
    const Choice choices[] = {
        {nullptr, IDM_KBD_INSCRIPT}, {"MY.BIN", IDM_KBD_OTHERS}, {"PEKBD.BIN", IDM_KBD_PHONETIC}};
    for (const Choice& c : choices) {
        PostMessageA(manager.window, WM_COMMAND, IDM_KBD_OTHERS, 0);
        HWND dialog = WaitForDialog(manager, "Load Keyboard Overlay File");
        ASSERT_NE(dialog, nullptr) << (c.file ? c.file : "cancel");
        if (c.file) {
            // The file name box of the open dialog (cmb13, or edt1 in the
            // old style).
            const std::string path = dir.path + "lay\\" + c.file;
            if (!SetDlgItemTextA(dialog, 0x47c, path.c_str()))
                SetDlgItemTextA(dialog, 0x480, path.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        } else {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        WaitGone(dialog);
        ASSERT_FALSE(IsWindow(dialog));
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(manager.window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
        for (int id : {IDM_KBD_INSCRIPT, IDM_KBD_PHONETIC, IDM_KBD_OTHERS})
            EXPECT_EQ(Checked(id), id == c.checked) << (c.file ? c.file : "cancel") << " " << id;
    }
    ASSERT_TRUE(Close(manager));
    // The driver takes any "PEKBD.BIN" for the program directory's own and
    // hands back its canonical name (see _LKT).
    const std::string overlay = ReadSetting(Ini(), "KeyboardOverlay");
    EXPECT_NE(overlay.find("PEKBD.BIN"), std::string::npos) << overlay;
    EXPECT_EQ(ReadSetting(Ini(), "KEYBOARD"), "161");
}

TEST_F(ManagerTest, KillFocusTellsWordOnly) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL"});
    ASSERT_TRUE(Start(dir, manager));
    const struct {
        const char* title;
        int requestAfter; // MSWordIsGettingInputFocus consumes the request
    } rows[] = {{"Document1 - Microsoft Word", 0}, {"Untitled - Notepad", 1}};
    for (const auto& row : rows) {
        HWND other = nktest::CreateTestWindow(row.title);
        ShowWindow(other, SW_SHOW);
        SetForegroundWindow(other);
        State().wordFocusRequest = 1;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(manager.window, WM_KILLFOCUS, 0, 0, SMTO_BLOCK, 5000, &ignored);
        EXPECT_EQ(State().wordFocusRequest, row.requestAfter)
            << row.title << " foreground: " << nktest::WindowText(GetForegroundWindow());
        DestroyWindow(other);
        nktest::Drain(nullptr);
    }
}

TEST_F(ManagerTest, ActivationMessageTakesOnlyScriptCodes) {
    REQUIRE_RULES();
    dir = MakeProgramDir({"DVTROP32.DLL", "BNTROP32.DLL"});
    WriteSettings(Ini(), {{"DefaultScript", "DV"}}); // else the first listed: Bengali
    ASSERT_TRUE(Start(dir, manager));
    DWORD_PTR ignored = 0;
    for (WPARAM code : {(WPARAM)0, (WPARAM)64, (WPARAM)83, (WPARAM)300}) {
        SendMessageTimeoutA(manager.window, WM_USER, code, 0, SMTO_BLOCK, 5000, &ignored);
        EXPECT_EQ(State().activeScript, 'B') << code;
        EXPECT_EQ(State().typingMode, MODE_ENGLISH) << code;
    }
    // The hot key of Bengali: the driver sends the activation message.
    SendMessageTimeoutA(manager.window, WM_USER, 'C', 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_EQ(State().activeScript, 'C');
    EXPECT_TRUE(Checked(IDM_SCRIPT_BENGALI));
    EXPECT_FALSE(Checked(IDM_SCRIPT_DEVANAGARI));
}

} // namespace
