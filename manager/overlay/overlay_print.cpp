// The overlay printed as a chart on one page: the keys where the overlay's
// buttons are on the screen, 10% larger, with both script texts of every key,
// under a black title band.
//
// The print setup dialog is the platform's own, without the "PRINTSETUP"
// template: that template lacks the printer controls the dialog needs, and
// the fixed scale already puts the whole chart on a Letter or A4 page, so
// fit-to-page and margins stay off and the chart keeps one known size.
#include <string.h>

#include "manager/app/manager.h"

#include <commdlg.h>
#include "manager/app/manager_rules.h"
#include "manager/overlay/overlay.h"

static const char kAbortResource[] = "PRINTABORT";
static const char kDocumentName[] = "KBD";
static const char kChartTitle[] = "TAV KEYBOARD OVERLAY";
static const char kPlainFace[] = "MS Sans Serif";
static const int kPlainPoints = 9;
static const double kEnlarge = 1.1;          // the chart is 10% larger than the screen
static const int kScreenDpi = 96;            // the overlay's pixels are taken at 96 per inch
static const int kButtonShiftX = 4;          // buttons' screen rectangles are moved so
static const int kButtonShiftY = 40;         // before they become client coordinates
static const int kFitToPage = IDC_PRINT_FIT; // "PRINTSETUP" check boxes
static const int kMargins = IDC_PRINT_MARGINS;

// Lives while one print runs; the options are those of "PRINTSETUP".
static struct PrintJob {
    bool abort;
    HWND abortDialog;
    bool fitToPage;
    bool margins;
} job;

/* ---------------- PrintSetup ---------------- */
extern "C" UINT_PTR CALLBACK PrintSetup(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        CheckDlgButton(dialog, kFitToPage, job.fitToPage ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, kMargins, job.margins ? BST_CHECKED : BST_UNCHECKED);
        ShowWindow(GetDlgItem(dialog, kMargins), job.fitToPage ? SW_SHOW : SW_HIDE);
    } else if (message == WM_COMMAND && LOWORD(wParam) == kFitToPage) {
        job.fitToPage = !job.fitToPage;
        ShowWindow(GetDlgItem(dialog, kMargins), job.fitToPage ? SW_SHOW : SW_HIDE);
    } else if (message == WM_COMMAND && LOWORD(wParam) == kMargins) {
        job.margins = !job.margins;
    }
    return 0;
}

/* ---------------- PrintAbortDlg ---------------- */
extern "C" INT_PTR CALLBACK PrintAbortDlg(HWND, UINT message, WPARAM, LPARAM) {
    if (message != WM_COMMAND) return FALSE;
    job.abort = true;
    return TRUE;
}

/* ---------------- PrintAbortLoop ----------------
   Called by the printing system while it works: keeps the abort dialog
   answering. FALSE stops the job. */
