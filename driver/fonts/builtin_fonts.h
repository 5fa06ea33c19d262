// The product's built-in default font of each script. Portable.
#ifndef NK_BUILTIN_FONTS_H
#define NK_BUILTIN_FONTS_H

// The word that follows the script prefix in the product's face names:
// "DV-Velta" (script), "DV1-Velta" (English-mode companion), "DVB-TTVelta"
// (bilingual).
#define NK_FACE_WORD "Velta"

// Entry of a script code minus 64: "DV-Velta,11" (face, comma, point size);
// "Modern,10" for entries without a product font. Codes outside 64..83 give
// the "Modern,10" entry.
const char* BuiltinFontEntry(int code);

// Face name of an entry, cut at its comma, into face (size bytes).
void BuiltinFontFace(int code, char* face, int size);

#endif // NK_BUILTIN_FONTS_H
