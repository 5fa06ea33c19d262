#include "tests/bench/inscript_keys.h"

#include <stdio.h>
#include <string.h>

#include "support/layout_file.h"

namespace {

const int kEscScan = 1;             // repeats the grave key's entry
const unsigned char kAtr = 0xEF;    // ISCII attribute: the next byte switches script
const int kFirstKeyScan = 2;        // the digit row starts here

// US keyboard, by scan code from 0: unshifted and shifted characters; a
// blank stands for "no character key" at that scan code.
const char kUsNormal[LAYOUT_KEYS + 1] = "  1234567890-=  qwertyuiop[]  asdfghjkl;'` \\zxcvbnm,./";
const char kUsShifted[LAYOUT_KEYS + 1] = "  !@#$%^&*()_+  QWERTYUIOP{}  ASDFGHJKL:\"~ |ZXCVBNM<>?";

struct FileReader {
    FILE* file;
};

size_t ReadFromFile(void* context, uint32_t offset, unsigned char* buffer, size_t count) {
    FILE* file = ((FileReader*)context)->file;
    if (fseek(file, (long)offset, SEEK_SET) != 0) return 0;
    return fread(buffer, 1, count, file);
}

void Remember(KeyFinder* finder, const char* text, int scan, bool shift) {
    const unsigned char code = (unsigned char)text[0];
    if (code == 0 || text[1] != 0) return; // only keys of exactly one code
    finder->byCode[code] = {(uint8_t)scan, shift};
    finder->known[code] = true;
}

} // namespace

bool LoadLayoutFile(const char* path, int script, LayoutTable* table) {
    memset(table, 0, sizeof *table);
    FileReader reader = {fopen(path, "rb")};
    if (!reader.file) return false;
    static unsigned char directory[LAYOUT_DIRECTORY_MAX];
    LayoutBlock block;
    const LayoutReadResult result =
        ReadLayoutBlock(ReadFromFile, &reader, LayoutSearchCode(script), directory, &block);
    fclose(reader.file);
    if (result != LAYOUT_READ_OK) return false;
    return ApplyLayoutBlock(&block, table) == LAYOUT_SLOTS;
}

void BuildKeyFinder(const LayoutTable& table, KeyFinder* finder) {
    memset(finder, 0, sizeof *finder);
    // Shifted first, then unshifted over them: the plain key wins.
    for (int scan = LAYOUT_KEYS - 1; scan >= kFirstKeyScan; --scan)
        Remember(finder, table.keys[scan].scriptShifted, scan, true);
    for (int scan = LAYOUT_KEYS - 1; scan >= kFirstKeyScan; --scan)
        Remember(finder, table.keys[scan].scriptNormal, scan, false);
    static_assert(kEscScan < kFirstKeyScan, "the Esc position is never chosen");
}

int WordKeys(const KeyFinder& finder, const unsigned char* iscii, InscriptKey* keys, int maxKeys) {
    int count = 0;
    for (size_t i = 0; iscii[i]; ++i) {
        if (iscii[i] == kAtr) {
            if (iscii[i + 1]) ++i;
            continue;
        }
        if (!finder.known[iscii[i]] || count == maxKeys) return -1;
        keys[count++] = finder.byCode[iscii[i]];
    }
    return count;
}

char UsKeyChar(int scan, bool shift) {
    if (scan < 0 || scan >= LAYOUT_KEYS) return 0;
    const char c = shift ? kUsShifted[scan] : kUsNormal[scan];
    return c == ' ' ? 0 : c;
}

int UsVirtualKey(int scan) {
    const char c = UsKeyChar(scan, false);
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= '0' && c <= '9') return c;
    switch (c) {
    case ';': return 0xBA;
    case '=': return 0xBB;
    case ',': return 0xBC;
    case '-': return 0xBD;
    case '.': return 0xBE;
    case '/': return 0xBF;
    case '`': return 0xC0;
    case '[': return 0xDB;
    case '\\': return 0xDC;
    case ']': return 0xDD;
    case '\'': return 0xDE;
    default: return 0;
    }
}
