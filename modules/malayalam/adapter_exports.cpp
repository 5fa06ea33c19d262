// The conversion entry of one Malayalam adapter module, built with NK_SCRIPT_FONT
// (a MalayalamFont) and NK_SCRIPT_ENTRY (iscii2malayalamglf); the .def file exports it.
#include "include/nelkor.h"
#include "modules/malayalam/malayalam_adapter.h"

extern "C" int __cdecl NK_SCRIPT_ENTRY(const unsigned char* text, unsigned char* out,
                                       int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(MalayalamScript(NK_SCRIPT_FONT), text, out, consumed, length, mode);
}
