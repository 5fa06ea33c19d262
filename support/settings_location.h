// Where the settings file "TAVWIN.INI" lies. The driver and the manager both
// work it out from the manager's module handle, with the same rule, so both
// programs find the same file. Windows-only; part of the support library that
// both deliverables link.
#ifndef NK_SETTINGS_LOCATION_H
#define NK_SETTINGS_LOCATION_H

#include <windows.h>

#include <stddef.h>

enum {
    // The module path as read: the system's own limit for the ANSI file
    // functions, so that programs installed in a long folder (Program Files
    // and deeper) find their files; the driver's moduleDirectory holds it.
    NK_MODULE_PATH_MAX = 260,
    NK_WINDOWS_DIR_MAX = 100 // the Windows directory as read
};

// The directory of module (with the trailing backslash; empty when its path
// does not fit the ANSI file functions' limit) into programDirectory; the
// directory of the settings file into settingsDirectory: the Windows
// directory and "\" when the file beside the program says "ServerCopy" is
// non-zero, else programDirectory.
void LocateSettings(HMODULE module, char* programDirectory, size_t programSize,
                    char* settingsDirectory, size_t settingsSize);

#endif // NK_SETTINGS_LOCATION_H
