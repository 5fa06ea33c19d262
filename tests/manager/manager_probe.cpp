// The probe DLL: runs in the manager's thread through a WH_CALLWNDPROC hook.
#include "tests/manager/manager_probe.h"

#include <string.h>

// One record for every process that maps the probe.
__attribute__((section(".shared"), shared)) ProbeRecord probeRecord = {0, {0}};

static void Answer(HWND window, WPARAM which, LPARAM question) {
    HMENU menu = GetMenu(window);
    probeRecord.text[0] = 0;
    switch (question) {
    case PROBE_MENU_STATE:
        probeRecord.answer = (int32_t)GetMenuState(menu, (UINT)which, MF_BYCOMMAND);
        break;
    case PROBE_SYSMENU_STATE:
        probeRecord.answer =
            (int32_t)GetMenuState(GetSystemMenu(window, FALSE), (UINT)which, MF_BYCOMMAND);
        break;
    case PROBE_POPUP_COUNT:
        probeRecord.answer = GetMenuItemCount(GetSubMenu(menu, (int)which));
        break;
    case PROBE_ITEM_TEXT:
        probeRecord.answer = GetMenuStringA(menu, (UINT)which, probeRecord.text,
                                            sizeof probeRecord.text, MF_BYCOMMAND);
        break;
    case PROBE_KEYBOARD_TEXT:
        probeRecord.answer = GetMenuStringA(GetSubMenu(menu, 3), (UINT)which, probeRecord.text,
                                            sizeof probeRecord.text, MF_BYPOSITION);
        break;
    case PROBE_CLASS_STYLE: probeRecord.answer = (int32_t)GetClassLongA(window, GCL_STYLE); break;
    case PROBE_CLASS_LOOK: {
        const bool brush =
            (HGDIOBJ)GetClassLongPtrA(window, GCLP_HBRBACKGROUND) == GetStockObject(LTGRAY_BRUSH);
        const bool cursor = (HCURSOR)GetClassLongPtrA(window, GCLP_HCURSOR) ==
                            LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        const bool icon = GetClassLongPtrA(window, GCLP_HICON) != 0;
        probeRecord.answer = brush && cursor && icon;
        break;
    }
    default: probeRecord.answer = -2; break;
    }
}

extern "C" LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    static UINT probeMessage = RegisterWindowMessageA(NK_PROBE_MESSAGE);
    if (code == HC_ACTION) {
        const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
        if (call->message == probeMessage) Answer(call->hwnd, call->wParam, call->lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" ProbeRecord* ProbeAnswer(void) {
    return &probeRecord;
}

/* The user's "Cancel" in the print-abort dialog the moment it opens: the
   command waits in the queue until the printing code next lets the dialog
   answer. Counted in the shared record's answer. */
extern "C" LRESULT CALLBACK ProbeCancelPrinting(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
        char title[16] = "";
        if (call->message == WM_INITDIALOG) GetWindowTextA(call->hwnd, title, sizeof title);
        if (strcmp(title, "TAV") == 0 && GetDlgItem(call->hwnd, PROBE_PRINT_CANCEL)) {
            PostMessageA(call->hwnd, WM_COMMAND, PROBE_PRINT_CANCEL, 0);
            ++probeRecord.answer;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
