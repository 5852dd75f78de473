// The memo file: its holder list, the index it writes and reads, its paths.

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Environment.h"
#include "support/HolderTestSupport.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::MatchesRegex;

std::vector<std::string> holderNames(const MemoFile& file) {
    std::vector<std::string> names;
    for (int i = 0; i < file.countOfHolders_(); ++i) names.push_back(file.holderAt_(i)->getName_());
    return names;
}

// The diary of the index example: fields Filename and CurrentHolder, the holders
// work (plain) and old (compressed, read-only).
void makeDiary(MemoFile& file) {
    file.putName_as_("diary");
    file.putField_("Filename", "\"C:\\memo\\diary.mxa\"");
    file.putField_("CurrentHolder", "\"work\"");
    file.createHolder_(-1)->putName_as_("work");
    MemoHolder* old = file.createHolder_(-1);
    old->putName_as_("old");
    old->setReadOnly_(true);
    old->putField_("FileExt", "\".mhz\"");
}

std::vector<std::string> indexLines(MemoFile& file) {
    std::vector<std::string> lines;
    file.writeMemoFile_(lines);
    return lines;
}

void readIndex(MemoFile& file, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    std::vector<std::string> errors;
    file.clear_();
    ASSERT_EQ(readIndexText_(file, text, errors), 0);
    EXPECT_TRUE(errors.empty());
}

TEST(MemoIndex, TheDiaryExampleIsWrittenLineForLine) {
    MemoFile file;
    makeDiary(file);
    std::vector<std::string> lines = indexLines(file);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>");
    EXPECT_THAT(lines[1], MatchesRegex("<!-- [0-9]{8} [0-9]{6} -->"));
    EXPECT_EQ(lines[2], "<!DOCTYPE File [<!ENTITY quot \"&#34;\">]>");
    EXPECT_THAT(
        std::vector<std::string>(lines.begin() + 3, lines.end()),
        ElementsAre("<File name=\"diary\">",
                    "  <Field Filename=\"C:\\memo\\diary.mxa\" CurrentHolder=\"work\" />",
                    "  <Holder name=\"work\">", "    <Field FlagLoaded=\"false\" />", "  </Holder>",
                    "  <Holder name=\"old\">", "    <Field FlagLoaded=\"false\" />",
                    "    <Field FlagReadOnly=\"true\"/>", "    <Field FileExt=\".mhz\"/>",
                    "  </Holder>", "</File>"));
}

TEST(MemoIndex, ReadsBackHoldersNotLoadedWithTheirCurrentHolder) {
    MemoFile written;
    makeDiary(written);
    written.putField_("CurrentHolder", "\"old\"");
    written.memo = {"first", "", "<third> & more"};
    written.holderAt_(0)->loaded = true;
    MemoFile read;
    readIndex(read, indexLines(written));
    EXPECT_THAT(holderNames(read), ElementsAre("work", "old"));
    EXPECT_FALSE(read.holderAt_(0)->loaded);
    EXPECT_EQ(read.currentHolder, read.holderAt_(1));
    EXPECT_TRUE(read.holderAt_(1)->isReadOnly_());
    EXPECT_EQ(read.holderAt_(1)->getFileExt_(), "\".mhz\"");
    EXPECT_EQ(read.memo, written.memo);
    EXPECT_FALSE(read.changed);
}

TEST(MemoIndex, CurrentHolderIsFoundLooselyAndDefaultsToTheFirst) {
    MemoFile file;
    makeDiary(file);
    file.putField_("CurrentHolder", "\" Work \"");
    readIndex(file, indexLines(file));
    EXPECT_EQ(file.currentHolder, file.holderAt_(0));
    file.removeField_("CurrentHolder");
    file.putField_("Filename", "\"/m/diary.mxa\"");
    readIndex(file, indexLines(file));
    EXPECT_EQ(file.currentHolder, file.holderAt_(0));
    file.putField_("CurrentHolder", "\"gone\"");
    readIndex(file, indexLines(file));
    EXPECT_EQ(file.currentHolder, nullptr);
}

