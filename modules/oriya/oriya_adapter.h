// The Oriya adapters: one syllable reader, one glyph inventory per font.
// Portable.
#ifndef NK_ORIYA_ADAPTER_H
#define NK_ORIYA_ADAPTER_H

#include "modules/common/indic_syllable.h"

enum OriyaFont {
    kFontOR,  // OR-Velta: ORTROP32.DLL
    kFontORB, // ORB-TTVelta, bilingual: ORBFA32.DLL
    kOriyaFontCount
};

// The script record of a font; a font outside the list gives OR-Velta's.
const IndicScript& OriyaScript(int font);

#endif // NK_ORIYA_ADAPTER_H
