// The default font dialog: the user picks a script and its default faces,
// which take effect in the shared tables at once and are written to the
// settings file on OK.
#include "driver/fonts/default_fonts.h"

#include <stdio.h>
#include <string.h>

#include "driver/engine/engine.h"

namespace {

// State of the open dialog, valid from WM_INITDIALOG to the end of the
// dialog. Per process: only the manager opens the dialog.
struct FontDialogState {
    HWND dialog;
    int faceListId;     // 247
    int englishListId;  // 249, 0 with the bilingual option
    int shownScript;    // script code whose fonts are listed
    int shownIndex;     // its index in list 245
    char fontPrefix[8]; // "DV-", or "DVB-" with the bilingual option
    int fontCount;      // faces put into list 247
};
FontDialogState fontDialog;

enum { kListTextSize = 64 }; // a face name is at most 31 characters

// ASCII comparison of the first n characters without regard to case; a
// shorter text differs.
bool SameStartNoCase(const char* text, const char* start, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        char a = text[i], b = start[i];
        if (a >= 'a' && a <= 'z') a = (char)(a - 32);
        if (b >= 'a' && b <= 'z') b = (char)(b - 32);
        if (a != b || a == 0) return false;
    }
    return true;
}

// Text of entry index of a list, or "" when there is none or it is too long.
void ListEntry(int listId, LRESULT index, char text[kListTextSize]) {
    text[0] = 0;
    if (index < 0) return;
    LRESULT length = SendDlgItemMessageA(fontDialog.dialog, listId, LB_GETTEXTLEN, index, 0);
    if (length < 0 || length >= kListTextSize) return;
    if (SendDlgItemMessageA(fontDialog.dialog, listId, LB_GETTEXT, index, (LPARAM)text) < 0)
        text[0] = 0;
}

// The selected entry of a list into a table entry of the shown script.
void CopySelection(int listId, char* entry) {
    char text[kListTextSize];
    ListEntry(listId, SendDlgItemMessageA(fontDialog.dialog, listId, LB_GETCURSEL, 0, 0), text);
    if (text[0]) CopyText(entry, NK_FONT_NAME_SIZE, text);
}

// Select the entry that begins with face, or the first entry.
void SelectFace(int listId, const char* face) {
    if (SendDlgItemMessageA(fontDialog.dialog, listId, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)face) <
        0)
        SendDlgItemMessageA(fontDialog.dialog, listId, LB_SETCURSEL, 0, 0);
}

void SetFontPrefix(int code) {
    char prefix[FONT_KEY_SIZE];
    FontSettingsKey(code, "", prefix);
    CopyText(fontDialog.fontPrefix, sizeof fontDialog.fontPrefix, prefix);
    AppendText(fontDialog.fontPrefix, sizeof fontDialog.fontPrefix, shared.dualFont ? "B-" : "-");
}

// What one enumeration fills: the script font list or the English one.
struct FillRequest {
    int listId;
    bool english;
};

// Add a face once: a family may be reported in more than one character set.
bool AddFace(int listId, const char* face) {
    HWND list = GetDlgItem(fontDialog.dialog, listId);
    if (!list) return false;
    if (SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)face) >= 0) return false;
    return SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)face) >= 0;
}

int CALLBACK ListFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
    const FillRequest* request = (const FillRequest*)data;
    const char* face = font->lfFaceName;
    if (request->english) {
        // Every face that is not a script face: English and companion faces,
        // and names too short to carry a prefix at all.
        if (face[0] && (!face[1] || face[2] != '-')) AddFace(request->listId, face);
        return 1;
    }
    bool family = SameStartNoCase(face, fontDialog.fontPrefix, 3);
    // With Roman shown, the English-mode companions of all scripts ("DV1-")
    // are Roman faces too.
    bool companion = fontDialog.shownScript == SCRIPT_ROMAN && face[0] && face[1] &&
                     face[2] == '1' && face[3] == '-';
    if ((family || companion) && AddFace(request->listId, face)) ++fontDialog.fontCount;
    return 1;
}

