// Default fonts per script: the tables in the shared section, loaded from the
// settings file and completed from the installed faces; the font dialog of a
// control.
#include "driver/fonts/default_fonts.h"

#include <string.h>

#include "driver/engine/engine.h"

#include <commdlg.h>
#include "driver/fonts/builtin_fonts.h"
#include "driver/scripts/script_table.h"

const char kFontSection[] = "DEFAULTFONTS";
const char kFontNotFound[] = "NotFound";

namespace {

enum { kSettingsValueSize = 100 }; // values are read up to 99 characters

// Read one face name; a longer value is cut to the 39 characters of a slot.
void ReadFace(const char* key, char* slot, const char* settingsPath) {
    char value[kSettingsValueSize];
    GetPrivateProfileStringA(kFontSection, key, kFontNotFound, value, sizeof value, settingsPath);
    CopyText(slot, NK_FONT_NAME_SIZE, value);
}

// Script whose family a face belongs to for gap filling: "DV-Velta" gives
// 'B'. With the bilingual option only bilingual faces count ("DVB-TTVelta"),
// so that the bilingual entry never names a face of the single-font family.
// 0 for faces of no script's family.
int ScriptOfGapFace(const char* face, bool bilingual) {
    if (!bilingual) return ScriptOfFace(face);
    if (!face[0] || !face[1] || face[2] != 'B' || face[3] != '-') return 0;
    const char probe[4] = {face[0], face[1], '-', 0};
    return ScriptOfFace(probe);
}

// Gap filling: the first installed face of a script's family becomes its
// default when the settings file named none.
int CALLBACK FillGapFromFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM) {
    const char* face = font->lfFaceName;
    int code = ScriptOfGapFace(face, shared.dualFont != 0);
    if (code == 0 || code > SCRIPT_SANSKRIT) return 1;
    char* slot = ScriptFaceEntry(code);
    if (IsNotFoundFace(slot)) CopyText(slot, NK_FONT_NAME_SIZE, face);
    return 1;
}

} // namespace

bool IsNotFoundFace(const char* face) {
    return lstrcmpiA(face, kFontNotFound) == 0;
}

// The settings file lies in the program folder, or in the Windows folder
// for a server copy. iniDirectory can be written by any program, so a file
// it names elsewhere is not used: the program folder's file is.
void FontSettingsPath(char* path, size_t size) {
    static const char kSettingsName[] = "TAVWIN.INI";
    char named[NK_INI_DIR_SIZE + sizeof kSettingsName];
    CopyText(named, sizeof named, shared.iniDirectory);
    AppendText(named, sizeof named, kSettingsName);
    if (ResolveTrustedFile(named, sizeof named, path, size)) return;

    char windowsFolder[MAX_PATH + 1] = "";
    const UINT length = GetWindowsDirectoryA(windowsFolder, MAX_PATH);
    char canonicalWindows[NK_TRUSTED_PATH_SIZE], canonicalNamed[NK_TRUSTED_PATH_SIZE];
    if (length > 0 && length < MAX_PATH &&
        CanonicalPath(windowsFolder, true, canonicalWindows, sizeof canonicalWindows) &&
        AppendText(canonicalWindows, sizeof canonicalWindows, kSettingsName) > 0 &&
        CanonicalPath(named, false, canonicalNamed, sizeof canonicalNamed) &&
        lstrcmpiA(canonicalNamed, canonicalWindows) == 0) {
        CopyText(path, size, canonicalNamed);
        return;
    }
    CopyText(path, size, DriverProgramFolder());
    AppendText(path, size, kSettingsName);
}

void FontSettingsKey(int code, const char* suffix, char key[FONT_KEY_SIZE]) {
    char prefix[3];
    ScriptPrefix(code, prefix);
    if (!prefix[0]) CopyText(prefix, sizeof prefix, "  ");
    CopyText(key, FONT_KEY_SIZE, prefix);
    AppendText(key, FONT_KEY_SIZE, suffix);
}

char* ScriptFaceEntry(int code) {
    return shared.dualFont ? shared.bilingualFontNames[code - 64]
                           : shared.scriptFontNames[code - 64];
}

/* ---------------- LoadDefFonts ----------------
   Load the default font tables of the available scripts from section
   "DEFAULTFONTS" of the settings file, fill gaps from the installed faces
   and, with a dialog, list the available scripts in its list 245. Returns
   the number of available scripts that have a script font (bilingual font
   when the option is on) afterwards. */
extern "C" int LoadDefFonts(HWND dialog) {
    char settingsPath[NK_TRUSTED_PATH_SIZE];
    FontSettingsPath(settingsPath, sizeof settingsPath);
    char available[NK_AVAILABLE_SCRIPTS_SIZE];
    CopyAvailableScripts(available, sizeof available);

    for (int code = SCRIPT_ROMAN; code <= SCRIPT_SANSKRIT; ++code) {
        if (!strchr(available, code)) continue;
        if (dialog)
            SendDlgItemMessageA(dialog, FONT_LIST_SCRIPTS, LB_ADDSTRING, 0,
                                (LPARAM)shared.scriptDisplayNames[code - 65]);
        char key[FONT_KEY_SIZE];
        if (!shared.dualFont) {
            FontSettingsKey(code, "", key);
            ReadFace(key, shared.scriptFontNames[code - 64], settingsPath);
            FontSettingsKey(code, "1", key);
            ReadFace(key, shared.englishFontNames[code - 64], settingsPath);
        } else {
            FontSettingsKey(code, "B", key);
            ReadFace(key, shared.bilingualFontNames[code - 64], settingsPath);
        }
    }

    // One face per family, from the dialog's display context or the screen's.
    HDC dc = GetDC(dialog);
    if (dc) {
        EnumFontFamiliesA(dc, nullptr, FillGapFromFace, 0);
        ReleaseDC(dialog, dc);
    }

    int withFont = 0;
    for (int code = SCRIPT_ROMAN; code <= SCRIPT_SANSKRIT; ++code) {
        if (!strchr(available, code)) continue;
        const char* face = ScriptFaceEntry(code);
        if (face[0] && !IsNotFoundFace(face)) ++withFont;
    }
    return withFont;
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
