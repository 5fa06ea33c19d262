// Unicode output. The word is converted again at every key, as for glyphs;
// what is compared with the text already typed is the UTF-16 text, and what
// is typed is characters posted with PostMessageW, which a Unicode window
// receives unchanged (PostMessageA would pass them through the ANSI code
// page, which has no Indian letters; SendInput would send them through the
// input queue and back through this hook).
#include "driver/engine/unicode_output.h"

#include "driver/engine/engine.h"
#include "driver/scripts/iscii_unicode.h"

namespace {

// A word of 50 codes, or 255 ISCII bytes from the Phonetic rules, gives at
// most 3 units per byte (Gurmukhi's RRA + virama + HA from two codes; Roman's
// ring-and-macron vowels): 1024 units hold every word.
enum { kUnitsMax = 1024 };

const BYTE kDownBit = 0x80;
const LPARAM kCharLParam = 1; // repeat count 1, as glyphs are posted

// The setting and the text typed for the word, in the shared section with
// the rest of the driver's state: a key in any process continues the word.
struct UnicodeShared {
    int32_t enabled;     // 0 off (the initial state), 1 on
    int32_t shownLength; // units in shownUnits
    uint16_t shownUnits[kUnitsMax];
};
__attribute__((section("SHARED_S"), shared)) UnicodeShared unicodeShared = {0, 0, {0}};

// The new text of the word, per process: converted and used within one key.
uint16_t newUnits[kUnitsMax];

// Any program can write the shared section: its count is checked before use.
size_t ShownLength() {
    const int32_t n = unicodeShared.shownLength;
    return n < 0 || n > kUnitsMax ? 0 : (size_t)n;
}

void StoreKeyState() {
    SetKeyboardState(shared.keyState);
}

// Back-spaces over the characters that changed; they must not arrive shifted.
void EraseUnits(MSG* msg, size_t count) {
    const bool shifted = (shared.keyState[VK_SHIFT] & kDownBit) != 0;
    if (shifted) {
        shared.keyState[VK_SHIFT] = 0;
        StoreKeyState();
    }
    if (CategoryIs(CATEGORY_WORD)) { // as for glyphs: this category takes the key's own message
        msg->wParam = 0;
        PeekMessageA(msg, msg->hwnd, 0, 0, PM_REMOVE);
    }
    for (size_t i = 0; i < count; ++i)
        EraseOneGlyph(msg->hwnd);
    if (shifted) {
        shared.keyState[VK_SHIFT] |= kDownBit;
        StoreKeyState();
    }
}

} // namespace

bool UnicodeOutputOn(void) {
    return unicodeShared.enabled == 1;
}

bool UnicodeOutputCovers(int script) {
    return UnicodeOutputOn() && IsciiVersionOfScript(script) != ISCII_NONE;
}

bool UnicodeOutputFor(HWND window) {
    return UnicodeOutputCovers(shared.activeScript) && window && IsWindowUnicode(window);
}

int RecomposeUnicode(MSG* msg, const char* text) {
    const int version = IsciiVersionOfScript(shared.activeScript);
    const size_t textLength = BoundedLength(text, NK_CONVERTED_SIZE);
    size_t newLength = 0;
    // The Roman options as the Roman adapter gets them at activation.
    const RomanSpelling roman = {shared.romanCapitals, shared.romanAccent, shared.lastIndicScript};
    const IsciiUnicodeResult result = IsciiToUnicode(
        (const unsigned char*)text, textLength, version, roman, newUnits, kUnitsMax, &newLength);
    if (result != ISCII_UNICODE_OK) {
        // Too long for the record of what is shown: dropped with the word,
        // as with the 50-code limit.
        ResetWord();
        msg->message = WM_NULL;
        return 1;
    }
    const size_t shownLength = ShownLength();
    const size_t bound = shownLength < newLength ? shownLength : newLength;
    size_t common = 0;
    while (common < bound && unicodeShared.shownUnits[common] == newUnits[common])
        ++common;

    EraseUnits(msg, shownLength - common);
    for (size_t i = common; i < newLength; ++i)
        PostMessageW(msg->hwnd, WM_CHAR, (WPARAM)newUnits[i], kCharLParam);

    for (size_t i = 0; i < newLength; ++i)
        unicodeShared.shownUnits[i] = newUnits[i];
    unicodeShared.shownLength = (int32_t)newLength;
    msg->message = WM_NULL;
    if (newLength > common) {
        msg->wParam = 0;
        msg->lParam = 0;
    }
    return 1;
}

void ResetUnicodeWord(void) {
    unicodeShared.shownLength = 0;
}

/* ---------------- SetUnicodeOutput ----------------
   The manager's "Unicode output" setting: non-zero on, 0 off. Unicode
   windows then receive Unicode text, and scripts activate without their
   adapter modules. The current word is forgotten. Returns the setting now
   in force (0 or 1). */
extern "C" int SetUnicodeOutput(int on) {
    unicodeShared.enabled = on ? 1 : 0;
    ResetWord();
    return unicodeShared.enabled;
}
