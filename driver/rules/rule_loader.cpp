// Loader of scrambled rule files into this process's rule frame.
//
// A file is read twice in one open: a counting pass sizes one storage block,
// then the reader seeks back and fills it. Every request is checked against
// the block, and every limit of the format (63 classes, in-strings of 19
// characters, 31 characters of prefix, in-string and suffix) is enforced by
// rejecting the file, so no file can make the loader write outside its block.
// A file that ends where the format needs more lines is a wrong rule file.
#include <stdlib.h>
#include <string.h>

#include "driver/rules/rule_frame.h"

RuleFrame ruleFrame = {
    {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '}, // header: spaces until a file is read
    {0},
    {0},
    0,
    nullptr,
    nullptr,
    nullptr,
    0,
    0,
    {0},
    {0},
    {{0}}};

/* ---------------- Reading lines ---------------- */

static int ReadRuleByte(RuleReader* reader) {
    int c = fgetc(reader->file);
    if (c == EOF) return -1;
    unsigned char byte = (unsigned char)c;
    ScrambleRuleBytes(&byte, 1, (size_t)reader->offset);
    reader->offset++;
    return byte;
}

// Give back the byte just read; the key position goes back with it.
static void UnreadRuleByte(RuleReader* reader, int byte) {
    unsigned char raw = (unsigned char)byte;
    reader->offset--;
    ScrambleRuleBytes(&raw, 1, (size_t)reader->offset);
    ungetc(raw, reader->file);
}

int ReadRuleLine(RuleReader* reader) {
    for (;;) {
        int c = ReadRuleByte(reader);
        if (c < 0) return 0;
        if (c == ';') {
            // A comment: skip it with its line feed and read the next line.
            while (c >= 0 && c != '\n')
                c = ReadRuleByte(reader);
            continue;
        }
        int length = 0;
        while (c >= 0 && c != '\n') {
            reader->line[length++] = (char)c;
            if (length == NK_RULE_LINE_MAX) {
                // A longer physical line goes on as the next logical line;
                // a line feed right here still ends this one.
                int next = ReadRuleByte(reader);
                if (next >= 0 && next != '\n') UnreadRuleByte(reader, next);
                break;
            }
            c = ReadRuleByte(reader);
        }
        reader->line[length] = 0;
        // A zero byte ends the text of the line wherever it stands.
        reader->length = (int)strlen(reader->line);
        return 1;
    }
}

static bool Begins(const char* line, const char* start) {
    return strncmp(line, start, strlen(start)) == 0;
}

/* ---------------- The frame ---------------- */

static void ClearClassTables() {
    memset(ruleFrame.classOfName, 0, sizeof ruleFrame.classOfName);
    memset(ruleFrame.memberBits, 0, sizeof ruleFrame.memberBits);
}

void ResetRuleFrame() {
    free(ruleFrame.storage);
    ruleFrame.storage = nullptr;
    ruleFrame.storageSize = 0;
    ruleFrame.storageUsed = 0;
    ruleFrame.classes = nullptr;
    ruleFrame.groups = nullptr;
    ruleFrame.classCount = 0;
    ruleFrame.classNames[0] = 0;
    ClearClassTables();
}

// Take `size` bytes from the block, aligned for records when `align` > 1.
// Returns null when the block has no room left.
static void* TakeFromBlock(size_t size, size_t align) {
    size_t start = (ruleFrame.storageUsed + align - 1) / align * align;
    if (start > ruleFrame.storageSize || size > ruleFrame.storageSize - start) return nullptr;
    ruleFrame.storageUsed = start + size;
    return ruleFrame.storage + start;
}

enum { RECORD_ALIGN = alignof(void*) };

/* ---------------- Header ---------------- */

// Cut a header line at its first apostrophe; returns the value character
// behind it, 0 when there is none.
static char CutAtApostrophe(char* line) {
    char* apostrophe = strchr(line, '\'');
    if (!apostrophe) return 0;
    char value = apostrophe[1];
    *apostrophe = 0;
    return value;
}

static void ApplyAssignment(const char* key, char value) {
    struct Key {
        const char* name;
        char* field;
    };
    RuleHeader& h = ruleFrame.header;
    const Key keys[] = {
        {"INSTRING=", &h.inSeparator},
        {"OUTSTRING=", &h.outSeparator},
        {"PREFIXSTRING=", &h.prefixSeparator},
        {"SUFFIXSTRING=", &h.suffixSeparator},
        {"MAPORCONSTRAIN=", &h.mapOrConstrainSeparator},
        {"SPACE=", &h.spaceChar},
        {"WILDCARD=", &h.wildcardChar},
        {"NULL=", &h.nullChar},
        {"EXCEPTIONSEPERATOR=", &h.exceptionSeparator},
        {"MAPFLAG=", &h.mapFlag},
        {"CONSTRAINTFLAG=", &h.constraintFlag},
    };
    if (value == 0) return; // no apostrophe or nothing behind it: no value character
    for (const Key& k : keys) {
        if (strcmp(key, k.name) == 0) {
            *k.field = value;
            return;
        }
    }
}

// The alphabet: every character after the first "=", commas left out.
static void SetAlphabet(const char* line) {
    const char* value = strchr(line, '=');
    int length = 0;
    for (const char* c = value + 1; *c && length < NK_RULE_ALPHABET_SIZE - 1; c++) {
        if (*c != ',') ruleFrame.inputAlphabet[length++] = *c;
    }
    ruleFrame.inputAlphabet[length] = 0;
    memset(ruleFrame.wordChar, 0, sizeof ruleFrame.wordChar);
    for (int i = 0; i < length; i++)
        ruleFrame.wordChar[(unsigned char)ruleFrame.inputAlphabet[i]] = 1;
    ruleFrame.wordChar[(unsigned char)'\n'] = 0; // line ends never belong to words
    ruleFrame.wordChar[(unsigned char)'\r'] = 0;
}

/* ---------------- Rule lines ---------------- */

struct RuleFields {
    char* prefix;
    char* inString;
    char* suffix;
    char* out;
};

static bool IsSeparator(char c) {
    const RuleHeader& h = ruleFrame.header;
    return c == h.inSeparator || c == h.outSeparator || c == h.prefixSeparator ||
           c == h.suffixSeparator || c == h.mapOrConstrainSeparator;
}

// Point the fields that the line opens into `text` (the last occurrence of a
// separator opens its field) and cut the text at every separator. Fields the
// line does not open keep their previous values.
static void SplitRuleLine(char* text, RuleFields* fields) {
    const RuleHeader& h = ruleFrame.header;
    for (char* c = text; *c; c++) {
        if (*c == h.prefixSeparator) fields->prefix = c + 1;
        if (*c == h.suffixSeparator) fields->suffix = c + 1;
        if (*c == h.outSeparator) fields->out = c + 1;
        if (*c == h.inSeparator) fields->inString = c + 1;
    }
    for (char* c = text; *c; c++) {
        if (IsSeparator(*c)) *c = 0;
    }
}

/* ---------------- Classes ---------------- */

// One class line: the name follows the first apostrophe, a member follows each
// comma after it. Returns false for a line that is no class line.
static bool AddClass(const char* line, ConstraintClass** tail) {
    const char* apostrophe = strchr(line, '\'');
    if (line[0] != 'G' || !apostrophe || apostrophe[1] == 0) return false;
    if (ruleFrame.classCount >= NK_RULE_CLASS_MAX) return false;
    const char* from = apostrophe + 1;
    size_t memberCount = 0;
    for (const char* c = from; *c; c++) {
        if (*c == ',' && c[1] != 0) memberCount++;
    }
    auto* record = (ConstraintClass*)TakeFromBlock(sizeof(ConstraintClass), RECORD_ALIGN);
    char* members = (char*)TakeFromBlock(memberCount + 1, 1);
    if (!record || !members) return false;
    int index = ruleFrame.classCount;
    unsigned char name = (unsigned char)from[0];
    size_t n = 0;
    for (const char* c = from; *c; c++) {
        if (*c == ',' && c[1] != 0) {
            unsigned char member = (unsigned char)c[1];
            members[n++] = (char)member;
            ruleFrame.memberBits[index][member >> 3] |= (unsigned char)(1u << (member & 7));
        }
    }
    members[n] = 0;
    record->name = (char)name;
    record->members = members;
    record->next = nullptr;
    *tail = record;
    if (ruleFrame.classOfName[name] == 0) ruleFrame.classOfName[name] = (unsigned char)(index + 1);
    ruleFrame.classNames[index] = (char)name;
    ruleFrame.classNames[index + 1] = 0;
    ruleFrame.classCount++;
    return true;
}

/* ---------------- LoadRuleFile ---------------- */

// The counting pass: from the free line, find the class lines and the rule
// lines and size the block for them. Returns 0 and the size, or a failure code.
static int CountRuleFile(RuleReader* reader, size_t* blockSize) {
    size_t texts = 0, classLines = 0, ruleLines = 0, groups = 0;
    // Skip to the first class line; the free line itself is looked at too.
    bool freeLine = true;
    while (reader->line[0] != 'G') {
        if (!freeLine && reader->line[0] == '[') return RULE_WRONG_FILE; // no class line
        if (!ReadRuleLine(reader)) return RULE_WRONG_FILE;
        freeLine = false;
    }
    while (reader->line[0] == 'G') {
        classLines++;
        texts += (size_t)reader->length + 1; // members never outnumber the characters
        if (!ReadRuleLine(reader)) return RULE_WRONG_FILE;
    }
    // The line that ended the run ("[") and the two free lines after it.
    if (!ReadRuleLine(reader) || !ReadRuleLine(reader)) return RULE_WRONG_FILE;
    char scratch[NK_RULE_LINE_SIZE];
    char lastIn[NK_RULE_LINE_SIZE] = "";
    bool haveLast = false;
    RuleFields fields = {nullptr, nullptr, nullptr, nullptr};
    for (;;) {
        if (!ReadRuleLine(reader)) return RULE_WRONG_FILE; // no closing "[" line
        if (reader->line[0] == '[') break;
        ruleLines++;
        texts += (size_t)reader->length + 1;
        memcpy(scratch, reader->line, (size_t)reader->length + 1);
        fields.inString = nullptr;
        SplitRuleLine(scratch, &fields);
        // A line without an in-string keeps the one before it: same group.
        if (fields.inString && (!haveLast || strcmp(fields.inString, lastIn) != 0)) {
            groups++;
            strcpy(lastIn, fields.inString); // both hold at most one line
            haveLast = true;
        }
    }
    size_t records = classLines * (sizeof(ConstraintClass) + RECORD_ALIGN) +
                     ruleLines * (sizeof(Rule) + RECORD_ALIGN) +
                     (groups + 1) * (sizeof(RuleGroup) + RECORD_ALIGN);
    *blockSize = texts + records;
    return 0;
}

// The filling pass, from the line after the free line.
static int FillRuleFrame(RuleReader* reader) {
    const RuleHeader& h = ruleFrame.header;
    if (!ReadRuleLine(reader)) return RULE_WRONG_FILE;
    ConstraintClass** classTail = &ruleFrame.classes;
    while (reader->line[0] != '[') {
        if (!AddClass(reader->line, classTail)) return RULE_WRONG_FILE;
        classTail = &(*classTail)->next;
        if (!ReadRuleLine(reader)) return RULE_WRONG_FILE;
    }
    // The two free lines and the first rule line.
    for (int i = 0; i < 3; i++) {
        if (!ReadRuleLine(reader)) return RULE_WRONG_FILE;
    }
    RuleFields fields = {nullptr, nullptr, nullptr, nullptr};
    RuleGroup* lastGroup = nullptr;
    Rule* lastRule = nullptr;
    while (reader->line[0] == h.prefixSeparator) {
        char* copy = (char*)TakeFromBlock((size_t)reader->length + 1, 1);
        if (!copy) return RULE_WRONG_FILE;
        memcpy(copy, reader->line, (size_t)reader->length + 1);
        SplitRuleLine(copy, &fields);
        // The first rule line must open every field.
        if (!fields.prefix || !fields.inString || !fields.suffix || !fields.out) {
            return RULE_WRONG_FILE;
        }
        size_t inLength = strlen(fields.inString);
        size_t prefixLength = strlen(fields.prefix);
        size_t suffixLength = strlen(fields.suffix);
        if (inLength > NK_RULE_INSTRING_MAX ||
            prefixLength + inLength + suffixLength > NK_RULE_PATTERN_MAX) {
            return RULE_WRONG_FILE;
        }
        auto* rule = (Rule*)TakeFromBlock(sizeof(Rule), RECORD_ALIGN);
        if (!rule) return RULE_WRONG_FILE;
        rule->prefix = fields.prefix;
        rule->suffix = fields.suffix;
        rule->out = fields.out;
        rule->prefixLength = (unsigned char)prefixLength;
        rule->suffixLength = (unsigned char)suffixLength;
        rule->next = nullptr;
        if (lastGroup && strcmp(lastGroup->inString, fields.inString) == 0) {
            lastRule->next = rule;
        } else {
            auto* group = (RuleGroup*)TakeFromBlock(sizeof(RuleGroup), RECORD_ALIGN);
            if (!group) return RULE_WRONG_FILE;
            group->inString = fields.inString;
            group->inLength = (unsigned char)inLength;
            group->rules = rule;
            group->next = nullptr;
            if (lastGroup) {
                lastGroup->next = group;
            } else {
                ruleFrame.groups = group;
            }
            lastGroup = group;
        }
        lastRule = rule;
        // The rules end at a line that is no rule line; the file must go on.
        if (!ReadRuleLine(reader)) return RULE_WRONG_FILE;
    }
    return RULE_LOADED;
}

int LoadRuleStream(FILE* file) {
    if (ruleFrame.storage || ruleFrame.classCount) ResetRuleFrame();
    static RuleReader reader; // the one reused line buffer
    reader.file = file;
    reader.offset = 0;
    reader.line[0] = 0;
    reader.length = 0;

    if (!ReadRuleLine(&reader) || !Begins(reader.line, "[HEADER]")) return RULE_WRONG_FILE;
    // The first line after the marker is always an assignment.
    if (!ReadRuleLine(&reader)) return RULE_WRONG_FILE;
    char value = CutAtApostrophe(reader.line);
    ApplyAssignment(reader.line, value);
    for (;;) {
        if (!ReadRuleLine(&reader)) return RULE_WRONG_FILE; // no alphabet line
        value = CutAtApostrophe(reader.line);
        if (Begins(reader.line, "INPUTALPHABET=")) break;
        ApplyAssignment(reader.line, value);
    }
    SetAlphabet(reader.line);
    if (!ReadRuleLine(&reader)) return RULE_WRONG_FILE; // the free line
    long classStart = reader.offset;

    size_t blockSize = 0;
    int code = CountRuleFile(&reader, &blockSize);
    if (code != 0) return code;
    if (blockSize > NK_RULE_BLOCK_MAX) return RULE_NO_MEMORY;
    ruleFrame.storage = (unsigned char*)malloc(blockSize);
    if (!ruleFrame.storage) return RULE_NO_MEMORY;
    ruleFrame.storageSize = blockSize;
    ruleFrame.storageUsed = 0;

    if (fseek(file, classStart, SEEK_SET) != 0) {
        ResetRuleFrame();
        return RULE_WRONG_FILE;
    }
    reader.offset = classStart; // descrambling resumes at this offset
    code = FillRuleFrame(&reader);
    if (code != RULE_LOADED) ResetRuleFrame();
    return code;
}

int LoadRuleFile(const char* path) {
    if (ruleFrame.storage || ruleFrame.classCount) ResetRuleFrame();
    FILE* file = fopen(path, "rb");
    if (!file) return RULE_NOT_FOUND;
    int code = LoadRuleStream(file);
    fclose(file);
    return code;
}
