// git merging memo files through zel-tool's merge driver, in a repository of
// a fresh folder: two branches edit one holder, `git merge` runs the driver,
// and the merged holder is checked node by node and by `zel-tool check`.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "MergeTestSupport.h"
#include "platform/Compression.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace zel::test {
namespace {

using Names = std::vector<std::string>;
using Lines = std::vector<std::string>;

// Runs a shell command in `folder`; its exit status (output kept in git.log).
int shell(const TempFolder& folder, const std::string& command) {
    const std::string line = "cd '" + folder.osPath("repo").string() + "' && " + command + " >>'" +
                             folder.osPath("git.log").string() + "' 2>&1";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(sjisToUtf8(path), std::ios::binary) << bytes;
}

// The holder file at `path` as the model reads it.
std::unique_ptr<HolderCopy> readHolder(const std::string& path) {
    std::string bytes, error;
    EXPECT_TRUE(readFile(path, bytes));
    auto copy = std::make_unique<HolderCopy>();
    EXPECT_TRUE(readHolderCopy(bytes, path, *copy, error)) << error;
    return copy;
}

// Rewrites the holder file at `path` after `edit`, in the form it had.
void editHolder(const std::string& path, const std::function<void(MemoHolder&)>& edit) {
    auto copy = readHolder(path);
    edit(*copy->holder);
    std::string bytes = holderFileText_(*copy->holder);
    if (copy->compressed) {
        std::string packed;
        ASSERT_TRUE(deflateBytes(bytes, packed));
        bytes = packed;
    }
    writeBytes(path, bytes);
}

class GitDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // No configuration of the machine or the user reaches the repository.
        setenv("GIT_CONFIG_NOSYSTEM", "1", 1);
        setenv("GIT_CONFIG_GLOBAL", "/dev/null", 1);
        for (const char* key : {"GIT_AUTHOR_NAME", "GIT_COMMITTER_NAME"}) setenv(key, "zel", 1);
        for (const char* key : {"GIT_AUTHOR_EMAIL", "GIT_COMMITTER_EMAIL"})
            setenv(key, "zel@localhost", 1);
        ASSERT_TRUE(makeDirs(repo("")));
        ASSERT_EQ(git("init -q -b main"), 0);
        ASSERT_EQ(
            git(std::string("config merge.zel.driver '") + ZEL_TOOL_PATH + " merge %O %A %B'"), 0);
        writeBytes(repo(".gitattributes"), "*.mxh merge=zel\n*.mhz merge=zel\n*.mxa merge=zel\n");
    }

    std::string repo(std::string_view name) const {
        return folder.path("repo/") + std::string(name);
    }
    int git(const std::string& arguments) { return shell(folder, "git " + arguments); }
    int tool(const std::string& arguments) {
        return shell(folder, std::string(ZEL_TOOL_PATH) + " " + arguments);
    }

    // notes.mxh holding a, b and c, committed on main, with the branch feature.
    void commitBase(std::string_view file = "notes.mxh") {
        HolderCopy base;
        base.holder = base.file.createHolder_(-1);
        base.holder->putName_as_("notes");
        addNode(*base.holder, "a", "U1", {"a1", "a2"});
        addNode(*base.holder, "b", "U2", {"b1", "b2"});
        addNode(*base.holder, "c", "U3", {"c1", "c2"});
        std::string bytes = holderFileText_(*base.holder);
        if (extensionOf(file) == ".mhz") {
            std::string packed;
            ASSERT_TRUE(deflateBytes(bytes, packed));
            bytes = packed;
        }
        writeBytes(repo(file), bytes);
        ASSERT_EQ(git("add -A && git commit -q -m base && git branch feature"), 0);
    }

    // `edit` done and committed on `branch`.
    void onBranch(const std::string& branch, const std::function<void()>& edit) {
        ASSERT_EQ(git("checkout -q " + branch), 0);
        edit();
        ASSERT_EQ(git("add -A && git commit -q -m " + branch), 0);
    }

    void editNotes(const std::string& branch, const std::function<void(MemoHolder&)>& edit) {
        onBranch(branch, [&] { editHolder(repo("notes.mxh"), edit); });
    }

    // main merges feature: git's exit status.
    int mergeFeature() {
        EXPECT_EQ(git("checkout -q main"), 0);
        return git("merge -q --no-edit feature");
    }

    std::unique_ptr<HolderCopy> merged(std::string_view file = "notes.mxh") {
        EXPECT_EQ(tool("check " + std::string(file)), 0) << "zel-tool check refused it";
        return readHolder(repo(file));
    }

    TempFolder folder;
};

TEST_F(GitDriverTest, BranchesChangingDifferentNodesMergeCleanly) {
    commitBase();
    editNotes("feature", [](MemoHolder& h) { h.byName_("a")->memo.push_back("a3 feature"); });
    editNotes("main", [](MemoHolder& h) { h.byName_("c")->memo.setLine(0, "c1 main"); });
    EXPECT_EQ(mergeFeature(), 0);
    auto result = merged();
    EXPECT_EQ(nodeNames(*result->holder), (Names{"a", "b", "c"}));
    EXPECT_EQ(memoOf(*result->holder->byName_("a")), (Lines{"a1", "a2", "a3 feature"}));
    EXPECT_EQ(memoOf(*result->holder->byName_("c")), (Lines{"c1 main", "c2"}));
}

