// The Tamil adapters: the shared syllable reader with Tamil's data, one glyph
// inventory per font. Portable.
#ifndef NK_TAMIL_ADAPTER_H
#define NK_TAMIL_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum TamilFont {
    kFontTM,  // TM-Velta: TMTROP32.DLL
    kFontTMB, // TMB-TTVelta, bilingual: TMBFA32.DLL
    kTamilFontCount
};

// The script record of a font; a font outside the list gives TM-Velta's.
const IndicScript& TamilScript(int font);

#endif // NK_TAMIL_ADAPTER_H
