// Typewriter keyboard modules: discovery of the current script's modules,
// the "&Typewriter" submenu of "&Keyboard", and selecting a layout.
#include <stdio.h>
#include <string.h>

#include "support/layout_file.h"
#include "manager/app/manager.h"
#include "manager/app/manager_rules.h"

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

/* "&Typewriter" is found by its handle, not by position: it is the last item
   of "&Keyboard" only while nothing is appended after it, and it is not there
   at all while the script had no modules. */
static void RemoveTypewriterItem(void) {
    const int count = GetMenuItemCount(mgr.keyboardMenu);
    for (int i = count - 1; i >= 0; --i) {
        if (GetSubMenu(mgr.keyboardMenu, i) == mgr.typewriterMenu) {
            RemoveMenu(mgr.keyboardMenu, (UINT)i, MF_BYPOSITION);
            return;
        }
    }
}

/* Rebuilt from the directory at start-up and after every script change, so
   a module added meanwhile shows up at the next change. A module that cannot
   be loaded or lacks "get_kbd_name" is reported and left out of the menu. */
void BuildTypewriterMenu(void) {
    if (mgr.typewriterMenu) {
        RemoveTypewriterItem();
        DestroyMenu(mgr.typewriterMenu);
        DrawMenuBar(mgr.window);
    }
    mgr.typewriterMenu = CreatePopupMenu();
    mgr.typewriterCount = 0;
    mgr.typewriterItem = 0; // the new items start unchecked

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

static size_t ReadLayoutFileAt(void* context, uint32_t offset, unsigned char* buffer,
                               size_t count) {
    HANDLE file = (HANDLE)context;
    if (SetFilePointer(file, (LONG)offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return 0;
    DWORD got = 0;
    return ReadFile(file, buffer, (DWORD)count, &got, nullptr) ? got : 0;
}

enum LayoutCheck { LAYOUT_USABLE, LAYOUT_MISSING, LAYOUT_DAMAGED };

/* A typewriter layout types only with a complete block: a key of a partly
   filled table would hand the converter codes of the layout loaded before. */
static LayoutCheck CheckTypewriterLayout(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LAYOUT_MISSING;
    static unsigned char directory[LAYOUT_DIRECTORY_MAX]; // one check at a time, in one thread
    static LayoutBlock block;
    const LayoutReadResult read = ReadLayoutBlock(
        ReadLayoutFileAt, file, LayoutSearchCode(mgr.currentScript), directory, &block);
    CloseHandle(file);
    return read == LAYOUT_READ_OK && block.size == LAYOUT_BLOCK_SIZE ? LAYOUT_USABLE
                                                                     : LAYOUT_DAMAGED;
}

/* The driver binds the module; it reports a module without "make_iscii"
   itself ("Unable to Get Address") and one it cannot load not at all, so
   that one is reported here. */
static bool BindConverter(const char* modulePath) {
    if (SetConverter1(modulePath)) return true;
    HMODULE module = LoadLibraryA(modulePath);
    if (module)
        FreeLibrary(module);
    else
        ShowModuleError("Unable to load library %s", modulePath);
    return false;
}

/* The layout file of a module that cannot type goes unused: no converter
   stays bound and the keyboard returns to Inscript, which always types. The
   stored typewriter choice is kept. */
static void ReturnToInscript(void) {
    SetConverter1("");
    mgr.typewriterItem = 0;
    SendMessageA(mgr.window, WM_COMMAND, IDM_KBD_INSCRIPT, 0);
}

/* Command 165 + i: hand the module to the driver and load its layout; a
   module or layout that cannot type is reported and Inscript chosen. */
void SelectTypewriter(int item) {
    const int i = item - IDM_TYPEWRITER_FIRST;
    if (i < 0 || i >= mgr.typewriterCount) return;
    const TypewriterEntry& entry = mgr.typewriters[i];
    CheckItem(mgr.currentKeyboard, false);
    if (mgr.typewriterItem) CheckItem(mgr.typewriterItem, false);
    if (!BindConverter(entry.modulePath)) {
        ReturnToInscript();
        return;
    }
    const LayoutCheck layout = CheckTypewriterLayout(entry.layoutPath);
    if (layout != LAYOUT_USABLE) {
        if (layout == LAYOUT_MISSING) {
            // The driver's own "Cannot Access" names the file.
            char path[MGR_KEYBOARD_FILE_SIZE];
            CopyText(path, sizeof path, entry.layoutPath);
            _LKT(path, IDM_KBD_TYPEWRITER);
        } else {
            ShowModuleError("Invalid KBD Layout %s", entry.layoutPath);
        }
        ReturnToInscript();
        return;
    }
    CheckItem(item, true);
    mgr.currentKeyboard = IDM_KBD_TYPEWRITER;
    mgr.typewriterItem = item;
    CopyText(mgr.keyboardFile, sizeof mgr.keyboardFile, entry.layoutPath);
    CopyText(mgr.typewriterName, sizeof mgr.typewriterName, entry.layoutPath);
    CopyText(mgr.typewriterDll, sizeof mgr.typewriterDll, entry.modulePath);
    mgr.layoutTableRef = _LKT(mgr.keyboardFile, IDM_KBD_TYPEWRITER);
}

/* The item of the module at modulePath in the current submenu, 0 if none. */
int TypewriterItemOf(const char* modulePath) {
    for (int i = 0; i < mgr.typewriterCount; ++i)
        if (EqualsIgnoringCase(mgr.typewriters[i].modulePath, modulePath))
            return IDM_TYPEWRITER_FIRST + i;
    return 0;
}
