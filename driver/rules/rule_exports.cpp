// The transliterator's exports: thin wrappers over the portable rule engine
// (driver/rules/rule_frame.h). The frame and the working buffers are per
// process; the rule files lie in the program directory.
#include <string.h>

#include "driver/engine/engine.h"
#include "driver/rules/rule_frame.h"

// Per process: the rule file the frame was last loaded from, as it was then.
static char loadedRulePath[NK_TRUSTED_PATH_SIZE];
static char loadedRuleDiskPath[NK_TRUSTED_PATH_SIZE]; // spelt as on disk
static FileStamp loadedRuleStamp;
static int loadedRuleDirection = -1;

RuleFileState CheckRuleFile(int direction) {
    const char* name = RuleFileName(direction);
    char full[NK_TRUSTED_PATH_SIZE];
    RuleFileState state = {false, false};
    state.trusted = name && ResolveModuleDirectoryFile(name, full, sizeof full);
    state.current = state.trusted && direction == loadedRuleDirection &&
                    lstrcmpiA(full, loadedRulePath) == 0 &&
                    SameStamp(StampFile(loadedRuleDiskPath), loadedRuleStamp);
    return state;
}

/* ---------------- ascii2iscii_init ---------------- */
// direction 1 loads "EN2IN.RUL" (Roman to ISCII), 0 "IN2EN.RUL". Returns 3
// when loaded, 1 for another direction (the loaded rules stay), 2 out of
// memory, 5 file not found (also for a file outside the program folder), 6
// wrong rule file.
extern "C" int ascii2iscii_init(int direction) {
    const char* name = RuleFileName(direction);
    if (!name) return RulesInit("", direction); // refused by the engine, nothing opened
    char full[NK_TRUSTED_PATH_SIZE];
    loadedRuleDirection = -1;
    if (!ResolveModuleDirectoryFile(name, full, sizeof full)) return RulesRefused(direction);
    // The stamp before the read: a change during it shows at the next key.
    DiskCasePath(full, loadedRuleDiskPath, sizeof loadedRuleDiskPath);
    const FileStamp stamp = StampFile(loadedRuleDiskPath);
    char folder[NK_TRUSTED_PATH_SIZE];
    CopyText(folder, sizeof folder, full);
    folder[strlen(folder) - strlen(name)] = 0; // the engine appends the name again
    const int result = RulesInit(folder, direction);
    CopyText(loadedRulePath, sizeof loadedRulePath, full);
    loadedRuleStamp = stamp;
    loadedRuleDirection = direction;
    return result;
}

/* ---------------- ascii2iscii_convert_str ---------------- */
// Converts the words of `source` into `destination`, which has room for
// `limit` characters and the terminator. Mode 0 cuts `source` at its first
// non-word character. Returns 1, or 0 when the output would pass `limit`.
extern "C" int ascii2iscii_convert_str(char* source, char* destination, int limit, int mode) {
    return RulesConvertText(source, destination, limit, mode);
}
