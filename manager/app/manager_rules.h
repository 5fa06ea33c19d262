// The manager's decisions that need no Windows API: the script code list,
// reading settings values, classifying keyboard files. Kept apart so that
// they are tested natively.
#ifndef DAVRIN_MANAGER_RULES_H
#define DAVRIN_MANAGER_RULES_H

#include <stddef.h>

#include "support/bounded_text.h" // CopyText, AppendText, ContainsText, UpperCaseText

// "RM-DV-BN-TM-TL-AS-OR-KN-ML-GJ-PN-", six blank slots, "SD-": slot i holds
// the two-letter code of script 65 + i.
extern const char kScriptCodeList[];

// Script code (65..82) of a two-letter code, or 0. Only whole slots match
// and blank slots never do, so "N-" or "" name no script.
int ScriptOfCode(const char* code);

// Two-letter code of a script into code (3 bytes); "" when it has none.
void CodeOfScript(int script, char code[3]);

bool EqualsIgnoringCase(const char* a, const char* b);

// Keyboard kind of a (upper-cased) keyboard file name, by substring:
// 160 Inscript, 161 Phonetic English, 162 typewriter layout, 163 other.
int KeyboardOfFile(const char* upperName);

// True when the file name is a typewriter layout file ("KBD.TYP" or
// "KBD32.TYP" in it).
bool IsTypewriterLayoutName(const char* upperName);

// The application category read from the settings, clamped to 0..13.
int ClampCategory(int value);

// Item id of the stored Roman capitals value (1 upper, 2 initial, else
// lower), and the value written back for an item.
int RomanCapitalsItem(int stored);
int RomanCapitalsValue(int item);

// Scripts whose hyphenation item is offered (Tamil, Telugu, Malayalam) and
// those whose multiple-sets item is (Devanagari, Tibetan, Dzongkha).
bool HasHyphenation(int script);
bool HasMultipleSets(int script);

// Layout file of a typewriter module: its path up to and including the last
// dot, then "typ". A path without a dot gets ".typ" appended.
void TypewriterLayoutName(const char* modulePath, char* layout, size_t layoutSize);

// The start-up message for a result of ascii2iscii_init other than 3.
const char* RuleFailureText(int result);

#endif // DAVRIN_MANAGER_RULES_H
