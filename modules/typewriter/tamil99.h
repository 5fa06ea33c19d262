// The Tamil99 converter: the letters of the keys as typed become Tamil ISCII
// by the keyboard's own rules (vowel keys after a consonant give its vowel
// sign, the pulli that two equal consonants and the nasal-plosive pairs
// bring). Portable.
#ifndef NK_TAMIL99_H
#define NK_TAMIL99_H

#include <stddef.h>

namespace tamil99 {

// As remington::MakeIscii: out holds typewriter::kOutMax bytes.
size_t MakeIscii(const unsigned char* typed, unsigned char* out);

} // namespace tamil99

#endif // NK_TAMIL99_H
