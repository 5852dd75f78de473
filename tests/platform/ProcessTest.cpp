#include "platform/Process.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "text/Sjis.h"

namespace zel {
namespace {

TEST(RunAndCapture, MergesOutputAndErrorIntoPrefixedLines) {
    test::TempFolder dir;
    std::vector<std::string> lines{"kept"};
    int result = runAndCapture(
        lines, dir.path(),
        shellCommandLine("printf 'one\\r\\ntwo\\n'; echo err >&2; pwd; printf tail"), "> ");
    ASSERT_EQ(result, 0);
    std::vector<std::string> expected{"kept",  "> one",           "> two",
                                      "> err", "> " + dir.path(), "> tail"};
    EXPECT_EQ(lines, expected);
}

TEST(RunAndCapture, SplitsTheCommandLineLikeAShell) {
    std::vector<std::string> lines;
    ASSERT_EQ(runAndCapture(lines, "", R"(printf "[%s]\n" 'a b' "c \"d\"" e\ f)", ""), 0);
    std::vector<std::string> expected{"[a b]", "[c \"d\"]", "[e f]"};
    EXPECT_EQ(lines, expected);
}

TEST(RunAndCapture, CommandAndOutputAreShiftJis) {
    std::vector<std::string> lines;
    // The program writes メモ in UTF-8 (octal escapes keep the command ASCII).
    ASSERT_EQ(runAndCapture(lines, "", R"(printf '\343\203\241\343\203\242')", ""), 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "\x83\x81\x83\x82");

    // 表 (95 5C) in an argument: its second byte is no escape character.
    lines.clear();
    ASSERT_EQ(runAndCapture(lines, "", "printf %s \"\x95\x5C\"", ""), 0);
    EXPECT_EQ(lines, std::vector<std::string>{"\x95\x5C"});
}

TEST(RunAndCapture, ProgramsThatCannotStartYieldMinusOne) {
    test::TempFolder dir;
    std::vector<std::string> lines;
    EXPECT_EQ(runAndCapture(lines, "", "zel-no-such-program --help", "x"), -1);
    EXPECT_EQ(runAndCapture(lines, dir.path("missing"), "true", "x"), -1);
    EXPECT_EQ(runAndCapture(lines, "", "   ", "x"), -1);
    EXPECT_TRUE(lines.empty());
}

TEST(RunToEnd, ReportsTheExitCode) {
    FinishedRun run = runToEnd({"/bin/sh", "-c", "echo out; exit 3"});
    EXPECT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.lines, std::vector<std::string>{"out"});
    EXPECT_FALSE(runToEnd({"zel-no-such-program"}).started);
}

}  // namespace
}  // namespace zel
