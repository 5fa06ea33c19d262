// Helpers for Windows tests run under Wine: real windows, the real per-thread
// keyboard state, and a record of what was posted to a window.
#ifndef NK_WINE_TEST_UTIL_H
#define NK_WINE_TEST_UTIL_H

#include <windows.h>

#include <string>
#include <vector>

#include "driver/engine/shared_state.h"

namespace nktest {

// The driver's shared record, through the diagnostics export.
inline SharedState& State() {
    return *(SharedState*)NelkorSharedState();
}

// One message taken from a queue.
struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted& o) const {
        return message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};
std::string Describe(const std::vector<Posted>& list);

// A top-level window of a private class (optionally with a child "Edit").
HWND CreateTestWindow(const char* title, const char* className = "NkTestWindow");
HWND CreateEditChild(HWND parent);

// A stand-in for the manager's main window: class "LoraTAV", a menu whose
// second pop-up holds one item per script code 'A'..'R' (enabled). The
// WM_USER and WM_COMMAND messages it receives are recorded in
// ManagerMessages() (cleared when the window is made).
HWND CreateManagerWindow();
std::vector<Posted>& ManagerMessages();

// The same stand-in with a window procedure of the caller's, at x, y.
HWND CreateManagerStandIn(WNDPROC procedure, int x, int y, int width, int height);

// Remove every message queued for window (and its children) without
// dispatching it: the record of what the driver posted. WM_KEYUP and WM_KEYDOWN
// synthesised through the input queue arrive too once pumped.
std::vector<Posted> Drain(HWND window);
std::vector<Posted> DrainOnly(HWND window, UINT message);

// Keyboard state of this thread.
void ClearKeyboard();
void SetKey(int vk, bool down, bool toggled = false);

// A message record as the hook would receive it.
MSG Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 1);

// Put the shared record back into a known state for one test: hook enabled,
// the given switch key toggled as asked, script active, typing mode set.
void ResetDriver(int switchKey = VK_CAPITAL, bool scriptOn = true);

// Folder of the running test program (bin\\), with its trailing backslash.
std::string ProgramFolder();

// Read a window's text.
std::string WindowText(HWND window);

} // namespace nktest

#endif
