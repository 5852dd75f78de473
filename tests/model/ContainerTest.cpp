// Memo file containers: the message written, reading it back in memory, and
// unpacking it beside itself.

#include <algorithm>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/Container.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/RecordText.h"
#include "platform/Compression.h"
#include "support/HolderTestSupport.h"
#include "support/TempFolder.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using test::addTextNode;
using test::describeNodes;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;

// Remembers the holders announced as not loaded instead of telling the log.
class QuietMemoFile : public MemoFile {
  public:
    void announceNotLoaded_(const std::string& holderPath) override {
        announced.push_back(holderPath);
    }
    std::vector<std::string> announced;
};

void fillDiary(MemoFile& file, const std::string& path) {
    file.setFilename(path);
    MemoHolder* work = file.createHolder_(-1);
    work->putName_as_("work");
    addTextNode(*work, "plan", {"meeting <10>", ""})->setMarked_(true);
    addTextNode(*work, utf8ToSjis("買い物"), {utf8ToSjis("牛乳")});
    work->setCurrent_(work->at_(1));
    MemoHolder* old = file.createHolder_(-1);
    old->putName_as_("old");
    old->putField_("FileExt", "\".mhz\"");
    addTextNode(*old, "2005", {"last year"});
    work->loaded = old->loaded = true;
    file.currentHolder = old;
    file.putField_("CurrentHolder", "\"old\"");
}

std::vector<std::string> messageLines(const std::string& path) {
    std::string message;
    EXPECT_TRUE(readCompressedFile(path, message));
    return textLines(message);
}

TEST(ContainerWriter, BoundaryAndAMemoFileWithoutHolders) {
    test::TempFolder folder;
    QuietMemoFile file;
    file.setFilename(folder.path("empty.mxa"));
    const long long size = file.writeContainer_(folder.path("empty.maz"));
    ASSERT_GT(size, 0);
    std::vector<std::string> lines = messageLines(folder.path("empty.maz"));
    ASSERT_GT(lines.size(), 12u);
    EXPECT_THAT(lines[2], MatchesRegex("  boundary=\"[0-9]{21}\""));
    const std::string boundary = lines[2].substr(12, 21);
    EXPECT_EQ(boundary.substr(14, 2), boundary.substr(4, 2));  // the month once more
    EXPECT_EQ(lines[5], "--" + boundary);
    EXPECT_EQ(lines[9], "  filename=\"" + folder.path("empty.mxa") + "\"");
    EXPECT_EQ(lines.back(), "--" + boundary);  // no closing delimiter
}

TEST(ContainerWriter, NotLoadedHoldersAreAnnouncedAndWrittenAsTheyStand) {
    test::TempFolder folder;
    QuietMemoFile file;
    fillDiary(file, folder.path("d.mxa"));
    file.holderAt_(1)->loaded = false;
    ASSERT_GT(file.saveMemoFile_(folder.path("d.maz")), 0);
    EXPECT_THAT(file.announced, ElementsAre(folder.path("old.mhz")));
    std::vector<std::string> lines = messageLines(folder.path("d.maz"));
    EXPECT_THAT(lines, ::testing::Contains("  filename=\"" + folder.path("old.mhz") + "\""));
    EXPECT_THAT(lines.back(), MatchesRegex("--[0-9]{21}--"));
}

TEST(ContainerReader, LoadsEveryHolderBackInMemory) {
    test::TempFolder folder;
    QuietMemoFile written;
    fillDiary(written, folder.path("d.mxa"));
    ASSERT_GT(written.writeContainer_(folder.path("d.maz")), 0);

    MemoFile read;
    std::string error;
    ASSERT_EQ(loadContainer_(read, folder.path("d.maz"), &error), 0) << error;
    ASSERT_EQ(read.countOfHolders_(), 2);
    EXPECT_EQ(read.currentHolder, read.holderAt_(1));
    EXPECT_EQ(read.getMemoFilePath_(), folder.path("d.mxa"));
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(read.holderAt_(i)->loaded);
        EXPECT_EQ(read.holderAt_(i)->getName_(), written.holderAt_(i)->getName_());
        EXPECT_EQ(describeNodes(*read.holderAt_(i)), describeNodes(*written.holderAt_(i)));
    }
    EXPECT_EQ(read.holderAt_(0)->indexOf_(read.holderAt_(0)->getCurrent_()), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("d.mxa")));  // nothing unpacked
}

