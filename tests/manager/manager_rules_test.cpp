// The manager's portable decisions: script codes, keyboard files, settings
// values, typewriter layout names and the overlay font tables.
#include <gtest/gtest.h>

#include <string.h>

#include "manager/app/manager_rules.h"
#include "manager/overlay/overlay_fonts.h"
#include "manager/resources/resource_ids.h"

namespace {

TEST(ManagerRules, ScriptCodesNameWholeSlotsOnly) {
    const struct {
        const char* code;
        int script;
    } rows[] = {{"RM", 'A'},   {"DV", 'B'}, {"BN", 'C'}, {"TM", 'D'}, {"TL", 'E'}, {"AS", 'F'},
                {"OR", 'G'},   {"KN", 'H'}, {"ML", 'I'}, {"GJ", 'J'}, {"PN", 'K'}, {"SD", 'R'},
                {"", 0},       {"  ", 0},   {"N-", 0},   {"M-", 0},   {"bn", 0},   {"BNX", 0},
                {"<none>", 0}, {"VD", 0},   {"D", 0}};
    for (const auto& row : rows)
        EXPECT_EQ(ScriptOfCode(row.code), row.script) << row.code;
}

TEST(ManagerRules, CodeOfEveryScriptRoundTrips) {
    for (int script = 'A'; script <= 'R'; ++script) {
        char code[3];
        CodeOfScript(script, code);
        const bool blank = script >= 'L' && script <= 'Q';
        EXPECT_EQ(code[0] == 0, blank) << (char)script;
        if (!blank) {
            EXPECT_EQ(ScriptOfCode(code), script) << (char)script;
        }
    }
    char code[3] = "xx";
    CodeOfScript(0, code);
    EXPECT_STREQ(code, "");
    CodeOfScript('S', code);
    EXPECT_STREQ(code, "");
}

TEST(ManagerRules, KeyboardFilesAreClassifiedBySubstring) {
    const struct {
        const char* name;
        int kind;
    } rows[] = {{"C:\\TAV\\INSKBD.BIN", 160},      {"INSKBD.BIN", 160},
                {"C:\\TAV\\PEKBD.BIN", 161},       {"C:\\TAV\\DVAKBD32.TYP", 162},
                {"C:\\TAV\\DVXKBD.TYP", 162},      {"C:\\TAV\\MY.BIN", 163},
                {"C:\\TAV\\UKKBD.BIN", 163},       {"", 163},
                {"C:\\PEKBD.BIN\\INSKBD.BIN", 160}};
    for (const auto& row : rows)
        EXPECT_EQ(KeyboardOfFile(row.name), row.kind) << row.name;
}

TEST(ManagerRules, SettingsValuesAreBroughtIntoRange) {
    const int categories[][2] = {{-3, 0}, {0, 0}, {7, 7}, {13, 13}, {14, 13}, {20, 13}};
    for (const auto& row : categories)
        EXPECT_EQ(ClampCategory(row[0]), row[1]) << row[0];
    const int capitals[][3] = {{0, 180, 0}, {1, 181, 1}, {2, 182, 2}, {7, 180, 0}, {-1, 180, 0}};
    for (const auto& row : capitals) {
        EXPECT_EQ(RomanCapitalsItem(row[0]), row[1]) << row[0];
        EXPECT_EQ(RomanCapitalsValue(RomanCapitalsItem(row[0])), row[2]) << row[0];
    }
}

} // namespace

