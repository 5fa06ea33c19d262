#include "driver/engine/compose_diff.h"

#include <string.h>

#include "support/bounded_text.h"

namespace {

const int kLastLayoutScan = LAYOUT_KEYS - 1; // scan codes 54 and up are not layout keys
const int kVkPeriod = 190;
const int kVkSlash = 191;

void CopyKeyText(char* text, const char* field) {
    size_t n = BoundedLength(field, KEY_TEXT_SIZE);
    if (n > KEY_CODES_SIZE - 1) n = KEY_CODES_SIZE - 1;
    memcpy(text, field, n);
    text[n] = 0;
}

void SetCodes(char* text, unsigned char first, unsigned char second) {
    text[0] = (char)first;
    text[1] = (char)second;
    text[2] = 0;
}

} // namespace

KeyCodesResult KeyCodes(const KeyCodesInput& in, char* text) {
    text[0] = 0;
    if (in.specialPending) {
        unsigned char code = 0xD9;
        if (in.activeScript == SCRIPT_TIBETAN || in.activeScript == SCRIPT_DZONGKHA) code = 0xCA;
        if (in.activeScript == SCRIPT_SINHALA) code = 0xF0;
        text[0] = (char)code;
        text[1] = 0;
        return KEY_CODES_TEXT;
    }
    if (in.scanCode < 0 || in.scanCode > kLastLayoutScan || !in.entry) return KEY_CODES_PASS;
    if (in.shiftDown) {
        CopyKeyText(text, in.entry->scriptShifted);
    } else if (in.wordTitleFlag != 0 && in.clearDown) {
        const unsigned char ext = in.extCodes ? in.extCodes[in.virtualKey & 0xFF] : 0;
        if (in.virtualKey == kVkPeriod)
            SetCodes(text, 0xEA, 0xE9);
        else if (in.virtualKey == kVkSlash)
            SetCodes(text, 0xA1, 0xE9);
        else if (ext != 0)
            SetCodes(text, 0xF0, ext);
        else
            return KEY_CODES_BEEP;
    } else {
        CopyKeyText(text, in.entry->scriptNormal);
    }
    return KEY_CODES_TEXT;
}

void RemapUkVowel(char* text, size_t wordLength) {
    const unsigned char first = (unsigned char)text[0];
    if (wordLength == 0 || first < 0xA4 || first > 0xB2) return;
    text[0] = (char)(first == 0xA4 ? 0xE8 : first + 0x35);
}

bool HyphenWanted(const HyphenRule& rule, unsigned char firstGlyph, int syllableCount,
                  bool inputRemains) {
    if (!rule.allowed || firstGlyph <= 0x40 || syllableCount < 3 || !inputRemains) return false;
    switch (rule.script) {
    case SCRIPT_TELUGU: return true;
    case SCRIPT_TAMIL: return firstGlyph < 0x64 || firstGlyph > 0x7A;
    case SCRIPT_MALAYALAM: {
        static const unsigned char kNoHyphen[] = {0xAC, 0xB3, 0xC0, 0xC2, 0xC4, 0xE2};
        for (unsigned char g : kNoHyphen)
            if (firstGlyph == g) return false;
        return true;
    }
    default: return false;
    }
}

ConvertResult ConvertSyllables(AdapterEntryFn entry, const char* text, const SyllableBuffers& b,
                               const HyphenRule& hyphen, AdapterCursor* cursor,
                               int32_t* syllableCount) {
    unsigned char* out = (unsigned char*)b.output;
    b.glyphs[0] = 0;
    entry((const unsigned char*)text, out, &cursor->consumed, &cursor->outLength, 4);
    *syllableCount = 0;
    b.pairs[0] = 0;
    size_t pairsLength = 0, glyphsLength = 0;
    size_t remaining = strlen(text);
    cursor->input = text;
    while (remaining > 0) {
        cursor->outLength = 0;
        cursor->consumed = 0;
        out[0] = 0;
        entry((const unsigned char*)cursor->input, out, &cursor->consumed, &cursor->outLength, 0);
        if (cursor->consumed < 1 || (size_t)cursor->consumed > remaining) return CONVERT_STOPPED;

        // Whole pairs within what an adapter may write.
        size_t n = BoundedLength(b.output, NK_ADAPTER_OUT_MAX);
        if (n >= NK_ADAPTER_OUT_MAX) n = NK_ADAPTER_OUT_MAX - 1;
        n &= ~(size_t)1;
        out[n] = 0;

        if (pairsLength + n >= b.pairsSize) return CONVERT_OVERFLOW;
        memcpy(b.pairs + pairsLength, out, n + 1);
        pairsLength += n;
        ++*syllableCount;

        // The hyphen reaches the glyphs, not the pairs.
        const bool inputRemains = (size_t)cursor->consumed < remaining;
        if (HyphenWanted(hyphen, out[0], *syllableCount, inputRemains) && n + 3 <= b.scratchSize &&
            n + 3 <= b.outputSize) {
            b.scratch[0] = '-';
            b.scratch[1] = '0';
            memcpy(b.scratch + 2, out, n + 1);
            n = CopyText(b.output, b.outputSize, b.scratch);
        }
        cursor->outLength = (int32_t)n;

        for (size_t i = 0; i < n; i += 2) {
            if (glyphsLength + 1 >= b.glyphsSize) return CONVERT_OVERFLOW;
            b.glyphs[glyphsLength++] = (char)out[i];
        }
        b.glyphs[glyphsLength] = 0;

        cursor->input += cursor->consumed;
        remaining -= (size_t)cursor->consumed;
    }
    return CONVERT_OK;
}

int SetByteAt(const char* pairs, size_t pairsSize, int32_t index) {
    if (index < 0 || (size_t)index >= BoundedLength(pairs, pairsSize)) return 0;
    return (unsigned char)pairs[index];
}

WordDiff DiffWord(const char* shownGlyphs, size_t shownGlyphsSize, const char* newGlyphs,
                  size_t newGlyphsSize, const char* shownPairs, size_t shownPairsSize,
                  const char* newPairs, size_t newPairsSize, bool multipleSets) {
    const size_t shownLength = BoundedLength(shownGlyphs, shownGlyphsSize);
    const size_t newLength = BoundedLength(newGlyphs, newGlyphsSize);
    const size_t bound = shownLength < newLength ? shownLength : newLength;
    WordDiff diff = {0, 0, 1, -1};
    while (diff.common < bound && shownGlyphs[diff.common] == newGlyphs[diff.common]) {
        if (multipleSets && SetByteAt(shownPairs, shownPairsSize, diff.setIndex) !=
                                SetByteAt(newPairs, newPairsSize, diff.setIndex))
            break;
        ++diff.common;
        diff.setIndex += 2;
    }
    diff.eraseCount = shownLength - diff.common;
    if (multipleSets && diff.eraseCount != 0)
        diff.eraseSet = SetByteAt(shownPairs, shownPairsSize, diff.setIndex);
    return diff;
}
