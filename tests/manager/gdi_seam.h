// A seam for the overlay's printing code in the page test: every GDI object,
// printer device context and dialog it makes or frees goes through these
// counting functions (forced in with -include), so that a test can see that
// a print leaves nothing behind on every path. Wine keeps no count of a
// process's GDI objects that a program could read.
#ifndef NK_GDI_SEAM_H
#define NK_GDI_SEAM_H

#include <windows.h>

#include <commdlg.h>

struct GdiSeamCounts {
    int objectsMade; // pens, fonts, printer device contexts
    int objectsLive; // made and not yet freed
    int dialogsLive; // modeless dialogs made and not yet destroyed
};
extern GdiSeamCounts gdiSeam;

HPEN SeamCreatePen(int style, int width, COLORREF color);
HFONT SeamCreateFontIndirectA(const LOGFONTA* font);
HDC SeamCreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode);
BOOL SeamDeleteObject(HGDIOBJ object);
BOOL SeamDeleteDC(HDC dc);
HWND SeamCreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc,
                            LPARAM lParam);
BOOL SeamDestroyWindow(HWND window);

#ifndef NK_GDI_SEAM_REAL
#define CreatePen SeamCreatePen
#define CreateFontIndirectA SeamCreateFontIndirectA
#define CreateDCA SeamCreateDCA
#define DeleteObject SeamDeleteObject
#define DeleteDC SeamDeleteDC
#define CreateDialogParamA SeamCreateDialogParamA
#define DestroyWindow SeamDestroyWindow
#endif

#endif // NK_GDI_SEAM_H
