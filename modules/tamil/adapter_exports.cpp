// The conversion entry of one Tamil adapter module, built with NK_TAMIL_FONT
// (a TamilFont); the .def file exports it as iscii2tamilglf.
#include "include/nelkor.h"
#include "modules/tamil/tamil_adapter.h"

extern "C" int __cdecl iscii2tamilglf(const unsigned char* text, unsigned char* out,
                                      int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(TamilScript(NK_TAMIL_FONT), text, out, consumed, length, mode);
}
