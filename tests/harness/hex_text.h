// Bytes as hex ("4B 41 "), for test messages that show which byte differs.
#ifndef NK_TESTS_HEX_TEXT_H
#define NK_TESTS_HEX_TEXT_H

#include <stdio.h>

#include <string>

inline std::string Hex(const std::string& bytes) {
    std::string text;
    char part[4];
    for (unsigned char b : bytes) {
        snprintf(part, sizeof part, "%02X ", b);
        text += part;
    }
    return text;
}

#endif // NK_TESTS_HEX_TEXT_H
