// ISCII-91 to Unicode. The Indian scripts follow ICU's reading of ISCII
// (see iscii_unicode.h): every mapped character is held back one code, so
// that the code after it can still change it (a nukta, a second halant or
// danda, Gurmukhi's tippi and addak), and written with the offset of the
// script that is current when it is written.
#include "driver/scripts/iscii_unicode.h"

#include "driver/scripts/roman_unicode.h"

namespace {

const uint32_t kNone = 0xFFFF;        // no character (held back or mapped)
const uint32_t kReplacement = 0xFFFD; // a code the script lacks
const uint32_t kZwj = 0x200D;
const uint32_t kZwnj = 0x200C;
const uint32_t kDanda = 0x0964;
const uint32_t kDoubleDanda = 0x0965;
const uint32_t kSpace = 0x0020;
const uint32_t kAsciiEnd = 0xA0; // codes up to here are Unicode's own
const uint32_t kBlockSize = 0x80;
const uint32_t kAbbreviationSign = 0x0970; // EXT + 0xBF
const uint32_t kAnudatta = 0x0952;         // EXT + 0xB8

const int kNoContext = 0x100; // no code waits for the one after it

const unsigned char kInv = 0xD9;
const unsigned char kHalant = 0xE8;
const unsigned char kNukta = 0xE9;
const unsigned char kDandaCode = 0xEA;
const unsigned char kAtr = 0xEF;
const unsigned char kVowelA = 0xA4;
const unsigned char kSignE = 0xE0;
const uint32_t kShortA = 0x0904;
const unsigned char kExt = 0xF0;
const unsigned char kExtFirst = 0xA1; // EXT is followed by 0xA1..0xEE
const unsigned char kExtLast = 0xEE;
const unsigned char kAtrDefault = 0x40;      // ATR + 0x40: back to the text's own script
const unsigned char kAtrDisplayFirst = 0x21; // ATR + 0x21..0x3F: display attributes
const unsigned char kAtrDisplayLast = 0x3F;
const unsigned char kAtrScriptFirst = 0x42; // ATR + 0x42..0x4B: a script
const unsigned char kAtrScriptLast = 0x4B;

// Gurmukhi's own rules.
const uint32_t kPnjDelta = ISCII_GURMUKHI * kBlockSize;
const unsigned char kPnjDdha = 0xC0; // DDHA + nukta is RRA + virama + HA
const uint32_t kPnjBindi = 0x0A02;
const uint32_t kPnjTippi = 0x0A70;
const uint32_t kPnjAddak = 0x0A71;
const uint32_t kPnjVirama = 0x0A4D;
const uint32_t kPnjRra = 0x0A5C;
const uint32_t kPnjHa = 0x0A39;

// Devanagari meaning of the codes 0xA1..0xFF; kNone where a code has none
// of its own (INV, ATR, EXT, the unassigned codes).
const uint16_t kDevanagari[0x100 - 0xA1] = {
    0x0901, 0x0902, 0x0903, 0x0905, 0x0906, 0x0907, 0x0908, 0x0909, // A1..A8
    0x090A, 0x090B, 0x090E, 0x090F, 0x0910, 0x090D, 0x0912, 0x0913, // A9..B0
    0x0914, 0x0911, 0x0915, 0x0916, 0x0917, 0x0918, 0x0919, 0x091A, // B1..B8
    0x091B, 0x091C, 0x091D, 0x091E, 0x091F, 0x0920, 0x0921, 0x0922, // B9..C0
    0x0923, 0x0924, 0x0925, 0x0926, 0x0927, 0x0928, 0x0929, 0x092A, // C1..C8
    0x092B, 0x092C, 0x092D, 0x092E, 0x092F, 0x095F, 0x0930, 0x0931, // C9..D0
    0x0932, 0x0933, 0x0934, 0x0935, 0x0936, 0x0937, 0x0938, 0x0939, // D1..D8
    kNone,  0x093E, 0x093F, 0x0940, 0x0941, 0x0942, 0x0943, 0x0946, // D9..E0
    0x0947, 0x0948, 0x0945, 0x094A, 0x094B, 0x094C, 0x0949, 0x094D, // E1..E8
    0x093C, 0x0964, kNone,  kNone,  kNone,  kNone,  kNone,  kNone,  // E9..F0
    0x0966, 0x0967, 0x0968, 0x0969, 0x096A, 0x096B, 0x096C, 0x096D, // F1..F8
    0x096E, 0x096F, kNone,  kNone,  kNone,  kNone,  kNone,          // F9..FF
};

// A code followed by a nukta that stands for another letter.
struct NuktaPair {
    unsigned char code;
    uint16_t letter; // Devanagari
};
const NuktaPair kNuktaPairs[] = {
    {0xA6, 0x090C}, {0xEA, 0x093D}, {0xDF, 0x0944}, {0xA1, 0x0950}, {0xB3, 0x0958},
    {0xB4, 0x0959}, {0xB5, 0x095A}, {0xBA, 0x095B}, {0xBF, 0x095C}, {0xC0, 0x095D},
    {0xC9, 0x095E}, {0xAA, 0x0960}, {0xA7, 0x0961}, {0xDB, 0x0962}, {0xDC, 0x0963},
};

// The letters (offsets in the Unicode block) that each script's ISCII does
// not have, as ICU reads ISCII-91: a code for one of them is a missing
// character there. 0xFF ends a list.
const unsigned char kEnd = 0xFF;
const unsigned char kLacking[ISCII_VERSION_COUNT][48] = {
    {kEnd}, // Devanagari has every letter
    {0x0D, 0x0E, 0x11, 0x12, 0x29, 0x31, 0x33, 0x34, 0x35, 0x3D, 0x45, 0x46,
     0x49, 0x4A, 0x50, 0x52, 0x58, 0x59, 0x5A, 0x5B, 0x5E, 0x64, 0x70, kEnd}, // Bengali
    {0x0B, 0x0C, 0x0D, 0x0E, 0x11, 0x12, 0x29, 0x31, 0x34, 0x37, 0x3D, 0x43, 0x44, 0x45,
     0x46, 0x49, 0x4A, 0x50, 0x52, 0x58, 0x5F, 0x60, 0x61, 0x62, 0x63, 0x64, kEnd}, // Gurmukhi
    {0x0C, 0x0E, 0x12, 0x29, 0x31, 0x34, 0x3C, 0x3D, 0x46, 0x4A, 0x52, 0x58, 0x59,
     0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x61, 0x62, 0x63, 0x64, 0x70, kEnd}, // Gujarati
    {0x0D, 0x0E, 0x11, 0x12, 0x29, 0x31, 0x34, 0x3D, 0x44, 0x45, 0x46, 0x49, 0x4A,
     0x50, 0x52, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5E, 0x62, 0x63, 0x64, 0x70, kEnd}, // Oriya
    {0x01, 0x0B, 0x0C, 0x0D, 0x11, 0x16, 0x17, 0x18, 0x1B, 0x1D, 0x20, 0x21, 0x22, 0x25, 0x26,
     0x27, 0x2B, 0x2C, 0x2D, 0x36, 0x3C, 0x3D, 0x43, 0x44, 0x45, 0x49, 0x50, 0x52, 0x58, 0x59,
     0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x62, 0x63, 0x64, 0x70, kEnd}, // Tamil
    {0x01, 0x0D, 0x11, 0x29, 0x34, 0x3C, 0x3D, 0x45, 0x49, 0x50, 0x52, 0x58,
     0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x62, 0x63, 0x64, 0x70, kEnd}, // Telugu
    {0x01, 0x0D, 0x11, 0x29, 0x31, 0x34, 0x3C, 0x3D, 0x45, 0x49, 0x50, 0x52, 0x58,
     0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x62, 0x63, 0x64, 0x70, kEnd}, // Kannada
    {0x01, 0x0D, 0x11, 0x29, 0x3C, 0x3D, 0x44, 0x45, 0x49, 0x50, 0x52, 0x58,
     0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x62, 0x63, 0x64, 0x70, kEnd}, // Malayalam
};

// The script an ATR + 0x42..0x4B pair switches to.
const int kAtrScripts[kAtrScriptLast - kAtrScriptFirst + 1] = {
    ISCII_DEVANAGARI, ISCII_BENGALI, ISCII_TAMIL,     ISCII_TELUGU,   ISCII_BENGALI, // Assamese
    ISCII_ORIYA,      ISCII_KANNADA, ISCII_MALAYALAM, ISCII_GUJARATI, ISCII_GURMUKHI,
};

struct Output {
    uint16_t* units;
    size_t capacity;
    size_t length;
    bool overflow;
};

void Put(Output* out, uint32_t unit) {
    if (out->length < out->capacity)
        out->units[out->length++] = (uint16_t)unit;
    else
        out->overflow = true;
}

struct Reader {
    int version;      // the script now current (ATR changes it)
    int textVersion;  // the text's own script (a newline returns to it)
    bool resetAtNext; // a newline was read: back to textVersion after it
    int context;      // the code before, while it may combine; kNoContext
    uint32_t held;    // the character held back (Devanagari value), kNone
    uint32_t pnjHeld; // Gurmukhi: a consonant held while a virama follows (Unicode)
    Output* out;
};

uint32_t Delta(const Reader& r) {
    return (uint32_t)r.version * kBlockSize;
}

bool Gurmukhi(const Reader& r) {
    return r.version == ISCII_GURMUKHI;
}

bool HasLetter(int version, uint32_t devanagari) {
    const unsigned char offset = (unsigned char)(devanagari & 0x7F);
    for (const unsigned char* p = kLacking[version]; *p != kEnd; ++p)
        if (*p == offset) return false;
    return true;
}

// Write a character with the current script's offset; ZWJ, ZWNJ and the
// dandas are shared by every script.
void Write(Reader* r, uint32_t c, uint32_t delta) {
    if (c > kAsciiEnd && c != kZwj && c != kZwnj && c != kDanda && c != kDoubleDanda) c += delta;
    Put(r->out, c);
}

void WritePnjHeld(Reader* r) {
    if (r->pnjHeld) {
        Put(r->out, r->pnjHeld);
        r->pnjHeld = 0;
    }
}

// The character of a code in the current script, kNone when it has none.
uint32_t Map(const Reader& r, unsigned char code) {
    if (code <= kAsciiEnd) return code;
    const uint32_t c = kDevanagari[code - 0xA1];
    if (c == kNone || !HasLetter(r.version, c)) return kNone;
    return c;
}

// Gurmukhi consonants that a doubling (addak) applies to; LA and LLA are
// not doubled that way.
bool PnjConsonant(uint32_t c) {
    return (c >= 0x0A15 && c <= 0x0A28) || (c >= 0x0A2A && c <= 0x0A30) || c == 0x0A35 ||
           c == 0x0A36 || c == 0x0A38 || c == 0x0A39 || (c >= 0x0A59 && c <= 0x0A5C) || c == 0x0A5E;
}

// Gurmukhi letters after which a bindi is written as tippi.
bool PnjTakesTippi(uint32_t c) {
    return c == 0x0A05 || c == 0x0A07 || c == 0x0A3F || c == 0x0A41 || c == 0x0A42 ||
           (PnjConsonant(c) && (c < 0x0A59 || c > 0x0A5E));
}

// ATR + code: switch script, or a display attribute (ignored). False for
// any other code.
bool ReadAtr(Reader* r, unsigned char code) {
    if (code >= kAtrScriptFirst && code <= kAtrScriptLast) {
        r->version = kAtrScripts[code - kAtrScriptFirst];
        return true;
    }
    if (code == kAtrDefault) {
        r->version = r->textVersion;
        return true;
    }
    return code >= kAtrDisplayFirst && code <= kAtrDisplayLast;
}

// EXT + code: only the anudatta and the abbreviation sign are known. An
// unknown code in range leaves EXT waiting (as ICU does); one out of range
// ends it.
void ReadExt(Reader* r, unsigned char code) {
    if (code < kExtFirst || code > kExtLast) {
        r->context = kNoContext;
        Put(r->out, kReplacement);
        return;
    }
    const uint32_t c = code == 0xBF ? kAbbreviationSign : code == 0xB8 ? kAnudatta : kNone;
    if (c != kNone && HasLetter(r->version, c)) {
        r->context = kNoContext;
        WritePnjHeld(r);
        Write(r, c, Delta(*r));
        return;
    }
    Put(r->out, kReplacement);
}

// The held character is written (or kept, for Gurmukhi's clusters) now that
// `target` follows it. Returns true when the pair was written as addak +
// consonant and `target` is used up.
bool ReleaseHeld(Reader* r, uint32_t* target) {
    if (r->held == kNone) return false;
    const uint32_t held = r->held;
    r->held = kNone;
    if (Gurmukhi(*r) && r->pnjHeld && PnjConsonant(r->pnjHeld) && held + kPnjDelta == kPnjVirama &&
        *target + kPnjDelta == r->pnjHeld) {
        // A doubled consonant, C + halant + C, is written addak + C.
        Put(r->out, kPnjAddak);
        Put(r->out, r->pnjHeld);
        r->pnjHeld = 0;
        return true;
    }
    WritePnjHeld(r);
    if (Gurmukhi(*r) && *target + kPnjDelta == kPnjBindi && PnjTakesTippi(held + kPnjDelta)) {
        *target = kPnjTippi - kPnjDelta;
        Write(r, held, kPnjDelta);
    } else if (Gurmukhi(*r) && *target + kPnjDelta == kPnjVirama &&
               PnjConsonant(held + kPnjDelta)) {
        r->pnjHeld = held + kPnjDelta; // wait: the consonant may come again
    } else {
        Write(r, held, Delta(*r));
    }
    return false;
}

// Nukta after a code. Returns the character to hold, or kNone with *done
// set when everything has been written already.
uint32_t ReadNukta(Reader* r, bool* done) {
    if (r->context == kHalant) { // soft halant: virama + ZWJ
        r->context = kNoContext;
        return kZwj;
    }
    if (Gurmukhi(*r) && r->context == kPnjDdha) {
        Put(r->out, kPnjRra);
        Put(r->out, kPnjVirama);
        Put(r->out, kPnjHa);
        r->held = kNone;
        r->context = kNoContext;
        *done = true;
        return kNone;
    }
    for (const NuktaPair& pair : kNuktaPairs) {
        if (pair.code != r->context || !HasLetter(r->version, pair.letter)) continue;
        r->context = kNoContext;
        r->held = kNone; // the letter replaces the code before
        if (Gurmukhi(*r)) {
            WritePnjHeld(r);
            Write(r, pair.letter, Delta(*r));
            *done = true;
            return kNone;
        }
        return pair.letter;
    }
    r->context = kNukta;
    return Map(*r, kNukta);
}

// A code that may combine with the one before: returns what to hold.
uint32_t ReadCode(Reader* r, unsigned char code, bool* done) {
    switch (code) {
    case '\n':
    case '\r':
        r->resetAtNext = true;
        r->context = code;
        return code;
    case kDandaCode:
        if (r->context == kDandaCode) {
            r->context = kNoContext;
            r->held = kNone;
            return kDoubleDanda;
        }
        break;
    case kSignE:
        // Devanagari's short A is written as A + the sign of E.
        if (r->context == kVowelA && r->version == ISCII_DEVANAGARI) {
            r->context = code;
            r->held = kNone;
            return kShortA;
        }
        break;
    case kHalant:
        if (r->context == kHalant) { // explicit halant: virama + ZWNJ
            r->context = kNoContext;
            return kZwnj;
        }
        break;
    case kNukta: return ReadNukta(r, done);
    default: break;
    }
    r->context = code;
    return Map(*r, code);
}

void ReadByte(Reader* r, unsigned char code) {
    if (r->context == kAtr) {
        r->context = kNoContext;
        if (!ReadAtr(r, code)) Put(r->out, kReplacement);
        return;
    }
    if (r->context == kExt) {
        ReadExt(r, code);
        return;
    }
    if (r->context == kInv) { // INV stands for a consonant; before a halant, a space
        WritePnjHeld(r);
        Write(r, code == kHalant ? kSpace : kZwj, Delta(*r));
        r->context = kNoContext;
    }
    if (code == kInv || code == kExt || code == kAtr) {
        r->context = code;
        if (r->held != kNone) {
            WritePnjHeld(r);
            Write(r, r->held, Delta(*r));
            r->held = kNone;
        }
        return;
    }
    bool done = false;
    uint32_t target = ReadCode(r, code, &done);
    if (done) return;
    if (ReleaseHeld(r, &target)) return;
    if (target == kNone) {
        Put(r->out, kReplacement);
        return;
    }
    r->held = target;
    if (r->resetAtNext) {
        r->version = r->textVersion;
        r->resetAtNext = false;
    }
}

void Finish(Reader* r) {
    const bool truncated = r->context == kAtr || r->context == kExt || r->context == kInv;
    WritePnjHeld(r);
    if (r->held != kNone) Write(r, r->held, Delta(*r));
    r->held = kNone;
    if (truncated) Put(r->out, kReplacement);
}

} // namespace

