#include "modules/tamil/tamil_adapter.h"

#include "tamil_glyphs.h" // generated from glyph_table.txt

namespace {

#define NK_INVENTORY(table)                                                                        \
    { table, (int)(sizeof table / sizeof table[0]) }

// The e, ee and ai signs stand before their consonant.
const unsigned char kPreBaseSigns[] = {0xE0, 0xE1, 0xE2, 0};

// o and oo are e and ee before the consonant and aa after it; au is e before
// and the au length mark (the glyph of key E6) after.
const SplitSign kSplitSigns[] = {
    {0xE4, 0xE0, 0xDA},
    {0xE5, 0xE1, 0xDA},
    {0xE6, 0xE0, 0xE6},
    {0, 0, 0},
};

// Tamil writes every dead consonant with the pulli and joins no consonants
// but in KSSA and SHRI, which the inventory holds as keys; RA takes no reph.
const IndicScript kScripts[kTamilFontCount] = {
    {NK_INVENTORY(kTamilTM), kPreBaseSigns, false, kSplitSigns, true, false},
    {NK_INVENTORY(kTamilTMB), kPreBaseSigns, false, kSplitSigns, true, false},
};

} // namespace

const IndicScript& TamilScript(int font) {
    if (font < 0 || font >= kTamilFontCount) font = kFontTM;
    return kScripts[font];
}
