// ISCII to diacritic Roman as Unicode text: IAST or ISO 15919 letters, in
// NFC (precomposed where Unicode has the letter, base + combining marks
// where it has none, as for ISO 15919's r and l with ring below), with the
// Roman options of capitals and of the script typed before. Portable.
#ifndef NK_ROMAN_UNICODE_H
#define NK_ROMAN_UNICODE_H

#include <stddef.h>
#include <stdint.h>

#include "modules/roman/roman_adapter.h"

// Writes at most `capacity` units; *outLength gets their number and
// *overflow is set when the text did not fit.
void RomanToUnicode(const unsigned char* text, size_t length, const RomanSpelling& spelling,
                    uint16_t* out, size_t capacity, size_t* outLength, bool* overflow);

#endif // NK_ROMAN_UNICODE_H
