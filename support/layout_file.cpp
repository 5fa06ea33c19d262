#include "support/layout_file.h"

#include <string.h>

namespace {

uint32_t Read16(const unsigned char* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8);
}

uint32_t Read32(const unsigned char* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

// A slot of up to 8 bytes, NUL-padded; 8 bytes of text carry no terminator.
void CopySlot(char* field, const unsigned char* slot) {
    size_t n = 0;
    while (n < LAYOUT_SLOT_SIZE && slot[n] != 0) {
        field[n] = (char)slot[n];
        ++n;
    }
    field[n] = 0;
}

} // namespace

int LayoutSearchCode(int activeScript) {
    return activeScript == SCRIPT_SANSKRIT ? SCRIPT_DEVANAGARI : activeScript;
}

LayoutReadResult ReadLayoutBlock(LayoutReadFn read, void* context, int searchCode,
                                 unsigned char* directory, LayoutBlock* block) {
    block->size = 0;
    block->entryCode = 0;
    block->entryIndex = -1;
    block->entriesRead = 0;

    // Header and directory in one read: N is at most 255, so 2,044 bytes.
    size_t got = read(context, 0, directory, LAYOUT_DIRECTORY_MAX);
    if (got > LAYOUT_DIRECTORY_MAX) got = LAYOUT_DIRECTORY_MAX; // a reader that lies
    if (got < LAYOUT_HEADER_SIZE) return LAYOUT_READ_NO_ENTRY;
    const int declared = directory[2];
    const int complete = (int)((got - LAYOUT_HEADER_SIZE) / LAYOUT_ENTRY_SIZE);
    const int count = declared < complete ? declared : complete;
    if (count == 0) return LAYOUT_READ_NO_ENTRY;

    int chosen = count - 1; // no entry for the script: the last one read
    for (int i = 0; i < count; ++i) {
        if ((int)Read16(directory + LAYOUT_HEADER_SIZE + i * LAYOUT_ENTRY_SIZE) == searchCode) {
            chosen = i;
            break;
        }
    }
    const unsigned char* entry = directory + LAYOUT_HEADER_SIZE + chosen * LAYOUT_ENTRY_SIZE;
    block->entriesRead = chosen + 1;
    block->entryIndex = chosen;
    block->entryCode = (int)Read16(entry);
    const uint32_t offset = Read32(entry + 2);
    size_t want = Read16(entry + 6);
    if (want > LAYOUT_BLOCK_SIZE) want = LAYOUT_BLOCK_SIZE; // never more than a table holds
    got = want ? read(context, offset, block->data, want) : 0;
    block->size = got > want ? want : got;
    return LAYOUT_READ_OK;
}

int ApplyLayoutBlock(const LayoutBlock* block, LayoutTable* table) {
    const int whole = (int)(block->size / LAYOUT_SLOT_SIZE);
    int copied = 0;
    for (int slot = 0; slot < LAYOUT_SLOTS && slot < whole; ++slot, ++copied) {
        KeyEntry& key = table->keys[slot % LAYOUT_KEYS];
        char* field = slot < LAYOUT_KEYS ? key.scriptNormal : key.scriptShifted;
        CopySlot(field, block->data + slot * LAYOUT_SLOT_SIZE);
    }
    return copied;
}

size_t ReadFromImage(void* image, uint32_t offset, unsigned char* buffer, size_t count) {
    const LayoutImage* file = (const LayoutImage*)image;
    if (offset >= file->size) return 0;
    size_t left = file->size - offset;
    size_t n = count < left ? count : left;
    memcpy(buffer, file->data + offset, n);
    return n;
}
