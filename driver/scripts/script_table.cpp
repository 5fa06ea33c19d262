#include "driver/scripts/script_table.h"

#include <string.h>

#include "support/bounded_text.h"

const char kScriptPrefixList[] = "RM-DV-BN-TM-TL-AS-OR-KN-ML-GJ-PN-                  SD-";
const char kMultipleSetScripts[] = "BMN";

namespace {
struct ScriptRow {
    const char* titleName;
    const char* converterName;
    const char* singleModule;
    const char* bilingualModule;
};

// Indexed by code minus 'A'.
const ScriptRow kScripts[] = {
    {"Roman", "rm", "rmtrop32.dll", "rmbfa32.dll"},
    {"Devanagari", "dev", "dvtrop32.dll", "dvbfa32.dll"},
    {"Bengali", "bengali", "bntrop32.dll", "bnbfa32.dll"},
    {"Tamil", "tamil", "tmtrop32.dll", "tmbfa32.dll"},
    {"Telugu", "telugu", "tltrop32.dll", "tlbfa32.dll"},
    {"Assamese", "assamese", "astrop32.dll", "asbfa32.dll"},
    {"Oriya", "oriya", "ortrop32.dll", "orbfa32.dll"},
    {"Kannada", "kannada", "kntrop32.dll", "knbfa32.dll"},
    {"Malayalam", "malayalam", "mltrop32.dll", "mlbfa32.dll"},
    {"Gujarati", "gj", "gjtrop32.dll", "gjbfa32.dll"},
    {"Punjabi", "punjabi", "pntrop32.dll", "pnbfa32.dll"},
    {"", "", nullptr, nullptr},
    {"Tibetan", "tibetan", nullptr, nullptr},
    {"Dzongkha", "tibetan", nullptr, nullptr},
    {"Thai", "thai", nullptr, nullptr},
    {"Sinhala", "sinhala", nullptr, nullptr},
    {"SL-Tamil", "sltamil", nullptr, nullptr},
    {"Sanskirt-DEV", "devsanskrit", nullptr, nullptr},
    {"", "", nullptr, nullptr},
};
static_assert(sizeof(kScripts) / sizeof(kScripts[0]) == 'S' - 'A' + 1);

const ScriptRow* Row(int code) {
    return IsScriptCode(code) ? &kScripts[code - 'A'] : nullptr;
}
} // namespace

bool IsScriptCode(int code) {
    return code >= 'A' && code <= 'S';
}

void ScriptPrefix(int code, char prefix[3]) {
    prefix[0] = prefix[2] = 0;
    if (!IsScriptCode(code) || code == 'S') return;
    prefix[0] = kScriptPrefixList[(code - 'A') * 3];
    prefix[1] = kScriptPrefixList[(code - 'A') * 3 + 1];
}

const char* ScriptTitleName(int code) {
    return Row(code) ? Row(code)->titleName : "";
}
const char* ScriptConverterName(int code) {
    return Row(code) ? Row(code)->converterName : "";
}
const char* ScriptSingleModule(int code) {
    return Row(code) ? Row(code)->singleModule : nullptr;
}
const char* ScriptBilingualModule(int code) {
    return Row(code) ? Row(code)->bilingualModule : nullptr;
}

int ScriptModuleFileName(int code, bool bilingual, bool variant, char* name, int size) {
    if (!name || size <= 0) return 0;
    char prefix[3];
    ScriptPrefix(code, prefix);
    if (code == 'B' && variant) CopyText(prefix, sizeof prefix, "VD");
    CopyText(name, (size_t)size, prefix);
    return (int)AppendText(name, (size_t)size, bilingual ? "BFA32.DLL" : "TROP32.DLL");
}

int ScriptOfFace(const char* face) {
    if (!face || !face[0] || !face[1] || face[2] != '-') return 0;
    // Three characters per code, blanks for the scripts without a prefix.
    const size_t listLength = strlen(kScriptPrefixList);
    for (size_t at = 0; at + 3 <= listLength; at += 3) {
        if (kScriptPrefixList[at] == face[0] && kScriptPrefixList[at + 1] == face[1] &&
            kScriptPrefixList[at + 2] == '-')
            return 'A' + (int)(at / 3);
    }
    return 0;
}