TEST(ContainerReader, UnpackedPartsOpenAsAnIndexWithItsHolders) {
    test::TempFolder folder;
    QuietMemoFile written;
    fillDiary(written, folder.path("src/d.mxa"));
    std::filesystem::create_directory(folder.osPath("out"));
    ASSERT_GT(written.writeContainer_(folder.path("out/d.maz")), 0);

    std::string indexPath, error;
    EXPECT_EQ(unpackContainer_(folder.path("out/d.maz"), nullptr, &indexPath, &error), 3) << error;
    EXPECT_EQ(indexPath, folder.path("out/d.mxa"));
    MemoFile read;
    std::vector<std::string> errors;
    ASSERT_EQ(openIndex_(read, indexPath, errors, &error), 0) << error;
    for (int i = 0; i < 2; ++i) {
        MemoHolder& holder = *read.holderAt_(i);
        // old.mhz holds the plain text the container carried.
        ASSERT_EQ(readHolderFile_(holder, holderFilePath_(holder)), 0);
        EXPECT_EQ(describeNodes(holder), describeNodes(*written.holderAt_(i)));
    }

    std::vector<std::string> asked;
    auto refuse = [&asked](const std::string& target) {
        asked.push_back(target);
        return false;
    };
    EXPECT_EQ(unpackContainer_(folder.path("out/d.maz"), refuse, &indexPath, &error), 0);
    EXPECT_EQ(asked.size(), 3u);
}

TEST(ContainerReader, PartNamesCannotLeaveTheContainersFolder) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder.osPath("a/b"));
    std::filesystem::copy_file(test::fixture("container/evil.maz"), folder.osPath("a/b/evil.maz"));
    std::string indexPath, error;
    EXPECT_EQ(unpackContainer_(folder.path("a/b/evil.maz"), nullptr, &indexPath, &error), 3)
        << error;
    std::vector<std::string> unpacked;
    for (const auto& entry : std::filesystem::directory_iterator(folder.osPath("a/b")))
        unpacked.push_back(entry.path().filename().string());
    std::sort(unpacked.begin(), unpacked.end());
    EXPECT_THAT(unpacked, ElementsAre("evil.maz", "evil.mxa", "x.mxh", "y.mxh"));
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("a/x.mxh")));
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("evil.mxa")));
    EXPECT_EQ(indexPath, folder.path("a/b/evil.mxa"));
}

TEST(ContainerReader, SomethingElseIsRefusedWithAReason) {
    test::TempFolder folder;
    ASSERT_TRUE(writeCompressedFile(folder.path("plain.maz"), "just text\r\n"));
    std::vector<ContainerPart> parts;
    std::string error;
    EXPECT_EQ(readContainer_(folder.path("plain.maz"), parts, &error), -1);
    EXPECT_THAT(error, ::testing::HasSubstr("no MIME parts"));
    EXPECT_EQ(readContainer_(folder.path("missing.maz"), parts, &error), -1);
    EXPECT_FALSE(error.empty());
}

// The taker's refusal of the last part, which closes only when the message
// ends, counts like any other; before, such a file opened as an empty memo
// file with no name of its own.
TEST(ContainerReader, AFirstPartThatIsNoIndexIsRefusedWhereverTheMessageEnds) {
    test::TempFolder folder;
    const std::string message =
        "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
        "--b\r\nContent-Type: text/xml\r\n\r\n<File name=\"x\"></File>\r\n--b";
    for (const std::string& ending : {std::string(), std::string("\r\n"), std::string("--\r\n")}) {
        ASSERT_TRUE(writeCompressedFile(folder.path("nameless.maz"), message + ending));
        QuietMemoFile file;
        std::string error;
        EXPECT_EQ(loadContainer_(file, folder.path("nameless.maz"), &error), -1) << ending;
        EXPECT_THAT(error, ::testing::HasSubstr("not an index")) << ending;
    }
}

}  // namespace
}  // namespace zel
