// ISCII-91 to Unicode (UTF-16), for every Indian script of the script table
// and for Roman. Portable: no Windows API, no allocation; the caller owns
// both buffers.
//
// The Indian scripts are read the way ICU's "ISCII,version=N" converter
// reads them, so that text typed through this system compares equal with
// text converted elsewhere: nukta combinations, INV, explicit halant
// (virama + ZWNJ), soft halant (virama + ZWJ), ATR script switches, EXT
// codes, the danda and the digits, each script in its own Unicode block.
// A code a script lacks becomes U+FFFD. Roman is written in IAST or
// ISO 15919 letters, precomposed, as the Roman adapter spells them.
#ifndef NK_ISCII_UNICODE_H
#define NK_ISCII_UNICODE_H

#include <stddef.h>
#include <stdint.h>

#include "modules/roman/roman_adapter.h"

// ISCII versions in Unicode's block order (ICU's version numbers).
enum IsciiVersion {
    ISCII_DEVANAGARI = 0,
    ISCII_BENGALI = 1,
    ISCII_GURMUKHI = 2,
    ISCII_GUJARATI = 3,
    ISCII_ORIYA = 4,
    ISCII_TAMIL = 5,
    ISCII_TELUGU = 6,
    ISCII_KANNADA = 7,
    ISCII_MALAYALAM = 8,
    ISCII_VERSION_COUNT = 9,
    ISCII_ROMAN = 100, // not an ISCII block: IAST / ISO 15919 letters
    ISCII_NONE = -1
};


// What a conversion produced.
enum IsciiUnicodeResult {
    ISCII_UNICODE_OK = 0,
    ISCII_UNICODE_OVERFLOW = 1, // the output filled up; it holds a prefix
    ISCII_UNICODE_NO_SCRIPT = 2 // the version has no conversion
};

// The version of a script code ('A' to 'S'): Roman for 'A', ISCII_NONE for
// the scripts this conversion does not cover (Tibetan, Thai, Sinhala, ...).
int IsciiVersionOfScript(int scriptCode);

// Convert `length` bytes of ISCII text of `version` into UTF-16 code units.
// Writes at most `capacity` units to `out` and stores their number in
// *outLength (no terminator is written). `roman` (the Roman options: letter
// style, capitals, the script typed before) matters for Roman only.
IsciiUnicodeResult IsciiToUnicode(const unsigned char* text, size_t length, int version,
                                  const RomanSpelling& roman, uint16_t* out, size_t capacity,
                                  size_t* outLength);

#endif // NK_ISCII_UNICODE_H
