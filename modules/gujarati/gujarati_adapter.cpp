#include "modules/gujarati/gujarati_adapter.h"

#include "gujarati_glyphs.h" // generated from glyph_table.txt

namespace {

// The short i sign stands before its cluster; the reph goes at the end of the
// syllable, as in Devanagari; RA after a halant is the rakar sign.
const unsigned char kPreBaseSigns[] = {0xDB, 0};

#define NK_GUJARATI(table)                                                                         \
    { .inventory = NK_GLYPH_INVENTORY(table), .preBaseSigns = kPreBaseSigns, .rephFromRa = true }

const IndicScript kScripts[kGujaratiFontCount] = {NK_GUJARATI(kGujaratiGJ),
                                                  NK_GUJARATI(kGujaratiGJB)};

} // namespace

const IndicScript& GujaratiScript(int font) {
    if (font < 0 || font >= kGujaratiFontCount) font = kFontGJ;
    return kScripts[font];
}
