// Rule-driven conversion: word splitting in every mode, the limit, first-match
// groups and rules, patterns, and loading by direction.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "driver/rules/rule_frame.h"
#include "tests/rules/rule_test_util.h"

namespace {

// a -> 1, b -> 2; z is a word character without a rule.
const std::string kSimple = RuleText("abz", "G'1',a\n", "{<a>=1\n{<b>=2\n");

TEST(ConvertModes, Table) {
    ASSERT_EQ(LoadRuleText(kSimple), RULE_LOADED);
    struct Row {
        int mode;
        const char* source;
        int limit;
        const char* expected;
        int code;
    } rows[] = {
        {0, "", 255, "", 1},
        {1, "", 255, "", 1},
        {2, "", 255, "", 1},
        {7, "", 255, "", 1},
        {2, "ab?ba", 255, "1221", 1},       // "?" between words is dropped
        {2, "ab?", 255, "12?", 1},          // ... and kept at the very end
        {2, "ab ba", 255, "12 21", 1},      // the blank is copied between the words
        {2, "ab zab ba", 255, "12  21", 1}, // a word without rules gives nothing
        {2, "a-b!", 255, "1-2!", 1},
        {2, "  ", 255, "  ", 1},
        {1, "ab ba", 255, "12 21", 1},
        {1, "abXba", 255, "1221", 1}, // a letter that ends a word is dropped
        {1, "ab?", 255, "?", 1},      // the final non-word character joins the word
        {1, "ab", 255, "12", 1},
        {1, "ab-", 255, "-", 1},
        {0, "ab ba", 255, "12", 1},
        {0, " ab", 255, "", 1},
        {0, "abab", 3, "121", 1}, // mode 0 cuts its output to the limit
        {3, "ab", 255, "", 1},
        {2, "ab", 1, "", 0},       // the first word passes the limit
        {2, "ab ba", 3, "12 ", 0}, // what was appended before stays
        {2, "ab ba", 2, "12", 0},  // the blank would pass the limit too
        {2, "ab?", 2, "12", 0},    // and so would the final "?"
        {2, "ab ba", 5, "12 21", 1},
        {1, "ab ba", 2, "12", 0},
        {2, "ab", -4, "", 0},
    };
    for (const Row& row : rows) {
        int code = -1;
        std::string out = Convert(row.source, row.mode, row.limit, &code);
        EXPECT_EQ(out, row.expected)
            << "mode " << row.mode << " source \"" << row.source << "\" limit " << row.limit;
        EXPECT_EQ(code, row.code) << "mode " << row.mode << " source \"" << row.source
                                  << "\" limit " << row.limit;
    }
}

TEST(ConvertModes, ModeZeroCutsTheCallersSource) {
    ASSERT_EQ(LoadRuleText(kSimple), RULE_LOADED);
    char source[] = "ab ba";
    char out[16];
    EXPECT_EQ(RulesConvertText(source, out, 15, 0), 1);
    EXPECT_STREQ(source, "ab");
    EXPECT_STREQ(out, "12");
}

TEST(ConvertModes, DestinationNeverPassesTheLimit) {
    ASSERT_EQ(LoadRuleText(RuleText("abz", "G'1',a\n", "{<a>=111\n{<b>=2\n")), RULE_LOADED);
    const char* sources[] = {"ab ab?ab!", "a-b-a-b-", "ab?", "zzz a", "aaaa"};
    for (int mode = 0; mode <= 2; mode++) {
        for (const char* text : sources) {
            for (int limit = 0; limit <= 24; limit++) {
                char source[32];
                strcpy(source, text);
                char out[64];
                memset(out, '#', sizeof out);
                RulesConvertText(source, out, limit, mode);
                size_t length = strnlen(out, sizeof out);
                EXPECT_LE(length, (size_t)limit) << text << " mode " << mode << " limit " << limit;
                for (size_t i = (size_t)limit + 1; i < sizeof out; i++) {
                    ASSERT_EQ(out[i], '#') << text << " mode " << mode << " limit " << limit
                                           << ": byte " << i << " written";
                }
            }
        }
    }
}

TEST(ConvertWords, NoRulesGiveOnlyTheCharactersBetweenWords) {
    WriteRuleFile("EN2IN.RUL", kSimple);
    ASSERT_EQ(RulesInit(TestFolder().c_str(), 1), RULES_READY);
    EXPECT_EQ(Convert("ab ba"), "12 21");
    EXPECT_EQ(RulesInit(TestFolder().c_str(), 2), RULES_BAD_DIRECTION);
    EXPECT_EQ(ruleDirection, 2);
    EXPECT_EQ(Convert("ab ba"), "12 21") << "a bad direction leaves the rules in place";
    EXPECT_EQ(RulesInit(TestFolder().c_str(), 0), RULES_NOT_FOUND); // no IN2EN.RUL here
    EXPECT_EQ(ruleFrame.groups, nullptr);
    EXPECT_EQ(Convert("ab ba"), " ");
    WriteRuleFile("IN2EN.RUL", "[header]\n");
    EXPECT_EQ(RulesInit(TestFolder().c_str(), 0), RULES_WRONG_FILE);
    EXPECT_EQ(RulesInit(std::string(300, 'd').c_str(), 1), RULES_NOT_FOUND) << "path too long";
}

TEST(ConvertWords, FirstMatchingGroupAndRuleWin) {
    // "a" before c, then the longer "ab", then "a" anywhere.
    ASSERT_EQ(LoadRuleText(RuleText("abc", "G'1',a\n",
                                    "{<a>c=1\n{<ab>=2\n{<b>=3\n{<c>=4\n{<a>=5\n{<a>=6\n")),
              RULE_LOADED);
    struct Row {
        const char* word;
        const char* expected;
    } rows[] = {{"ac", "14"}, {"ab", "2"}, {"a", "5"}, {"ba", "35"}, {"abac", "214"}};
    for (const Row& row : rows)
        EXPECT_EQ(Convert(row.word), row.expected) << row.word;
}

TEST(ConvertWords, ContextsAtTheEdgesOfTheWord) {
    // A space prefix: start of the word (or after a space inside it); a
    // wildcard never matches the pads; patterns past either end never match.
    ASSERT_EQ(LoadRuleText(RuleText("a b", "G'1',a\n",
                                    "{ <a>=S\n{  <a>=T\n{<a>*=W\n{<a>  =Z\n{<a>=a\n"
                                    "{<b>=b\n{< >=_\n")),
              RULE_LOADED);
    struct Row {
        const char* word;
        const char* expected;
    } rows[] = {
        {"a", "S"},   // never T (prefix before the padded word) nor Z
        {"ba", "ba"}, // not at the start; only the pad follows: no W, no Z
        {"bab", "bWb"}, {"baa", "bWa"}, {"b a", "b_S"}, // after a space inside the word
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Convert(row.word, 0), row.expected) << row.word;
    }
}

