// How the adapter tests name the glyphs they expect: by glyph-table key, so
// that a case holds whatever codes the tables give.
#ifndef NK_TESTS_GLYPH_KEYS_H
#define NK_TESTS_GLYPH_KEYS_H

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "include/nelkor.h"
#include "modules/common/glyph_inventory.h"
#include "modules/common/indic_syllable.h"
#include "tests/harness/hex_text.h"

// "B3+E8" -> the key's bytes; R, N, G, H, P and B stand for the reph, the
// other anusvara, the gemination mark, the headless-body, the placed-mark and
// the base-form tokens.
inline std::string GlyphKeyBytes(const std::string& key) {
    std::string bytes;
    size_t start = 0;
    while (start <= key.size()) {
        const size_t plus = key.find('+', start);
        const std::string part = key.substr(start, plus == std::string::npos ? plus : plus - start);
        bytes += part == "R"   ? (char)kTokenReph
                 : part == "N" ? (char)kTokenAltAnusvara
                 : part == "G" ? (char)kTokenGemination
                 : part == "H" ? (char)kTokenHeadless
                 : part == "P" ? (char)kTokenPlaced
                 : part == "B" ? (char)kTokenBaseForm
                               : (char)strtol(part.c_str(), nullptr, 16);
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    return bytes;
}

// The output expected for glyph keys: each glyph's code, followed by its
// font set when withSets. "'a" is an ASCII character passed through (set
// '0'). A key the inventory lacks gives a text that matches no output.
inline std::string ExpectedGlyphs(const GlyphInventory& inventory,
                                  const std::vector<std::string>& keys, bool withSets) {
    std::string out;
    for (const std::string& key : keys) {
        if (key.size() == 2 && key[0] == '\'') {
            out += key[1];
            if (withSets) out += '0';
            continue;
        }
        const std::string bytes = GlyphKeyBytes(key);
        const GlyphEntry* entry =
            FindKey(inventory, (const unsigned char*)bytes.data(), (int)bytes.size());
        if (!entry) return "no glyph for " + key;
        // A key may draw its glyph followed by others (entry->then).
        out += (char)entry->code;
        if (withSets) out += (char)entry->set;
        for (int k = 0; k < kGlyphThenMax && entry->then[k]; ++k) {
            out += (char)entry->then[k];
            if (withSets) out += (char)entry->set;
        }
    }
    return out;
}

// One syllable through the adapter entry as the engine calls it (mode 0):
// the glyph codes it writes, each followed by its set when withSets, and
// the bytes it takes into consumed.
inline std::string SyllableGlyphs(const IndicScript& script, const char* iscii,
                                  int32_t* consumed, bool withSets) {
    unsigned char out[NK_ADAPTER_OUT_MAX];
    memset(out, 0xCC, sizeof out); // an output left unterminated shows as CC
    int32_t length = 0;
    *consumed = 0;
    IndicAdapterEntry(script, (const unsigned char*)iscii, out, consumed, &length, 0);
    std::string glyphs;
    for (int k = 0; k + 1 < NK_ADAPTER_OUT_MAX && out[k]; k += 2) {
        glyphs += (char)out[k];
        if (withSets) glyphs += (char)out[k + 1];
    }
    return glyphs;
}

#endif // NK_TESTS_GLYPH_KEYS_H
