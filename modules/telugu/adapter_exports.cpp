// The conversion entry of one Telugu adapter module, built with NK_SCRIPT_FONT
// (a TeluguFont) and NK_SCRIPT_ENTRY (iscii2teluguglf); the .def file exports it.
#include "include/nelkor.h"
#include "modules/telugu/telugu_adapter.h"

extern "C" int __cdecl NK_SCRIPT_ENTRY(const unsigned char* text, unsigned char* out,
                                       int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(TeluguScript(NK_SCRIPT_FONT), text, out, consumed, length, mode);
}
