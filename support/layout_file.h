// Reading layout files: a 4-byte header (byte 2 holds N), N directory entries
// of 8 bytes (script code, block offset, block size) and per script a block
// of 8-byte slots, 54 unshifted then 54 shifted script texts. Portable: the
// file is reached through a read callback, so the driver reads it with bounded
// reads into fixed buffers and the tests and the fuzzer read byte arrays.
#ifndef NK_LAYOUT_FILE_H
#define NK_LAYOUT_FILE_H

#include <stddef.h>
#include <stdint.h>

#include "include/nelkor.h"

enum {
    LAYOUT_HEADER_SIZE = 4,
    LAYOUT_ENTRY_SIZE = 8,
    LAYOUT_MAX_ENTRIES = 255, // N is one byte
    LAYOUT_DIRECTORY_MAX = LAYOUT_HEADER_SIZE + LAYOUT_ENTRY_SIZE * LAYOUT_MAX_ENTRIES,
    LAYOUT_SLOT_SIZE = 8,
    LAYOUT_SLOTS = 2 * LAYOUT_KEYS,                     // 108
    LAYOUT_BLOCK_SIZE = LAYOUT_SLOT_SIZE * LAYOUT_SLOTS // 864, a complete block
};

// Reads up to count bytes at offset into buffer; returns how many it read
// (fewer at the end of the file, 0 past it or on failure).
typedef size_t (*LayoutReadFn)(void* context, uint32_t offset, unsigned char* buffer, size_t count);

// One block as read from a file. size is what was actually read: at most 864,
// less when the entry declares less or the file ends first.
struct LayoutBlock {
    unsigned char data[LAYOUT_BLOCK_SIZE];
    size_t size;
    int entryCode;   // script code of the directory entry used
    int entryIndex;  // its position in the directory
    int entriesRead; // complete directory entries seen
};

enum LayoutReadResult {
    LAYOUT_READ_OK = 0,      // a directory entry was chosen and its block read
    LAYOUT_READ_NO_ENTRY = 1 // header or directory missing, or N = 0
};

// The code a layout block is searched by: Sanskrit-Devanagari types with the
// Devanagari block.
int LayoutSearchCode(int activeScript);

// Choose the directory entry for searchCode (the first whose code equals it,
// else the last complete entry read) and read its block. Every offset and size
// comes from the file and is bounded here: the directory is read once into a
// fixed buffer, the block read stops at 864 bytes. `directory` is scratch of
// LAYOUT_DIRECTORY_MAX bytes owned by the caller.
LayoutReadResult ReadLayoutBlock(LayoutReadFn read, void* context, int searchCode,
                                 unsigned char* directory, LayoutBlock* block);

// Copy the whole slots of a block into the script fields of table: slot i to
// scriptNormal of key i, slot 54 + i to scriptShifted of key i. Fields of slots
// the block does not hold wholly keep their contents. Returns the slots copied.
int ApplyLayoutBlock(const LayoutBlock* block, LayoutTable* table);

// The same over a byte image of a whole file (tests and the fuzzer).
size_t ReadFromImage(void* image, uint32_t offset, unsigned char* buffer, size_t count);
struct LayoutImage {
    const unsigned char* data;
    size_t size;
};

#endif // NK_LAYOUT_FILE_H
