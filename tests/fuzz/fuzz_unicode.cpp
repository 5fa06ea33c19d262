// Fuzzes the ISCII to Unicode conversion that Unicode output runs on every
// key: any bytes as the word, in any script's version and under any Roman
// options. Checked: nothing is written past the capacity, the count stays
// within it, a result of OK never comes with a full buffer cut short, and
// an output cut for room is the beginning of the whole one.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "driver/scripts/iscii_unicode.h"

namespace {

enum { kCapacityMax = 1024, kCanary = 16 };

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int version = data[0] % 10 == 9 ? ISCII_ROMAN : data[0] % 10;
    const RomanSpelling roman = {data[1] % 3, data[2] & 1, 'A' + data[2] % 19};
    const size_t capacity = 1 + data[3] * 4u;
    const unsigned char* text = data + 4;
    const size_t length = size - 4;

    static uint16_t out[kCapacityMax + kCanary];
    memset(out, 0xA5, sizeof out);
    size_t outLength = 0;
    const IsciiUnicodeResult result =
        IsciiToUnicode(text, length, version, roman, out, capacity, &outLength);
    Require(outLength <= capacity);
    for (size_t k = capacity; k < capacity + kCanary; ++k)
        Require(out[k] == 0xA5A5);
    Require(result == ISCII_UNICODE_OK || result == ISCII_UNICODE_OVERFLOW);

    // Given all the room there is, an OK result holds the same units.
    static uint16_t whole[kCapacityMax];
    size_t wholeLength = 0;
    const IsciiUnicodeResult wide =
        IsciiToUnicode(text, length, version, roman, whole, kCapacityMax, &wholeLength);
    if (result == ISCII_UNICODE_OK) Require(wide == ISCII_UNICODE_OK && wholeLength == outLength);
    // A cut output is the beginning of the whole one.
    if (wholeLength >= outLength) Require(memcmp(whole, out, outLength * sizeof out[0]) == 0);
    return 0;
}
