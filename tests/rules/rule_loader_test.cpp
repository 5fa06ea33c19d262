// The rule file loader: lines, sections, header, alphabet, classes, rule
// lines and every way a file can be wrong.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "driver/rules/rule_frame.h"
#include "tests/rules/rule_test_util.h"

namespace {

const std::string kClasses = "G'1',k,g\n";
const std::string kRules = "{<a>=A\n{<b>=B\n";

std::vector<std::string> InStrings() {
    std::vector<std::string> list;
    for (const RuleGroup* g = ruleFrame.groups; g; g = g->next)
        list.push_back(g->inString);
    return list;
}

struct RuleView {
    std::string prefix, suffix, out;
};

std::vector<RuleView> RulesOf(size_t groupIndex) {
    const RuleGroup* g = ruleFrame.groups;
    for (size_t i = 0; g && i < groupIndex; i++)
        g = g->next;
    std::vector<RuleView> list;
    for (const Rule* r = g ? g->rules : nullptr; r; r = r->next) {
        list.push_back({r->prefix, r->suffix, r->out});
    }
    return list;
}

std::string ClassMembers(char name) {
    for (const ConstraintClass* c = ruleFrame.classes; c; c = c->next) {
        if (c->name == name) return c->members;
    }
    return "<none>";
}

TEST(RuleLines, LongLineSplitsAt301AndCarriageReturnStays) {
    std::string longLine(400, 'x');
    longLine[301] = 'y';
    std::string exact(301, 'e');
    std::string path = WriteRuleFile("lines.rul", ";comment first\n" + longLine + "\n" + exact +
                                                      "\nnext\r\n;c\n;c2\nlast");
    RuleReader reader = {};
    reader.file = fopen(path.c_str(), "rb");
    ASSERT_NE(reader.file, nullptr);
    std::vector<std::string> lines;
    while (ReadRuleLine(&reader))
        lines.push_back(reader.line);
    fclose(reader.file);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::string(301, 'x'));
    EXPECT_EQ(lines[1], "y" + std::string(98, 'x')); // the rest: 99 characters
    EXPECT_EQ(lines[2], exact);                      // a line of exactly 301: no empty line after
    EXPECT_EQ(lines[3], "next\r");
    EXPECT_EQ(lines[4], "last"); // the final line without its line feed
    EXPECT_EQ(reader.line, std::string("last")) << "end of file keeps the last line";
}

