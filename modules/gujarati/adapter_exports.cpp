// The conversion entry of one Gujarati adapter module. Each module is this
// file built with NK_SCRIPT_FONT (a GujaratiFont) and NK_SCRIPT_ENTRY (iscii2gjglf);
// the .def file exports it.
#include "include/nelkor.h"
#include "modules/gujarati/gujarati_adapter.h"

extern "C" int __cdecl NK_SCRIPT_ENTRY(const unsigned char* text, unsigned char* out,
                                       int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(GujaratiScript(NK_SCRIPT_FONT), text, out, consumed, length, mode);
}
