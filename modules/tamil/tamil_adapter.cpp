#include "modules/tamil/tamil_adapter.h"

#include "tamil_glyphs.h" // generated from glyph_table.txt

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

// Tamil has one consonant for each class of stops: KHA, GA, GHA are read as
// KA; CHA as CA and JHA as JA; TTHA, DDA, DDHA as TTA; THA, DA, DHA as TA;
// PHA, BA, BHA as PA; SHA as SSA; YYA as YA.
const unsigned char kReadAs[] = {0xB4, 0xB3, 0xB5, 0xB3, 0xB6, 0xB3, 0xB9, 0xB8, 0xBB, 0xBA, 0xBE,
                                 0xBD, 0xBF, 0xBD, 0xC0, 0xBD, 0xC3, 0xC2, 0xC4, 0xC2, 0xC5, 0xC2,
                                 0xC9, 0xC8, 0xCA, 0xC8, 0xCB, 0xC8, 0xD5, 0xD6, 0xCE, 0xCD, 0};

// Tamil writes every dead consonant with the pulli and joins no consonants
// but in KSSA and SHRI, which the inventory holds as keys; RA takes no reph.
IndicScript MakeScript(const GlyphInventory& inventory) {
    IndicScript script = {inventory, kPreBaseSigns, false};
    script.splitSigns = kSplitSigns;
    script.deadFormsVisible = true;
    script.readAs = kReadAs;
    return script;
}

const IndicScript kScripts[kTamilFontCount] = {
    MakeScript(NK_GLYPH_INVENTORY(kTamilTM)),
    MakeScript(NK_GLYPH_INVENTORY(kTamilTMB)),
};

} // namespace

const IndicScript& TamilScript(int font) {
    if (font < 0 || font >= kTamilFontCount) font = kFontTM;
    return kScripts[font];
}
