// Internal helpers shared by the loader of the default font tables and the
// default font dialog. Windows-only.
#ifndef NK_DEFAULT_FONTS_H
#define NK_DEFAULT_FONTS_H

#include <stddef.h>

#include "driver/engine/shared_state.h"

// Section of the settings file that holds the default faces, and the value a
// missing key reads as.
extern const char kFontSection[];  // "DEFAULTFONTS"
extern const char kFontNotFound[]; // "NotFound"

// Control identifiers of both dialog templates.
enum {
    FONT_LIST_SCRIPTS = 245, // available scripts by display name
    FONT_LIST_FACES = 247,   // script (or bilingual) faces
    FONT_BUTTON_OK = 248,
    FONT_LIST_ENGLISH = 249, // English-mode faces, only without the bilingual option
    FONT_BUTTON_CANCEL = 250
};

// Largest settings key: a two-letter prefix, "1" or "B", and the terminator.
enum { FONT_KEY_SIZE = 4 };

// True when a table entry holds "NotFound" (any case): the script has no
// default face.
bool IsNotFoundFace(const char* face);

// "TAVWIN.INI" in iniDirectory, into path (size bytes).
void FontSettingsPath(char* path, size_t size);

// Settings key of a script: its prefix, or two blanks for the scripts whose
// place in the prefix list is blank, followed by suffix ("", "1" or "B").
void FontSettingsKey(int code, const char* suffix, char key[FONT_KEY_SIZE]);

// Entry of a script code ('A'..'R') in the table the current option uses:
// bilingualFontNames with the bilingual option, scriptFontNames without.
char* ScriptFaceEntry(int code);

// Number of fonts FillFontLists put into the script font list of the dialog.
int FillFontLists(void);

#endif // NK_DEFAULT_FONTS_H
