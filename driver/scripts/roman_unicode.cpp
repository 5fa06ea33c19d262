// Diacritic Roman from ISCII, one code at a time: a consonant carries the
// inherent "a" unless a vowel sign, a halant or the end of a nukta letter
// takes its place.
#include "driver/scripts/roman_unicode.h"

namespace {

enum { kSpellMax = 4 };
typedef uint16_t Spelling[kSpellMax]; // NUL-padded UTF-16

const unsigned char kFirstVowel = 0xA4, kLastVowel = 0xB2;
const unsigned char kFirstConsonant = 0xB3, kLastConsonant = 0xD8;
const unsigned char kInv = 0xD9, kFirstSign = 0xDA, kLastSign = 0xE7;
const unsigned char kHalant = 0xE8, kNukta = 0xE9, kDanda = 0xEA;
const unsigned char kFirstDigit = 0xF1, kLastDigit = 0xFA;
const unsigned char kSignToVowel = 0x35; // a vowel sign is its vowel + 0x35
const unsigned char kCandrabinduCode = 0xA1, kAnusvara = 0xA2, kVisarga = 0xA3;
const uint16_t kRingBelow = 0x0325, kMacron = 0x0304, kCandrabindu = 0x0310;
const uint16_t kMDotAbove = 0x1E41, kMDotBelow = 0x1E43, kHDotBelow = 0x1E25;

const Spelling kConsonants[kLastConsonant - kFirstConsonant + 1] = {
    {'k'},    {'k', 'h'}, {'g'},      {'g', 'h'}, {0x1E45},      {'c'},    {'c', 'h'},
    {'j'},    {'j', 'h'}, {0x00F1},   {0x1E6D},   {0x1E6D, 'h'}, {0x1E0D}, {0x1E0D, 'h'},
    {0x1E47}, {'t'},      {'t', 'h'}, {'d'},      {'d', 'h'},    {'n'},    {0x1E49},
    {'p'},    {'p', 'h'}, {'b'},      {'b', 'h'}, {'m'},         {'y'},    {0x1E8F},
    {'r'},    {0x1E5F},   {'l'},      {0x1E37},   {0x1E3B},      {'v'},    {0x015B},
    {0x1E63}, {'s'},      {'h'},
};

// Independent vowels 0xA4..0xB2 in the two styles; ISO 15919 marks the long
// e and o and rings the vocalic r and l.
const Spelling kVowelsIast[kLastVowel - kFirstVowel + 1] = {
    {'a'}, {0x0101},   {'i'},    {0x012B}, {'u'}, {0x016B},   {0x1E5B}, {0x0115},
    {'e'}, {'a', 'i'}, {0x00EA}, {0x014F}, {'o'}, {'a', 'u'}, {0x00F4},
};
const Spelling kVowelsIso[kLastVowel - kFirstVowel + 1] = {
    {'a'},    {0x0101},   {'i'},    {0x012B}, {'u'},    {0x016B},   {'r', kRingBelow}, {'e'},
    {0x0113}, {'a', 'i'}, {0x00EA}, {'o'},    {0x014D}, {'a', 'u'}, {0x00F4},
};

// Letters that a nukta makes of the code before it.
struct NuktaLetter {
    unsigned char code;
    Spelling iast;
    Spelling iso;
};
const NuktaLetter kNuktaLetters[] = {
    {0xB3, {'q'}, {'q'}},
    {0xB4, {0x1E35, 'h'}, {0x1E35, 'h'}},
    {0xB5, {0x0121}, {0x0121}},
    {0xBA, {'z'}, {'z'}},
    {0xBF, {0x1E5B}, {0x1E5B}},
    {0xC0, {0x1E5B, 'h'}, {0x1E5B, 'h'}},
    {0xC9, {'f'}, {'f'}},
    {0xAA, {0x1E5D}, {'r', kRingBelow, kMacron}}, // vocalic RR
    {0xA6, {0x1E37}, {'l', kRingBelow}},          // vocalic L
    {0xA7, {0x1E39}, {'l', kRingBelow, kMacron}}, // vocalic LL
    {0xDF, {0x1E5D}, {'r', kRingBelow, kMacron}}, // sign of vocalic RR
    {0xDB, {0x1E37}, {'l', kRingBelow}},          // sign of vocalic L
    {0xDC, {0x1E39}, {'l', kRingBelow, kMacron}}, // sign of vocalic LL
    {0xA1, {'o', 'm'}, {'o', 'm'}},               // om
    {kDanda, {'\''}, {'\''}},                     // avagraha
};

struct Writer {
    uint16_t* out;
    size_t capacity;
    size_t length;
    bool overflow;
};

void Add(Writer* w, const uint16_t* spelling) {
    for (int k = 0; k < kSpellMax && spelling[k]; ++k) {
        if (w->length < w->capacity)
            w->out[w->length++] = spelling[k];
        else
            w->overflow = true;
    }
}

void Add1(Writer* w, uint16_t c) {
    const Spelling s = {c};
    Add(w, s);
}

const NuktaLetter* NuktaLetterOf(unsigned char code) {
    for (const NuktaLetter& n : kNuktaLetters)
        if (n.code == code) return &n;
    return nullptr;
}

bool IsConsonant(unsigned char c) {
    return (c >= kFirstConsonant && c <= kLastConsonant) || c == kInv;
}

// The vowel of an independent vowel or a vowel sign.
void AddVowel(Writer* w, unsigned char code, bool iso) {
    if (code >= kFirstSign && code <= kLastSign) code = (unsigned char)(code - kSignToVowel);
    Add(w, (iso ? kVowelsIso : kVowelsIast)[code - kFirstVowel]);
}

// One code and what it does to the consonant before it.
size_t ReadOne(Writer* w, const unsigned char* text, size_t at, size_t length, bool iso) {
    const unsigned char c = text[at];
    const bool nukta = at + 1 < length && text[at + 1] == kNukta;
    const NuktaLetter* letter = nukta ? NuktaLetterOf(c) : nullptr;
    size_t used = letter ? 2 : 1;
    if (IsConsonant(c)) {
        if (c != kInv)
            Add(w, letter ? (iso ? letter->iso : letter->iast) : kConsonants[c - kFirstConsonant]);
        const unsigned char next = at + used < length ? text[at + used] : 0;
        if (next == kHalant) return used + 1; // no vowel
        if (next >= kFirstSign && next <= kLastSign) {
            const bool signNukta = at + used + 1 < length && text[at + used + 1] == kNukta;
            const NuktaLetter* sign = signNukta ? NuktaLetterOf(next) : nullptr;
            if (sign) {
                Add(w, iso ? sign->iso : sign->iast);
                return used + 2;
            }
            AddVowel(w, next, iso);
            return used + 1;
        }
        if (c != kInv) Add1(w, 'a');
        return used;
    }
    if (letter)
        Add(w, iso ? letter->iso : letter->iast);
    else if (c >= kFirstVowel && c <= kLastVowel)
        AddVowel(w, c, iso);
    else if (c == kCandrabinduCode) {
        Add1(w, 'm');
        Add1(w, kCandrabindu);
    } else if (c == kAnusvara)
        Add1(w, iso ? kMDotAbove : kMDotBelow); // ISO 15919 writes anusvara as m dot above
    else if (c == kVisarga)
        Add1(w, kHDotBelow);
    else if (c >= kFirstSign && c <= kLastSign)
        AddVowel(w, c, iso); // a sign without a consonant
    else if (c == kDanda)
        Add1(w, '.');
    else if (c >= kFirstDigit && c <= kLastDigit)
        Add1(w, (uint16_t)('0' + (c - kFirstDigit)));
    else if (c < 0x80)
        Add1(w, c);
    // halant, nukta, ATR, EXT and unassigned codes alone write nothing
    return used;
}

} // namespace

void RomanToUnicode(const unsigned char* text, size_t length, int style, uint16_t* out,
                    size_t capacity, size_t* outLength, bool* overflow) {
    Writer w = {out, capacity, 0, false};
    const bool iso = style != 0;
    for (size_t at = 0; at < length;)
        at += ReadOne(&w, text, at, length, iso);
    *outLength = w.length;
    *overflow = w.overflow;
}
