// Script options and the switches between script, English and disabled typing.
#include "driver/engine/engine.h"

/* ---------------- _SetRomanEOAccent ---------------- */
extern "C" void _SetRomanEOAccent(int on) { shared.romanAccent = on; }

/* ---------------- _RMN ---------------- */
extern "C" int _RMN(int command) {
    if (command >= 180 && command <= 182) shared.romanCapitals = command - 180;
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
extern "C" int _MS(int on) {
    shared.multipleSets = on;
    return 0;
}

/* ---------------- SetDualFont ---------------- */
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
    if (!shared.managerWindow) shared.managerWindow = FindWindowA("LoraTAV", nullptr);
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

/* ---------------- PellEnable ---------------- */
extern "C" int PellEnable(int on) {
    if (on == 1) {
        shared.hookEnabled = 1;
    } else {
        shared.hookEnabled = 0;
        shared.savedLockWhileDisabled = GetKeyState(shared.switchKey) & 1;
    }
    return 0;
}

/* ---------------- _A2I ---------------- */
extern "C" int _A2I(const char* text, char* output, int32_t* state, int32_t* parameter) {
    (void)text;
    if (output) output[0] = 0;
    if (state) *state = 0;
    if (parameter) *parameter = 0;
    return 0;
}
