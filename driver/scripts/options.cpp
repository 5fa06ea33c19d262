// Script options and the switches between script, English and disabled typing.
#include <string.h>

#include "driver/engine/engine.h"
#include "driver/scripts/script_table.h"

namespace {

const int32_t kOptionRomanCapitals = 5; // adapter modes (see the module contract)
const int32_t kOptionRomanAccent = 6;

bool IsMultipleSetScript(int code) {
    return code != 0 && strchr(kMultipleSetScripts, code);
}

// Call the adapter bound in this process with an option; its output goes to
// out (at least NK_ADAPTER_OUT_MAX bytes) and is not used.
void CallOption(int32_t mode, int32_t value, char* out) {
    if (!proc.adapterEntry) return;
    out[0] = 0;
    proc.convConsumed = 0;
    proc.convOutLength = value;
    proc.adapterEntry((const unsigned char*)shared.wordIscii, (unsigned char*)out,
                      &proc.convConsumed, &proc.convOutLength, mode);
}

} // namespace

/* ---------------- _SetRomanEOAccent ----------------
   Store the Roman accent option; with Roman active the manager activates
   Roman again, which hands the option to the adapter. */
extern "C" void _SetRomanEOAccent(int on) {
    shared.romanAccent = on;
    if (shared.activeScript != SCRIPT_ROMAN) return;
    SendMessageA(ManagerWindow(), WM_USER, SCRIPT_ROMAN, 0);
    shared.newGlyphs[0] = 0;
    ResetWord();
}

/* ---------------- _RMN ----------------
   Roman capitals from the manager's commands 180 (lower), 181 (upper), 182
   (initial capitals); the bound adapter hears capitals and accent at once.
   Returns 0. */
extern "C" int _RMN(int command) {
    if (command >= 180 && command <= 182) shared.romanCapitals = command - 180;
    CallOption(kOptionRomanCapitals, shared.romanCapitals, shared.nameScratch);
    CallOption(kOptionRomanAccent, shared.romanAccent, shared.newGlyphs);
    shared.nameScratch[0] = 0;
    shared.newGlyphs[0] = 0;
    ResetWord();
    return 0;
}

/* ---------------- _HYP ---------------- */
extern "C" int _HYP(int on) {
    shared.hyphenation = on;
    return 0;
}

/* ---------------- _MS ---------------- */
// Multiple font sets in Word matter to Devanagari, Tibetan and Dzongkha:
// activating them again loads the module variant or informs the adapter.
extern "C" int _MS(int on) {
    shared.multipleSets = on;
    if (IsMultipleSetScript(shared.activeScript)) {
        _AS(shared.activeScript);
        shared.wordFocusRequest = 1;
    }
    return 0;
}

/* ---------------- SetDualFont ----------------
   Store the bilingual font option; with reactivate, activate the active
   script again quietly and return _AS's result (1 when the bilingual module
   is missing or will not load: the manager then puts the flag back). */
extern "C" int SetDualFont(int on, int reactivate) {
    shared.dualFont = on;
    if (!reactivate) return 0;
    proc.quietActivation = 1;
    int result = _AS(shared.activeScript);
    proc.quietActivation = 0;
    return result;
}

/* ---------------- _AI ---------------- */
extern "C" int _AI(int enable) {
    if (enable) {
        if (shared.typingMode >= 2) shared.typingMode -= 2;
    } else if (shared.typingMode < 2) {
        shared.typingMode += 2;
    }
    ManagerWindow();
    RefreshManagerTitle();
    return shared.typingMode < 2 ? 1 : 0;
}

/* ---------------- _SCL ---------------- */
// The switch key's toggle is the script/English state: toggled on is script.
extern "C" int _SCL(int on) {
    GetKeyboardState(shared.keyState);
    const int key = shared.switchKey & 0xFF;
    const bool toggled = key != 0 && (shared.keyState[key] & 1) != 0;
    if (key == 0) {
        // No switch key chosen yet: there is no toggle to force.
    } else if (on == 1 && !toggled) {
        shared.keyState[key] = 1;
        shared.typingMode = shared.typingMode < 2 ? MODE_SCRIPT : MODE_DISABLED_SCRIPT;
        SetKeyboardState(shared.keyState);
        ResetWord();
    } else if (on != 1 && toggled) {
        shared.keyState[key] = 0;
        shared.typingMode = shared.typingMode < 2 ? MODE_ENGLISH : MODE_DISABLED_ENGLISH;
        SetKeyboardState(shared.keyState);
        ResetWord();
    }
    RefreshManagerTitle();
    return 0;
}

/* ---------------- PellEnable ----------------
   An outside program suspends (any value but 1) and resumes (1) the key
   handler. On resume the script's font is chosen in the active application
   and the switch key's toggle saved at suspension comes back. Returns 0. */
extern "C" int PellEnable(int on) {
    const int key = shared.switchKey & 0xFF;
    if (on != 1) {
        shared.hookEnabled = 0;
        shared.savedLockWhileDisabled = key ? (GetKeyState(key) & 1) : 0;
        return 0;
    }
    shared.hookEnabled = 1;
    if (shared.typingMode < 2) {
        char title[NK_TITLE_SIZE] = "";
        GetWindowTextA(GetActiveWindow(), title, sizeof title);
        SelectFontInApplication(title);
    }
    if (key && shared.savedLockWhileDisabled != 2 &&
        shared.savedLockWhileDisabled != GetKeyState(key)) {
        GetKeyboardState(shared.keyState);
        shared.keyState[key] = (BYTE)shared.savedLockWhileDisabled;
        SetKeyboardState(shared.keyState);
    }
    return 0;
}

/* ---------------- _A2I ----------------
   Glyph codes of the first syllable of text, for drawing the keyboard
   overlay. output receives the glyph bytes (no font-set bytes) and its
   terminator: at most NK_A2I_BUFFER_SIZE / 2 bytes, so the caller's buffer
   must hold that many. With no adapter bound, or an adapter result that is
   not terminated within the local buffer, output is empty. Returns 0. */
extern "C" int _A2I(const char* text, char* output, int32_t* state, int32_t* parameter) {
    int32_t ownState = 0, ownParameter = 0; // for callers that pass no integers
    if (!state) state = &ownState;
    if (!parameter) parameter = &ownParameter;
    if (!output) return 0;
    output[0] = 0;
    *state = 0;
    *parameter = 0;
    if (!text || !proc.adapterEntry) return 0;

    char pairs[NK_A2I_BUFFER_SIZE];
    pairs[0] = 0;
    proc.adapterEntry((const unsigned char*)text, (unsigned char*)pairs, state, parameter, 0);
    const size_t length = BoundedLength(pairs, sizeof pairs);
    if (length >= sizeof pairs) return 0; // no terminator: the result is not trusted
    size_t count = 0;
    for (size_t at = 0; at < length; at += 2)
        output[count++] = pairs[at];
    output[count] = 0;
    return 0;
}
