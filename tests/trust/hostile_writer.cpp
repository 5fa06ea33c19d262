// A program that writes hostile values into the driver's shared section while
// another program receives keys. It keeps a copy of the section as it found
// it and puts it back before it ends.
//
// Usage: nk_hostile_writer <paths|random> <milliseconds> <seed> <outside folder>
//   paths   cycles through names of modules, layout and rule files outside
//           the program folder, unterminated texts and values out of range;
//   random  fills the whole section with random bytes, again and again.
// <outside folder> holds the decoy modules (with its trailing backslash).
// Prints the number of writes and exits 0.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "driver/engine/shared_state.h"

namespace {

// One hostile state: applied over the section as the manager left it.
struct Row {
    const char* moduleDirectory; // nullptr: keep; "~": unterminated
    const char* adapterFileName;
    int keyboardKind; // 0: keep
    const char* converterFileName;
    const char* layoutPath;
};

void Put(char* field, size_t size, const char* value, const std::string& outside) {
    if (!value) return;
    if (strcmp(value, "~") == 0) {
        memset(field, 'A', size); // no terminator anywhere in the field
        return;
    }
    std::string text = value;
    const size_t at = text.find('@'); // '@' stands for the outside folder
    if (at != std::string::npos) text.replace(at, 1, outside);
    snprintf(field, size, "%s", text.c_str());
}

std::vector<Row> Rows() {
    return {
        {"@", "dvtrop32.dll", KBD_INSCRIPT, nullptr, nullptr},
        {nullptr, "@DVTROP32.DLL", 0, nullptr, nullptr},
        {nullptr, "..\\nkevil_z\\DVTROP32.DLL", 0, nullptr, nullptr},
        {nullptr, "..\\..\\nkevil_z\\DVTROP32.DLL", 0, nullptr, nullptr},
        {"@..\\", "nkevil\\DVTROP32.DLL", 0, nullptr, nullptr},
        {"\\\\?\\@", "DVTROP32.DLL", 0, nullptr, nullptr},
        {"@.\\", "DVTROP32.DLL.", 0, nullptr, nullptr},
        {nullptr, "~", 0, nullptr, nullptr},
        {"~", "dvtrop32.dll", 0, nullptr, nullptr},
        {nullptr, nullptr, KBD_TYPEWRITER, "@DVAKBD32.DLL", "@EVIL.TYP"},
        {nullptr, nullptr, KBD_TYPEWRITER, "~", "~"},
        {nullptr, nullptr, KBD_TYPEWRITER, "DVAKBD32.DLL:x", "..\\EVIL.TYP"},
        {"@", nullptr, KBD_PHONETIC, nullptr, "PEKBD.BIN"},
        {nullptr, nullptr, KBD_PHONETIC, nullptr, "@PEKBD.BIN"},
    };
}

// Values out of every range, written with the path rows.
void PutNumbers(SharedState* s, std::mt19937& random) {
    const int32_t odd[] = {-1, 4, 'Z', 0x7FFFFFFF, (int32_t)0x80000000u, 5000, 165, 159};
    auto pick = [&]() { return odd[random() % (sizeof odd / sizeof odd[0])]; };
    s->activeScript = pick();
    s->typingMode = pick();
    s->switchKey = pick();
    s->setIndex = pick();
    s->syllableCount = pick();
    s->defaultAppCategory = pick();
    s->romanCapitals = pick();
    s->categoryFlags[random() % CAT_FLAG_COUNT] = pick();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const bool randomMode = strcmp(argv[1], "random") == 0;
    const DWORD duration = (DWORD)atoi(argv[2]);
    std::mt19937 random((unsigned)atoi(argv[3]));
    const std::string outside = argv[4];

    SharedState* section = (SharedState*)NelkorSharedState();
    SharedState saved;
    memcpy(&saved, section, sizeof saved);
    const std::vector<Row> rows = Rows();

    long writes = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < duration) {
        if (randomMode) {
            unsigned char* bytes = (unsigned char*)section;
            for (size_t i = 0; i < sizeof *section; ++i)
                bytes[i] = (unsigned char)random();
        } else {
            memcpy(section, &saved, sizeof saved);
            const Row& row = rows[(size_t)writes % rows.size()];
            Put(section->moduleDirectory, sizeof section->moduleDirectory, row.moduleDirectory,
                outside);
            Put(section->adapterFileName, sizeof section->adapterFileName, row.adapterFileName,
                outside);
            Put(section->converterFileName, sizeof section->converterFileName,
                row.converterFileName, outside);
            Put(section->layoutPath, sizeof section->layoutPath, row.layoutPath, outside);
            if (row.keyboardKind) section->keyboardKind = row.keyboardKind;
            if (writes % 3 == 2) PutNumbers(section, random);
        }
        ++writes;
        Sleep(writes % 8 == 0 ? 1 : 0); // let the typing program run
    }
    memcpy(section, &saved, sizeof saved);
    printf("%ld\n", writes);
    return 0;
}
