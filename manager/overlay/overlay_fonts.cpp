// The overlay's font tables. The face word is the product's own font family,
// the same word the driver's built-in default fonts use.
#include "manager/overlay/overlay_fonts.h"

#include <string.h>

#define FACE_WORD "Velta"

// clang-format off
char scriptModeFonts[OVERLAY_FONT_SLOTS][OVERLAY_FONT_SIZE] = {
    "Modern,10",
    "RM-" FACE_WORD ",11", "DV-" FACE_WORD ",11", "BN-" FACE_WORD ",13",
    "TM-" FACE_WORD ",9",  "TL-" FACE_WORD ",13", "AS-" FACE_WORD ",13",
    "OR-" FACE_WORD ",12", "KN-" FACE_WORD ",11", "ML-" FACE_WORD ",10",
    "GJ-" FACE_WORD ",11", "PN-" FACE_WORD ",13", "Modern,10",
    "TB-" FACE_WORD ",14", "DR-" FACE_WORD ",14", "Modern,10",
    "SH-" FACE_WORD ",13", "TM-" FACE_WORD ",9",  "SD-" FACE_WORD ",12",
    "Modern,10",
};

char englishModeFonts[OVERLAY_FONT_SLOTS][OVERLAY_FONT_SIZE] = {
    "Modern,10",
    "RM-" FACE_WORD ",11",  "DV1-" FACE_WORD ",11", "BN1-" FACE_WORD ",13",
    "TM1-" FACE_WORD ",10", "TL1-" FACE_WORD ",13", "AS1-" FACE_WORD ",13",
    "OR1-" FACE_WORD ",12", "KN1-" FACE_WORD ",11", "ML1-" FACE_WORD ",10",
    "GJ1-" FACE_WORD ",11", "PN1-" FACE_WORD ",13", "Modern,10",
    "TB1-" FACE_WORD ",14", "DR1-" FACE_WORD ",14", "Modern,10",
    "SH1-" FACE_WORD ",13", "TM1-" FACE_WORD ",9",  "DV1-" FACE_WORD ",11",
    "Modern,10",
};

char bilingualFonts[OVERLAY_FONT_SLOTS][OVERLAY_FONT_SIZE] = {
    "Modern,10",
    "RM-" FACE_WORD ",11",    "DVB-TT" FACE_WORD ",12", "BNB-TT" FACE_WORD ",13",
    "TMB-TT" FACE_WORD ",9",  "TLB-TT" FACE_WORD ",13", "ASB-TT" FACE_WORD ",13",
    "ORB-TT" FACE_WORD ",12", "KNB-TT" FACE_WORD ",11", "MLB-TT" FACE_WORD ",10",
    "GJB-TT" FACE_WORD ",11", "PNB-TT" FACE_WORD ",13", "Modern,10",
    "TBB-TT" FACE_WORD ",14", "DRB-TT" FACE_WORD ",14", "Modern,10",
    "SHB-TT" FACE_WORD ",13", "TMB-TT" FACE_WORD ",9",  "SD-" FACE_WORD ",12",
    "Modern,10",
};
// clang-format on

void UseEnglishFaceForRoman(void) {
    const int roman = 'A' - 64;
    const int devanagari = 'B' - 64;
    memcpy(scriptModeFonts[roman], englishModeFonts[devanagari], OVERLAY_FONT_SIZE);
    memcpy(englishModeFonts[roman], englishModeFonts[devanagari], OVERLAY_FONT_SIZE);
}
