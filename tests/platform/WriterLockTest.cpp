#include "platform/WriterLock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>

#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using std::chrono::milliseconds;

// A child process that takes the lock of `path`, says so through a pipe,
// and keeps it until killed.
class OtherWriter {
  public:
    explicit OtherWriter(const std::string& path) {
        int ready[2];
        if (::pipe(ready) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            setWriterLockProgram("zel-tool replace");
            WriterLock lock;
            const char answer = lock.acquire(path, milliseconds(0)) ? 'y' : 'n';
            [[maybe_unused]] ssize_t n = ::write(ready[1], &answer, 1);
            for (;;) ::pause();
        }
        char answer = 'n';
        [[maybe_unused]] ssize_t n = ::read(ready[0], &answer, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        holds_ = answer == 'y';
    }
    ~OtherWriter() { kill(); }
    bool holds() const { return holds_; }
    pid_t pid() const { return pid_; }
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

  private:
    pid_t pid_ = 0;
    bool holds_ = false;
};

TEST(WriterLock, AnotherWriterWaitsABoundedTimeAndHearsWhoHoldsIt) {
    test::TempFolder dir;
    const std::string memo = dir.path("memo.mxa");
    OtherWriter other(memo);
    ASSERT_TRUE(other.holds());
    EXPECT_EQ(
        writerLockHolder(memo).rfind("zel-tool replace (pid " + std::to_string(other.pid()), 0),
        0u);

    WriterLock mine;
    std::string heard;
    const auto start = std::chrono::steady_clock::now();
    IoResult refused =
        mine.acquire(memo, milliseconds(200), [&](const std::string& who) { heard = who; });
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(refused);
    EXPECT_FALSE(mine.held());
    EXPECT_GE(waited, milliseconds(200));
    EXPECT_NE(refused.message.find(memo), std::string::npos) << refused.message;
    EXPECT_NE(refused.message.find("zel-tool replace (pid " + std::to_string(other.pid())),
              std::string::npos)
        << refused.message;
    EXPECT_TRUE(isWriterConflict(refused.message));
    EXPECT_EQ(heard.rfind("zel-tool replace", 0), 0u);

    // However the holder ends, the lock goes with it.
    other.kill();
    EXPECT_TRUE(mine.acquire(memo, milliseconds(0)));
    EXPECT_TRUE(mine.held());
}

TEST(WriterLock, IsSharedWithinTheProcessAndLeavesNoFileBehind) {
    test::TempFolder dir;
    const std::string memo = dir.path("memo.mxa");
    {
        WriterLock window, save;
        ASSERT_TRUE(window.acquire(memo, milliseconds(0)));
        ASSERT_TRUE(save.acquire(memo, milliseconds(0))) << "a save inside the window's own lock";
        EXPECT_TRUE(fileExists(writerLockFileOf(memo)));
        save.release();
        OtherWriter other(memo);
        EXPECT_FALSE(other.holds()) << "still held by the window";
    }
    EXPECT_FALSE(pathExists(writerLockFileOf(memo)));
    OtherWriter after(memo);
    EXPECT_TRUE(after.holds());
}

TEST(WriterLock, NoLockIsNeededWhereNothingCanBeWritten) {
    test::TempFolder dir;
    WriterLock lock;
    EXPECT_TRUE(lock.acquire(dir.path("missing/memo.mxa"), milliseconds(0)));
    EXPECT_FALSE(lock.held());
}

void writeBehindTheBack(const test::TempFolder& dir, const std::string& name,
                        std::string_view bytes) {
    std::ofstream(dir.osPath(name), std::ios::binary | std::ios::trunc) << bytes;
}

TEST(FileStamp, TellsAnotherProgramsWriteFromAFileLeftAsItWas) {
    test::TempFolder dir;
    const std::string path = dir.path("h.mxh");
    ASSERT_TRUE(writeFileSafely(path, "alpha beta"));
    std::string bytes;
    FileStamp stamp;
    ASSERT_TRUE(readFile(path, bytes, &stamp));
    EXPECT_EQ(stamp.hash, contentHash("alpha beta"));
    EXPECT_EQ(diskStateOf(path, stamp), DiskState::AsKnown);

    // The same size, other bytes: only the content tells.
    writeBehindTheBack(dir, "h.mxh", "AAAAA beta");
    EXPECT_EQ(diskStateOf(path, stamp), DiskState::Changed);
    // Written back as it was (a copy, a sync engine): nothing to lose.
    ASSERT_TRUE(writeFileSafely(path, "alpha beta"));
    EXPECT_EQ(diskStateOf(path, stamp), DiskState::AsKnown);
    ASSERT_TRUE(removeFile(path));
    EXPECT_EQ(diskStateOf(path, stamp), DiskState::Missing);
    EXPECT_EQ(diskStateOf(path, FileStamp()), DiskState::AsKnown);

    ContentHasher pieces;
    pieces.add("alpha ");
    pieces.add("beta");
    EXPECT_EQ(pieces.digest(), contentHash("alpha beta"));
}

TEST(FileStamp, AWriterExpectingTheFileItReadWritesNothingOverAnotherProgramsChange) {
    test::TempFolder dir;
    const std::string path = dir.path("h.mxh");
    ASSERT_TRUE(writeFileSafely(path, "read"));
    DiskVersion version{path, {}};
    std::string bytes;
    ASSERT_TRUE(readFile(path, bytes, &version.stamp));
    // Spelt another way, the same file is still known.
    EXPECT_TRUE(version.knows(dir.path() + "/./h.mxh"));
    EXPECT_FALSE(version.knows(dir.path("other.mxh")));

    writeBehindTheBack(dir, "h.mxh", "theirs");
    FileStamp written;
    IoResult refused = writeFileSafely(path, "mine", LinkPolicy::Follow, &written, &version);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.message, "Could not save " + path + ": " + std::string(kChangedOnDisk));
    ASSERT_TRUE(readFile(path, bytes));
    EXPECT_EQ(bytes, "theirs");
    EXPECT_FALSE(written.known);

    // What was written becomes the version the next save expects.
    ASSERT_TRUE(readFile(path, bytes, &version.stamp));
    ASSERT_TRUE(writeFileSafely(path, "mine", LinkPolicy::Follow, &written, &version));
    EXPECT_TRUE(written.known);
    EXPECT_EQ(written.hash, contentHash("mine"));
    EXPECT_EQ(diskStateOf(path, written), DiskState::AsKnown);
}

TEST(FileStamp, AWriterExpectingAFileWaitsForItsWritersLock) {
    test::TempFolder dir;
    const std::string path = dir.path("h.mxh");
    ASSERT_TRUE(writeFileSafely(path, "read"));
    OtherWriter other(path);
    ASSERT_TRUE(other.holds());
    ::setenv("ZEL_LOCK_WAIT", "0.1", 1);
    SafeFileWriter writer(path);
    writer.expectUnchanged(DiskVersion());
    writer.append("mine");
    IoResult refused = writer.commit();
    ::unsetenv("ZEL_LOCK_WAIT");
    EXPECT_FALSE(refused);
    EXPECT_TRUE(isWriterConflict(refused.message)) << refused.message;
    std::string bytes;
    ASSERT_TRUE(readFile(path, bytes));
    EXPECT_EQ(bytes, "read");
}

}  // namespace
}  // namespace zel