TEST_F(GitDriverTest, TheSameNodeChangedInDifferentFieldsMergesCleanly) {
    commitBase();
    editNotes("feature", [](MemoHolder& h) { h.byName_("b")->putField_("Color", "\"clRed\""); });
    editNotes("main", [](MemoHolder& h) { h.byName_("b")->setMarked_(true); });
    EXPECT_EQ(mergeFeature(), 0);
    auto result = merged();
    const MemoNode& b = *result->holder->byName_("b");
    EXPECT_EQ(b.getField_("Color"), "\"clRed\"");
    EXPECT_TRUE(b.isMarked_());
}

TEST_F(GitDriverTest, TheSameFieldChangedDifferentlyKeepsTheirNodeBesideOurs) {
    commitBase();
    editNotes("feature", [](MemoHolder& h) { h.byName_("b")->putField_("Color", "\"clBlue\""); });
    editNotes("main", [](MemoHolder& h) { h.byName_("b")->putField_("Color", "\"clRed\""); });
    EXPECT_EQ(mergeFeature(), 1) << "git reports the conflict the driver kept";
    auto result = merged();
    const MemoHolder& h = *result->holder;
    ASSERT_EQ(h.count_(), 4);
    EXPECT_EQ(h.at_(1)->getName_(), "b");
    EXPECT_EQ(h.at_(1)->getField_("Color"), "\"clRed\"");
    EXPECT_TRUE(h.at_(2)->getName_().starts_with("b (conflict ")) << h.at_(2)->getName_();
    EXPECT_EQ(h.at_(2)->getField_("Color"), "\"clBlue\"");
    EXPECT_EQ(h.at_(2)->getField_("ConflictFrom"), "\"feature\"");
}

TEST_F(GitDriverTest, ADeletedNodeTheOtherBranchChangedIsKept) {
    commitBase();
    editNotes("feature", [](MemoHolder& h) { h.removeNode_(h.byName_("b")); });
    editNotes("main", [](MemoHolder& h) { h.byName_("b")->memo.push_back("b3 main"); });
    EXPECT_EQ(mergeFeature(), 1);
    auto result = merged();
    EXPECT_EQ(nodeNames(*result->holder), (Names{"a", "b", "c"}));
    EXPECT_EQ(memoOf(*result->holder->byName_("b")), (Lines{"b1", "b2", "b3 main"}));
}

TEST_F(GitDriverTest, AddedNodesAndTheirReorderMergeCleanly) {
    commitBase();
    editNotes("feature", [](MemoHolder& h) {
        addNode(h, "d", "U4", {"d1"});
        h.nodes->moveChildTo_(2, 0);  // c first
    });
    editNotes("main", [](MemoHolder& h) {
        auto node = h.newNode_();
        node->putField_("UID", "\"U5\"");
        h.insertNode_(std::move(node), "e", 1);
    });
    EXPECT_EQ(mergeFeature(), 0);
    EXPECT_EQ(nodeNames(*merged()->holder), (Names{"c", "a", "e", "b", "d"}));
}

TEST_F(GitDriverTest, AMemoFileIndexAndItsCompressedHolderMergeCleanly) {
    commitBase("work.mhz");
    MemoFile index;
    index.setFilename(repo("diary.mxa"));
    MemoHolder* work = index.createHolder_(-1);
    work->putName_as_("work");
    work->putField_("FileExt", "\".mhz\"");
    writeBytes(repo("diary.mxa"), index.indexText_());
    ASSERT_EQ(git("add -A && git commit -q -m index && git branch -f feature"), 0);
    auto addHolder = [this](const std::string& name) {
        MemoFile file;
        std::vector<std::string> errors;
        std::string error;
        ASSERT_EQ(openIndex_(file, repo("diary.mxa"), errors, &error), 0) << error;
        file.createHolder_(-1)->putName_as_(name);
        writeBytes(repo("diary.mxa"), file.indexText_());
    };
    onBranch("feature", [&] {
        addHolder("ideas");
        editHolder(repo("work.mhz"), [](MemoHolder& h) { h.byName_("a")->memo.push_back("a3"); });
    });
    onBranch("main", [&] {
        addHolder("mail");
        editHolder(repo("work.mhz"), [](MemoHolder& h) { h.byName_("c")->memo.push_back("c3"); });
    });
    EXPECT_EQ(mergeFeature(), 0);
    EXPECT_EQ(tool("check diary.mxa"), 1) << "its new holders have no files yet";
    MemoFile result;
    std::vector<std::string> errors;
    std::string error;
    ASSERT_EQ(openIndex_(result, repo("diary.mxa"), errors, &error), 0) << error;
    std::vector<std::string> names;
    for (int i = 0; i < result.countOfHolders_(); ++i)
        names.push_back(result.holderAt_(i)->getName_());
    EXPECT_EQ(names, (Names{"work", "mail", "ideas"}));
    auto holder = merged("work.mhz");
    EXPECT_TRUE(holder->compressed);
    EXPECT_EQ(memoOf(*holder->holder->byName_("a")), (Lines{"a1", "a2", "a3"}));
    EXPECT_EQ(memoOf(*holder->holder->byName_("c")), (Lines{"c1", "c2", "c3"}));
}

}  // namespace
}  // namespace zel::test
