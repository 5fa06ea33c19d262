// Default fonts per script and the font dialog of a control.
#include <string.h>

#include "driver/engine/engine.h"

#include <commdlg.h>
#include "driver/fonts/builtin_fonts.h"


/* ---------------- LoadDefFonts ---------------- */
extern "C" int LoadDefFonts(HWND dialog) {
    (void)dialog;
    return 0;
}

/* ---------------- FontDlgProc ---------------- */
extern "C" INT_PTR CALLBACK FontDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)dialog;
    (void)message;
    (void)wParam;
    (void)lParam;
    return 0;
}

// The system's font dialog for a control, starting from the active script's
// built-in font.
int ChooseControlFont(HWND owner, LOGFONTA* font) {
    memset(font, 0, sizeof *font);
    BuiltinFontFace(shared.activeScript, font->lfFaceName, (int)sizeof font->lfFaceName);
    font->lfHeight = 15;
    CHOOSEFONTA choose;
    memset(&choose, 0, sizeof choose);
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.lpLogFont = font;
    choose.iPointSize = 150; // tenths of a point
    choose.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE |
                   CF_NOSTYLESEL;
    choose.nSizeMin = 10;
    choose.nSizeMax = 18;
    return ChooseFontA(&choose) ? 1 : 0;
}
