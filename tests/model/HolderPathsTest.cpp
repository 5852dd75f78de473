// Where holder files go when the names come from a hostile index: always a
// plain name in the memo file's folder, and never one file for two holders.

#include <set>

#include <gtest/gtest.h>

#include "model/HolderFileNames.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "support/HolderTestSupport.h"
#include "support/TempFolder.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {
namespace {

// An index of one holder element per entry: the name attribute and the
// field lines inside it, as a hostile file may give them.
std::string indexWith(const std::vector<std::pair<std::string, std::string>>& holders) {
    std::string text = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"x\">\r\n";
    for (const auto& [name, fields] : holders)
        text += "  <Holder name=\"" + name + "\">\r\n" + fields + "\r\n  </Holder>\r\n";
    return text + "</File>\r\n";
}

void openIndexText(MemoFile& file, const test::TempFolder& dir, const std::string& text) {
    ASSERT_TRUE(writeFileSafely(dir.path("memo.mxa"), text));
    std::vector<std::string> errors;
    std::string error;
    ASSERT_EQ(openIndex_(file, dir.path("memo.mxa"), errors, &error), 0) << error;
}

TEST(HolderPaths, EveryNameBearingFieldOfAnIndexStaysInTheFolder) {
    test::TempFolder dir;
    MemoFile file;
    const std::string longName(1000, 'n');
    openIndexText(file, dir,
                  indexWith({
                      {".x", "<Field FileExt=\"/../../evil.mxh\"/>"},
                      {"..", ""},
                      {"a/../../b", "<Field FileExt=\"\\..\\..\\c.mhz\"/>"},
                      {"tab\tand&#10;line", ""},
                      {longName, ""},
                      {"extra", "<Field FlagExtra=\"true\" Filename=\"/etc/extra.mxh\"/>"},
                      {"recorded", "<Field HolderFileName=\"../../up/r.mxh\"/>"},
                      {"dots", "<Field FileExt=\"..\"/>"},
                  }));
    ASSERT_EQ(file.countOfHolders_(), 8);
    std::set<std::string> seen;
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        const std::string path = holderFilePath_(*file.holderAt_(i));
        EXPECT_EQ(std::string(folderOf(path)), dir.path() + "/") << path;
        const std::string name = path.substr(folderOf(path).size());
        EXPECT_FALSE(name.empty() || name == "." || name == "..") << path;
        EXPECT_LE(sjisToUtf8(name).size(), 255u) << path;
        EXPECT_TRUE(seen.insert(name).second) << "shared: " << path;
    }
    EXPECT_EQ(holderFilePath_(*file.holderAt_(5)), dir.path("extra.mxh"));
    EXPECT_EQ(holderFilePath_(*file.holderAt_(6)), dir.path("r.mxh"));

    // A Filename the program sets after reading is the user's choice.
    file.holderAt_(5)->putField_("Filename", "\"/chosen/by/user.mxh\"");
    EXPECT_EQ(holderFilePath_(*file.holderAt_(5)), "/chosen/by/user.mxh");
}

TEST(HolderPaths, NoHolderIsGivenTheIndexItself) {
    test::TempFolder dir;
    MemoFile file;
    openIndexText(file, dir,
                  indexWith({{"memo", "<Field FileExt=\".mxa\"/>"},
                             {"MEMO", "<Field FileExt=\"mxa\"/>"},
                             {"other", "<Field HolderFileName=\"memo.mxa\"/>"}}));
    ASSERT_EQ(file.countOfHolders_(), 3);
    std::set<std::string> seen;
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        const std::string name = lowerText(file.holderFileName_(*file.holderAt_(i)));
        EXPECT_NE(name, "memo.mxa");
        EXPECT_TRUE(seen.insert(name).second) << "shared: " << name;
    }
    // Saved under another name, the old index name is free again and the new one is not.
    file.setFilename(dir.path("memo_01.mxa"));
    for (int i = 0; i < file.countOfHolders_(); ++i)
        EXPECT_NE(lowerText(file.holderFileName_(*file.holderAt_(i))), "memo_01.mxa");
}

TEST(HolderPaths, AHolderFileThatNamesAnotherPlaceIsKeptInTheFolder) {
    test::TempFolder dir;
    MemoFile file;
    file.setFilename(dir.path("memo.mxa"));
    MemoHolder* holder = file.createHolder_(-1);
    holder->putName_as_("h");
    ASSERT_TRUE(writeFileSafely(dir.path("h.mxh"),
                                "<Holder name=\"h\">\r\n<Field FlagExtra=\"true\"/>\r\n"
                                "<Field FileName=\"/tmp/../home/victim.mxh\"/>\r\n</Holder>\r\n"));
    ASSERT_EQ(readHolderFile_(*holder, dir.path("h.mxh")), 0);
    EXPECT_EQ(holderFilePath_(*holder), dir.path("victim.mxh"));
    auto copy = holder->deepCopy();
    EXPECT_EQ(static_cast<MemoHolder&>(*copy).filenameFromContent, holder->filenameFromContent);
}

