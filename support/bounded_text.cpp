#include "support/bounded_text.h"

#include <string.h>

size_t BoundedLength(const char* text, size_t size) {
    const void* end = memchr(text, 0, size);
    return end ? (size_t)((const char*)end - text) : size;
}

size_t CopyText(char* dest, size_t destSize, const char* src) {
    if (destSize == 0) return 0;
    if (!src) src = ""; // a missing text copies as the empty one
    size_t n = strnlen(src, destSize - 1);
    memmove(dest, src, n);
    dest[n] = 0;
    return n;
}

size_t AppendText(char* dest, size_t destSize, const char* src) {
    if (destSize == 0) return 0;
    size_t used = BoundedLength(dest, destSize);
    if (used >= destSize) { // not terminated: repair rather than run past it
        dest[destSize - 1] = 0;
        return destSize - 1;
    }
    return used + CopyText(dest + used, destSize - used, src);
}

bool ContainsText(const char* text, const char* part) {
    return strstr(text, part) != nullptr;
}

bool BeginsWithText(const char* text, const char* start) {
    return strncmp(text, start, strlen(start)) == 0;
}

void UpperCaseText(char* text) {
    for (; *text; ++text)
        if (*text >= 'a' && *text <= 'z') *text = (char)(*text - 'a' + 'A');
}
