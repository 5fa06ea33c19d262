// The Gurmukhi adapters: one syllable reader, one glyph inventory per font.
// Portable.
#ifndef NK_GURMUKHI_ADAPTER_H
#define NK_GURMUKHI_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum GurmukhiFont {
    kFontPN,  // PN-Velta: PNTROP32.DLL
    kFontPNB, // PNB-TTVelta, bilingual: PNBFA32.DLL
    kGurmukhiFontCount
};

// The script record of a font; a font outside the list gives PN-Velta's.
const IndicScript& GurmukhiScript(int font);

#endif // NK_GURMUKHI_ADAPTER_H
