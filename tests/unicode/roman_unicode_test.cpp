// Diacritic Roman as Unicode: whole words in both letter styles, NFC.
#include <gtest/gtest.h>

#include <string>

#include "driver/scripts/iscii_unicode.h"

namespace {

struct RomanRow {
    const char* iscii; // hex
    int capitals;      // 0 lower, 1 upper, 2 initial capitals
    int lastScript;    // the script typed before Roman
    const char* iast;  // UTF-8, NFC
    const char* iso;
};

const RomanRow kRows[] = {
    {"b3", 0, 'B', "ka", "ka"},
    {"b3da", 0, 'B', "kā", "kā"},
    {"c6ccd7e8c2e1", 0, 'B', "namaste", "namastē"},     // नमस्ते
    {"b3dfd6e8c1", 0, 'B', "kṛṣṇa", "kr̥ṣṇa"},           // कृष्ण
    {"d7a2d7e8b3dfc2", 0, 'B', "saṃskṛta", "saṁskr̥ta"}, // संस्कृत
    {"ac", 0, 'B', "e", "ē"},                           // ए
    {"ab", 0, 'B', "ĕ", "e"},                           // short e
    {"a1e9", 0, 'B', "oṃ", "ōṁ"},                       // ॐ
    {"b3e9d1dbc5", 0, 'B', "qalidha", "qalidha"},       // क़लिध
    {"c8d8a3", 0, 'B', "pahaḥ", "pahaḥ"},               // पहः
    {"f2f3eaea", 0, 'B', "12||", "12||"},
    {"c3bdbad6e8bdd8", 0, 'B', "thaṭajaṣṭaha", "thaṭajaṣṭaha"},
    {"cdd9e6", 0, 'B', "yaau", "yaau"},   // INV carries a sign
    {"a5cfe8cd", 0, 'B', "ārya", "ārya"}, // आर्य
    {"bfe9db", 0, 'B', "ṛi", "ṛi"},       // ड़ि
    {"bde8cfdacde9", 0, 'B', "ṭrāẏa", "ṭrāẏa"}, // ट्राय़ (YA + nukta, as ICU writes य़)
    {"cecde1", 0, 'B', "ẏaye", "ẏayē"},         // YYA, YA, sign E
    {"c6a1", 0, 'B', "nam̐", "nam̐"},
    // Capitals: every letter, or the first of each word.
    {"b3dfd6e8c1", 1, 'B', "KṚṢṆA", "KR̥ṢṆA"},
    {"a5cfe8cd20c6ccd7e8c2e1", 2, 'B', "Ārya Namaste", "Ārya Namastē"},
    {"ac2cb3", 2, 'B', "E,Ka", "Ē,Ka"},
    // After a Dravidian script long e and o carry the macron in IAST too;
    // after Bengali, Assamese or Oriya va is written b.
    {"acabb0af", 0, 'D', "ēeōo", "ēeōo"},
    {"c6ccd7e8c2e1", 0, 'I', "namastē", "namastē"},
    {"d4d6e8c1", 0, 'C', "baṣṇa", "baṣṇa"},
    {"d4d6e8c1", 0, 'B', "vaṣṇa", "vaṣṇa"},
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

std::u16string Convert(const char* hex, const RomanSpelling& spelling) {
    unsigned char bytes[64];
    size_t n = 0;
    for (const char* h = hex; h[0] && h[1] && n < sizeof bytes; h += 2)
        bytes[n++] = (unsigned char)std::stoi(std::string(h, 2), nullptr, 16);
    uint16_t units[128];
    size_t length = 0;
    EXPECT_EQ(ISCII_UNICODE_OK,
              IsciiToUnicode(bytes, n, ISCII_ROMAN, spelling, units, 128, &length));
    return std::u16string(units, units + length);
}

const RomanSpelling kIast = {0, 0, 'B'};

TEST(RomanUnicode, WordsInBothStylesUnderEachOption) {
    for (const RomanRow& row : kRows) {
        const RomanSpelling iast = {row.capitals, 0, row.lastScript};
        const RomanSpelling iso = {row.capitals, 1, row.lastScript};
        EXPECT_EQ(Utf16(row.iast), Convert(row.iscii, iast)) << "IAST, input " << row.iscii;
        EXPECT_EQ(Utf16(row.iso), Convert(row.iscii, iso)) << "ISO 15919, input " << row.iscii;
    }
}

// A text with a NUL inside ends there, as the adapter reads it; a text
// longer than the converter's copy is reported, not cut silently.
TEST(RomanUnicode, EmbeddedEndAndOverlongText) {
    const unsigned char word[] = {0xB3, 0x00, 0xB3};
    uint16_t units[8];
    size_t length = 0;
    EXPECT_EQ(ISCII_UNICODE_OK,
              IsciiToUnicode(word, sizeof word, ISCII_ROMAN, kIast, units, 8, &length));
    EXPECT_EQ(std::u16string(u"ka"), std::u16string(units, units + length));
    std::string longText(600, '\xB3');
    static uint16_t many[2048];
    EXPECT_EQ(ISCII_UNICODE_OVERFLOW,
              IsciiToUnicode((const unsigned char*)longText.data(), longText.size(), ISCII_ROMAN,
                             kIast, many, 2048, &length));
}

TEST(RomanUnicode, OutputIsBoundedAndReported) {
    const unsigned char word[] = {0xD7, 0xA2, 0xD7, 0xE8, 0xB3, 0xDF, 0xC2}; // saṃskṛta
    uint16_t units[4] = {0, 0, 0, 0xBEEF};
    size_t length = 0;
    EXPECT_EQ(ISCII_UNICODE_OVERFLOW,
              IsciiToUnicode(word, sizeof word, ISCII_ROMAN, kIast, units, 3, &length));
    EXPECT_EQ(3u, length);
    EXPECT_EQ(0xBEEF, units[3]); // nothing written past the capacity
}

TEST(IsciiUnicode, OutputIsBoundedAndReported) {
    const unsigned char word[] = {0xB3, 0xE8, 0xE8, 0xB3, 0xDA}; // क्‌का
    uint16_t units[5] = {0, 0, 0, 0, 0xBEEF};
    size_t length = 0;
    EXPECT_EQ(ISCII_UNICODE_OVERFLOW,
              IsciiToUnicode(word, sizeof word, ISCII_DEVANAGARI, kIast, units, 4, &length));
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
