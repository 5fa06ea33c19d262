// A process that has read no rule file: its own program, so that nothing
// loaded before it.
#include <gtest/gtest.h>

#include "driver/rules/rule_frame.h"
#include "tests/rules/rule_test_util.h"

TEST(FreshProcess, NoRulesAndSpacesForHeaderCharacters) {
    EXPECT_EQ(ruleDirection, -1);
    const RuleHeader& h = ruleFrame.header;
    for (char c : {h.inSeparator, h.outSeparator, h.prefixSeparator, h.suffixSeparator,
                   h.mapOrConstrainSeparator, h.spaceChar, h.wildcardChar, h.nullChar,
                   h.exceptionSeparator, h.mapFlag, h.constraintFlag}) {
        EXPECT_EQ(c, ' ');
    }
    // No alphabet yet: every character lies between words and is copied.
    EXPECT_EQ(Convert("ab cd"), "ab cd");
    EXPECT_EQ(Convert("ab?cd"), "abcd");
    EXPECT_EQ(RulesInit("/", 5), RULES_BAD_DIRECTION);
    EXPECT_EQ(ruleDirection, 5);
}

TEST(FreshProcess, WildcardStaysASpaceWhenTheFileSetsNone) {
    std::string text = RuleText("ab", "G'1',a\n", "{<a>=A\n");
    text.erase(text.find("WILDCARD='*\n"), 12);
    ASSERT_EQ(LoadRuleText(text), RULE_LOADED);
    EXPECT_EQ(ruleFrame.header.wildcardChar, ' ');
}
