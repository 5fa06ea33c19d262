// The Telugu adapters: the shared syllable reader with Telugu's data,
// one glyph inventory per font. Portable.
#ifndef NK_TELUGU_ADAPTER_H
#define NK_TELUGU_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum TeluguFont {
    kFontTL,  // TL-Velta: TLTROP32.DLL
    kFontTLB, // TLB-TTVelta, bilingual: TLBFA32.DLL
    kTeluguFontCount
};

// The script record of a font; a font outside the list gives TL-Velta's.
const IndicScript& TeluguScript(int font);

#endif // NK_TELUGU_ADAPTER_H
