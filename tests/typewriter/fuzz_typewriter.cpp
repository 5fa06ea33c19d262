// Fuzzes the typewriter converters: any typed codes, of any length, must give
// a terminated result within the converter's buffer, never past it.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "modules/typewriter/remington.h"
#include "modules/typewriter/tamil99.h"
#include "modules/typewriter/typed_output.h"

namespace {
const size_t kTypedMax = 4096;  // far beyond the driver's 128-byte word
const size_t kGuard = 64;       // bytes after the buffer that must stay as they were
const unsigned char kFill = 0xA5;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static unsigned char typed[kTypedMax + 1];
    static unsigned char out[typewriter::kOutMax + kGuard];
    if (size > kTypedMax) size = kTypedMax;
    memcpy(typed, data, size);
    typed[size] = 0;
    size_t (*const converters[])(const unsigned char*, unsigned char*) = {remington::MakeIscii,
                                                                          tamil99::MakeIscii};
    for (auto convert : converters) {
        memset(out, kFill, sizeof out);
        const size_t n = convert(typed, out);
        if (n >= typewriter::kOutMax || out[n] != 0) __builtin_trap();
        if (memchr(out, 0, n) != nullptr) __builtin_trap(); // no code is NUL
        for (size_t i = typewriter::kOutMax; i < sizeof out; ++i)
            if (out[i] != kFill) __builtin_trap();
    }
    return 0;
}
