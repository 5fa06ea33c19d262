// The fonts in which the keyboard overlay draws each script: three tables of
// 20 entries indexed by script code minus 64, each "face,points". The face
// begins with the script's prefix: "DV-" while script typing, "DV1-" while
// English typing, "DVB-TT" with the bilingual option; entries of no script
// hold "Modern,10".
#ifndef DAVRIN_OVERLAY_FONTS_H
#define DAVRIN_OVERLAY_FONTS_H

enum { OVERLAY_FONT_SLOTS = 20, OVERLAY_FONT_SIZE = 25 };

extern char scriptModeFonts[OVERLAY_FONT_SLOTS][OVERLAY_FONT_SIZE];
extern char englishModeFonts[OVERLAY_FONT_SLOTS][OVERLAY_FONT_SIZE];
extern char bilingualFonts[OVERLAY_FONT_SLOTS][OVERLAY_FONT_SIZE];

// Start-up: Roman is drawn in the Devanagari English-mode face in both the
// script and the English table.
void UseEnglishFaceForRoman(void);

#endif // DAVRIN_OVERLAY_FONTS_H
