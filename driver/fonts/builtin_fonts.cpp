#include "driver/fonts/builtin_fonts.h"

#include "support/bounded_text.h"

namespace {
// Indexed by script code minus 64. Assamese shares Bengali's face word,
// SL-Tamil Tamil's, Sanskrit-DEV Devanagari's.
const char* const kBuiltinFontTable[20] = {
    "Modern,10",              // 0
    "RM-" NK_FACE_WORD ",11", // A Roman
    "DV-" NK_FACE_WORD ",11", // B Devanagari
    "BN-" NK_FACE_WORD ",13", // C Bengali
    "TM-" NK_FACE_WORD ",9",  // D Tamil
    "TL-" NK_FACE_WORD ",13", // E Telugu
    "AS-" NK_FACE_WORD ",13", // F Assamese
    "OR-" NK_FACE_WORD ",12", // G Oriya
    "KN-" NK_FACE_WORD ",11", // H Kannada
    "ML-" NK_FACE_WORD ",10", // I Malayalam
    "GJ-" NK_FACE_WORD ",11", // J Gujarati
    "PN-" NK_FACE_WORD ",13", // K Punjabi
    "Modern,10",              // L
    "TB-" NK_FACE_WORD ",14", // M Tibetan
    "DR-" NK_FACE_WORD ",14", // N Dzongkha
    "Modern,10",              // O Thai
    "SH-" NK_FACE_WORD ",13", // P Sinhala
    "TM-" NK_FACE_WORD ",9",  // Q SL-Tamil
    "SD-" NK_FACE_WORD ",12", // R Sanskrit-DEV
    "Modern,10",              // 19
};
} // namespace

const char* BuiltinFontEntry(int code) {
    int index = code - 64;
    if (index < 0 || index >= 20) index = 0;
    return kBuiltinFontTable[index];
}

void BuiltinFontFace(int code, char* face, int size) {
    if (size <= 0) return;
    CopyText(face, (size_t)size, BuiltinFontEntry(code));
    for (char* p = face; *p; ++p)
        if (*p == ',') *p = 0;
}
