// Random ISCII through every adapter module's conversion, called as the
// engine calls it: mode 4 on the word, then mode 0 from each syllable's start
// with both integers 0. Every call must keep its output inside the 64 bytes
// (a canary after them stays untouched), write whole pairs with a set byte
// '0' or '1' and a terminator, and consume at least one byte and no more than
// remain; a word must end within as many calls as it has bytes.
//
// usage: adapter_fuzz [EXECUTIONS_PER_MODULE [SEED [MODULE_PREFIX]]]
// (MODULE_PREFIX: only the modules whose file name begins with it, as TM)
// Prints one line per module and "N passed, N failed"; exit status 1 on a
// failure (the first failing input of each module is printed in hex).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "include/nelkor.h"
#include "modules/bengali/bengali_adapter.h"
#include "modules/devanagari/devanagari_adapter.h"
#include "modules/gujarati/gujarati_adapter.h"
#include "modules/gurmukhi/gurmukhi_adapter.h"
#include "modules/oriya/oriya_adapter.h"
#include "modules/roman/roman_adapter.h"
#include "modules/malayalam/malayalam_adapter.h"
#include "modules/kannada/kannada_adapter.h"
#include "modules/telugu/telugu_adapter.h"
#include "modules/tamil/tamil_adapter.h"

namespace {

const long kDefaultExecutions = 20000;
const int kWordMax = 48;            // bytes of one random word
const unsigned char kCanary = 0xCC; // fills the bytes after the adapter's 64
const int kCanaryBytes = 32;
const int kOutBytes = NK_ADAPTER_OUT_MAX + kCanaryBytes;

typedef int (*EntryFn)(const unsigned char* text, unsigned char* out, int32_t* consumed,
                       int32_t* length, int32_t mode);

struct Module {
    const char* file; // the module whose entry this stands for
    EntryFn entry;
};

#define NK_SCRIPT_ENTRY(name, script)                                                              \
    int name(const unsigned char* text, unsigned char* out, int32_t* consumed, int32_t* length,    \
             int32_t mode) {                                                                       \
        return IndicAdapterEntry(script, text, out, consumed, length, mode);                       \
    }

NK_SCRIPT_ENTRY(DvEntry, DevanagariScript(kFontDV))
NK_SCRIPT_ENTRY(DvbEntry, DevanagariScript(kFontDVB))
NK_SCRIPT_ENTRY(VdEntry, DevanagariScript(kFontVD))
NK_SCRIPT_ENTRY(SdEntry, DevanagariScript(kFontSD))
NK_SCRIPT_ENTRY(BnEntry, BengaliScript(kFontBN))
NK_SCRIPT_ENTRY(BnbEntry, BengaliScript(kFontBNB))
NK_SCRIPT_ENTRY(GjEntry, GujaratiScript(kFontGJ))
NK_SCRIPT_ENTRY(GjbEntry, GujaratiScript(kFontGJB))
NK_SCRIPT_ENTRY(PnEntry, GurmukhiScript(kFontPN))
NK_SCRIPT_ENTRY(PnbEntry, GurmukhiScript(kFontPNB))
NK_SCRIPT_ENTRY(OrEntry, OriyaScript(kFontOR))
NK_SCRIPT_ENTRY(OrbEntry, OriyaScript(kFontORB))
NK_SCRIPT_ENTRY(TmEntry, TamilScript(kFontTM))
NK_SCRIPT_ENTRY(TmbEntry, TamilScript(kFontTMB))
NK_SCRIPT_ENTRY(MlEntry, MalayalamScript(kFontML))
NK_SCRIPT_ENTRY(MlbEntry, MalayalamScript(kFontMLB))
NK_SCRIPT_ENTRY(TlEntry, TeluguScript(kFontTL))
NK_SCRIPT_ENTRY(TlbEntry, TeluguScript(kFontTLB))
NK_SCRIPT_ENTRY(KnEntry, KannadaScript(kFontKN))
NK_SCRIPT_ENTRY(KnbEntry, KannadaScript(kFontKNB))

int RmEntry(const unsigned char* text, unsigned char* out, int32_t* consumed, int32_t* length,
            int32_t mode) {
    return RomanEntry(text, out, consumed, length, mode);
}

// Modules built from the same script record share an entry here (ASTROP32 is
// BNTROP32's code with Assamese fonts), so each record is fuzzed once per
// module file all the same.
const Module kModules[] = {
    {"DVTROP32", DvEntry}, {"DVBFA32", DvbEntry}, {"VDTROP32", VdEntry}, {"VDBFA32", DvbEntry},
    {"SDTROP32", SdEntry}, {"SDBFA32", DvbEntry}, {"BNTROP32", BnEntry}, {"BNBFA32", BnbEntry},
    {"ASTROP32", BnEntry}, {"ASBFA32", BnbEntry}, {"GJTROP32", GjEntry}, {"GJBFA32", GjbEntry},
    {"PNTROP32", PnEntry}, {"PNBFA32", PnbEntry}, {"ORTROP32", OrEntry}, {"ORBFA32", OrbEntry},
    {"TMTROP32", TmEntry}, {"TMBFA32", TmbEntry}, {"MLTROP32", MlEntry}, {"MLBFA32", MlbEntry},
    {"TLTROP32", TlEntry}, {"TLBFA32", TlbEntry}, {"KNTROP32", KnEntry}, {"KNBFA32", KnbEntry},
    {"RMTROP32", RmEntry}, {"RMBFA32", RmEntry},
};

// A random word: mostly ISCII letters, signs and joiners, sometimes any byte.
int RandomWord(unsigned char* word) {
    int n = 1 + rand() % (kWordMax - 1);
    for (int k = 0; k < n; ++k) {
        int r = rand() % 16;
        word[k] = r < 6    ? (unsigned char)(0xB3 + rand() % 39) // consonants, INV
                  : r < 9  ? (unsigned char)(0xDA + rand() % 14) // signs
                  : r < 12 ? (unsigned char)(0xE8 + rand() % 3)  // halant, nukta, danda
                  : r < 14 ? (unsigned char)(0xA1 + rand() % 18) // modifiers, vowels
                           : (unsigned char)(1 + rand() % 255);  // anything
    }
    word[n] = 0;
    return n;
}

// Checks one mode-0 call's output; returns a reason, or null when it is sound.
const char* CheckOutput(const unsigned char* out, int32_t consumed, int remaining) {
    for (int k = NK_ADAPTER_OUT_MAX; k < kOutBytes; ++k)
        if (out[k] != kCanary) return "wrote past 64 bytes";
    size_t used = strnlen((const char*)out, NK_ADAPTER_OUT_MAX);
    if (used >= (size_t)NK_ADAPTER_OUT_MAX) return "no terminator within 64 bytes";
    if (used % 2) return "odd pair string";
    for (size_t k = 1; k < used; k += 2)
        if (out[k] != '0' && out[k] != '1') return "set byte neither '0' nor '1'";
    if (consumed < 1) return "no progress";
    if (consumed > remaining) return "consumed past the end";
    return nullptr;
}

// The engine's loop over one word; returns a reason, or null.
const char* ConvertWord(EntryFn entry, const unsigned char* word, int n) {
    unsigned char out[kOutBytes];
    int32_t consumed = 0, length = 0;
    memset(out, kCanary, sizeof out);
    entry(word, out, &consumed, &length, 4);
    int pos = 0, calls = 0;
    while (pos < n) {
        if (++calls > n) return "does not end";
        memset(out, kCanary, sizeof out);
        consumed = length = 0;
        entry(word + pos, out, &consumed, &length, 0);
        const char* why = CheckOutput(out, consumed, n - pos);
        if (why) return why;
        pos += consumed;
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    long executions = argc > 1 ? atol(argv[1]) : kDefaultExecutions;
    srand(argc > 2 ? (unsigned)atoi(argv[2]) : 1u);
    const char* only = argc > 3 ? argv[3] : "";
    int passed = 0, failed = 0;
    for (const Module& m : kModules) {
        if (strncmp(m.file, only, strlen(only)) != 0) continue;
        long bad = 0;
        for (long e = 0; e < executions; ++e) {
            unsigned char word[kWordMax + 1];
            int n = RandomWord(word);
            const char* why = ConvertWord(m.entry, word, n);
            if (!why) continue;
            if (bad++ == 0) {
                printf("%s: %s on", m.file, why);
                for (int k = 0; k < n; ++k)
                    printf(" %02X", word[k]);
                printf("\n");
            }
        }
        printf("%-9s %ld executions, %ld failed\n", m.file, executions, bad);
        if (bad)
            ++failed;
        else
            ++passed;
    }
    printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
