// Diacritic Roman as Unicode: whole words in both letter styles, NFC.
#include <gtest/gtest.h>

#include <string>

#include "driver/scripts/iscii_unicode.h"

namespace {

struct RomanRow {
    const char* iscii; // hex
    const char* iast;  // UTF-8, NFC
    const char* iso;
};

const RomanRow kRows[] = {
    {"b3", "ka", "ka"},
    {"b3da", "kā", "kā"},
    {"c6ccd7e8c2e1", "namaste", "namastē"},     // नमस्ते
    {"b3dfd6e8c1", "kṛṣṇa", "kr̥ṣṇa"},           // कृष्ण
    {"d7a2d7e8b3dfc2", "saṃskṛta", "saṁskr̥ta"}, // संस्कृत
    {"ac", "e", "ē"},                           // ए
    {"ab", "ĕ", "e"},                           // short e
    {"a1e9", "om", "om"},                       // ॐ
    {"b3e9d1dbc5", "qalidha", "qalidha"},       // क़लिध
    {"c8d8a3", "pahaḥ", "pahaḥ"},               // पहः
    {"f2f3ea", "12.", "12."},
    {"c3bdbad6e8bdd8", "thaṭajaṣṭaha", "thaṭajaṣṭaha"},
    {"cdd9e6", "yaau", "yaau"},   // INV carries a sign
    {"a5cfe8cd", "ārya", "ārya"}, // आर्य
    {"bfe9db", "ṛi", "ṛi"},       // ड़ि
    {"c6a1", "nam̐", "nam̐"},
};

std::u16string Utf16(const char* utf8) {
    std::u16string out;
    const unsigned char* p = (const unsigned char*)utf8;
    while (*p) {
        uint32_t c = *p++;
        int extra = c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        c &= extra == 2 ? 0x0F : extra == 1 ? 0x1F : 0x7F;
        while (extra-- > 0 && *p)
            c = (c << 6) | (*p++ & 0x3F);
        out.push_back((char16_t)c);
    }
    return out;
}

std::u16string Convert(const char* hex, int style) {
    unsigned char bytes[64];
    size_t n = 0;
    for (const char* h = hex; h[0] && h[1] && n < sizeof bytes; h += 2)
        bytes[n++] = (unsigned char)std::stoi(std::string(h, 2), nullptr, 16);
    uint16_t units[128];
    size_t length = 0;
    EXPECT_EQ(ISCII_UNICODE_OK, IsciiToUnicode(bytes, n, ISCII_ROMAN, style, units, 128, &length));
    return std::u16string(units, units + length);
}

TEST(RomanUnicode, WordsInBothStyles) {
    for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i) {
        EXPECT_EQ(Utf16(kRows[i].iast), Convert(kRows[i].iscii, ROMAN_IAST))
            << "row " << i << " IAST, input " << kRows[i].iscii;
        EXPECT_EQ(Utf16(kRows[i].iso), Convert(kRows[i].iscii, ROMAN_ISO15919))
            << "row " << i << " ISO 15919, input " << kRows[i].iscii;
    }
}

TEST(RomanUnicode, OutputIsBoundedAndReported) {
    const unsigned char word[] = {0xD7, 0xA2, 0xD7, 0xE8, 0xB3, 0xDF, 0xC2}; // saṃskṛta
    uint16_t units[4] = {0, 0, 0, 0xBEEF};
    size_t length = 0;
    EXPECT_EQ(ISCII_UNICODE_OVERFLOW,
              IsciiToUnicode(word, sizeof word, ISCII_ROMAN, ROMAN_IAST, units, 3, &length));
    EXPECT_EQ(3u, length);
    EXPECT_EQ(0xBEEF, units[3]); // nothing written past the capacity
}

TEST(IsciiUnicode, OutputIsBoundedAndReported) {
    const unsigned char word[] = {0xB3, 0xE8, 0xE8, 0xB3, 0xDA}; // क्‌का
    uint16_t units[5] = {0, 0, 0, 0, 0xBEEF};
    size_t length = 0;
    EXPECT_EQ(ISCII_UNICODE_OVERFLOW,
              IsciiToUnicode(word, sizeof word, ISCII_DEVANAGARI, 0, units, 4, &length));
    EXPECT_EQ(4u, length);
    EXPECT_EQ(0xBEEF, units[4]);
}

TEST(IsciiUnicode, ScriptCodesChooseTheirBlock) {
    const struct {
        int code;
        int version;
    } rows[] = {{'A', ISCII_ROMAN},    {'B', ISCII_DEVANAGARI}, {'C', ISCII_BENGALI},
                {'D', ISCII_TAMIL},    {'E', ISCII_TELUGU},     {'F', ISCII_BENGALI},
                {'G', ISCII_ORIYA},    {'H', ISCII_KANNADA},    {'I', ISCII_MALAYALAM},
                {'J', ISCII_GUJARATI}, {'K', ISCII_GURMUKHI},   {'R', ISCII_DEVANAGARI},
                {'M', ISCII_NONE},     {'O', ISCII_NONE},       {'P', ISCII_NONE},
                {0, ISCII_NONE}};
    for (const auto& row : rows)
        EXPECT_EQ(row.version, IsciiVersionOfScript(row.code)) << "script " << row.code;
}

} // namespace
