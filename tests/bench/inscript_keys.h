// The Inscript keys as a typist meets them: which key (scan code and Shift)
// types an ISCII code, and which character the key carries on a US keyboard.
// Portable: the bench runs it natively, the soak test under Wine. The table
// is read from the layout file INSKBD.BIN with the driver's own reader, so
// both see the codes the driver's Inscript keyboard types.
#ifndef NK_INSCRIPT_KEYS_H
#define NK_INSCRIPT_KEYS_H

#include <stddef.h>
#include <stdint.h>

#include "include/nelkor.h"

struct InscriptKey {
    uint8_t scan; // scan code, the index into the layout table
    bool shift;
};

// Which key types each single ISCII code; a code that only a key of several
// codes types (Shift+4 types RA and halant) has none.
struct KeyFinder {
    InscriptKey byCode[256];
    bool known[256];
};

// Fills table (its script fields; the English fields stay empty) from the
// layout file's block for script. False when the file cannot be read.
bool LoadLayoutFile(const char* path, int script, LayoutTable* table);

// Unshifted keys win over shifted ones; the Esc position (scan 1, a copy of
// the grave key) is never chosen.
void BuildKeyFinder(const LayoutTable& table, KeyFinder* finder);

// The keys that type an ISCII word, one per code; ATR pairs (0xEF and the
// byte after it, a script switch) are skipped. Returns the key count, or -1
// when a code has no key or the word needs more than maxKeys keys.
int WordKeys(const KeyFinder& finder, const unsigned char* iscii, InscriptKey* keys, int maxKeys);

// The character a key types on a US keyboard ('\0' for none).
char UsKeyChar(int scan, bool shift);

// The virtual-key code of a layout key on a US keyboard (0 for none).
int UsVirtualKey(int scan);

#endif // NK_INSCRIPT_KEYS_H
