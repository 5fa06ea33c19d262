// Where the settings file "TAVWIN.INI" lies. The driver and the manager both
// work it out from the manager's module handle, with the same rule, so both
// programs find the same file. Windows-only; compiled into both deliverables.
#ifndef NK_SETTINGS_LOCATION_H
#define NK_SETTINGS_LOCATION_H

#include <windows.h>

#include <stddef.h>

// The directory of module (at most 128 characters of its path, with the
// trailing backslash) into programDirectory; the directory of the settings
// file into settingsDirectory: the Windows directory and "\" when the file
// beside the program says "ServerCopy" is non-zero, else programDirectory.
void LocateSettings(HMODULE module, char* programDirectory, size_t programSize,
                    char* settingsDirectory, size_t settingsSize);

#endif // NK_SETTINGS_LOCATION_H
