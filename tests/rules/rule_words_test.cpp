// The shipped rule files: every word of words.tsv (ISCII made and checked
// with ICU, see make_words.py) converts from its Roman spelling to its ISCII
// with EN2IN.RUL, and back to the same spelling with IN2EN.RUL.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "driver/rules/rule_frame.h"
#include "tests/harness/hex_text.h"
#include "tests/rules/rule_test_util.h"

namespace {

struct Word {
    int line;
    std::string roman, iscii, unicode;
};

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += (char)std::stoi(hex.substr(i, 2), nullptr, 16);
    }
    return bytes;
}

std::vector<Word> ReadWords() {
    std::vector<Word> words;
    FILE* f = fopen(NK_RULE_TEST_DIR "/words.tsv", "r");
    if (!f) return words;
    char line[512];
    for (int n = 1; fgets(line, sizeof line, f); n++) {
        if (line[0] == '#') continue;
        line[strcspn(line, "\n")] = 0;
        char* roman = strtok(line, "\t");
        char* iscii = strtok(nullptr, "\t");
        char* unicode = strtok(nullptr, "\t");
        if (roman && iscii && unicode) words.push_back({n, roman, FromHex(iscii), unicode});
    }
    fclose(f);
    return words;
}

TEST(ShippedRules, EveryListedWordBothWays) {
    std::vector<Word> words = ReadWords();
    ASSERT_GE(words.size(), 100u);
    ASSERT_EQ(RulesInit(NK_RULE_DATA_DIR, 1), RULES_READY);
    for (const Word& w : words) {
        EXPECT_EQ(Hex(Convert(w.roman)), Hex(w.iscii))
            << "line " << w.line << ": " << w.roman << " (" << w.unicode << ")";
    }
    // Roman spellings written back by IN2EN convert to the same ISCII.
    ASSERT_EQ(RulesInit(NK_RULE_DATA_DIR, 0), RULES_READY);
    std::vector<std::string> back;
    for (const Word& w : words) {
        back.push_back(Convert(w.iscii));
        EXPECT_EQ(back.back(), w.roman) << "line " << w.line << ": " << w.unicode;
    }
    ASSERT_EQ(RulesInit(NK_RULE_DATA_DIR, 1), RULES_READY);
    for (size_t i = 0; i < words.size(); i++) {
        EXPECT_EQ(Hex(Convert(back[i])), Hex(words[i].iscii))
            << "line " << words[i].line << ": " << back[i];
    }
}

TEST(ShippedRules, OtherSpellingsOfTheScheme) {
    ASSERT_EQ(RulesInit(NK_RULE_DATA_DIR, 1), RULES_READY);
    struct Row {
        const char* typed;
        const char* canonical; // the same word as IN2EN writes it
    } rows[] = {
        {"kamal", "kamala"}, // a final consonant keeps its inherent vowel
        {"bhArata", "bhaarata"},
        {"hindI", "hindii"},
        {"hindee", "hindii"},
        {"phUla", "phuula"},
        {"phoola", "phuula"},
        {"dUdha", "duudha"},
        {"wara", "vara"},
        {"cala", "chala"},
        {"Chaatra", "chhaatra"},
        {"xatriya", "kShatriya"},
        {"j~naana", "GYaana"},
        {"kR^iShNa", "kRRiShNa"},
        {"sa.nskRRita", "saMskRRita"},
        {"Sata", "Shata"},
        {"k_h", "k_ha"},
    };
    for (const Row& row : rows) {
        std::string canonical = Convert(row.canonical);
        EXPECT_FALSE(canonical.empty()) << row.canonical;
        EXPECT_EQ(Hex(Convert(row.typed)), Hex(canonical)) << row.typed;
    }
    // Typing a word letter by letter never blanks it out on the way.
    const char* words[] = {"lakShmii", "GYaana", "kRRiShNa", "ha.Nsa", "jagat.h", "R^iShi"};
    for (const char* word : words) {
        for (size_t n = 1; n <= strlen(word); n++) {
            EXPECT_FALSE(Convert(std::string(word, n)).empty()) << std::string(word, n);
        }
    }
}

TEST(ShippedRules, ShippedFilesMeetTheFormatLimits) {
    for (int direction = 0; direction <= 1; direction++) {
        ASSERT_EQ(RulesInit(NK_RULE_DATA_DIR, direction), RULES_READY);
        EXPECT_LE(ruleFrame.classCount, NK_RULE_CLASS_MAX);
        int groups = 0;
        for (const RuleGroup* g = ruleFrame.groups; g; g = g->next)
            groups++;
        EXPECT_GT(groups, 60) << direction;
    }
}

} // namespace
