// Script activation: binding a script's font adapter module in this process
// and publishing it to every hooked process.
//
// A conversion never reaches a released module: the previous module stays
// bound until the new one has loaded and shown its entry; a failure that
// leaves no script active releases it and clears both entry fields.
#include <string.h>

#include "driver/engine/engine.h"
#include "driver/engine/shared_check.h"
#include "driver/engine/unicode_output.h"
#include "driver/scripts/script_table.h"

namespace {

const char kBilingualMissingText[] =
    "\nBi-lingual font option is not be available with current script.";
const char kBilingualMissingCaption[] = "TAV Keyboard Manager";
const char kInvalidModuleCaption[] = "NELKOR - Invalid TROP DLL";
const char kInvalidEntryCaption[] = "NELKOR - Invalid File";

// Adapter options handed over at activation (modes of the conversion entry).
const int32_t kOptionMultipleSets = 1;
const int32_t kOptionLastIndicScript = 3;
const int32_t kOptionRomanCapitals = 5;
const int32_t kOptionRomanAccent = 6;

const int kModuleFileSize = 24; // "VDBFA32.DLL" and its terminator, with room

// The Devanagari module variant for multiple font sets in Word.
bool UsesVariant(int code) {
    return code == SCRIPT_DEVANAGARI && shared.wordTitleFlag != 0 && shared.multipleSets != 0;
}

void ModuleFileName(int code, char* name, int size) {
    ScriptModuleFileName(code, shared.dualFont != 0, UsesVariant(code), name, size);
}

// "iscii2" + converter name + suffix, all lower case ("iscii2devglf").
void EntryName(int code, char* name, size_t size) {
    CopyText(name, size, "ISCII2");
    AppendText(name, size, ScriptConverterName(code));
    AppendText(name, size, NK_ADAPTER_SUFFIX);
    for (char* p = name; *p; ++p)
        if (*p >= 'A' && *p <= 'Z') *p = (char)(*p - 'A' + 'a');
}

// Failures the user must see: system-modal, over the focused window.
void ShowBox(const char* text, const char* caption) {
    ShowDriverBox(text, caption, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

// Release this process's adapter module; the entries that pointed into it
// are cleared first, so nothing can call the freed code.
void ReleaseAdapter() {
    if (shared.adapterEntry == proc.adapterEntry) shared.adapterEntry = nullptr;
    proc.adapterEntry = nullptr;
    if (proc.adapterModule) FreeLibrary(proc.adapterModule);
    proc.adapterModule = nullptr;
    proc.adapterPath[0] = 0;
}

// A failure that leaves no script: typing is disabled.
int DisableAfterFailure() {
    MessageBeep(0);
    shared.activeScript = 0;
    shared.typingMode = MODE_DISABLED_SCRIPT;
    RefreshManagerTitle();
    return 2;
}

// One option call; the adapter's output goes to newGlyphs and is ignored.
void CallOption(AdapterEntryFn entry, int32_t mode, int32_t value) {
    shared.newGlyphs[0] = 0;
    proc.convConsumed = 0;
    proc.convOutLength = value;
    entry((const unsigned char*)shared.wordIscii, (unsigned char*)shared.newGlyphs,
          &proc.convConsumed, &proc.convOutLength, mode);
    shared.newGlyphs[0] = 0;
}

} // namespace

// Hooked processes load moduleDirectory + adapterFileName at every key-down.
// The name published is the one activation built for the code (lower case),
// so every process loads the same module as the manager: "dvtrop32.dll",
// "dvbfa32.dll", and also "vdtrop32.dll", "sdtrop32.dll" and the modules of
// the scripts without a prefix.
void PublishAdapterName(int code) {
    char name[kModuleFileSize];
    ModuleFileName(code, name, sizeof name);
    for (char* p = name; *p; ++p)
        if (*p >= 'A' && *p <= 'Z') *p = (char)(*p - 'A' + 'a');
    CopyText(shared.adapterFileName, sizeof shared.adapterFileName, name);
}

static int FinishActivation(int code, AdapterEntryFn entry);

/* ---------------- _AS ----------------
   Activate a script: 0 activated (or code 0: English typing); 1 unavailable
   (grayed in the manager's Script menu, or a failure while quietActivation
   is set); 2 typing disabled after a failure; the unchanged typingMode when
   the bilingual module is missing. */
extern "C" int _AS(int code) {
    CheckSharedState(&shared); // any program may have written it
    ManagerWindow();
    HMENU scriptMenu =
        shared.managerWindow ? GetSubMenu(GetMenu(shared.managerWindow), 1) : nullptr;

    if (code == 0) {
        shared.typingMode = MODE_ENGLISH;
        RefreshManagerTitle();
        return 0;
    }
    if (!IsScriptCode(code)) return 1; // no row in the script table
    if (scriptMenu && GetMenuState(scriptMenu, (UINT)code, MF_BYCOMMAND) == MF_GRAYED) {
        MessageBeep(0);
        return 1;
    }

    // Local buffers: two activations in different processes must not mix
    // their paths through the shared scratch. Only a module of the program
    // folder is loaded; another counts as missing.
    char fileName[kModuleFileSize];
    ModuleFileName(code, fileName, sizeof fileName);
    char path[NK_MODULE_DIR_SIZE + kModuleFileSize];
    CopyText(path, sizeof path, shared.moduleDirectory);
    AppendText(path, sizeof path, fileName);
    char trusted[NK_TRUSTED_PATH_SIZE];
    const bool inProgramFolder = ResolveModuleDirectoryFile(fileName, trusted, sizeof trusted);

    if (shared.dualFont &&
        (!inProgramFolder || GetFileAttributesA(trusted) == INVALID_FILE_ATTRIBUTES)) {
        ShowBox(kBilingualMissingText, kBilingualMissingCaption);
        return proc.quietActivation ? 1 : shared.typingMode;
    }

    HMODULE module = inProgramFolder ? LoadLibraryA(trusted) : nullptr;
    if (!module && UnicodeOutputCovers(code)) {
        // Unicode output converts without a module: Unicode windows get text,
        // ANSI windows get nothing typed until a module is there.
        ReleaseAdapter();
        shared.adapterFileName[0] = 0; // hooked processes bind no module either
        return FinishActivation(code, nullptr);
    }
    if (!module) {
        ShowBox(path, kInvalidModuleCaption);
        if (proc.quietActivation) return 1; // the previous script stays bound
        ReleaseAdapter();
        return DisableAfterFailure();
    }

    char entryName[NK_NAME_SCRATCH_SIZE];
    EntryName(code, entryName, sizeof entryName);
    AdapterEntryFn entry = (AdapterEntryFn)(void*)GetProcAddress(module, entryName);
    if (!entry) {
        ShowBox(entryName, kInvalidEntryCaption);
        ReleaseAdapter();
        proc.adapterModule = module; // stays loaded until the next activation or WEP
        return DisableAfterFailure();
    }

    ReleaseAdapter();
    proc.adapterModule = module;
    CopyText(proc.adapterPath, sizeof proc.adapterPath, trusted);
    proc.adapterEntry = entry;
    shared.adapterEntry = entry;
    PublishAdapterName(code);
    return FinishActivation(code, entry);
}

/* The script is bound (entry null: Unicode output without a module). */
static int FinishActivation(int code, AdapterEntryFn entry) {
    ResetWord();
    shared.activeScript = code;
    RefreshManagerTitle();
    if (!proc.quietActivation) MessageBeep(0xFFFFFFFF);

    if (code == SCRIPT_ROMAN && entry) {
        CallOption(entry, kOptionRomanAccent, shared.romanAccent);
        CallOption(entry, kOptionLastIndicScript, shared.lastIndicScript);
        CallOption(entry, kOptionRomanCapitals, shared.romanCapitals);
    } else if (code != SCRIPT_ROMAN) {
        shared.lastIndicScript = code;
    }
    if (entry && shared.wordTitleFlag && (code == SCRIPT_TIBETAN || code == SCRIPT_DZONGKHA))
        CallOption(entry, kOptionMultipleSets, shared.multipleSets);

    shared.activeTitle[0] = 0;
    GetWindowTextA(GetActiveWindow(), shared.activeTitle, sizeof shared.activeTitle);
    if (shared.wordTitleFlag == 0) {
        shared.wordFocusRequest = 1;
        return 0;
    }
    if (strchr(kMultipleSetScripts, code) && shared.multipleSets) {
        // Word's shortcut that makes it take the font sets in hand.
        PostVirtualKeyEvent(VK_CONTROL, 0);
        PostVirtualKeyEvent(VK_F3, 0);
        PostVirtualKeyEvent(VK_F3, 1);
        PostVirtualKeyEvent(VK_CONTROL, 1);
    }
    return 0;
}

/* ---------------- SetConverter ----------------
   Bind the conversion entry of the active script in this process's adapter
   module; the hook calls it after loading the published module. Returns the
   entry, null when there is none (no script, no module, no entry). */
extern "C" AdapterEntryFn SetConverter(void) {
    proc.adapterEntry = nullptr;
    if (proc.adapterModule && shared.activeScript != 0) {
        char name[NK_NAME_SCRATCH_SIZE];
        EntryName(shared.activeScript, name, sizeof name);
        proc.adapterEntry = (AdapterEntryFn)(void*)GetProcAddress(proc.adapterModule, name);
    }
    shared.adapterEntry = proc.adapterEntry;
    return proc.adapterEntry;
}

/* ---------------- SetAvailScripts ----------------
   The manager reports the scripts whose adapter modules it found; the
   default fonts are loaded for them. Returns LoadDefFonts' result. */
extern "C" int SetAvailScripts(const char* codes, const char* prefixes) {
    CopyText(proc.availableScripts, sizeof proc.availableScripts, codes ? codes : "");
    CopyText(proc.availablePrefixes, sizeof proc.availablePrefixes, prefixes ? prefixes : "");
    return LoadDefFonts(nullptr);
}

int CopyAvailableScripts(char* buffer, int size) {
    return size > 0 ? (int)CopyText(buffer, (size_t)size, proc.availableScripts) : 0;
}
