// libFuzzer target of the rule engine. The input is a rule file's plain text,
// optionally followed by a zero byte, a limit byte and a text to convert. The
// rule text is scrambled with the key and read back through the loader's own
// stream path; the text is converted in every mode into a destination of
// exactly limit + 1 bytes, so that any write past the limit is caught.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "driver/rules/rule_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* end = (const uint8_t*)memchr(data, 0, size);
    size_t ruleSize = end ? (size_t)(end - data) : size;
    if (ruleSize == 0) return 0;

    unsigned char* scrambled = (unsigned char*)malloc(ruleSize);
    memcpy(scrambled, data, ruleSize);
    ScrambleRuleBytes(scrambled, ruleSize, 0);
    FILE* file = fmemopen(scrambled, ruleSize, "rb");
    if (file) {
        ResetRuleFrame();
        int code = LoadRuleStream(file);
        fclose(file);
        if (code != RULE_LOADED && (ruleFrame.groups || ruleFrame.storage)) abort();
    }
    free(scrambled);

    int limit = 40;
    const uint8_t* text = nullptr;
    size_t textSize = 0;
    if (end && (size_t)(end - data) + 2 <= size) {
        limit = end[1];
        text = end + 2;
        textSize = size - (size_t)(end - data) - 2;
    }
    const char fallback[] = "kamala bhaarata? ab-cd";
    if (!text) {
        text = (const uint8_t*)fallback;
        textSize = sizeof fallback - 1;
    }
    for (int mode = 0; mode <= 3; mode++) {
        char* source = (char*)malloc(textSize + 1);
        memcpy(source, text, textSize);
        source[textSize] = 0;
        char* destination = (char*)malloc((size_t)limit + 1);
        RulesConvertText(source, destination, limit, mode);
        if (strlen(destination) > (size_t)limit) abort();
        free(destination);
        free(source);
    }
    return 0;
}
