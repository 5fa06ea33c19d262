#include "modules/oriya/oriya_adapter.h"

#include "oriya_glyphs.h" // generated from glyph_table.txt

namespace {

// The sign E stands before its cluster; AI, O and AU are E before it and
// their right parts after it (the AI length mark, sign AA, the AU length
// mark; the table keys the length marks by their signs' bytes). The reph
// sits on the consonant; signs U, UU and vocalic R go under the consonant,
// before the post-base ya-phala. A consonant with a visible virama may be a
// glyph of its own (keys C + halant: the virama where Noto puts it on that
// consonant), at the end of a word as inside a cluster.
const unsigned char kPreBaseSigns[] = {0xE1, 0};
const SplitSign kSplitSigns[] = {
    {0xE2, 0xE1, 0xE2}, {0xE5, 0xE1, 0xDA}, {0xE6, 0xE1, 0xE6}, {0, 0, 0}};
const unsigned char kPostBase[] = {0xCD, 0};
const unsigned char kBelowBase[] = {0xDD, 0xDE, 0xDF, 0};
// Before the other subjoined forms a consonant loses its lower bowl (rows
// C+B); the ra-phala hangs under the whole consonant.
const unsigned char kFullBefore[] = {0xCF, 0};

#define NK_ORIYA(table)                                                                            \
    {                                                                                              \
        .inventory = NK_GLYPH_INVENTORY(table), .preBaseSigns = kPreBaseSigns, .rephFromRa = true, \
        .splitSigns = kSplitSigns, .deadFormsVisible = true, .rephBeforeSigns = true,              \
        .postBaseConsonants = kPostBase, .belowBaseSigns = kBelowBase,                             \
        .fullBeforeForms = kFullBefore                                                             \
    }

const IndicScript kScripts[kOriyaFontCount] = {NK_ORIYA(kOriyaOR), NK_ORIYA(kOriyaORB)};

} // namespace

const IndicScript& OriyaScript(int font) {
    if (font < 0 || font >= kOriyaFontCount) font = kFontOR;
    return kScripts[font];
}
