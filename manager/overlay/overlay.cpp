// The keyboard overlay dialog: its fonts, its key captions drawn from the
// active layout, the switch key and Shift, and clicked keys typed into its
// edit box through the driver's hook.
#include "manager/overlay/overlay.h"

#include <stdio.h>
#include <string.h>

#include "manager/app/manager.h"
#include "manager/app/manager_rules.h"
#include "manager/overlay/overlay_fonts.h"

OverlayState overlay;

static const char kOverlayResource[] = "KBDOVR";
static const char kPlainFace[] = "MS Sans Serif";
static const int kPlainPoints = 9;
static const int kEditPoints = 10;
static const int kEnglishX = 3; // the English character's place on its key
static const int kEnglishY = 1;
static const BYTE kKeyDownBit = 0x80;
static const LPARAM kReleaseBits = (LPARAM)0xC0000000; // previous state and transition
static const UINT kBackspaceScan = 14;
static const UINT kSpaceScan = 57;

/* ---------------- fonts ---------------- */

struct FaceSearch {
    const char* face;
    bool found;
};

static int CALLBACK CompareFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM lParam) {
    FaceSearch* search = (FaceSearch*)lParam;
    char face[OVERLAY_FACE_SIZE];
    CopyText(face, sizeof face, font->lfFaceName);
    if (!EqualsIgnoringCase(face, search->face)) return 1;
    search->found = true;
    return 0;
}

bool FontIsInstalled(const char* face, HWND window) {
    HDC dc = GetDC(window);
    if (!dc) return false;
    LOGFONTA every;
    memset(&every, 0, sizeof every);
    every.lfCharSet = DEFAULT_CHARSET; // one call per family of every face
    FaceSearch search{face, false};
    EnumFontFamiliesExA(dc, &every, CompareFace, (LPARAM)&search, 0);
    ReleaseDC(window, dc);
    return search.found;
}

static LONG PointHeight(HDC dc, int points) {
    return -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
}

static HFONT FontOfHeight(const char* face, LONG height) {
    LOGFONTA font;
    memset(&font, 0, sizeof font);
    font.lfHeight = height;
    CopyText(font.lfFaceName, sizeof font.lfFaceName, face);
    return CreateFontIndirectA(&font);
}

HFONT CreateOverlayFont(HDC dc, const char* face, int points) {
    return FontOfHeight(face, PointHeight(dc, points));
}

static int ScriptSlot(void) {
    const int slot = mgr.currentScript - 64;
    return slot > 0 && slot < OVERLAY_FONT_SLOTS ? slot : 0;
}

const char* ScriptFontEntry(void) {
    const int slot = ScriptSlot();
    return mgr.dualFontOn ? bilingualFonts[slot] : scriptModeFonts[slot];
}

/* One font table entry: its face, or else its "TT" face, which then takes
   the entry's place so that the next opening finds it at once. report:
   say which faces are missing. */
static bool ResolveEntry(char* entry, HWND window, bool report) {
    char face[OVERLAY_FACE_SIZE];
    char sizeText[OVERLAY_SIZE_TEXT_SIZE];
    char alternative[OVERLAY_FACE_SIZE] = "";
    const bool split = SplitFontEntry(entry, face, sizeof face, sizeText, sizeof sizeText);
    if (split && FontIsInstalled(face, window)) return true;
    if (split && AlternativeFace(face, alternative, sizeof alternative) &&
        strlen(alternative) + strlen(sizeText) < OVERLAY_FONT_SIZE &&
        FontIsInstalled(alternative, window)) {
        CopyText(entry, OVERLAY_FONT_SIZE, alternative);
        AppendText(entry, OVERLAY_FONT_SIZE, sizeText);
        return true;
    }
    if (report) {
        char text[2 * OVERLAY_FACE_SIZE + 96];
        snprintf(text, sizeof text,
                 "Font [%s] or [%s] not available.\nInstall one of above font and then try.", face,
                 alternative);
        MessageBoxA(window, text, "TAV", MB_OKCANCEL);
    }
    return false;
}

/* The fonts of the current mode must exist (else the user is told), and
   those of the other mode too, since the switch key flips to them. */
static bool ResolveOverlayFont(HWND window) {
    const int slot = ScriptSlot();
    if (slot == 0) return false;
    if (mgr.dualFontOn) return ResolveEntry(bilingualFonts[slot], window, true);
    const bool on = (GetKeyState(mgr.chosenSwitchKey) & 1) != 0;
    char* current = on ? scriptModeFonts[slot] : englishModeFonts[slot];
    char* other = on ? englishModeFonts[slot] : scriptModeFonts[slot];
    return ResolveEntry(current, window, true) && ResolveEntry(other, window, false);
}

