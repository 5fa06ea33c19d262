// An adapter that breaks the contract: its syllable output fills 64 bytes
// and carries no terminator. The driver must not trust such a result.
#include <stdint.h>
#include <string.h>

extern "C" __declspec(dllexport) int __cdecl iscii2kannadaglf(const unsigned char* text,
                                                              unsigned char* out, int32_t* consumed,
                                                              int32_t*, int32_t mode) {
    if (!text || !out) return 0;
    if (mode == 0) {
        memset(out, 'X', 64);
        if (consumed) *consumed = text[0] ? 1 : 0;
    }
    return 1;
}
