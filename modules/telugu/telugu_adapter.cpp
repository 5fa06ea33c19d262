#include "modules/telugu/telugu_adapter.h"

#include "telugu_glyphs.h" // generated from glyph_table.txt

namespace {

// Every vowel sign follows the first consonant of its cluster, joined to it
// as the font has it (its glyph for both, or the headless body and the sign
// as drawn on it), and the later consonants stand below as their vattu
// forms (keys E8+C). RA first in a cluster is the full RA with the next
// consonant below, as modern Telugu prints it: no reph. A dead consonant
// keeps its visible virama (its own glyph with the virama, or the headless
// body with it).
// The signs that take the place of the head stroke (talakattu): i, ii, e,
// ee, ai, o, oo, au and the virama.
const unsigned char kHeadSigns[] = {0xDB, 0xDC, 0xE0, 0xE1, 0xE2, 0xE4, 0xE5, 0xE6, 0xE8, 0};

// The vocalic R sign follows the consonants below.
const unsigned char kAfterBelowForms[] = {0xDF, 0};

// The u and uu signs, right of the consonant, follow the vattu forms that
// hang under it (placed from the consonant's end, not the sign's), and go
// before those that take room of their own beside it (Noto's YA, NA, VA,
// PA, KA, CA, MA, SA, BA, LLA vattu).
const unsigned char kBeforeSpacingVattu[] = {0xDD, 0xDE, 0};
const unsigned char kSpacingVattu[] = {0xCD, 0xC6, 0xD4, 0xC8, 0xB3, 0xB8, 0xCC, 0xD7, 0xCA, 0xD2, 0};

IndicScript MakeScript(const GlyphInventory& inventory) {
    IndicScript script = {inventory, nullptr, false};
    script.deadFormsVisible = true;
    script.signAfterFirst = true;
    script.headSigns = kHeadSigns;
    script.afterBelowForms = kAfterBelowForms;
    script.beforePostBase = kBeforeSpacingVattu;
    script.postBaseConsonants = kSpacingVattu;
    return script;
}

const IndicScript kScripts[kTeluguFontCount] = {
    MakeScript(NK_GLYPH_INVENTORY(kTeluguTL)),
    MakeScript(NK_GLYPH_INVENTORY(kTeluguTLB)),
};

} // namespace

const IndicScript& TeluguScript(int font) {
    if (font < 0 || font >= kTeluguFontCount) font = kFontTL;
    return kScripts[font];
}
