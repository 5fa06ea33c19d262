#include "modules/kannada/kannada_adapter.h"

#include "kannada_glyphs.h" // generated from glyph_table.txt

namespace {

// aa, au and the virama of a dead consonant stand after the consonant
// without its crest.
const unsigned char kHeadSigns[] = {0xDA, 0xE6, 0xE8, 0};

// ii is the consonant's i form and the length mark; ee, ai, o and oo are its
// e form and the length mark, the ai length mark, the uu sign, or both (the
// table keys each right part by its sign's byte). oo's length mark follows
// the subscripts, its uu sign comes before them (ಕ್ರೋ), as for o.
const SplitSign kSplitSigns[] = {
    {0xDC, 0xDB, 0xDC}, {0xE1, 0xE0, 0xE1},       {0xE2, 0xE0, 0xE2},
    {0xE4, 0xE0, 0xE4}, {0xE5, 0xE0, 0xE4, 0xDC}, {0, 0, 0},
};

// The length marks and the vocalic R sign follow the consonants below; the
// uu sign of o and oo, and the other signs, come before them.
const unsigned char kAfterBelowForms[] = {0xDC, 0xE1, 0xE2, 0xDF, 0};

// Every vowel sign follows the first consonant of its cluster, joined to it
// as the font has it, and the later consonants stand below as their
// subscript forms (keys E8+C). RA first in a cluster is the reph, drawn
// after the syllable's signs (arkavattu). A dead consonant keeps its virama.
IndicScript MakeScript(const GlyphInventory& inventory) {
    IndicScript script = {inventory, nullptr, true};
    script.splitSigns = kSplitSigns;
    script.deadFormsVisible = true;
    script.signAfterFirst = true;
    script.headSigns = kHeadSigns;
    script.afterBelowForms = kAfterBelowForms;
    return script;
}

const IndicScript kScripts[kKannadaFontCount] = {
    MakeScript(NK_GLYPH_INVENTORY(kKannadaKN)),
    MakeScript(NK_GLYPH_INVENTORY(kKannadaKNB)),
};

} // namespace

const IndicScript& KannadaScript(int font) {
    if (font < 0 || font >= kKannadaFontCount) font = kFontKN;
    return kScripts[font];
}
