// Default fonts per script and the font dialog of a control.
#include <string.h>

#include "driver/engine/engine.h"

#include <commdlg.h>
#include "driver/fonts/builtin_fonts.h"
#include "driver/scripts/script_table.h"

namespace {

const char kFontSection[] = "DEFAULTFONTS";
const char kNotFound[] = "NotFound";
const int kScriptListId = 245;
enum { kSettingsValueSize = 100 }; // values are read up to 99 characters

bool IsNotFound(const char* face) {
    return lstrcmpiA(face, kNotFound) == 0;
}

// Read one face name; a longer value is cut to the 39 characters of a slot.
void ReadFace(const char* key, char* slot, const char* settingsPath) {
    char value[kSettingsValueSize];
    GetPrivateProfileStringA(kFontSection, key, kNotFound, value, sizeof value, settingsPath);
    CopyText(slot, NK_FONT_NAME_SIZE, value);
}

// Gap filling: the first installed face of a script's family becomes its
// default when the settings file named none.
int CALLBACK FillGapFromFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM) {
    const char* face = font->lfFaceName;
    int code = ScriptOfFace(face);
    if (code == 0) return 1; // no script's family
    char* slot =
        shared.dualFont ? shared.bilingualFontNames[code - 64] : shared.scriptFontNames[code - 64];
    if (IsNotFound(slot)) CopyText(slot, NK_FONT_NAME_SIZE, face);
    return 1;
}

} // namespace

/* ---------------- LoadDefFonts ----------------
   Load the default font tables of the available scripts from section
   "DEFAULTFONTS" of the settings file, fill gaps from the installed faces
   and, with a dialog, list the available scripts in its list 245. Returns
   the number of available scripts that have a script font (bilingual font
   when the option is on) afterwards. */
extern "C" int LoadDefFonts(HWND dialog) {
    char settingsPath[NK_INI_DIR_SIZE + 16];
    CopyText(settingsPath, sizeof settingsPath, shared.iniDirectory);
    AppendText(settingsPath, sizeof settingsPath, "TAVWIN.INI");
    char available[NK_AVAILABLE_SCRIPTS_SIZE];
    CopyAvailableScripts(available, sizeof available);

    for (int code = SCRIPT_ROMAN; code <= SCRIPT_SANSKRIT; ++code) {
        if (!strchr(available, code)) continue;
        if (dialog)
            SendDlgItemMessageA(dialog, kScriptListId, LB_ADDSTRING, 0,
                                (LPARAM)shared.scriptDisplayNames[code - 65]);
        char key[8];
        ScriptPrefix(code, key);
        if (!key[0]) CopyText(key, sizeof key, "  ");
        const size_t keyLength = strlen(key);
        if (!shared.dualFont) {
            ReadFace(key, shared.scriptFontNames[code - 64], settingsPath);
            CopyText(key + keyLength, sizeof key - keyLength, "1");
            ReadFace(key, shared.englishFontNames[code - 64], settingsPath);
        } else {
            CopyText(key + keyLength, sizeof key - keyLength, "B");
            ReadFace(key, shared.bilingualFontNames[code - 64], settingsPath);
        }
    }

    HDC dc = GetDC(dialog);
    if (dc) {
        EnumFontFamiliesA(dc, nullptr, FillGapFromFace, 0);
        ReleaseDC(dialog, dc);
    }

    int withFont = 0;
    for (int code = SCRIPT_ROMAN; code <= SCRIPT_SANSKRIT; ++code) {
        if (!strchr(available, code)) continue;
        const char* face = shared.dualFont ? shared.bilingualFontNames[code - 64]
                                           : shared.scriptFontNames[code - 64];
        if (face[0] && !IsNotFound(face)) ++withFont;
    }
    return withFont;
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
    choose.Flags =
        CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE | CF_NOSTYLESEL;
    choose.nSizeMin = 10;
    choose.nSizeMax = 18;
    return ChooseFontA(&choose) ? 1 : 0;
}
