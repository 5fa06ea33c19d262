// Fuzzes what a hooked process reads from the shared section: any bytes as
// the record are checked as the hook checks them, then every name in it is
// resolved against a program folder as the hook does before opening a file.
// Checked: every text ends within its field, every code lies in its range,
// and a name is only ever resolved to a canonical file below the folder.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "driver/engine/shared_check.h"

namespace {

const char kFolder[] = "C:\\Program Files\\Velta\\";

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

bool HasDotDotComponent(const char* path) {
    for (const char* p = strstr(path, ".."); p; p = strstr(p + 1, ".."))
        if ((p == path || p[-1] == '\\') && (p[2] == 0 || p[2] == '\\')) return true;
    return false;
}

void CheckResolved(const char* name, size_t fieldSize) {
    char full[NK_TRUSTED_PATH_SIZE];
    memset(full, 0x5A, sizeof full);
    if (!ResolveProgramFile(kFolder, name, fieldSize, full, sizeof full)) {
        Require(full[0] == 0);
        return;
    }
    Require(memchr(full, 0, sizeof full) != nullptr);
    Require(IsPathBelow(kFolder, full));
    Require(!HasDotDotComponent(full));
    Require(strchr(full, '/') == nullptr && strchr(full + 2, ':') == nullptr);
    char again[NK_TRUSTED_PATH_SIZE];
    Require(CanonicalPath(full, false, again, sizeof again) && strcmp(again, full) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SharedState state;
    memset(&state, 0, sizeof state);
    memcpy(&state, data, size < sizeof state ? size : sizeof state);
    CheckSharedState(&state);

    Require(state.activeScript == 0 || (state.activeScript >= 'A' && state.activeScript <= 'S'));
    Require(state.keyboardKind >= KBD_INSCRIPT && state.keyboardKind <= KBD_UK_INSCRIPT);
    Require(state.typingMode >= MODE_SCRIPT && state.typingMode <= MODE_DISABLED_ENGLISH);
    Require(state.switchKey >= 0 && state.switchKey <= 255);
    Require(state.setIndex >= 0 && state.setIndex <= NK_NEW_PAIRS_SIZE);
    Require(strlen(state.wordIscii) <= NK_WORD_MAX_CODES);
    Require(strlen(state.bilingualFontNames[NK_FONT_SLOTS - 1]) < NK_FONT_NAME_SIZE);

    CheckResolved(state.adapterFileName, sizeof state.adapterFileName);
    CheckResolved(state.converterFileName, sizeof state.converterFileName);
    CheckResolved(state.layoutPath, sizeof state.layoutPath);
    CheckResolved(state.moduleDirectory, sizeof state.moduleDirectory);
    // The rest of the input as a name: short inputs reach the path rules
    // much faster than through the record's fields.
    if (size > 0 && size < NK_TRUSTED_PATH_SIZE) {
        char name[NK_TRUSTED_PATH_SIZE];
        memcpy(name, data, size);
        name[size] = 0;
        CheckResolved(name, sizeof name);
    }
    return 0;
}
