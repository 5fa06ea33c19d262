// The Bengali and Assamese adapters: one syllable reader, one glyph inventory
// per font. Assamese uses Bengali's inventories (its fonts hold its own RA
// and WA at the same codes). Portable.
#ifndef NK_BENGALI_ADAPTER_H
#define NK_BENGALI_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum BengaliFont {
    kFontBN,  // BN-Velta / AS-Velta: BNTROP32.DLL, ASTROP32.DLL
    kFontBNB, // BNB-TTVelta / ASB-TTVelta, bilingual: BNBFA32.DLL, ASBFA32.DLL
    kBengaliFontCount
};

// The script record of a font; a font outside the list gives BN-Velta's.
const IndicScript& BengaliScript(int font);

#endif // NK_BENGALI_ADAPTER_H
