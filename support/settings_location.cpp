#include "support/settings_location.h"

#include <stdio.h>
#include <string.h>

#include "support/bounded_text.h"

void LocateSettings(HMODULE module, char* programDirectory, size_t programSize,
                    char* settingsDirectory, size_t settingsSize) {
    char path[NK_MODULE_PATH_MAX + 1] = "";
    const DWORD length = GetModuleFileNameA(module, path, NK_MODULE_PATH_MAX);
    // A cut path would name another folder: none is better than a wrong one
    // (the ANSI file functions could not open files there anyway).
    if (length == 0 || length >= NK_MODULE_PATH_MAX) path[0] = 0;
    path[NK_MODULE_PATH_MAX] = 0;
    char* lastSlash = strrchr(path, '\\');
    if (lastSlash) lastSlash[1] = 0;
    CopyText(programDirectory, programSize, path);

    char beside[NK_MODULE_PATH_MAX + sizeof "TAVWIN.INI"];
    snprintf(beside, sizeof beside, "%s%s", path, "TAVWIN.INI");
    if (path[0] && GetPrivateProfileIntA("Settings", "ServerCopy", 0, beside) != 0) {
        char windowsDir[NK_WINDOWS_DIR_MAX + 1] = "";
        UINT n = GetWindowsDirectoryA(windowsDir, NK_WINDOWS_DIR_MAX);
        if (n >= NK_WINDOWS_DIR_MAX) windowsDir[0] = 0; // longer paths are not handled
        snprintf(settingsDirectory, settingsSize, "%s\\", windowsDir);
    } else {
        CopyText(settingsDirectory, settingsSize, programDirectory);
    }
}
