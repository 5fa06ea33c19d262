// The start-up sequence, run while the main window is created. The order
// matters: later phases rely on the driver being loaded and on the list of
// scripts whose modules were found.
#include <stdio.h>
#include <string.h>

#include "manager/app/manager.h"
#include "manager/app/manager_rules.h"
#include "manager/overlay/overlay_fonts.h"

static const char kKeepOnTopText[] = "&Keep On Top ( When Minimized )";

void ShowStartupFailure(const char* text) {
    MessageBoxA(nullptr, text, "TAV", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

// The adapter modules "??TROP32.DLL" in the program directory name
// the scripts offered; their items are enabled and the driver is told.
static void FindScriptModules(void) {
    char pattern[MGR_PATH_SIZE];
    CopyText(pattern, sizeof pattern, mgr.programDirectory);
    AppendText(pattern, sizeof pattern, "??TROP32.DLL");

    char prefixes[MGR_FOUND_PREFIXES_SIZE] = "";
    mgr.foundScripts[0] = 0;
    int found = 0;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char code[3] = {data.cFileName[0], data.cFileName[0] ? data.cFileName[1] : '\0', 0};
        UpperCaseText(code);
        const int script = ScriptOfCode(code);
        // The same script once only: a listing may name a module twice in
        // different case on some file systems.
        if (script == 0 || strchr(mgr.foundScripts, script) != nullptr) continue;
        if (found == MGR_FOUND_SCRIPTS_MAX) break;
        EnableMenuItem(mgr.menu, script, MF_BYCOMMAND | MF_ENABLED);
        mgr.foundScripts[found++] = (char)script;
        mgr.foundScripts[found] = 0;
        AppendText(prefixes, sizeof prefixes, code);
        AppendText(prefixes, sizeof prefixes, " ");
    } while (FindNextFileA(search, &data));
    FindClose(search);
    SetAvailScripts(mgr.foundScripts, prefixes);
}

static bool FileExists(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

/* A bare file name names a file of the program directory, wherever the
   manager was started from (the "Run" entry starts it in another folder).
   The driver hands a layout of a long program directory back by its bare
   name; true when such a file exists, and then name is the whole path. */
static bool InProgramDirectory(char* name) {
    if (strpbrk(name, "\\/:") != nullptr) return false;
    char path[MGR_KEYBOARD_FILE_SIZE];
    CopyText(path, sizeof path, mgr.programDirectory);
    if (AppendText(path, sizeof path, name) != strlen(mgr.programDirectory) + strlen(name) ||
        !FileExists(path))
        return false;
    CopyText(name, MGR_KEYBOARD_FILE_SIZE, path);
    return true;
}

// The starting keyboard: the stored typewriter layout when its module is
// offered (else the script's first), Phonetic English, or Inscript.
static void ChooseStartingKeyboard(HWND window) {
    if (IsTypewriterLayoutName(mgr.keyboardFile) && mgr.typewriterCount > 0) {
        CheckItem(mgr.currentKeyboard, false);
        int chosen = 0;
        for (int i = 0; i < mgr.typewriterCount; ++i) {
            if (EqualsIgnoringCase(mgr.typewriters[i].layoutPath, mgr.keyboardFile)) {
                chosen = i;
                break;
            }
        }
        SendMessageA(window, WM_COMMAND, IDM_TYPEWRITER_FIRST + chosen, 0);
    } else if (ContainsText(mgr.keyboardFile, "PEKBD.BIN")) {
        mgr.currentKeyboard = IDM_KBD_PHONETIC;
        CheckItem(IDM_KBD_PHONETIC, true); // the script's activation loaded it already
    } else {
        // A layout chosen through "&Others" does not survive a restart.
        CheckItem(mgr.currentKeyboard, false);
        mgr.currentKeyboard = IDM_KBD_INSCRIPT;
        SendMessageA(window, WM_COMMAND, IDM_KBD_INSCRIPT, 0);
    }
}

// Loading the driver: the settings file is found first, because the driver
// derives the same place from the instance handle it is given.
static void LoadDriver(void) {
    LocateSettingsFile();
    mgr.previousActiveWindow = GetForegroundWindow(); // to give the focus back to
    Nelkor_Entry(mgr.instance);
    UseEnglishFaceForRoman(); // the overlay shows Roman in the Devanagari English face
}

// The options the driver needs before any script is active: the default
// application category, keep-on-top in the system menu, bilingual fonts.
static void ApplyDriverOptions(HWND window) {
    mgr.appCategory = ClampCategory(ReadSettingInt("Application_Category", 0));
    if (mgr.appCategory != 0) SetDefAppCategory(mgr.appCategory);

    HMENU systemMenu = GetSystemMenu(window, FALSE);
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_KEEP_ON_TOP, kKeepOnTopText);

    mgr.dualFontOn = ReadSettingInt("DualFont", 0);
    CheckItem(IDM_BILINGUAL, mgr.dualFontOn != 0);
    SetDualFont(mgr.dualFontOn, mgr.dualFontOn != 0 ? 1 : 0);
}

// The switch key, and the stored script when its module was found.
static void ReadSwitchKeyAndScript(void) {
    mgr.chosenSwitchKey = ReadSettingInt("InscriptSwitch", IDM_SWITCH_CAPSLOCK);
    if (mgr.chosenSwitchKey != IDM_SWITCH_CAPSLOCK && mgr.chosenSwitchKey != IDM_SWITCH_NUMLOCK &&
        mgr.chosenSwitchKey != IDM_SWITCH_SCROLLLOCK)
        mgr.chosenSwitchKey = IDM_SWITCH_CAPSLOCK; // no other key can flip typing
    CheckItem(mgr.chosenSwitchKey, true);
    SetSwitchKey(mgr.chosenSwitchKey);

    char text[MGR_SETTING_READ_MAX + 1];
    ReadSettingString("DefaultScript", "<none>", text, sizeof text);
    const int stored = ScriptOfCode(text);
    if (stored != 0) mgr.currentScript = stored;
    if (GetMenuState(mgr.menu, mgr.currentScript, MF_BYCOMMAND) != 0 && mgr.foundScripts[0])
        mgr.currentScript = (unsigned char)mgr.foundScripts[0];
}

// The enabled state; multiple font sets always start off.
static void ReadEnabledState(void) {
    char text[MGR_SETTING_READ_MAX + 1];
    ReadSettingString("TAV", "ON", text, sizeof text);
    UpperCaseText(text);
    if (ContainsText(text, "OFF")) {
        mgr.tavEnabled = 0;
        CheckItem(IDM_DISABLE, true);
        _AI(0);
    }
    ReadSettingInt("MultipleSets", 0);
    mgr.multipleSetsOn = 0;
    CheckItem(IDM_MULTIPLE_SETS, false);
    _MS(0);
}

// The keyboard file (Inscript when the stored one is gone), hyphenation and
// Roman capitals, which reach the driver with the activation of Roman.
static void ReadKeyboardAndTextOptions(void) {
    ReadSettingPath("KeyboardOverlay", "INSKBD.BIN", mgr.keyboardFile, sizeof mgr.keyboardFile);
    UpperCaseText(mgr.keyboardFile);
    if (!FileExists(mgr.keyboardFile) && !InProgramDirectory(mgr.keyboardFile)) {
        CopyText(mgr.keyboardFile, sizeof mgr.keyboardFile, mgr.programDirectory);
        AppendText(mgr.keyboardFile, sizeof mgr.keyboardFile, "INSKBD.BIN");
    }
    UpperCaseText(mgr.keyboardFile);
    mgr.currentKeyboard = KeyboardOfFile(mgr.keyboardFile);
    if (mgr.currentKeyboard != IDM_KBD_TYPEWRITER) CheckItem(mgr.currentKeyboard, true);

    mgr.hyphenationOn = ReadSettingInt("Hyphenation", 1);
    CheckItem(IDM_HYPHENATION, mgr.hyphenationOn != 0);
    _HYP(mgr.hyphenationOn);

    mgr.romanCapitalsItem = RomanCapitalsItem(ReadSettingInt("RomanCapitals", 0));
    CheckItem(mgr.romanCapitalsItem, true);
}

// The typewriter module and layout of the last choice are read whatever the
// keyboard was at close, so that trying another keyboard for a while does
// not forget them in the settings file (they are written back as read).
// Only a stored keyboard 162 makes the typewriter the current keyboard.
static void ReadTypewriterChoice(void) {
    const bool chosen = ReadSettingInt("KEYBOARD", IDM_KBD_INSCRIPT) == IDM_KBD_TYPEWRITER;
    const char* fallback = chosen ? "NotFound" : "";
    ReadSettingPath("KbdTypeWriterDLL", fallback, mgr.typewriterDll, sizeof mgr.typewriterDll);
    ReadSettingPath("kbdTypeWriterName", fallback, mgr.typewriterName, sizeof mgr.typewriterName);
    if (chosen) mgr.currentKeyboard = IDM_KBD_TYPEWRITER;
}

static void ResetChoices(HWND window) {
    mgr.window = window;
    mgr.currentKeyboard = IDM_KBD_INSCRIPT;
    mgr.typewriterItem = 0;
    mgr.tavEnabled = 1;
    mgr.keepOnTop = 1;
    mgr.multipleSetsOn = 0;
    mgr.romanCapitalsItem = IDM_CAPS_LOWER;
    mgr.romanAccentOn = 0;
    mgr.remoteMode = 0;
}

bool RunStartup(HWND window) {
    ResetChoices(window);
    LoadDriver();
    ApplyDriverOptions(window);

    // Finding the script modules: without any nothing can be typed, unless
    // Unicode output is on, which offers every script, modules or not.
    FindScriptModules();
    ReadUnicodeSetting();
    if (mgr.foundScripts[0] == 0 && !mgr.unicodeOutputOn) {
        ShowStartupFailure("No script modules available");
        return false;
    }
    mgr.currentScript = mgr.foundScripts[0] ? (unsigned char)mgr.foundScripts[0]
                                            : IDM_SCRIPT_DEVANAGARI;

    // Reading the user's choices.
    ReadSwitchKeyAndScript();
    ReadEnabledState();
    ReadKeyboardAndTextOptions();

    // Activating the first script; typing starts in English until the switch key.
    if (mgr.currentScript != 0) SendMessageA(window, WM_USER, (WPARAM)mgr.currentScript, 0);
    _SCL(0);

    // Loading the transliteration rules for Phonetic English.
    const int rules = ascii2iscii_init(1);
    if (rules != 3) {
        ShowStartupFailure(RuleFailureText(rules));
        return false;
    }

    // Choosing the starting keyboard among the script's typewriter modules.
    ReadTypewriterChoice();
    BuildTypewriterMenu();
    ChooseStartingKeyboard(window);

    // Stepping aside: splash, minimise, and the focus back to where the user was.
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (mgr.previousActiveWindow) PostMessageA(mgr.previousActiveWindow, WM_SETFOCUS, 0, 0);
    return true;
}
