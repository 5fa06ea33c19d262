// Rule-driven conversion: a text is split into words of alphabet characters,
// and each word is rewritten position by position by the first group (in file
// order) whose in-string is there and that has a rule whose context matches.
// Everything works in fixed per-process buffers; a call allocates nothing.
#include <string.h>

#include "driver/rules/rule_frame.h"

int ruleDirection = -1;

// Working storage reused by every call in this process.
static char currentWord[NK_RULE_WORD_MAX + 1];
static char paddedWord[NK_RULE_WORD_MAX + 3]; // a space, the word, a space
static char wordOutput[NK_RULE_WORD_MAX + 1];

/* ---------------- Patterns ---------------- */

static inline bool MatchOne(unsigned char text, unsigned char pattern) {
    unsigned classIndex = ruleFrame.classOfName[pattern];
    if (classIndex && (ruleFrame.memberBits[classIndex - 1][text >> 3] >> (text & 7)) & 1) {
        return true;
    }
    if (text == pattern) return true;
    return pattern == (unsigned char)ruleFrame.header.wildcardChar &&
           text != (unsigned char)ruleFrame.header.spaceChar;
}

static inline bool MatchSpan(const char* text, const char* pattern, int length) {
    for (int i = 0; i < length; i++) {
        if (!MatchOne((unsigned char)text[i], (unsigned char)pattern[i])) return false;
    }
    return true;
}

bool MatchPattern(const char* text, int textLength, const char* pattern, int patternLength) {
    return textLength == patternLength && MatchSpan(text, pattern, textLength);
}

/* ---------------- Words ---------------- */

int ConvertWord(const char* word, int length, char* out) {
    if (length > NK_RULE_WORD_MAX) length = NK_RULE_WORD_MAX;
    if (length < 0) length = 0;
    paddedWord[0] = ' ';
    memcpy(paddedWord + 1, word, (size_t)length);
    paddedWord[length + 1] = ' ';
    const int paddedLength = length + 2;
    int outLength = 0;
    int p = 1;
    while (p <= length) {
        const RuleGroup* applied = nullptr;
        const Rule* rule = nullptr;
        for (const RuleGroup* g = ruleFrame.groups; g && !applied; g = g->next) {
            const int inLength = g->inLength;
            // The window must be as long as the in-string.
            if (p + inLength > paddedLength) continue;
            if (!MatchSpan(g->inString, paddedWord + p, inLength)) continue;
            for (const Rule* r = g->rules; r; r = r->next) {
                const int start = p - r->prefixLength;
                // A prefix reaching before the padded word, or a suffix past
                // its end, does not match.
                if (start < 0 || p + inLength + r->suffixLength > paddedLength) continue;
                if (!MatchSpan(paddedWord + start, r->prefix, r->prefixLength)) continue;
                if (!MatchSpan(paddedWord + p + inLength, r->suffix, r->suffixLength)) continue;
                applied = g;
                rule = r;
                break;
            }
        }
        // No rule here, or an empty in-string that would not move on: the word fails.
        if (!applied || applied->inLength == 0) {
            out[0] = 0;
            return 0;
        }
        // An output longer than a word's room is cut there.
        for (const char* c = rule->out; *c && outLength < NK_RULE_WORD_MAX; c++) {
            out[outLength++] = *c;
        }
        p += applied->inLength;
    }
    out[outLength] = 0;
    return outLength;
}

/* ---------------- Texts ---------------- */

static inline bool IsWordChar(unsigned char c) {
    return ruleFrame.wordChar[c] != 0;
}

static inline bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The destination of one call: never more than `limit` characters.
struct Destination {
    char* text;
    int length;
    int limit;
};

static bool Append(Destination* d, const char* part, int count) {
    if (count > d->limit - d->length) return false;
    memcpy(d->text + d->length, part, (size_t)count);
    d->length += count;
    d->text[d->length] = 0;
    return true;
}

static bool AppendChar(Destination* d, char c) {
    return Append(d, &c, 1);
}

static void AddToWord(int* wordLength, char c) {
    // Characters beyond a word's room are dropped.
    if (*wordLength < NK_RULE_WORD_MAX) currentWord[(*wordLength)++] = c;
}

// Modes 1 and 2: every word converted, the characters between words copied.
static int ConvertWords(const char* source, Destination* d, int mode) {
    int wordLength = 0;
    for (int i = 0; source[i]; i++) {
        const char c = source[i];
        const bool last = source[i + 1] == 0;
        const bool word = IsWordChar((unsigned char)c);
        if (word && !last) {
            AddToWord(&wordLength, c);
            continue;
        }
        // Mode 1 converts a final non-word character with the word.
        if (word || (mode == 1 && last)) AddToWord(&wordLength, c);
        int n = ConvertWord(currentWord, wordLength, wordOutput);
        wordLength = 0;
        if (!Append(d, wordOutput, n)) return 0;
        if (mode == 1) {
            // The character that ended the word stays unless it is a letter.
            if (!IsLetter((unsigned char)c) && !AppendChar(d, c)) return 0;
        } else if (!word && (last || c != '?')) {
            // "?" between words is dropped; at the very end it stays.
            if (!AppendChar(d, c)) return 0;
        }
        if (last) return 1;
    }
    return 1;
}

int RulesConvertText(char* source, char* destination, int limit, int mode) {
    if (!destination) return 1;
    destination[0] = 0;
    if (!source) return 1;
    Destination d = {destination, 0, limit < 0 ? 0 : limit};
    switch (mode) {
    case 0: {
        // The leading run of word characters, cut in the caller's text.
        int n = 0;
        while (source[n] && IsWordChar((unsigned char)source[n]))
            n++;
        source[n] = 0;
        int outLength = ConvertWord(source, n, wordOutput);
        if (outLength > d.limit) outLength = d.limit;
        Append(&d, wordOutput, outLength);
        return 1;
    }
    case 1:
    case 2: return ConvertWords(source, &d, mode);
    default: return 1;
    }
}

/* ---------------- Loading by direction ---------------- */

const char* RuleFileName(int direction) {
    return direction == 1 ? "EN2IN.RUL" : direction == 0 ? "IN2EN.RUL" : nullptr;
}

int RulesRefused(int direction) {
    ruleDirection = direction;
    ResetRuleFrame();
    return RULES_NOT_FOUND;
}

int RulesInit(const char* directory, int direction) {
    ruleDirection = direction;
    const char* name = RuleFileName(direction);
    if (!name) return RULES_BAD_DIRECTION;
    ResetRuleFrame();
    static char path[NK_RULE_PATH_SIZE];
    size_t directoryLength = directory ? strlen(directory) : 0;
    size_t nameLength = strlen(name);
    // A path that does not fit cannot name the file.
    if (directoryLength + nameLength >= sizeof path) return RULES_NOT_FOUND;
    if (directoryLength) memcpy(path, directory, directoryLength);
    memcpy(path + directoryLength, name, nameLength + 1);
    switch (LoadRuleFile(path)) {
    case RULE_LOADED: return RULES_READY;
    case RULE_NO_MEMORY: return RULES_NO_MEMORY;
    case RULE_NOT_FOUND: return RULES_NOT_FOUND;
    default: return RULES_WRONG_FILE;
    }
}
