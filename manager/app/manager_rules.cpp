// The manager's decisions that need no Windows API.
#include "manager/app/manager_rules.h"

#include <string.h>

#include "manager/resources/resource_ids.h"

const char kScriptCodeList[] = "RM-DV-BN-TM-TL-AS-OR-KN-ML-GJ-PN-                  SD-";

namespace {
const int kSlotWidth = 3;
const int kSlotCount = (int)(sizeof kScriptCodeList - 1) / kSlotWidth; // 18

char UpperCase(char c) {
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}
} // namespace

int ScriptOfCode(const char* code) {
    if (!code || strlen(code) != 2 || code[0] == ' ' || code[1] == ' ') return 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const char* p = kScriptCodeList + slot * kSlotWidth;
        if (p[0] == code[0] && p[1] == code[1]) return IDM_SCRIPT_FIRST + slot;
    }
    return 0;
}

void CodeOfScript(int script, char code[3]) {
    code[0] = 0;
    const int slot = script - IDM_SCRIPT_FIRST;
    if (slot < 0 || slot >= kSlotCount) return;
    const char* p = kScriptCodeList + slot * kSlotWidth;
    if (p[0] == ' ') return;
    code[0] = p[0];
    code[1] = p[1];
    code[2] = 0;
}

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (UpperCase(*a) != UpperCase(*b)) return false;
    return *a == *b;
}

bool IsTypewriterLayoutName(const char* upperName) {
    return ContainsText(upperName, "KBD.TYP") || ContainsText(upperName, "KBD32.TYP");
}

int KeyboardOfFile(const char* upperName) {
    if (ContainsText(upperName, "INSKBD.BIN")) return IDM_KBD_INSCRIPT;
    if (ContainsText(upperName, "PEKBD.BIN")) return IDM_KBD_PHONETIC;
    if (IsTypewriterLayoutName(upperName)) return IDM_KBD_TYPEWRITER;
    return IDM_KBD_OTHERS;
}

int ClampCategory(int value) {
    return value < 0 ? 0 : (value > 13 ? 13 : value);
}

int RomanCapitalsItem(int stored) {
    if (stored == 1) return IDM_CAPS_UPPER;
    if (stored == 2) return IDM_CAPS_INITIAL;
    return IDM_CAPS_LOWER;
}

int RomanCapitalsValue(int item) {
    if (item == IDM_CAPS_LOWER) return 0;
    if (item == IDM_CAPS_UPPER) return 1;
    return 2;
}

bool HasHyphenation(int script) {
    return script == IDM_SCRIPT_TAMIL || script == IDM_SCRIPT_TELUGU ||
           script == IDM_SCRIPT_MALAYALAM;
}

bool HasMultipleSets(int script) {
    return script == 'B' || script == 'M' || script == 'N';
}

void TypewriterLayoutName(const char* modulePath, char* layout, size_t layoutSize) {
    CopyText(layout, layoutSize, modulePath);
    char* dot = strrchr(layout, '.');
    char* slash = strrchr(layout, '\\');
    if (dot && (!slash || dot > slash)) {
        dot[1] = 0;
        AppendText(layout, layoutSize, "typ");
    } else {
        AppendText(layout, layoutSize, ".typ");
    }
}

const char* RuleFailureText(int result) {
    switch (result) {
    case 2: return "ASC2ISC.DLL failed - Out of Memory";
    case 6: return "ASC2ISC.DLL failed - Wrong Rule file";
    case 5: return "ASC2ISC.DLL failed - Rule file not found";
    default: return "ASC2ISC.DLL failed - Internal Error";
    }
}
