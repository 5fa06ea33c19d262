#include "modules/devanagari/devanagari_adapter.h"

#include "devanagari_glyphs.h" // generated from glyph_table.txt

namespace {

#define NK_INVENTORY(table)                                                                        \
    { table, (int)(sizeof table / sizeof table[0]) }

// The short i sign is the one Devanagari sign drawn before its cluster.
const unsigned char kPreBaseSigns[] = {0xDB, 0};

const IndicScript kScripts[kDevanagariFontCount] = {
    {NK_INVENTORY(kDevanagariDV), kPreBaseSigns, true},
    {NK_INVENTORY(kDevanagariDVB), kPreBaseSigns, true},
    {NK_INVENTORY(kDevanagariVD), kPreBaseSigns, true},
    {NK_INVENTORY(kDevanagariSD), kPreBaseSigns, true},
};

} // namespace

const IndicScript& DevanagariScript(int font) {
    if (font < 0 || font >= kDevanagariFontCount) font = kFontDV;
    return kScripts[font];
}
