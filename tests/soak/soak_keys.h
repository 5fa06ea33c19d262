// The soak test's random keystrokes: a seeded stream, so that a run and a
// fault it finds can be repeated key by key. Portable.
#ifndef NK_SOAK_KEYS_H
#define NK_SOAK_KEYS_H

#include <stddef.h>
#include <stdint.h>

#include "tests/soak/soak_model.h"

struct SoakRandom {
    uint64_t state;
};

void SoakSeed(SoakRandom* r, uint64_t seed);
uint32_t SoakNext(SoakRandom* r);
// A number in 0..n-1.
uint32_t SoakBelow(SoakRandom* r, uint32_t n);

// The hot-key scripts the stream may choose (codes with modules present).
struct SoakScripts {
    char codes[8]; // NUL-terminated, e.g. "AB"
};

// The next key. Typing mostly goes to the script: away from it the switch
// key and Ctrl+Space come often, so the stream returns soon; now and then a
// long run of script keys reaches the 50-code word limit (longRun counts it
// down between calls).
SoakKey SoakNextKey(SoakRandom* r, const SoakModel& m, const SoakScripts& scripts, int* longRun);

// A short name of a key for the reports ("Shift+k", "Backspace", "Ctrl+Shift+F2").
void SoakKeyName(const SoakKey& key, char* name, size_t size);

// The function key of a hot-key script: 112 + n (F1 for 'A' ... F9, F11, F12);
// 0 when the script has no hot key.
int SoakHotKeyFor(int script);

#endif // NK_SOAK_KEYS_H
