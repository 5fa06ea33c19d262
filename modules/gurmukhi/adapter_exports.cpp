// The conversion entry of one Gurmukhi adapter module. Each module is this
// file built with NK_SCRIPT_FONT (a GurmukhiFont) and NK_SCRIPT_ENTRY (iscii2punjabiglf);
// the .def file exports it.
#include "include/nelkor.h"
#include "modules/gurmukhi/gurmukhi_adapter.h"

extern "C" int __cdecl NK_SCRIPT_ENTRY(const unsigned char* text, unsigned char* out,
                                       int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(GurmukhiScript(NK_SCRIPT_FONT), text, out, consumed, length, mode);
}
