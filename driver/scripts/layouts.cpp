// Keyboard layouts: the built-in Inscript table, layout files, the typewriter
// converter binding and the switch key.
#include <string.h>

#include "driver/engine/engine.h"
#include "support/layout_file.h"
#include "driver/scripts/layouts.h"

// The Inscript layout with ISCII codes. Scan codes 0, 14, 15, 28, 29 and 42
// have no entry; scan code 1 repeats 41. The unshifted digit row types ASCII
// digits.
// clang-format off
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
// clang-format on

// Per process: the table filled from layout files. It starts as a copy of
// the Inscript table, so it is a complete, usable table before any load.
static LayoutTable loadedTable = inscriptTable;

// Per process: the typewriter converter bound here (see layouts.h).
static HMODULE converterModuleHere;
static MakeIsciiFn converterEntryHere;
static char converterPathHere[NK_CONVERTER_NAME_SIZE]; // the file it was loaded from
static bool converterRefusedHere;                      // the last name was refused
static bool layoutRefusedHere;                         // the last layout file was refused
// The last layout file reported as unreadable in this process.
static char layoutReportedHere[NK_TRUSTED_PATH_SIZE];
// The file loadedTable was last filled from (or tried), as it was then.
static struct {
    bool known;
    bool refused;
    char name[NK_MODULE_DIR_SIZE + NK_CONVERTER_NAME_SIZE]; // as asked for
    char trusted[NK_TRUSTED_PATH_SIZE];                     // as opened
    FileStamp stamp;
    int searchCode;
} loadedIdentity;

// Per process scratch of the file reader: the hook reloads file layouts at
// every key-down, so nothing is allocated.
static unsigned char directoryBuffer[LAYOUT_DIRECTORY_MAX];
static LayoutBlock blockBuffer;