TEST(RuleLines, DescramblingFollowsTheFileOffsetAfterASeek) {
    // The fill pass seeks back to the class lines; with 120 bytes of header the
    // key position there is not 0, so a loader that restarted the key fails.
    std::string text = RuleText("ab", "G'1',a\n", kRules);
    text = ";" + std::string(118, 'p') + "\n" + text;
    ASSERT_EQ(LoadRuleText(text), RULE_LOADED);
    EXPECT_EQ(InStrings(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ClassMembers('1'), "a");
}

TEST(RuleHeader, MarkerAndAssignments) {
    EXPECT_EQ(LoadRuleText("[HEADER] and more" + RuleText("ab", kClasses, kRules).substr(8)),
              RULE_LOADED);
    EXPECT_EQ(LoadRuleText("[header]" + RuleText("ab", kClasses, kRules).substr(8)),
              RULE_WRONG_FILE);
    EXPECT_EQ(ruleFrame.groups, nullptr);
    EXPECT_EQ(LoadRuleText(""), RULE_WRONG_FILE);
    EXPECT_EQ(LoadRuleFile((TestFolder() + "missing.rul").c_str()), RULE_NOT_FOUND);

    // A blank before the apostrophe makes no assignment; a later one replaces an earlier one.
    std::string text = RuleText("ab", kClasses, kRules);
    text.insert(text.find("INPUTALPHABET"), "WILDCARD= '?\nNULL='x\nNULL='z and more\n");
    ASSERT_EQ(LoadRuleText(text), RULE_LOADED);
    EXPECT_EQ(ruleFrame.header.wildcardChar, '*');
    EXPECT_EQ(ruleFrame.header.nullChar, 'z');
    EXPECT_EQ(ruleFrame.header.inSeparator, '<');
    EXPECT_EQ(ruleFrame.header.spaceChar, ' ');
}

TEST(RuleHeader, HeaderCharactersOutliveAResetAndALaterFile) {
    ASSERT_EQ(LoadRuleText(RuleText("ab", kClasses, kRules)), RULE_LOADED);
    std::string noWildcard = RuleText("ab", kClasses, kRules);
    noWildcard.erase(noWildcard.find("WILDCARD='*\n"), 12);
    ResetRuleFrame();
    EXPECT_EQ(ruleFrame.header.wildcardChar, '*');
    ASSERT_EQ(LoadRuleText(noWildcard), RULE_LOADED);
    EXPECT_EQ(ruleFrame.header.wildcardChar, '*') << "kept from the file read before";
}

TEST(RuleHeader, AlphabetLine) {
    struct Row {
        std::string line, alphabet;
    } rows[] = {
        {"a,b,c", "abc"},
        {"", ""},
        {"a b", "a b"},  // blanks count
        {"ab'cd", "ab"}, // cut at the apostrophe
        {"x=y", "x=y"},  // only the first "=" starts the value
        {"\xC8,\xB3\xE8", "\xC8\xB3\xE8"},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(LoadRuleText(RuleText(row.line, kClasses, kRules)), RULE_LOADED) << row.line;
        EXPECT_EQ(std::string(ruleFrame.inputAlphabet), row.alphabet) << row.line;
    }
    // Right after the marker it is an (unknown) assignment, not the alphabet:
    // the alphabet is the next one.
    std::string text = "[HEADER]\nINPUTALPHABET=q\n" + RuleText("ab", kClasses, kRules).substr(9);
    ASSERT_EQ(LoadRuleText(text), RULE_LOADED);
    EXPECT_EQ(std::string(ruleFrame.inputAlphabet), "ab");
}

TEST(RuleClasses, NamesAndMembers) {
    ASSERT_EQ(LoadRuleText(RuleText("ab", "G'1',k,kh,g\nGxyz'2'\nG 'C',k\nG'C',z\n", kRules)),
              RULE_LOADED);
    EXPECT_EQ(std::string(ruleFrame.classNames), "12CC");
    EXPECT_EQ(ClassMembers('1'), "kkg") << "one character after each comma";
    EXPECT_EQ(ClassMembers('2'), "");
    EXPECT_EQ(ClassMembers('C'), "k") << "the first definition of a name";
    EXPECT_TRUE(MatchPattern("k", 1, "C", 1));
    EXPECT_FALSE(MatchPattern("z", 1, "C", 1)) << "matching uses the first definition";
}

TEST(RuleLines, CommentsAnywhereAreNotFreeLines) {
    std::string text = ";before\n[HEADER]\n;c\nPREFIXSTRING='{\n;c\nINSTRING='<\nSUFFIXSTRING='>\n"
                       "OUTSTRING='=\nMAPORCONSTRAIN='#\nINPUTALPHABET=ab\n;c\nfree\n;c\nG'1',a\n"
                       ";c\n[RULES]\n;c\nfree 1\n;c\nfree 2\n;c\n{<a>=A\n;c\n{<b>=B\n;c\n[END]\n";
    ASSERT_EQ(LoadRuleText(text), RULE_LOADED);
    EXPECT_EQ(InStrings(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ClassMembers('1'), "a");
}

TEST(RuleLines, FieldsInheritanceAndGroups) {
    std::string rules = "{x<a>y=1\n"
                        "{<a=2\n" // no suffix field: keeps "y"
                        "{<b>=3#note\n"
                        "{<a>=4\n"         // "a" again after "b": a second group
                        "{p{q<b<a>s>t=5\n" // last occurrence opens the field
                        "{=6\n";           // no in-string: same group as the line before
    ASSERT_EQ(LoadRuleText(RuleText("ab", kClasses, rules)), RULE_LOADED);
    EXPECT_EQ(InStrings(), (std::vector<std::string>{"a", "b", "a"}));
    std::vector<RuleView> first = RulesOf(0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].prefix, "x");
    EXPECT_EQ(first[1].prefix, "");
    EXPECT_EQ(first[1].suffix, "y");
    EXPECT_EQ(first[1].out, "2");
    std::vector<RuleView> third = RulesOf(2);
    ASSERT_EQ(third.size(), 3u);
    EXPECT_EQ(third[1].prefix, "q");
    EXPECT_EQ(third[1].suffix, "t");
    EXPECT_EQ(third[1].out, "5");
    EXPECT_EQ(third[2].prefix, "");
    EXPECT_EQ(third[2].suffix, "t");
    EXPECT_EQ(third[2].out, "6");
}

TEST(RuleLimits, WrongFilesAreRejectedWithSix) {
    const std::string ok = RuleText("ab", kClasses, kRules);
    std::string manyClasses, tooManyClasses;
    for (int i = 0; i < 63; i++)
        manyClasses += "G'" + std::string(1, (char)(33 + i)) + "',a\n";
    tooManyClasses = manyClasses + "G'~',a\n";
    struct Row {
        const char* what;
        std::string text;
        int code;
    } rows[] = {
        {"well formed", ok, RULE_LOADED},
        {"ends in the header", "[HEADER]\nINSTRING='<\nOUTSTRING='=\n", RULE_WRONG_FILE},
        {"only the marker", "[HEADER]\n", RULE_WRONG_FILE},
        {"ends after the alphabet", ok.substr(0, ok.find("free\n")), RULE_WRONG_FILE},
        {"no class line", RuleText("ab", "", kRules), RULE_WRONG_FILE},
        {"no closing line", ok.substr(0, ok.find("[END]")), RULE_WRONG_FILE},
        {"ends after the class lines", ok.substr(0, ok.find("[RULES]")), RULE_WRONG_FILE},
        {"63 classes", RuleText("ab", manyClasses, kRules), RULE_LOADED},
        {"64 classes", RuleText("ab", tooManyClasses, kRules), RULE_WRONG_FILE},
        {"class line without apostrophe", RuleText("ab", "G'1',a\nGabc\n", kRules),
         RULE_WRONG_FILE},
        {"other line among the classes", RuleText("ab", "G'1',a\nxyz\n", kRules), RULE_WRONG_FILE},
        {"in-string of 19", RuleText("ab", kClasses, "{<" + std::string(19, 'a') + ">=x\n"),
         RULE_LOADED},
        {"in-string of 20", RuleText("ab", kClasses, "{<" + std::string(20, 'a') + ">=x\n"),
         RULE_WRONG_FILE},
        {"patterns of 31",
         RuleText("ab", kClasses,
                  "{" + std::string(6, 'a') + "<" + std::string(19, 'a') + ">" +
                      std::string(6, 'b') + "=x\n"),
         RULE_LOADED},
        {"patterns of 32",
         RuleText("ab", kClasses,
                  "{" + std::string(7, 'a') + "<" + std::string(19, 'a') + ">" +
                      std::string(6, 'b') + "=x\n"),
         RULE_WRONG_FILE},
        {"inherited suffix makes 32",
         RuleText("ab", kClasses, "{<a>" + std::string(29, 'b') + "=x\n{<aaa=y\n"),
         RULE_WRONG_FILE},
        {"first rule opens no out-string", RuleText("ab", kClasses, "{<a>\n"), RULE_WRONG_FILE},
        {"no rules at all", RuleText("ab", kClasses, ""), RULE_LOADED},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LoadRuleText(row.text), row.code) << row.what;
        if (row.code != RULE_LOADED) {
            EXPECT_EQ(ruleFrame.groups, nullptr) << row.what;
            EXPECT_EQ(ruleFrame.classes, nullptr) << row.what;
            EXPECT_EQ(ruleFrame.storage, nullptr) << row.what;
        }
    }
}

