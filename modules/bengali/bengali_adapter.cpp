#include "modules/bengali/bengali_adapter.h"

#include "bengali_glyphs.h" // generated from glyph_table.txt

namespace {

// The signs i, e and ai stand before their cluster.
const unsigned char kPreBaseSigns[] = {0xDB, 0xE1, 0xE2, 0};

// O is sign E before the cluster and sign AA after it; AU is sign E and the
// AU length mark (the table's E6 row).
const SplitSign kSplitSigns[] = {{0xE5, 0xE1, 0xDA}, {0xE6, 0xE1, 0xE6}, {0, 0, 0}};

// The reph and the candrabindu sit on the consonant, before sign AA; signs
// U, UU and vocalic R go under the consonant, before the ya-phala.
const unsigned char kPostBase[] = {0xCD, 0};
const unsigned char kConsonantMarks[] = {0xA1, 0}; // candrabindu
const unsigned char kBelowBase[] = {0xDD, 0xDE, 0xDF, 0};

#define NK_BENGALI(table)                                                                          \
    {                                                                                              \
        .inventory = NK_GLYPH_INVENTORY(table), .preBaseSigns = kPreBaseSigns, .rephFromRa = true, \
        .splitSigns = kSplitSigns, .rephBeforeSigns = true, .consonantMarks = kConsonantMarks,     \
        .postBaseConsonants = kPostBase, .belowBaseSigns = kBelowBase                              \
    }

const IndicScript kScripts[kBengaliFontCount] = {NK_BENGALI(kBengaliBN), NK_BENGALI(kBengaliBNB)};

} // namespace

const IndicScript& BengaliScript(int font) {
    if (font < 0 || font >= kBengaliFontCount) font = kFontBN;
    return kScripts[font];
}
