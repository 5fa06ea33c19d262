// rulec: the rule file compiler.
//
//   rulec SOURCE OUTPUT     compile a readable rule source into a scrambled
//                           rule file, then load it with the driver's own
//                           loader to prove that it reads back
//   rulec -d RULEFILE       print a rule file as a readable source
//
// A source is the rule file's text as the loader sees it, with one addition:
// "\xHH" stands for the byte HH (ISCII codes stay readable in an editor) and
// "\\" for a backslash, except in comment lines (";"), which are kept as they
// are; they cost the converter nothing.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "driver/rules/rule_frame.h"

enum { MAX_RULE_FILE = 1 << 20 };

static unsigned char fileBytes[MAX_RULE_FILE];

static int HexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

static long ReadWhole(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f) {
        fprintf(stderr, "rulec: cannot open %s\n", path);
        return -1;
    }
    size_t n = fread(fileBytes, 1, sizeof fileBytes, f);
    bool more = fgetc(f) != EOF;
    fclose(f);
    if (more) {
        fprintf(stderr, "rulec: %s is larger than %d bytes\n", path, MAX_RULE_FILE);
        return -1;
    }
    return (long)n;
}

// Resolve the escapes in place; returns the new length or -1.
static long Unescape(long length, const char* path) {
    long out = 0;
    int line = 1;
    bool comment = false; // comment lines are kept as they are
    for (long i = 0; i < length; i++) {
        unsigned char c = fileBytes[i];
        if (i == 0 || fileBytes[i - 1] == '\n') comment = c == ';';
        if (c == '\n') line++;
        if (c != '\\' || comment) {
            fileBytes[out++] = c;
            continue;
        }
        if (i + 1 < length && fileBytes[i + 1] == '\\') {
            fileBytes[out++] = '\\';
            i++;
            continue;
        }
        if (i + 3 < length && fileBytes[i + 1] == 'x' && HexValue(fileBytes[i + 2]) >= 0 &&
            HexValue(fileBytes[i + 3]) >= 0) {
            int value = HexValue(fileBytes[i + 2]) * 16 + HexValue(fileBytes[i + 3]);
            if (value == 0 || value == '\n') {
                fprintf(stderr, "%s:%d: \\x%02X cannot stand in a rule file\n", path, line, value);
                return -1;
            }
            fileBytes[out++] = (unsigned char)value;
            i += 3;
            continue;
        }
        fprintf(stderr, "%s:%d: unknown escape (use \\xHH or \\\\)\n", path, line);
        return -1;
    }
    return out;
}

static int Compile(const char* sourcePath, const char* outputPath) {
    long length = ReadWhole(sourcePath);
    if (length < 0) return 1;
    length = Unescape(length, sourcePath);
    if (length < 0) return 1;
    ScrambleRuleBytes(fileBytes, (size_t)length, 0);
    FILE* f = fopen(outputPath, "wb");
    if (!f || fwrite(fileBytes, 1, (size_t)length, f) != (size_t)length) {
        fprintf(stderr, "rulec: cannot write %s\n", outputPath);
        if (f) fclose(f);
        return 1;
    }
    if (fclose(f) != 0) return 1;
    int code = LoadRuleFile(outputPath);
    if (code != RULE_LOADED) {
        fprintf(stderr, "rulec: %s does not load (code %d)\n", outputPath, code);
        remove(outputPath);
        return 1;
    }
    int groups = 0, rules = 0;
    for (const RuleGroup* g = ruleFrame.groups; g; g = g->next) {
        groups++;
        for (const Rule* r = g->rules; r; r = r->next)
            rules++;
    }
    if (groups == 0) {
        fprintf(stderr, "rulec: %s loads but holds no rules (is a free line missing?)\n",
                outputPath);
        remove(outputPath);
        return 1;
    }
    printf("rulec: %s: %d classes, %d groups, %d rules, %zu bytes of storage\n", outputPath,
           ruleFrame.classCount, groups, rules, ruleFrame.storageUsed);
    ResetRuleFrame();
    return 0;
}

static int Decompile(const char* path) {
    long length = ReadWhole(path);
    if (length < 0) return 1;
    ScrambleRuleBytes(fileBytes, (size_t)length, 0);
    for (long i = 0; i < length; i++) {
        unsigned char c = fileBytes[i];
        if (c == '\\') {
            fputs("\\\\", stdout);
        } else if (c == '\n' || (c >= 32 && c < 127)) {
            putchar(c);
        } else {
            printf("\\x%02X", c);
        }
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "-d") == 0) return Decompile(argv[2]);
    if (argc == 3) return Compile(argv[1], argv[2]);
    fprintf(stderr, "usage: rulec SOURCE OUTPUT | rulec -d RULEFILE\n");
    return 2;
}
