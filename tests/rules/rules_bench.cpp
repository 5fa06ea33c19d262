// Time of one ascii2iscii_convert_str call (mode 2, limit 255) with the
// shipped EN2IN.RUL, for words of 5, 10 and 30 letters.
//   rules_bench [folder of EN2IN.RUL]
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "driver/rules/rule_frame.h"

static double Seconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

int main(int argc, char** argv) {
    const char* folder = argc > 1 ? argv[1] : NK_RULE_DATA_DIR;
    if (RulesInit(folder, 1) != RULES_READY) {
        fprintf(stderr, "rules_bench: no EN2IN.RUL in %s\n", folder);
        return 1;
    }
    const char* words[] = {"namaste", "bhaarata", "vidyaarthii",
                           "mahaaraaShTrasaMskRRitivishvavidyaalaya"};
    struct Case {
        int letters;
        char text[64];
    } cases[] = {{5, ""}, {10, ""}, {30, ""}};
    // Words of exactly 5, 10 and 30 letters, cut from real words.
    memcpy(cases[0].text, words[0], 5);
    memcpy(cases[1].text, words[2], 10);
    memcpy(cases[2].text, words[3], 30);
    char source[64];
    char out[256];
    for (const Case& c : cases) {
        const int calls = 200000;
        double start = Seconds();
        for (int i = 0; i < calls; i++) {
            memcpy(source, c.text, sizeof source);
            RulesConvertText(source, out, 255, 2);
        }
        double ns = (Seconds() - start) * 1e9 / calls;
        printf("%2d letters (%s): %.0f ns per call, output %zu bytes\n", c.letters, c.text, ns,
               strlen(out));
    }
    return 0;
}
