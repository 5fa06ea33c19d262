#include "modules/devanagari/devanagari_adapter.h"

#include "devanagari_glyphs.h" // generated from glyph_table.txt

namespace {

// The short i sign is the one Devanagari sign drawn before its cluster.
const unsigned char kPreBaseSigns[] = {0xDB, 0};

const IndicScript kScripts[kDevanagariFontCount] = {
    {NK_GLYPH_INVENTORY(kDevanagariDV), kPreBaseSigns, true},
    {NK_GLYPH_INVENTORY(kDevanagariDVB), kPreBaseSigns, true},
    {NK_GLYPH_INVENTORY(kDevanagariVD), kPreBaseSigns, true},
    {NK_GLYPH_INVENTORY(kDevanagariSD), kPreBaseSigns, true},
};

} // namespace

const IndicScript& DevanagariScript(int font) {
    if (font < 0 || font >= kDevanagariFontCount) font = kFontDV;
    return kScripts[font];
}
