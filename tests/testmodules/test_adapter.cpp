// A small, deterministic font adapter for tests. It exports the conversion
// entry under every converter name, so one file serves any script code.
//
// Syllables (mode 0 converts the one at the start of the text):
//   - a consonant (0xB3..0xD8), joined by halant (0xE8) to at most 7 more,
//     then at most one vowel sign (0xDA..0xE7), then at most one of
//     candrabindu/anusvara/visarga (0xA1..0xA3);
//   - any other byte alone.
// Glyphs, one per byte except the halants inside a cluster:
//   - byte 0xA1 and above: glyph byte - 0x60 (0xB3 KA gives 0x53 'S');
//   - bytes below 0x80: the byte itself; 0x80..0xA0: '?';
//   - the short i sign 0xDB (glyph 0x7B '{') is drawn before its cluster.
// Set byte: '1' for the consonants 0xCC..0xD8, '0' for everything else.
// Test bytes: 0xFE makes a syllable of 31 glyphs; 0xFD consumes nothing.
// Modes 1, 3, 5 and 6 are recorded in a per-process log (test_adapter_log).
#include <stdint.h>
#include <stdio.h>
#include <string.h>

namespace {

const unsigned char kHalant = 0xE8;
const unsigned char kShortI = 0xDB;
const int kMaxCluster = 8;

char optionLog[256];

bool IsConsonant(unsigned char b) {
    return b >= 0xB3 && b <= 0xD8;
}
bool IsVowelSign(unsigned char b) {
    return b >= 0xDA && b <= 0xE7;
}
bool IsModifier(unsigned char b) {
    return b >= 0xA1 && b <= 0xA3;
}

unsigned char Glyph(unsigned char b) {
    if (b >= 0xA1) return (unsigned char)(b - 0x60);
    if (b < 0x80) return b;
    return '?';
}

char SetOf(unsigned char b) {
    return (b >= 0xCC && b <= 0xD8) ? '1' : '0';
}

void Put(unsigned char* out, int& n, unsigned char glyph, char set) {
    out[n++] = glyph;
    out[n++] = (unsigned char)set;
}

void Syllable(const unsigned char* text, unsigned char* out, int32_t* consumed) {
    int n = 0, i = 0;
    if (text[0] == 0xFE) {
        for (int k = 0; k < 31; ++k)
            Put(out, n, (unsigned char)('A' + k % 26), '0');
        i = 1;
    } else if (text[0] == 0xFD) {
        i = 0;
    } else if (IsConsonant(text[0])) {
        unsigned char cluster[kMaxCluster];
        int count = 0;
        cluster[count++] = text[i++];
        while (count < kMaxCluster && text[i] == kHalant && IsConsonant(text[i + 1])) {
            cluster[count++] = text[i + 1];
            i += 2;
        }
        unsigned char sign = 0, modifier = 0;
        if (IsVowelSign(text[i])) sign = text[i++];
        if (IsModifier(text[i])) modifier = text[i++];
        if (sign == kShortI) Put(out, n, Glyph(sign), '0');
        for (int k = 0; k < count; ++k)
            Put(out, n, Glyph(cluster[k]), SetOf(cluster[k]));
        if (sign && sign != kShortI) Put(out, n, Glyph(sign), '0');
        if (modifier) Put(out, n, Glyph(modifier), '0');
    } else {
        Put(out, n, Glyph(text[0]), '0');
        i = 1;
    }
    out[n] = 0;
    *consumed = i;
}

int Convert(const unsigned char* text, unsigned char* out, int32_t* consumed, int32_t* length,
            int32_t mode) {
    if (!text || !out) return 0;
    switch (mode) {
    case 0:
        if (!consumed) return 0;
        if (text[0] == 0) {
            out[0] = 0;
            *consumed = 0;
            return 0;
        }
        Syllable(text, out, consumed);
        return 1;
    case 1:
    case 3:
    case 5:
    case 6: {
        size_t used = strlen(optionLog);
        snprintf(optionLog + used, sizeof optionLog - used, "%d:%d ", (int)mode,
                 length ? (int)*length : -1);
        out[0] = 0;
        return 1;
    }
    default: return 1;
    }
}

} // namespace

#define NK_TEST_ENTRY(name)                                                                        \
    extern "C" __declspec(dllexport) int __cdecl name(const unsigned char* text,                   \
                                                      unsigned char* out, int32_t* consumed,       \
                                                      int32_t* length, int32_t mode) {             \
        return Convert(text, out, consumed, length, mode);                                         \
    }

NK_TEST_ENTRY(iscii2rmglf)
NK_TEST_ENTRY(iscii2devglf)
NK_TEST_ENTRY(iscii2bengaliglf)
NK_TEST_ENTRY(iscii2tamilglf)
NK_TEST_ENTRY(iscii2teluguglf)
NK_TEST_ENTRY(iscii2assameseglf)
NK_TEST_ENTRY(iscii2oriyaglf)
NK_TEST_ENTRY(iscii2kannadaglf)
NK_TEST_ENTRY(iscii2malayalamglf)
NK_TEST_ENTRY(iscii2gjglf)
NK_TEST_ENTRY(iscii2punjabiglf)
NK_TEST_ENTRY(iscii2tibetanglf)
NK_TEST_ENTRY(iscii2thaiglf)
NK_TEST_ENTRY(iscii2sinhalaglf)
NK_TEST_ENTRY(iscii2sltamilglf)
NK_TEST_ENTRY(iscii2devsanskritglf)

// The option calls seen in this process ("6:1 3:66 5:2 "); clears the log.
extern "C" __declspec(dllexport) int __cdecl test_adapter_log(char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    snprintf(buffer, (size_t)size, "%s", optionLog);
    optionLog[0] = 0;
    return (int)strlen(buffer);
}
