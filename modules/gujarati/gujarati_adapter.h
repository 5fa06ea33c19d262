// The Gujarati adapters: one syllable reader, one glyph inventory per font.
// Portable.
#ifndef NK_GUJARATI_ADAPTER_H
#define NK_GUJARATI_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum GujaratiFont {
    kFontGJ,  // GJ-Velta: GJTROP32.DLL
    kFontGJB, // GJB-TTVelta, bilingual: GJBFA32.DLL
    kGujaratiFontCount
};

// The script record of a font; a font outside the list gives GJ-Velta's.
const IndicScript& GujaratiScript(int font);

#endif // NK_GUJARATI_ADAPTER_H
