// The Malayalam adapters: the shared syllable reader with Malayalam's data,
// one glyph inventory per font. Portable.
#ifndef NK_MALAYALAM_ADAPTER_H
#define NK_MALAYALAM_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum MalayalamFont {
    kFontML,  // ML-Velta: MLTROP32.DLL
    kFontMLB, // MLB-TTVelta, bilingual: MLBFA32.DLL
    kMalayalamFontCount
};

// The script record of a font; a font outside the list gives ML-Velta's.
const IndicScript& MalayalamScript(int font);

#endif // NK_MALAYALAM_ADAPTER_H
