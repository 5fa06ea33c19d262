// The Devanagari and Sanskrit-Devanagari adapters: one syllable reader, one
// glyph inventory per font. Portable.
#ifndef NK_DEVANAGARI_ADAPTER_H
#define NK_DEVANAGARI_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum DevanagariFont {
    kFontDV,  // DV-Velta: DVTROP32.DLL
    kFontDVB, // DVB-TTVelta, bilingual: DVBFA32.DLL, VDBFA32.DLL, SDBFA32.DLL
    kFontVD,  // DV-Velta (set '0') and VD-Velta (set '1'): VDTROP32.DLL
    kFontSD,  // SD-Velta: SDTROP32.DLL
    kDevanagariFontCount
};

// The script record of a font; a font outside the list gives DV-Velta's.
const IndicScript& DevanagariScript(int font);

#endif // NK_DEVANAGARI_ADAPTER_H
