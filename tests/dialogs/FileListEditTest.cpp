#include "dialogs/FileListEdit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/TempFolder.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

TEST(FileListDrop, NamesOrFullPathsOrNothing) {
    const Lines dropped = {"/a/b.txt", "/a/c.txt"};
    Lines lines = {"kept"};
    EXPECT_EQ(addDroppedPaths(dropped, FileDropMode::FileName, lines), 2);
    EXPECT_EQ(lines, (Lines{"kept", "b.txt", "c.txt"}));
    lines.clear();
    addDroppedPaths(dropped, FileDropMode::FullName, lines);
    EXPECT_EQ(lines, dropped);
    EXPECT_EQ(addDroppedPaths(dropped, FileDropMode::Poser, lines), 0);
    EXPECT_EQ(lines, dropped);
}

// A folder a with x.txt, sub/y.txt and a link back to a: the link is listed
// as an entry and never entered.
class FileListTree : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.osPath("a/sub"));
        std::ofstream(dir_.osPath("a/x.txt")) << "x";
        std::ofstream(dir_.osPath("a/sub/y.txt")) << "y";
        std::filesystem::create_directory_symlink(dir_.osPath("a"), dir_.osPath("a/sub/loop"));
        a_ = dir_.path("a");
    }
    test::TempFolder dir_;
    std::string a_;
};

TEST_F(FileListTree, ExpandListsEveryFileThenTheFolderWithoutFollowingLinks) {
    Lines lines;
    EXPECT_EQ(addDroppedPaths({a_, dir_.path("a/x.txt")}, FileDropMode::ExpandSubDir, lines), 5);
    ASSERT_EQ(lines.size(), 5u);
    Lines files(lines.begin(), lines.begin() + 3);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Lines{a_ + "/sub/loop", a_ + "/sub/y.txt", a_ + "/x.txt"}));
    EXPECT_EQ(lines[3], a_);
    EXPECT_EQ(lines[4], dir_.path("a/x.txt")) << "a dropped file stands for itself";
}

TEST_F(FileListTree, DirectoryOnlyListsTheFoldersBelowThenTheFolder) {
    Lines lines;
    addDroppedPaths({a_}, FileDropMode::DirectoryOnly, lines);
    EXPECT_EQ(lines, (Lines{a_ + "/sub", a_}));
}

TEST_F(FileListTree, BreakEndsTheDrop) {
    Lines lines;
    int asked = 0;
    // Pressed while the first folder is listed: nothing after it is added.
    addDroppedPaths({a_, "/b/other.txt"}, FileDropMode::ExpandSubDir, lines,
                    [&] { return ++asked > 1; });
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), "/b/other.txt") == lines.end());
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), a_) == lines.end());
    lines.clear();
    addDroppedPaths({a_}, FileDropMode::DirectoryOnly, lines, [] { return true; });
    EXPECT_TRUE(lines.empty());
}

TEST(FileListButtons, ReshapeEveryLine) {
    Lines lines = {"one", "two", "three"};
    numberLines(lines);
    EXPECT_EQ(lines, (Lines{"00001 one", "00002 two", "00003 three"}));
    deleteHeadOfLines(lines);
    EXPECT_EQ(lines, (Lines{"one", "two", "three"}));
    lines = {"a\tb  c ", "single", ""};
    deleteHeadOfLines(lines);
    EXPECT_EQ(lines, (Lines{"b  c", "", ""}));

    lines = {"p"};
    linkLinesAsHTML(lines);
    EXPECT_EQ(lines, Lines{"<a href=\"p\" >p</a>"});
    lines = {"x", "y"};
    addHeadToLines(lines, "<");
    addTailToLines(lines, ">");
    EXPECT_EQ(lines, (Lines{"<x>", "<y>"}));
}

TEST(FileListButtons, SortIgnoresLetterCaseOfEveryWidth) {
    // Full-width Ｂ (82 61) and ａ (82 81) fold like b and a; ア (83 41)
    // is no capital of anything.
    Lines lines = {"b", "\x82\x61", "A", "\x83\x41", "a", "\x82\x81"};
    sortLines(lines);
    EXPECT_EQ(lines, (Lines{"A", "a", "b", "\x82\x81", "\x82\x61", "\x83\x41"}));
}

}  // namespace
}  // namespace zel