extern "C" BOOL CALLBACK PrintAbortLoop(HDC, int) {
    MSG msg;
    while (!job.abort && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (job.abortDialog && IsDialogMessageA(job.abortDialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return job.abort ? FALSE : TRUE;
}

/* ---------------- the page ---------------- */

static LONG Scaled(double value) {
    return (LONG)value; // toward zero
}

// A button's place on the page: its screen rectangle moved, in the
// overlay's client coordinates, scaled.
static RECT KeyRect(HWND dialog, HWND button, double sX, double sY) {
    RECT rect;
    GetWindowRect(button, &rect);
    OffsetRect(&rect, kButtonShiftX, kButtonShiftY);
    MapWindowPoints(nullptr, dialog, (POINT*)&rect, 2);
    return RECT{Scaled(rect.left * sX), Scaled(rect.top * sY), Scaled(rect.right * sX),
                Scaled(rect.bottom * sY)};
}

static void DrawKeyOutline(HDC dc, const RECT& r, double sX, double sY) {
    RoundRect(dc, r.left, r.top, r.right, r.bottom, Scaled(5 * sX), Scaled(5 * sY));
}

// Both script texts at the key's right edge: shifted at the top, unshifted
// at the bottom.
static void DrawKeyScript(HDC dc, const KeyEntry* key, const RECT& r, double sX, double sY) {
    char glyphs[OVERLAY_GLYPHS_SIZE];
    SIZE extent;
    KeyGlyphs(key, true, glyphs);
    int length = (int)strlen(glyphs);
    if (length && GetTextExtentPoint32A(dc, glyphs, length, &extent))
        TextOutA(dc, r.right - extent.cx - Scaled(2 * sX), r.top + Scaled(3 * sY), glyphs, length);
    KeyGlyphs(key, false, glyphs);
    length = (int)strlen(glyphs);
    if (length && GetTextExtentPoint32A(dc, glyphs, length, &extent))
        TextOutA(dc, r.right - extent.cx - Scaled(2 * sX), r.bottom - extent.cy - Scaled(3 * sY),
                 glyphs, length);
}

static void DrawCharacterKeys(HDC dc, HWND dialog, double sX, double sY, HFONT font9) {
    for (int id = IDC_KEY_BASE; id < IDC_KEY_ESC; ++id) {
        HWND button = GetDlgItem(dialog, id);
        const KeyEntry* key = OverlayKey(id);
        if (!button || !key) continue;
        const RECT r = KeyRect(dialog, button, sX, sY);
        DrawKeyOutline(dc, r, sX, sY);
        DrawKeyScript(dc, key, r, sX, sY);
    }
    SelectObject(dc, font9);
    for (int id = IDC_KEY_BASE; id < IDC_KEY_ESC; ++id) {
        HWND button = GetDlgItem(dialog, id);
        const KeyEntry* key = OverlayKey(id);
        if (!button || !key || !key->englishShifted[0]) continue;
        const RECT r = KeyRect(dialog, button, sX, sY);
        TextOutA(dc, r.left + Scaled(sX), r.top + Scaled(3 * sY), key->englishShifted, 1);
    }
}

// The special keys with their captions centred; returns the rectangle of
// the last one, which bounds the picture.
static RECT DrawSpecialKeys(HDC dc, HWND dialog, double sX, double sY) {
    RECT last{0, 0, 0, 0};
    for (int id = IDC_KEY_ESC; id <= IDC_KEY_RCTRL; ++id) {
        HWND button = GetDlgItem(dialog, id);
        if (!button) continue;
        const RECT r = KeyRect(dialog, button, sX, sY);
        DrawKeyOutline(dc, r, sX, sY);
        char caption[OVERLAY_SPECIAL_CAPTION] = "";
        GetWindowTextA(button, caption, sizeof caption);
        SIZE extent;
        const int length = (int)strlen(caption);
        if (length && GetTextExtentPoint32A(dc, caption, length, &extent))
            TextOutA(dc, r.left + (r.right - r.left - extent.cx) / 2,
                     r.top + (r.bottom - r.top - extent.cy) / 2, caption, length);
        last = r;
    }
    return last;
}

// The black band with the title, the frame, the rule under the band's
// subtitle, and the subtitle.
static void DrawTitleAndFrame(HDC dc, const RECT& last, double sX, double sY, HPEN keyPen) {
    const LONG right = last.right + Scaled(20 * sX);
    RECT band{0, 0, right + Scaled(sX), Scaled(20 * sY) - 1};
    FillRect(dc, &band, (HBRUSH)GetStockObject(BLACK_BRUSH));
    RECT title{0, Scaled(4 * sY), right, Scaled(20 * sY) - 1};
    const COLORREF oldColor = SetTextColor(dc, RGB(255, 255, 255));
    const int oldExtra = SetTextCharacterExtra(dc, Scaled(1.5 * sX));
    DrawTextA(dc, kChartTitle, -1, &title, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetTextCharacterExtra(dc, oldExtra);

    HPEN framePen = CreatePen(PS_SOLID, Scaled(2 * sX), RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, framePen);
    const LONG top = Scaled(20 * sY);
    const LONG bottom = last.bottom + Scaled(20 * sY);
    MoveToEx(dc, 0, top, nullptr);
    LineTo(dc, right, top);
    LineTo(dc, right, bottom);
    LineTo(dc, 0, bottom);
    LineTo(dc, 0, top);
    SelectObject(dc, keyPen ? (HGDIOBJ)keyPen : oldPen);
    DeleteObject(framePen);
    MoveToEx(dc, 0, Scaled(44 * sY), nullptr);
    LineTo(dc, right, Scaled(44 * sY));

    title.top += Scaled(24 * sY);
    title.bottom += Scaled(22 * sY);
    char subtitle[OVERLAY_TITLE_SIZE];
    OverlaySubtitle(mgr.currentKeyboard, mgr.keyboardFile, mgr.currentScript, subtitle,
                    sizeof subtitle);
    DrawTextA(dc, subtitle, -1, &title, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void DrawOverlayPage(HDC dc, HWND dialog, double sX, double sY, HFONT scriptFont, HFONT font9) {
    HGDIOBJ oldFont = SelectObject(dc, scriptFont);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    HPEN keyPen = nullptr;
    if (sX > 1) keyPen = CreatePen(PS_SOLID, Scaled(sX * 2 / 3), RGB(0, 0, 0));
    HGDIOBJ oldPen = keyPen ? SelectObject(dc, keyPen) : nullptr;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH)); // outlines only

    DrawCharacterKeys(dc, dialog, sX, sY, font9);
    const RECT last = DrawSpecialKeys(dc, dialog, sX, sY);
    DrawTitleAndFrame(dc, last, sX, sY, keyPen);

    SelectObject(dc, oldBrush);
    if (oldPen) SelectObject(dc, oldPen);
    if (keyPen) DeleteObject(keyPen);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

/* ---------------- printing ---------------- */

static void FreeDeviceChoice(PRINTDLGA& request) {
    if (request.hDevMode) GlobalFree(request.hDevMode);
    if (request.hDevNames) GlobalFree(request.hDevNames);
    request.hDevMode = nullptr;
    request.hDevNames = nullptr;
}

// One page on the printer: the abort dialog answers while the printing
// system works; every object made here is released before returning.
static void PrintOnDevice(HWND dialog, HDC dc) {
    const int pixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    const int pixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    const double sX = kEnlarge * pixelsX / kScreenDpi;
    const double sY = kEnlarge * pixelsY / kScreenDpi;
    char face[OVERLAY_FACE_SIZE];
    char sizeText[OVERLAY_SIZE_TEXT_SIZE];
    SplitFontEntry(ScriptFontEntry(), face, sizeof face, sizeText, sizeof sizeText);
    HFONT font9 = CreateOverlayFont(dc, kPlainFace, kPlainPoints);
    HFONT scriptFont = CreateOverlayFont(dc, face, FontEntryPoints(ScriptFontEntry()));
    HGDIOBJ oldFont = SelectObject(dc, scriptFont);

    SetAbortProc(dc, PrintAbortLoop);
    job.abort = false;
    DOCINFOA document;
    memset(&document, 0, sizeof document);
    document.cbSize = sizeof document;
    document.lpszDocName = kDocumentName;
    if (StartDocA(dc, &document) > 0) {
        // The overlay waits while its page prints: a second print or a
        // close from inside the abort loop would pull the page away.
        EnableWindow(dialog, FALSE);
        job.abortDialog =
            CreateDialogParamA(mgr.instance, kAbortResource, dialog, PrintAbortDlg, 0);
        if (job.abortDialog) ShowWindow(job.abortDialog, SW_SHOW);
        const bool drawn = StartPage(dc) > 0;
        if (drawn) {
            SetWindowOrgEx(dc, -pixelsX, -pixelsY, nullptr); // one inch right and down
            DrawOverlayPage(dc, dialog, sX, sY, scriptFont, font9);
        }
        if (job.abortDialog) SetFocus(job.abortDialog);
        // The abort dialog answers once more before the page goes out, also
        // where the printing system never calls the abort procedure.
        PrintAbortLoop(dc, 0);
        if (drawn && !job.abort && EndPage(dc) > 0 && !job.abort)
            EndDoc(dc);
        else
            AbortDoc(dc);
        EnableWindow(dialog, TRUE);
        if (job.abortDialog) DestroyWindow(job.abortDialog);
        job.abortDialog = nullptr;
    }
    SelectObject(dc, oldFont);
    DeleteObject(scriptFont);
    DeleteObject(font9);
}

/* The printer's device context, made from the user's choice without its
   port: a printer on the "FILE:" port then asks for the output file when
   the document starts (Wine's "Print to File"); named, Wine's PostScript
   driver writes the job into a file called "FILE:" in the current folder. */
static HDC ChosenPrinter(const PRINTDLGA& request) {
    const DEVNAMES* names =
        request.hDevNames ? (const DEVNAMES*)GlobalLock(request.hDevNames) : nullptr;
    const DEVMODEA* mode =
        request.hDevMode ? (const DEVMODEA*)GlobalLock(request.hDevMode) : nullptr;
    HDC dc = nullptr;
    if (names)
        dc = CreateDCA((const char*)names + names->wDriverOffset,
                       (const char*)names + names->wDeviceOffset, nullptr, mode);
    if (mode) GlobalUnlock(request.hDevMode);
    if (names) GlobalUnlock(request.hDevNames);
    return dc;
}

void PrintKeyboardOverlay(HWND dialog) {
    PRINTDLGA request;
    memset(&request, 0, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.Flags = PD_PRINTSETUP | PD_ENABLESETUPHOOK;
    request.lpfnSetupHook = PrintSetup;
    HDC dc = PrintDlgA(&request) ? ChosenPrinter(request) : nullptr;
    FreeDeviceChoice(request);
    if (!dc) return;
    PrintOnDevice(dialog, dc);
    DeleteDC(dc);
    SetFocus(GetDlgItem(dialog, IDC_OVERLAY_EDIT));
}
