// Diacritic Roman as Unicode: the Roman adapter's own reader spells each
// syllable in RM-Velta letter codes, and each code becomes the Unicode text
// the Roman table gives it, so that glyph and Unicode output always write the
// same letters under the same options.
#include "driver/scripts/roman_unicode.h"

#include <string.h>

#include "roman_letters.h" // generated from modules/roman/roman_table.txt

namespace {

// A word is at most 50 codes, its converted text a few hundred; longer text
// is converted as far as this copy holds and reported as an overflow.
enum { kTextMax = 512, kLettersMax = 40 };

} // namespace

void RomanToUnicode(const unsigned char* text, size_t length, const RomanSpelling& spelling,
                    uint16_t* out, size_t capacity, size_t* outLength, bool* overflow) {
    *outLength = 0;
    *overflow = length >= kTextMax;
    // The reader looks past a code for its nukta or halant: it reads a
    // terminated copy. A NUL inside the text ends it, as for the adapter.
    unsigned char copy[kTextMax];
    const size_t n = length < kTextMax ? length : kTextMax - 1;
    memcpy(copy, text, n);
    copy[n] = 0;
    size_t at = 0;
    while (at < n && copy[at]) {
        unsigned char letters[kLettersMax];
        int count = 0;
        const bool wordStart = at == 0 || RomanWordBreak(copy[at - 1]);
        const int used =
            RomanSyllable(spelling, copy + at, wordStart, letters, kLettersMax, &count);
        if (used < 1) break;
        for (int k = 0; k < count; ++k) {
            for (uint16_t unit : kRomanLetterUnicode[letters[k]]) {
                if (!unit) break;
                if (*outLength >= capacity) {
                    *overflow = true;
                    return;
                }
                out[(*outLength)++] = unit;
            }
        }
        at += (size_t)used;
    }
}
