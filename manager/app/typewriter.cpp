// Typewriter keyboard modules: discovery of the current script's modules,
// the "&Typewriter" submenu of "&Keyboard", and selecting a layout.
#include <stdio.h>
#include <string.h>

#include "manager/app/manager.h"
#include "manager/app/manager_rules.h"

static const int kTypewriterPosition = 3; // after "&Others" in "&Keyboard"

static void ShowModuleError(const char* format, const char* path) {
    char text[MGR_PATH_SIZE + 64];
    snprintf(text, sizeof text, format, path);
    MessageBoxA(mgr.window, text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

// The display name a module gives its layout; false (after the message)
// when the module cannot be asked.
static bool ReadKeyboardName(const char* path, char* name) {
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        ShowModuleError("Unable to load library %s", path);
        return false;
    }
    GetKbdNameFn getName = (GetKbdNameFn)(void*)GetProcAddress(module, "get_kbd_name");
    if (!getName) {
        FreeLibrary(module);
        ShowModuleError("Invalid KBD Library %s", path);
        return false;
    }
    char buffer[NK_KBD_NAME_SIZE] = "";
    getName(buffer);
    buffer[NK_KBD_NAME_SIZE - 1] = 0; // a module that overruns its name is cut
    FreeLibrary(module);
    CopyText(name, NK_KBD_NAME_SIZE, buffer);
    return true;
}

/* Rebuilt from the directory at start-up and after every script change, so
   a module added meanwhile shows up at the next change. A module that cannot
   be loaded or lacks "get_kbd_name" is reported and left out of the menu. */
void BuildTypewriterMenu(void) {
    if (mgr.typewriterMenu) {
        RemoveMenu(mgr.keyboardMenu, kTypewriterPosition, MF_BYPOSITION);
        DestroyMenu(mgr.typewriterMenu);
        DrawMenuBar(mgr.window);
    }
    mgr.typewriterMenu = CreatePopupMenu();
    mgr.typewriterCount = 0;

    char code[3];
    CodeOfScript(mgr.currentScript, code);
    if (code[0] == 0) return;
    char pattern[MGR_PATH_SIZE];
    snprintf(pattern, sizeof pattern, "%s%s?KBD32.DLL", mgr.programDirectory, code);

    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (_strnicmp(data.cFileName, code, 2) != 0) continue;
        TypewriterEntry& entry = mgr.typewriters[mgr.typewriterCount];
        snprintf(entry.modulePath, sizeof entry.modulePath, "%s%s", mgr.programDirectory,
                 data.cFileName);
        if (!ReadKeyboardName(entry.modulePath, entry.displayName)) continue;
        TypewriterLayoutName(entry.modulePath, entry.layoutPath, sizeof entry.layoutPath);
        if (mgr.typewriterCount > 0) AppendMenuA(mgr.typewriterMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(mgr.typewriterMenu, MF_STRING, IDM_TYPEWRITER_FIRST + mgr.typewriterCount,
                    entry.displayName);
        ++mgr.typewriterCount;
    } while (mgr.typewriterCount < IDM_TYPEWRITER_MAX && FindNextFileA(search, &data));
    FindClose(search);

    if (mgr.typewriterCount > 0) {
        AppendMenuA(mgr.keyboardMenu, MF_POPUP, (UINT_PTR)mgr.typewriterMenu, "&Typewriter");
        DrawMenuBar(mgr.window);
    }
}

/* Command 165 + i: hand the module to the driver and load its layout. */
void SelectTypewriter(int item) {
    const int i = item - IDM_TYPEWRITER_FIRST;
    if (i < 0 || i >= mgr.typewriterCount) return;
    const TypewriterEntry& entry = mgr.typewriters[i];
    CheckItem(mgr.currentKeyboard, false);
    if (mgr.typewriterItem) CheckItem(mgr.typewriterItem, false);
    CheckItem(item, true);
    mgr.currentKeyboard = IDM_KBD_TYPEWRITER;
    mgr.typewriterItem = item;
    SetConverter1(entry.modulePath);
    CopyText(mgr.keyboardFile, sizeof mgr.keyboardFile, entry.layoutPath);
    CopyText(mgr.typewriterName, sizeof mgr.typewriterName, entry.layoutPath);
    CopyText(mgr.typewriterDll, sizeof mgr.typewriterDll, entry.modulePath);
    mgr.layoutTableRef = _LKT(mgr.keyboardFile, IDM_KBD_TYPEWRITER);
}
