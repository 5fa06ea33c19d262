// The hook's dispatch of keyboard and mouse messages, on real windows with the
// real per-thread keyboard state. Each test drives _MF with message records
// and reads back the record, the shared state and what was sent or posted.
#include <gtest/gtest.h>

#include <string.h>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

const LPARAM kRepeat = 0x40000000;

class KeyDispatch : public ::testing::Test {
  protected:
    void SetUp() override {
        manager = CreateManagerWindow();
        window = CreateTestWindow("Untitled - Test Editor");
        ResetDriver(VK_CAPITAL, true);
        State().managerWindow = manager;
        State().adapterFileName[0] = 0; // no module: composition converts nothing
        ManagerMessages().clear();
        Drain(nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        DestroyWindow(manager);
        Drain(nullptr);
        ClearKeyboard();
    }
    LRESULT Hook(MSG& msg) { return _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg); }
    LRESULT KeyDown(int vk, LPARAM lParam = 1) {
        last = Message(window, WM_KEYDOWN, (WPARAM)vk, lParam);
        return Hook(last);
    }
    LRESULT KeyUp(int vk) {
        last = Message(window, WM_KEYUP, (WPARAM)vk, (LPARAM)0xC0000001u);
        return Hook(last);
    }
    void SetWord(const char* codes) { strcpy(State().wordIscii, codes); }
    bool Swallowed() const { return last.message == WM_NULL; }
    // Reopen the window with a title so that the next key-down detects it.
    void UseTitle(const char* title) {
        SetWindowTextA(window, title);
        State().lastActiveWindow = nullptr;
    }

    HWND manager = nullptr;
    HWND window = nullptr;
    MSG last{};
};

TEST_F(KeyDispatch, DisabledHookPassesEveryMessageUntouched) {
    State().hookEnabled = 0;
    SetWord("\xB3");
    const UINT messages[] = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_LBUTTONDOWN, WM_RBUTTONDOWN};
    for (UINT m : messages) {
        MSG msg = Message(window, m, 'K', 0x00250001);
        EXPECT_EQ(Hook(msg), 0) << m;
        EXPECT_EQ(msg.message, m);
        EXPECT_EQ(msg.wParam, (WPARAM)'K');
        EXPECT_EQ(msg.lParam, 0x00250001);
    }
    EXPECT_STREQ(State().wordIscii, "\xB3");
    EXPECT_TRUE(Drain(window).empty());
}

TEST_F(KeyDispatch, NegativeCodeOnlyChainsAndLeavesTheMessage) {
    SetWord("\xB3");
    MSG msg = Message(window, WM_KEYDOWN, 'K');
    EXPECT_EQ(_MF(-1, PM_REMOVE, (LPARAM)&msg), 1);
    EXPECT_EQ(msg.message, (UINT)WM_KEYDOWN);
    EXPECT_STREQ(State().wordIscii, "\xB3");
}

TEST_F(KeyDispatch, OtherMessagesPassUnchanged) {
    const UINT messages[] = {WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_MOUSEMOVE, WM_PAINT};
    for (UINT m : messages) {
        MSG msg = Message(window, m, 'K', 7);
        EXPECT_EQ(Hook(msg), 1) << m;
        EXPECT_EQ(msg.message, m);
    }
}

TEST_F(KeyDispatch, EnglishModePassesKeyDownButSwallowsItsKeyUp) {
    ResetDriver(VK_CAPITAL, false);
    State().managerWindow = manager;
    SetWord("\xB3\xDA");
    EXPECT_EQ(KeyDown('K'), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_EQ(last.wParam, (WPARAM)'K');
    EXPECT_STREQ(State().wordIscii, ""); // English typing ends the word
    EXPECT_EQ(KeyUp('K'), 1);
    EXPECT_TRUE(Swallowed());
    // Key-ups of Shift, Ctrl and Alt still reach the application.
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        EXPECT_EQ(KeyUp(vk), 1);
        EXPECT_EQ(last.message, (UINT)WM_KEYUP) << vk;
    }
}

TEST_F(KeyDispatch, WithoutSwitchKeyEveryKeyPassesAsInEnglish) {
    ResetDriver(0, true); // typing mode says script, but no switch key is chosen
    State().managerWindow = manager;
    for (int vk : {(int)'K', (int)'1', VK_OEM_1}) {
        EXPECT_EQ(KeyDown(vk), 1);
        EXPECT_EQ(last.message, (UINT)WM_KEYDOWN) << vk;
    }
}

