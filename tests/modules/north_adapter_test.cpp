// The Bengali, Assamese, Oriya, Gujarati and Punjabi readers on their hard
// cases: split vowels after a three-consonant cluster, pre-base signs with
// the reph, ya-phala after a conjunct, tippi against bindi, the addak, nukta
// after a cluster, khanda ta. Expected glyphs are named by their glyph-table
// keys, so the cases hold whatever codes the tables give them.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "include/nelkor.h"
#include "modules/bengali/bengali_adapter.h"
#include "modules/gujarati/gujarati_adapter.h"
#include "modules/gurmukhi/gurmukhi_adapter.h"
#include "modules/oriya/oriya_adapter.h"

namespace {

// "B3+E8" -> bytes; R, N, G and P are the reph, tippi, addak and placed-mark
// tokens.
std::string KeyBytes(const std::string& key) {
    std::string bytes;
    size_t start = 0;
    while (start <= key.size()) {
        size_t plus = key.find('+', start);
        std::string part = key.substr(start, plus == std::string::npos ? plus : plus - start);
        char token = part == "R"   ? (char)kTokenReph
                     : part == "N" ? (char)kTokenAltAnusvara
                     : part == "G" ? (char)kTokenGemination
                     : part == "P" ? (char)kTokenPlaced
                                   : (char)strtol(part.c_str(), nullptr, 16);
        bytes += token;
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    return bytes;
}

std::string Expected(const IndicScript& script, const std::vector<std::string>& keys) {
    std::string codes;
    for (const std::string& key : keys) {
        std::string bytes = KeyBytes(key);
        const GlyphEntry* entry =
            FindKey(script.inventory, (const unsigned char*)bytes.data(), (int)bytes.size());
        if (!entry) return "no glyph for " + key;
        codes += (char)entry->code;
    }
    return codes;
}

std::string Hex(const std::string& bytes) {
    std::string text;
    char part[4];
    for (unsigned char b : bytes) {
        snprintf(part, sizeof part, "%02X ", b);
        text += part;
    }
    return text;
}

struct Case {
    const char* what;
    const IndicScript& (*script)(int font);
    int font;
    const char* iscii;
    int consumed;
    std::vector<std::string> glyphs;
};

const Case kCases[] = {
    // Bengali and Assamese (one reader, one table).
    {"BN split O after a three-consonant cluster (স্ত্রো)",
     BengaliScript,
     kFontBN,
     "\xD7\xE8\xC2\xE8\xCF\xE5",
     6,
     {"E1", "D7+E8+C2+E8+CF", "DA"}},
    {"BN split AU: sign E before, length mark after (কৌ)",
     BengaliScript,
     kFontBN,
     "\xB3\xE6",
     2,
     {"E1", "B3", "E6"}},
    {"BN pre-base i with reph: i first, reph on the consonant (র্কি)",
     BengaliScript,
     kFontBN,
     "\xCF\xE8\xB3\xDB",
     4,
     {"DB", "B3", "R"}},
    {"BN reph before sign AA (র্তা)",
     BengaliScript,
     kFontBN,
     "\xCF\xE8\xC2\xDA",
     4,
     {"C2", "R", "DA"}},
    {"BN ya-phala after a conjunct (ন্ত্য)",
     BengaliScript,
     kFontBN,
     "\xC6\xE8\xC2\xE8\xCD",
     5,
     {"C6+E8+C2", "E8+CD"}},
    {"BN sign U under the consonant, before the ya-phala (ত্যু)",
     BengaliScript,
     kFontBN,
     "\xC2\xE8\xCD\xDD",
     4,
     {"C2", "DD", "E8+CD"}},
    {"BN i before a wide conjunct in its long form (চ্ছি)",
     BengaliScript,
     kFontBN,
     "\xB8\xE8\xB9\xDB",
     4,
     {"DB+B8+E8+B9", "B8+E8+B9"}},
    {"BN TTA + i is one glyph (টি)", BengaliScript, kFontBN, "\xBD\xDB", 2, {"BD+DB"}},
    {"BN khanda ta ends its syllable (ৎস)",
     BengaliScript,
     kFontBN,
     "\xC2\xE8\xE9\xD7",
     3,
     {"C2+E8+E9"}},
    {"BN nukta after a cluster (ন্ড়)",
     BengaliScript,
     kFontBN,
     "\xC6\xE8\xBF\xE9",
     4,
     {"C6", "E8", "BF+E9"}},
    {"BN YA + nukta as ICU types য়", BengaliScript, kFontBN, "\xCD\xE9\xDA", 3, {"CD+E9", "DA"}},
    {"BN a conjunct without a glyph keeps the hasanta",
     BengaliScript,
     kFontBN,
     "\xBD\xE8\xB3",
     3,
     {"BD", "E8", "B3"}},
    {"BN candrabindu on the consonant, joined to KA, before sign AA (কাঁ)",
     BengaliScript,
     kFontBN,
     "\xB3\xDA\xA1",
     3,
     {"B3+A1", "DA"}},
    {"BN candrabindu joined to KA with sign U (কুঁ)",
     BengaliScript,
     kFontBN,
     "\xB3\xDD\xA1",
     3,
     {"B3+DD+A1"}},
    {"BN sign I in its width before a cluster, shared glyph (ঞ্জি)",
     BengaliScript,
     kFontBN,
     "\xBC\xE8\xBA\xDB",
     4,
     {"DB+BC+E8+BA", "BC+E8+BA"}},
    {"BN candrabindu on a consonant without a pair, before sign AA (ঙাঁ)",
     BengaliScript,
     kFontBN,
     "\xB7\xDA\xA1",
     3,
     {"B7", "A1", "DA"}},
    {"BNB split O in the bilingual font",
     BengaliScript,
     kFontBNB,
     "\xB3\xE5",
     2,
     {"E1", "B3", "DA"}},
    // Punjabi.
    {"PN tippi after the bare consonant, joined to it (ਕੰ)",
     GurmukhiScript,
     kFontPN,
     "\xB3\xA2",
     2,
     {"B3+N"}},
    {"PN bindi after sign AA (ਕਾਂ)", GurmukhiScript, kFontPN, "\xB3\xDA\xA2", 3, {"B3", "DA+A2"}},
    {"PN tippi after sign I, which stands first (ਕਿੰ)",
     GurmukhiScript,
     kFontPN,
     "\xB3\xDB\xA2",
     3,
     {"DB", "B3+N"}},
    {"PN tippi after sign U (ਕੁੰ)", GurmukhiScript, kFontPN, "\xB3\xDD\xA2", 3, {"B3+N", "DD"}},
    {"PN bindi after sign II (ਕੀਂ)", GurmukhiScript, kFontPN, "\xB3\xDC\xA2", 3, {"B3", "DC+A2"}},
    {"PN tippi after vowel A (ਅੰ)", GurmukhiScript, kFontPN, "\xA4\xA2", 2, {"A4+N"}},
    {"PN tippi on a consonant the font has no pair for",
     GurmukhiScript,
     kFontPN,
     "\xBB\xA2",
     2,
     {"BB", "N"}},
    {"PN bindi after vowel AA (ਆਂ)", GurmukhiScript, kFontPN, "\xA5\xA2", 2, {"A5+A2"}},
    {"PN addak for a doubled consonant (ੱਕ)",
     GurmukhiScript,
     kFontPN,
     "\xB3\xE8\xB3\xDA",
     4,
     {"G", "B3", "DA"}},
    {"PN no reph: RA keeps a visible halant",
     GurmukhiScript,
     kFontPN,
     "\xCF\xE8\xB3",
     3,
     {"CF", "E8", "B3"}},
    {"PN subjoined RA (ਪ੍ਰ)", GurmukhiScript, kFontPN, "\xC8\xE8\xCF", 3, {"C8", "E8+CF"}},
    {"PN subjoined HA with sign I before it (ਨ੍ਹਿ)",
     GurmukhiScript,
     kFontPN,
     "\xC6\xE8\xD8\xDB",
     4,
     {"DB", "C6", "E8+D8"}},
    {"PN nukta letter (ਸ਼)", GurmukhiScript, kFontPN, "\xD7\xE9\xDA", 3, {"D7+E9", "DA"}},
    {"PNB tippi in the bilingual font", GurmukhiScript, kFontPNB, "\xB3\xA2", 2, {"B3", "N"}},
    {"PN bindi joined to the consonant with its sign AI (ਲੈਂ)",
     GurmukhiScript,
     kFontPN,
     "\xD1\xE2\xA2",
     3,
     {"D1+E2+A2"}},
    {"PN TA with sign OO and bindi as one glyph (ਤੋਂ)",
     GurmukhiScript,
     kFontPN,
     "\xC2\xE5\xA2",
     3,
     {"C2+E5+A2"}},
    {"PN bindi apart where the pair has no glyph with it (ਰੇਂ)",
     GurmukhiScript,
     kFontPN,
     "\xCF\xE1\xA2",
     3,
     {"CF+E1", "A2"}},
    {"PN bindi with the sign where no pair is (ਞੋਂ)",
     GurmukhiScript,
     kFontPN,
     "\xBC\xE5\xA2",
     3,
     {"BC", "E5+A2"}},
    {"PN SA + nukta is the glyph of ISCII SHA", GurmukhiScript, kFontPN, "\xD7\xE9", 2, {"D5"}},
    {"PN LA + nukta is the glyph of ISCII LLA", GurmukhiScript, kFontPN, "\xD1\xE9", 2, {"D2"}},
    {"PN SHA typed as SA + nukta with its sign OO (ਸ਼ੋ)",
     GurmukhiScript,
     kFontPN,
     "\xD7\xE9\xE5",
     3,
     {"D7+E9+E5"}},
    // Oriya.
    {"OR split AI: sign E before, length mark after (କୈ)",
     OriyaScript,
     kFontOR,
     "\xB3\xE2",
     2,
     {"E1", "B3", "E2"}},
    {"OR split O after a three-consonant cluster",
     OriyaScript,
     kFontOR,
     "\xD7\xE8\xC2\xE8\xCF\xE5",
     6,
     {"E1", "D7+E8+C2", "E8+CF", "DA"}},
    {"OR pre-base E with reph (ର୍କେ)",
     OriyaScript,
     kFontOR,
     "\xCF\xE8\xB3\xE1",
     4,
     {"E1", "B3", "R"}},
    {"OR subjoined consonant (କ୍ଲ)", OriyaScript, kFontOR, "\xB3\xE8\xD1", 3, {"B3", "E8+D1"}},
    {"OR ya-phala after a conjunct, sign U before it",
     OriyaScript,
     kFontOR,
     "\xC6\xE8\xC2\xE8\xCD\xDD",
     6,
     {"C6+E8+C2", "DD", "E8+CD"}},
    {"OR virama placed on SA at the word's end (ସ୍)",
     OriyaScript,
     kFontOR,
     "\xD7\xE8",
     2,
     {"D7", "P+D7+E8"}},
    {"OR virama placed on KA (କ୍)", OriyaScript, kFontOR, "\xB3\xE8", 2, {"B3", "P+B3+E8"}},
    {"OR virama on NA at its own place (ନ୍)", OriyaScript, kFontOR, "\xC6\xE8", 2, {"C6", "E8"}},
    {"OR subjoined form placed on SA, no visible virama (ସ୍ଲ)",
     OriyaScript,
     kFontOR,
     "\xD7\xE8\xD1",
     3,
     {"D7", "P+D7+E8+D1"}},
    {"OR sign E after a placed virama inside the cluster (ସ୍ଙେ)",
     OriyaScript,
     kFontOR,
     "\xD7\xE8\xB7\xE1",
     4,
     {"D7", "P+D7+E8", "E1", "B7"}},
    {"OR ra-phala placed on PA, sign I at its own place after it (ପ୍ରି)",
     OriyaScript,
     kFontOR,
     "\xC8\xE8\xCF\xDB",
     4,
     {"C8", "P+C8+E8+CF", "DB"}},
    {"OR ya-phala placed on SA (ସ୍ଯ)", OriyaScript, kFontOR, "\xD7\xE8\xCD", 3, {"D7", "P+D7+E8+CD"}},
    {"OR sign U under SA before the placed ya-phala (ସ୍ଯୁ)",
     OriyaScript,
     kFontOR,
     "\xD7\xE8\xCD\xDD",
     4,
     {"D7", "DD", "P+D7+E8+CD"}},
    {"OR sign U placed on GA (ଗୁ)", OriyaScript, kFontOR, "\xB5\xDD", 2, {"B5", "P+B5+DD"}},
    {"OR the reph leaves GA the base of sign U (ର୍ଗୁ)",
     OriyaScript,
     kFontOR,
     "\xCF\xE8\xB5\xDD",
     4,
     {"B5", "R", "P+B5+DD"}},
    {"OR sign U right of a conjunct without a place for it (ସ୍ତୁ)",
     OriyaScript,
     kFontOR,
     "\xD7\xE8\xC2\xDD",
     4,
     {"D7+E8+C2", "P+D7+E8+C2+DD"}},
    {"OR sign I with the reph as one glyph over MA (ର୍ମି)",
     OriyaScript,
     kFontOR,
     "\xCF\xE8\xCC\xDB",
     4,
     {"CC", "DB+R"}},
    {"OR sign I placed on PHA (ଫି)", OriyaScript, kFontOR, "\xC9\xDB", 2, {"C9", "P+C9+DB"}},
    {"OR subjoined BA placed on DHA (ଧ୍ବ)", OriyaScript, kFontOR, "\xC5\xE8\xCA", 3, {"C5", "P+C5+E8+CA"}},
    {"OR sign UU right of RRA (ଡ଼ୂ)", OriyaScript, kFontOR, "\xBF\xE9\xDE", 3, {"BF+E9", "P+BF+E9+DE"}},
    {"OR sign I with the candrabindu as one glyph (ହିଁ)",
     OriyaScript,
     kFontOR,
     "\xD8\xDB\xA1",
     3,
     {"D8", "DB+A1"}},
    {"OR ra-phala + sign U as one mark placed on BA (ବ୍ରୁ)",
     OriyaScript,
     kFontOR,
     "\xCA\xE8\xCF\xDD",
     4,
     {"CA", "P+CA+E8+CF+DD"}},
    {"OR ra-phala + sign U at its own place under KA (କ୍ରୁ)",
     OriyaScript,
     kFontOR,
     "\xB3\xE8\xCF\xDD",
     4,
     {"B3", "E8+CF+DD"}},
    {"OR CA after a halant without a subjoined form: visible virama (ନ୍ଚ)",
     OriyaScript,
     kFontOR,
     "\xC6\xE8\xB8",
     3,
     {"C6", "E8", "B8"}},
    {"ORB places sign U on GA too (ଗୁ)", OriyaScript, kFontORB, "\xB5\xDD", 2, {"B5", "P+B5+DD"}},
    {"ORB has no place for sign U right of a conjunct (ସ୍ତୁ)",
     OriyaScript,
     kFontORB,
     "\xD7\xE8\xC2\xDD",
     4,
     {"D7", "E8+C2", "DD"}},
    // Gujarati.
    {"GJ pre-base i in its width before a conjunct (સ્તિ)",
     GujaratiScript,
     kFontGJ,
     "\xD7\xE8\xC2\xDB",
     4,
     {"DB+D7+E8+C2", "D7+E8+C2"}},
    {"GJ pre-base i in its width before a half form and its consonant (પ્તિ)",
     GujaratiScript,
     kFontGJ,
     "\xC8\xE8\xC2\xDB",
     4,
     {"DB+C8+E8+C2", "C8+E8", "C2"}},
    {"GJ pre-base i of NA's width before NA", GujaratiScript, kFontGJ, "\xC6\xDB", 2, {"DB", "C6"}},
    {"GJ reph at the end of the syllable (ર્કા)",
     GujaratiScript,
     kFontGJ,
     "\xCF\xE8\xB3\xDA",
     4,
     {"B3", "DA", "R"}},
    {"GJ half form before a full consonant (પ્ન)",
     GujaratiScript,
     kFontGJ,
     "\xC8\xE8\xC6",
     3,
     {"C8+E8", "C6"}},
    {"GJ rakar under the consonant (પ્ર)", GujaratiScript, kFontGJ, "\xC8\xE8\xCF", 3, {"C8+E8+CF"}},
    {"GJ left anusvara over KA (કં)", GujaratiScript, kFontGJ, "\xB3\xA2", 2, {"B3", "N"}},
    {"GJ anusvara over KHA stays (ખં)", GujaratiScript, kFontGJ, "\xB4\xA2", 2, {"B4", "A2"}},
    {"GJ left anusvara with sign U (કું)",
     GujaratiScript,
     kFontGJ,
     "\xB3\xDD\xA2",
     3,
     {"B3", "N", "DD"}},
    {"GJ anusvara over sign AA stays (કાં)",
     GujaratiScript,
     kFontGJ,
     "\xB3\xDA\xA2",
     3,
     {"B3", "DA", "A2"}},
    {"GJ RA + sign U takes the anusvara in (રું)",
     GujaratiScript,
     kFontGJ,
     "\xCF\xDD\xA2",
     3,
     {"CF+DD+N"}},
    {"GJ the last consonant of the cluster decides (સ્કં)",
     GujaratiScript,
     kFontGJ,
     "\xD7\xE8\xB3\xA2",
     4,
     {"D7+E8", "B3", "N"}},
    {"GJ no left anusvara after a vowel letter (અં)",
     GujaratiScript,
     kFontGJ,
     "\xA4\xA2",
     2,
     {"A4", "A2"}},
    {"GJB has no left form: plain anusvara", GujaratiScript, kFontGJB, "\xB3\xA2", 2, {"B3", "A2"}},
};

TEST(NorthScripts, HardCases) {
    int row = 0;
    for (const Case& c : kCases) {
        const IndicScript& script = c.script(c.font);
        unsigned char out[NK_ADAPTER_OUT_MAX];
        int32_t consumed = 0, length = 0;
        IndicAdapterEntry(script, (const unsigned char*)c.iscii, out, &consumed, &length, 0);
        std::string codes;
        for (int k = 0; out[k]; k += 2)
            codes += (char)out[k];
        EXPECT_EQ(Hex(Expected(script, c.glyphs)), Hex(codes)) << "row " << row << ": " << c.what;
        EXPECT_EQ(c.consumed, consumed) << "row " << row << ": " << c.what;
        ++row;
    }
}

// Every letter, sign and digit the script uses draws something in both
// fonts; the letters ICU gives the script no meaning for may draw nothing.
TEST(NorthScripts, EveryLetterDrawsSomething) {
    struct Script {
        const char* name;
        const IndicScript& (*script)(int font);
        const char* none; // codes with no glyph, by the script's choice
    };
    const Script scripts[] = {
        {"BN", BengaliScript, "\xD2\xD3\xEB"},
        {"PN", GurmukhiScript, "\xAA\xDF\xD6"},
        {"OR", OriyaScript, ""},
        {"GJ", GujaratiScript, "\xE9"},
    };
    for (const Script& s : scripts) {
        for (int font = 0; font < 2; ++font) {
            for (int b = 0xA1; b <= 0xFA; ++b) {
                if (b == 0xD9 || (b >= 0xEB && b <= 0xF0) || strchr(s.none, b)) continue;
                unsigned char text[2] = {(unsigned char)b, 0};
                unsigned char out[NK_ADAPTER_OUT_MAX];
                int32_t consumed = 0, length = 0;
                IndicAdapterEntry(s.script(font), text, out, &consumed, &length, 0);
                EXPECT_NE(0, out[0]) << s.name << " font " << font << " byte " << std::hex << b;
            }
        }
    }
}

} // namespace