void OpenKeyboardOverlay(HWND window) {
    if (!ResolveOverlayFont(window)) return;
    SetDualFont(mgr.dualFontOn, 1);
    DialogBoxParamA(mgr.instance, kOverlayResource, window, KbdHelpDlgProc, 0);
}

/* ---------------- key texts ---------------- */

const KeyEntry* OverlayKey(int id) {
    const int index = id - IDC_KEY_BASE;
    if (!mgr.layoutTableRef || index < 0 || index >= LAYOUT_KEYS) return nullptr;
    return &mgr.layoutTableRef->keys[index];
}

void KeyGlyphs(const KeyEntry* key, bool shifted, char* glyphs) {
    char text[OVERLAY_ISCII_SIZE];
    const char* field = shifted ? key->scriptShifted : key->scriptNormal;
    const size_t length = BoundedLength(field, KEY_TEXT_SIZE);
    memcpy(text, field, length);
    text[length] = 0;
    glyphs[0] = 0;
    if (mgr.currentKeyboard == IDM_KBD_PHONETIC) {
        char iscii[OVERLAY_ISCII_SIZE] = "";
        if (ascii2iscii_convert_str(text, iscii, OVERLAY_ISCII_LIMIT, 2) != 1) iscii[0] = 0;
        CopyText(text, sizeof text, iscii);
    }
    if (!text[0]) return;
    int32_t state = 0, parameter = 0;
    _A2I(text, glyphs, &state, &parameter);
}

/* ---------------- painting ---------------- */

// The layout as the driver has it now; a layout chosen through "&Others" is
// drawn from the table loaded last.
static void ReloadLayout(void) {
    char path[MGR_PATH_SIZE];
    switch (mgr.currentKeyboard) {
    case IDM_KBD_INSCRIPT:
    case IDM_KBD_PHONETIC:
        CopyText(path, sizeof path, mgr.programDirectory);
        AppendText(path, sizeof path,
                   mgr.currentKeyboard == IDM_KBD_INSCRIPT ? "INSKBD.BIN" : "PEKBD.BIN");
        mgr.layoutTableRef = _LKT(path, 0);
        break;
    case IDM_KBD_TYPEWRITER:
        SetConverter1(mgr.typewriterDll);
        CopyText(path, sizeof path, mgr.typewriterName);
        mgr.layoutTableRef = _LKT(path, IDM_KBD_TYPEWRITER);
        break;
    default: break;
    }
}

static void SetKeyCaption(HWND button, const KeyEntry* key) {
    char caption[OVERLAY_CAPTION_SIZE] = "   ";
    HFONT font = overlay.font9;
    if (overlay.scriptMode) {
        char glyphs[OVERLAY_GLYPHS_SIZE];
        KeyGlyphs(key, overlay.shift != 0, glyphs);
        CopyText(caption, sizeof caption, "  ");
        AppendText(caption, sizeof caption, glyphs);
        font = overlay.scriptFont;
    }
    SendMessageA(button, WM_SETFONT, (WPARAM)font, TRUE);
    SetWindowTextA(button, caption);
}

// The key paints itself first; the English character goes over it.
static void DrawEnglishCharacter(HWND button, const KeyEntry* key) {
    UpdateWindow(button);
    const char text[2] = {overlay.shift ? key->englishShifted[0] : key->englishNormal[0], 0};
    HDC dc = GetDC(button);
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc, overlay.font9);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, kEnglishX, kEnglishY, text, (int)strlen(text));
    SelectObject(dc, old);
    ReleaseDC(button, dc);
}

static bool PaintsKey(int id) {
    return overlay.repaintFilter == 0 || overlay.repaintFilter == id;
}

/* Every key (or only repaintFilter's). The dialog's own background is
   painted first, so that nothing erases the characters drawn over keys. */
static void PaintKeys(HWND dialog) {
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    if (overlay.repaintFilter == 0) ReloadLayout();
    for (int id = IDC_KEY_BASE; id < IDC_KEY_ESC; ++id) {
        HWND button = GetDlgItem(dialog, id);
        const KeyEntry* key = OverlayKey(id);
        if (button && key && PaintsKey(id)) SetKeyCaption(button, key);
    }
    for (int id = IDC_KEY_BASE; id < IDC_KEY_ESC; ++id) {
        HWND button = GetDlgItem(dialog, id);
        const KeyEntry* key = OverlayKey(id);
        if (button && key && PaintsKey(id)) DrawEnglishCharacter(button, key);
    }
    // Only while the overlay is active: a message box over it keeps its focus.
    if (GetActiveWindow() == dialog) SetFocus(GetDlgItem(dialog, IDC_OVERLAY_EDIT));
    overlay.repaintFilter = 0;
}

