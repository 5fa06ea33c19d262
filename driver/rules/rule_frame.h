// The transliteration rule engine: the in-memory rule frame of this process,
// the loader of scrambled rule files and the rule-driven word conversion.
// Portable (no Windows API): the driver's exports are thin wrappers, and the
// same code is built natively for tests, the rule compiler and the fuzzer.
//
// Nothing here is shared between processes: every process that converts text
// loads its own frame. Calls in one process must not overlap.
#ifndef NK_RULE_FRAME_H
#define NK_RULE_FRAME_H

#include <stddef.h>
#include <stdio.h>

enum {
    NK_RULE_KEY_SIZE = 80,       // ruleFileKey: the scramble repeats every 80 bytes
    NK_RULE_LINE_MAX = 301,      // a logical line; longer physical lines are split
    NK_RULE_LINE_SIZE = 302,     // line buffer: 301 characters and the terminator
    NK_RULE_ALPHABET_SIZE = 302, // inputAlphabet is cut from one line
    NK_RULE_CLASS_MAX = 63,      // classes per file
    NK_RULE_INSTRING_MAX = 19,   // characters of one in-string
    NK_RULE_PATTERN_MAX = 31,    // prefix + in-string + suffix of one rule
    NK_RULE_WORD_MAX = 255,      // characters of a word and of its output
    NK_RULE_PATH_SIZE = 261,     // a rule file path of at most 260 characters
    NK_RULE_BLOCK_MAX = 1 << 20  // storage block ceiling; real rule files need ~30 KB
};

// Codes of LoadRuleFile.
enum { RULE_LOADED = 1, RULE_NO_MEMORY = 2, RULE_NOT_FOUND = 5, RULE_WRONG_FILE = 6 };

// Results of RulesInit (ascii2iscii_init).
enum {
    RULES_BAD_DIRECTION = 1,
    RULES_NO_MEMORY = 2,
    RULES_READY = 3,
    RULES_NOT_FOUND = 5,
    RULES_WRONG_FILE = 6
};

// The header characters of the file read last. A reset keeps them; a process
// that never read a file has spaces.
struct RuleHeader {
    char inSeparator;
    char outSeparator;
    char prefixSeparator;
    char suffixSeparator;
    char mapOrConstrainSeparator;
    char spaceChar;
    char wildcardChar;
    char nullChar;           // kept, no effect
    char exceptionSeparator; // kept, no effect
    char mapFlag;            // kept, no effect
    char constraintFlag;     // kept, no effect
};

struct ConstraintClass {
    char name;
    const char* members;
    ConstraintClass* next;
};

struct Rule {
    const char* prefix; // pattern before the in-string
    const char* suffix; // pattern after the in-string
    const char* out;    // replacement text
    unsigned char prefixLength;
    unsigned char suffixLength;
    Rule* next;
};

struct RuleGroup {
    const char* inString;
    unsigned char inLength;
    Rule* rules;
    RuleGroup* next;
};

// "Distributive Rule Frame": every record and text lives in one storage block
// that ResetRuleFrame frees in one step. The lookup tables are derived from
// the alphabet and the classes so that conversion needs no searching.
struct RuleFrame {
    RuleHeader header;
    char inputAlphabet[NK_RULE_ALPHABET_SIZE];
    char classNames[NK_RULE_CLASS_MAX + 1];
    int classCount;
    ConstraintClass* classes;
    RuleGroup* groups;
    unsigned char* storage;
    size_t storageSize;
    size_t storageUsed;
    unsigned char wordChar[256];                     // 1 for word characters
    unsigned char classOfName[256];                  // 1 + index of a name's first class, or 0
    unsigned char memberBits[NK_RULE_CLASS_MAX][32]; // members of each class, a bit per byte
};

extern RuleFrame ruleFrame;
extern const char ruleFileKey[NK_RULE_KEY_SIZE + 1];

// XOR bytes with the key as if they stood at file offset `offset`. The same
// operation scrambles and descrambles.
void ScrambleRuleBytes(unsigned char* bytes, size_t count, size_t offset);

// Reads one rule file byte by byte through the descrambler. The position of
// the key always follows the file offset, also after a seek.
struct RuleReader {
    FILE* file;
    long offset;                  // file offset of the next byte
    char line[NK_RULE_LINE_SIZE]; // the last logical line read
    int length;                   // its length
};

// Read the next logical line into reader->line: comment lines (first character
// ';') are skipped, a line holds at most 301 characters, a carriage return is
// kept. Returns 1, or 0 at the end of the file (the line is then unchanged).
int ReadRuleLine(RuleReader* reader);

// Load the rule file at `path` into ruleFrame. Returns RULE_LOADED,
// RULE_NO_MEMORY, RULE_NOT_FOUND or RULE_WRONG_FILE; after a failure the frame
// holds no classes and no groups.
int LoadRuleFile(const char* path);

// The same from an open stream positioned at offset 0 (the fuzzer reads from
// memory this way). The stream is not closed.
int LoadRuleStream(FILE* file);

// Free the storage block and forget the classes and groups. The header
// characters and the alphabet stay.
void ResetRuleFrame();

// Load "EN2IN.RUL" (direction 1) or "IN2EN.RUL" (direction 0) from
// `directory`, which ends in a path separator or is empty. Returns a
// RULES_* result; a bad direction leaves the frame as it is.
int RulesInit(const char* directory, int direction);

// The file name RulesInit reads for a direction; null for a bad direction.
const char* RuleFileName(int direction);

// A direction whose rule file may not be read: the frame is emptied as for a
// missing file. Returns RULES_NOT_FOUND.
int RulesRefused(int direction);

// The direction given to the last RulesInit; -1 before the first.
extern int ruleDirection;

// Convert one word with the loaded rules into `out` (room for 256 bytes).
// Returns the output length; 0 when some position has no rule.
int ConvertWord(const char* word, int length, char* out);

// Pattern test of the rules: text and pattern match when they have the same
// length and every position matches by class, equality or wildcard.
bool MatchPattern(const char* text, int textLength, const char* pattern, int patternLength);

// Split `source` into words and convert them (ascii2iscii_convert_str).
// `destination` has room for limit characters and the terminator. Returns 1,
// or 0 when the output would pass limit (modes 1 and 2).
int RulesConvertText(char* source, char* destination, int limit, int mode);

#endif // NK_RULE_FRAME_H
