// The on-screen keyboard overlay and its printed chart.
//
// The overlay is a modal dialog of the manager ("KBDOVR"): every key shows
// its English character and the script text the active layout types for it,
// in the script's font; clicked keys become ordinary key messages to its
// edit box, which the driver's hook converts as in any application.
#ifndef DAVRIN_OVERLAY_H
#define DAVRIN_OVERLAY_H

#include <windows.h>

#include "include/nelkor.h"
#include "manager/overlay/overlay_text.h"

enum {
    OVERLAY_CAPTION_SIZE = 40, // "  " + the glyph codes of one key
    OVERLAY_GLYPHS_SIZE = 33,  // _A2I writes at most 32 glyph bytes and the terminator
    OVERLAY_ISCII_SIZE = 33,   // a key's Phonetic English text converted, 32 at most
    OVERLAY_ISCII_LIMIT = 32,
    OVERLAY_SPECIAL_CAPTION = 21 // special-key captions are read up to 20 characters
};

// Lives while the dialog is open; the fonts are made at initialisation and
// deleted at close. One overlay exists at a time (it is modal).
struct OverlayState {
    HWND dialog;
    int scriptMode;    // 1: captions show script text (the switch key is on)
    int shift;         // 1: captions show the shifted texts
    int repaintFilter; // key id painted alone, or 0 for every key
    int lastClicked;   // key id clicked last, or 0
    HFONT font9;
    HFONT font10;
    HFONT scriptFont;
    HFONT scriptFontLarge;
};

extern OverlayState overlay;

extern "C" __declspec(dllexport) INT_PTR CALLBACK KbdHelpDlgProc(HWND, UINT, WPARAM, LPARAM);
extern "C" __declspec(dllexport) INT_PTR CALLBACK PrintAbortDlg(HWND, UINT, WPARAM, LPARAM);
extern "C" __declspec(dllexport) UINT_PTR CALLBACK PrintSetup(HWND, UINT, WPARAM, LPARAM);
extern "C" __declspec(dllexport) BOOL CALLBACK PrintAbortLoop(HDC, int);

// Command 193: resolve the overlay's fonts, then run the dialog.
void OpenKeyboardOverlay(HWND window);

// True when a font family of this face is installed (case ignored).
bool FontIsInstalled(const char* face, HWND window);

// Font of `points` points for a device context: height minus points times
// the vertical pixels per inch over 72.
HFONT CreateOverlayFont(HDC dc, const char* face, int points);

// The "face,points" entry of the current script's script font: bilingual
// when that option is on, else the script-mode entry.
const char* ScriptFontEntry(void);

// The glyph codes of a key's script text as the overlay draws them: Phonetic
// English text through the transliteration rules first, then the first
// syllable through the script's adapter. glyphs holds OVERLAY_GLYPHS_SIZE.
void KeyGlyphs(const KeyEntry* key, bool shifted, char* glyphs);

// The layout table the overlay draws (null when none has been loaded).
const KeyEntry* OverlayKey(int id);

// Command 194: print the overlay on one page (overlay_print.cpp).
void PrintKeyboardOverlay(HWND dialog);

// The page itself on any device context: keys, special keys, title band,
// frame and subtitle, from the buttons' screen positions scaled by sX, sY.
// The caller selects nothing; fonts are the printer's script font and font9.
void DrawOverlayPage(HDC dc, HWND dialog, double sX, double sY, HFONT scriptFont, HFONT font9);

#endif // DAVRIN_OVERLAY_H
