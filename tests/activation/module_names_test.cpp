// The adapter module file names activation builds and publishes, and the
// script a font face belongs to.
#include <gtest/gtest.h>

#include <string>

#include "driver/scripts/script_table.h"

namespace {

TEST(ModuleNames, EveryCodeVariantAndFontOption) {
    struct Row {
        int code;
        bool bilingual, variant;
        const char* name;
    } rows[] = {
        {'A', false, false, "RMTROP32.DLL"}, {'B', false, false, "DVTROP32.DLL"},
        {'B', true, false, "DVBFA32.DLL"},   {'B', false, true, "VDTROP32.DLL"},
        {'B', true, true, "VDBFA32.DLL"},    {'C', false, true, "BNTROP32.DLL"},
        {'K', true, false, "PNBFA32.DLL"},   {'M', false, false, "  TROP32.DLL"},
        {'Q', true, false, "  BFA32.DLL"},   {'R', false, true, "SDTROP32.DLL"},
        {'S', false, false, "TROP32.DLL"},   {'Z', false, false, "TROP32.DLL"},
    };
    for (const Row& row : rows) {
        char name[24];
        int length = ScriptModuleFileName(row.code, row.bilingual, row.variant, name, sizeof name);
        EXPECT_STREQ(name, row.name) << "code " << (char)row.code;
        EXPECT_EQ(length, (int)std::string(row.name).size());
    }
    char small[6];
    ScriptModuleFileName('B', false, false, small, sizeof small);
    EXPECT_STREQ(small, "DVTRO"); // cut, never overrun
}

TEST(ModuleNames, FacesBelongToTheScriptOfTheirPrefix) {
    struct Row {
        const char* face;
        int code;
    } rows[] = {
        {"DV-Velta", 'B'}, {"RM-Velta", 'A'}, {"PN-x", 'K'},   {"SD-Velta", 'R'},
        {"DV1-Velta", 0},  {"DVB-Velta", 0},  {"XY-Other", 0}, {"  -", 0},
        {"Arial", 0},      {"DV", 0},         {"", 0},         {"-D-", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ScriptOfFace(row.face), row.code) << row.face;
    EXPECT_EQ(ScriptOfFace(nullptr), 0);
}

} // namespace
