// Helpers of the rule engine tests: scrambled rule files made from plain text
// in a temporary folder, and a conversion shortcut.
#ifndef NK_RULE_TEST_UTIL_H
#define NK_RULE_TEST_UTIL_H

#include <string>

// Folder for this test program's files, ending in "/".
const std::string& TestFolder();

// Scramble `text` with the rule file key and write it to TestFolder()/name.
// Returns the path.
std::string WriteRuleFile(const std::string& name, const std::string& text);

// Load `text` as a rule file; returns LoadRuleFile's code.
int LoadRuleText(const std::string& text);

// A small rule file: header with the separators { < > = #, the given
// alphabet, class lines and rule lines.
std::string RuleText(const std::string& alphabet, const std::string& classLines,
                     const std::string& ruleLines);

// ascii2iscii_convert_str on a copy of `source`; the result code goes to *code.
std::string Convert(const std::string& source, int mode = 2, int limit = 255, int* code = nullptr);

#endif // NK_RULE_TEST_UTIL_H