TEST(ConvertWords, ClassesMatchTheirMembers) {
    ASSERT_EQ(LoadRuleText(RuleText("abcx", "G'1',a,b\n",
                                    "{1<c>=K\n{<c>=c\n{<a>=a\n{<b>=b\n"
                                    "{<x>1=X\n{<x>=x\n")),
              RULE_LOADED);
    EXPECT_EQ(Convert("acbcxcxa"), "aKbKxcXa");
}

TEST(ConvertWords, WindowWithAClassNameOrWildcardMatchesTheInString) {
    // The window is the pattern of the in-string test: a class name in the
    // word stands for its members.
    ASSERT_EQ(LoadRuleText(RuleText("a1*", "G'1',a\n", "{<a>=A\n")), RULE_LOADED);
    EXPECT_EQ(Convert("1"), "A");
    EXPECT_EQ(Convert("*"), "A");
}

TEST(ConvertWords, FailuresAndLengths) {
    ASSERT_EQ(LoadRuleText(RuleText("ab", "G'1',a\n", "{<>=E\n{<a>=A\n")), RULE_LOADED);
    EXPECT_EQ(Convert("a b"), " ") << "an empty in-string does not move on: the word fails";

    ASSERT_EQ(LoadRuleText(RuleText("ab", "G'1',a\n", "{<a>=0123456789abcdefghij\n{<b>=b\n")),
              RULE_LOADED);
    std::string out = Convert(std::string(20, 'a'), 0, 400);
    EXPECT_EQ(out.size(), (size_t)NK_RULE_WORD_MAX) << "a word's output is cut at 255";
    out = Convert(std::string(300, 'b'), 2, 255);
    EXPECT_EQ(out, std::string(255, 'b')) << "a word is cut at 255 characters";
}

TEST(ConvertWords, CharactersAbove127AreWordCharacters) {
    ASSERT_EQ(LoadRuleText(RuleText("\xC8\xB3", "G'1',\xC8\n", "{<\xC8>=p\n{<\xB3>=k\n")),
              RULE_LOADED);
    EXPECT_EQ(Convert("\xC8\xB3 \xB3"), "pk k");
}

TEST(ConvertWords, LineEndsNeverBelongToWords) {
    ASSERT_EQ(LoadRuleText(RuleText("ab\r", "G'1',a\n", "{<a>=1\n{<b>=2\n{<\r>=R\n")), RULE_LOADED);
    EXPECT_EQ(Convert("ab\rba\nab"), "12\r21\n12");
}

TEST(MatchPatternTest, Table) {
    ASSERT_EQ(LoadRuleText(kSimple), RULE_LOADED); // class 1 = {a}, wildcard *, space ' '
    struct Row {
        const char* text;
        const char* pattern;
        bool match;
    } rows[] = {
        {"", "", true},     {"a", "1", true},    {"b", "1", false},  {"1", "1", true},
        {"x", "*", true},   {" ", "*", false},   {"*", "*", true},   {"a", "", false},
        {"ab", "1*", true}, {"ab", "1a", false}, {"ab", "ab", true}, {"abc", "ab", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(
            MatchPattern(row.text, (int)strlen(row.text), row.pattern, (int)strlen(row.pattern)),
            row.match)
            << "\"" << row.text << "\" against \"" << row.pattern << "\"";
    }
}

} // namespace
