// The bounded output of a typewriter converter: ISCII written into the
// caller's buffer of NK_CONVERTER_OUT_MAX bytes, never beyond it. A word that
// would need more is cut there and stays terminated. Portable.
#ifndef NK_TYPED_OUTPUT_H
#define NK_TYPED_OUTPUT_H

#include <stddef.h>

namespace typewriter {

// The converter contract: at most this many bytes, the terminator included.
const size_t kOutMax = 256;

struct TypedOutput {
    unsigned char* aOut; // the caller's buffer, kOutMax bytes
    size_t nOut;         // bytes written so far, below kOutMax
    bool cut;            // something did not fit: the rest is dropped
};

inline TypedOutput StartOutput(unsigned char* out) {
    out[0] = 0;
    return TypedOutput{out, 0, false};
}

// Appends one code; false (and the output cut) when it does not fit.
inline bool Put(TypedOutput& o, unsigned char code) {
    if (o.cut || o.nOut + 1 >= kOutMax) {
        o.cut = true;
        return false;
    }
    o.aOut[o.nOut++] = code;
    o.aOut[o.nOut] = 0;
    return true;
}

// Inserts two codes at position at (<= nOut); false when they do not fit.
inline bool InsertPair(TypedOutput& o, size_t at, unsigned char first, unsigned char second) {
    if (o.cut || at > o.nOut || o.nOut + 2 >= kOutMax) {
        o.cut = true;
        return false;
    }
    for (size_t i = o.nOut; i > at; --i)
        o.aOut[i + 1] = o.aOut[i - 1];
    o.aOut[at] = first;
    o.aOut[at + 1] = second;
    o.nOut += 2;
    o.aOut[o.nOut] = 0;
    return true;
}

// The code `back` places before the end (1: the last), 0 when there is none.
inline unsigned char Before(const TypedOutput& o, size_t back) {
    return back <= o.nOut ? o.aOut[o.nOut - back] : 0;
}

inline void ReplaceLast(TypedOutput& o, unsigned char code) {
    if (o.nOut > 0) o.aOut[o.nOut - 1] = code;
}

inline void DropLast(TypedOutput& o) {
    if (o.nOut > 0) o.aOut[--o.nOut] = 0;
}

} // namespace typewriter

#endif // NK_TYPED_OUTPUT_H
