// zel --run: the real program runs a script in its window without showing
// it; log lines on stdout, questions answered from --answer, files written
// only with --save, the exit status telling whether all went well.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/scripting/BatchPrompter.h"
#include "platform/Process.h"
#include "platform/SafeFileWriter.h"
#include "platform/WriterLock.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

std::string zelProgram() {
    return builtProgram("zel");
}

// A password box takes the next answer like any other question, and the log
// of questions on standard error never shows it.
TEST(BatchPrompterTest, PasswordsAreAnsweredInTurnButNeverLogged) {
    BatchPrompter prompter({"s3cret", "typed"});
    std::ostringstream log;
    std::streambuf* const before = std::cerr.rdbuf(log.rdbuf());
    std::string password = "old", text, again;
    const bool given = prompter.passwordQuery("Password", "Password for ann", password);
    const bool typed = prompter.inputQuery("Name", "Who?", text);
    const bool left = prompter.passwordQuery("Password", "Password for bob", again);
    std::cerr.rdbuf(before);

    EXPECT_TRUE(given);
    EXPECT_EQ(password, "s3cret");
    EXPECT_TRUE(typed);
    EXPECT_EQ(text, "typed");
    EXPECT_FALSE(left);
    EXPECT_THAT(log.str(), HasSubstr("Password for ann -> (given)"));
    EXPECT_THAT(log.str(), HasSubstr("Password for bob -> (cancelled)"));
    EXPECT_THAT(log.str(), HasSubstr("Who? -> typed"));
    EXPECT_EQ(log.str().find("s3cret"), std::string::npos);
}

// Abort, Retry and Ignore are answered by name; unanswered, such a box is
// aborted, never retried for ever.
TEST(BatchPrompterTest, AbortRetryIgnoreByNameElseAbort) {
    BatchPrompter prompter({"retry", "yes"});
    std::ostringstream log;
    std::streambuf* const before = std::cerr.rdbuf(log.rdbuf());
    const unsigned buttons = ButtonAbort | ButtonRetry | ButtonIgnore;
    const Answer retried = prompter.askTitled(Tone::Warning, "Copy", "Disk full", buttons);
    const Answer offNames = prompter.ask(Tone::Warning, "Disk full", buttons);
    const Answer unanswered = prompter.ask(Tone::Warning, "Disk full", buttons);
    std::cerr.rdbuf(before);
    EXPECT_EQ(retried, Answer::Retry);
    EXPECT_EQ(offNames, Answer::Abort) << "Yes is no button of the box";
    EXPECT_EQ(unanswered, Answer::Abort);
    EXPECT_THAT(log.str(), HasSubstr("Disk full -> Retry"));
}

class BatchRun : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        writeMemoFile("memo.mxa", {{"A", {"a1", "a2"}}});
        ASSERT_TRUE(std::filesystem::exists(zelProgram())) << zelProgram();
    }
    FinishedRun zel(const std::string& script, std::vector<std::string> options) {
        std::ofstream(path("s.ppa"), std::ios::binary) << utf8ToSjis(script);
        std::vector<std::string> argv{zelProgram(), "--run", path("s.ppa"), path("memo.mxa")};
        argv.insert(argv.end(), options.begin(), options.end());
        return runToEnd(argv, dir);
    }
    std::string holderText() const {
        std::string all;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().extension() == ".mxh")
                all += readText(entry.path().filename().string());
        return all;
    }
};

TEST_F(BatchRun, PrintsLogLinesAndWritesOnlyWithSave) {
    const std::string before = holderText();
    FinishedRun dry = zel("UINewNode_('made'); UIAddMemo_('hello'); Print('ok ' + UIGetName)", {});
    EXPECT_EQ(dry.exitCode, 0);
    EXPECT_THAT(dry.lines, Contains("ok made"));
    EXPECT_THAT(dry.lines, Contains("zel: Done: Eval"));
    EXPECT_EQ(holderText(), before);

    FinishedRun saved = zel("UINewNode_('made'); UIAddMemo_('hello')", {"--save"});
    EXPECT_EQ(saved.exitCode, 0);
    EXPECT_THAT(holderText(), HasSubstr("made"));
    EXPECT_THAT(holderText(), HasSubstr("hello"));
}

TEST_F(BatchRun, ErrorsAnswersAndTimeOuts) {
    FinishedRun bad = zel("Print('a'); Print(nosuch)", {});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_THAT(bad.lines, Contains("a"));
    EXPECT_THAT(bad.lines, Contains("zel: ERROR: Eval"));
    // The captured lines are Shift_JIS.
    EXPECT_THAT(bad.lines, Contains(utf8ToSjis("zel: 変数または関数は定義されていません[nosuch]")));

    FinishedRun asked =
        zel("Print(IntToStr(MessageBox('Go on?', 'c', 4)) + InputBox('c', 'p', 'd'))",
            {"--answer", "No"});
    EXPECT_EQ(asked.exitCode, 0);
    EXPECT_THAT(asked.lines, Contains("7d"));

    FinishedRun slow = zel("while 1 do Sleep(10)", {"--timeout", "1"});
    EXPECT_EQ(slow.exitCode, 1);
    EXPECT_THAT(slow.lines, Contains("zel: timed out after 1 s"));
}

