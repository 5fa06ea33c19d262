// Syllable composition and output: the word typed so far is converted again
// after every key, and only the glyphs that changed are erased and typed into
// the application, so that a syllable that changes shape is redrawn in place.
#include <string.h>

#include "driver/engine/compose_diff.h"
#include "driver/engine/engine.h"
#include "driver/engine/unicode_output.h"
#include "driver/scripts/layouts.h"

namespace {

// Category 11's PeekMessageA runs the hooks again for the message it takes;
// a key composed from there would work on buffers the outer key is using.
int composeDepth = 0;

const BYTE kDownBit = 0x80;

bool ShiftDown() {
    return (shared.keyState[VK_SHIFT] & kDownBit) != 0;
}

void StoreKeyState() {
    SetKeyboardState(shared.keyState);
}

// Multiple font sets matter in Microsoft Word's sense only for these scripts.
bool MultipleSetsOn() {
    const int s = shared.activeScript;
    return shared.wordTitleFlag != 0 && shared.multipleSets &&
           (s == SCRIPT_DEVANAGARI || s == SCRIPT_TIBETAN || s == SCRIPT_DZONGKHA);
}

/* The word as the text the adapter converts, by keyboard kind. */
const char* WordText() {
    shared.wordIscii[sizeof shared.wordIscii - 1] = 0;
    switch (shared.keyboardKind) {
    case KBD_PHONETIC:
        // The rule frame is per process: a hooked process reads the rules
        // before its first Phonetic key, and again when the file changed or
        // the manager chose the rules anew (this key's check of the file:
        // RebindLayout).
        if (GetCurrentThreadId() != shared.managerThreadId &&
            (shared.rulesReloadPending || !proc.rulesCurrent)) {
            ascii2iscii_init(kRulesRomanToIscii);
            proc.rulesCurrent = 1;
            shared.rulesReloadPending = 0;
        }
        shared.convertedText[0] = 0;
        ascii2iscii_convert_str(shared.wordIscii, shared.convertedText, NK_CONVERTED_SIZE - 1, 2);
        shared.convertedText[NK_CONVERTED_SIZE - 1] = 0;
        return shared.convertedText;
    case KBD_TYPEWRITER: {
        MakeIsciiFn convert = BoundConverterEntry();
        if (!convert) return shared.wordIscii; // no converter here: the typed codes as they are
        shared.convertedText[0] = 0;
        convert((const unsigned char*)shared.wordIscii, (unsigned char*)shared.convertedText);
        shared.convertedText[NK_CONVERTED_SIZE - 1] = 0;
        return shared.convertedText;
    }
    default: return shared.wordIscii;
    }
}

/* Back-spaces over the glyphs that changed; they must not arrive shifted. */
void EraseGlyphs(MSG* msg, HWND window, size_t count) {
    proc.shiftWasDown = ShiftDown() ? 1 : 0;
    if (proc.shiftWasDown) {
        shared.keyState[VK_SHIFT] = 0;
        StoreKeyState();
    }
    if (CategoryIs(CATEGORY_WORD)) {
        msg->wParam = 0;
        PeekMessageA(msg, window, 0, 0, PM_REMOVE);
    }
    for (size_t i = 0; i < count; ++i)
        EraseOneGlyph(window);
    if (proc.shiftWasDown) {
        shared.keyState[VK_SHIFT] |= kDownBit;
        StoreKeyState();
    }
}

/* A glyph of another font set is not typed: Ctrl+F4 makes the application
   switch sets, and the rest of this key's glyphs wait. Returns false then. */
bool FontSetAgrees() {
    const int set = SetByteAt(shared.newPairs, sizeof shared.newPairs, shared.setIndex);
    if (set != shared.currentSet) {
        shared.currentSet = set;
        if (GetKeyState(VK_SHIFT) != 0) {
            shared.shiftReleasedForSet = 1;
            shared.keyState[VK_SHIFT] = 0;
            StoreKeyState();
        }
        PostVirtualKeyEvent(VK_CONTROL, 0);
        PostVirtualKeyEvent(VK_F4, 0);
        PostVirtualKeyEvent(VK_F4, 1);
        PostVirtualKeyEvent(VK_CONTROL, 1);
        return false;
    }
    if (shared.shiftReleasedForSet && GetKeyState(VK_SHIFT) != 0) {
        shared.shiftReleasedForSet = 0;
        shared.keyState[VK_SHIFT] |= kDownBit;
        StoreKeyState();
    }
    shared.setIndex += 2;
    return true;
}

/* Types newGlyphs from position `from`; returns how many were posted. */
int TypeGlyphs(HWND window, size_t from, bool sets) {
    const size_t length = BoundedLength(shared.newGlyphs, sizeof shared.newGlyphs);
    int typed = 0;
    for (size_t i = from; i < length; ++i) {
        if (sets && !FontSetAgrees()) break;
        TypeOneGlyph(window, (unsigned char)shared.newGlyphs[i]);
        ++typed;
        if (CategoryIs(CATEGORY_AMIPRO) && shared.amiProEscape) {
            const DWORD scan = OemKeyScan(27) << 16;
            PostMessageA(window, WM_CHAR, 27, (LPARAM)(scan | 1));
        }
    }
    return typed;
}

/* Convert the word, erase what changed, type the rest, remember what is shown. */
int Recompose(MSG* msg) {
    const HWND window = msg->hwnd;
    const char* text = WordText();
    const SyllableBuffers buffers = {shared.syllableOutput, sizeof shared.syllableOutput,
                                     shared.newPairs,       sizeof shared.newPairs,
                                     shared.newGlyphs,      sizeof shared.newGlyphs,
                                     shared.nameScratch,    sizeof shared.nameScratch};
    const HyphenRule hyphen = {shared.dualFont == 0 && !CategoryIs(CATEGORY_VENTURA) &&
                                   shared.hyphenation == 1,
                               shared.activeScript};
    AdapterCursor cursor = {proc.convInput, proc.convConsumed, proc.convOutLength};
    const ConvertResult converted =
        ConvertSyllables(proc.adapterEntry, text, buffers, hyphen, &cursor, &shared.syllableCount);
    proc.convInput = cursor.input;
    proc.convConsumed = cursor.consumed;
    proc.convOutLength = cursor.outLength;
    if (converted == CONVERT_OVERFLOW) {
        // More glyphs than the word's buffers hold: the key is dropped with
        // the word, as with the 50-code limit.
        ResetWord();
        msg->message = WM_NULL;
        return 1;
    }

    const bool sets = MultipleSetsOn();
    const WordDiff diff = DiffWord(
        shared.shownGlyphs, sizeof shared.shownGlyphs, shared.newGlyphs, sizeof shared.newGlyphs,
        shared.shownPairs, sizeof shared.shownPairs, shared.newPairs, sizeof shared.newPairs, sets);
    shared.setIndex = diff.setIndex;
    if (diff.eraseSet >= 0) shared.currentSet = diff.eraseSet;

    EraseGlyphs(msg, window, diff.eraseCount);
    const int typed = TypeGlyphs(window, diff.common, sets);

    CopyText(shared.shownGlyphs, sizeof shared.shownGlyphs, shared.newGlyphs);
    CopyText(shared.shownPairs, sizeof shared.shownPairs, shared.newPairs);
    msg->message = WM_NULL;
    if (typed > 0) {
        msg->wParam = 0;
        msg->lParam = 0;
    }
    return 1;
}

int GuardedRecompose(MSG* msg) {
    // Unicode output (unicode_output.cpp): a Unicode window gets the word as
    // Unicode text, converted without the adapter.
    const bool unicode = UnicodeOutputFor(msg->hwnd);
    if (!proc.adapterEntry && !unicode) {
        // No adapter in this process: nothing can be converted, so nothing is
        // typed; the word keeps its codes and is typed whole once an adapter
        // is bound again.
        msg->message = WM_NULL;
        return 1;
    }
    ++composeDepth;
    int result = unicode ? RecomposeUnicode(msg, WordText()) : Recompose(msg);
    --composeDepth;
    return result;
}

} // namespace

