#include "modules/roman/roman_adapter.h"

#include <stdint.h>
#include <string.h>

#include "include/nelkor.h"
#include "modules/common/glyph_inventory.h"
#include "modules/common/indic_syllable.h"
#include "modules/common/iscii.h"
#include "roman_letters.h" // generated from roman_table.txt

using namespace iscii;

namespace {

// The options, per process (the module is loaded into each process).
struct RomanOptions {
    RomanSpelling spelling;
    uintptr_t wordStart; // the text of the last mode 4 call
    uintptr_t wordLength;
};
RomanOptions options = {{0, 0, 'B'}, 0, 0};

enum { kLettersMax = 40, kSpellMax = 4 };

// A spelling: at most 4 letter codes, NUL-padded.
typedef unsigned char Spelling[kSpellMax];

const Spelling kConsonants[] = {
    {'k'},
    {'k', 'h'},
    {'g'},
    {'g', 'h'},
    {kRm_n_dot_above},
    {'c'},
    {'c', 'h'},
    {'j'},
    {'j', 'h'},
    {kRm_n_tilde},
    {kRm_t_dot_below},
    {kRm_t_dot_below, 'h'},
    {kRm_d_dot_below},
    {kRm_d_dot_below, 'h'},
    {kRm_n_dot_below},
    {'t'},
    {'t', 'h'},
    {'d'},
    {'d', 'h'},
    {'n'},
    {kRm_n_line_below},
    {'p'},
    {'p', 'h'},
    {'b'},
    {'b', 'h'},
    {'m'},
    {'y'},
    {kRm_y_dot_above},
    {'r'},
    {kRm_r_line_below},
    {'l'},
    {kRm_l_dot_below},
    {kRm_l_line_below},
    {'v'},
    {kRm_s_acute},
    {kRm_s_dot_below},
    {'s'},
    {'h'},
};
static_assert(sizeof kConsonants / sizeof kConsonants[0] == 0xD8 - 0xB3 + 1, "B3..D8");

struct Letters {
    unsigned char b[kLettersMax];
    int n;
};

void Add(Letters& letters, const unsigned char* spelling) {
    for (int k = 0; k < kSpellMax && spelling[k]; ++k)
        if (letters.n < kLettersMax) letters.b[letters.n++] = spelling[k];
}

void Add1(Letters& letters, unsigned char c) {
    const Spelling s = {c};
    Add(letters, s);
}

bool Dravidian(const RomanSpelling& spelling) {
    return spelling.lastScript && strchr("DEHIQ", spelling.lastScript) != nullptr;
}
bool BengaliGroup(const RomanSpelling& spelling) {
    return spelling.lastScript && strchr("CFG", spelling.lastScript) != nullptr;
}

void AddConsonant(const RomanSpelling& spelling, Letters& letters, unsigned char c, bool nukta) {
    if (c == kInv) return;
    if (nukta) {
        switch (c) {
        case 0xB3: Add1(letters, 'q'); return;
        case 0xB4: Add1(letters, kRm_k_line_below), Add1(letters, 'h'); return;
        case 0xB5: Add1(letters, kRm_g_dot_above); return;
        case 0xBA: Add1(letters, 'z'); return;
        case 0xBF: Add1(letters, kRm_r_dot_below); return;
        case 0xC0: Add1(letters, kRm_r_dot_below), Add1(letters, 'h'); return;
        case 0xC9: Add1(letters, 'f'); return;
        case 0xCD: Add1(letters, kRm_y_dot_above); return; // the same letter as YYA
        default: break;
        }
    }
    if (c == 0xD4 && BengaliGroup(spelling)) {
        Add1(letters, 'b');
        return;
    }
    Add(letters, kConsonants[c - kConsonantKa]);
}

// A vowel (independent 0xA4..0xB2, or its sign 0x35 higher), with nukta for
// the vocalic RR, L and LL.
void AddVowel(const RomanSpelling& spelling, Letters& letters, unsigned char v, bool nukta) {
    if (IsSign(v)) v = (unsigned char)(v - 0x35);
    bool iso = spelling.accent != 0;
    bool marked = iso || Dravidian(spelling); // long e and o carry the macron
    switch (v) {
    case 0xA4: Add1(letters, 'a'); break;
    case 0xA5: Add1(letters, kRm_a_macron); break;
    case 0xA6:
        if (nukta)
            Add1(letters, iso ? kRm_l_ring_below : kRm_l_dot_below);
        else
            Add1(letters, 'i');
        break;
    case 0xA7:
        if (nukta)
            Add1(letters, iso ? kRm_l_ring_below_macron : kRm_l_dot_below_macron);
        else
            Add1(letters, kRm_i_macron);
        break;
    case 0xA8: Add1(letters, 'u'); break;
    case 0xA9: Add1(letters, kRm_u_macron); break;
    case 0xAA:
        if (nukta)
            Add1(letters, iso ? kRm_r_ring_below_macron : kRm_r_dot_below_macron);
        else
            Add1(letters, iso ? kRm_r_ring_below : kRm_r_dot_below);
        break;
    case 0xAB: Add1(letters, marked ? 'e' : kRm_e_breve); break;
    case 0xAC: Add1(letters, marked ? kRm_e_macron : 'e'); break;
    case 0xAD: Add1(letters, 'a'), Add1(letters, 'i'); break;
    case 0xAE: Add1(letters, kRm_e_circumflex); break;
    case 0xAF: Add1(letters, marked ? 'o' : kRm_o_breve); break;
    case 0xB0: Add1(letters, marked ? kRm_o_macron : 'o'); break;
    case 0xB1: Add1(letters, 'a'), Add1(letters, 'u'); break;
    case 0xB2: Add1(letters, kRm_o_circumflex); break;
    default: break;
    }
}

void AddModifier(const RomanSpelling& spelling, Letters& letters, unsigned char m) {
    if (m == kCandrabindu)
        Add1(letters, kRm_m_candrabindu);
    else if (m == kAnusvara)
        Add1(letters, spelling.accent ? kRm_m_dot_above : kRm_m_dot_below);
    else if (m == kVisarga)
        Add1(letters, kRm_h_dot_below);
}

int AddModifiers(const RomanSpelling& spelling, const unsigned char* text, int i,
                 Letters& letters) {
    for (int count = 0; count < 2 && IsModifier(text[i]); ++count) {
        if (text[i] == kCandrabindu && text[i + 1] == kNukta) break; // OM
        AddModifier(spelling, letters, text[i++]);
    }
    return i;
}

unsigned char Capital(unsigned char c) {
    if (c >= 'a' && c <= 'z') return (unsigned char)(c - 'a' + 'A');
    for (const unsigned char* pair : kRomanCase)
        if (pair[0] == c) return pair[1];
    return c;
}

// Whether the syllable at text begins a word: the start of the text of the
// last mode 4 call, a syllable after a blank or punctuation, or any text the
// module was not told about.
bool StartsWord(const unsigned char* text) {
    uintptr_t at = (uintptr_t)text;
    if (at <= options.wordStart || at >= options.wordStart + options.wordLength) return true;
    return RomanWordBreak(text[-1]);
}

int ReadSyllable(const RomanSpelling& spelling, const unsigned char* text, Letters& letters) {
    unsigned char b = text[0];
    if (b < 0x80) {
        Add1(letters, b);
        return 1;
    }
    if (b == kAtr || b == kExt) return text[1] ? 2 : 1;
    int i = 1;
    if (IsClusterUnit(b)) {
        i = 0;
        bool vowelless = false;
        for (int units = 1;; ++units) {
            unsigned char c = text[i++];
            bool nukta = text[i] == kNukta;
            if (nukta) ++i;
            AddConsonant(spelling, letters, c, nukta);
            if (text[i] != kHalant) break;
            unsigned char next = text[i + 1];
            bool room = units < kMaxClusterUnits;
            if (next == kNukta && IsClusterUnit(text[i + 2]) && room) {
                i += 2; // the soft halant joins like any halant
                continue;
            }
            if (IsClusterUnit(next) && room) {
                ++i;
                continue;
            }
            i += (next == kHalant || next == kNukta) ? 2 : 1;
            vowelless = true;
            break;
        }
        if (!vowelless) {
            if (IsSign(text[i])) {
                unsigned char sign = text[i++];
                bool nukta = text[i] == kNukta;
                if (nukta) ++i;
                AddVowel(spelling, letters, sign, nukta);
            } else if (b != kInv || i > 1) {
                Add1(letters, 'a'); // the inherent vowel
            }
        }
        return AddModifiers(spelling, text, i, letters);
    }
    if (IsVowel(b) || IsSign(b)) {
        bool nukta = text[1] == kNukta;
        if (nukta) ++i;
        AddVowel(spelling, letters, b, nukta);
        return AddModifiers(spelling, text, i, letters);
    }
    if (b == kCandrabindu && text[1] == kNukta) { // OM
        AddVowel(spelling, letters, 0xB0, false);
        AddModifier(spelling, letters, kAnusvara);
        return 2;
    }
    if (IsModifier(b)) {
        AddModifier(spelling, letters, b);
        return 1;
    }
    if (b == kDanda) {
        if (text[1] == kNukta) {
            Add1(letters, '\'');
            return 2;
        }
        Add1(letters, '|');
        if (text[1] == kDanda) {
            Add1(letters, '|');
            return 2;
        }
        return 1;
    }
    if (IsDigit(b)) Add1(letters, (unsigned char)('0' + b - kDigitZero));
    return 1; // digits; halant, nukta and other bytes draw nothing
}

} // namespace