TEST_F(BatchRun, ARunThatFailsSavesNothing) {
    const std::string before = holderText();
    FinishedRun bad = zel("UINewNode_('half'); Print(nosuch)", {"--save"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_THAT(bad.lines, Contains(HasSubstr("nothing was saved")));
    EXPECT_EQ(holderText(), before);

    FinishedRun slow =
        zel("UINewNode_('half'); while 1 do Sleep(10)", {"--save", "--timeout", "1"});
    EXPECT_EQ(slow.exitCode, 1);
    EXPECT_EQ(holderText(), before);
}

TEST_F(BatchRun, ARunThatSavesWaitsForAnotherWriterAndGivesUpSayingWho) {
    const std::string before = holderText();
    setWriterLockProgram("zel-tool replace");
    WriterLock other;
    ASSERT_TRUE(other.acquire(path("memo.mxa")));
    ::setenv("ZEL_LOCK_WAIT", "0.3", 1);
    FinishedRun refused = zel("UINewNode_('late')", {"--save"});
    ::unsetenv("ZEL_LOCK_WAIT");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_THAT(refused.lines, Contains(HasSubstr("zel-tool replace (pid")));
    EXPECT_EQ(holderText(), before);

    other.release();
    FinishedRun saved = zel("UINewNode_('late')", {"--save"});
    EXPECT_EQ(saved.exitCode, 0);
    EXPECT_THAT(holderText(), HasSubstr("late"));
}

// Killed at any moment of its run, a run that saves leaves the old set of
// files or the new one: never an index naming a holder file not written.
TEST_F(BatchRun, AKillDuringTheSaveLeavesTheOldSetOrTheNew) {
    writeMemoFile("memo.mxa", {{"A", {"a1", "a2", "a3", "a4", "a5", "a6"}}});
    const std::string script = "UIDeleteMemoNode; UIDeleteMemoNode; UIDeleteMemoNode";
    std::ofstream(path("s.ppa"), std::ios::binary) << script;
    std::mt19937 random(28);
    int killedOld = 0, killedNew = 0;
    for (int round = 0; round < 10; ++round) {
        writeMemoFile("memo.mxa", {{"A", {"a1", "a2", "a3", "a4", "a5", "a6"}}});
        std::filesystem::remove(path("Trush.mxh"));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::string program = zelProgram(), run = path("s.ppa"), file = path("memo.mxa");
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, 1);
            ::dup2(quiet, 2);
            ::execl(program.c_str(), program.c_str(), "--run", run.c_str(), file.c_str(), "--save",
                    "--answer", "yes", "--answer", "yes", "--answer", "yes",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::usleep(20000 + random() % 200000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        // What a reader sees once the folder is tidied, as every reader does.
        tidyFolderOf(path("memo.mxa"));
        const std::string index = readText("memo.mxa");
        const bool namesTrush = index.find("Trush") != std::string::npos;
        const std::string a = readText("A.mxh");
        const auto nodes = [&](const std::string& text) {
            std::size_t n = 0;
            for (auto at = text.find("<Record"); at != std::string::npos;
                 at = text.find("<Record", at + 1))
                ++n;
            return n;
        };
        SCOPED_TRACE("round " + std::to_string(round));
        if (!namesTrush) {
            EXPECT_EQ(nodes(a), 6u) << "the old set";
            ++killedOld;
        } else {
            ASSERT_TRUE(exists("Trush.mxh")) << "the index names a holder never written";
            EXPECT_EQ(nodes(a) + nodes(readText("Trush.mxh")), 6u) << "the new set";
            ++killedNew;
        }
    }
    EXPECT_EQ(killedOld + killedNew, 10);
}

TEST_F(BatchRun, ExecuteRunsAScriptNodeIntoAChild) {
    FinishedRun setUp =
        zel("UINewNode_('run'); UIPutField__('Filename', 'run.ppa');"
            "UIAddMemo_('PrintBuf2(PPAID, ''from '' + PPAID)')",
            {"--save"});
    ASSERT_EQ(setUp.exitCode, 0);
    FinishedRun run = zel("", {"--execute", "A", "run", "--save"});
    std::string said;
    for (const auto& line : run.lines) said += line + "\n";
    EXPECT_EQ(run.exitCode, 0) << said;
    EXPECT_THAT(holderText(), HasSubstr("from PPA00")) << said;
}

}  // namespace
}  // namespace zel
