// Several files of a memo file saved as one step, and never over a file
// another program wrote since it was read.

#include "model/MemoFileSave.h"

#include <gtest/gtest.h>

#include <fstream>

#include "model/Container.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "support/HolderTestSupport.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

std::string contentOf(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(readFile(path, bytes)) << path;
    return bytes;
}

// An index with two holders ("work" plain, "old" compressed), saved and
// read back, so every file is known as read.
class SavedMemoFile : public ::testing::Test {
  protected:
    void SetUp() override {
        MemoFile made;
        made.setFilename(index());
        for (const char* name : {"work", "old"}) {
            MemoHolder* holder = made.createHolder_(-1);
            holder->putName_as_(name);
            holder->loaded = true;
            test::addTextNode(*holder, "first", {std::string("text of ") + name});
        }
        made.holderAt_(1)->putField_("FileExt", "\".mhz\"");
        MemoFileSaveRequest all;
        for (int i = 0; i < 2; ++i)
            all.holders.emplace_back(made.holderAt_(i), holderFilePath_(*made.holderAt_(i)));
        all.indexPath = index();
        ASSERT_TRUE(saveMemoFileSet_(made, all).ok);
        std::vector<std::string> errors;
        ASSERT_EQ(openIndex_(file, index(), errors, nullptr), 0);
        for (int i = 0; i < 2; ++i) {
            MemoHolder& holder = *file.holderAt_(i);
            ASSERT_EQ(readHolderFile_(holder, holderFilePath_(holder)), 0);
            holder.loaded = true;
        }
    }
    std::string index() const { return dir.path("memo.mxa"); }
    MemoHolder& work() { return *file.holderAt_(0); }
    MemoHolder& old() { return *file.holderAt_(1); }
    MemoFileSaveRequest everything() {
        MemoFileSaveRequest request;
        for (MemoHolder* holder : {&work(), &old()})
            request.holders.emplace_back(holder, holderFilePath_(*holder));
        request.indexPath = index();
        return request;
    }

    test::TempFolder dir;
    MemoFile file;
};

TEST_F(SavedMemoFile, WritesEveryFileAndKnowsThemAsWritten) {
    test::addTextNode(work(), "second", {"new"});
    work().changed = old().changed = file.changed = true;
    const std::int32_t count = work().countSave;
    const MemoFileSaveResult saved = saveMemoFileSet_(file, everything());
    ASSERT_TRUE(saved.ok) << saved.error;
    ASSERT_EQ(saved.written.size(), 3u);
    EXPECT_EQ(saved.written.back().first, index()) << "the index goes in last";
    EXPECT_FALSE(work().changed || old().changed || file.changed);
    EXPECT_EQ(work().countSave, count + 1);

    MemoHolder reread;
    ASSERT_EQ(readHolderFile_(reread, holderFilePath_(work())), 0);
    EXPECT_EQ(test::describeNodes(reread), test::describeNodes(work()));
    // Saved again at once: the files are the ones it wrote, so no conflict.
    work().changed = true;
    EXPECT_TRUE(saveMemoFileSet_(file, everything()).ok);
}

TEST_F(SavedMemoFile, AnotherProgramsChangeToOneFileWritesNoneAndLeavesTheModelAsItWas) {
    test::addTextNode(work(), "mine", {"my edit"});
    work().changed = old().changed = file.changed = true;
    const std::string oldPath = holderFilePath_(old());
    // Another program rewrites the compressed holder: same name, other bytes.
    std::string theirs;
    {
        MemoHolder other;
        ASSERT_EQ(readHolderFile_(other, oldPath), 0);
        test::addTextNode(other, "theirs", {"their edit"});
        ASSERT_GE(writeHolderText_(other, oldPath), 0);
        theirs = contentOf(oldPath);
    }
    const std::string workBefore = contentOf(holderFilePath_(work()));
    const std::string indexBefore = contentOf(index());
    const std::int32_t count = work().countSave;
    const auto facts = test::describeNodes(work());

    const MemoFileSaveResult saved = saveMemoFileSet_(file, everything());
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(saved.conflict);
    EXPECT_EQ(saved.error, "Could not save " + oldPath + ": changed on disk since it was read");
    EXPECT_TRUE(saved.written.empty());
    EXPECT_EQ(contentOf(oldPath), theirs);
    EXPECT_EQ(contentOf(holderFilePath_(work())), workBefore);
    EXPECT_EQ(contentOf(index()), indexBefore);
    EXPECT_TRUE(work().changed && old().changed && file.changed);
    EXPECT_EQ(work().countSave, count) << "the save was not counted";
    EXPECT_EQ(test::describeNodes(work()), facts);

    // A single holder's save refuses the same way.
    std::string error;
    EXPECT_LT(saveHolderFile_(old(), oldPath, &error), 0);
    EXPECT_NE(error.find("changed on disk since it was read"), std::string::npos);
    EXPECT_EQ(contentOf(oldPath), theirs);
}

TEST_F(SavedMemoFile, TheContainerItWasOpenedFromIsWrittenTooWithHoldersNotLoaded) {
    const std::string container = dir.path("memo.maz");
    file.containerPath = container;
    // "old" was never shown: the container still carries its file's nodes.
    MemoFile reopened;
    std::vector<std::string> errors;
    ASSERT_EQ(openIndex_(reopened, index(), errors, nullptr), 0);
    reopened.containerPath = container;
    MemoHolder& work = *reopened.holderAt_(0);
    ASSERT_EQ(readHolderFile_(work, holderFilePath_(work)), 0);
    work.loaded = true;
    test::addTextNode(work, "edited", {"kept"});
    work.changed = true;
    MemoFileSaveRequest request;
    request.holders.emplace_back(&work, holderFilePath_(work));
    request.container = true;
    const MemoFileSaveResult saved = saveMemoFileSet_(reopened, request);
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(saved.written.size(), 2u);

    MemoFile fromContainer;
    ASSERT_EQ(loadContainer_(fromContainer, container, nullptr), 0);
    ASSERT_EQ(fromContainer.countOfHolders_(), 2);
    EXPECT_NE(fromContainer.holderAt_(0)->byName_("edited"), nullptr);
    MemoHolder* old = fromContainer.holderAt_(1);
    ASSERT_TRUE(old->loaded);
    ASSERT_NE(old->byName_("first"), nullptr);
    EXPECT_EQ(old->byName_("first")->memo, (std::vector<std::string>{"text of old"}));
}

}  // namespace
}  // namespace zel
