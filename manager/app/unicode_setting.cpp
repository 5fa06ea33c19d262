// The "Unicode output" setting. While it is on, the driver types Unicode text
// into Unicode windows and needs no adapter module, so the Script menu offers
// every script the driver converts (Roman, the ten Indian scripts and
// Sanskrit) whether or not its module was found; items of the other codes
// stay as they are. Off, the menu is again the found modules only.
//
// The setting lives in a section of its own, "[Unicode]", so that the
// "Settings" section keeps exactly its thirteen keys for every reader of the
// file; its menu item is appended at start-up, so that the menu resource
// keeps exactly its items too.
#include <stdio.h>
#include <string.h>

#include "manager/app/manager.h"
#include "manager/app/manager_rules.h"

static const char kSection[] = "Unicode";
static const char kKey[] = "UnicodeOutput";
static const char kSettingsFile[] = "TAVWIN.INI";
static const char kItemText[] = "&Unicode output";
static const int kSettingsPopup = 2; // "&File", "&Script", "Se&ttings", ...

// Script items that Unicode output can type without a module.
static const char kConvertedScripts[] = "ABCDEFGHIJKR";

static void ShowScriptItems(void) {
    for (const char* code = kConvertedScripts; *code; ++code) {
        const bool found = strchr(mgr.foundScripts, *code) != nullptr;
        EnableMenuItem(mgr.menu, (UINT)(unsigned char)*code,
                       MF_BYCOMMAND | (mgr.unicodeOutputOn || found ? MF_ENABLED : MF_GRAYED));
    }
}

static void Apply(void) {
    SetUnicodeOutput(mgr.unicodeOutputOn);
    CheckItem(IDM_UNICODE_OUTPUT, mgr.unicodeOutputOn != 0);
    ShowScriptItems();
}

/* Start-up, right after the modules are found: the item joins the end of
   "Se&ttings" (the menu resource keeps exactly its own items, as the
   keep-on-top item joins the system menu), and the setting comes from the
   file (absent or 0: off). */
void ReadUnicodeSetting(void) {
    AppendMenuA(GetSubMenu(mgr.menu, kSettingsPopup), MF_STRING, IDM_UNICODE_OUTPUT, kItemText);
    char path[MGR_SETTINGS_DIR_SIZE + sizeof kSettingsFile];
    CopyText(path, sizeof path, mgr.settingsDirectory);
    AppendText(path, sizeof path, kSettingsFile);
    mgr.unicodeOutputOn = GetPrivateProfileIntA(kSection, kKey, 0, path) == 1 ? 1 : 0;
    Apply();
}

void WriteUnicodeSetting(const char* iniPath) {
    WritePrivateProfileStringA(kSection, kKey, mgr.unicodeOutputOn ? "1" : "0", iniPath);
}

/* IDM_UNICODE_OUTPUT toggles the setting. Turned off while a script without
   a module is active, the first script with a module takes its place. */
void OnUnicodeOutput(HWND window) {
    mgr.unicodeOutputOn = !mgr.unicodeOutputOn;
    Apply();
    const bool hasModule = strchr(mgr.foundScripts, mgr.currentScript) != nullptr;
    if (!mgr.unicodeOutputOn && !hasModule && mgr.foundScripts[0])
        SendMessageA(window, WM_COMMAND, (WPARAM)(unsigned char)mgr.foundScripts[0], 0);
}
