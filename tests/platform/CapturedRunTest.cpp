#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "support/TempFolder.h"
#include "text/TextHelpers.h"

namespace zel {
namespace {

// Running, not ended: a zombie nobody reaped does not count.
bool isRunning(int pid) {
    std::string stat;
    if (!readFile("/proc/" + std::to_string(pid) + "/stat", stat)) return false;
    const std::size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

TEST(CapturedRun, KeepsBothStreamsAndTheExitCode) {
    int polls = 0;
    CapturedRun run = runCaptured({"sh", "-c", "echo one; echo two >&2; printf three; exit 3"}, "",
                                  1 << 20, [&] { return ++polls < 0; });
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_FALSE(run.broken);
    EXPECT_FALSE(run.cut);
    EXPECT_EQ(run.lines, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_FALSE(runCaptured({"no-such-program-anywhere"}, "", 100, {}).started);
}

TEST(CapturedRun, EndlessOutputStopsAtTheLimit) {
    CapturedRun run = runCaptured({"yes", "line"}, "", 1000, {});
    EXPECT_TRUE(run.cut);
    std::size_t bytes = 0;
    for (const auto& line : run.lines) bytes += line.size() + 1;
    EXPECT_LE(bytes, 1001u);
    EXPECT_GE(run.lines.size(), 100u);
}

// Break ends the program and what it started, even when the program waits
// silently or has closed its output.
TEST(CapturedRun, BreakStopsTheProgramAndItsChildren) {
    test::TempFolder dir;
    const std::string pidFile = dir.path("child.pid");
    for (const std::string& script :
         {"sleep 30 & echo $! > '" + pidFile + "'; echo started; wait",
          "exec >/dev/null 2>&1; sleep 30 & echo $! > '" + pidFile + "'; wait"}) {
        int polls = 0;
        CapturedRun run = runCaptured({"sh", "-c", script}, "", 1 << 20, [&] {
            std::string pid;
            return readFile(pidFile, pid) && !pid.empty() && ++polls > 2;
        });
        EXPECT_TRUE(run.broken) << script;
        std::string pid;
        ASSERT_TRUE(readFile(pidFile, pid));
        const int child = std::stoi(trimText(pid));
        for (int i = 0; i < 200 && isRunning(child); ++i) ::usleep(10000);
        EXPECT_FALSE(isRunning(child)) << "the sleep still runs";
        removeFile(pidFile);
    }
}

TEST(CapturedRun, RunsInTheFolderGiven) {
    test::TempFolder dir;
    CapturedRun run = runCaptured({"pwd"}, dir.path(), 4096, {});
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(run.lines[0], dir.path());
}

}  // namespace
}  // namespace zel
