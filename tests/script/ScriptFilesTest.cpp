// The script cases of tests/data/script: each file's cases run through the
// interpreter, their Print lines and error texts compared byte for byte.

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "script/ScriptServices.h"
#include "script/ScriptTestSupport.h"
#include "text/Sjis.h"

namespace zel {
namespace {

struct Case {
    std::string name;
    std::string script;
    std::vector<std::string> declare, define, inputs, expected;
    std::vector<int> answers;
    std::optional<std::string> error;
};

class CannedAnswers : public ScriptServices {
  public:
    std::vector<std::string> inputs;
    std::vector<int> answers;
    std::string inputBox(const std::string&, const std::string&,
                         const std::string& initial) override {
        if (inputs.empty()) return initial;
        std::string next = utf8ToSjis(inputs.front());
        inputs.erase(inputs.begin());
        return next;
    }
    int messageBox(const std::string&, const std::string&, int) override {
        if (answers.empty()) return 1;
        int next = answers.front();
        answers.erase(answers.begin());
        return next;
    }
};

bool directive(const std::string& line, std::string_view prefix, std::string& value) {
    if (!line.starts_with(prefix)) return false;
    value = line.substr(prefix.size());
    if (!value.empty() && value[0] == ' ') value.erase(0, 1);
    return true;
}

std::vector<Case> readCases(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<Case> cases(1);
    std::string line, value;
    int lineNumber = 0, start = 1;
    auto named = [&](Case& c) { c.name = file.filename().string() + ":" + std::to_string(start); };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line == "//----") {
            named(cases.back());
            cases.emplace_back();
            start = lineNumber + 1;
            continue;
        }
        Case& c = cases.back();
        if (directive(line, "//>", value)) {
            c.expected.push_back(value);
        } else if (directive(line, "//!", value)) {
            c.error = value;
        } else if (directive(line, "//declare:", value)) {
            c.declare.push_back(utf8ToSjis(value));
        } else if (directive(line, "//define:", value)) {
            c.define.push_back(utf8ToSjis(value));
        } else if (directive(line, "//input:", value)) {
            c.inputs.push_back(value);
        } else if (directive(line, "//answer:", value)) {
            c.answers.push_back(std::stoi(value));
        }
        c.script += line + "\n";
    }
    named(cases.back());
    return cases;
}

TEST(ScriptFiles, EveryCaseGivesItsLinesAndError) {
    const std::filesystem::path folder = std::filesystem::path(ZEL_TEST_DATA) / "script";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".ppa") continue;
        for (Case& c : readCases(entry.path())) {
            ++count;
            TPoorPascal pp;
            CannedAnswers services;
            services.inputs = c.inputs;
            services.answers = c.answers;
            pp.setServices(&services);
            pp.setDefine(c.define);
            test::ScriptRun run = test::runScript(pp, c.script, c.declare);
            EXPECT_EQ(run.lines, c.expected) << c.name;
            if (c.error) {
                EXPECT_FALSE(run.ok) << c.name;
                EXPECT_EQ(run.error, *c.error) << c.name;
            } else {
                EXPECT_TRUE(run.ok) << c.name << ": " << run.error;
            }
        }
    }
    EXPECT_GT(count, 80);
}

}  // namespace
}  // namespace zel
