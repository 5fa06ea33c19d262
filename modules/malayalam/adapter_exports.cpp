// The conversion entry of one Malayalam adapter module, built with NK_MALAYALAM_FONT
// (a MalayalamFont); the .def file exports it as iscii2malayalamglf.
#include "include/nelkor.h"
#include "modules/malayalam/malayalam_adapter.h"

extern "C" int __cdecl iscii2malayalamglf(const unsigned char* text, unsigned char* out,
                                          int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(MalayalamScript(NK_MALAYALAM_FONT), text, out, consumed, length, mode);
}
