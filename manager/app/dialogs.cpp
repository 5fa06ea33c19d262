// The manager's own dialogs: About, the application category, the keyboard
// file chooser, and help.
#include <string.h>

#include "manager/app/manager.h"

#include <commdlg.h>
#include "manager/app/manager_rules.h"

/* ---------------- AboutDlgProc ---------------- */
extern "C" INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

/* ---------------- TuneAppDlgProc ----------------
   Each step reaches the driver at once; there is no cancel, so the close box
   and Esc (which send IDCANCEL) do nothing and only "Ok" closes. */
extern "C" INT_PTR CALLBACK TuneAppDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemInt(dialog, IDC_CATEGORY_VALUE, (UINT)mgr.appCategory, FALSE);
        return TRUE;
    case WM_HSCROLL: {
        int step = 0;
        if (LOWORD(wParam) == SB_LINELEFT && mgr.appCategory > 0) step = -1;
        if (LOWORD(wParam) == SB_LINERIGHT && mgr.appCategory < 13) step = 1;
        if (step == 0) return TRUE;
        mgr.appCategory += step;
        SetDlgItemInt(dialog, IDC_CATEGORY_VALUE, (UINT)mgr.appCategory, FALSE);
        SetDefAppCategory(mgr.appCategory);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return FALSE;
        EndDialog(dialog, 1);
        return TRUE;
    default: return FALSE;
    }
}

/* The "&Others" keyboard: any "*.BIN" layout file. */
bool ChooseKeyboardFile(HWND owner, char* file, DWORD size) {
    OPENFILENAMEA request;
    memset(&request, 0, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = "*.BIN\0*.BIN\0";
    request.nFilterIndex = 1;
    request.lpstrFile = file;
    request.nMaxFile = size;
    request.lpstrInitialDir = mgr.programDirectory;
    request.lpstrTitle = "Load Keyboard Overlay File";
    request.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&request) != 0;
}

/* Help: "davrin.hlp" in the program directory at its contents. No help file
   ships yet; rather than the help viewer's own complaint the user is told
   where the file is looked for. */
void OpenHelpContents(HWND owner) {
    char path[MGR_PATH_SIZE];
    CopyText(path, sizeof path, mgr.programDirectory);
    AppendText(path, sizeof path, "davrin.hlp");
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        char text[MGR_PATH_SIZE + 64];
        CopyText(text, sizeof text, "The help file is not installed:\n");
        AppendText(text, sizeof text, path);
        MessageBoxA(owner, text, "TAV", MB_OK | MB_ICONINFORMATION);
        return;
    }
    WinHelpA(owner, path, HELP_CONTENTS, 0);
}