TEST(RuleLimits, BlockCeilingGivesOutOfMemory) {
    std::string rules;
    std::string line = "{<a>=" + std::string(290, 'x') + "\n";
    while (rules.size() < NK_RULE_BLOCK_MAX + 4096)
        rules += line;
    EXPECT_EQ(LoadRuleText(RuleText("ab", kClasses, rules)), RULE_NO_MEMORY);
    EXPECT_EQ(ruleFrame.storage, nullptr);
}

TEST(RuleStorage, EveryRecordLiesInTheOneBlock) {
    ASSERT_EQ(LoadRuleText(RuleText("ab", "G'1',a,b\nG'2'\n", "{1<a>2=x\n{<b>=yy\n{<b=z\n")),
              RULE_LOADED);
    auto inBlock = [](const void* p) {
        const unsigned char* b = (const unsigned char*)p;
        return b >= ruleFrame.storage && b < ruleFrame.storage + ruleFrame.storageUsed;
    };
    EXPECT_LE(ruleFrame.storageUsed, ruleFrame.storageSize);
    for (const ConstraintClass* c = ruleFrame.classes; c; c = c->next) {
        EXPECT_TRUE(inBlock(c) && inBlock(c->members));
    }
    for (const RuleGroup* g = ruleFrame.groups; g; g = g->next) {
        EXPECT_TRUE(inBlock(g) && inBlock(g->inString));
        for (const Rule* r = g->rules; r; r = r->next) {
            EXPECT_TRUE(inBlock(r) && inBlock(r->prefix) && inBlock(r->suffix) && inBlock(r->out));
        }
    }
}

} // namespace
