// The arithmetic of composing a word: the key's codes, the syllable loop over
// the font adapter, the hyphen decision and what must be erased and typed.
// Portable (no Windows API): compose.cpp feeds it the shared buffers and does
// the posting; the native tests drive it with fake adapters.
#ifndef NK_COMPOSE_DIFF_H
#define NK_COMPOSE_DIFF_H

#include <stddef.h>
#include <stdint.h>

#include "include/nelkor.h"

// ---------------------------------------------------------------------------
// The key's codes.
struct KeyCodesInput {
    int scanCode;
    int virtualKey;
    int activeScript;
    bool specialPending; // Shift+Esc: the script's special code
    bool shiftDown;
    bool clearDown; // the Clear key, honoured only with wordTitleFlag
    int wordTitleFlag;
    const KeyEntry* entry;         // the key's table entry; null past the table
    const unsigned char* extCodes; // 256 entries, virtual key to extended code
};

enum KeyCodesResult {
    KEY_CODES_TEXT, // text holds the key's codes (possibly empty)
    KEY_CODES_PASS, // not a layout key: it reaches the application unchanged
    KEY_CODES_BEEP  // a Clear-key combination without a code: beep, text empty
};

enum { KEY_CODES_SIZE = KEY_TEXT_SIZE }; // a key string is at most 8 codes

// Fills text (KEY_CODES_SIZE bytes) with the codes the key appends to the word.
KeyCodesResult KeyCodes(const KeyCodesInput& in, char* text);

// Keyboard kind 164: an independent vowel typed after a letter becomes its
// vowel sign (0xA4 becomes the halant 0xE8, 0xA5..0xB2 move up by 0x35).
void RemapUkVowel(char* text, size_t wordLength);

// ---------------------------------------------------------------------------
// Syllables to glyphs.
struct SyllableBuffers {
    char* output; // syllableOutput: the adapter's pairs for one syllable
    size_t outputSize;
    char* pairs; // newPairs
    size_t pairsSize;
    char* glyphs; // newGlyphs
    size_t glyphsSize;
    char* scratch; // nameScratch: formatting the hyphen
    size_t scratchSize;
};

// The adapter's cursor: per process in the driver.
struct AdapterCursor {
    const char* input; // convInput
    int32_t consumed;  // convConsumed
    int32_t outLength; // convOutLength
};

struct HyphenRule {
    bool allowed; // no bilingual font, not category 10, hyphenation on
    int script;
};

// Hyphen in front of a syllable: Telugu always, Tamil for first glyphs below
// 0x64 or above 0x7A, Malayalam unless the first glyph is one of six, and
// only from the third syllable on, before more input, for glyphs above 0x40.
bool HyphenWanted(const HyphenRule& rule, unsigned char firstGlyph, int syllableCount,
                  bool inputRemains);

enum ConvertResult {
    CONVERT_OK,      // the whole text is converted
    CONVERT_STOPPED, // the adapter consumed nothing or more than remained:
                     // what came before is kept, the rest has no glyphs
    CONVERT_OVERFLOW // the glyphs or pairs do not fit their buffers
};

// Convert text syllable by syllable: mode 4 once on the whole text, then mode
// 0 per syllable. Every adapter result is checked: the output must end within
// NK_ADAPTER_OUT_MAX bytes (else it is cut to whole pairs there) and the count
// consumed must be at least 1 and no more than remains.
ConvertResult ConvertSyllables(AdapterEntryFn entry, const char* text, const SyllableBuffers& b,
                               const HyphenRule& hyphen, AdapterCursor* cursor,
                               int32_t* syllableCount);

// ---------------------------------------------------------------------------
// What must change on screen.
struct WordDiff {
    size_t common;     // glyphs that stay
    size_t eraseCount; // shown glyphs to erase
    int32_t setIndex;  // set byte of the first differing pair
    int eraseSet;      // under multiple sets: set byte of the first erased glyph, else -1
};

WordDiff DiffWord(const char* shownGlyphs, size_t shownGlyphsSize, const char* newGlyphs,
                  size_t newGlyphsSize, const char* shownPairs, size_t shownPairsSize,
                  const char* newPairs, size_t newPairsSize, bool multipleSets);

// The set byte at index of a pair string, 0 past its end.
int SetByteAt(const char* pairs, size_t pairsSize, int32_t index);

#endif // NK_COMPOSE_DIFF_H
