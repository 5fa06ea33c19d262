// The driver's hooks pass every message they do not swallow on to the hooks
// after them: another program's hook, installed before the driver's, sees
// the keys that pass and the glyphs typed, and none of the keys swallowed.
#include <gtest/gtest.h>

#include <string>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

typedef int(__cdecl* TakeFn)(char*, int);

class HookChain : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        probe = LoadLibraryA((ProgramFolder() + "chain_probe.dll").c_str());
        ASSERT_NE(probe, nullptr);
        take = (TakeFn)(void*)GetProcAddress(probe, "chain_probe_take");
        HOOKPROC hook = (HOOKPROC)(void*)GetProcAddress(probe, "chain_probe_hook");
        // Installed first, so it comes after the driver's hook in the chain.
        probeHook = SetWindowsHookExA(WH_GETMESSAGE, hook, probe, 0);
        ASSERT_NE(probeHook, nullptr);
        manager = CreateManagerWindow();
        window = CreateTestWindow("Untitled - Chain Test");
        edit = CreateEditChild(window);
        Nelkor_Entry(GetModuleHandleA(nullptr));
    }
    static void TearDownTestSuite() {
        WEP();
        UnhookWindowsHookEx(probeHook);
        DestroyWindow(window);
        DestroyWindow(manager);
    }
    void SetUp() override {
        ResetDriver(VK_CAPITAL, false);
        SharedState& s = State();
        snprintf(s.moduleDirectory, sizeof s.moduleDirectory, "%stestmods\\\\",
                 ProgramFolder().c_str());
        snprintf(s.adapterFileName, sizeof s.adapterFileName, "%s", "dvtrop32.dll");
        s.keyboardKind = KBD_INSCRIPT;
        SetForegroundWindow(window);
        SetFocus(edit);
        SetWindowTextA(edit, "");
    }

    // Presses the keys (down and up each), then F24 as a sentinel that passes
    // the driver; returns what the probe saw before the sentinel.
    std::string Press(std::initializer_list<BYTE> keys) {
        for (BYTE key : keys) {
            keybd_event(key, 0, 0, 0);
            keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        }
        keybd_event(VK_F24, 0, 0, 0);
        keybd_event(VK_F24, 0, KEYEVENTF_KEYUP, 0);
        std::string seen;
        char text[2048];
        const DWORD start = GetTickCount();
        while (seen.find("D87") == std::string::npos && GetTickCount() - start < 5000) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (take(text, sizeof text) > 0) seen += (seen.empty() ? "" : " ") + std::string(text);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        const size_t sentinel = seen.find("D87");
        EXPECT_NE(sentinel, std::string::npos) << "the sentinel never came: " << seen;
        return sentinel == std::string::npos ? seen : seen.substr(0, sentinel == 0 ? 0 : sentinel - 1);
    }

    static HMODULE probe;
    static TakeFn take;
    static HHOOK probeHook;
    static HWND manager, window, edit;
};
HMODULE HookChain::probe;
TakeFn HookChain::take;
HHOOK HookChain::probeHook;
HWND HookChain::manager, HookChain::window, HookChain::edit;

TEST_F(HookChain, EnglishKeysAndShiftPassOn) {
    // K passes with its character; the key-up of a letter is swallowed (the
    // application sees key-ups of Shift, Ctrl and Alt only). The default
    // category also posts a Shift key-up after every English key.
    EXPECT_EQ(Press({'K'}), "D4B U10 C6B");
    EXPECT_EQ(Press({VK_SHIFT}), "D10 U10 U10");
}

TEST_F(HookChain, SwallowedScriptKeysDoNotButTheirGlyphsDo) {
    // The switch key passes (its key-up does not); K is swallowed and the
    // test adapter's KA glyph 'S' is typed in its place.
    EXPECT_EQ(Press({VK_CAPITAL}), "D14");
    EXPECT_EQ(State().typingMode, MODE_SCRIPT);
    EXPECT_EQ(Press({'K'}), "C53");
    EXPECT_EQ(WindowText(edit), "S");
    Press({VK_CAPITAL});
    SetWindowTextA(edit, "");
}

} // namespace