namespace {

const char kInscriptName[] = "INSKBD.BIN";
const char kPhoneticName[] = "PEKBD.BIN";
const char kUkName[] = "UKKBD.BIN";
enum { kFullPathSize = NK_MODULE_DIR_SIZE + NK_CONVERTER_NAME_SIZE };

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

// Case-insensitive: moduleDirectory keeps the case the system gave it.
bool BeginsWithIgnoringCase(const char* text, const char* start) {
    for (; *start; ++text, ++start)
        if (UpperAscii(*text) != UpperAscii(*start)) return false;
    return true;
}

bool HasDirectory(const char* path) {
    return strchr(path, '\\') || strchr(path, '/') || strchr(path, ':');
}

/* layoutPath holds 39 characters. A longer path to a file of the program
   directory is kept as the bare file name, which FillKeyboardTable finds in
   moduleDirectory again, so that the hook's reload at the next key still
   reads the same file; any other longer path is cut (the field holds no
   more). */
void StoreLayoutPath(const char* path) {
    const size_t length = strlen(path);
    const size_t dirLength = BoundedLength(shared.moduleDirectory, sizeof shared.moduleDirectory);
    if (length >= NK_LAYOUT_PATH_SIZE && dirLength > 0 && length > dirLength &&
        length - dirLength < NK_LAYOUT_PATH_SIZE &&
        BeginsWithIgnoringCase(path, shared.moduleDirectory) && !HasDirectory(path + dirLength)) {
        path += dirLength;
    }
    CopyText(shared.layoutPath, sizeof shared.layoutPath, path);
}

/* A bare file name is a file of the program directory (hooked applications
   have their own current directories). */
void ResolveLayoutPath(const char* path, char* full, size_t fullSize) {
    full[0] = 0;
    if (!HasDirectory(path)) CopyText(full, fullSize, shared.moduleDirectory);
    AppendText(full, fullSize, path);
}

size_t ReadFileAt(void* context, uint32_t offset, unsigned char* buffer, size_t count) {
    HANDLE file = (HANDLE)context;
    LONG high = 0;
    if (SetFilePointer(file, (LONG)offset, &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return 0;
    DWORD got = 0;
    if (!ReadFile(file, buffer, (DWORD)count, &got, nullptr)) return 0;
    return got;
}

/* The English fields follow the user's keyboard: OemKeyScan names the key
   and whether Shift is needed (bit 0 of the high word on the NT family, bit 1
   on the 95 family). */
void RefreshEnglishFields(LayoutTable* table) {
    const bool ntFamily = (GetVersion() & 0x80000000u) == 0;
    for (int c = '!'; c <= '~'; ++c) {
        const DWORD answer = OemKeyScan((WORD)c);
        if (answer == 0xFFFFFFFFu) continue;
        const unsigned scan = LOWORD(answer);
        if (scan >= LAYOUT_KEYS) continue;
        const bool shifted = (HIWORD(answer) & (ntFamily ? 1 : 2)) != 0;
        KeyEntry& key = table->keys[scan];
        char* field = shifted ? key.englishShifted : key.englishNormal;
        field[0] = (char)c;
        field[1] = 0;
    }
}

/* "NELKOR - Cannot Access" for a layout file that cannot be read. Hooked
   programs reload the file at every key: the manager reports each new name
   once, a hooked program the first one (ShowDriverBox). */
void ReportUnreadableLayout(const char* shownName) {
    if (lstrcmpiA(layoutReportedHere, shownName) == 0) return;
    CopyText(layoutReportedHere, sizeof layoutReportedHere, shownName);
    ShowDriverBox(shownName, "NELKOR - Cannot Access", MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

/* What _LKT does with a path and a kind, apart from reading: the canonical
   path of the Inscript and Phonetic English files (written back into path),
   layoutPath, the keyboard kind. full receives the file to read; returns true
   when the file is one of Phonetic English. */
bool ChooseLayout(char* path, int kind, char* full, size_t fullSize) {
    UpperCaseText(path);
    const char* canonical = ContainsText(path, kInscriptName)   ? kInscriptName
                            : ContainsText(path, kPhoneticName) ? kPhoneticName
                                                                : nullptr;
    if (canonical) {
        CopyText(full, fullSize, shared.moduleDirectory);
        AppendText(full, fullSize, canonical);
        StoreLayoutPath(full);
        CopyText(path, NK_LAYOUT_PATH_SIZE, shared.layoutPath);
    } else {
        CopyText(full, fullSize, path);
        StoreLayoutPath(full);
    }

    if (kind == KBD_TYPEWRITER)
        shared.keyboardKind = KBD_TYPEWRITER;
    else if (ContainsText(full, kInscriptName))
        shared.keyboardKind = KBD_INSCRIPT;
    else if (ContainsText(full, kPhoneticName))
        shared.keyboardKind = KBD_PHONETIC;
    else if (ContainsText(full, kUkName))
        shared.keyboardKind = KBD_UK_INSCRIPT;
    else
        shared.keyboardKind = KBD_OTHER;
    return canonical == kPhoneticName;
}

bool ReadsLayoutFile(int kind) {
    return kind == KBD_PHONETIC || kind == KBD_TYPEWRITER;
}

/* Whether loadedTable holds the file as it is now, read for the present
   script: the same name, the same size and last write time. A file that was
   missing or refused and still is counts as current too: it is not tried,
   nor reported, again at every key. */
bool LayoutCurrent(const char* path) {
    char full[kFullPathSize];
    ResolveLayoutPath(path, full, sizeof full); // as FillKeyboardTable names it
    if (!loadedIdentity.known || lstrcmpiA(full, loadedIdentity.name) != 0 ||
        LayoutSearchCode(shared.activeScript) != loadedIdentity.searchCode)
        return false;
    if (loadedIdentity.refused) return true;
    return SameStamp(StampFile(loadedIdentity.trusted), loadedIdentity.stamp);
}

} // namespace

bool ConverterRefused(void) {
    return converterRefusedHere;
}

bool LayoutRefused(void) {
    return layoutRefusedHere;
}

bool ConverterBoundFrom(const char* path) {
    return converterEntryHere && path && path[0] && lstrcmpiA(converterPathHere, path) == 0;
}

MakeIsciiFn BoundConverterEntry(void) {
    return converterEntryHere;
}

const LayoutTable* ActiveLayoutTable(void) {
    const int kind = shared.keyboardKind;
    return kind == KBD_PHONETIC || kind == KBD_TYPEWRITER ? &loadedTable : &inscriptTable;
}

/* ---------------- _LKT ---------------- */
// path: a writable buffer of at least NK_LAYOUT_PATH_SIZE bytes; it may be
// shared.layoutPath itself. It is upper-cased, and for the Inscript and
// Phonetic English files it receives the canonical path. The file of kinds
// 161 and 162 is read every time.
extern "C" LayoutTable* _LKT(char* path, int kind) {
    char none[1] = "";
    if (!path) path = none;
    shared.rulesReloadPending = 0;
    shared.layoutLoaded = 1;
    char full[kFullPathSize]; // the file to read; layoutPath names it in 39 characters
    if (ChooseLayout(path, kind, full, sizeof full)) shared.rulesReloadPending = 1;
    if (ReadsLayoutFile(shared.keyboardKind))
        shared.layoutTable = FillKeyboardTable(full);
    else
        shared.layoutTable = (LayoutTable*)&inscriptTable;
    return shared.layoutTable;
}

const LayoutTable* RefreshLayoutForKey(int kind) {
    char full[kFullPathSize];
    ChooseLayout(shared.layoutPath, kind, full, sizeof full);
    shared.layoutLoaded = 1;
    if (!ReadsLayoutFile(shared.keyboardKind)) {
        shared.layoutTable = (LayoutTable*)&inscriptTable;
        return &inscriptTable;
    }
    if (!LayoutCurrent(full)) FillKeyboardTable(full);
    shared.layoutTable = &loadedTable;
    return &loadedTable;
}

/* ---------------- FillKeyboardTable ---------------- */
// Always returns the loaded table. A file that cannot be opened, or that lies
// outside the program folder (not opened at all), is reported and the table
// keeps its contents (the Inscript layout until a file loads); a damaged file
// fills only what it wholly holds.
extern "C" LayoutTable* FillKeyboardTable(const char* path) {
    char full[kFullPathSize];
    ResolveLayoutPath(path ? path : "", full, sizeof full);
    char trusted[NK_TRUSTED_PATH_SIZE];
    layoutRefusedHere = !ResolveTrustedFile(full, sizeof full, trusted, sizeof trusted);
    // What is read now, stamped before the read: a change during it shows at
    // the next key.
    loadedIdentity.known = true;
    loadedIdentity.refused = layoutRefusedHere;
    CopyText(loadedIdentity.name, sizeof loadedIdentity.name, full);
    DiskCasePath(trusted, loadedIdentity.trusted, sizeof loadedIdentity.trusted);
    loadedIdentity.stamp = StampFile(loadedIdentity.trusted);
    loadedIdentity.searchCode = LayoutSearchCode(shared.activeScript);
    HANDLE file = layoutRefusedHere
                      ? INVALID_HANDLE_VALUE
                      : CreateFileA(trusted, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ReportUnreadableLayout(full);
        return &loadedTable;
    }
    layoutReportedHere[0] = 0; // read again: a later failure is news
    const int searchCode = LayoutSearchCode(shared.activeScript);
    if (ReadLayoutBlock(ReadFileAt, file, searchCode, directoryBuffer, &blockBuffer) ==
        LAYOUT_READ_OK)
        ApplyLayoutBlock(&blockBuffer, &loadedTable);
    CloseHandle(file);
    RefreshEnglishFields(&loadedTable);
    return &loadedTable;
}

/* ---------------- SetConverter1 ---------------- */
// path may be shared.converterFileName itself (the hook passes it). Only a
// module of the program folder is loaded; another is refused silently.
extern "C" int SetConverter1(const char* path) {
    if (converterModuleHere) FreeLibrary(converterModuleHere);
    converterModuleHere = nullptr;
    converterEntryHere = nullptr;
    converterPathHere[0] = 0;
    converterRefusedHere = false;
    shared.converterModule = nullptr;
    shared.converterEntry = nullptr;
    char name[NK_CONVERTER_NAME_SIZE];
    CopyText(name, sizeof name, path ? path : ""); // path may change under us
    CopyText(shared.converterFileName, sizeof shared.converterFileName, name);
    if (name[0] == 0) return 1; // no converter
    char trusted[NK_TRUSTED_PATH_SIZE];
    if (!ResolveTrustedFile(name, sizeof name, trusted, sizeof trusted)) {
        converterRefusedHere = true;
        return 0;
    }
    converterModuleHere = LoadLibraryA(trusted);
    shared.converterModule = converterModuleHere;
    if (!converterModuleHere) return 0;
    converterEntryHere = (MakeIsciiFn)(void*)GetProcAddress(converterModuleHere, "make_iscii");
    shared.converterEntry = converterEntryHere;
    if (converterEntryHere) {
        CopyText(converterPathHere, sizeof converterPathHere, name);
        return 1;
    }
    ShowDriverBox("Unable to Get Address", "TAV", MB_OKCANCEL);
    FreeLibrary(converterModuleHere);
    converterModuleHere = nullptr;
    shared.converterModule = nullptr;
    return 0;
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
extern "C" int GetSwitchKey(void) {
    return shared.switchKey;
}
