// The overlay's titles and font specifications, natively.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "manager/overlay/overlay_fonts.h"
#include "manager/overlay/overlay_text.h"

namespace {

struct TitleRow {
    int keyboard;
    const char* file;
    int script;
    const char* title;
};

TEST(OverlayText, TitlesNameKeyboardAndScript) {
    const TitleRow rows[] = {
        {160, "C:\\TAV\\INSKBD.BIN", 'B', "TAV KEYBOARD OVERLAY [INSCRIPT] - [DEVANAGARI]"},
        {161, "C:\\TAV\\PEKBD.BIN", 'D', "TAV KEYBOARD OVERLAY [Phonetic-English] - [TAMIL]"},
        {162, "C:\\TAV\\DVRKBD32.TYP", 'B', "TAV KEYBOARD OVERLAY [DVRKBD32.TYP] - [DEVANAGARI]"},
        {163, "MINE.BIN", 'R', "TAV KEYBOARD OVERLAY [MINE.BIN] - [SANSKIRT-DEV]"},
        {163, "C:\\ENDS\\", 'I', "TAV KEYBOARD OVERLAY [] - [MALAYALAM]"},
        {160, "", 'L', "TAV KEYBOARD OVERLAY [INSCRIPT] - []"}, // no script there
        {160, "", 0, "TAV KEYBOARD OVERLAY [INSCRIPT] - []"},
        {160, "", 'Z', "TAV KEYBOARD OVERLAY [INSCRIPT] - []"},
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        char title[OVERLAY_TITLE_SIZE];
        OverlayTitle(rows[i].keyboard, rows[i].file, rows[i].script, title, sizeof title);
        EXPECT_STREQ(title, rows[i].title) << "row " << i;
    }
    // A long file name is cut, never overrun; the title stays terminated.
    const std::string longName(400, 'X');
    char title[OVERLAY_TITLE_SIZE];
    memset(title, '#', sizeof title);
    OverlayTitle(163, longName.c_str(), 'B', title, sizeof title);
    EXPECT_EQ(strlen(title), sizeof title - 1);
    char subtitle[24];
    OverlaySubtitle(161, "", 'B', subtitle, sizeof subtitle);
    EXPECT_STREQ(subtitle, "[Phonetic-English] - [D");
}

struct FontEntryRow {
    const char* entry;
    bool fits;
    const char* face;
    const char* sizeText;
    int points;
};

TEST(OverlayText, FontEntriesSplitAtTheirLastComma) {
    const FontEntryRow rows[] = {
        {"DV-Velta,11", true, "DV-Velta", ",11", 11},
        {"Modern,10", true, "Modern", ",10", 10},
        {"A,B,12", true, "A,B", ",12", 12},
        {"NoSize", true, "NoSize", "", 0},
        {",9", true, "", ",9", 9},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,11", false, "", ",11", 11},
    };
    for (const FontEntryRow& row : rows) {
        char face[OVERLAY_FACE_SIZE] = "?";
        char sizeText[OVERLAY_SIZE_TEXT_SIZE] = "?";
        EXPECT_EQ(SplitFontEntry(row.entry, face, sizeof face, sizeText, sizeof sizeText), row.fits)
            << row.entry;
        EXPECT_STREQ(face, row.face) << row.entry;
        EXPECT_STREQ(sizeText, row.sizeText) << row.entry;
        EXPECT_EQ(FontEntryPoints(row.entry), row.points) << row.entry;
    }
}

TEST(OverlayText, AlternativeFacesPutTTAfterTheFirstHyphen) {
    const struct {
        const char* face;
        size_t size;
        const char* alternative; // null: does not fit
    } rows[] = {
        {"DV1-Velta", 32, "DV1-TTVelta"}, {"DV-Velta", 32, "DV-TTVelta"},
        {"AB-C-D", 32, "AB-TTC-D"},       {"Modern", 32, "TTModern"},
        {"DV-Velta", 11, "DV-TTVelta"},   {"DV-Velta", 10, nullptr},
    };
    for (const auto& row : rows) {
        char alternative[OVERLAY_FACE_SIZE] = "";
        const bool fits = AlternativeFace(row.face, alternative, row.size);
        EXPECT_EQ(fits, row.alternative != nullptr) << row.face << " in " << row.size;
        if (fits) {
            EXPECT_STREQ(alternative, row.alternative) << row.face;
        }
    }
}

// Every entry of the three tables splits into a face and a point size, and
// its "TT" face still fits the entry, so the overlay can always rewrite it.
TEST(OverlayText, EveryTableEntryAndItsTTFaceFit) {
    const char(*tables[])[OVERLAY_FONT_SIZE] = {scriptModeFonts, englishModeFonts, bilingualFonts};
    for (auto table : tables) {
        for (int slot = 0; slot < OVERLAY_FONT_SLOTS; ++slot) {
            const char* entry = table[slot];
            char face[OVERLAY_FACE_SIZE], sizeText[OVERLAY_SIZE_TEXT_SIZE];
            char alternative[OVERLAY_FACE_SIZE];
            ASSERT_TRUE(SplitFontEntry(entry, face, sizeof face, sizeText, sizeof sizeText)) << entry;
            EXPECT_GT(FontEntryPoints(entry), 0) << entry;
            ASSERT_TRUE(AlternativeFace(face, alternative, sizeof alternative)) << entry;
            EXPECT_LT(strlen(alternative) + strlen(sizeText), (size_t)OVERLAY_FONT_SIZE) << entry;
        }
    }
}

} // namespace
