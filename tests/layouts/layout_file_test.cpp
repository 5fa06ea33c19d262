// The layout file reader over byte images: directory choice, short and
// damaged files, and the files the build ships.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "support/layout_file.h"

namespace {

typedef std::vector<unsigned char> Bytes;

struct Entry {
    int code;
    uint32_t offset;
    unsigned size;
};

// Header with N, the entries, then `tail` (blocks) appended by the caller.
Bytes File(int n, const std::vector<Entry>& entries) {
    Bytes f = {0, 0, (unsigned char)n, 0};
    for (const Entry& e : entries) {
        f.push_back((unsigned char)(e.code & 0xFF));
        f.push_back((unsigned char)(e.code >> 8));
        for (int i = 0; i < 4; ++i)
            f.push_back((unsigned char)(e.offset >> (8 * i)));
        f.push_back((unsigned char)(e.size & 0xFF));
        f.push_back((unsigned char)(e.size >> 8));
    }
    return f;
}

// A block whose every slot holds `fill` followed by the slot number.
Bytes Block(char fill, size_t size = LAYOUT_BLOCK_SIZE) {
    Bytes b(size, 0);
    for (size_t slot = 0; slot * LAYOUT_SLOT_SIZE < size; ++slot) {
        b[slot * LAYOUT_SLOT_SIZE] = (unsigned char)fill;
        if (slot * LAYOUT_SLOT_SIZE + 1 < size)
            b[slot * LAYOUT_SLOT_SIZE + 1] = (unsigned char)('0' + slot % 10);
    }
    return b;
}

struct Loaded {
    LayoutReadResult result;
    LayoutBlock block;
    LayoutTable table;
    int copied;
};

Loaded Load(const Bytes& file, int searchCode) {
    Loaded l;
    memset(&l.table, 0, sizeof l.table);
    for (KeyEntry& k : l.table.keys)
        strcpy(k.scriptNormal, "old"), strcpy(k.scriptShifted, "old");
    LayoutImage image = {file.data(), file.size()};
    static unsigned char directory[LAYOUT_DIRECTORY_MAX];
    l.result = ReadLayoutBlock(ReadFromImage, &image, searchCode, directory, &l.block);
    l.copied = l.result == LAYOUT_READ_OK ? ApplyLayoutBlock(&l.block, &l.table) : 0;
    return l;
}

Bytes TwoBlocks(int first, int second) {
    Bytes f = File(2, {{first, 20, 864}, {second, 20 + 864, 864}});
    Bytes a = Block('a'), b = Block('b');
    f.insert(f.end(), a.begin(), a.end());
    f.insert(f.end(), b.begin(), b.end());
    return f;
}

TEST(LayoutFile, ChoosesTheScriptsEntryElseTheLastOne) {
    struct Row {
        int first, second, active;
        char expected;
    } rows[] = {{'B', 'C', 'B', 'a'}, {'B', 'C', 'C', 'b'}, {'C', 'D', 'B', 'b'},
                {'C', 'B', 'R', 'b'}, {'B', 'C', 'R', 'a'}, {'B', 'C', 0, 'b'}};
    for (const Row& r : rows) {
        Loaded l = Load(TwoBlocks(r.first, r.second), LayoutSearchCode(r.active));
        ASSERT_EQ(l.result, LAYOUT_READ_OK);
        EXPECT_EQ(l.copied, LAYOUT_SLOTS);
        EXPECT_EQ(l.table.keys[0].scriptNormal[0], r.expected) << (char)r.active;
        EXPECT_STREQ(l.table.keys[53].scriptShifted + 1, "7"); // slot 107
    }
}

TEST(LayoutFile, EightByteSlotHasNoTerminatorAndPaddingEndsText) {
    Bytes f = File(1, {{'B', 12, 864}});
    Bytes b(864, 0);
    memcpy(&b[0], "ABCDEFGH", 8); // slot 0: exactly 8 bytes
    memcpy(&b[8], "xy\0z", 4);    // slot 1: stops at the NUL
    f.insert(f.end(), b.begin(), b.end());
    Loaded l = Load(f, 'B');
    EXPECT_STREQ(l.table.keys[0].scriptNormal, "ABCDEFGH");
    EXPECT_STREQ(l.table.keys[1].scriptNormal, "xy");
    EXPECT_STREQ(l.table.keys[2].scriptNormal, ""); // an empty slot empties its field
}

TEST(LayoutFile, ShortBlocksCopyOnlyWholeSlots) {
    struct Row {
        unsigned declared;
        size_t present;
        int copied;
    } rows[] = {{432, 432, 54},     {435, 435, 54}, {864, 500, 62}, {60000, 864, 108},
                {60000, 2000, 108}, {7, 7, 0},      {0, 864, 0}};
    for (const Row& r : rows) {
        Bytes f = File(1, {{'B', 12, r.declared}});
        Bytes b = Block('q', r.present);
        f.insert(f.end(), b.begin(), b.end());
        Loaded l = Load(f, 'B');
        ASSERT_EQ(l.result, LAYOUT_READ_OK);
        EXPECT_EQ(l.copied, r.copied) << r.declared << " " << r.present;
        EXPECT_LE(l.block.size, (size_t)LAYOUT_BLOCK_SIZE);
        if (r.copied == 54) {
            EXPECT_EQ(l.table.keys[53].scriptNormal[0], 'q');
            EXPECT_STREQ(l.table.keys[0].scriptShifted, "old"); // shifted fields kept
        }
    }
}

TEST(LayoutFile, DamagedHeadersAndDirectories) {
    struct Row {
        const char* what;
        Bytes file;
        LayoutReadResult result;
        int entriesRead;
    } rows[] = {
        {"empty", {}, LAYOUT_READ_NO_ENTRY, 0},
        {"truncated header", {0, 0, 3}, LAYOUT_READ_NO_ENTRY, 0},
        {"N = 0", File(0, {{'B', 12, 864}}), LAYOUT_READ_NO_ENTRY, 0},
        {"N = 5, one entry", File(5, {{'C', 12, 864}}), LAYOUT_READ_OK, 1},
        {"entry cut short", Bytes{0, 0, 2, 0, 'B', 0, 12, 0, 0, 0, 0x60, 3, 'C', 0, 1},
         LAYOUT_READ_OK, 1},
        {"offset past the end", File(1, {{'B', 0xFFFFFFF0u, 864}}), LAYOUT_READ_OK, 1},
        {"high byte in the code", File(2, {{'B' + 256, 20, 864}, {'C', 20, 864}}), LAYOUT_READ_OK,
         2},
    };
    for (const Row& r : rows) {
        Loaded l = Load(r.file, 'B');
        EXPECT_EQ(l.result, r.result) << r.what;
        EXPECT_EQ(l.block.entriesRead, r.entriesRead) << r.what;
        if (r.result == LAYOUT_READ_OK && r.entriesRead == 1) {
            EXPECT_EQ(l.copied, 0) << r.what;
        }
        EXPECT_STREQ(l.table.keys[5].scriptNormal, "old") << r.what;
    }
}

// The shipped files, as the native build wrote them.
Bytes ReadWhole(const std::string& path) {
    Bytes data;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return data;
    unsigned char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    fclose(f);
    return data;
}

TEST(LayoutFile, ShippedPhoneticLayoutTypesTheRomanCharactersOfEveryKey) {
    Bytes file = ReadWhole(std::string(NK_STAGE_DATA) + "/PEKBD.BIN");
    ASSERT_FALSE(file.empty());
    const char* scripts = "ABCDEFGHIJKR";
    for (const char* s = scripts; *s; ++s) {
        Loaded l = Load(file, LayoutSearchCode(*s));
        ASSERT_EQ(l.block.entryCode, *s == 'R' ? 'B' : *s);
        EXPECT_STREQ(l.table.keys[16].scriptNormal, "q");
        EXPECT_STREQ(l.table.keys[16].scriptShifted, "Q");
        EXPECT_STREQ(l.table.keys[40].scriptShifted, "\"");
        EXPECT_STREQ(l.table.keys[43].scriptNormal, "\\");
        EXPECT_STREQ(l.table.keys[14].scriptNormal, ""); // Tab is no layout key
    }
}

TEST(LayoutFile, ShippedInscriptLayoutHoldsTheIsciiCodes) {
    Bytes file = ReadWhole(std::string(NK_STAGE_DATA) + "/INSKBD.BIN");
    ASSERT_FALSE(file.empty());
    Loaded l = Load(file, 'E');
    EXPECT_EQ(l.block.entryCode, 'E');
    EXPECT_STREQ(l.table.keys[37].scriptNormal, "\xB3");
    EXPECT_STREQ(l.table.keys[8].scriptShifted, "\xB3\xE8\xD6");
    EXPECT_STREQ(l.table.keys[2].scriptNormal, "1");
    EXPECT_EQ(ReadWhole(std::string(NK_STAGE_DATA) + "/UKKBD.BIN"), file);
}

} // namespace
