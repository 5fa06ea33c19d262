// The ISCII to Unicode conversion against ICU: every line of the files that
// make_iscii_expected.py wrote with uconv (every code, pairs, triples, ends
// of text, dictionary words) must come out unit for unit as ICU read it, and
// Hindi and Marathi words in diacritic Roman as ICU's Devanagari-Latin
// transliteration writes them (ISO 15919, and IAST made of it).
// Usage: iscii_icu_check DATA_DIR. Prints each failing row (the first few
// per file) and one summary line per file; exits non-zero on any mismatch.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>

#include "driver/scripts/iscii_unicode.h"

namespace {

// The Indian scripts take no Roman options; Roman is checked in lower case,
// after Devanagari, in the letters of the file being read.
const RomanSpelling kNoRoman = {0, 0, 0};

enum { kLineMax = 4096, kBytesMax = 512, kUnitsMax = 1024, kShownFailures = 8 };

struct Row {
    unsigned char input[kBytesMax];
    size_t inputLength;
    uint16_t expected[kUnitsMax];
    size_t expectedLength;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "a4b3<TAB>0905 0915": input bytes, then UTF-16 units. False if malformed.
bool ParseRow(const char* line, Row* row) {
    row->inputLength = 0;
    row->expectedLength = 0;
    const char* p = line;
    while (*p && *p != '\t') {
        int hi = HexDigit(p[0]), lo = p[1] ? HexDigit(p[1]) : -1;
        if (hi < 0 || lo < 0 || row->inputLength >= kBytesMax) return false;
        row->input[row->inputLength++] = (unsigned char)(hi * 16 + lo);
        p += 2;
    }
    if (*p++ != '\t') return false;
    while (*p && *p != '\n') {
        if (*p == ' ') {
            ++p;
            continue;
        }
        unsigned value = 0;
        for (int k = 0; k < 4; ++k) {
            int d = HexDigit(p[k]);
            if (d < 0) return false;
            value = value * 16 + (unsigned)d;
        }
        if (row->expectedLength >= kUnitsMax) return false;
        row->expected[row->expectedLength++] = (uint16_t)value;
        p += 4;
    }
    return true;
}

// Known difference, kept on purpose: when Gurmukhi text ends in consonant +
// halant, ICU drops the consonant it was holding back for a possible addak;
// the typed word keeps it (ours = ICU's text with the consonant before the
// final virama).
bool KeptGurmukhiConsonant(int version, const Row& row, const uint16_t* got, size_t gotLength) {
    const uint16_t kVirama = 0x0A4D;
    const size_t n = row.expectedLength;
    return version == ISCII_GURMUKHI && row.inputLength >= 2 &&
           row.input[row.inputLength - 1] == 0xE8 && n >= 1 && gotLength == n + 1 &&
           row.expected[n - 1] == kVirama && got[n] == kVirama &&
           memcmp(got, row.expected, (n - 1) * sizeof got[0]) == 0;
}

void PrintUnits(const uint16_t* units, size_t n) {
    for (size_t i = 0; i < n; ++i)
        printf("%s%04x", i ? " " : "", units[i]);
}

int knownDifferences = 0;

// Returns the number of mismatching rows of one file; *rows gets the total.
int CheckFile(const char* path, int version, const RomanSpelling& spelling, int* rows) {
    FILE* f = fopen(path, "r");
    if (!f) {
        printf("FAIL %s: cannot open\n", path);
        return 1;
    }
    static char line[kLineMax];
    static Row row;
    int failures = 0, lineNo = 0;
    while (fgets(line, sizeof line, f)) {
        ++lineNo;
        if (!ParseRow(line, &row)) {
            printf("FAIL %s:%d malformed row\n", path, lineNo);
            ++failures;
            continue;
        }
        uint16_t got[kUnitsMax];
        size_t gotLength = 0;
        IsciiToUnicode(row.input, row.inputLength, version, spelling, got, kUnitsMax, &gotLength);
        if (gotLength == row.expectedLength &&
            memcmp(got, row.expected, gotLength * sizeof got[0]) == 0)
            continue;
        if (KeptGurmukhiConsonant(version, row, got, gotLength)) {
            ++knownDifferences;
            continue;
        }
        if (++failures <= kShownFailures) {
            printf("FAIL %s:%d input %.*s\n  ICU  ", path, lineNo, (int)(strchr(line, '\t') - line),
                   line);
            PrintUnits(row.expected, row.expectedLength);
            printf("\n  ours ");
            PrintUnits(got, gotLength);
            printf("\n");
        }
    }
    fclose(f);
    *rows = lineNo;
    return failures;
}

struct Language {
    const char* name;
    int version;
};
const Language kLanguages[] = {{"hi", 0}, {"mr", 0}, {"bn", 1}, {"pa", 2}, {"gu", 3},
                               {"or", 4}, {"ta", 5}, {"te", 6}, {"kn", 7}, {"ml", 8}};
const int kMinimumWords = 500;
const char* const kRomanLanguages[] = {"hi", "mr"};
const int kMinimumRomanWords = 300; // the words without anusvara or candrabindu

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
        return 2;
    }
    char path[1024];
    int total = 0;
    for (int v = 0; v < ISCII_VERSION_COUNT; ++v) {
        for (const char* kind : {"codes", "ends"}) {
            snprintf(path, sizeof path, "%s/%s_%d.tsv", argv[1], kind, v);
            int rows = 0;
            const int bad = CheckFile(path, v, kNoRoman, &rows);
            printf("version %d %-5s %6d rows, %d mismatches\n", v, kind, rows, bad);
            total += bad;
        }
    }
    for (const Language& lang : kLanguages) {
        snprintf(path, sizeof path, "%s/words_%s.tsv", argv[1], lang.name);
        int rows = 0;
        const int bad = CheckFile(path, lang.version, kNoRoman, &rows);
        printf("words %s (version %d) %d words, %d mismatches\n", lang.name, lang.version, rows,
               bad);
        if (rows < kMinimumWords) {
            printf("FAIL words %s: only %d words\n", lang.name, rows);
            ++total;
        }
        total += bad;
    }
    struct RomanStyle {
        const char* file;
        const char* name;
        int accent;
    };
    const RomanStyle kStyles[] = {{"roman", "ISO 15919", 1}, {"roman_iast", "IAST", 0}};
    for (const RomanStyle& style : kStyles) {
        const RomanSpelling roman = {0, style.accent, 'B'};
        for (const char* name : kRomanLanguages) {
            snprintf(path, sizeof path, "%s/%s_%s.tsv", argv[1], style.file, name);
            int rows = 0;
            const int bad = CheckFile(path, ISCII_ROMAN, roman, &rows);
            printf("roman %s (%s) %d words, %d mismatches\n", name, style.name, rows, bad);
            if (rows < kMinimumRomanWords) {
                printf("FAIL roman %s (%s): only %d words\n", name, style.name, rows);
                ++total;
            }
            total += bad;
        }
    }
    printf("%s: %d mismatches, %d known differences (Gurmukhi consonant + halant at the end)\n",
           total ? "FAILED" : "PASSED", total, knownDifferences);
    return total ? 1 : 0;
}
