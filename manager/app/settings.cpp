// The settings file "TAVWIN.INI": where it lies, reading keys, writing every
// key back when the manager closes.
#include <stdio.h>
#include <string.h>

#include "manager/app/manager.h"
#include "support/settings_location.h"
#include "manager/app/manager_rules.h"

static const char kSettingsFile[] = "TAVWIN.INI";
static const char kSection[] = "Settings";

// The settings file in settingsDirectory.
static void SettingsPath(char* path, size_t size) {
    CopyText(path, size, mgr.settingsDirectory);
    AppendText(path, size, kSettingsFile);
}

/* The program directory is the program file's directory with its trailing
   backslash. "ServerCopy" beside the program sends every other read and the
   write-back to the copy in the Windows directory; the driver applies the
   same rule from the instance handle the manager hands it. */
void LocateSettingsFile(void) {
    LocateSettings(mgr.instance, mgr.programDirectory, sizeof mgr.programDirectory,
                   mgr.settingsDirectory, sizeof mgr.settingsDirectory);
}

int ReadSettingInt(const char* key, int fallback) {
    char path[MGR_SETTINGS_DIR_SIZE + sizeof kSettingsFile];
    SettingsPath(path, sizeof path);
    return (int)GetPrivateProfileIntA(kSection, key, fallback, path);
}

void ReadSettingString(const char* key, const char* fallback, char* value, DWORD size) {
    char path[MGR_SETTINGS_DIR_SIZE + sizeof kSettingsFile];
    SettingsPath(path, sizeof path);
    if (size > MGR_SETTING_READ_MAX) size = MGR_SETTING_READ_MAX;
    GetPrivateProfileStringA(kSection, key, fallback, value, size, path);
}

void ReadSettingPath(const char* key, const char* fallback, char* value, DWORD size) {
    char path[MGR_SETTINGS_DIR_SIZE + sizeof kSettingsFile];
    SettingsPath(path, sizeof path);
    GetPrivateProfileStringA(kSection, key, fallback, value, size, path);
}

static void WriteKey(const char* path, const char* key, const char* value) {
    WritePrivateProfileStringA(kSection, key, value, path);
}

static void WriteIntKey(const char* path, const char* key, int value) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    WriteKey(path, key, text);
}

/* All thirteen keys, in this order, even those never read at start-up; then
   the Unicode output setting in its own section. */
void WriteSettings(void) {
    char path[MGR_SETTINGS_DIR_SIZE + sizeof kSettingsFile];
    SettingsPath(path, sizeof path);
    char code[3];
    CodeOfScript(mgr.currentScript, code);

    WriteIntKey(path, "InscriptSwitch", mgr.chosenSwitchKey);
    WriteKey(path, "TAV", mgr.tavEnabled ? "ON" : "OFF");
    WriteKey(path, "TavOnTop", mgr.keepOnTop ? "1" : "0");
    WriteKey(path, "DefaultScript", code);
    WriteKey(path, "Hyphenation", mgr.hyphenationOn ? "1" : "0");
    WriteKey(path, "MultipleSets", mgr.multipleSetsOn ? "1" : "0");
    WriteIntKey(path, "RomanCapitals", RomanCapitalsValue(mgr.romanCapitalsItem));
    WriteKey(path, "KeyboardOverlay", mgr.keyboardFile);
    WriteIntKey(path, "DualFont", mgr.dualFontOn);
    WriteIntKey(path, "Application_Category", mgr.appCategory);
    WriteIntKey(path, "KEYBOARD", mgr.currentKeyboard);
    WriteKey(path, "KbdTypeWriterDLL", mgr.typewriterDll);
    WriteKey(path, "KbdTypeWriterName", mgr.typewriterName);
    WriteUnicodeSetting(path); // a section of its own, after the thirteen keys
}
