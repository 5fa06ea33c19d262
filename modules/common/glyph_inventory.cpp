#include "modules/common/glyph_inventory.h"

#include <string.h>

namespace {

struct EntryRange {
    int begin, end;
};

// The entries that may start with byte b: its slice of the index, clamped to
// the table, or the whole table without an index.
EntryRange EntriesStartingWith(const GlyphInventory& inventory, unsigned char b) {
    if (!inventory.byFirstByte) return {0, inventory.count};
    int begin = inventory.byFirstByte[b], end = inventory.byFirstByte[b + 1];
    if (end > inventory.count) end = inventory.count;
    if (begin > end) begin = end;
    return {begin, end};
}

} // namespace

const GlyphEntry* LongestKeyAt(const GlyphInventory& inventory, const unsigned char* text,
                               int length, int pos, KeyFitFn fits, const void* context) {
    const GlyphEntry* best = nullptr;
    if (pos < 0 || pos >= length) return nullptr;
    const EntryRange range = EntriesStartingWith(inventory, text[pos]);
    for (int i = range.begin; i < range.end; ++i) {
        const GlyphEntry& entry = inventory.entries[i];
        int n = entry.keyLength;
        if (n == 0 || n > length - pos || (best && n <= best->keyLength)) continue;
        if (memcmp(entry.key, text + pos, (size_t)n) != 0) continue;
        if (fits && !fits(text, length, pos + n, entry, context)) continue;
        best = &entry;
    }
    return best;
}

const GlyphEntry* FindKey(const GlyphInventory& inventory, const unsigned char* key, int length) {
    if (length < 1) return nullptr;
    const EntryRange range = EntriesStartingWith(inventory, key[0]);
    for (int i = range.begin; i < range.end; ++i) {
        const GlyphEntry& entry = inventory.entries[i];
        if (entry.keyLength == length && memcmp(entry.key, key, (size_t)length) == 0) return &entry;
    }
    return nullptr;
}

void BeginPairs(PairWriter& writer, unsigned char* out, int capacity) {
    writer.out = out;
    writer.used = 0;
    writer.capacity = capacity;
    if (out && capacity > 0) out[0] = 0;
}

void PutGlyph(PairWriter& writer, unsigned char code, unsigned char set) {
    // Two bytes for the pair and one for the terminator must fit.
    if (!writer.out || writer.used + 3 > writer.capacity || code == 0) return;
    writer.out[writer.used++] = code;
    writer.out[writer.used++] = set;
    writer.out[writer.used] = 0;
}

void PutEntry(PairWriter& writer, const GlyphEntry* entry) {
    if (!entry) return;
    PutGlyph(writer, entry->code, entry->set);
    for (int k = 0; k < kGlyphThenMax && entry->then[k]; ++k)
        PutGlyph(writer, entry->then[k], entry->set);
}
