// zel-tool import-files, save-each and desktop: the file list window's Make
// Nodes, the save-each log and the desktop registration without the window.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli/CliTestSupport.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

class FilesVerbs : public test::VerbTest {
  protected:
    void SetUp() override {
        MemoFile file;
        file.setFilename(folder.path("memo.mxa"));
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_("work");
        for (const char* name : {"a", "b"}) {
            MemoNode* node = holder->makeNode_();
            node->putName_as_(name);
            node->memo = {std::string("text ") + name};
            node->putField_("Filename", std::string("\"sub/") + name + ".txt\"");
        }
        holder->loaded = true;
        ASSERT_GE(saveHolderFile_(*holder, holderFilePath_(*holder)), 0);
        ASSERT_GE(file.saveMemoFile_(memo()), 0);
    }
    std::string memo() const { return folder.path("memo.mxa"); }
    // The memo file as zel reads it again.
    MemoHolder* reread(MemoFile& file, const std::string& name) {
        std::vector<std::string> errors;
        EXPECT_EQ(openIndex_(file, memo(), errors, nullptr), 0);
        MemoHolder* holder = file.holderByName_(name);
        if (holder) readHolderFile_(*holder, holderFilePath_(*holder));
        return holder;
    }
};

TEST_F(FilesVerbs, ImportFilesMakesAHolderTheMemoFileLists) {
    std::filesystem::create_directories(folder.osPath("tree/sub"));
    std::ofstream(folder.osPath("tree/x.txt")) << "x";
    std::ofstream(folder.osPath("tree/sub/y.txt")) << "y";
    std::filesystem::create_directory_symlink(folder.osPath("tree"),
                                              folder.osPath("tree/sub/loop"));
    Outcome made = run({"import-files", memo(), "--expand", "--new", "files", folder.path("tree")});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "files: Done: count=4\n");

    MemoFile file;
    MemoHolder* holder = reread(file, "files");
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(holder->count_(), 4);
    MemoNode* node = holder->byName_("y.txt");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getField_("Filename"), "\"" + folder.path("tree/sub/y.txt") + "\"");
    EXPECT_EQ(node->getField_("FlagLink"), "\"true\"");
    EXPECT_NE(holder->byName_("loop"), nullptr) << "the link is a line, not a folder entered";

    EXPECT_EQ(run({"import-files", memo(), "--holder", "nowhere", "/x"}).status, 1);
    EXPECT_EQ(run({"import-files", memo(), "--expand", "--dirs", "/x"}).status, 1);
}

TEST_F(FilesVerbs, SaveEachPrintsTheLogAndWritesOverNothingUnlessAsked) {
    const std::string out = folder.path("out");
    Outcome saved = run({"save-each", memo(), "work", out});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "Save a : " + out + "/a.txt\nSave b : " + out +
                             "/b.txt\n"
                             "Done: count of the Files saved=2\n");
    saved = run({"save-each", memo(), "work", out});
    EXPECT_THAT(saved.out, HasSubstr("Should Not Save name=\"a\""));
    EXPECT_THAT(saved.out, HasSubstr("Done: count of the Files saved=0"));
    saved = run({"save-each", memo(), "work", out, "--overwrite"});
    EXPECT_THAT(saved.out, HasSubstr("*Write Over Filename=\"" + out + "/a.txt\""));

    // Without a folder, "sub/a.txt" lies beside the holder file.
    saved = run({"save-each", memo(), "work", "--change-filename"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_TRUE(std::filesystem::exists(folder.osPath("sub/a.txt")));
    MemoFile file;
    MemoHolder* holder = reread(file, "work");
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->byName_("a")->getField_("Filename"), "\"" + folder.path("sub/a.txt") + "\"");
}

TEST_F(FilesVerbs, DesktopRegistersTheProgramForThisUser) {
    const char* names[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"};
    std::string saved[3];
    for (int i = 0; i < 3; ++i)
        if (const char* value = std::getenv(names[i])) saved[i] = value;
    ::setenv("HOME", folder.path().c_str(), 1);
    ::setenv("XDG_DATA_HOME", folder.path("data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", folder.path("config").c_str(), 1);
    Outcome done = run({"desktop", "associate", "--program", "/opt/zel/bin/zel"});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.out, "Done: Associate FileName Extentions. \".mxa\", \".maz\"\n");
    EXPECT_TRUE(std::filesystem::exists(folder.osPath("data/applications/zel.desktop")));
    done = run({"desktop", "unassociate"});
    EXPECT_EQ(done.out, "Done: Unassociate FileName Extentions. \".mxa\", \".maz\"\n");
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("data/applications/zel.desktop")));
    done = run({"desktop", "shortcut", "--program", "/opt/zel/bin/zel"});
    EXPECT_EQ(done.status, 1);
    EXPECT_THAT(done.err, HasSubstr("Failure: Make ShortCutLink, "));
    for (int i = 0; i < 3; ++i) {
        if (saved[i].empty())
            ::unsetenv(names[i]);
        else
            ::setenv(names[i], saved[i].c_str(), 1);
    }
}

}  // namespace
}  // namespace zel
