// The manager's "Unicode output" setting under Wine: read from its section
// of TAVWIN.INI at start-up, toggled by its command, written at close; while
// on, every converted script is offered and activates without a module.
#include <gtest/gtest.h>

#include <string>

#include "manager/resources/resource_ids.h"
#include "tests/harness/wine_test_util.h"
#include "tests/manager/manager_session.h"

using namespace nkmgr;
using nktest::State;

namespace {

const char kConvertedScripts[] = "ABCDEFGHIJKR";

class ManagerUnicode : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!RulesAvailable()) GTEST_SKIP() << "start-up needs bin/EN2IN.RUL";
        State().managerWindow = nullptr;
        State().typingMode = MODE_ENGLISH;
        State().hookEnabled = 1;
        State().dualFont = 0;
        dir = MakeProgramDir({"DVTROP32.DLL"}); // one module: Devanagari
    }
    void TearDown() override {
        Kill(manager);
        State().managerWindow = nullptr;
        SetUnicodeOutput(0);
    }
    std::string Ini() const { return dir.path + "TAVWIN.INI"; }
    bool Checked(int id) { return (MenuState(manager, id) & MF_CHECKED) != 0; }
    bool Grayed(int id) { return (MenuState(manager, id) & MF_GRAYED) != 0; }
    std::string UnicodeKey() {
        char value[16] = "";
        GetPrivateProfileStringA("Unicode", "UnicodeOutput", "<missing>", value, sizeof value,
                                 Ini().c_str());
        return value;
    }
    // Script items offered ("B" alone, or every converted script).
    std::string Offered() {
        std::string codes;
        for (const char* c = kConvertedScripts; *c; ++c)
            if (!Grayed(*c)) codes += *c;
        return codes;
    }
    ProgramDir dir;
    Manager manager;
};

TEST_F(ManagerUnicode, OffByDefaultWrittenAtCloseSettingsSectionUnchanged) {
    WriteSettings(Ini(), {{"DefaultScript", "DV"}});
    ASSERT_TRUE(Start(dir, manager));
    EXPECT_EQ(ItemText(manager, IDM_UNICODE_OUTPUT), "&Unicode output");
    EXPECT_FALSE(Checked(IDM_UNICODE_OUTPUT));
    EXPECT_EQ(Offered(), "B");
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(UnicodeKey(), "0");
    EXPECT_EQ(SettingsKeys(Ini()).size(), 13u); // the Settings section keeps its keys
}

TEST_F(ManagerUnicode, OnFromTheFileOffersEveryScriptAndActivatesWithoutModules) {
    WriteFileText(Ini(), "[Settings]\r\nDefaultScript=TM\r\n[Unicode]\r\nUnicodeOutput=1\r\n");
    ASSERT_TRUE(Start(dir, manager));
    EXPECT_TRUE(Checked(IDM_UNICODE_OUTPUT));
    EXPECT_EQ(Offered(), kConvertedScripts);
    // Tamil has no module here, yet it is the default script and active.
    EXPECT_TRUE(Checked(IDM_SCRIPT_TAMIL));
    EXPECT_EQ(State().activeScript, 'D');
    EXPECT_LT(State().typingMode, MODE_DISABLED_SCRIPT);
    Command(manager, IDM_SCRIPT_MALAYALAM);
    EXPECT_TRUE(Checked(IDM_SCRIPT_MALAYALAM));
    EXPECT_EQ(State().activeScript, 'I');

    // Off: only the found module's script is offered, and it takes over.
    Command(manager, IDM_UNICODE_OUTPUT);
    EXPECT_FALSE(Checked(IDM_UNICODE_OUTPUT));
    EXPECT_EQ(Offered(), "B");
    EXPECT_TRUE(Checked(IDM_SCRIPT_DEVANAGARI));
    EXPECT_FALSE(Checked(IDM_SCRIPT_MALAYALAM));
    EXPECT_EQ(State().activeScript, 'B');
    Command(manager, IDM_SCRIPT_TAMIL); // grayed again: refused
    EXPECT_EQ(State().activeScript, 'B');
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(UnicodeKey(), "0");
}

TEST_F(ManagerUnicode, TurnedOnByItsCommandAndKeptForTheNextStart) {
    WriteSettings(Ini(), {{"DefaultScript", "DV"}});
    ASSERT_TRUE(Start(dir, manager));
    Command(manager, IDM_UNICODE_OUTPUT);
    EXPECT_TRUE(Checked(IDM_UNICODE_OUTPUT));
    EXPECT_EQ(Offered(), kConvertedScripts);
    Command(manager, IDM_SCRIPT_BENGALI);
    EXPECT_EQ(State().activeScript, 'C');
    ASSERT_TRUE(Close(manager));
    EXPECT_EQ(UnicodeKey(), "1");
    EXPECT_EQ(ReadSetting(Ini(), "DefaultScript"), "BN");
}

TEST_F(ManagerUnicode, NoModuleAtAllStillStartsWhenOn) {
    dir = MakeProgramDir({});
    WriteFileText(Ini(), "[Unicode]\r\nUnicodeOutput=1\r\n");
    ASSERT_TRUE(Start(dir, manager));
    EXPECT_EQ(Offered(), kConvertedScripts);
    EXPECT_EQ(State().activeScript, 'B');
}

} // namespace
