// The exported interface of nelkor.dll, the keyboard driver.
//
// Shared by the driver, the manager (davrin.exe), the script modules and the
// tests. Everything here is plain C-compatible data and C-style functions; the
// export names come from driver/nelkor.def so that both builds carry exactly
// these names.
#ifndef NELKOR_H
#define NELKOR_H

#include <stdint.h>

#ifndef _WIN32
#define __cdecl // portable builds: the default calling convention
#endif

// ---------------------------------------------------------------------------
// Script codes: one capital letter, 'A' to 'S'; 0 means no script. A code is
// also the manager's menu command id of the script and the key of layout file
// blocks.
enum {
    SCRIPT_NONE = 0,
    SCRIPT_ROMAN = 'A',
    SCRIPT_DEVANAGARI = 'B',
    SCRIPT_BENGALI = 'C',
    SCRIPT_TAMIL = 'D',
    SCRIPT_TELUGU = 'E',
    SCRIPT_ASSAMESE = 'F',
    SCRIPT_ORIYA = 'G',
    SCRIPT_KANNADA = 'H',
    SCRIPT_MALAYALAM = 'I',
    SCRIPT_GUJARATI = 'J',
    SCRIPT_PUNJABI = 'K',
    SCRIPT_UNUSED_L = 'L',
    SCRIPT_TIBETAN = 'M',
    SCRIPT_DZONGKHA = 'N',
    SCRIPT_THAI = 'O',
    SCRIPT_SINHALA = 'P',
    SCRIPT_SLTAMIL = 'Q',
    SCRIPT_SANSKRIT = 'R',
    SCRIPT_UNUSED_S = 'S',
    SCRIPT_FIRST = 'A',
    SCRIPT_LAST = 'S'
};

// Keyboard kinds; the values double as the manager's keyboard command ids.
enum {
    KBD_INSCRIPT = 160,   // built-in Inscript table
    KBD_PHONETIC = 161,   // "PEKBD.BIN" + transliteration rules
    KBD_TYPEWRITER = 162, // layout file + typewriter converter module
    KBD_OTHER = 163,      // any other layout file (types with Inscript)
    KBD_UK_INSCRIPT = 164 // "UKKBD.BIN": Inscript with vowel-sign remapping
};

// Typing modes. The switch key flips the low bit; disabling adds 2.
enum { MODE_SCRIPT = 0, MODE_ENGLISH = 1, MODE_DISABLED_SCRIPT = 2, MODE_DISABLED_ENGLISH = 3 };

// ---------------------------------------------------------------------------
// Layout table: 54 key entries in scan-code order, four 9-byte NUL-terminated
// strings each. The manager's overlay reads tables in place through the
// pointer _LKT returns, so the layout is fixed to the byte.
enum { KEY_TEXT_SIZE = 9, LAYOUT_KEYS = 54 };

typedef struct KeyEntry {
    char englishNormal[KEY_TEXT_SIZE];
    char englishShifted[KEY_TEXT_SIZE];
    char scriptNormal[KEY_TEXT_SIZE];
    char scriptShifted[KEY_TEXT_SIZE];
} KeyEntry;

typedef struct LayoutTable {
    KeyEntry keys[LAYOUT_KEYS];
} LayoutTable;

#ifdef __cplusplus
static_assert(sizeof(KeyEntry) == 36, "a key entry is 36 bytes");
static_assert(sizeof(LayoutTable) == 1944, "a layout table is 1944 bytes");
#endif

// ---------------------------------------------------------------------------
// Script module contract.
//
// A font adapter module exports one conversion entry per script named
// "iscii2" + converter name + NK_ADAPTER_SUFFIX, all lower case, for example
// "iscii2devglf". Arguments: NUL-terminated ISCII input; output buffer;
// in/out consumed count; in/out length; mode.
//   mode 0: convert the syllable at the start of the input, write its pair
//           string (glyph code, font-set byte '0'/'1', ...) NUL-terminated,
//           store the number of input bytes consumed (at least 1 while input
//           remains);
//   mode 4: the whole word, before the syllable calls; nothing relied on;
//   mode 1: *length holds the multiple-sets option (Tibetan, Dzongkha);
//   mode 3: *length holds the last Indic script code (Roman);
//   mode 5: *length holds Roman capitals (0 lower, 1 upper, 2 initial caps);
//   mode 6: *length holds the Roman accent option (0 off, 1 on).
// A module never writes more than NK_ADAPTER_OUT_MAX bytes (terminator
// included) to the output in any mode; the driver still checks every result.
// Entries are cdecl (the caller cleans the stack) in both builds.
#define NK_ADAPTER_SUFFIX "glf"
enum { NK_ADAPTER_OUT_MAX = 64 };
typedef int(__cdecl* AdapterEntryFn)(const unsigned char* text, unsigned char* out,
                                     int32_t* consumed, int32_t* length, int32_t mode);

// A typewriter converter module exports "make_iscii" (typed layout text in,
// NUL-terminated ISCII out; the output holds at most NK_CONVERTER_OUT_MAX bytes
// with its terminator) and "get_kbd_name" (writes the layout's display name
// into a 260-byte buffer). Both cdecl.
enum { NK_CONVERTER_OUT_MAX = 256, NK_KBD_NAME_SIZE = 260 };
typedef int(__cdecl* MakeIsciiFn)(const unsigned char* text, unsigned char* out);
typedef int(__cdecl* GetKbdNameFn)(char* name);

// ---------------------------------------------------------------------------
// Driver exports. Only compiled where windows.h is available.
#ifdef _WIN32
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Load, hooks, unload.
int Nelkor_Entry(HINSTANCE module);
int WEP(void);
LRESULT CALLBACK _MF(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK _SMP(int code, WPARAM wParam, LPARAM lParam);
int _CIM(void);

// Application support.
void SetDefAppCategory(int category);
int AMIProTable(int value);
int MSWordIsGettingInputFocus(void);
void PostVirtualKeyEvent(BYTE virtualKey, int release);

// Scripts.
int _AS(int code);
AdapterEntryFn SetConverter(void);
int SetAvailScripts(const char* codes, const char* prefixes);

// Layouts.
LayoutTable* _LKT(char* path, int kind);
LayoutTable* FillKeyboardTable(const char* path);
int SetConverter1(const char* path);
int SetSwitchKey(int virtualKey);
int GetSwitchKey(void);

// Options.
void _SetRomanEOAccent(int on);
int _RMN(int command);
int _HYP(int on);
int _MS(int on);
int SetDualFont(int on, int reactivate);
int _AI(int enable);
int _SCL(int on);
int PellEnable(int on);
int _A2I(const char* text, char* output, int32_t* state, int32_t* parameter);

// Transliteration.
int ascii2iscii_init(int direction);
int ascii2iscii_convert_str(char* source, char* destination, int limit, int mode);

// Default fonts.
int LoadDefFonts(HWND dialog);
INT_PTR CALLBACK FontDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Unicode output: non-zero on, 0 off (the initial state). While on, Unicode
// windows receive Unicode text of the active script instead of glyph codes,
// and a script activates without its adapter module. Returns the setting.
int SetUnicodeOutput(int on);

// Diagnostics: the address of the shared state record (driver/engine/shared_state.h)
// in the calling process. Tests use it to read and set fields directly.
void* NelkorSharedState(void);

#ifdef __cplusplus
}
#endif
#endif // _WIN32

#endif // NELKOR_H
