// mklayout: writes a layout file from a readable source.
//
//   mklayout SOURCE OUTPUT
//
// Source lines ('#' begins a comment line):
//   block CODES              a new block for the script codes listed (A..S);
//                            every code gets a directory entry, all pointing
//                            at the same block
//   SCAN NORMAL SHIFTED      the script texts of key SCAN (0..53) in the
//                            current block, each "-" (empty), "h:" followed by
//                            hex bytes ("h:E8CF"), "t:" followed by
//                            characters ("t:q") or "u:" followed by UTF-8
//                            Devanagari or Tamil text ("u:क्ष"), written as
//                            its ISCII codes; at most 8 bytes
// Output: header (byte 2 = number of entries), directory entries of 8 bytes
// (code, offset, size 864), then the 864-byte blocks.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const int kKeys = 54, kSlot = 8, kBlockSize = 2 * kKeys * kSlot;

struct Block {
    std::string codes;
    unsigned char data[kBlockSize];
};

int Fail(const char* source, int line, const char* what) {
    fprintf(stderr, "%s:%d: %s\n", source, line, what);
    return 1;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// ISCII code of each letter of a Unicode Indic block, by its offset in the
// block (ISCII and Unicode share the letter order in every script); 0 where
// the offset has no single ISCII code.
const unsigned char kIsciiOfOffset[0x80] = {
    0,    0xA1, 0xA2, 0xA3, 0,    0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0,    0xAE, 0xAB, 0xAC,
    0xAD, 0xB2, 0xAF, 0xB0, 0xB1, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD,
    0xBE, 0xBF, 0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD,
    0xCF, 0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0,    0,    0xE9, 0,    0xDA, 0xDB,
    0xDC, 0xDD, 0xDE, 0xDF, 0,    0xE3, 0xE0, 0xE1, 0xE2, 0xE7, 0xE4, 0xE5, 0xE6, 0xE8, 0,    0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0xCE,
    0,    0,    0,    0,    0xEA, 0,    0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
const unsigned kDevanagariBlock = 0x0900, kTamilBlock = 0x0B80, kIndicBlockSize = 0x80;

// Next code point of UTF-8 text (3-byte forms and ASCII only: the Indic
// blocks need no more); 0 when malformed.
unsigned NextCodePoint(const unsigned char*& p) {
    if (p[0] < 0x80) return *p++;
    if ((p[0] & 0xF0) == 0xE0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
        unsigned cp = ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        p += 3;
        return cp;
    }
    return 0;
}

// Devanagari or Tamil text (and printable ASCII) as ISCII into slot.
bool ParseUnicode(const char* text, unsigned char* slot) {
    const unsigned char* p = (const unsigned char*)text;
    size_t n = 0;
    while (*p) {
        const unsigned cp = NextCodePoint(p);
        unsigned char code = 0;
        if (cp > 0x20 && cp < 0x7F)
            code = (unsigned char)cp;
        else if (cp >= kDevanagariBlock && cp < kDevanagariBlock + kIndicBlockSize)
            code = kIsciiOfOffset[cp - kDevanagariBlock];
        else if (cp >= kTamilBlock && cp < kTamilBlock + kIndicBlockSize)
            code = kIsciiOfOffset[cp - kTamilBlock];
        if (code == 0 || n >= (size_t)kSlot) return false;
        slot[n++] = code;
    }
    return n > 0;
}

// Parses one field into slot (8 bytes, NUL-padded); false when malformed.
bool ParseField(const char* token, unsigned char* slot) {
    memset(slot, 0, kSlot);
    if (strcmp(token, "-") == 0) return true;
    if (strncmp(token, "t:", 2) == 0) {
        size_t n = strlen(token + 2);
        if (n == 0 || n > (size_t)kSlot) return false;
        memcpy(slot, token + 2, n);
        return true;
    }
    if (strncmp(token, "u:", 2) == 0) return ParseUnicode(token + 2, slot);
    if (strncmp(token, "h:", 2) == 0) {
        const char* hex = token + 2;
        size_t n = strlen(hex);
        if (n == 0 || n % 2 || n / 2 > (size_t)kSlot) return false;
        for (size_t i = 0; i < n / 2; ++i) {
            int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
            if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return false;
            slot[i] = (unsigned char)(hi * 16 + lo);
        }
        return true;
    }
    return false;
}

void Put16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back((unsigned char)(v & 0xFF));
    out.push_back((unsigned char)(v >> 8));
}

void Put32(std::vector<unsigned char>& out, unsigned long v) {
    for (int i = 0; i < 4; ++i)
        out.push_back((unsigned char)((v >> (8 * i)) & 0xFF));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: mklayout SOURCE OUTPUT\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "r");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    std::vector<Block> blocks;
    size_t entries = 0;
    char line[512];
    int number = 0;
    while (fgets(line, sizeof line, in)) {
        ++number;
        char first[64], second[64], third[64];
        int fields = sscanf(line, "%63s %63s %63s", first, second, third);
        if (fields <= 0 || first[0] == '#') continue;
        if (strcmp(first, "block") == 0) {
            if (fields != 2) return Fail(argv[1], number, "block needs its script codes");
            for (const char* c = second; *c; ++c)
                if (*c < 'A' || *c > 'S') return Fail(argv[1], number, "script codes are A..S");
            blocks.push_back(Block{second, {}});
            entries += strlen(second);
            continue;
        }
        if (blocks.empty()) return Fail(argv[1], number, "key before the first block");
        char* end = nullptr;
        long scan = strtol(first, &end, 10);
        if (fields != 3 || *end || scan < 0 || scan >= kKeys)
            return Fail(argv[1], number, "expected: SCAN NORMAL SHIFTED");
        unsigned char* data = blocks.back().data;
        if (!ParseField(second, data + scan * kSlot) ||
            !ParseField(third, data + (kKeys + scan) * kSlot))
            return Fail(argv[1], number, "a field is -, h:HEX, t:TEXT or u:INDIC of 1..8 bytes");
    }
    fclose(in);
    if (entries == 0 || entries > 255) return Fail(argv[1], number, "1..255 script codes needed");

    std::vector<unsigned char> out;
    Put16(out, 0);
    out.push_back((unsigned char)entries);
    out.push_back(0);
    unsigned long offset = 4 + 8 * entries;
    for (const Block& block : blocks) {
        for (char code : block.codes) {
            Put16(out, (unsigned char)code);
            Put32(out, offset);
            Put16(out, kBlockSize);
        }
        offset += kBlockSize;
    }
    for (const Block& block : blocks)
        out.insert(out.end(), block.data, block.data + kBlockSize);

    FILE* file = fopen(argv[2], "wb");
    if (!file || fwrite(out.data(), 1, out.size(), file) != out.size() || fclose(file) != 0) {
        perror(argv[2]);
        return 1;
    }
    return 0;
}
