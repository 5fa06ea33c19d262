// The Kannada adapters: the shared syllable reader with Kannada's data,
// one glyph inventory per font. Portable.
#ifndef NK_KANNADA_ADAPTER_H
#define NK_KANNADA_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum KannadaFont {
    kFontKN,  // KN-Velta: KNTROP32.DLL
    kFontKNB, // KNB-TTVelta, bilingual: KNBFA32.DLL
    kKannadaFontCount
};

// The script record of a font; a font outside the list gives KN-Velta's.
const IndicScript& KannadaScript(int font);

#endif // NK_KANNADA_ADAPTER_H
