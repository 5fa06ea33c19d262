// Unicode output: while the setting is on, a Unicode window receives the
// word as Unicode text of the active script (driver/scripts/iscii_unicode.h)
// instead of glyph codes of the script's font; ANSI windows keep glyphs.
// Windows-only.
#ifndef NK_UNICODE_OUTPUT_H
#define NK_UNICODE_OUTPUT_H

#include "driver/engine/shared_state.h"

// The setting (shared by every process).
bool UnicodeOutputOn(void);

// The setting is on and the conversion covers `script` (the eleven Indian
// scripts and Roman): such a script needs no adapter module.
bool UnicodeOutputCovers(int script);

// Keys into `window` are typed as Unicode: the setting is on, the window is
// a Unicode window and the active script is covered.
bool UnicodeOutputFor(HWND window);

// Convert the word's ISCII `text`, erase what differs from the text shown
// (compared in UTF-16 code units) with the category's erase form and post
// the new characters. Returns the hook's result for the key-down.
int RecomposeUnicode(MSG* msg, const char* text);

// Forget the text shown for the word (part of ResetWord).
void ResetUnicodeWord(void);

#endif // NK_UNICODE_OUTPUT_H
