// The portable tables and the bounded text helpers.
#include <gtest/gtest.h>

#include <string.h>

#include "support/bounded_text.h"
#include "driver/fonts/builtin_fonts.h"
#include "driver/scripts/script_table.h"

namespace {

TEST(ScriptTable, EveryCodeHasItsPrefixNamesAndModules) {
    struct Row {
        int code;
        const char* prefix;
        const char* title;
        const char* converter;
        const char* single;
        const char* bilingual;
    } rows[] = {
        {'A', "RM", "Roman", "rm", "rmtrop32.dll", "rmbfa32.dll"},
        {'B', "DV", "Devanagari", "dev", "dvtrop32.dll", "dvbfa32.dll"},
        {'F', "AS", "Assamese", "assamese", "astrop32.dll", "asbfa32.dll"},
        {'J', "GJ", "Gujarati", "gj", "gjtrop32.dll", "gjbfa32.dll"},
        {'K', "PN", "Punjabi", "punjabi", "pntrop32.dll", "pnbfa32.dll"},
        {'L', "  ", "", "", nullptr, nullptr},
        {'M', "  ", "Tibetan", "tibetan", nullptr, nullptr},
        {'N', "  ", "Dzongkha", "tibetan", nullptr, nullptr},
        {'Q', "  ", "SL-Tamil", "sltamil", nullptr, nullptr},
        {'R', "SD", "Sanskirt-DEV", "devsanskrit", nullptr, nullptr},
        {'S', "", "", "", nullptr, nullptr},
        {'@', "", "", "", nullptr, nullptr},
        {'T', "", "", "", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        char prefix[3];
        ScriptPrefix(row.code, prefix);
        EXPECT_STREQ(prefix, row.prefix) << (char)row.code;
        EXPECT_STREQ(ScriptTitleName(row.code), row.title) << (char)row.code;
        EXPECT_STREQ(ScriptConverterName(row.code), row.converter) << (char)row.code;
        EXPECT_STREQ(ScriptSingleModule(row.code) ? ScriptSingleModule(row.code) : "(none)",
                     row.single ? row.single : "(none)")
            << (char)row.code;
        EXPECT_STREQ(ScriptBilingualModule(row.code) ? ScriptBilingualModule(row.code) : "(none)",
                     row.bilingual ? row.bilingual : "(none)")
            << (char)row.code;
    }
}

TEST(ScriptTable, PrefixListPlacesSanskritAfterTheBlankCodes) {
    EXPECT_EQ(strlen(kScriptPrefixList), (size_t)('S' - 'A') * 3);
    EXPECT_EQ(strncmp(kScriptPrefixList + ('R' - 'A') * 3, "SD-", 3), 0);
}

TEST(BuiltinFonts, EntriesCarryPrefixAndPointSize) {
    struct Row {
        int code;
        const char* entry;
        const char* face;
    } rows[] = {
        {'A', "RM-Velta,11", "RM-Velta"}, {'B', "DV-Velta,11", "DV-Velta"},
        {'D', "TM-Velta,9", "TM-Velta"},  {'I', "ML-Velta,10", "ML-Velta"},
        {'L', "Modern,10", "Modern"},     {'O', "Modern,10", "Modern"},
        {'M', "TB-Velta,14", "TB-Velta"}, {'Q', "TM-Velta,9", "TM-Velta"},
        {'R', "SD-Velta,12", "SD-Velta"}, {0, "Modern,10", "Modern"},
        {200, "Modern,10", "Modern"},
    };
    for (const Row& row : rows) {
        EXPECT_STREQ(BuiltinFontEntry(row.code), row.entry) << row.code;
        char face[32];
        BuiltinFontFace(row.code, face, sizeof face);
        EXPECT_STREQ(face, row.face) << row.code;
        EXPECT_LE(strlen(row.entry), 24u);
    }
}

TEST(BoundedText, CopiesAndAppendsNeverPassTheCapacity) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(CopyText(buffer, sizeof buffer, "ABCDEFGHIJ"), 7u);
    EXPECT_STREQ(buffer, "ABCDEFG");
    EXPECT_EQ(CopyText(buffer, sizeof buffer, "AB"), 2u);
    EXPECT_EQ(AppendText(buffer, sizeof buffer, "CDEFGHIJ"), 7u);
    EXPECT_STREQ(buffer, "ABCDEFG");
    memset(buffer, 'x', sizeof buffer); // no terminator at all
    EXPECT_EQ(AppendText(buffer, sizeof buffer, "Y"), 7u);
    EXPECT_EQ(buffer[7], 0);
    EXPECT_EQ(BoundedLength(buffer, sizeof buffer), 7u);
    char overlap[16] = "ABCDEF";
    CopyText(overlap, sizeof overlap, overlap + 2); // the hook copies a field onto itself
    EXPECT_STREQ(overlap, "CDEF");
}

TEST(BoundedText, SearchesAreCaseSensitive) {
    EXPECT_TRUE(ContainsText("Document1 - Microsoft Word", "Microsoft Word"));
    EXPECT_FALSE(ContainsText("microsoft word", "Microsoft Word"));
    EXPECT_TRUE(BeginsWithText("Write - doc", "Write"));
    EXPECT_FALSE(BeginsWithText("Notes - Write", "Write"));
    char text[] = "c:\\velta\\inskbd.bin";
    UpperCaseText(text);
    EXPECT_STREQ(text, "C:\\VELTA\\INSKBD.BIN");
}

} // namespace
