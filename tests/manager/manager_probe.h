// A probe that answers questions about the manager's menus from inside the
// manager's own thread: menus belong to their process, so another process
// cannot read them directly. The test installs ProbeCallWndProc as a
// WH_CALLWNDPROC hook on the manager's thread and sends the registered
// message kProbeMessage to its window; the answer lands in the probe's shared
// record, which the test reads through ProbeAnswer.
#ifndef NK_MANAGER_PROBE_H
#define NK_MANAGER_PROBE_H

#include <windows.h>
#include <stdint.h>

#define NK_PROBE_MESSAGE "NkManagerProbe"

// Questions (lParam of the probe message); wParam is the item id or position.
enum ProbeQuestion {
    PROBE_MENU_STATE = 0,    // GetMenuState of main-menu item wParam (by command)
    PROBE_SYSMENU_STATE = 1, // GetMenuState of system-menu item wParam
    PROBE_POPUP_COUNT = 2,   // item count of main-menu popup at position wParam
    PROBE_ITEM_TEXT = 3,     // text of main-menu item wParam (by command)
    PROBE_KEYBOARD_TEXT = 4, // text of the "&Keyboard" item at position wParam
    PROBE_CLASS_STYLE = 5,   // the window class style
    PROBE_CLASS_LOOK = 6     // 1 when brush, cursor and icon are as registered
};

struct ProbeRecord {
    int32_t answer;
    char text[256];
};

// The "Cancel" button of the print-abort dialog "PRINTABORT".
enum { PROBE_PRINT_CANCEL = 101 };

extern "C" {
__declspec(dllexport) LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam);
// WH_CALLWNDPROC hook: presses "Cancel" in the print-abort dialog as it opens.
__declspec(dllexport) LRESULT CALLBACK ProbeCancelPrinting(int code, WPARAM wParam, LPARAM lParam);
__declspec(dllexport) ProbeRecord* ProbeAnswer(void);
}

#endif