bool RomanWordBreak(unsigned char before) {
    return before < 0x80 && !((before | 0x20) >= 'a' && (before | 0x20) <= 'z');
}

int RomanSyllable(const RomanSpelling& spelling, const unsigned char* text, bool atWordStart,
                  unsigned char* letters, int capacity, int* count) {
    *count = 0;
    if (!text || text[0] == 0) return 0;
    Letters read;
    read.n = 0;
    const int consumed = ReadSyllable(spelling, text, read);
    const bool initial = spelling.capitals == 2 && atWordStart;
    for (int k = 0; k < read.n && *count < capacity; ++k) {
        unsigned char c = read.b[k];
        if (spelling.capitals == 1 || (initial && k == 0)) c = Capital(c);
        letters[(*count)++] = c;
    }
    return consumed;
}

int RomanEntry(const unsigned char* text, unsigned char* out, int32_t* consumed, int32_t* length,
               int32_t mode) {
    if (!out) return 0;
    PairWriter writer;
    BeginPairs(writer, out, NK_ADAPTER_OUT_MAX);
    switch (mode) {
    case 0: break;
    case 3:
        if (length) options.spelling.lastScript = *length;
        return 1;
    case 4:
        options.wordStart = (uintptr_t)text;
        options.wordLength = text ? strlen((const char*)text) : 0;
        return 1;
    case 5:
        if (length && *length >= 0 && *length <= 2) options.spelling.capitals = *length;
        return 1;
    case 6:
        if (length) options.spelling.accent = *length != 0;
        return 1;
    default: return 0;
    }
    if (!text || !consumed) return 0;
    if (text[0] == 0) {
        *consumed = 0;
        return 1;
    }
    unsigned char letters[kLettersMax];
    int count = 0;
    *consumed =
        RomanSyllable(options.spelling, text, StartsWord(text), letters, kLettersMax, &count);
    for (int k = 0; k < count; ++k)
        PutGlyph(writer, letters[k], '0');
    return 1;
}

void ResetRomanOptions() {
    RomanOptions fresh = {{0, 0, 'B'}, 0, 0};
    options = fresh;
}
