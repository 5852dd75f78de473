// Writers of one memo file at once: every change lands, or a writer fails
// with status 1 and says why, writing nothing. Never two "Saved" with one
// change lost.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "cli/CliTestSupport.h"
#include "platform/WriterLock.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

constexpr int kNodes = 3000;

std::string holderFile() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<!-- 20260101 000000 -->\r\n"
        "<Holder name=\"h\">\r\n";
    for (int i = 0; i < kNodes; ++i)
        text +=
            "  <Record name=\"n" + std::to_string(i) + "\">\r\nalpha beta<BR/>\r\n  </Record>\r\n";
    return text + "</Holder>\r\n";
}

std::string indexFile() {
    return "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<!-- 20260101 000000 -->\r\n"
           "<File name=\"c\">\r\n  <Field CurrentHolder=\"h\" />\r\n"
           "  <Holder name=\"h\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n"
           "</File>\r\n";
}

std::size_t count(const std::string& text, const std::string& word) {
    std::size_t n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

// A verb run in a child process; its exit status and error stream.
class Child {
  public:
    explicit Child(std::vector<std::string> args) {
        if (::pipe(err_) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(err_[0]);
            const test::VerbOutcome outcome = test::runVerb(args);
            [[maybe_unused]] ssize_t n = ::write(err_[1], outcome.err.data(), outcome.err.size());
            ::_exit(outcome.status);
        }
        ::close(err_[1]);
    }
    // Waits for the child: its status.
    int finish() {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(err_[0], buffer, sizeof buffer)) > 0) err.append(buffer, n);
        ::close(err_[0]);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string err;

  private:
    pid_t pid_ = 0;
    int err_[2] = {-1, -1};
};

class Writers : public test::VerbTest {
  protected:
    void fresh() {
        std::ofstream(folder.osPath("c.mxa"), std::ios::binary | std::ios::trunc) << indexFile();
        std::ofstream(folder.osPath("h.mxh"), std::ios::binary | std::ios::trunc) << holderFile();
    }
};

TEST_F(Writers, TwoReplacesAtOnceBothLandOrOneFailsSayingWhy) {
    for (int trial = 0; trial < 4; ++trial) {
        fresh();
        Child a({"replace", arg("c.mxa"), "alpha", "AAAA", "--save"});
        // The second writes the holder file on its own: another lock, so it
        // can only be stopped by the check of what the first one read.
        Child b({"replace", arg(trial % 2 ? "h.mxh" : "c.mxa"), "beta", "BBBB", "--save"});
        const int statusA = a.finish(), statusB = b.finish();
        const std::string holder = bytes("h.mxh");
        const std::size_t as = count(holder, "AAAA"), bs = count(holder, "BBBB");
        SCOPED_TRACE("trial " + std::to_string(trial) + ": " + a.err + " | " + b.err);
        EXPECT_TRUE(statusA == 0 || statusA == 1);
        EXPECT_TRUE(statusB == 0 || statusB == 1);
        EXPECT_EQ(as, statusA == 0 ? kNodes : 0u);
        EXPECT_EQ(bs, statusB == 0 ? kNodes : 0u);
        if (statusA == 1) {
            EXPECT_THAT(a.err, HasSubstr("changed on disk since it was read"));
        }
        if (statusB == 1) {
            EXPECT_THAT(b.err, HasSubstr("changed on disk since it was read"));
        }
    }
}

TEST_F(Writers, AWriterWaitsForTheLockThenFailsNamingItsHolderAndWritesNothing) {
    fresh();
    const std::string before = bytes("h.mxh");
    setWriterLockProgram("zel (a window)");
    WriterLock window;
    ASSERT_TRUE(window.acquire(folder.path("c.mxa")));
    ::setenv("ZEL_LOCK_WAIT", "0.2", 1);
    for (const std::vector<std::string>& verb :
         {std::vector<std::string>{"replace", arg("c.mxa"), "alpha", "AAAA", "--save"},
          std::vector<std::string>{"fields", arg("c.mxa"), "k", "--set", "v", "--save"},
          std::vector<std::string>{"import-files", arg("c.mxa"), arg("c.mxa")}}) {
        Child writer(verb);
        EXPECT_EQ(writer.finish(), 1) << verb[0] << ": " << writer.err;
        EXPECT_THAT(writer.err, HasSubstr("zel (a window) (pid " + std::to_string(::getpid())));
        EXPECT_EQ(bytes("h.mxh"), before);
    }
    // Readers need no lock.
    Child reader({"grep", arg("c.mxa"), "alpha"});
    EXPECT_EQ(reader.finish(), 0) << reader.err;
    ::unsetenv("ZEL_LOCK_WAIT");
}

}  // namespace
}  // namespace zel
