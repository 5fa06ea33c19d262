// A small, deterministic typewriter converter for tests: lower-case letters
// 'a'..'z' become the consonants 0xB3..0xCC, '[' becomes the short i sign
// 0xDB, every other byte is copied. The output is bounded by the converter
// contract (255 bytes and the terminator).
#include <stdio.h>

namespace {
const int kOutMax = 255;
}

extern "C" __declspec(dllexport) int __cdecl make_iscii(const unsigned char* text,
                                                        unsigned char* out) {
    if (!text || !out) return 0;
    int n = 0;
    for (; *text && n < kOutMax; ++text) {
        unsigned char c = *text;
        if (c >= 'a' && c <= 'z')
            c = (unsigned char)(0xB3 + (c - 'a'));
        else if (c == '[')
            c = 0xDB;
        out[n++] = c;
    }
    out[n] = 0;
    return 1;
}

extern "C" __declspec(dllexport) int __cdecl get_kbd_name(char* name) {
    if (name) snprintf(name, 260, "%s", "Test Typewriter");
    return 1;
}
