// The transliterator's exports: thin wrappers over the portable rule engine
// (driver/rules/rule_frame.h). The frame and the working buffers are per
// process; the rule files lie in the program directory.
#include "driver/engine/shared_state.h"
#include "driver/rules/rule_frame.h"

/* ---------------- ascii2iscii_init ---------------- */
// direction 1 loads "EN2IN.RUL" (Roman to ISCII), 0 "IN2EN.RUL". Returns 3
// when loaded, 1 for another direction (the loaded rules stay), 2 out of
// memory, 5 file not found, 6 wrong rule file.
extern "C" int ascii2iscii_init(int direction) {
    char directory[NK_MODULE_DIR_SIZE];
    CopyText(directory, sizeof directory, shared.moduleDirectory);
    return RulesInit(directory, direction);
}

/* ---------------- ascii2iscii_convert_str ---------------- */
// Converts the words of `source` into `destination`, which has room for
// `limit` characters and the terminator. Mode 0 cuts `source` at its first
// non-word character. Returns 1, or 0 when the output would pass `limit`.
extern "C" int ascii2iscii_convert_str(char* source, char* destination, int limit, int mode) {
    return RulesConvertText(source, destination, limit, mode);
}
