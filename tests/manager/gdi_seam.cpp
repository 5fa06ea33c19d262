// The counting functions of gdi_seam.h, calling the real ones.
#include "tests/manager/gdi_seam.h"

#undef CreatePen
#undef CreateFontIndirectA
#undef CreateDCA
#undef DeleteObject
#undef DeleteDC
#undef CreateDialogParamA
#undef DestroyWindow

GdiSeamCounts gdiSeam;

static void Made(const void* handle) {
    if (!handle) return;
    ++gdiSeam.objectsMade;
    ++gdiSeam.objectsLive;
}

HPEN SeamCreatePen(int style, int width, COLORREF color) {
    HPEN pen = CreatePen(style, width, color);
    Made(pen);
    return pen;
}

HFONT SeamCreateFontIndirectA(const LOGFONTA* font) {
    HFONT made = CreateFontIndirectA(font);
    Made(made);
    return made;
}

HDC SeamCreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode) {
    HDC dc = CreateDCA(driver, device, port, mode);
    Made(dc);
    return dc;
}

BOOL SeamDeleteObject(HGDIOBJ object) {
    const BOOL deleted = DeleteObject(object);
    if (deleted) --gdiSeam.objectsLive;
    return deleted;
}

BOOL SeamDeleteDC(HDC dc) {
    const BOOL deleted = DeleteDC(dc);
    if (deleted) --gdiSeam.objectsLive;
    return deleted;
}

HWND SeamCreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc,
                            LPARAM lParam) {
    HWND dialog = CreateDialogParamA(instance, name, owner, proc, lParam);
    if (dialog) ++gdiSeam.dialogsLive;
    return dialog;
}

BOOL SeamDestroyWindow(HWND window) {
    const BOOL destroyed = DestroyWindow(window);
    if (destroyed) --gdiSeam.dialogsLive;
    return destroyed;
}
