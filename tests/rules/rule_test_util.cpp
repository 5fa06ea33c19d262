#include "tests/rules/rule_test_util.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <vector>

#include "driver/rules/rule_frame.h"

const std::string& TestFolder() {
    static std::string folder;
    if (folder.empty()) {
        char pattern[] = "/tmp/nk_rules_XXXXXX";
        const char* made = mkdtemp(pattern);
        folder = std::string(made ? made : "/tmp") + "/";
    }
    return folder;
}

std::string WriteRuleFile(const std::string& name, const std::string& text) {
    std::string path = TestFolder() + name;
    std::vector<unsigned char> bytes(text.begin(), text.end());
    ScrambleRuleBytes(bytes.data(), bytes.size(), 0);
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

int LoadRuleText(const std::string& text) {
    std::string path = WriteRuleFile("test.rul", text);
    ResetRuleFrame();
    return LoadRuleFile(path.c_str());
}

std::string RuleText(const std::string& alphabet, const std::string& classLines,
                     const std::string& ruleLines) {
    return "[HEADER]\n"
           "PREFIXSTRING='{\n"
           "INSTRING='<\n"
           "SUFFIXSTRING='>\n"
           "OUTSTRING='=\n"
           "MAPORCONSTRAIN='#\n"
           "SPACE=' '\n"
           "WILDCARD='*\n"
           "INPUTALPHABET=" +
           alphabet + "\nfree\n" + classLines + "[RULES]\nfree 1\nfree 2\n" + ruleLines + "[END]\n";
}

std::string Convert(const std::string& source, int mode, int limit, int* code) {
    std::vector<char> in(source.begin(), source.end());
    in.push_back(0);
    std::vector<char> out((size_t)(limit < 0 ? 0 : limit) + 1, 0);
    int result = RulesConvertText(in.data(), out.data(), limit, mode);
    if (code) *code = result;
    return std::string(out.data());
}
