// What a notepad-like edit control must show while the system types into it:
// a model of the driver's word, its typing modes and the application's text
// and caret. Portable: the soak test runs it under Wine beside the real
// system, its own tests run it natively.
//
// Per key it keeps the word's codes as the driver does (Inscript lookup,
// Backspace removes the last code, the 50-code limit drops the key with the
// word, space, Enter, arrows and clicks end the word, the switch key flips
// English and script, Ctrl+Space disables, Ctrl+Shift+function keys choose a
// script), converts the word with the script's adapter entry and applies the
// erasing and typing to its text at the caret. Where the application alone
// decides the caret (a click, Up, Down), the caller tells the model.
#ifndef NK_SOAK_MODEL_H
#define NK_SOAK_MODEL_H

#include <stddef.h>
#include <stdint.h>

#include "driver/engine/limits.h"
#include "include/nelkor.h"

enum SoakKeyKind {
    SOAK_SCRIPT_KEY,  // a layout key, with or without Shift
    SOAK_SHIFT_ALONE, // Shift pressed and released
    SOAK_BACKSPACE,
    SOAK_SPACE,
    SOAK_ENTER,
    SOAK_SWITCH, // the switch key, Caps Lock
    SOAK_LEFT,
    SOAK_RIGHT,
    SOAK_UP,
    SOAK_DOWN,
    SOAK_CLICK, // a left click into the text
    SOAK_CTRL_SPACE,
    SOAK_HOT_KEY, // Ctrl+Shift+F1..F9, F11, F12: `script` names the script
    SOAK_KEY_KINDS
};

struct SoakKey {
    uint8_t kind; // SoakKeyKind
    uint8_t scan; // SOAK_SCRIPT_KEY: the layout key
    bool shift;   // SOAK_SCRIPT_KEY: with Shift
    uint8_t script; // SOAK_HOT_KEY: the script code it chooses
};

// Deliberate faults, so that the comparison is seen to fail.
enum SoakModelFault {
    SOAK_FAULT_NONE,
    SOAK_FAULT_BACKSPACE_TWO_CODES // Backspace in a word removes two codes
};

enum { SOAK_TEXT_MAX = 1 << 16 }; // the model's text; callers clear it long before

// The adapter entry of a script code; null for a script without a module.
typedef AdapterEntryFn (*SoakAdapterFn)(int script);

struct SoakModel {
    // The application: its text and caret (a byte index; "\r\n" ends lines).
    char text[SOAK_TEXT_MAX];
    size_t length;
    size_t caret;
    // The typing state as the driver keeps it.
    bool switchOn; // Caps Lock toggled: script typing unless disabled
    bool disabled; // Ctrl+Space
    int script;    // the active script code
    // ctrlSpaceChar: what Ctrl+Space types into the application while Caps
    // Lock is off (0: nothing).
    char ctrlSpaceChar;
    char word[NK_WORD_BUFFER_SIZE];
    char output[NK_SYLLABLE_OUT_SIZE];
    char newPairs[NK_NEW_PAIRS_SIZE];
    char shownPairs[NK_SHOWN_PAIRS_SIZE];
    char newGlyphs[NK_GLYPHS_SIZE];
    char shownGlyphs[NK_GLYPHS_SIZE];
    char scratch[NK_NAME_SCRATCH_SIZE];
    const LayoutTable* table;
    SoakAdapterFn adapterFor;
    int fault; // SoakModelFault
    // Counts, for the report.
    uint64_t keys, composed, wordLimitDrops;
};

// Starts with an empty text, English typing, no word.
void SoakModelInit(SoakModel* m, const LayoutTable* table, SoakAdapterFn adapterFor, int script);

// Typing goes to the script: the driver's mode with the switch key on and
// typing enabled.
bool SoakScriptTyping(const SoakModel& m);

// One key as the system and the application handle it. For SOAK_CLICK,
// SOAK_UP and SOAK_DOWN only the word ends; the caller then sets the caret.
void SoakModelKey(SoakModel* m, const SoakKey& key);

// The caret where the application put it (after a click, Up or Down).
void SoakModelSetCaret(SoakModel* m, size_t caret);

// The application's text was emptied (at a point where no word is open).
void SoakModelClearText(SoakModel* m);

// The manager's title the driver must have set: "TAV-MultiScript [English]",
// "[Disabled]" or the script's title name.
void SoakExpectedTitle(const SoakModel& m, char* title, size_t size);

// The text and caret taken from the application after a mismatch, so that
// later checkpoints count later faults only.
void SoakModelAdopt(SoakModel* m, const char* text, size_t caret);

#endif // NK_SOAK_MODEL_H
