#include "tests/harness/wine_test_util.h"

#include <stdio.h>
#include <string.h>

namespace nktest {

std::string Describe(const std::vector<Posted>& list) {
    std::string out;
    char line[96];
    for (const Posted& p : list) {
        snprintf(line, sizeof line, "{0x%04X, %llu, 0x%08llX} ", p.message,
                 (unsigned long long)p.wParam, (unsigned long long)(unsigned)p.lParam);
        out += line;
    }
    return out;
}

static LRESULT CALLBACK TestWndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

HWND CreateTestWindow(const char* title, const char* className) {
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc); // a second registration fails harmlessly
    HWND w = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                             200, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(w);
    SetActiveWindow(w);
    SetFocus(w);
    return w;
}

HWND CreateEditChild(HWND parent) {
    return CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 200, 30,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

static std::vector<Posted> managerMessages;

std::vector<Posted>& ManagerMessages() {
    return managerMessages;
}

static LRESULT CALLBACK ManagerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_USER || m == WM_COMMAND) managerMessages.push_back({m, wp, lp});
    return DefWindowProcA(w, m, wp, lp);
}

HWND CreateManagerStandIn(WNDPROC procedure, int x, int y, int width, int height) {
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LoraTAV";
    RegisterClassA(&wc);
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 100, "E&xit");
    HMENU scripts = CreatePopupMenu();
    for (int code = 'A'; code <= 'R'; ++code) {
        char name[8];
        snprintf(name, sizeof name, "&%c", code);
        AppendMenuA(scripts, MF_STRING, (UINT_PTR)code, name);
    }
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)scripts, "&Script");
    return CreateWindowExA(0, "LoraTAV", "TAV-MultiScript", WS_OVERLAPPEDWINDOW, x, y, width,
                           height, nullptr, bar, wc.hInstance, nullptr);
}

HWND CreateManagerWindow() {
    managerMessages.clear();
    return CreateManagerStandIn(ManagerProc, 400, 10, 300, 200);
}

std::vector<Posted> Drain(HWND window) {
    std::vector<Posted> out;
    MSG msg;
    // Bounded: a window that keeps asking to be painted must not hang a test.
    for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_PAINT || msg.message == WM_NCPAINT || msg.message == WM_ERASEBKGND) {
            DispatchMessageA(&msg); // painting validates; otherwise it comes back forever
            continue;
        }
        if (msg.hwnd == window || (window && IsChild(window, msg.hwnd)) || !msg.hwnd)
            out.push_back({msg.message, msg.wParam, msg.lParam});
    }
    return out;
}

std::vector<Posted> DrainOnly(HWND window, UINT message) {
    std::vector<Posted> all = Drain(window), out;
    for (const Posted& p : all)
        if (p.message == message) out.push_back(p);
    return out;
}

void ClearKeyboard() {
    BYTE state[256];
    memset(state, 0, sizeof state);
    SetKeyboardState(state);
}

void SetKey(int vk, bool down, bool toggled) {
    BYTE state[256];
    GetKeyboardState(state);
    state[vk] = (BYTE)((down ? 0x80 : 0) | (toggled ? 1 : 0));
    SetKeyboardState(state);
}

MSG Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg;
    memset(&msg, 0, sizeof msg);
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

void ResetDriver(int switchKey, bool scriptOn) {
    SharedState& s = State();
    s.hookEnabled = 1;
    s.switchKey = switchKey;
    s.typingMode = scriptOn ? MODE_SCRIPT : MODE_ENGLISH;
    s.activeScript = SCRIPT_DEVANAGARI;
    s.keyHeld = 0;
    s.specialCodePending = 0;
    s.dualFont = 0;
    s.multipleSets = 0;
    s.lastActiveWindow = nullptr;
    s.lastFocusWindow = nullptr;
    s.controlLockSaved = 0;
    s.defaultAppCategory = 0;
    s.wordIscii[0] = 0;
    s.shownGlyphs[0] = 0;
    s.shownPairs[0] = 0;
    ClearKeyboard();
    if (switchKey) SetKey(switchKey, false, scriptOn);
}

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = 0;
    return path;
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace nktest
