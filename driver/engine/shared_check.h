// The shared section as untrusted input. Every program on the desktop that
// has the driver loaded can write the section, so a hooked process reads it
// like a file: before the key handler uses it, every text ends within its
// field and every code, kind, mode and count lies in its range. Addresses and
// module handles in the section are never used (each process binds its own).
// Portable, so that it is tested and fuzzed natively.
#ifndef NK_SHARED_CHECK_H
#define NK_SHARED_CHECK_H

#include "driver/engine/shared_state.h"

// Repairs state in place: texts are terminated at the end of their fields
// (the word at its 50-code limit), values out of range take their initial
// value. Values in range are left exactly as they are. Cheap enough for
// every message.
void CheckSharedState(SharedState* state);

#endif // NK_SHARED_CHECK_H
