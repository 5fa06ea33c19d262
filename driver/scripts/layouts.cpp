// Keyboard layouts: the built-in Inscript table, layout files, the typewriter
// converter binding and the switch key.
#include "driver/engine/engine.h"

// The Inscript layout with ISCII codes. Scan codes 0, 14, 15, 28, 29 and 42
// have no entry; scan code 1 repeats 41. The unshifted digit row types ASCII
// digits.
const LayoutTable inscriptTable = {{
    {"", "", "", ""}, // 0
    {"`", "~", "\xE4", "\xAF"}, // 1
    {"1", "!", "\x31", "\xAE"}, // 2
    {"2", "@", "\x32", "\xE3"}, // 3
    {"3", "#", "\x33", "\xE8""\xCF"}, // 4
    {"4", "$", "\x34", "\xCF""\xE8"}, // 5
    {"5", "%", "\x35", "\xBA""\xE8""\xBC"}, // 6
    {"6", "^", "\x36", "\xC2""\xE8""\xCF"}, // 7
    {"7", "&", "\x37", "\xB3""\xE8""\xD6"}, // 8
    {"8", "*", "\x38", "\xD5""\xE8""\xCF"}, // 9
    {"9", "(", "\x39", "\x28"}, // 10
    {"0", ")", "\x30", "\x29"}, // 11
    {"-", "_", "\x2D", "\xA3"}, // 12
    {"=", "+", "\xDF", "\xAA"}, // 13
    {"", "", "", ""}, // 14
    {"", "", "", ""}, // 15
    {"q", "Q", "\xE6", "\xB1"}, // 16
    {"w", "W", "\xE2", "\xAD"}, // 17
    {"e", "E", "\xDA", "\xA5"}, // 18
    {"r", "R", "\xDC", "\xA7"}, // 19
    {"t", "T", "\xDE", "\xA9"}, // 20
    {"y", "Y", "\xCA", "\xCB"}, // 21
    {"u", "U", "\xD8", "\xB7"}, // 22
    {"i", "I", "\xB5", "\xB6"}, // 23
    {"o", "O", "\xC4", "\xC5"}, // 24
    {"p", "P", "\xBA", "\xBB"}, // 25
    {"[", "{", "\xBF", "\xC0"}, // 26
    {"]", "}", "\xE9", "\xBC"}, // 27
    {"", "", "", ""}, // 28
    {"", "", "", ""}, // 29
    {"a", "A", "\xE5", "\xB0"}, // 30
    {"s", "S", "\xE1", "\xAC"}, // 31
    {"d", "D", "\xE8", "\xA4"}, // 32
    {"f", "F", "\xDB", "\xA6"}, // 33
    {"g", "G", "\xDD", "\xA8"}, // 34
    {"h", "H", "\xC8", "\xC9"}, // 35
    {"j", "J", "\xCF", "\xD0"}, // 36
    {"k", "K", "\xB3", "\xB4"}, // 37
    {"l", "L", "\xC2", "\xC3"}, // 38
    {";", ":", "\xB8", "\xB9"}, // 39
    {"'", "\"", "\xBD", "\xBE"}, // 40
    {"`", "~", "\xE4", "\xAF"}, // 41
    {"", "", "", ""}, // 42
    {"\\", "|", "\xE7", "\xB2"}, // 43
    {"z", "Z", "\xE0", "\xAB"}, // 44
    {"x", "X", "\xA2", "\xA1"}, // 45
    {"c", "C", "\xCC", "\xC1"}, // 46
    {"v", "V", "\xC6", "\xC7"}, // 47
    {"b", "B", "\xD4", "\xD3"}, // 48
    {"n", "N", "\xD1", "\xD2"}, // 49
    {"m", "M", "\xD7", "\xD5"}, // 50
    {",", "<", "\x2C", "\xD6"}, // 51
    {".", ">", "\x2E", "\xEA"}, // 52
    {"/", "?", "\xCD", "\xCE"}, // 53
}};

// Per process: the table filled from layout files.
static LayoutTable loadedTable = inscriptTable;

/* ---------------- _LKT ---------------- */
extern "C" LayoutTable* _LKT(char* path, int kind) {
    (void)path;
    shared.keyboardKind = kind == KBD_TYPEWRITER ? KBD_TYPEWRITER : KBD_INSCRIPT;
    shared.layoutTable = (LayoutTable*)&inscriptTable;
    return shared.layoutTable;
}

/* ---------------- FillKeyboardTable ---------------- */
extern "C" LayoutTable* FillKeyboardTable(const char* path) {
    (void)path;
    return &loadedTable;
}

/* ---------------- SetConverter1 ---------------- */
extern "C" int SetConverter1(const char* path) {
    CopyText(shared.converterFileName, sizeof shared.converterFileName, path ? path : "");
    return shared.converterFileName[0] == 0 ? 1 : 0;
}

/* ---------------- SetSwitchKey ---------------- */
// The new key is toggled on before the old one is cleared, so choosing the
// key that is already the switch key leaves it toggled off.
extern "C" int SetSwitchKey(int virtualKey) {
    BYTE state[256];
    GetKeyboardState(state);
    int oldKey = shared.switchKey;
    shared.switchKey = virtualKey;
    state[virtualKey & 0xFF] = 1;
    state[oldKey & 0xFF] = 0;
    return SetKeyboardState(state);
}

/* ---------------- GetSwitchKey ---------------- */
extern "C" int GetSwitchKey(void) { return shared.switchKey; }