TEST_F(KeyDispatch, ClearKeyReturnsAtOnceWithoutLookingAtWindows) {
    State().lastFocusWindow = nullptr;
    EXPECT_EQ(KeyDown(VK_CLEAR), 0);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_EQ(State().lastFocusWindow, nullptr);
    EXPECT_EQ(KeyDown(VK_LEFT), 1);
    EXPECT_EQ(State().lastFocusWindow, window);
}

TEST_F(KeyDispatch, CharacterKeyIsComposedAndItsReleaseSynthesised) {
    EXPECT_EQ(State().keyHeld, 0);
    KeyDown('K');
    EXPECT_TRUE(Swallowed()); // the key itself never reaches the application
    EXPECT_EQ(State().keyHeld, 1);
    // The release comes through the system input queue as a real key-up.
    bool sawRelease = false;
    for (int i = 0; i < 50 && !sawRelease; ++i) {
        for (const Posted& p : DrainOnly(window, WM_KEYUP))
            if (p.wParam == 'K') sawRelease = true;
        if (!sawRelease) Sleep(10);
    }
    EXPECT_TRUE(sawRelease);
}

TEST_F(KeyDispatch, RepeatedCharacterKeyDownIsSwallowedExceptInFreelance) {
    State().keyHeld = 1;
    EXPECT_EQ(KeyDown('K', 0x00250001), 0);
    EXPECT_TRUE(Swallowed());
    EXPECT_EQ(last.lParam, 0);
    EXPECT_TRUE(DrainOnly(window, WM_KEYUP).empty()); // no release synthesised

    UseTitle("Freelance Graphics - [Untitled]");
    State().keyHeld = 1;
    EXPECT_EQ(KeyDown('K', 0x00250001), 1); // composed like a new key
    EXPECT_EQ(State().keyHeld, 1);
}

TEST_F(KeyDispatch, KeyUpClearsKeyHeldUnlessSpecialCodePending) {
    State().keyHeld = 1;
    State().specialCodePending = 1;
    EXPECT_EQ(KeyUp('K'), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYUP); // passes untouched
    EXPECT_EQ(State().keyHeld, 1);
    State().specialCodePending = 0;
    KeyUp('K');
    EXPECT_EQ(State().keyHeld, 0);
    EXPECT_TRUE(Swallowed());
}

TEST_F(KeyDispatch, SwitchKeyFlipsScriptAndEnglishAndTitlesTheManager) {
    struct Row {
        int modeBefore;
        bool toggledAfter;
        int modeAfter;
        const char* title;
    } rows[] = {
        {MODE_SCRIPT, false, MODE_ENGLISH, "TAV-MultiScript [English]"},
        {MODE_ENGLISH, true, MODE_SCRIPT, "TAV-MultiScript [Devanagari]"},
        {MODE_DISABLED_SCRIPT, false, MODE_DISABLED_ENGLISH, "TAV-MultiScript [Disabled]"},
        {MODE_DISABLED_ENGLISH, true, MODE_DISABLED_SCRIPT, "TAV-MultiScript [Disabled]"},
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const Row& row = rows[i];
        State().typingMode = row.modeBefore;
        SetWord("\xB3");
        SetKey(VK_CAPITAL, true, row.toggledAfter); // the press has toggled the key
        EXPECT_EQ(KeyDown(VK_CAPITAL), 1) << i;
        EXPECT_EQ(last.message, (UINT)WM_KEYDOWN) << i; // the switch key itself passes
        EXPECT_EQ(State().typingMode, row.modeAfter) << i;
        EXPECT_EQ(WindowText(manager), row.title) << i;
        EXPECT_STREQ(State().wordIscii, row.toggledAfter ? "\xB3" : "") << i;
        SetKey(VK_CAPITAL, false, row.toggledAfter);
    }
}