/* ---------------- initialisation and close ---------------- */

static void SetEditFont(HWND dialog) {
    HWND edit = GetDlgItem(dialog, IDC_OVERLAY_EDIT);
    SendMessageA(edit, WM_SETFONT,
                 (WPARAM)(overlay.scriptMode ? overlay.scriptFontLarge : overlay.font10), TRUE);
    SetWindowTextA(edit, "");
}

static void CreateOverlayFonts(HWND dialog) {
    HDC dc = GetDC(dialog);
    const char* font = ScriptFontEntry();
    char face[OVERLAY_FACE_SIZE];
    char sizeText[OVERLAY_SIZE_TEXT_SIZE];
    SplitFontEntry(font, face, sizeof face, sizeText, sizeof sizeText);
    const int points = FontEntryPoints(font);
    overlay.font9 = CreateOverlayFont(dc, kPlainFace, kPlainPoints);
    overlay.font10 = CreateOverlayFont(dc, kPlainFace, kEditPoints);
    overlay.scriptFont = CreateOverlayFont(dc, face, points);
    // One point larger for the trial text.
    overlay.scriptFontLarge =
        FontOfHeight(face, PointHeight(dc, points) - MulDiv(1, GetDeviceCaps(dc, LOGPIXELSY), 72));
    ReleaseDC(dialog, dc);
}

static void DeleteOverlayFonts(void) {
    HFONT* fonts[] = {&overlay.font9, &overlay.font10, &overlay.scriptFont,
                      &overlay.scriptFontLarge};
    for (HFONT* font : fonts) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

/* The switch key's toggle tells the starting mode: it is what the driver
   reports to the overlay afterwards. */
static void InitOverlay(HWND dialog) {
    memset(&overlay, 0, sizeof overlay);
    overlay.dialog = dialog;
    overlay.scriptMode = (GetKeyState(mgr.chosenSwitchKey) & 1) != 0 ? 1 : 0;
    CheckDlgButton(dialog, IDC_OVERLAY_CAPS, overlay.scriptMode ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, IDC_OVERLAY_CAPS), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_OVERLAY_SHIFT), FALSE);

    char title[OVERLAY_TITLE_SIZE];
    OverlayTitle(mgr.currentKeyboard, mgr.keyboardFile, mgr.currentScript, title, sizeof title);
    SetWindowTextA(dialog, title);

    CreateOverlayFonts(dialog);
    for (int id = IDC_KEY_ESC; id <= IDC_KEY_RCTRL; ++id)
        SendDlgItemMessageA(dialog, id, WM_SETFONT, (WPARAM)overlay.font9, TRUE);
    SetEditFont(dialog);
    SetFocus(GetDlgItem(dialog, IDC_OVERLAY_EDIT));
}

