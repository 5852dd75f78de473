#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempFolder.h"

namespace zel {
namespace {

// "メモ表.txt" in Shift_JIS; 表 (95 5C) carries a "\" as its second byte.
const std::string kJapaneseName = "\x83\x81\x83\x82\x95\x5C.txt";

void writeOs(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(FileSystem, ShiftJisPathsReachTheRightFile) {
    test::TempFolder dir;
    writeOs(dir.osPath(kJapaneseName), "abc\r\n");
    std::string path = dir.path(kJapaneseName);
    EXPECT_TRUE(fileExists(path));
    EXPECT_FALSE(dirExists(path));
    EXPECT_EQ(fileSize(path), 5u);
    EXPECT_TRUE(fileModified(path).has_value());
    std::string bytes;
    ASSERT_TRUE(readFile(path, bytes));
    EXPECT_EQ(bytes, "abc\r\n");
    IoResult missing = readFile(dir.path("none.txt"), bytes);
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message.find("none.txt"), std::string::npos);
    EXPECT_TRUE(bytes.empty());

    std::vector<FolderEntry> entries;
    ASSERT_TRUE(listFolder(dir.path(), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, kJapaneseName);
    EXPECT_FALSE(entries[0].isDir);
}

TEST(FileSystem, FoldersAreMadeListedRenamedAndRemoved) {
    test::TempFolder dir;
    std::string deep = dir.path("a/b/c");
    ASSERT_TRUE(makeDirs(deep + "/"));
    EXPECT_TRUE(makeDirs(deep));  // existing is fine
    EXPECT_TRUE(dirExists(deep));
    writeOs(dir.osPath("a/file"), "x");
    EXPECT_FALSE(makeDirs(dir.path("a/file/sub")));

    std::filesystem::create_symlink(dir.osPath("a/b"), dir.osPath("a/link"));

    ASSERT_TRUE(renamePath(dir.path("a/file"), dir.path("a/b/moved")));
    EXPECT_TRUE(fileExists(dir.path("a/b/moved")));
    EXPECT_FALSE(removeDir(dir.path("a/b")));  // not empty
    ASSERT_TRUE(removeFile(dir.path("a/link")));
    EXPECT_TRUE(dirExists(dir.path("a/b")));  // the link went, not its target
}

}  // namespace
}  // namespace zel