TEST_F(KeyDispatch, SwitchKeyHeldWhileAnotherKeyIsPressedAlsoSwitches) {
    State().typingMode = MODE_ENGLISH;
    SetKey(VK_CAPITAL, true, true);
    EXPECT_EQ(KeyDown('K'), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_EQ(State().typingMode, MODE_SCRIPT);
}

TEST_F(KeyDispatch, RepeatedSwitchKeyDoesNotSwitchAgain) {
    State().typingMode = MODE_ENGLISH;
    SetKey(VK_CAPITAL, true, true);
    KeyDown(VK_CAPITAL, 1 | kRepeat);
    EXPECT_EQ(State().typingMode, MODE_ENGLISH);
}

TEST_F(KeyDispatch, SwitchKeyInTavWindowRequestsWordFocus) {
    UseTitle("TAV KEYBOARD OVERLAY");
    State().wordFocusRequest = 0;
    SetKey(VK_CAPITAL, true, false);
    KeyDown(VK_CAPITAL);
    EXPECT_EQ(State().wordFocusRequest, 1);
}

TEST_F(KeyDispatch, CtrlSpaceAsksTheManagerToDisableAndPasses) {
    for (bool script : {true, false}) { // checked before the English-mode exit
        ResetDriver(VK_CAPITAL, script);
        State().managerWindow = manager;
        ManagerMessages().clear();
        SetWord("\xB3");
        SetKey(VK_CONTROL, true);
        SetKey(VK_SPACE, true);
        EXPECT_EQ(KeyDown(VK_SPACE), 1);
        EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
        ASSERT_EQ(ManagerMessages().size(), 1u);
        EXPECT_EQ(ManagerMessages()[0], (Posted{WM_COMMAND, 176, 0}));
        EXPECT_STREQ(State().wordIscii, "");
    }
    // With Shift too it is no disable key.
    ManagerMessages().clear();
    SetKey(VK_SHIFT, true);
    KeyDown(VK_SPACE);
    EXPECT_TRUE(ManagerMessages().empty());
}

TEST_F(KeyDispatch, ScriptHotKeysSendTheScriptCodeToTheManager) {
    struct Row {
        int key;
        int code;
    } rows[] = {{VK_F1, 'A'}, {VK_F2, 'B'}, {VK_F9, 'I'}, {VK_F11, 'J'}, {VK_F12, 'K'}};
    for (const Row& row : rows) {
        ManagerMessages().clear();
        SetWord("\xB3");
        SetKey(VK_CONTROL, true);
        SetKey(VK_SHIFT, true);
        SetKey(row.key, true);
        State().wordTitleFlag = 10;
        State().wordFocusRequest = 0;
        EXPECT_EQ(KeyDown(row.key), 1);
        EXPECT_TRUE(Swallowed());
        ASSERT_EQ(ManagerMessages().size(), 1u) << row.key;
        EXPECT_EQ(ManagerMessages()[0], (Posted{WM_USER, (WPARAM)row.code, (LPARAM)row.code}));
        EXPECT_STREQ(State().wordIscii, "");
        // Ctrl, Shift and the function key are taken out of the key state.
        EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
        EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
        EXPECT_EQ(GetKeyState(row.key) & 0x8000, 0);
        EXPECT_EQ(State().wordFocusRequest, 0);
    }
}

TEST_F(KeyDispatch, HotKeyRequestsWordFocusOnlyBeforeAnyWindowChange) {
    SetKey(VK_CONTROL, true);
    SetKey(VK_SHIFT, true);
    SetKey(VK_F3, true);
    State().lastActiveWindow = GetActiveWindow(); // no detection at this key
    State().wordTitleFlag = 0;
    State().wordFocusRequest = 0;
    KeyDown(VK_F3);
    EXPECT_EQ(State().wordFocusRequest, 1);
}

TEST_F(KeyDispatch, CtrlShiftF10IsNoHotKeyAndPasses) {
    SetKey(VK_CONTROL, true);
    SetKey(VK_SHIFT, true);
    SetKey(VK_F10, true);
    EXPECT_EQ(KeyDown(VK_F10), 0); // the Ctrl step lets shortcuts pass
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_TRUE(ManagerMessages().empty());
    // F10 is the lowest key down: F11 held with it does not choose 'J'.
    SetKey(VK_F11, true);
    KeyDown(VK_F11);
    EXPECT_TRUE(ManagerMessages().empty());
}

TEST_F(KeyDispatch, HotKeysAreOnlyRecognisedInScriptMode) {
    ResetDriver(VK_CAPITAL, false);
    State().managerWindow = manager;
    SetKey(VK_CONTROL, true);
    SetKey(VK_SHIFT, true);
    SetKey(VK_F2, true);
    EXPECT_EQ(KeyDown(VK_F2), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_TRUE(ManagerMessages().empty());
}

TEST_F(KeyDispatch, EscKeepsTheWordAndArrowEndsIt) {
    SetWord("\xB3\xDA");
    EXPECT_EQ(KeyDown(VK_ESCAPE), 1);
    EXPECT_TRUE(Swallowed());
    EXPECT_STREQ(State().wordIscii, "\xB3\xDA");
    EXPECT_EQ(KeyDown(VK_LEFT), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_STREQ(State().wordIscii, "");
}

TEST_F(KeyDispatch, ShiftAndCtrlKeyDownsKeepTheWord) {
    SetWord("\xB3");
    SetKey(VK_SHIFT, true);
    EXPECT_EQ(KeyDown(VK_SHIFT), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_STREQ(State().wordIscii, "\xB3");
}

TEST_F(KeyDispatch, OtherKeysEndTheWordAndPass) {
    for (int vk : {VK_TAB, VK_RETURN, VK_F5, VK_HOME, VK_DELETE, VK_LWIN}) {
        SetWord("\xB3");
        EXPECT_EQ(KeyDown(vk), 1);
        EXPECT_EQ(last.message, (UINT)WM_KEYDOWN) << vk;
        EXPECT_STREQ(State().wordIscii, "") << vk;
    }
}

TEST_F(KeyDispatch, CtrlLetsShortcutsPassAndKeepsTheWord) {
    SetWord("\xB3");
    SetKey(VK_CONTROL, true);
    EXPECT_EQ(KeyDown('C'), 0);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_STREQ(State().wordIscii, "\xB3");
    EXPECT_EQ(State().keyHeld, 0);
}

TEST_F(KeyDispatch, BackspacePassesWithEmptyWordAndOtherwiseRemovesTheLastCode) {
    SetKey(VK_BACK, true);
    EXPECT_EQ(KeyDown(VK_BACK), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN); // the application deletes as usual

    SetWord("\xB3\xE8\xB3");
    KeyDown(VK_BACK);
    EXPECT_TRUE(Swallowed());
    EXPECT_STREQ(State().wordIscii, "\xB3\xE8");
    EXPECT_EQ(GetKeyState(VK_BACK) & 0x8000, 0); // taken out of the key state

    // Backspace comes before the Ctrl step: Ctrl+Backspace also edits the word.
    SetKey(VK_BACK, true);
    SetKey(VK_CONTROL, true);
    KeyDown(VK_BACK);
    EXPECT_STREQ(State().wordIscii, "\xB3");
}

TEST_F(KeyDispatch, BackspaceNotDownInTheKeyStatePasses) {
    SetWord("\xB3\xDA");
    EXPECT_EQ(KeyDown(VK_BACK), 1); // a posted Backspace, no key down
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN);
    EXPECT_STREQ(State().wordIscii, "\xB3\xDA");
}

TEST_F(KeyDispatch, ShiftEscSetsTheSpecialCodeAndTakesTheCharacterPath) {
    SetKey(VK_SHIFT, true);
    SetKey(VK_ESCAPE, true);
    KeyDown(VK_ESCAPE);
    EXPECT_TRUE(Swallowed());
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
    EXPECT_EQ(GetKeyState(VK_ESCAPE) & 0x8000, 0);
    EXPECT_EQ(State().keyHeld, 1); // Esc went on as a character key
}

TEST_F(KeyDispatch, ShiftEscWithCtrlWaitsForTheNextCharacterKey) {
    SetKey(VK_SHIFT, true);
    SetKey(VK_ESCAPE, true);
    SetKey(VK_CONTROL, true);
    EXPECT_EQ(KeyDown(VK_ESCAPE), 0); // ends at the Ctrl step
    EXPECT_EQ(State().specialCodePending, 1);
    EXPECT_EQ(State().keyHeld, 0);
    EXPECT_EQ(KeyUp(VK_ESCAPE), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYUP); // key-ups pass while it is pending
}

TEST_F(KeyDispatch, LeftClickStartsANewWordExceptInTheOverlay) {
    SetWord("\xB3");
    MSG msg = Message(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(Hook(msg), 0);
    EXPECT_STREQ(State().wordIscii, "");

    UseTitle("TAV KEYBOARD OVERLAY");
    KeyDown(VK_SHIFT); // detects the category
    SetWord("\xB3");
    msg = Message(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Hook(msg);
    EXPECT_STREQ(State().wordIscii, "\xB3");
}

TEST_F(KeyDispatch, RightClickWithCtrlShiftOrOutsideEditsOpensNoDialog) {
    HWND edit = CreateEditChild(window);
    SetWord("\xB3");
    MSG msg = Message(edit, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL | MK_SHIFT, 0);
    EXPECT_EQ(Hook(msg), 1);
    EXPECT_EQ(msg.message, (UINT)WM_RBUTTONDOWN);
    EXPECT_STREQ(State().wordIscii, ""); // a click still starts a new word
    EXPECT_STREQ(State().className, "Edit");

    SetWord("\xB3");
    msg = Message(window, WM_RBUTTONDOWN, MK_RBUTTON, 0); // not an edit control
    EXPECT_EQ(Hook(msg), 1);
    EXPECT_STREQ(State().wordIscii, "");
}

TEST_F(KeyDispatch, RightClickInTheManagerPassesAndKeepsTheWord) {
    HWND child = CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 0, 10, 10, manager, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetWord("\xB3");
    for (HWND target : {manager, child}) {
        MSG msg = Message(target, WM_RBUTTONDOWN, MK_RBUTTON, 0);
        EXPECT_EQ(Hook(msg), 1);
        EXPECT_STREQ(State().wordIscii, "\xB3");
    }
    // A window owned by the manager counts as its own too.
    HWND owned = CreateWindowExA(0, "Edit", "", WS_POPUP, 0, 0, 10, 10, manager, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    MSG msg = Message(owned, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_EQ(Hook(msg), 1);
    EXPECT_STREQ(State().wordIscii, "\xB3");
    DestroyWindow(owned);
}

TEST_F(KeyDispatch, OpusFedtRightClickAfterTheDialogIsLetThroughOnce) {
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OpusFedt";
    RegisterClassA(&wc);
    HWND opus = CreateWindowExA(0, "OpusFedt", "", WS_CHILD, 0, 0, 10, 10, window, nullptr,
                                wc.hInstance, nullptr);
    State().fontDialogDone = 1;
    SetWord("\xB3");
    MSG msg = Message(opus, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL | MK_SHIFT, 0);
    EXPECT_EQ(Hook(msg), 0);
    EXPECT_EQ(State().fontDialogDone, 0);
    EXPECT_STREQ(State().wordIscii, "\xB3");
    msg = Message(opus, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL | MK_SHIFT, 0);
    EXPECT_EQ(Hook(msg), 1); // now handled like any other right click
    EXPECT_STREQ(State().wordIscii, "");
}

TEST_F(KeyDispatch, StandardControlInScriptFontTurnsScriptOnAndLeavingRestores) {
    ResetDriver(VK_CAPITAL, false); // English, switch key toggled off
    State().managerWindow = manager;
    HWND edit = CreateEditChild(window);
    HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "DV-Test");
    SendMessageA(edit, WM_SETFONT, (WPARAM)font, 0);

    MSG msg = Message(edit, WM_KEYDOWN, VK_LEFT, 1);
    Hook(msg);
    EXPECT_EQ(State().typingMode, MODE_SCRIPT);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    EXPECT_EQ(State().controlLockSaved, 1);
    EXPECT_EQ(State().savedLockForControl, 0);

    KeyDown(VK_LEFT); // the first key elsewhere brings the earlier toggle back
    EXPECT_EQ(State().typingMode, MODE_ENGLISH);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    EXPECT_EQ(State().controlLockSaved, 0);
    DeleteObject(font);
}

TEST_F(KeyDispatch, StandardControlRulesAreSkippedWithBilingualFontOrInscriber) {
    HWND edit = CreateEditChild(window);
    HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SendMessageA(edit, WM_SETFONT, (WPARAM)font, 0);
    struct Row {
        int dualFont;
        const char* title;
        int modeAfter;
    } rows[] = {
        {0, "Untitled - Test Editor", MODE_ENGLISH}, // plain font: English there
        {1, "Untitled - Test Editor", MODE_SCRIPT},
        {0, "INSCRIBER CG", MODE_SCRIPT},
    };
    for (const Row& row : rows) {
        ResetDriver(VK_CAPITAL, true);
        State().managerWindow = manager;
        State().dualFont = row.dualFont;
        SetWindowTextA(window, row.title);
        MSG msg = Message(edit, WM_KEYDOWN, VK_LEFT, 1);
        Hook(msg);
        EXPECT_EQ(State().typingMode, row.modeAfter) << row.title << " " << row.dualFont;
    }
    DeleteObject(font);
}

TEST_F(KeyDispatch, CategoryDetectionRunsOnlyWhenTheActiveWindowChanges) {
    UseTitle("Microsoft Excel - Book1");
    KeyDown(VK_SHIFT);
    EXPECT_EQ(State().categoryFlags[4], 1);
    EXPECT_EQ(State().wordTitleFlag, 10);
    SetWindowTextA(window, "Document1 - Microsoft Word"); // same window: category kept
    KeyDown(VK_SHIFT);
    EXPECT_EQ(State().categoryFlags[4], 1);
    EXPECT_STREQ(State().activeTitle, "Document1 - Microsoft Word");
    SetDefAppCategory(3); // forces a new detection
    KeyDown(VK_SHIFT);
    EXPECT_EQ(State().categoryFlags[4], 0);
    EXPECT_EQ(State().categoryFlags[11], 1);
    EXPECT_EQ(State().wordTitleFlag, 1);
}

TEST_F(KeyDispatch, EnglishModePostsShiftUpInAmiProAndWordPro) {
    struct Row {
        const char* title;
        size_t shiftUps;
    } rows[] = {{"Ami Pro - [Untitled]", 1}, {"Lotus Word Pro", 1}, {"Microsoft Excel", 0}};
    for (const Row& row : rows) {
        ResetDriver(VK_CAPITAL, false);
        State().managerWindow = manager;
        UseTitle(row.title);
        KeyDown('K');
        std::vector<Posted> posted = DrainOnly(window, WM_KEYUP);
        ASSERT_EQ(posted.size(), row.shiftUps) << row.title;
        if (row.shiftUps) {
            EXPECT_EQ(posted[0], (Posted{WM_KEYUP, VK_SHIFT, (LPARAM)0xC02A0001u}));
        }
    }
}

TEST_F(KeyDispatch, NonCharacterKeysPostCategoryShiftAndF2Sequences) {
    const LPARAM up = (LPARAM)0xC02A0001u;
    struct Row {
        const char* title;
        int key;
        std::vector<Posted> expected;
    } rows[] = {
        {"Ami Pro - [Untitled]",
         VK_TAB,
         {{WM_KEYDOWN, VK_SHIFT, 0x002A0001}, {WM_KEYUP, VK_SHIFT, up}}},
        {"Word Pro", VK_TAB, {{WM_KEYUP, VK_SHIFT, up}}},
        {"Lotus 1-2-3",
         VK_DOWN,
         {{WM_KEYDOWN, VK_F2, up},
          {WM_KEYUP, VK_F2, up},
          {WM_KEYDOWN, VK_F2, up},
          {WM_KEYUP, VK_F2, up}}},
        {"Lotus 1-2-3", VK_TAB, {}},
        {"Paradox", VK_DOWN, {}},
    };
    for (const Row& row : rows) {
        UseTitle(row.title);
        KeyDown(row.key);
        std::vector<Posted> posted = Drain(window);
        EXPECT_EQ(posted, row.expected) << row.title << ": " << Describe(posted);
    }
}

TEST_F(KeyDispatch, VenturaDropsTheFourthIdenticalKeyDown) {
    UseTitle("Corel VENTURA 8");
    int swallowedAll = 0;
    for (int i = 0; i < 5; ++i) {
        State().keyHeld = 0;
        KeyDown('K', 0x00250001);
        if (last.message == WM_NULL && last.wParam == 0 && last.lParam == 0) ++swallowedAll;
    }
    EXPECT_EQ(swallowedAll, 2); // the fourth and fifth
    // Z and keys outside 48..89 are never counted.
    for (int i = 0; i < 5; ++i) {
        State().keyHeld = 0;
        KeyDown('Z', 0x002C0001);
        EXPECT_EQ(last.wParam, (WPARAM)'Z') << i;
    }
}

TEST_F(KeyDispatch, AmiProF12TogglesTheEscapeAndTellsTheManager) {
    UseTitle("Ami Pro - [Untitled]");
    State().amiProEscape = 1;
    SetKey(VK_F12, true);
    EXPECT_EQ(KeyDown(VK_F12), 1);
    EXPECT_EQ(last.message, (UINT)WM_KEYDOWN); // the key passes
    EXPECT_EQ(State().amiProEscape, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, manager, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, (WPARAM)3845);
    EXPECT_EQ(msg.lParam, 100);
}

TEST_F(KeyDispatch, OverlayHearsTheSwitchKeyAndShift) {
    UseTitle("TAV KEYBOARD OVERLAY");
    SetKey(VK_SHIFT, true);
    KeyDown(VK_SHIFT);
    KeyDown(VK_SHIFT, 1 | kRepeat); // a repeat is not reported
    KeyUp(VK_SHIFT);
    std::vector<Posted> posted = DrainOnly(window, WM_COMMAND);
    std::vector<Posted> expected = {{WM_COMMAND, 299, 1}, {WM_COMMAND, 299, 0}};
    EXPECT_EQ(posted, expected) << Describe(posted);
    SetKey(VK_SHIFT, false);
    SetKey(VK_CAPITAL, true, false);
    KeyDown(VK_CAPITAL);
    posted = DrainOnly(window, WM_COMMAND);
    expected = {{WM_COMMAND, 297, 1}};
    EXPECT_EQ(posted, expected) << Describe(posted);
}

TEST_F(KeyDispatch, EveryKeyDownBindsThePublishedAdapterInThisProcess) {
    strcpy(State().moduleDirectory, (ProgramFolder() + "testmods\\").c_str());
    strcpy(State().adapterFileName, "TLTROP32.DLL");
    State().activeScript = SCRIPT_TELUGU;
    State().adapterEntry = nullptr;
    KeyDown(VK_LEFT);
    HMODULE module = GetModuleHandleA("TLTROP32.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ((void*)State().adapterEntry, (void*)GetProcAddress(module, "iscii2teluguglf"));

    // A published name that cannot be loaded leaves nothing bound.
    strcpy(State().adapterFileName, "MISSING.DLL");
    KeyDown(VK_LEFT);
    EXPECT_EQ(State().adapterEntry, nullptr);
    EXPECT_EQ(GetModuleHandleA("TLTROP32.DLL"), nullptr); // released again
    State().adapterFileName[0] = 0;
}

// The option log of the test adapter lives in the module's data: it survives
// only while the module stays loaded.
std::string OptionLog(HMODULE module) {
    typedef int(__cdecl * LogFn)(char*, int);
    LogFn log = (LogFn)(void*)GetProcAddress(module, "test_adapter_log");
    char text[256] = "";
    if (log) log(text, sizeof text);
    return text;
}

TEST_F(KeyDispatch, TheSameAdapterStaysLoadedAndAChangedNameTakesEffectAtTheNextKey) {
    strcpy(State().moduleDirectory, (ProgramFolder() + "testmods\\").c_str());
    strcpy(State().adapterFileName, "tltrop32.dll");
    State().activeScript = SCRIPT_TELUGU;
    KeyDown(VK_LEFT);
    HMODULE telugu = GetModuleHandleA("TLTROP32.DLL");
    ASSERT_NE(telugu, nullptr);
    int32_t consumed = 0, value = 7;
    unsigned char out[64];
    State().adapterEntry((const unsigned char*)"", out, &consumed, &value, 6); // logs "6:7"

    KeyDown(VK_LEFT); // same file: kept, its data too
    EXPECT_EQ(GetModuleHandleA("TLTROP32.DLL"), telugu);
    EXPECT_EQ(OptionLog(telugu), "6:7 ");

    strcpy(State().adapterFileName, "TMTROP32.DLL"); // another file: at the very next key
    State().activeScript = SCRIPT_TAMIL;
    KeyDown(VK_LEFT);
    EXPECT_EQ(GetModuleHandleA("TLTROP32.DLL"), nullptr);
    HMODULE tamil = GetModuleHandleA("TMTROP32.DLL");
    ASSERT_NE(tamil, nullptr);
    EXPECT_EQ((void*)State().adapterEntry, (void*)GetProcAddress(tamil, "iscii2tamilglf"));

    strcpy(State().moduleDirectory, "C:\\nowhere\\"); // a moved program folder too
    KeyDown(VK_LEFT);
    EXPECT_EQ(GetModuleHandleA("TMTROP32.DLL"), nullptr);
    EXPECT_EQ(State().adapterEntry, nullptr);
    State().adapterFileName[0] = 0;
    KeyDown(VK_LEFT);
}

} // namespace
