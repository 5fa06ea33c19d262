// The manager's state and the routines its window procedure dispatches to.
//
// One record holds every choice the user can make; the driver keeps the
// effective values in its shared state and receives them through its exports.
// Everything runs in the manager's only thread.
#ifndef DAVRIN_MANAGER_H
#define DAVRIN_MANAGER_H

#include <windows.h>

#include "include/nelkor.h"
#include "manager/resources/resource_ids.h"

enum {
    MGR_FOUND_SCRIPTS_MAX = 12, // codes of found adapter modules
    MGR_FOUND_SCRIPTS_SIZE = MGR_FOUND_SCRIPTS_MAX + 1,
    MGR_FOUND_PREFIXES_SIZE = MGR_FOUND_SCRIPTS_MAX * 3 + 1, // "DV BN ..."
    MGR_SETTING_READ_MAX = 100, // word-valued settings are read up to 100 characters
    // The program directory as the driver keeps it (its moduleDirectory):
    // any folder the ANSI file functions reach, Program Files and deeper.
    MGR_PROGRAM_DIR_SIZE = 264,
    MGR_SETTINGS_DIR_SIZE = 260,
    // A file of the program directory, or any path the file functions take:
    // path-valued settings are read and kept whole, or a long install folder
    // would lose its keyboards at the next start.
    MGR_PATH_SIZE = MGR_PROGRAM_DIR_SIZE + MAX_PATH,
    MGR_KEYBOARD_FILE_SIZE = MGR_PATH_SIZE,
    MGR_TYPEWRITER_TEXT_SIZE = MGR_PATH_SIZE,
    MGR_TITLE_MAX = 128
};

// One discovered typewriter module of the current script.
struct TypewriterEntry {
    char modulePath[MGR_PATH_SIZE];
    char displayName[NK_KBD_NAME_SIZE];
    char layoutPath[MGR_PATH_SIZE];
};

struct ManagerState {
    HINSTANCE instance;
    HWND window;
    HMENU menu;         // the window's menu, re-read at every message
    HMENU keyboardMenu; // its fourth popup, "&Keyboard"

    int currentScript;
    char foundScripts[MGR_FOUND_SCRIPTS_SIZE];
    int chosenSwitchKey;
    int currentKeyboard;
    char keyboardFile[MGR_KEYBOARD_FILE_SIZE];
    char typewriterDll[MGR_TYPEWRITER_TEXT_SIZE];
    char typewriterName[MGR_TYPEWRITER_TEXT_SIZE];
    int typewriterItem;
    int tavEnabled;
    int keepOnTop;
    int hyphenationOn;
    int multipleSetsOn;
    int dualFontOn;
    int romanCapitalsItem;
    int romanAccentOn;
    int appCategory;
    int unicodeOutputOn; // Unicode text into Unicode windows (unicode_setting.cpp)
    int remoteMode;
    LayoutTable* layoutTableRef;
    char programDirectory[MGR_PROGRAM_DIR_SIZE];
    char settingsDirectory[MGR_SETTINGS_DIR_SIZE];
    HWND previousActiveWindow;

    // The "&Typewriter" submenu of the current script (in "&Keyboard").
    HMENU typewriterMenu;
    int typewriterCount;
    TypewriterEntry typewriters[IDM_TYPEWRITER_MAX];
};

extern ManagerState mgr;

// Exported window and dialog procedures.
extern "C" __declspec(dllexport) LRESULT CALLBACK MainWndProc(HWND, UINT, WPARAM, LPARAM);
extern "C" __declspec(dllexport) INT_PTR CALLBACK AboutDlgProc(HWND, UINT, WPARAM, LPARAM);
extern "C" __declspec(dllexport) INT_PTR CALLBACK TuneAppDlgProc(HWND, UINT, WPARAM, LPARAM);

// settings.cpp: the settings file "TAVWIN.INI".
void LocateSettingsFile(void);
int ReadSettingInt(const char* key, int fallback);
void ReadSettingString(const char* key, const char* fallback, char* value, DWORD size);
// A path-valued setting, read whole into value (size bytes).
void ReadSettingPath(const char* key, const char* fallback, char* value, DWORD size);
void WriteSettings(void);

// startup.cpp: the start-up sequence run on create. Returns false when the
// program must end (the message has been shown, nothing is written).
bool RunStartup(HWND window);
void ShowStartupFailure(const char* text);

// commands.cpp: the command dispatcher and the script activation message.
void OnCommand(HWND window, int id, LPARAM lParam);
void ActivateScript(HWND window, int code);
void CheckItem(int id, bool on);

// unicode_setting.cpp: the "&Unicode output" setting, its own section of the
// settings file, and the Script menu it opens to every script.
void ReadUnicodeSetting(void);
void WriteUnicodeSetting(const char* iniPath);
void OnUnicodeOutput(HWND window);

// typewriter.cpp: the "&Typewriter" submenu of the current script.
void BuildTypewriterMenu(void);
void SelectTypewriter(int item);
int TypewriterItemOf(const char* modulePath);

// dialogs.cpp: file dialog, help, modal dialogs.
bool ChooseKeyboardFile(HWND owner, char* file, DWORD size);
void OpenHelpContents(HWND owner);

#endif // DAVRIN_MANAGER_H
