// Script activation: binding a script's font adapter module.
#include "driver/engine/engine.h"
#include "driver/scripts/script_table.h"

void PublishAdapterName(int code) {
    const char* name = shared.dualFont ? ScriptBilingualModule(code) : ScriptSingleModule(code);
    if (name) CopyText(shared.adapterFileName, sizeof shared.adapterFileName, name);
}

/* ---------------- _AS ---------------- */
extern "C" int _AS(int code) {
    if (!shared.managerWindow) shared.managerWindow = FindWindowA("LoraTAV", nullptr);
    PublishAdapterName(code);
    if (code == 0) {
        shared.typingMode = MODE_ENGLISH;
        RefreshManagerTitle();
        return 0;
    }
    ResetWord();
    shared.activeScript = code;
    RefreshManagerTitle();
    return 0;
}

/* ---------------- SetConverter ---------------- */
extern "C" AdapterEntryFn SetConverter(void) {
    proc.adapterEntry = nullptr;
    if (proc.adapterModule && shared.activeScript != 0) {
        char name[NK_NAME_SCRATCH_SIZE];
        CopyText(name, sizeof name, "iscii2");
        AppendText(name, sizeof name, ScriptConverterName(shared.activeScript));
        AppendText(name, sizeof name, NK_ADAPTER_SUFFIX);
        proc.adapterEntry = (AdapterEntryFn)(void*)GetProcAddress(proc.adapterModule, name);
    }
    shared.adapterEntry = proc.adapterEntry;
    return proc.adapterEntry;
}

/* ---------------- SetAvailScripts ---------------- */
extern "C" int SetAvailScripts(const char* codes, const char* prefixes) {
    CopyText(proc.availableScripts, sizeof proc.availableScripts, codes ? codes : "");
    CopyText(proc.availablePrefixes, sizeof proc.availablePrefixes, prefixes ? prefixes : "");
    return LoadDefFonts(nullptr);
}

int CopyAvailableScripts(char* buffer, int size) {
    return size > 0 ? (int)CopyText(buffer, (size_t)size, proc.availableScripts) : 0;
}
