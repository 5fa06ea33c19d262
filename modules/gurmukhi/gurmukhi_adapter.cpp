#include "modules/gurmukhi/gurmukhi_adapter.h"

#include "gurmukhi_glyphs.h" // generated from glyph_table.txt

namespace {

// The short i sign stands before its cluster. Gurmukhi has no reph: RA,
// HA and VA after a halant are subjoined, other consonants keep a visible
// halant. A consonant doubled by halant is written with the addak. The
// anusvara is the tippi after the bare consonant, the vowels A, I, U and the
// signs I, U, UU, and the bindi elsewhere, as Gurmukhi spelling has it.
const unsigned char kPreBaseSigns[] = {0xDB, 0};
const unsigned char kTippiAfter[] = {kNoSign, 0xA4, 0xA6, 0xA8, 0xDB, 0xDD, 0xDE, 0};
// The tippi sits on its consonant (joined to it where the font has the pair).
const unsigned char kConsonantMarks[] = {kTokenAltAnusvara, 0};

#define NK_GURMUKHI(table)                                                                         \
    {                                                                                              \
        .inventory = NK_GLYPH_INVENTORY(table), .preBaseSigns = kPreBaseSigns,                     \
        .rephFromRa = false, .consonantMarks = kConsonantMarks, .altAnusvaraAfter = kTippiAfter,   \
        .geminationMark = true                                                                     \
    }

const IndicScript kScripts[kGurmukhiFontCount] = {NK_GURMUKHI(kGurmukhiPN),
                                                  NK_GURMUKHI(kGurmukhiPNB)};

} // namespace

const IndicScript& GurmukhiScript(int font) {
    if (font < 0 || font >= kGurmukhiFontCount) font = kFontPN;
    return kScripts[font];
}
