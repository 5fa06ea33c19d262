// The conversion entry of RMTROP32.DLL and RMBFA32.DLL (the .def file
// exports it).
#include "include/nelkor.h"
#include "modules/roman/roman_adapter.h"

extern "C" int __cdecl iscii2rmglf(const unsigned char* text, unsigned char* out, int32_t* consumed,
                                   int32_t* length, int32_t mode) {
    return RomanEntry(text, out, consumed, length, mode);
}
