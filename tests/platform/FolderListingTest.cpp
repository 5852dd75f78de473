#include "platform/FolderListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/TempFolder.h"

namespace zel {
namespace {

class FolderListing : public ::testing::Test {
  protected:
    // root: top.txt, .hidden, a/ (a1.txt, deep/ (d.txt)), b/ (b1.txt), loop -> root
    void SetUp() override {
        std::filesystem::create_directories(dir_.osPath("a/deep"));
        std::filesystem::create_directories(dir_.osPath("b"));
        for (const char* file : {"top.txt", ".hidden", "a/a1.txt", "a/deep/d.txt", "b/b1.txt"}) {
            std::ofstream(dir_.osPath(file)) << "x";
        }
        std::filesystem::create_directory_symlink(dir_.osPath(""), dir_.osPath("loop"));
    }
    std::string at(const std::string& relative) const { return dir_.path(relative); }

    test::TempFolder dir_;
};

std::vector<std::string> sorted(std::vector<std::string> list) {
    std::sort(list.begin(), list.end());
    return list;
}

TEST_F(FolderListing, FilesListsEveryFileBelowAndPollsOncePerFolder) {
    std::vector<std::string> list{"before"};
    int polls = 0;
    int count = listFilesRecursive(list, dir_.path() + "/", [&] { return ++polls, false; });
    EXPECT_EQ(count, 6);
    EXPECT_EQ(polls, 3);
    std::vector<std::string> expected{at(".hidden"),  at("a/a1.txt"), at("a/deep/d.txt"),
                                      at("b/b1.txt"), at("loop"),     at("top.txt"),
                                      "before"};
    EXPECT_EQ(sorted(list), sorted(expected));
}

TEST_F(FolderListing, DirsListsDeeperFoldersFirst) {
    std::vector<std::string> list;
    EXPECT_EQ(listDirsRecursive(list, dir_.path(), [] { return false; }), 3);
    EXPECT_EQ(sorted(list), sorted({at("a"), at("a/deep"), at("b")}));
    auto deep = std::find(list.begin(), list.end(), at("a/deep"));
    auto a = std::find(list.begin(), list.end(), at("a"));
    EXPECT_LT(deep, a);
}

// Two folders alike, a/sub/f and b/sub/f, so the test holds in any listing
// order. Break is pressed at the second poll, while the first folder is being
// listed: its subfolder is still listed, then the listing ends.
TEST(FolderListingBreak, EndsAfterTheFolderBeingListed) {
    test::TempFolder dir;
    for (const char* top : {"a", "b"}) {
        std::filesystem::create_directories(dir.osPath(std::string(top) + "/sub"));
        std::ofstream(dir.osPath(std::string(top) + "/sub/f")) << "x";
    }
    int polls = 0;
    auto pressAtSecondPoll = [&] { return ++polls >= 2; };

    std::vector<std::string> files;
    EXPECT_EQ(listFilesRecursive(files, dir.path(), pressAtSecondPoll), 1);
    EXPECT_EQ(polls, 2);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0] == dir.path("a/sub/f") || files[0] == dir.path("b/sub/f")) << files[0];

    polls = 0;
    std::vector<std::string> dirs;
    EXPECT_EQ(listDirsRecursive(dirs, dir.path(), pressAtSecondPoll), 0);
    EXPECT_EQ(polls, 2);
    EXPECT_TRUE(dirs.empty());
}

TEST(FolderListingMissing, AMissingFolderListsNothing) {
    std::vector<std::string> list;
    EXPECT_EQ(listFilesRecursive(list, "/zel/no/such/folder", nullptr), 0);
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace zel
