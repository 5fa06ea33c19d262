// Fuzzes the layout file reader: any bytes as a layout file, read for every
// script code, must neither read outside the image nor write outside the
// table, and every field must stay terminated.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "support/layout_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static unsigned char directory[LAYOUT_DIRECTORY_MAX];
    static LayoutBlock block;
    static LayoutTable table;
    LayoutImage image = {data, size};
    for (int code = 'A'; code <= 'S'; code += 6) {
        memset(&table, 0x5A, sizeof table);
        if (ReadLayoutBlock(ReadFromImage, &image, LayoutSearchCode(code), directory, &block) !=
            LAYOUT_READ_OK)
            continue;
        if (block.size > LAYOUT_BLOCK_SIZE) __builtin_trap();
        ApplyLayoutBlock(&block, &table);
        for (const KeyEntry& key : table.keys)
            if (key.scriptNormal[8] != 0x5A && memchr(key.scriptNormal, 0, 9) == nullptr)
                __builtin_trap();
    }
    return 0;
}
