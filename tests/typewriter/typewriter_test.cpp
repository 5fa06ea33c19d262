// The Remington and Tamil99 converters on their hard cases, typed as a typist
// strikes the keys: each key's text comes from the layout file the build
// wrote (through the driver's own reader), the word is converted again after
// every key as the driver does, and the result is compared with ICU's ISCII
// of the expected word.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "support/layout_file.h"
#include "modules/typewriter/remington.h"
#include "modules/typewriter/tamil99.h"
#include "modules/typewriter/typed_output.h"
#include "tests/harness/hex_text.h"

namespace {

const int kScriptDevanagari = 'B', kScriptTamil = 'D';
const int kIcuDevanagari = 0, kIcuTamil = 5;
const char kBackspace = '\b';

typedef size_t (*ConvertFn)(const unsigned char*, unsigned char*);

// A US keyboard: the scan code of each character and whether it is shifted.
bool KeyOf(char c, int* scan, bool* shifted) {
    static const struct {
        int first;
        const char *normal, *upper;
    } rows[] = {{2, "1234567890-=", "!@#$%^&*()_+"}, {16, "qwertyuiop[]", "QWERTYUIOP{}"},
                {30, "asdfghjkl;'`", "ASDFGHJKL:\"~"}, {43, "\\zxcvbnm,./", "|ZXCVBNM<>?"}};
    for (const auto& row : rows) {
        const char* at = strchr(row.normal, c);
        *shifted = at == nullptr;
        if (!at) at = strchr(row.upper, c);
        if (at && c) {
            *scan = row.first + (int)(at - (*shifted ? row.upper : row.normal));
            return true;
        }
    }
    return false;
}

struct Layout {
    LayoutTable table;
    bool loaded = false;
};

bool LoadLayout(const char* file, int script, Layout* layout) {
    std::string path = std::string(NK_STAGE_DATA) + "/" + file;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    static unsigned char image[64 * 1024];
    const size_t size = fread(image, 1, sizeof image, f);
    fclose(f);
    LayoutImage source = {image, size};
    static unsigned char directory[LAYOUT_DIRECTORY_MAX];
    LayoutBlock block;
    memset(&layout->table, 0, sizeof layout->table);
    if (ReadLayoutBlock(ReadFromImage, &source, script, directory, &block) != LAYOUT_READ_OK)
        return false;
    layout->loaded = ApplyLayoutBlock(&block, &layout->table) == LAYOUT_SLOTS;
    return layout->loaded;
}

// The typed codes after the keys; Backspace drops the last code, as the
// driver does. Empty with *ok false when a key is not on the keyboard.
std::string Typed(const Layout& layout, const char* keys, bool* ok) {
    std::string typed;
    *ok = true;
    for (const char* k = keys; *k; ++k) {
        if (*k == kBackspace) {
            if (!typed.empty()) typed.pop_back();
            continue;
        }
        if (*k == ' ') {
            typed += ' ';
            continue;
        }
        int scan = 0;
        bool shifted = false;
        if (!KeyOf(*k, &scan, &shifted)) {
            *ok = false;
            return "";
        }
        const KeyEntry& key = layout.table.keys[scan];
        typed += shifted ? key.scriptShifted : key.scriptNormal;
    }
    return typed;
}

std::string Convert(ConvertFn convert, const std::string& typed) {
    unsigned char out[typewriter::kOutMax + 16];
    memset(out, 0xAA, sizeof out);
    const size_t n = convert((const unsigned char*)typed.c_str(), out);
    EXPECT_EQ(out[n], 0) << "terminated at the returned length";
    EXPECT_EQ(out[typewriter::kOutMax], 0xAA) << "nothing beyond the contract's buffer";
    return std::string((const char*)out, n);
}

// ICU's ISCII for UTF-8 text, without the script-switch pair it begins with.
std::string IcuIscii(const char* utf8, int version) {
    char command[256];
    snprintf(command, sizeof command, "printf '%%s' '%s' | uconv -f UTF-8 -t ISCII,version=%d",
             utf8, version);
    FILE* pipe = popen(command, "r");
    if (!pipe) return "(uconv missing)";
    std::string out;
    int c;
    while ((c = fgetc(pipe)) != EOF)
        out += (char)c;
    pclose(pipe);
    if (out.size() >= 2 && (unsigned char)out[0] == 0xEF) out.erase(0, 2);
    return out;
}

struct Row {
    const char* keys;     // English keys as struck; '\b' is Backspace
    const char* expected; // the word, UTF-8
    const char* why;
};

void CheckRows(const char* file, int script, int icu, ConvertFn convert, const Row* rows,
               size_t count) {
    Layout layout;
    ASSERT_TRUE(LoadLayout(file, script, &layout)) << file;
    for (size_t i = 0; i < count; ++i) {
        const Row& row = rows[i];
        bool ok = false;
        const std::string typed = Typed(layout, row.keys, &ok);
        ASSERT_TRUE(ok) << "row " << i << ": a key is not on the keyboard: " << row.keys;
        const std::string want = IcuIscii(row.expected, icu);
        EXPECT_EQ(Hex(Convert(convert, typed)), Hex(want))
            << "row " << i << " (" << row.why << "): keys \"" << row.keys << "\" typed "
            << Hex(typed) << "expected " << row.expected;
    }
}

const Row kRemington[] = {
    {"fd", "कि", "short i before its consonant"},
    {"fLFk", "स्थि", "short i before a conjunct of half letter and half+stem"},
    {"fUn", "न्दि", "short i before half letter and full letter"},
    {"f(", "त्रि", "short i before a conjunct key"},
    {"fdz", "क्रि", "short i before consonant and subscript ra"},
    {"fd]", "कि,", "short i ends at a non-letter"},
    {"/keZ", "धर्म", "reph after its syllable"},
    {"deksZa", "कर्मों", "reph after a syllable with a vowel sign, anusvara after"},
    {"deksaZ", "कर्मों", "reph after the anusvara too"},
    {"o\"kksZa", "वर्षों", "reph after half+stem letter and o sign"},
    {"/kfeZd", "धर्मिक", "reph after a syllable with the short i"},
    {"Z", "र्", "reph with no syllable before it"},
    {"f", "ि", "short i alone: the dead key stays as typed"},
    {"f d", "ि क", "short i then a space: it does not reach across"},
    {"L", "स्", "half letter alone"},
    {"Z d", "र् क", "reph then a space"},
    {"[kkuk", "खाना", "half letter + stem is the full letter"},
    {"vk", "आ", "vowel from parts"},
    {"vks", "ओ", "vowel from parts"},
    {"vkS", "औ", "vowel from parts"},
    {",s", "ऐ", "vowel from parts"},
    {"bZ", "ई", "vowel from parts"},
    {"dkS", "कौ", "au sign from parts"},
    {"M`", "ड़", "nukta after its letter"},
    {"K", "ज्ञ", "conjunct key"},
    {"Jh", "श्री", "conjunct key and long i"},
    {"fdk\b", "कि", "Backspace takes the stem back"},
    {"fd\b", "ि", "Backspace inside: the short i waits again"},
    {"fLF\b", "स्थि", "Backspace takes a half letter's halant: the full letter shows"},
    {"deksZ\b", "कमो", "Backspace takes the reph back"},
    {"dks\bs", "को", "Backspace and a new sign"},
};

const Row kTamil[] = {
    {"hq", "கா", "consonant + vowel key = vowel sign"},
    {"hs", "கி", "consonant + vowel key = vowel sign"},
    {"hh", "க்க", "two equal consonants: pulli on the first"},
    {"hhh", "க்கக", "the pair does not start another"},
    {"hhhh", "க்கக்க", "a new pair after the pair"},
    {"bh", "ங்க", "automatic pulli: nasal and its plosive"},
    {"[]", "சஞ", "not a pair the other way round"},
    {"][", "ஞ்ச", "automatic pulli"},
    {"po", "ண்ட", "automatic pulli"},
    {"op", "டண", "no pulli"},
    {"pol", "ண்டத", "automatic pulli, then no pair"},
    {";l", "ந்த", "automatic pulli"},
    {"kj", "ம்ப", "automatic pulli"},
    {"iu", "ன்ற", "automatic pulli"},
    {"hfq", "க்ஆ", "vowel after pulli is a vowel"},
    {"hah", "கக", "the a key keeps two consonants apart"},
    {"ha", "க", "the a key adds nothing"},
    {"qh", "ஆக", "vowel at the start"},
    {"hqq", "காஆ", "vowel after a vowel sign"},
    {"hhq", "க்கா", "sign on the second of a pair"},
    {"lf", "த்", "pulli key"},
    {"hh\b", "க", "Backspace undoes the pair"},
    {"kjq\bs", "ம்பி", "Backspace then another vowel"},
    {"Tq", "க்ஷா", "ksha key takes a sign"},
    {"lkpo", "தமண்ட", "one pair at the end"},
    {"vdlf", "வுத்", "word ends on pulli"},
    {"F", "ஃ", "aytham"},
};

TEST(Remington, HardCasesThroughTheLayout) {
    CheckRows("DVRKBD32.typ", kScriptDevanagari, kIcuDevanagari, remington::MakeIscii, kRemington,
              sizeof kRemington / sizeof kRemington[0]);
}

TEST(Tamil99, RulesThroughTheLayout) {
    CheckRows("TM9KBD32.typ", kScriptTamil, kIcuTamil, tamil99::MakeIscii, kTamil,
              sizeof kTamil / sizeof kTamil[0]);
}

// Real Hindi words (remington_words.tsv): the Remington keys, converted,
// give the very ISCII that the Inscript keys type.
TEST(Remington, RealWordsGiveWhatInscriptTypes) {
    Layout remington, inscript;
    ASSERT_TRUE(LoadLayout("DVRKBD32.typ", kScriptDevanagari, &remington));
    ASSERT_TRUE(LoadLayout("INSKBD.BIN", kScriptDevanagari, &inscript));
    FILE* f = fopen(NK_WORDS_FILE, "r");
    ASSERT_NE(f, nullptr) << NK_WORDS_FILE;
    char line[512];
    int words = 0;
    while (fgets(line, sizeof line, f)) {
        char word[128], inscriptKeys[128], remingtonKeys[128];
        if (line[0] == '#' || sscanf(line, "%127s %127s %127s", word, inscriptKeys,
                                     remingtonKeys) != 3)
            continue;
        bool okInscript = false, okRemington = false;
        const std::string want = Typed(inscript, inscriptKeys, &okInscript);
        const std::string typed = Typed(remington, remingtonKeys, &okRemington);
        ASSERT_TRUE(okInscript && okRemington) << word;
        EXPECT_EQ(Hex(Convert(remington::MakeIscii, typed)), Hex(want))
            << word << ": Remington keys " << remingtonKeys << ", Inscript keys " << inscriptKeys;
        ++words;
    }
    fclose(f);
    EXPECT_GE(words, 100);
}

// A word longer than the output holds is cut at the buffer's end, always
// terminated; reph insertions near the end never push past it.
TEST(Converters, LongInputIsCutNeverOverruns) {
    const struct {
        ConvertFn convert;
        unsigned char code;
        const char* what;
    } rows[] = {{remington::MakeIscii, 0xB3, "consonants"},
                {remington::MakeIscii, remington::kRephMark, "reph marks (two codes each)"},
                {tamil99::MakeIscii, 0xB3, "equal consonants (pulli each pair)"}};
    for (const auto& row : rows) {
        for (size_t length : {126u, 127u, 128u, 254u, 255u, 256u, 600u}) {
            std::string typed(length, (char)row.code);
            if (row.code == remington::kRephMark)
                for (size_t i = 0; i < length; i += 2)
                    typed[i] = (char)0xCC; // म then reph: each reph moves in front of it
            const std::string out = Convert(row.convert, typed);
            EXPECT_LE(out.size(), typewriter::kOutMax - 1) << row.what << " x" << length;
            if (length >= typewriter::kOutMax) {
                EXPECT_GE(out.size(), typewriter::kOutMax - 2) << row.what << " x" << length;
            }
        }
    }
}

} // namespace
