// The conversion entry of one Devanagari adapter module. Each module is this
// file built with NK_DEV_FONT (a DevanagariFont) and NK_DEV_ENTRY (the entry
// name: iscii2devglf or iscii2devsanskritglf); the .def file exports it.
#include "include/nelkor.h"
#include "modules/devanagari/devanagari_adapter.h"

extern "C" int __cdecl NK_DEV_ENTRY(const unsigned char* text, unsigned char* out,
                                    int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(DevanagariScript(NK_DEV_FONT), text, out, consumed, length, mode);
}