// The manager's window is hidden while the overlay is minimised and shown
// again (still minimised) otherwise.
static void ShowManager(bool shown) {
    if (!shown) {
        ShowWindow(mgr.window, SW_HIDE);
        return;
    }
    if (IsWindowVisible(mgr.window)) return;
    ShowWindow(mgr.window, IsIconic(mgr.window) ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
}

/* ---------------- commands ---------------- */

/* 297: the switch key went down in the overlay (or the driver's state is to
   be forced). The face of the new mode must exist, else the overlay closes. */
static void ToggleScriptMode(HWND dialog) {
    overlay.scriptMode = !overlay.scriptMode;
    const int slot = ScriptSlot();
    const char* font = mgr.dualFontOn       ? bilingualFonts[slot]
                       : overlay.scriptMode ? scriptModeFonts[slot]
                                            : englishModeFonts[slot];
    char face[OVERLAY_FACE_SIZE];
    char sizeText[OVERLAY_SIZE_TEXT_SIZE];
    SplitFontEntry(font, face, sizeof face, sizeText, sizeof sizeText);
    if (FontIsInstalled(face, dialog)) {
        CheckDlgButton(dialog, IDC_OVERLAY_CAPS, overlay.scriptMode ? BST_CHECKED : BST_UNCHECKED);
        _SCL(overlay.scriptMode);
        SetEditFont(dialog);
        InvalidateRect(dialog, nullptr, FALSE);
        return;
    }
    char text[OVERLAY_FACE_SIZE + 64];
    snprintf(text, sizeof text, "Font [%s] not available.\nInstall above font and then try.", face);
    MessageBoxA(dialog, text, "Error", MB_OK | MB_ICONINFORMATION);
    overlay.scriptMode = !overlay.scriptMode;
    SendMessageA(dialog, WM_CLOSE, 0, 0);
}

// 299 and 300: the driver reports Shift going down and up.
static void ToggleShift(HWND dialog) {
    overlay.shift = !overlay.shift;
    CheckDlgButton(dialog, IDC_OVERLAY_SHIFT, overlay.shift ? BST_CHECKED : BST_UNCHECKED);
    InvalidateRect(dialog, nullptr, FALSE);
}

static void RepaintKey(HWND dialog, int id) {
    overlay.repaintFilter = id;
    SendMessageA(dialog, WM_PAINT, 0, 0);
    HWND button = GetDlgItem(dialog, id);
    RECT rect;
    if (!button || !GetWindowRect(button, &rect)) return;
    MapWindowPoints(nullptr, dialog, (POINT*)&rect, 2);
    ValidateRect(dialog, &rect);
}

/* A clicked key becomes a key-down and a key-up for the edit box, which the
   driver's hook turns into script as in any application. Backspace is
   marked down because the hook erases a composed code only for a held
   Backspace (and clears the mark itself). Space is not marked: a mark left
   behind would make a later Ctrl look like Ctrl+Space and disable typing. */
static void ClickKey(HWND dialog, int id) {
    BYTE state[256];
    GetKeyboardState(state);
    HWND edit = GetDlgItem(dialog, IDC_OVERLAY_EDIT);
    if (id >= IDC_KEY_BASE && id < IDC_KEY_ESC) {
        const UINT scan = (UINT)(id - IDC_KEY_BASE);
        const UINT vk = MapVirtualKeyA(scan, MAPVK_VSC_TO_VK) & 0xFF;
        const LPARAM lParam = ((LPARAM)scan << 16) | 1;
        state[vk] &= (BYTE)~kKeyDownBit;
        PostMessageA(edit, WM_KEYDOWN, vk, lParam);
        PostMessageA(edit, WM_KEYUP, vk, lParam);
    } else if (id == IDC_KEY_BACK) {
        const LPARAM lParam = ((LPARAM)kBackspaceScan << 16) | 1;
        state[VK_BACK] |= kKeyDownBit;
        PostMessageA(edit, WM_KEYDOWN, VK_BACK, lParam);
        PostMessageA(edit, WM_KEYUP, VK_BACK, lParam);
    } else if (id == IDC_KEY_SPACE) {
        const LPARAM lParam = ((LPARAM)kSpaceScan << 16) | 1;
        PostMessageA(edit, WM_KEYDOWN, VK_SPACE, lParam);
        PostMessageA(edit, WM_KEYUP, VK_SPACE, lParam | kReleaseBits);
    }
    SetKeyboardState(state);
    // The focus moves first: a key losing it repaints and would lose its
    // English character.
    SetFocus(edit);
    if (overlay.lastClicked) RepaintKey(dialog, overlay.lastClicked);
    overlay.lastClicked = id;
    RepaintKey(dialog, id);
}

static INT_PTR OnOverlayCommand(HWND dialog, int id) {
    switch (id) {
    case IDM_OVERLAY_PRINT: PrintKeyboardOverlay(dialog); return TRUE;
    case IDM_EXIT: SendMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
    case IDC_KEY_CAPS: ToggleScriptMode(dialog); return TRUE;
    case IDC_KEY_LSHIFT:
    case IDC_KEY_RSHIFT: ToggleShift(dialog); return TRUE;
    default: break;
    }
    if (id < IDC_KEY_BASE || id > IDC_KEY_RCTRL) return FALSE;
    ClickKey(dialog, id);
    return TRUE;
}

/* ---------------- KbdHelpDlgProc ---------------- */
extern "C" INT_PTR CALLBACK KbdHelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: InitOverlay(dialog); return FALSE; // the focus is the edit box's
    case WM_PAINT: PaintKeys(dialog); return TRUE;
    case WM_SIZE: ShowManager(wParam != SIZE_MINIMIZED); return FALSE;
    case WM_CLOSE:
        ShowManager(true);
        EndDialog(dialog, 1);
        return TRUE;
    case WM_DESTROY:
        // The controls are gone with the dialog: now the fonts can go.
        DeleteOverlayFonts();
        overlay.dialog = nullptr;
        return FALSE;
    case WM_COMMAND: return OnOverlayCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}
