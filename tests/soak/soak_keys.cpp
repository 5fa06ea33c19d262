#include "tests/soak/soak_keys.h"

#include <stdio.h>
#include <string.h>

#include "tests/bench/inscript_keys.h"

namespace {

const int kVkF1 = 0x70;
const int kVkF11 = 0x7A;
const uint32_t kLongRunPerMille = 3; // a run of script keys past the word limit
const uint32_t kLongRunMin = 45, kLongRunSpread = 20;

// Weights per thousand keys while typing goes to the script. The rest of the
// thousand are script keys.
struct Weight {
    SoakKeyKind kind;
    uint32_t perMille;
};
const Weight kScriptWeights[] = {
    {SOAK_BACKSPACE, 90}, {SOAK_SPACE, 70},     {SOAK_ENTER, 20},      {SOAK_SHIFT_ALONE, 20},
    {SOAK_SWITCH, 15},    {SOAK_LEFT, 15},      {SOAK_RIGHT, 15},      {SOAK_UP, 4},
    {SOAK_DOWN, 4},       {SOAK_CLICK, 4},      {SOAK_CTRL_SPACE, 6},  {SOAK_HOT_KEY, 10},
};
// Away from the script: English letters, and the way back.
const Weight kOtherWeights[] = {
    {SOAK_BACKSPACE, 60}, {SOAK_SPACE, 60}, {SOAK_ENTER, 15},      {SOAK_SHIFT_ALONE, 10},
    {SOAK_SWITCH, 120},   {SOAK_LEFT, 10},  {SOAK_RIGHT, 10},      {SOAK_UP, 3},
    {SOAK_DOWN, 3},       {SOAK_CLICK, 3},  {SOAK_CTRL_SPACE, 40}, {SOAK_HOT_KEY, 10},
};

SoakKey ScriptKey(SoakRandom* r) {
    SoakKey key = {};
    key.kind = SOAK_SCRIPT_KEY;
    do key.scan = (uint8_t)SoakBelow(r, LAYOUT_KEYS);
    while (key.scan < 2 || UsVirtualKey(key.scan) == 0); // layout keys of a US keyboard
    key.shift = SoakBelow(r, 4) == 0;
    return key;
}

template <size_t N> SoakKey Weighted(SoakRandom* r, const Weight (&weights)[N], const SoakScripts& s) {
    uint32_t pick = SoakBelow(r, 1000);
    for (const Weight& w : weights) {
        if (pick >= w.perMille) {
            pick -= w.perMille;
            continue;
        }
        SoakKey key = {};
        key.kind = (uint8_t)w.kind;
        if (w.kind == SOAK_HOT_KEY) key.script = (uint8_t)s.codes[SoakBelow(r, (uint32_t)strlen(s.codes))];
        return key;
    }
    return ScriptKey(r);
}

} // namespace

void SoakSeed(SoakRandom* r, uint64_t seed) {
    r->state = seed * 0x9E3779B97F4A7C15ull + 1;
}

uint32_t SoakNext(SoakRandom* r) { // xorshift64*
    r->state ^= r->state >> 12;
    r->state ^= r->state << 25;
    r->state ^= r->state >> 27;
    return (uint32_t)((r->state * 0x2545F4914F6CDD1Dull) >> 32);
}

uint32_t SoakBelow(SoakRandom* r, uint32_t n) {
    return n ? SoakNext(r) % n : 0;
}

SoakKey SoakNextKey(SoakRandom* r, const SoakModel& m, const SoakScripts& scripts, int* longRun) {
    if (*longRun > 0) {
        --*longRun;
        return ScriptKey(r);
    }
    if (SoakScriptTyping(m) && SoakBelow(r, 1000) < kLongRunPerMille) {
        *longRun = (int)(kLongRunMin + SoakBelow(r, kLongRunSpread));
        return ScriptKey(r);
    }
    return SoakScriptTyping(m) ? Weighted(r, kScriptWeights, scripts)
                               : Weighted(r, kOtherWeights, scripts);
}

void SoakKeyName(const SoakKey& key, char* name, size_t size) {
    static const char* const kNames[SOAK_KEY_KINDS] = {
        "", "Shift", "Backspace", "space", "Enter", "CapsLock", "Left", "Right", "Up", "Down",
        "click", "Ctrl+space", ""};
    if (key.kind == SOAK_SCRIPT_KEY) {
        snprintf(name, size, "%s%c", key.shift ? "Shift+" : "", UsKeyChar(key.scan, false));
    } else if (key.kind == SOAK_HOT_KEY) {
        const int vk = SoakHotKeyFor(key.script);
        snprintf(name, size, "Ctrl+Shift+F%d", vk ? vk - kVkF1 + 1 : 0);
    } else {
        snprintf(name, size, "%s", key.kind < SOAK_KEY_KINDS ? kNames[key.kind] : "?");
    }
}

int SoakHotKeyFor(int script) {
    if (script >= 'A' && script <= 'I') return kVkF1 + (script - 'A');
    if (script == 'J' || script == 'K') return kVkF11 + (script - 'J');
    return 0;
}
