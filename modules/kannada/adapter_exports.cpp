// The conversion entry of one Kannada adapter module, built with NK_SCRIPT_FONT
// (a KannadaFont) and NK_SCRIPT_ENTRY (iscii2kannadaglf); the .def file exports it.
#include "include/nelkor.h"
#include "modules/kannada/kannada_adapter.h"

extern "C" int __cdecl NK_SCRIPT_ENTRY(const unsigned char* text, unsigned char* out,
                                       int32_t* consumed, int32_t* length, int32_t mode) {
    return IndicAdapterEntry(KannadaScript(NK_SCRIPT_FONT), text, out, consumed, length, mode);
}
