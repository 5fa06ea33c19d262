// Bounded string helpers for fixed buffers: they always terminate and never
// write past the destination's size. Portable (no Windows API).
#ifndef NK_BOUNDED_TEXT_H
#define NK_BOUNDED_TEXT_H

#include <stddef.h>

// Copy src into dest (capacity destSize, terminator included), cutting it
// when it does not fit; a null src copies as "". Returns the length of the
// result.
size_t CopyText(char* dest, size_t destSize, const char* src);

// Append src to the text in dest, cutting it when it does not fit. Returns
// the length of the result.
size_t AppendText(char* dest, size_t destSize, const char* src);

// Length of a text that may lack its terminator within size bytes.
size_t BoundedLength(const char* text, size_t size);

// Case-sensitive substring and prefix tests.
bool ContainsText(const char* text, const char* part);
bool BeginsWithText(const char* text, const char* start);

// Upper-case ASCII letters in place.
void UpperCaseText(char* text);

#endif // NK_BOUNDED_TEXT_H
