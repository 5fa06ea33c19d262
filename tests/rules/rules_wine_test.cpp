// The transliterator's exports in the DLL, with the shipped rule files beside
// the program as the manager finds them at start-up.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

void UseProgramDirectory() {
    snprintf(State().moduleDirectory, sizeof State().moduleDirectory, "%s",
             ProgramFolder().c_str());
}

TEST(RuleExports, StartUpLoadsTheShippedRulesAndConverts) {
    UseProgramDirectory();
    ASSERT_EQ(ascii2iscii_init(1), 3);
    char source[] = "namaste bhaarata";
    char out[256];
    EXPECT_EQ(ascii2iscii_convert_str(source, out, 255, 2), 1);
    EXPECT_STREQ(out, "\xC6\xCC\xD7\xE8\xC2\xE1 \xCB\xDA\xCF\xC2");
    EXPECT_EQ(ascii2iscii_init(2), 1) << "a bad direction";
    EXPECT_EQ(ascii2iscii_convert_str(source, out, 255, 2), 1);
    EXPECT_STREQ(out, "\xC6\xCC\xD7\xE8\xC2\xE1 \xCB\xDA\xCF\xC2") << "rules kept";

    ASSERT_EQ(ascii2iscii_init(0), 3);
    char iscii[] = "\xC6\xCC\xD7\xE8\xC2\xE1";
    EXPECT_EQ(ascii2iscii_convert_str(iscii, out, 255, 2), 1);
    EXPECT_STREQ(out, "namaste");
}

TEST(RuleExports, MissingRuleFileGivesFive) {
    UseProgramDirectory();
    ASSERT_EQ(ascii2iscii_init(1), 3); // the Roman alphabet stays after a failed load
    snprintf(State().moduleDirectory, sizeof State().moduleDirectory, "C:\\no-such-folder\\");
    EXPECT_EQ(ascii2iscii_init(1), 5);
    char source[] = "ab cd";
    char out[16];
    EXPECT_EQ(ascii2iscii_convert_str(source, out, 15, 2), 1);
    EXPECT_STREQ(out, " ") << "no rules: only the blank between the words";
    UseProgramDirectory();
}

} // namespace
