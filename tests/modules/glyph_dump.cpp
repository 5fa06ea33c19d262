// Converts ISCII words (one per line on standard input) the way the engine
// does: mode 4 on the word, then mode 0 syllable by syllable. Writes one line
// per word: the glyph codes, or with -p the pairs. Used by the rendering
// check; the first argument names the font: DV, DVB, VD or SD.
#include <stdio.h>
#include <string.h>

#include "include/nelkor.h"
#include "modules/devanagari/devanagari_adapter.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: glyph_dump DV|DVB|VD|SD [-p]\n");
        return 2;
    }
    bool pairs = argc > 2 && strcmp(argv[2], "-p") == 0;
    int font = strcmp(argv[1], "DVB") == 0  ? kFontDVB
               : strcmp(argv[1], "VD") == 0 ? kFontVD
               : strcmp(argv[1], "SD") == 0 ? kFontSD
                                            : kFontDV;
    char line[1024];
    while (fgets(line, sizeof line, stdin)) {
        line[strcspn(line, "\n")] = 0;
        const unsigned char* text = (const unsigned char*)line;
        unsigned char out[NK_ADAPTER_OUT_MAX];
        int32_t consumed = 0, length = 0;
        IndicAdapterEntry(DevanagariScript(font), text, out, &consumed, &length, 4);
        while (*text) {
            consumed = length = 0;
            IndicAdapterEntry(DevanagariScript(font), text, out, &consumed, &length, 0);
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
