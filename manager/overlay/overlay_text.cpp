// The overlay's titles and font specifications (overlay_text.h).
#include "manager/overlay/overlay_text.h"

#include <stdlib.h>
#include <string.h>

#include "support/bounded_text.h"

enum { KEYBOARD_INSCRIPT = 160, KEYBOARD_PHONETIC = 161, SCRIPT_CODE_FIRST = 65 };

// By script code from 65 ("A"); the Sanskrit name is spelt as the driver
// spells it in the manager's title, so both titles agree.
static const char* const kScriptNames[] = {
    "Roman",   "Devanagari", "Bengali",  "Tamil",        "Telugu", "Assamese", "Oriya",
    "Kannada", "Malayalam",  "Gujarati", "Punjabi",      "",       "Tibetan",  "Dzongkha",
    "Thai",    "Sinhala",    "SL-Tamil", "Sanskirt-DEV", ""};

const char* OverlayScriptName(int script) {
    const int slot = script - SCRIPT_CODE_FIRST;
    if (slot < 0 || slot >= (int)(sizeof kScriptNames / sizeof kScriptNames[0])) return "";
    return kScriptNames[slot];
}

void OverlaySubtitle(int keyboard, const char* keyboardFile, int script, char* text, size_t size) {
    char name[32];
    CopyText(name, sizeof name, OverlayScriptName(script));
    UpperCaseText(name);
    if (keyboard == KEYBOARD_INSCRIPT) {
        CopyText(text, size, "[INSCRIPT]");
    } else if (keyboard == KEYBOARD_PHONETIC) {
        CopyText(text, size, "[Phonetic-English]");
    } else {
        const char* file = keyboardFile ? keyboardFile : "";
        const char* slash = strrchr(file, '\\');
        CopyText(text, size, "[");
        AppendText(text, size, slash ? slash + 1 : file);
        AppendText(text, size, "]");
    }
    AppendText(text, size, " - [");
    AppendText(text, size, name);
    AppendText(text, size, "]");
}

void OverlayTitle(int keyboard, const char* keyboardFile, int script, char* text, size_t size) {
    char subtitle[OVERLAY_TITLE_SIZE];
    OverlaySubtitle(keyboard, keyboardFile, script, subtitle, sizeof subtitle);
    CopyText(text, size, "TAV KEYBOARD OVERLAY ");
    AppendText(text, size, subtitle);
}

bool SplitFontEntry(const char* entry, char* face, size_t faceSize, char* sizeText,
                   size_t sizeTextSize) {
    const char* comma = strrchr(entry, ',');
    const size_t faceLength = comma ? (size_t)(comma - entry) : strlen(entry);
    CopyText(sizeText, sizeTextSize, comma ? comma : "");
    if (faceLength >= faceSize) {
        CopyText(face, faceSize, "");
        return false;
    }
    memcpy(face, entry, faceLength);
    face[faceLength] = 0;
    return true;
}

int FontEntryPoints(const char* entry) {
    const char* comma = strrchr(entry, ',');
    return comma ? atoi(comma + 1) : 0;
}

bool AlternativeFace(const char* face, char* alternative, size_t size) {
    const char* hyphen = strchr(face, '-');
    const size_t head = hyphen ? (size_t)(hyphen - face) + 1 : 0;
    if (head + 2 + strlen(face + head) >= size) return false;
    memcpy(alternative, face, head);
    alternative[head] = 0;
    AppendText(alternative, size, "TT");
    AppendText(alternative, size, face + head);
    return true;
}