// The shown script's default faces, checked against the lists and selected.
void SelectDefaults() {
    const int code = fontDialog.shownScript;
    char* scriptFace = ScriptFaceEntry(code);
    char first[kListTextSize];
    // An empty entry (a key with no value) would match every face: it names none.
    if (!scriptFace[0] ||
        SendDlgItemMessageA(fontDialog.dialog, fontDialog.faceListId, LB_SELECTSTRING, (WPARAM)-1,
                            (LPARAM)scriptFace) < 0) {
        ListEntry(fontDialog.faceListId, 0, first);
        if (first[0]) CopyText(scriptFace, NK_FONT_NAME_SIZE, first);
    }
    if (fontDialog.englishListId) {
        char* englishFace = shared.englishFontNames[code - 64];
        const int list = fontDialog.englishListId;
        if (!englishFace[0] || SendDlgItemMessageA(fontDialog.dialog, list, LB_FINDSTRING,
                                                   (WPARAM)-1, (LPARAM)englishFace) < 0) {
            // The companion of the script face: "DV-Velta" gives "DV1-".
            char companion[5] = {scriptFace[0], scriptFace[1], '1', '-', 0};
            if (!scriptFace[0] || !scriptFace[1]) companion[0] = 0;
            LRESULT at = companion[0] ? SendDlgItemMessageA(fontDialog.dialog, list, LB_FINDSTRING,
                                                            (WPARAM)-1, (LPARAM)companion)
                                      : LB_ERR;
            ListEntry(list, at >= 0 ? at : 0, first);
            if (first[0]) CopyText(englishFace, NK_FONT_NAME_SIZE, first);
        }
    }
    SelectFace(fontDialog.faceListId, scriptFace);
    if (fontDialog.englishListId)
        SelectFace(fontDialog.englishListId, shared.englishFontNames[code - 64]);
}

// A script was picked in list 245: list its faces and select its defaults.
void ShowPickedScript() {
    HWND dialog = fontDialog.dialog;
    SendDlgItemMessageA(dialog, fontDialog.faceListId, LB_RESETCONTENT, 0, 0);
    if (fontDialog.englishListId)
        SendDlgItemMessageA(dialog, fontDialog.englishListId, LB_RESETCONTENT, 0, 0);

    LRESULT index = SendDlgItemMessageA(dialog, FONT_LIST_SCRIPTS, LB_GETCURSEL, 0, 0);
    char name[kListTextSize];
    ListEntry(FONT_LIST_SCRIPTS, index, name);
    int code = 0;
    for (int c = SCRIPT_ROMAN; c <= SCRIPT_SANSKRIT && name[0]; ++c)
        if (strcmp(shared.scriptDisplayNames[c - 65], name) == 0) {
            code = c;
            break;
        }
    if (code == 0) return; // nothing selected, or a name of no script
    fontDialog.shownScript = code;
    fontDialog.shownIndex = (int)index;
    SetFontPrefix(code);

    if (FillFontLists() == 0) {
        char text[NK_DISPLAY_NAME_SIZE + 48];
        snprintf(text, sizeof text,
                 shared.dualFont ? "No bi-lingual fonts available for %s"
                                 : "No fonts available for %s",
                 shared.scriptDisplayNames[code - 65]);
        MessageBoxA(GetFocus(), text, "TAV ERROR", MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
        SendDlgItemMessageA(dialog, FONT_LIST_SCRIPTS, LB_DELETESTRING, (WPARAM)index, 0);
        if (fontDialog.englishListId)
            SendDlgItemMessageA(dialog, fontDialog.englishListId, LB_RESETCONTENT, 0, 0);
        return;
    }
    SelectDefaults();
}

// OK: write the defaults of the available scripts that have a face.
void WriteDefaults() {
    char settingsPath[NK_TRUSTED_PATH_SIZE];
    FontSettingsPath(settingsPath, sizeof settingsPath);
    char available[NK_AVAILABLE_SCRIPTS_SIZE];
    CopyAvailableScripts(available, sizeof available);
    for (int code = SCRIPT_ROMAN; code <= SCRIPT_SANSKRIT; ++code) {
        if (!strchr(available, code)) continue;
        // The entry that is written decides: a script without a face keeps
        // the file's earlier values.
        const char* face = ScriptFaceEntry(code);
        if (!face[0] || IsNotFoundFace(face)) continue;
        char key[FONT_KEY_SIZE];
        if (!shared.dualFont) {
            FontSettingsKey(code, "", key);
            WritePrivateProfileStringA(kFontSection, key, face, settingsPath);
            FontSettingsKey(code, "1", key);
            WritePrivateProfileStringA(kFontSection, key, shared.englishFontNames[code - 64],
                                       settingsPath);
        } else {
            FontSettingsKey(code, "B", key);
            WritePrivateProfileStringA(kFontSection, key, face, settingsPath);
        }
    }
}

void InitDialog(HWND dialog) {
    memset(&fontDialog, 0, sizeof fontDialog);
    fontDialog.dialog = dialog;
    LoadDefFonts(dialog);
    fontDialog.faceListId = FONT_LIST_FACES;
    fontDialog.englishListId = shared.dualFont ? 0 : FONT_LIST_ENGLISH;
    fontDialog.shownScript = shared.activeScript;
    if (fontDialog.shownScript < SCRIPT_ROMAN || fontDialog.shownScript > SCRIPT_SANSKRIT)
        fontDialog.shownScript = SCRIPT_ROMAN;
    SetFontPrefix(fontDialog.shownScript);
    FillFontLists();
    LRESULT index =
        SendDlgItemMessageA(dialog, FONT_LIST_SCRIPTS, LB_SELECTSTRING, (WPARAM)-1,
                            (LPARAM)shared.scriptDisplayNames[fontDialog.shownScript - 65]);
    // A script that is not available: show the first one listed.
    if (index < 0) index = SendDlgItemMessageA(dialog, FONT_LIST_SCRIPTS, LB_SETCURSEL, 0, 0);
    fontDialog.shownIndex = (int)index;
    HWND scripts = GetDlgItem(dialog, FONT_LIST_SCRIPTS);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(FONT_LIST_SCRIPTS, LBN_SELCHANGE), (LPARAM)scripts);
}

