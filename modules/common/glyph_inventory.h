// Glyph inventories of the script fonts, as the adapters see them: each entry
// names the ISCII text a glyph stands for (its key) and the glyph's code and
// font set. The entries are generated from the script's glyph table
// (modules/<script>/glyph_table.txt), which also builds the fonts. Portable.
#ifndef NK_GLYPH_INVENTORY_H
#define NK_GLYPH_INVENTORY_H

#include <stdint.h>

enum { kGlyphKeyMax = 8 };

// Glyphs an entry may draw after its first: a key the font draws as
// glyphs it already has for other keys (Telugu's nii as the ni glyph and
// the length mark) takes no code of its own.
enum { kGlyphThenMax = 2 };

// Key tokens of glyphs that no ISCII text spells directly; no ISCII byte has
// these values. The reph: RA + halant at the start of a cluster. The
// alternative anusvara: the form a script draws after some vowels (the
// Gurmukhi tippi). The gemination mark: a consonant doubled by halant drawn
// as the mark and one consonant (the Gurmukhi addak). The headless body,
// the placed mark, the base form: see kTokenHeadless, kTokenPlaced and
// kTokenBaseForm.
const unsigned char kTokenReph = 0x02;
const unsigned char kTokenAltAnusvara = 0x03;
const unsigned char kTokenGemination = 0x04;
// The headless body of a consonant: key consonant + kTokenHeadless is the
// consonant without the head stroke that a vowel sign replaces (Telugu's
// talakattu, Kannada's crest); key kTokenHeadless + consonant + sign is the
// sign as drawn on that body. No ISCII byte has this value.
const unsigned char kTokenHeadless = 0x05;
// A mark as the font places it on one glyph: key kTokenPlaced + the glyph's
// key + the mark's key (Oriya's u further right under GA than under NA, the
// font's own default). Several such keys share a code where the mark sits
// alike on their glyphs. No ISCII byte has this value.
const unsigned char kTokenPlaced = 0x06;
// A consonant as the font draws it before a subjoined form: key consonant +
// kTokenBaseForm (Oriya's consonants without their lower bowl, where the
// form below takes its place). No ISCII byte has this value.
const unsigned char kTokenBaseForm = 0x07;

struct GlyphEntry {
    unsigned char key[kGlyphKeyMax]; // ISCII bytes and kTokenReph
    unsigned char keyLength;         // 1..kGlyphKeyMax
    unsigned char code;              // glyph code in the font
    unsigned char set;               // font set: '0' first, '1' second
    // Codes drawn after code, in the same set; 0 ends the list.
    unsigned char then[kGlyphThenMax] = {};
};

// byFirstByte, when given, holds 257 offsets: the entries whose key starts
// with byte b are entries[byFirstByte[b] .. byFirstByte[b + 1]). Lookups then
// read a handful of entries instead of the whole font. Without it the
// entries may be in any order and every lookup reads them all.
struct GlyphInventory {
    const GlyphEntry* entries;
    int count;
    const uint16_t* byFirstByte;
};

// The inventory of a generated table (its ...ByFirstByte index beside it).
#define NK_GLYPH_INVENTORY(table)                                                                  \
    { table, (int)(sizeof table / sizeof table[0]), table##ByFirstByte }

// Decides whether an entry whose key matches text at pos may be used there,
// given where the key ends; context is the caller's record of the place.
// Null accepts every match.
typedef bool (*KeyFitFn)(const unsigned char* text, int length, int end, const GlyphEntry& entry,
                         const void* context);

// The entry with the longest key equal to text[pos..pos+keyLength) that fits;
// null when none does. Never reads beyond text[length - 1].
const GlyphEntry* LongestKeyAt(const GlyphInventory& inventory, const unsigned char* text,
                               int length, int pos, KeyFitFn fits, const void* context);

// The entry whose key is exactly the given bytes; null when absent.
const GlyphEntry* FindKey(const GlyphInventory& inventory, const unsigned char* key, int length);

// The pair string an adapter writes: glyph code and set byte per glyph,
// NUL-terminated. It never holds more than capacity bytes with the
// terminator; glyphs past that are dropped.
struct PairWriter {
    unsigned char* out;
    int used;     // bytes written, terminator not counted
    int capacity; // bytes available, terminator included
};

void BeginPairs(PairWriter& writer, unsigned char* out, int capacity);
void PutGlyph(PairWriter& writer, unsigned char code, unsigned char set);
// Writes the entry's glyph and the glyphs it draws after it; nothing for null.
void PutEntry(PairWriter& writer, const GlyphEntry* entry);

#endif // NK_GLYPH_INVENTORY_H