TEST(MemoIndex, NamesWithMarkupCharactersSurvive) {
    MemoFile file;
    file.putName_as_("a \"b\" <c>");
    file.createHolder_(-1)->putName_as_("R&D \"x\" <1>");
    MemoHolder* upper = file.createHolder_(-1);
    upper->putField_("FileExt", "\".MXH\"");
    std::vector<std::string> lines = indexLines(file);
    EXPECT_EQ(lines[3], "<File name=\"a &quot;b&quot; &lt;c&gt;\">");
    EXPECT_THAT(lines, ::testing::Contains("    <Field FileExt=\".MXH\"/>"));
    readIndex(file, lines);
    EXPECT_THAT(holderNames(file), ElementsAre("R&D \"x\" <1>", "new"));
}

TEST(MemoIndex, IndexOfAnotherToolWithDuplicatesAndUnknownElements) {
    MemoFile file;
    std::vector<std::string> errors;
    std::string error;
    ASSERT_EQ(openIndex_(file, test::fixture("foreign/notes.mxa"), errors, &error), 0) << error;
    EXPECT_TRUE(errors.empty());
    std::vector<std::string> names = holderNames(file);
    ASSERT_EQ(names.size(), 5u);
    EXPECT_THAT(std::vector<std::string>(names.begin(), names.begin() + 4),
                ElementsAre("memo", "memo_00", "tasks", "archive"));
    EXPECT_THAT(names[4], MatchesRegex("[0-9]{8} [0-9]{6} "));
    EXPECT_EQ(file.currentHolder, file.holderAt_(2));
    EXPECT_THAT(file.memo, ElementsAre("first line", "second line"));
    EXPECT_EQ(file.getField_("Owner"), "\"someone\"");
    EXPECT_EQ(file.getName_(), "notes");
    EXPECT_EQ(file.getMemoFilePath_(), test::fixture("foreign/notes.mxa"));
}

TEST(MemoFilePaths, NamesAndFoldersComeFromFilename) {
    MemoFile file;
    EXPECT_EQ(file.getMemoFilePath_(), "noname.mxa");
    EXPECT_EQ(file.getMemoFileDir_(), "");
    EXPECT_EQ(file.setFilename("a.mxa"), 0);
    EXPECT_EQ(file.getField_("Filename"), "\"" + currentDirectory() + "a.mxa\"");
    EXPECT_EQ(file.getName_(), "a");
    EXPECT_EQ(file.getMemoFileDir_(), currentDirectory());
    file.setFilename("/memo/sub/b.c.maz");
    EXPECT_EQ(file.getMemoFilePath_(), "/memo/sub/b.c.maz");
    EXPECT_EQ(file.getMemoFileDir_(), "/memo/sub/");
    EXPECT_EQ(file.getName_(), "b.c");
}

TEST(HolderList, CreateMoveAndRemove) {
    MemoFile file;
    for (int i = 0; i < 3; ++i) file.createHolder_(-1);
    EXPECT_THAT(holderNames(file), ElementsAre("new", "new_00", "new_01"));
    file.createHolder_(0)->putName_as_("front");
    EXPECT_THAT(holderNames(file), ElementsAre("front", "new", "new_00", "new_01"));

    file.moveHolderLeft_(0);
    file.moveHolderRight_(3);
    file.moveHolder_(0, 4);
    EXPECT_THAT(holderNames(file), ElementsAre("front", "new", "new_00", "new_01"));
    file.moveHolderLast_(0);
    file.moveHolderFirst_(2);
    file.moveHolder_(3, 1);
    EXPECT_THAT(holderNames(file), ElementsAre("new_01", "front", "new", "new_00"));

    file.currentHolder = file.holderAt_(0);
    MemoHolder* last = file.holderAt_(3);
    int index = -2;
    std::unique_ptr<MemoHolder> taken = file.removeHolder_(last, &index);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(taken.get(), last);  // out of the list, not destroyed
    EXPECT_EQ(file.currentHolder, nullptr);
    EXPECT_EQ(file.holderByName_("FRONT"), file.holderAt_(1));
}

TEST(MemoFileSave, UnknownExtensionWritesNothing) {
    test::TempFolder folder;
    MemoFile file;
    makeDiary(file);
    EXPECT_EQ(file.saveMemoFile_(folder.path("x.txt")), -1);
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("x.txt")));
    const long long size = file.saveMemoFile_(folder.path("x.MXA"));
    EXPECT_EQ(size, static_cast<long long>(std::filesystem::file_size(folder.osPath("x.MXA"))));
}

}  // namespace
}  // namespace zel
