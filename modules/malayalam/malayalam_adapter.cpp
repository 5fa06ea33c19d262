#include "modules/malayalam/malayalam_adapter.h"

#include "malayalam_glyphs.h" // generated from glyph_table.txt

namespace {

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

// RA after a consonant: the vertical sign, drawn before the consonant.
const unsigned char kPreBaseForms[] = {0xCF, 0};

// Conjuncts are the font's ligatures where it has them; other dead
// consonants keep the chandrakkala. A dead consonant at the end of a word is
// its chillu where it has one, and RA first in a cluster is RA's chillu (the
// reph of reformed spelling); the explicit halant keeps the chandrakkala.
IndicScript MakeScript(const GlyphInventory& inventory) {
    IndicScript script = {inventory, kPreBaseSigns, false};
    script.splitSigns = kSplitSigns;
    script.deadFormsVisible = true;
    script.chilluAtWordEnd = true;
    script.rephAsChillu = true;
    script.preBaseForms = kPreBaseForms;
    return script;
}

const IndicScript kScripts[kMalayalamFontCount] = {
    MakeScript(NK_GLYPH_INVENTORY(kMalayalamML)),
    MakeScript(NK_GLYPH_INVENTORY(kMalayalamMLB)),
};

} // namespace

const IndicScript& MalayalamScript(int font) {
    if (font < 0 || font >= kMalayalamFontCount) font = kFontML;
    return kScripts[font];
}
