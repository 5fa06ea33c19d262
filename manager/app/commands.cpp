// The main window's commands and the script activation message. Menu items,
// the driver's hot keys and other programs all come through here.
#include <stdio.h>
#include <string.h>

#include "manager/app/manager.h"
#include "manager/app/manager_rules.h"
#include "manager/overlay/overlay.h"

void CheckItem(int id, bool on) {
    CheckMenuItem(mgr.menu, (UINT)id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

static void EnableItem(int id, bool on) {
    EnableMenuItem(mgr.menu, (UINT)id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

static void LoadLayout(void) {
    mgr.layoutTableRef = _LKT(mgr.keyboardFile, mgr.currentKeyboard);
}

/* The script activation message (WM_USER, wParam = script code). */
void ActivateScript(HWND window, int code) {
    (void)window;
    // Only codes of the "&Script" menu: anything else would make the driver
    // try a module of a blank prefix and disable typing.
    if (code < IDM_SCRIPT_FIRST || code > IDM_SCRIPT_LAST) return;
    const int result = _AS(code);
    if (result == 0) {
        CheckItem(mgr.currentScript, false);
        CheckItem(code, true);
        mgr.currentScript = code;
    } else if (result == 2) {
        CheckItem(mgr.currentScript, false); // typing is disabled; the script stays
    }

    const bool hyphenation = HasHyphenation(mgr.currentScript);
    EnableItem(IDM_HYPHENATION, hyphenation);
    CheckItem(IDM_HYPHENATION, hyphenation && mgr.hyphenationOn);

    const bool sets = HasMultipleSets(mgr.currentScript);
    EnableItem(IDM_MULTIPLE_SETS, sets);
    CheckItem(IDM_MULTIPLE_SETS, sets && mgr.multipleSetsOn);

    LoadLayout();
    if (mgr.currentScript == IDM_SCRIPT_ROMAN) _RMN(mgr.romanCapitalsItem);
}

/* A typewriter layout belongs to one script: after a change it types on
   only when the new script offers the same module, else Inscript takes over
   (a Devanagari converter would turn Tamil keys into Devanagari codes). */
static void OnScript(HWND window, int code) {
    SendMessageA(window, WM_USER, (WPARAM)code, 0);
    BuildTypewriterMenu();
    const int item = mgr.currentKeyboard == IDM_KBD_TYPEWRITER ? TypewriterItemOf(mgr.typewriterDll)
                                                               : 0;
    if (item != 0) {
        SendMessageA(window, WM_COMMAND, (WPARAM)item, 0);
    } else if (mgr.typewriterCount == 0 || mgr.currentKeyboard == IDM_KBD_TYPEWRITER) {
        CheckItem(mgr.currentKeyboard, false);
        SendMessageA(window, WM_COMMAND, IDM_KBD_INSCRIPT, 0);
    }
}

static void OnSwitchKey(int key) {
    CheckItem(mgr.chosenSwitchKey, false);
    CheckItem(key, true);
    mgr.chosenSwitchKey = key;
    SetSwitchKey(key);
}

// Forget the keyboard checked so far, in the main menu and in the
// "&Typewriter" submenu.
static void UncheckKeyboard(void) {
    CheckItem(mgr.currentKeyboard, false);
    if (mgr.typewriterItem) CheckItem(mgr.typewriterItem, false);
}

// Inscript (160) and Phonetic English (161): their layout file in the program
// directory.
static void OnBuiltinKeyboard(int kind, const char* file) {
    char path[MGR_KEYBOARD_FILE_SIZE];
    CopyText(path, sizeof path, mgr.programDirectory);
    AppendText(path, sizeof path, file);
    UncheckKeyboard();
    CopyText(mgr.keyboardFile, sizeof mgr.keyboardFile, path);
    mgr.layoutTableRef = _LKT(mgr.keyboardFile, 0);
    mgr.currentKeyboard = kind;
    CheckItem(kind, true);
}

static void OnOtherKeyboard(HWND window) {
    char file[MGR_KEYBOARD_FILE_SIZE];
    CopyText(file, sizeof file, mgr.keyboardFile);
    if (!ChooseKeyboardFile(window, file, sizeof file)) return;
    UncheckKeyboard();
    CopyText(mgr.keyboardFile, sizeof mgr.keyboardFile, file);
    mgr.layoutTableRef = _LKT(mgr.keyboardFile, 0);
    // The two built-in names are recognised in exact case only.
    if (ContainsText(file, "INSKBD.BIN"))
        mgr.currentKeyboard = IDM_KBD_INSCRIPT;
    else if (ContainsText(file, "PEKBD.BIN"))
        mgr.currentKeyboard = IDM_KBD_PHONETIC;
    else
        mgr.currentKeyboard = IDM_KBD_OTHERS;
    CheckItem(mgr.currentKeyboard, true);
}

/* 176: lParam 1 and 2 come from other programs, which suspend and resume
   the driver; the driver's own hot key sends 0, which toggles. */
static void OnDisable(LPARAM lParam) {
    if (lParam == 1 || lParam == 2) PellEnable((int)lParam);
    if (mgr.remoteMode) {
        if (lParam == 1)
            mgr.tavEnabled = 1;
        else if (lParam == 2)
            mgr.tavEnabled = 0;
    } else {
        mgr.tavEnabled = !mgr.tavEnabled;
    }
    CheckItem(IDM_DISABLE, !mgr.tavEnabled);
    _AI(mgr.tavEnabled);
}

/* 179: the driver refuses the bilingual option for a script without a
   bilingual module; the option then stays as it was. */
static void OnBilingual(LPARAM lParam) {
    if (mgr.remoteMode) {
        if (lParam == 1)
            mgr.dualFontOn = 1;
        else if (lParam == 2)
            mgr.dualFontOn = 0;
        SetDualFont(mgr.dualFontOn, 1);
        CheckItem(IDM_BILINGUAL, mgr.dualFontOn != 0);
    } else {
        mgr.dualFontOn = !mgr.dualFontOn;
        if (SetDualFont(mgr.dualFontOn, 1) != 0) {
            mgr.dualFontOn = !mgr.dualFontOn;
            SetDualFont(mgr.dualFontOn, 1);
        } else {
            CheckItem(IDM_BILINGUAL, mgr.dualFontOn != 0);
        }
    }
    if (!mgr.dualFontOn && HasHyphenation(mgr.currentScript)) _HYP(mgr.hyphenationOn);
}

static void OnRomanCapitals(int item) {
    CheckItem(mgr.romanCapitalsItem, false);
    CheckItem(item, true);
    mgr.romanCapitalsItem = item;
    _RMN(item);
}

static void OnDefaultFonts(HWND window) {
    if (mgr.dualFontOn)
        DialogBoxParamA(mgr.instance, "BILINGUAL_FONT_DLG", nullptr, FontDlgProc, 0);
    else
        DialogBoxParamA(mgr.instance, "FONTSEL_WORD", window, FontDlgProc, 0);
}

/* 189: another program forces script (1) or English (2) typing. */
static void OnRemoteSwitch(LPARAM lParam) {
    if (lParam == 1) {
        PostMessageA(nullptr, WM_KEYDOWN, (WPARAM)mgr.chosenSwitchKey, 0);
        _SCL(1);
    } else if (lParam == 2) {
        _SCL(0);
    }
}

/* 198: the "&Typewriter" submenu at the cursor, for another program's
   window; the choice comes back here as an ordinary command. */
static void OnTypewriterPopup(HWND window, LPARAM lParam) {
    if (!mgr.typewriterMenu) return;
    HWND owner = (HWND)lParam;
    if (!IsWindow(owner)) owner = window;
    POINT cursor;
    GetCursorPos(&cursor);
    const int id = (int)TrackPopupMenu(mgr.typewriterMenu, TPM_RETURNCMD | TPM_LEFTALIGN, cursor.x,
                                       cursor.y, 0, owner, nullptr);
    if (id != 0) SendMessageA(window, WM_COMMAND, (WPARAM)id, (LPARAM)window);
}

/* 199: another program sets the default application category, only while
   it has asked for remote mode. Values outside 0..13 are refused: the
   driver would ignore them and the settings file would keep a wrong one. */
static void OnRemoteCategory(LPARAM lParam) {
    if (!mgr.remoteMode || lParam < 0 || lParam > 13) return;
    mgr.appCategory = (int)lParam;
    SetDefAppCategory(mgr.appCategory);
}

void OnCommand(HWND window, int id, LPARAM lParam) {
    if (id >= IDM_SCRIPT_FIRST && id <= IDM_SCRIPT_LAST) {
        OnScript(window, id);
        return;
    }
    if (id >= IDM_TYPEWRITER_FIRST && id < IDM_TYPEWRITER_FIRST + IDM_TYPEWRITER_MAX) {
        SelectTypewriter(id);
        return;
    }
    switch (id) {
    case IDM_SWITCH_CAPSLOCK:
    case IDM_SWITCH_NUMLOCK:
    case IDM_SWITCH_SCROLLLOCK: OnSwitchKey(id); break;
    case IDM_KBD_INSCRIPT: OnBuiltinKeyboard(IDM_KBD_INSCRIPT, "INSKBD.BIN"); break;
    case IDM_KBD_PHONETIC: OnBuiltinKeyboard(IDM_KBD_PHONETIC, "PEKBD.BIN"); break;
    case IDM_KBD_OTHERS: OnOtherKeyboard(window); break;
    case IDM_DISABLE: OnDisable(lParam); break;
    case IDM_HYPHENATION:
        mgr.hyphenationOn = !mgr.hyphenationOn;
        CheckItem(IDM_HYPHENATION, mgr.hyphenationOn != 0);
        _HYP(mgr.hyphenationOn);
        break;
    case IDM_ROMAN_ACCENT:
        mgr.romanAccentOn = !mgr.romanAccentOn;
        CheckItem(IDM_ROMAN_ACCENT, mgr.romanAccentOn != 0);
        _SetRomanEOAccent(mgr.romanAccentOn);
        break;
    case IDM_BILINGUAL: OnBilingual(lParam); break;
    case IDM_CAPS_LOWER:
    case IDM_CAPS_UPPER:
    case IDM_CAPS_INITIAL: OnRomanCapitals(id); break;
    case IDM_DEFAULT_FONTS: OnDefaultFonts(window); break;
    case IDM_MULTIPLE_SETS:
        mgr.multipleSetsOn = !mgr.multipleSetsOn;
        CheckItem(IDM_MULTIPLE_SETS, mgr.multipleSetsOn != 0);
        _MS(mgr.multipleSetsOn);
        break;
    case IDM_REMOTE_SWITCH: OnRemoteSwitch(lParam); break;
    case IDM_REMOTE_ON: mgr.remoteMode = 1; break;
    case IDM_REMOTE_OFF: mgr.remoteMode = 0; break;
    case IDM_ABOUT: DialogBoxParamA(mgr.instance, "AboutBox", window, AboutDlgProc, 0); break;
    case IDM_OVERLAY: OpenKeyboardOverlay(window); break;
    case IDM_TYPEWRITER_POPUP: OnTypewriterPopup(window, lParam); break;
    case IDM_REMOTE_CATEGORY: OnRemoteCategory(lParam); break;
    case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_UNICODE_OUTPUT: OnUnicodeOutput(window); break;
    case IDM_TUNE_APP: DialogBoxParamA(mgr.instance, "TUNEAPP", window, TuneAppDlgProc, 0); break;
    case IDM_HELP_CONTENTS: OpenHelpContents(window); break;
    case IDM_AMIPRO_NOTICE: break; // the driver's note of Ami Pro's F12; nothing to show
    default: break;
    }
}
