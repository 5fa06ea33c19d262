// Internal routines of the keystroke engine that other files of the driver
// call. Windows-only.
#ifndef NK_ENGINE_H
#define NK_ENGINE_H

#include "driver/engine/shared_state.h"

// Compose a character key in script mode: the key's codes are appended to
// the word, the word is converted again and only what changed is typed into
// msg->hwnd. Returns the hook's result for the key-down.
int ComposeKey(MSG* msg);

// Recompose the word as it now stands (Backspace joins here) and type what
// changed. Returns the hook's result for the key-down.
int RecomposeWord(MSG* msg);

// Detect the category of the active window from activeTitle; sets
// lastActiveWindow, wordTitleFlag and the category flags.
void DetectCategory(void);

// Application categories, named by the application that first needed each
// behaviour; titles that match no known application get the user's default.
enum AppCategory {
    CATEGORY_PLAIN = 0,         // also the title "Word Pro"
    CATEGORY_WRITE = 1,         // Write, PowerPoint
    CATEGORY_WORDPERFECT = 2,
    CATEGORY_PUBLISHER = 3,
    CATEGORY_EXCEL = 4,
    CATEGORY_PARADOX = 5,
    CATEGORY_COREL_VENTURA = 6, // drops runs of equal key-downs
    CATEGORY_CORELDRAW = 7,     // and "Edit Text"
    CATEGORY_QUARK = 8,
    CATEGORY_AMIPRO = 9,
    CATEGORY_VENTURA = 10,      // no hyphens
    CATEGORY_WORD = 11,         // PageMaker, Word, Access, INSCRIBER
    CATEGORY_OVERLAY = 12,      // the manager's keyboard overlay
    CATEGORY_FREELANCE = 13,    // auto-repeat types
    CATEGORY_LAST = CATEGORY_FREELANCE,
    CATEGORY_123 = 100          // the title "1-2-3", beside the others
};

// Whether the flags now set are those of category (none are before the first
// detection).
bool CategoryIs(int category);

// Send the category's sequence that erases one glyph before the caret.
void EraseOneGlyph(HWND window);

// Post one glyph as a character in the category's form.
void TypeOneGlyph(HWND window, unsigned char glyph);

// Make the application's font dialog choose the active script's default font
// (word processors that are known to take the shortcut keys).
void SelectFontInApplication(const char* title);

// Font dialog for a standard control; fills font and returns non-zero when
// the user chose a font.
int ChooseControlFont(HWND owner, LOGFONTA* font);

// The manager's main window: looked up by its class "LoraTAV" whenever none
// is known or the one known has gone (the manager was restarted while hooked
// processes kept the shared state alive).
HWND ManagerWindow(void);

// The text of the manager's title for the present script and mode.
const char* ComposeManagerTitle(void);

// Set the manager's window title to ComposeManagerTitle().
void RefreshManagerTitle(void);

// Publish the adapter module file name of a script for hooked processes.
void PublishAdapterName(int code);

// Copy the available script codes into buffer; returns their length.
int CopyAvailableScripts(char* buffer, int size);

// A message box of the driver over the focused window. In the manager's
// process every call shows it; in a hooked program each caption is shown
// once (0 is returned for the boxes not shown).
int ShowDriverBox(const char* text, const char* caption, UINT flags);

// The canonical folder of the running nelkor.dll, with its trailing
// backslash; "" when it cannot be found (then no file is trusted).
const char* DriverProgramFolder(void);

// A name read from a field of fieldSize bytes, resolved to the full path of a
// file in DriverProgramFolder() or a folder below it; false refuses it.
bool ResolveTrustedFile(const char* name, size_t fieldSize, char* full, size_t fullSize);

// moduleDirectory + fileName (a plain file name), resolved as above.
bool ResolveModuleDirectoryFile(const char* fileName, char* full, size_t fullSize);

// What tells a file's contents apart between two keys without reading it:
// whether it exists, its size and its last write time.
struct FileStamp {
    bool present;
    DWORD sizeHigh, sizeLow;
    FILETIME written;
};
FileStamp StampFile(const char* path);

// A trusted path spelt as the disk spells it (the program folder as the
// system gave it, the file name as found): a file system that tells case
// apart then finds it at once when it is stamped at every key.
void DiskCasePath(const char* trusted, char* out, size_t outSize);
bool SameStamp(const FileStamp& a, const FileStamp& b);

// The rule file of a direction of ascii2iscii_init, as a key sees it:
// trusted when it lies in the program folder (it may still be missing);
// current when the rules of the direction are loaded in this process from
// the file as it is now (same file, size and last write time), so that
// nothing needs reading again. One path resolution and one stamp per call.
enum { kRulesIsciiToRoman = 0, kRulesRomanToIscii = 1 };
struct RuleFileState {
    bool trusted;
    bool current;
};
RuleFileState CheckRuleFile(int direction);

// The built-in Inscript layout.
extern const LayoutTable inscriptTable;

#endif // NK_ENGINE_H
