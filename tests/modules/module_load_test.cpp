// Each adapter module as the driver binds it: loaded by file name from the
// program directory, its entry found by name, one syllable converted.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include "include/nelkor.h"

namespace {

struct ModuleCase {
    const char* file;
    const char* entry;
};

const ModuleCase kModules[] = {
    {"DVTROP32.DLL", "iscii2devglf"},         {"DVBFA32.DLL", "iscii2devglf"},
    {"VDTROP32.DLL", "iscii2devglf"},         {"VDBFA32.DLL", "iscii2devglf"},
    {"SDTROP32.DLL", "iscii2devsanskritglf"}, {"SDBFA32.DLL", "iscii2devsanskritglf"},
    {"RMTROP32.DLL", "iscii2rmglf"},          {"RMBFA32.DLL", "iscii2rmglf"},
    {"TMTROP32.DLL", "iscii2tamilglf"},       {"TMBFA32.DLL", "iscii2tamilglf"},
    {"MLTROP32.DLL", "iscii2malayalamglf"},   {"MLBFA32.DLL", "iscii2malayalamglf"},
    {"TLTROP32.DLL", "iscii2teluguglf"},      {"TLBFA32.DLL", "iscii2teluguglf"},
    {"KNTROP32.DLL", "iscii2kannadaglf"},     {"KNBFA32.DLL", "iscii2kannadaglf"},
    {"BNTROP32.DLL", "iscii2bengaliglf"},     {"BNBFA32.DLL", "iscii2bengaliglf"},
    {"ASTROP32.DLL", "iscii2assameseglf"},    {"ASBFA32.DLL", "iscii2assameseglf"},
    {"ORTROP32.DLL", "iscii2oriyaglf"},       {"ORBFA32.DLL", "iscii2oriyaglf"},
    {"GJTROP32.DLL", "iscii2gjglf"},          {"GJBFA32.DLL", "iscii2gjglf"},
    {"PNTROP32.DLL", "iscii2punjabiglf"},     {"PNBFA32.DLL", "iscii2punjabiglf"},
};

TEST(AdapterModules, LoadBindAndConvert) {
    for (const ModuleCase& m : kModules) {
        HMODULE module = LoadLibraryA(m.file);
        ASSERT_NE(nullptr, module) << m.file;
        AdapterEntryFn entry = (AdapterEntryFn)(void*)GetProcAddress(module, m.entry);
        ASSERT_NE(nullptr, entry) << m.file << " " << m.entry;
        unsigned char out[NK_ADAPTER_OUT_MAX];
        int32_t consumed = 0, length = 0;
        // KSSA + sign AA, then KA: one syllable of four bytes.
        const unsigned char text[] = "\xB3\xE8\xD6\xDA\xB3";
        entry(text, out, &consumed, &length, 4);
        consumed = length = 0;
        entry(text, out, &consumed, &length, 0);
        size_t used = strnlen((const char*)out, sizeof out);
        EXPECT_EQ(4, consumed) << m.file;
        EXPECT_GT(used, 0u) << m.file;
        EXPECT_EQ(0u, used % 2) << m.file;
        FreeLibrary(module);
    }
}

} // namespace
