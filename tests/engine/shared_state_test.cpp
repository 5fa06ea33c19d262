// The shared record: its initial values in a freshly mapped section, and the
// single copy that every process sees.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

// Runs shared_probe.exe (beside this program) and returns its exit code.
int RunProbe(const char* arguments) {
    char command[256];
    snprintf(command, sizeof command, "shared_probe.exe %s", arguments);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    DWORD code = (DWORD)-2;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return (int)code;
}

// Runs first, before anything in this process changes the record.
TEST(SharedState, FreshSectionHoldsItsInitialValues) {
    const SharedState& s = State();
    EXPECT_EQ(s.hookEnabled, 1);
    EXPECT_EQ(s.typingMode, MODE_ENGLISH);
    EXPECT_EQ(s.activeScript, SCRIPT_DEVANAGARI);
    EXPECT_EQ(s.keyboardKind, KBD_INSCRIPT);
    EXPECT_STREQ(s.layoutPath, "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890");
    EXPECT_EQ(s.layoutLoaded, 1);
    EXPECT_EQ(s.hyphenation, 1);
    EXPECT_EQ(s.amiProEscape, 1);
    EXPECT_EQ(s.fontDialogDone, 1);
    EXPECT_EQ(s.savedLockWhileDisabled, 2);
    EXPECT_EQ(s.currentSet, '0');
    EXPECT_STREQ(s.nameScratch, " ");
    EXPECT_EQ(s.lastIndicScript, SCRIPT_DEVANAGARI);
    EXPECT_EQ(s.switchKey, 0);
    EXPECT_EQ(s.multipleSets, 0);
    EXPECT_EQ(s.defaultAppCategory, 0);
    EXPECT_EQ(s.wordTitleFlag, 0);
    EXPECT_STREQ(s.wordIscii, "");
    EXPECT_STREQ(s.scriptDisplayNames['R' - 'A'], "Sanskrit-DEV");
    EXPECT_EQ(s.managerWindow, nullptr);
    for (int i = 0; i < CAT_FLAG_COUNT; ++i)
        EXPECT_EQ(s.categoryFlags[i], 0) << i;
}

TEST(SharedState, OneCopyForEveryProcess) {
    SetDefAppCategory(0);
    ASSERT_EQ(RunProbe("set-category 5"), 0);
    EXPECT_EQ(State().defaultAppCategory, 5); // written in the other process
    SetDefAppCategory(9);
    EXPECT_EQ(RunProbe("get-category"), 9); // written here, read there
    SetDefAppCategory(14);                  // out of range: nothing changes
    EXPECT_EQ(RunProbe("get-category"), 9);
    _AI(0);
    EXPECT_EQ(RunProbe("get-mode"), MODE_DISABLED_ENGLISH);
    _AI(1);
    EXPECT_EQ(RunProbe("get-mode"), MODE_ENGLISH);
}

TEST(SharedState, SectionIsDeclaredSharedInTheImage) {
    HMODULE module = GetModuleHandleA("NELKOR.DLL");
    ASSERT_NE(module, nullptr);
    const BYTE* base = (const BYTE*)module;
    const IMAGE_NT_HEADERS* nt =
        (const IMAGE_NT_HEADERS*)(base + ((const IMAGE_DOS_HEADER*)base)->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    bool found = false;
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (memcmp(section->Name, "SHARED_S", 8) != 0) continue;
        found = true;
        EXPECT_TRUE(section->Characteristics & IMAGE_SCN_MEM_SHARED);
        EXPECT_TRUE(section->Characteristics & IMAGE_SCN_MEM_WRITE);
        const BYTE* start = base + section->VirtualAddress;
        const BYTE* record = (const BYTE*)NelkorSharedState();
        EXPECT_TRUE(record >= start &&
                    record + sizeof(SharedState) <= start + section->Misc.VirtualSize);
    }
    EXPECT_TRUE(found);
}

} // namespace
