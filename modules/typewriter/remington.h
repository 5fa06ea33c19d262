// The Remington (Hindi typewriter) converter: the codes of the keys in the
// order a typist strikes them become logical ISCII. Portable.
#ifndef NK_REMINGTON_H
#define NK_REMINGTON_H

#include <stddef.h>

namespace remington {

// The reph key's code: no ISCII code means "reph typed after its syllable".
const unsigned char kRephMark = 0x80;

// Converts the typed codes (NUL-terminated) into NUL-terminated ISCII in out,
// which holds typewriter::kOutMax bytes; returns the ISCII length. Longer
// results are cut at the buffer's end.
size_t MakeIscii(const unsigned char* typed, unsigned char* out);

} // namespace remington

#endif // NK_REMINGTON_H
