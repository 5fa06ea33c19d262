// Converts ISCII words (one per line on standard input) the way the engine
// does: mode 4 on the word, then mode 0 syllable by syllable. Writes one line
// per word: the glyph codes, or with -p the pairs. Used by the rendering
// check; the first argument names the font: DV, DVB, VD, SD, TM, TMB, BN, BNB, AS, ASB, GJ, GJB,
// PN, PNB, OR, ORB, TL, TLB, KN, KNB, ML, MLB or RM (RM takes a capitals mode and an accent: RM 2
// 1).
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
#include "modules/kannada/kannada_adapter.h"
#include "modules/malayalam/malayalam_adapter.h"
#include "modules/telugu/telugu_adapter.h"
#include "modules/tamil/tamil_adapter.h"

namespace {

struct FontName {
    const char* name;
    const IndicScript& (*script)(int font);
    int font;
};

const FontName kFonts[] = {
    {"DV", DevanagariScript, kFontDV}, {"DVB", DevanagariScript, kFontDVB},
    {"VD", DevanagariScript, kFontVD}, {"SD", DevanagariScript, kFontSD},
    {"TM", TamilScript, kFontTM},      {"TMB", TamilScript, kFontTMB},
    {"BN", BengaliScript, kFontBN},    {"BNB", BengaliScript, kFontBNB},
    {"AS", BengaliScript, kFontBN},    {"ASB", BengaliScript, kFontBNB},
    {"GJ", GujaratiScript, kFontGJ},   {"GJB", GujaratiScript, kFontGJB},
    {"PN", GurmukhiScript, kFontPN},   {"PNB", GurmukhiScript, kFontPNB},
    {"OR", OriyaScript, kFontOR},      {"ORB", OriyaScript, kFontORB},
    {"ML", MalayalamScript, kFontML},  {"MLB", MalayalamScript, kFontMLB},
    {"TL", TeluguScript, kFontTL},     {"TLB", TeluguScript, kFontTLB},
    {"KN", KannadaScript, kFontKN},    {"KNB", KannadaScript, kFontKNB},
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: glyph_dump VARIANT [-p] | RM capitals accent\n");
        return 2;
    }
    bool pairs = argc > 2 && strcmp(argv[2], "-p") == 0;
    bool roman = strcmp(argv[1], "RM") == 0;
    if (roman) {
        unsigned char scratch[NK_ADAPTER_OUT_MAX];
        int32_t consumed = 0, capitals = argc > 2 ? atoi(argv[2]) : 0;
        int32_t accent = argc > 3 ? atoi(argv[3]) : 0;
        RomanEntry((const unsigned char*)"", scratch, &consumed, &capitals, 5);
        RomanEntry((const unsigned char*)"", scratch, &consumed, &accent, 6);
        pairs = false;
    }
    const IndicScript* script = &DevanagariScript(kFontDV);
    for (const FontName& f : kFonts)
        if (strcmp(argv[1], f.name) == 0) script = &f.script(f.font);
    char line[1024];
    while (fgets(line, sizeof line, stdin)) {
        line[strcspn(line, "\n")] = 0;
        const unsigned char* text = (const unsigned char*)line;
        unsigned char out[NK_ADAPTER_OUT_MAX];
        int32_t consumed = 0, length = 0;
        if (roman)
            RomanEntry(text, out, &consumed, &length, 4);
        else
            IndicAdapterEntry(*script, text, out, &consumed, &length, 4);
        while (*text) {
            consumed = length = 0;
            if (roman)
                RomanEntry(text, out, &consumed, &length, 0);
            else
                IndicAdapterEntry(*script, text, out, &consumed, &length, 0);
            for (int i = 0; out[i] && out[i + 1]; i += 2) {
                if (pairs) fputc(out[i + 1], stdout);
                fputc(out[i], stdout);
            }
            if (consumed < 1) break;
            text += consumed;
        }
        fputc('\n', stdout);
    }
    return 0;
}
