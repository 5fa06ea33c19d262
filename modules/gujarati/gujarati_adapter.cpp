#include "modules/gujarati/gujarati_adapter.h"

#include "gujarati_glyphs.h" // generated from glyph_table.txt

namespace {

// The short i sign stands before its cluster; the reph goes at the end of the
// syllable, as in Devanagari; RA after a halant is the rakar sign.
const unsigned char kPreBaseSigns[] = {0xDB, 0};
// Over the consonants whose stem stands left (KA, CHA, JA, TTA, TTHA, DDA,
// DDHA, DA, PHA, RA, HA, NGA), bare or with a sign below, Noto draws the
// anusvara left of where it sits on NA: the alternative form, placed as on
// KA. It goes with the consonant, so that a glyph of the consonant and its
// sign can take it in (RA + sign U).
const unsigned char kLeftAnusvaraAfter[] = {kNoSign, 0xDD, 0xDE, 0xDF, 0};
const unsigned char kLeftAnusvaraOn[] = {0xB3, 0xB7, 0xB9, 0xBA, 0xBD, 0xBE, 0xBF,
                                         0xC0, 0xC4, 0xC9, 0xCF, 0xD8, 0};
const unsigned char kConsonantMarks[] = {kTokenAltAnusvara, 0};

#define NK_GUJARATI(table)                                                                         \
    {                                                                                              \
        .inventory = NK_GLYPH_INVENTORY(table), .preBaseSigns = kPreBaseSigns, .rephFromRa = true, \
        .consonantMarks = kConsonantMarks, .altAnusvaraAfter = kLeftAnusvaraAfter,                 \
        .altAnusvaraOn = kLeftAnusvaraOn                                                           \
    }

const IndicScript kScripts[kGujaratiFontCount] = {NK_GUJARATI(kGujaratiGJ),
                                                  NK_GUJARATI(kGujaratiGJB)};

} // namespace

const IndicScript& GujaratiScript(int font) {
    if (font < 0 || font >= kGujaratiFontCount) font = kFontGJ;
    return kScripts[font];
}