std::vector<std::string> fileNames(const MemoFile& file) {
    std::vector<std::string> names;
    for (int i = 0; i < file.countOfHolders_(); ++i)
        names.push_back(file.holderFileName_(*file.holderAt_(i)));
    return names;
}

TEST(HolderPaths, HoldersWhoseNamesMeetInOneFileGetFilesOfTheirOwn) {
    test::TempFolder dir;
    MemoFile file;
    file.setFilename(dir.path("memo.mxa"));
    for (const char* name : {"a/b", "a_b", "a:b", "a_b_01", "notes.old", "notes"}) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(name);
        holder->loaded = true;
    }
    EXPECT_EQ(fileNames(file),
              (std::vector<std::string>{"a_b.mxh", "a_b_02.mxh", "a_b_03.mxh", "a_b_01.mxh",
                                        "notes.mxh", "notes_01.mxh"}))
        << "a name another holder wants is never given as a variant";

    // Moving tabs changes no holder's file; the index records the variants,
    // so reading it back in the new order finds the same files.
    file.moveHolderFirst_(2);
    file.moveHolderLast_(1);
    const std::vector<std::string> moved = fileNames(file);
    std::vector<std::string> lines;
    file.writeMemoFile_(lines);
    int recorded = 0;
    for (const auto& line : lines) recorded += line.find("HolderFileName=") != std::string::npos;
    EXPECT_EQ(recorded, 3) << "only holders that did not get their own name";
    MemoFile back;
    openIndexText(back, dir, linesText(lines));
    EXPECT_EQ(fileNames(back), moved);

    // A holder that no longer meets another keeps the file it has while it
    // wants the same; a renamed one wants another and gets it.
    MemoHolder* first = file.holderAt_(0);
    const std::string kept = file.holderFileName_(*first);
    file.removeHolder_(file.holderByName_("a_b"));
    EXPECT_EQ(file.holderFileName_(*first), kept);
    first->putName_as_("fresh");
    EXPECT_EQ(file.holderFileName_(*first), "fresh.mxh");
}

// Found by fuzzing: whatever FileExt, HolderFileName and Filename say, the
// index written again leads every holder back to the same file.
TEST(HolderPaths, AnIndexWrittenAgainFindsTheSameFiles) {
    test::TempFolder dir;
    MemoFile file;
    openIndexText(file, dir,
                  indexWith({
                      {".x", "<Field FileExt=\"/..,../e.mxh&quot;/.&lt;/Hield\"/>"},
                      {"y", "<Field FileExt=\"mhz\"/>"},
                      {"y.old", "<Field FileExt=\"a.b.c\" HolderFileName=\"y.mhz\"/>"},
                      {"z", "<Field FlagExtra=\"true\" Filename=\"/x/q.mBRxh\"/>"},
                      {"q", "<Field FileExt=\"/\x81\x81Holder&gt;\"/>"},
                      // Without an extension a recorded name is a stem, dots and all.
                      {"e", "<Field FileExt=\"\" HolderFileName=\"../q.mx.x\"/>"},
                      {"f", "<Field FileExt=\"\" HolderFileName=\"q.mx.x\"/>"},
                  }));
    const std::vector<std::string> files = fileNames(file);
    EXPECT_EQ(files[1], "y.mhz");
    EXPECT_EQ(files[5], "q.mx.x");
    EXPECT_EQ(files[6], "q.mx_01.x");
    std::vector<std::string> lines;
    file.writeMemoFile_(lines);
    MemoFile back;
    openIndexText(back, dir, linesText(lines));
    EXPECT_EQ(fileNames(back), files);
}

TEST(HolderPaths, AHolderNameOfTenMegabytesGivesAShortFileName) {
    MemoFile file;
    file.setFilename("/memo/big.mxa");
    std::string name;
    while (name.size() < 10'000'000) name += "\x95\x5C/";  // 表 and a separator
    file.createHolder_(-1)->putName_as_(name);
    const std::string plain = file.holderFileName_(*file.holderAt_(0));
    EXPECT_LE(sjisToUtf8(plain).size(), 255u);
    // 表 stays whole (its second byte is no separator); "/" becomes "_".
    EXPECT_EQ(plain.substr(0, 6), "\x95\x5C_\x95\x5C_");
    EXPECT_EQ(plain.substr(plain.size() - 4), ".mxh");
}

TEST(HolderPaths, AHundredThousandHoldersOfOneFileNameAreNamedInLinearTime) {
    MemoFile file;
    file.setFilename("/memo/many.mxa");
    // Distinct holder names that all reduce to the file name x_.mxh.
    const char replaced[] = "/:*?<>|\\;,\"";
    std::vector<std::string> names;
    for (char a : std::string_view(replaced))
        for (char b : std::string_view(replaced))
            for (int n = 0; n < 1000 && names.size() < 100000; ++n)
                names.push_back(std::string("x") + a + b + std::to_string(n));
    for (const auto& name : names) file.createHolder_(-1)->putName_as_(name);
    std::set<std::string> seen;
    for (int i = 0; i < file.countOfHolders_(); ++i)
        seen.insert(lowerText(file.holderFileName_(*file.holderAt_(i))));
    EXPECT_EQ(seen.size(), names.size());
}

}  // namespace
}  // namespace zel
