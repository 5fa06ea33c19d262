// The conversion entry of one Bengali or Assamese adapter module. Each module
// is this file built with NK_SCRIPT_FONT (a BengaliFont) and NK_SCRIPT_ENTRY
// (iscii2bengaliglf or iscii2assameseglf); the .def file exports it.
#include "include/nelkor.h"
#include "modules/bengali/bengali_adapter.h"

extern "C" int __cdecl NK_SCRIPT_ENTRY(const unsigned char* text, unsigned char* out,
                                       int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(BengaliScript(NK_SCRIPT_FONT), text, out, consumed, length, mode);
}
