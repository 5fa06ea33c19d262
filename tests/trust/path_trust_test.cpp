// Which names the driver opens: canonical paths, plain names and the program
// folder's boundary, as table rows.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "driver/engine/path_trust.h"

namespace {

const char kFolder[] = "C:\\Program Files\\Velta\\";

TEST(CanonicalPath, Forms) {
    struct Row {
        const char* path;
        bool folder;
        const char* canonical; // nullptr: refused
    } rows[] = {
        {"C:\\Velta\\DVTROP32.DLL", false, "C:\\Velta\\DVTROP32.DLL"},
        {"c:/velta//./x.dll", false, "C:\\velta\\x.dll"},
        {"C:\\a\\b\\..\\..\\c", false, "C:\\c"},
        {"C:\\a\\b\\", true, "C:\\a\\b\\"},
        {"C:\\a\\b", true, "C:\\a\\b\\"},
        {"C:\\", true, "C:\\"},
        {"C:\\..\\x", false, nullptr},        // above the drive
        {"C:\\a\\..\\..\\x", false, nullptr}, // so is this
        {"C:x.dll", false, nullptr},          // relative to the drive's folder
        {"x.dll", false, nullptr},
        {"\\x.dll", false, nullptr},
        {"\\\\server\\share\\x.dll", false, nullptr},
        {"\\\\?\\C:\\x.dll", false, nullptr},
        {"\\\\.\\pipe\\x", false, nullptr},
        {"C:\\a\\x.dll:stream", false, nullptr},
        {"C:\\a\\x.dll.", false, nullptr}, // the system drops the dot: another name
        {"C:\\a\\x.dll ", false, nullptr},
        {"C:\\a\\...\\x.dll", false, nullptr},
        {"C:\\a\\. .\\x.dll", false, nullptr},
        {"C:\\a\\x?.dll", false, nullptr},
        {"C:\\a\\x*.dll", false, nullptr},
        {"C:\\a\\x\"y", false, nullptr},
        {"C:\\a\\x\ty", false, nullptr},
        {"C:\\a\\CON", false, nullptr},
        {"C:\\a\\nul.txt", false, nullptr},
        {"C:\\a\\Com1.dll", false, nullptr},
        {"C:\\a\\LPT\xB9.dll", false, nullptr},
        {"C:\\a\\conout$", false, nullptr},
        {"C:\\a\\CONSOLE.DLL", false, "C:\\a\\CONSOLE.DLL"},
        {"C:\\a\\COM10.DLL", false, "C:\\a\\COM10.DLL"},
        {"C:\\a\\.hidden", false, "C:\\a\\.hidden"},
        {"C:\\Dev\\\xE0\xA4\x95.dll", false, "C:\\Dev\\\xE0\xA4\x95.dll"},
        {"", false, nullptr},
    };
    for (const Row& r : rows) {
        char out[NK_TRUSTED_PATH_SIZE] = "junk";
        const bool ok = CanonicalPath(r.path, r.folder, out, sizeof out);
        EXPECT_EQ(ok, r.canonical != nullptr) << r.path;
        EXPECT_STREQ(out, r.canonical ? r.canonical : "") << r.path;
    }
}

TEST(CanonicalPath, ResultMustFit) {
    char out[12];
    EXPECT_TRUE(CanonicalPath("C:\\abc\\de.f", false, out, sizeof out));
    EXPECT_FALSE(CanonicalPath("C:\\abc\\def.g", false, out, sizeof out));
    EXPECT_STREQ(out, "");
    std::string deep = "C:";
    for (int i = 0; i < NK_PATH_MAX_COMPONENTS + 1; ++i)
        deep += "\\a";
    char big[NK_TRUSTED_PATH_SIZE];
    EXPECT_FALSE(CanonicalPath(deep.c_str(), false, big, sizeof big));
}

TEST(ResolveProgramFile, NamesInAndOutsideTheFolder) {
    struct Row {
        const char* name;
        const char* full; // nullptr: refused
    } rows[] = {
        {"dvtrop32.dll", "C:\\Program Files\\Velta\\dvtrop32.dll"},
        {"C:\\Program Files\\Velta\\PEKBD.BIN", "C:\\Program Files\\Velta\\PEKBD.BIN"},
        {"c:\\program files\\velta\\pekbd.bin", "C:\\program files\\velta\\pekbd.bin"},
        {"C:/Program Files/Velta/lay/X.TYP", "C:\\Program Files\\Velta\\lay\\X.TYP"},
        {"C:\\Program Files\\Velta\\lay\\..\\X.DLL", "C:\\Program Files\\Velta\\X.DLL"},
        {"C:\\Program Files\\Velta\\..\\Evil\\X.DLL", nullptr},
        {"C:\\Program Files\\Velta\\..\\Velta2\\X.DLL", nullptr},
        {"C:\\Program Files\\VeltaX\\X.DLL", nullptr}, // a sibling sharing the prefix
        {"C:\\Program Files\\Velta", nullptr},         // the folder itself
        {"C:\\Program Files\\Velta\\", nullptr},
        {"D:\\Program Files\\Velta\\X.DLL", nullptr},
        {"C:\\Windows\\System32\\evil.dll", nullptr},
        {"..\\evil.dll", nullptr},
        {"lay\\X.TYP", nullptr}, // relative with a folder: not a plain name
        {"..", nullptr},
        {".", nullptr},
        {"x.dll:alt", nullptr},
        {"\\\\attacker\\share\\x.dll", nullptr},
        {"NUL", nullptr},
        {"", nullptr},
    };
    for (const Row& r : rows) {
        char full[NK_TRUSTED_PATH_SIZE] = "junk";
        const bool ok = ResolveProgramFile(kFolder, r.name, 272, full, sizeof full);
        EXPECT_EQ(ok, r.full != nullptr) << r.name;
        EXPECT_STREQ(full, r.full ? r.full : "") << r.name;
    }
}

TEST(ResolveProgramFile, FieldsAndBuffers) {
    char full[NK_TRUSTED_PATH_SIZE];
    // Not terminated within its field: refused even though the bytes after it
    // would make a good name.
    const char unterminated[] = {'x', '.', 'd', 'l', 'l', 0};
    EXPECT_FALSE(ResolveProgramFile(kFolder, unterminated, 5, full, sizeof full));
    EXPECT_TRUE(ResolveProgramFile(kFolder, unterminated, 6, full, sizeof full));
    // No folder known: nothing is trusted.
    EXPECT_FALSE(ResolveProgramFile("", "x.dll", 6, full, sizeof full));
    EXPECT_FALSE(ResolveProgramFile(nullptr, "x.dll", 6, full, sizeof full));
    // A result that does not fit is refused, never cut to another name.
    char small[sizeof kFolder + 3];
    EXPECT_FALSE(ResolveProgramFile(kFolder, "abcd", 8, small, sizeof small));
    EXPECT_STREQ(small, "");
    EXPECT_TRUE(ResolveProgramFile(kFolder, "abc", 8, small, sizeof small));
}

TEST(IsPathBelow, Boundaries) {
    EXPECT_TRUE(IsPathBelow("C:\\A\\", "C:\\A\\b"));
    EXPECT_TRUE(IsPathBelow("C:\\A\\", "c:\\a\\b\\c"));
    EXPECT_FALSE(IsPathBelow("C:\\A\\", "C:\\A\\"));
    EXPECT_FALSE(IsPathBelow("C:\\A\\", "C:\\A"));
    EXPECT_FALSE(IsPathBelow("C:\\A\\", "C:\\AB\\c"));
    EXPECT_FALSE(IsPathBelow("C:\\A", "C:\\AB"));        // folder without its separator
    EXPECT_FALSE(IsPathBelow("C:\\\xC4\\", "C:\\\xE4\\x")); // only ASCII ignores case
}

} // namespace
