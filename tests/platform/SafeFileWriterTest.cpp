#include "platform/SafeFileWriter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/TempFolder.h"

namespace zel {
namespace {

std::string contentOf(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(readFile(path, bytes)) << path;
    return bytes;
}

// Only the target itself: no temporary file may stay behind.
std::size_t entriesIn(const test::TempFolder& dir) {
    std::vector<FolderEntry> entries;
    listFolder(dir.path(), entries);
    return entries.size();
}

// Files may grow to `bytes` at most while it lives; writing past that fails
// as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(SafeFileWriter, ReplacesTheWholeFileAndKeepsItsPermissions) {
    test::TempFolder dir;
    std::string path = dir.path("memo.mxa");
    ASSERT_TRUE(writeFileSafely(path, std::string(100000, 'o')));
    ::chmod(dir.osPath("memo.mxa").c_str(), 0640);

    SafeFileWriter writer(path);
    for (int i = 0; i < 1000; ++i) writer.append("line " + std::to_string(i) + "\r\n");
    EXPECT_EQ(contentOf(path), std::string(100000, 'o'));  // untouched until commit
    ASSERT_TRUE(writer.commit());

    std::string expected;
    for (int i = 0; i < 1000; ++i) expected += "line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(contentOf(path), expected);
    EXPECT_EQ(std::filesystem::status(dir.osPath("memo.mxa")).permissions(),
              std::filesystem::perms(0640));
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(SafeFileWriter, FailedWriteLeavesTheOldFileAndNoTemporary) {
    test::TempFolder dir;
    std::string path = dir.path("holder.mxh");
    ASSERT_TRUE(writeFileSafely(path, "old"));
    IoResult result;
    {
        FileSizeLimit limit(4096);
        result = writeFileSafely(path, std::string(1 << 20, 'n'));
    }
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("holder.mxh"), std::string::npos) << result.message;
    EXPECT_EQ(contentOf(path), "old");
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(SafeFileWriter, AbandonedWriterAndMissingFolderChangeNothing) {
    test::TempFolder dir;
    std::string path = dir.path("a.txt");
    ASSERT_TRUE(writeFileSafely(path, "keep"));
    {
        SafeFileWriter writer(path);
        writer.append("lost");
    }
    EXPECT_EQ(contentOf(path), "keep");
    EXPECT_EQ(entriesIn(dir), 1u);

    IoResult result = writeFileSafely(dir.path("no/such/folder.txt"), "x");
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("folder.txt"), std::string::npos);
}

TEST(SafeFileWriter, WritesThroughALinkAndKeepsIt) {
    test::TempFolder dir;
    ASSERT_TRUE(writeFileSafely(dir.path("real.txt"), "old"));
    std::filesystem::create_symlink(dir.osPath("real.txt"), dir.osPath("link.txt"));
    ASSERT_TRUE(writeFileSafely(dir.path("link.txt"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.osPath("link.txt")));
    EXPECT_EQ(contentOf(dir.path("real.txt")), "new");
}

TEST(FileLock, HoldsTheFileAgainstOthersAcrossItsOwnWrites) {
    test::TempFolder dir;
    std::string path = dir.path("memo.mxa");
    ASSERT_TRUE(writeFileSafely(path, "first"));

    FileLock mine;
    ASSERT_TRUE(mine.open(path));
    FileLock other;
    IoResult refused = other.open(path);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message.find("locked"), std::string::npos);
    EXPECT_FALSE(writeFileSafely(path, "theirs"));

    ASSERT_TRUE(mine.write("second"));
    std::string bytes;
    ASSERT_TRUE(mine.read(bytes));
    EXPECT_EQ(bytes, "second");
    EXPECT_EQ(contentOf(path), "second");
    EXPECT_FALSE(other.open(path));  // the lock moved to the new file
    EXPECT_EQ(entriesIn(dir), 1u);

    mine.close();
    EXPECT_TRUE(other.open(path));
    EXPECT_FALSE(FileLock().open(dir.path("missing.mxa")));
}

}  // namespace
}  // namespace zel
