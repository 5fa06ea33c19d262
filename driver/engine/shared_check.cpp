#include "driver/engine/shared_check.h"

namespace {

// Switch keys are virtual-key codes, which index the 256-byte key state.
const int kVirtualKeyMax = 255;
const int kCategoryMax = 13;
const int kRomanCapitalsMax = 2; // lower, upper, initial capitals
// A font-set byte is '0' or '1'; any other value only makes the next glyph
// switch sets.
const int kSetIndexMax = NK_NEW_PAIRS_SIZE;

template <size_t N> void Terminate(char (&text)[N]) {
    text[N - 1] = 0;
}

void Limit(int32_t& value, int32_t low, int32_t high, int32_t fallback) {
    if (value < low || value > high) value = fallback;
}

bool IsScriptOrNone(int32_t code) {
    return code == SCRIPT_NONE || (code >= SCRIPT_FIRST && code <= SCRIPT_LAST);
}

void TerminateTexts(SharedState* s) {
    Terminate(s->adapterFileName);
    Terminate(s->layoutPath);
    Terminate(s->converterFileName);
    Terminate(s->activeTitle);
    Terminate(s->className);
    s->wordIscii[NK_WORD_MAX_CODES] = 0; // a word is at most 50 codes
    Terminate(s->convertedText);
    Terminate(s->syllableOutput);
    Terminate(s->newPairs);
    Terminate(s->shownPairs);
    Terminate(s->newGlyphs);
    Terminate(s->shownGlyphs);
    Terminate(s->managerTitle);
    Terminate(s->moduleDirectory);
    Terminate(s->iniDirectory);
    Terminate(s->nameScratch);
    Terminate(s->sharedPrefixList);
    for (char(&name)[NK_DISPLAY_NAME_SIZE] : s->scriptDisplayNames)
        Terminate(name);
    for (int slot = 0; slot < NK_FONT_SLOTS; ++slot) {
        Terminate(s->scriptFontNames[slot]);
        Terminate(s->englishFontNames[slot]);
        Terminate(s->bilingualFontNames[slot]);
    }
}

void LimitCodes(SharedState* s) {
    if (!IsScriptOrNone(s->activeScript)) s->activeScript = SCRIPT_NONE;
    if (!IsScriptOrNone(s->lastIndicScript)) s->lastIndicScript = SCRIPT_NONE;
    Limit(s->keyboardKind, KBD_INSCRIPT, KBD_UK_INSCRIPT, KBD_INSCRIPT);
    Limit(s->typingMode, MODE_SCRIPT, MODE_DISABLED_ENGLISH, MODE_ENGLISH);
    Limit(s->switchKey, 0, kVirtualKeyMax, 0);
    Limit(s->defaultAppCategory, 0, kCategoryMax, 0);
    Limit(s->romanCapitals, 0, kRomanCapitalsMax, 0);
    Limit(s->romanAccent, 0, 1, 0);
    Limit(s->savedLockWhileDisabled, 0, 2, 2); // 2: nothing saved
    Limit(s->savedLockInMenu, 0, 1, 0);
    Limit(s->savedLockForControl, 0, 1, 0);
    Limit(s->syllableCount, 0, NK_WORD_BUFFER_SIZE, 0);
    Limit(s->setIndex, 0, kSetIndexMax, 0);
}

} // namespace

void CheckSharedState(SharedState* state) {
    if (!state) return;
    TerminateTexts(state);
    LimitCodes(state);
}
