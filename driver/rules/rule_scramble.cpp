// The byte scramble of rule files: each byte is XORed with the key byte of its
// file offset modulo 80. It keeps a casual editor from changing the rules; it
// is no protection.
#include "driver/rules/rule_frame.h"

static_assert(
    sizeof("Velta/rules: EN2IN and IN2EN are scrambled with these 80 bytes, rebuild if moved") ==
        NK_RULE_KEY_SIZE + 1,
    "the rule file key has 80 characters");

// Rule files are produced with this key (tools/rulec); changing it needs new files.
const char ruleFileKey[NK_RULE_KEY_SIZE + 1] =
    "Velta/rules: EN2IN and IN2EN are scrambled with these 80 bytes, rebuild if moved";

void ScrambleRuleBytes(unsigned char* bytes, size_t count, size_t offset) {
    for (size_t i = 0; i < count; i++) {
        bytes[i] ^= (unsigned char)ruleFileKey[(offset + i) % NK_RULE_KEY_SIZE];
    }
}
