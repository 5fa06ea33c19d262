// The overlay's texts and font specifications that need no Windows API: the
// titles, the script display names, "face,points" entries and their "TT"
// alternative faces. Kept apart so that they are tested natively.
#ifndef DAVRIN_OVERLAY_TEXT_H
#define DAVRIN_OVERLAY_TEXT_H

#include <stddef.h>

enum {
    OVERLAY_FACE_SIZE = 32,   // a face name as the platform keeps it (31 + terminator)
    OVERLAY_TITLE_SIZE = 192, // "TAV KEYBOARD OVERLAY [file] - [SCRIPT]"
    OVERLAY_SIZE_TEXT_SIZE = 8
};

// Display name of a script code as the overlay shows it ("" for none).
const char* OverlayScriptName(int script);

// "[INSCRIPT] - [DEVANAGARI]", "[Phonetic-English] - [...]" or, for other
// keyboards, "[file] - [...]" with the part of keyboardFile after its last
// backslash. The script name is upper-cased.
void OverlaySubtitle(int keyboard, const char* keyboardFile, int script, char* text, size_t size);

// "TAV KEYBOARD OVERLAY " followed by the subtitle: the dialog's title. The
// driver sends the switch key and Shift only to a window titled so.
void OverlayTitle(int keyboard, const char* keyboardFile, int script, char* text, size_t size);

// Split "face,points" at its last comma: the face, and the size text (the
// comma and what follows; "" when there is no comma). False when the face
// does not fit faceSize.
bool SplitFontEntry(const char* entry, char* face, size_t faceSize, char* sizeText,
                   size_t sizeTextSize);

// The point size of "face,points" (0 when there is none).
int FontEntryPoints(const char* entry);

// The "TT" face tried when a face is missing: the face up to and including
// its first hyphen, "TT", then the rest ("DV1-Velta" gives "DV1-TTVelta"; a
// face without a hyphen gets "TT" in front). False when it does not fit.
bool AlternativeFace(const char* face, char* alternative, size_t size);

#endif // DAVRIN_OVERLAY_TEXT_H