// Cancel and the close box: the tables go back to the file and the fonts.
INT_PTR CancelDialog(HWND dialog) {
    LoadDefFonts(nullptr);
    EndDialog(dialog, 1);
    return 1;
}

} // namespace

/* ---------------- FillFontLists ----------------
   List the faces of the shown script's family in list 247 (with Roman also
   every English-mode companion "xx1-") and, without the bilingual option,
   every face that is not a script face in list 249. Returns the number of
   faces in list 247. */
int FillFontLists(void) {
    fontDialog.fontCount = 0;
    HDC dc = GetDC(fontDialog.dialog);
    if (!dc) return 0;
    FillRequest faces = {fontDialog.faceListId, false};
    EnumFontFamiliesA(dc, nullptr, ListFace, (LPARAM)&faces);
    if (fontDialog.englishListId) {
        FillRequest english = {fontDialog.englishListId, true};
        EnumFontFamiliesA(dc, nullptr, ListFace, (LPARAM)&english);
    }
    ReleaseDC(fontDialog.dialog, dc);
    return fontDialog.fontCount;
}

/* ---------------- FontDlgProc ----------------
   Dialog procedure of "FONTSEL_WORD" and "BILINGUAL_FONT_DLG". Returns 1 for
   the initialisation, OK and Cancel, else 0. */
extern "C" INT_PTR CALLBACK FontDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    if (message == WM_INITDIALOG) {
        InitDialog(dialog);
        return 1;
    }
    if (message != WM_COMMAND || dialog != fontDialog.dialog) return 0;
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    const int shown = fontDialog.shownScript;
    switch (id) {
    case FONT_LIST_SCRIPTS:
        if (code == LBN_SELCHANGE) ShowPickedScript();
        return 0;
    case FONT_LIST_FACES:
        if (code == LBN_SELCHANGE) CopySelection(FONT_LIST_FACES, ScriptFaceEntry(shown));
        return 0;
    case FONT_LIST_ENGLISH:
        if (code == LBN_SELCHANGE && fontDialog.englishListId)
            CopySelection(FONT_LIST_ENGLISH, shared.englishFontNames[shown - 64]);
        return 0;
    case FONT_BUTTON_OK:
        if (code != BN_CLICKED) return 0;
        WriteDefaults();
        shared.wordFocusRequest = 1;
        EndDialog(dialog, 1);
        return 1;
    case FONT_BUTTON_CANCEL:
    case IDCANCEL: // the close box and Esc end the dialog like Cancel
        if (code != BN_CLICKED) return 0;
        return CancelDialog(dialog);
    default: return 0;
    }
}
