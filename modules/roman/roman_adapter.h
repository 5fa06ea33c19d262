// The diacritic Roman adapter: ISCII to Roman letters in RM-Velta, one
// syllable (a consonant cluster with its vowel) per call. Portable.
//
// The letters follow IAST, or ISO 15919 with the international accent on
// (mode 6): vocalic r and l as r/l with ring below instead of dot below,
// anusvara as m with dot above instead of dot below, and the long vowels e and
// o marked with a macron (the short ones then plain). After a Dravidian script
// (mode 3: Tamil, Telugu, Kannada, Malayalam, SL-Tamil) long e and o always
// carry the macron; after Bengali, Assamese or Oriya va is written b. Mode 5
// sets capitals: 0 lower case, 1 upper case, 2 a capital at the start of each
// word. The options are kept per process.
#ifndef NK_ROMAN_ADAPTER_H
#define NK_ROMAN_ADAPTER_H

#include <stdint.h>

// The options that shape the letters.
struct RomanSpelling {
    int capitals;   // 0 lower, 1 upper, 2 initial capitals
    int accent;     // 0 IAST, 1 ISO 15919
    int lastScript; // code of the last Indic script
};

// The letters of the syllable at the start of text (NUL-terminated ISCII) as
// RM-Velta letter codes (roman_table.txt: ASCII and the diacritic letters);
// under initial capitals atWordStart capitalises the first. Writes at most
// capacity codes and their number to *count; returns the bytes consumed, at
// least 1 while text remains. The Unicode output spells Roman with it too,
// so that both outputs write the same letters.
int RomanSyllable(const RomanSpelling& spelling, const unsigned char* text, bool atWordStart,
                  unsigned char* letters, int capacity, int* count);

// Whether a word starts after this byte: a blank, a digit or punctuation.
bool RomanWordBreak(unsigned char before);

// The conversion entry "iscii2rmglf": mode 0 converts the syllable at the
// start of text (pairs of letter code and set '0', at most NK_ADAPTER_OUT_MAX
// bytes); mode 4 notes where the word starts (for initial capitals); modes
// 3, 5 and 6 store *length as the option. Every mode writes a terminated
// output. Returns 1 when it converted or stored.
int RomanEntry(const unsigned char* text, unsigned char* out, int32_t* consumed, int32_t* length,
               int32_t mode);

// Back to the options a freshly loaded module has (lower case, IAST,
// Devanagari before). For tests.
void ResetRomanOptions();

#endif // NK_ROMAN_ADAPTER_H