int IsciiVersionOfScript(int scriptCode) {
    switch (scriptCode) {
    case 'A': return ISCII_ROMAN;
    case 'B':
    case 'R': return ISCII_DEVANAGARI; // Sanskrit is written in Devanagari
    case 'C':
    case 'F': return ISCII_BENGALI; // Assamese shares the Bengali block
    case 'D': return ISCII_TAMIL;
    case 'E': return ISCII_TELUGU;
    case 'G': return ISCII_ORIYA;
    case 'H': return ISCII_KANNADA;
    case 'I': return ISCII_MALAYALAM;
    case 'J': return ISCII_GUJARATI;
    case 'K': return ISCII_GURMUKHI;
    default: return ISCII_NONE;
    }
}

IsciiUnicodeResult IsciiToUnicode(const unsigned char* text, size_t length, int version,
                                  const RomanSpelling& roman, uint16_t* out, size_t capacity,
                                  size_t* outLength) {
    *outLength = 0;
    Output output = {out, capacity, 0, false};
    if (version == ISCII_ROMAN) {
        RomanToUnicode(text, length, roman, out, capacity, outLength, &output.overflow);
        return output.overflow ? ISCII_UNICODE_OVERFLOW : ISCII_UNICODE_OK;
    }
    if (version < 0 || version >= ISCII_VERSION_COUNT) return ISCII_UNICODE_NO_SCRIPT;
    Reader reader = {version, version, false, kNoContext, kNone, 0, &output};
    for (size_t i = 0; i < length; ++i)
        ReadByte(&reader, text[i]);
    Finish(&reader);
    *outLength = output.length;
    return output.overflow ? ISCII_UNICODE_OVERFLOW : ISCII_UNICODE_OK;
}