int ComposeKey(MSG* msg) {
    if (composeDepth > 0) {
        msg->message = WM_NULL;
        return 1;
    }
    const int scan = (int)MapVirtualKeyA((UINT)msg->wParam, 0);
    const LayoutTable* table = ActiveLayoutTable();
    KeyCodesInput in;
    in.scanCode = scan;
    in.virtualKey = (int)msg->wParam;
    in.activeScript = shared.activeScript;
    in.specialPending = shared.specialCodePending != 0;
    in.shiftDown = ShiftDown();
    in.clearDown = (shared.keyState[VK_CLEAR] & kDownBit) != 0;
    in.wordTitleFlag = shared.wordTitleFlag;
    in.entry = scan >= 0 && scan < LAYOUT_KEYS ? &table->keys[scan] : nullptr;
    in.extCodes = extCodeTable.data();

    char text[KEY_CODES_SIZE];
    const KeyCodesResult result = KeyCodes(in, text);
    if (in.specialPending) shared.specialCodePending = 0;
    if (result == KEY_CODES_PASS) return 1;
    if (result == KEY_CODES_BEEP) MessageBeep(0);
    const size_t wordLength = BoundedLength(shared.wordIscii, sizeof shared.wordIscii);
    if (shared.keyboardKind == KBD_UK_INSCRIPT) RemapUkVowel(text, wordLength);
    if (wordLength + strlen(text) > NK_WORD_MAX_CODES) {
        ResetWord(); // the key is lost and the next key starts a new word
        msg->message = WM_NULL;
        return 1;
    }
    AppendText(shared.wordIscii, sizeof shared.wordIscii, text);
    return GuardedRecompose(msg);
}

int RecomposeWord(MSG* msg) {
    if (composeDepth > 0) {
        msg->message = WM_NULL;
        return 1;
    }
    return GuardedRecompose(msg);
}