namespace {

TEST(ManagerRules, OptionItemsBelongToTheirScripts) {
    for (int script = 'A'; script <= 'R'; ++script) {
        EXPECT_EQ(HasHyphenation(script), script == 'D' || script == 'E' || script == 'I')
            << (char)script;
        EXPECT_EQ(HasMultipleSets(script), script == 'B' || script == 'M' || script == 'N')
            << (char)script;
    }
}

TEST(ManagerRules, TypewriterLayoutNameReplacesTheExtension) {
    const struct {
        const char* module;
        const char* layout;
    } rows[] = {{"C:\\TAV\\DVAKBD32.DLL", "C:\\TAV\\DVAKBD32.typ"},
                {"C:\\T.A.V\\DVAKBD32", "C:\\T.A.V\\DVAKBD32.typ"},
                {"C:\\TAV\\X.Y.DLL", "C:\\TAV\\X.Y.typ"}};
    for (const auto& row : rows) {
        char layout[260];
        TypewriterLayoutName(row.module, layout, sizeof layout);
        EXPECT_STREQ(layout, row.layout) << row.module;
    }
    char small[8];
    TypewriterLayoutName("C:\\TAV\\DVAKBD32.DLL", small, sizeof small);
    EXPECT_EQ(strlen(small), 7u) << "cut, never overrun";
}

TEST(ManagerRules, RuleEngineFailuresHaveTheirMessages) {
    const struct {
        int result;
        const char* text;
    } rows[] = {{2, "ASC2ISC.DLL failed - Out of Memory"},
                {5, "ASC2ISC.DLL failed - Rule file not found"},
                {6, "ASC2ISC.DLL failed - Wrong Rule file"},
                {1, "ASC2ISC.DLL failed - Internal Error"},
                {0, "ASC2ISC.DLL failed - Internal Error"},
                {-1, "ASC2ISC.DLL failed - Internal Error"}};
    for (const auto& row : rows)
        EXPECT_STREQ(RuleFailureText(row.result), row.text) << row.result;
}

TEST(ManagerRules, BoundedCopiesTerminate) {
    char buffer[6];
    EXPECT_EQ(CopyText(buffer, sizeof buffer, "ABCDEFGH"), 5u);
    EXPECT_STREQ(buffer, "ABCDE");
    CopyText(buffer, sizeof buffer, "AB");
    EXPECT_EQ(AppendText(buffer, sizeof buffer, "CDEFG"), 5u);
    EXPECT_STREQ(buffer, "ABCDE");
    EXPECT_TRUE(EqualsIgnoringCase("c:\\Tav\\dvakbd32.TYP", "C:\\TAV\\DVAKBD32.typ"));
    EXPECT_FALSE(EqualsIgnoringCase("C:\\TAV\\A.TYP", "C:\\TAV\\A.TY"));
}

// The overlay's faces: prefix and pattern per table, point sizes per script.
TEST(OverlayFonts, FacesAndPointSizesPerScript) {
    const struct {
        int code;
        const char* script;
        const char* english;
        const char* bilingual;
    } rows[] = {
        {'A', "RM-Velta,11", "RM-Velta,11", "RM-Velta,11"},
        {'B', "DV-Velta,11", "DV1-Velta,11", "DVB-TTVelta,12"},
        {'C', "BN-Velta,13", "BN1-Velta,13", "BNB-TTVelta,13"},
        {'D', "TM-Velta,9", "TM1-Velta,10", "TMB-TTVelta,9"},
        {'E', "TL-Velta,13", "TL1-Velta,13", "TLB-TTVelta,13"},
        {'F', "AS-Velta,13", "AS1-Velta,13", "ASB-TTVelta,13"},
        {'G', "OR-Velta,12", "OR1-Velta,12", "ORB-TTVelta,12"},
        {'H', "KN-Velta,11", "KN1-Velta,11", "KNB-TTVelta,11"},
        {'I', "ML-Velta,10", "ML1-Velta,10", "MLB-TTVelta,10"},
        {'J', "GJ-Velta,11", "GJ1-Velta,11", "GJB-TTVelta,11"},
        {'K', "PN-Velta,13", "PN1-Velta,13", "PNB-TTVelta,13"},
        {'L', "Modern,10", "Modern,10", "Modern,10"},
        {'M', "TB-Velta,14", "TB1-Velta,14", "TBB-TTVelta,14"},
        {'N', "DR-Velta,14", "DR1-Velta,14", "DRB-TTVelta,14"},
        {'O', "Modern,10", "Modern,10", "Modern,10"},
        {'P', "SH-Velta,13", "SH1-Velta,13", "SHB-TTVelta,13"},
        {'Q', "TM-Velta,9", "TM1-Velta,9", "TMB-TTVelta,9"},
        {'R', "SD-Velta,12", "DV1-Velta,11", "SD-Velta,12"},
        {'S', "Modern,10", "Modern,10", "Modern,10"},
        {'@', "Modern,10", "Modern,10", "Modern,10"},
    };
    for (const auto& row : rows) {
        const int i = row.code - 64;
        if (row.code != 'A') {
            EXPECT_STREQ(scriptModeFonts[i], row.script) << (char)row.code;
            EXPECT_STREQ(englishModeFonts[i], row.english) << (char)row.code;
        }
        EXPECT_STREQ(bilingualFonts[i], row.bilingual) << (char)row.code;
    }
    // Start-up draws Roman in the Devanagari English-mode face.
    EXPECT_STREQ(scriptModeFonts[1], "RM-Velta,11");
    UseEnglishFaceForRoman();
    EXPECT_STREQ(scriptModeFonts[1], "DV1-Velta,11");
    EXPECT_STREQ(englishModeFonts[1], "DV1-Velta,11");
    EXPECT_STREQ(bilingualFonts[1], "RM-Velta,11");
}

} // namespace
