// State of the driver: one record shared by every process that maps
// nelkor.dll, and one record per process.
//
// The shared record lives in the library's shared data section, so the system
// keeps a single copy for the manager and for every hooked application. The
// manager changes it only through exports; the hooks re-read it at every
// message, so a change takes effect everywhere at the next message. No lock
// guards it: keyboard input goes to one thread at a time.
//
// Handles and addresses are pointer-sized so that the 64-bit build is sound;
// an address in the shared record is only meaningful in the process that
// stored it (every process rebinds before use).
#ifndef NK_SHARED_STATE_H
#define NK_SHARED_STATE_H

#include <array>

#include "include/nelkor.h"
#include "driver/engine/limits.h"
#include "support/bounded_text.h"
#include "driver/engine/path_trust.h"

#ifndef _WIN32
// Natively only the record's layout matters (its checks are tested and
// fuzzed there): the handles are opaque.
typedef struct HWND__* HWND;
typedef struct HHOOK__* HHOOK;
typedef struct HINSTANCE__* HMODULE;
typedef struct HFONT__* HFONT;
typedef unsigned char BYTE;
#endif

// Application category flags: after a detection exactly the flags of one
// category are set. Category 0 sets its own flag and the Word Pro flag.
enum {
    CAT_FLAG_WORDPRO = 14, // title "Word Pro", and category 0
    CAT_FLAG_123 = 15,     // title "1-2-3"
    CAT_FLAG_COUNT = 16
};

struct SharedState {
    // Hooks and identity.
    int32_t hookEnabled;
    uint32_t managerThreadId;
    HHOOK getMessageHook;
    HHOOK sysMsgFilterHook;
    HWND managerWindow;

    // Script, layout and converter binding.
    int32_t activeScript;
    char adapterFileName[NK_ADAPTER_NAME_SIZE];
    AdapterEntryFn adapterEntry;
    int32_t keyboardKind;
    char layoutPath[NK_LAYOUT_PATH_SIZE];
    int32_t layoutLoaded;
    LayoutTable* layoutTable;
    char converterFileName[NK_CONVERTER_NAME_SIZE];
    HMODULE converterModule;
    MakeIsciiFn converterEntry;
    int32_t rulesReloadPending;

    // Modes and options.
    int32_t typingMode;
    int32_t switchKey;
    int32_t dualFont;
    int32_t hyphenation;
    int32_t multipleSets;
    int32_t romanCapitals;
    int32_t romanAccent;
    int32_t amiProEscape;
    int32_t defaultAppCategory;

    // Window tracking.
    HWND activeWindow;
    char activeTitle[NK_TITLE_SIZE];
    HWND lastActiveWindow;
    HWND lastFocusWindow;
    char className[NK_CLASS_NAME_SIZE];
    int32_t wordTitleFlag;
    int32_t wordFocusRequest;
    int32_t categoryFlags[CAT_FLAG_COUNT];
    HFONT controlFont;
    int32_t fontDialogDone;

    // Saved switch-key states.
    int32_t savedLockWhileDisabled;
    int32_t inMenuLoop;
    int32_t savedLockInMenu;
    int32_t savedLockForControl;
    int32_t controlLockSaved;

    // Composition buffers of the word being typed.
    char wordIscii[NK_WORD_BUFFER_SIZE];
    char convertedText[NK_CONVERTED_SIZE];
    char syllableOutput[NK_SYLLABLE_OUT_SIZE];
    char newPairs[NK_NEW_PAIRS_SIZE];
    char shownPairs[NK_SHOWN_PAIRS_SIZE];
    char newGlyphs[NK_GLYPHS_SIZE];
    char shownGlyphs[NK_GLYPHS_SIZE];
    int32_t syllableCount;
    int32_t currentSet;
    int32_t setIndex;
    int32_t shiftReleasedForSet;
    int32_t keyHeld;
    int32_t specialCodePending;
    BYTE keyState[256];
    char managerTitle[NK_TITLE_SIZE];

    // Paths.
    char moduleDirectory[NK_MODULE_DIR_SIZE];
    char iniDirectory[NK_INI_DIR_SIZE];

    // Script table companions and scratch.
    char nameScratch[NK_NAME_SCRATCH_SIZE];
    int32_t lastIndicScript;
    char sharedPrefixList[NK_PREFIX_LIST_SIZE];
    char scriptDisplayNames[NK_SCRIPT_SLOTS][NK_DISPLAY_NAME_SIZE];

    // Default fonts, indexed by script code minus 64.
    char scriptFontNames[NK_FONT_SLOTS][NK_FONT_NAME_SIZE];
    char englishFontNames[NK_FONT_SLOTS][NK_FONT_NAME_SIZE];
    char bilingualFontNames[NK_FONT_SLOTS][NK_FONT_NAME_SIZE];
};

#ifdef _WIN32
// Per-process state: meaningful only inside one process.
struct ProcessState {
    HMODULE adapterModule;
    // The conversion entry bound in this process. shared.adapterEntry is the
    // address last bound by any process; the engine only calls this one, and
    // clears it whenever adapterModule is released.
    AdapterEntryFn adapterEntry;
    // The file adapterModule was loaded from, canonical ("" when unknown): a
    // key-down keeps the module while moduleDirectory + adapterFileName still
    // names it.
    char adapterPath[NK_TRUSTED_PATH_SIZE];
    const char* convInput;
    int32_t convConsumed;
    int32_t convOutLength;
    LOGFONTA controlLogFont;
    int32_t shiftWasDown;
    int32_t venturaLastKey;
    int16_t venturaRepeatCount;
    int32_t quietActivation;
    char availableScripts[NK_AVAILABLE_SCRIPTS_SIZE];
    char availablePrefixes[NK_AVAILABLE_PREFIXES_SIZE];
    // The font this process made for a control after a right click; only
    // this one is ever deleted here (shared.controlFont may name any object).
    HFONT controlFont;
    // This process called Nelkor_Entry: it is the manager's.
    int32_t isManager;
    // At the last key-down a file the present script or keyboard needs was
    // refused (outside the program folder): keys pass as in English.
    int32_t sourceRefused;
    // At the last key-down the Phonetic rules loaded here were those of the
    // rule file as it is on disk.
    int32_t rulesCurrent;
};

extern ProcessState proc;
#endif

extern SharedState shared;

// Virtual-key code to ISCII extended code, used with the Clear key. Constant
// data, the same in every process.
extern const std::array<unsigned char, 256> extCodeTable;

// Forget the word being composed: the typed codes and the record of glyphs
// already typed into the application.
void ResetWord(void);

#endif // NK_SHARED_STATE_H
