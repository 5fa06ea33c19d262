#include "driver/engine/shared_state.h"

#include <string.h>

#include "driver/engine/unicode_output.h"

// The single copy of the shared record. The "shared" attribute makes the
// loader map this section once for all processes; it must hold initialised
// data, which the non-zero initial values below guarantee.
__attribute__((section("SHARED_S"), shared)) SharedState shared = {
    .hookEnabled = 1,
    .managerThreadId = 0,
    .getMessageHook = nullptr,
    .sysMsgFilterHook = nullptr,
    .managerWindow = nullptr,
    .activeScript = SCRIPT_DEVANAGARI,
    .adapterFileName = "",
    .adapterEntry = nullptr,
    .keyboardKind = KBD_INSCRIPT,
    .layoutPath = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890",
    .layoutLoaded = 1,
    .layoutTable = nullptr,
    .converterFileName = "",
    .converterModule = nullptr,
    .converterEntry = nullptr,
    .rulesReloadPending = 0,
    .typingMode = MODE_ENGLISH,
    .switchKey = 0,
    .dualFont = 0,
    .hyphenation = 1,
    .multipleSets = 0,
    .romanCapitals = 0,
    .romanAccent = 0,
    .amiProEscape = 1,
    .defaultAppCategory = 0,
    .activeWindow = nullptr,
    .activeTitle = "",
    .lastActiveWindow = nullptr,
    .lastFocusWindow = nullptr,
    .className = "",
    .wordTitleFlag = 0,
    .wordFocusRequest = 0,
    .categoryFlags = {},
    .controlFont = nullptr,
    .fontDialogDone = 1,
    .savedLockWhileDisabled = 2,
    .inMenuLoop = 0,
    .savedLockInMenu = 0,
    .savedLockForControl = 0,
    .controlLockSaved = 0,
    .wordIscii = "",
    .convertedText = "",
    .syllableOutput = "",
    .newPairs = "",
    .shownPairs = "",
    .newGlyphs = "",
    .shownGlyphs = "",
    .syllableCount = 0,
    .currentSet = '0',
    .setIndex = 0,
    .shiftReleasedForSet = 0,
    .keyHeld = 0,
    .specialCodePending = 0,
    .keyState = {},
    .managerTitle = "",
    .moduleDirectory = "",
    .iniDirectory = "",
    .nameScratch = " ",
    .lastIndicScript = SCRIPT_DEVANAGARI,
    .sharedPrefixList = "RM-DV-BN-TM-TL-AS-OR-KN-ML-GJ-PN-                  SD-",
    .scriptDisplayNames = {"Roman", "Devanagari", "Bengali", "Tamil", "Telugu", "Assamese", "Oriya",
                           "Kannada", "Malayalam", "Gujarati", "Punjabi", "", "Tibetan", "Dzongkha",
                           "Thai", "Sinhala", "SL-Tamil", "Sanskrit-DEV", ""},
    .scriptFontNames = {},
    .englishFontNames = {},
    .bilingualFontNames = {},
};

ProcessState proc;

// Virtual-key code to ISCII extended code (Clear key combinations).
namespace {
struct ExtCodeRow {
    unsigned char key, code;
};
constexpr ExtCodeRow kExtCodes[] = {
    {'1', 0xB2}, {'3', 0xB3}, {'8', 0xAF}, {'9', 0xB0}, {189, 0xA2}, {219, 0xA8},
    {186, 0xB1}, {188, 0xBF}, {'Q', 0xBE}, {'W', 0xBA}, {'E', 0xB7}, {'R', 0xB6},
    {'Y', 0xAB}, {'U', 0xAC}, {'I', 0xA1}, {'O', 0xA9}, {'P', 0xAA}, {'V', 0xB4},
    {'B', 0xAD}, {'N', 0xAE}, {'A', 0xBC}, {'S', 0xB9}, {'D', 0xB8}, {'F', 0xB5},
    {'G', 0xBB}, {'H', 0xA3}, {'J', 0xA5}, {'K', 0xA6}, {'L', 0xA7}, {'M', 0xA4},
};
constexpr std::array<unsigned char, 256> MakeExtCodeTable() {
    std::array<unsigned char, 256> table{};
    for (const ExtCodeRow& row : kExtCodes)
        table[row.key] = row.code;
    return table;
}
} // namespace

constexpr std::array<unsigned char, 256> extCodeTable = MakeExtCodeTable();

void ResetWord(void) {
    shared.wordIscii[0] = 0;
    shared.shownGlyphs[0] = 0;
    shared.shownPairs[0] = 0;
    ResetUnicodeWord(); // the Unicode text typed for the word
}

/* ---------------- NelkorSharedState (diagnostics) ---------------- */
extern "C" void* NelkorSharedState(void) {
    return &shared;
}
