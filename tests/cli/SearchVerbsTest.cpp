// zel-tool grep, scan and replace: the windows' lines, JSON, exit statuses,
// holders read from their own files, and what replace writes.

#include <filesystem>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "support/HolderTestSupport.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using Json = nlohmann::json;

class SearchVerbs : public test::VerbTest {
  protected:
    void SetUp() override {
        std::filesystem::copy(test::fixture("diary"), folder.osPath("diary"),
                              std::filesystem::copy_options::recursive);
    }
};

TEST_F(SearchVerbs, GrepListsTheWindowsLinesAndReadsACompressedHolderFromItsFile) {
    Outcome all = run({"grep", arg("diary/diary.mxa"), "メモ"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "old:2005:Memo:000001:      1: 去年のメモ\n");

    Outcome one = run({"grep", arg("diary/diary.mxa"), "メモ", "--holder", "work"});
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.out, "");

    Outcome json = run({"--json", "grep", arg("diary/diary.mxa"), "a", "-i", "--comment"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(Json::parse(json.out), (Json{{{"holder", "work"},
                                            {"node", "予定"},
                                            {"section", "comment"},
                                            {"hit", 1},
                                            {"line", 1},
                                            {"text", "部屋 A & B"}}}));
}

// A holder file of `records` records named r0, r1, ..., each memo line
// "memo " + a running number, the last "bad" + a stray lead byte.
std::string holderMarkup(int records) {
    std::string text = "<Holder name=\"h\">\r\n";
    for (int i = 0; i < records; ++i) {
        text += "<Record name=\"r" + std::to_string(i) + "\">\r\n";
        for (int line = 0; line < 3; ++line)
            text += "\x83\x81\x83\x82 memo " + std::to_string(i * 3 + line) + "<BR/>\r\n";
        text += "bad\x83<BR/>\r\n</Record>\r\n";
    }
    return text + "</Holder>\r\n";
}

TEST_F(SearchVerbs, ManyLinesConvertAsOneByOneAndUnreadHoldersGiveNone) {
    const int records = 12000;
    std::ofstream(folder.osPath("big.mxh"), std::ios::binary) << holderMarkup(records);
    Outcome grep = run({"grep", arg("big.mxh"), "me", "--memo"});
    ASSERT_EQ(grep.status, 0) << grep.err;
    std::string expected;
    for (int i = 0; i < records; ++i)
        for (int line = 0; line < 3; ++line)
            expected += "big:r" + std::to_string(i) + ":Memo:00000" + std::to_string(line + 1) +
                        ":      " + std::to_string(line + 1) + ": メモ memo " +
                        std::to_string(i * 3 + line) + "\n";
    EXPECT_GT(expected.size(), std::size_t{1} << 20);  // more than one block
    EXPECT_EQ(grep.out, expected);
    // A stray lead byte at the end of each line is replaced alone.
    Outcome stray = run({"grep", arg("big.mxh"), "bad", "--holder", "big"});
    ASSERT_EQ(stray.status, 0) << stray.err;
    EXPECT_THAT(stray.out, ::testing::StartsWith("big:r0:Memo:000001:      4: bad\uFFFD\n"
                                                 "big:r1:Memo:000001:      4: bad\uFFFD\n"));

    // Holders whose files cannot hold the word are not read, and give nothing.
    Outcome absent = run({"grep", arg("diary/diary.mxa"), "zebra"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(absent.out, "");
    EXPECT_EQ(run({"scan", arg("diary/diary.mxa"), "zebra", "-i"}).status, 1);
}

TEST_F(SearchVerbs, ScanListsNodesAndHonoursSectionsAndCase) {
    Outcome scan = run({"scan", arg("diary/work.mxh"), "牛乳"});
    EXPECT_EQ(scan.status, 0) << scan.err;
    EXPECT_EQ(scan.out, "work 買い物\n");
    EXPECT_EQ(run({"scan", arg("diary/work.mxh"), "牛乳", "--name"}).status, 1);
    EXPECT_EQ(run({"scan", arg("diary/work.mxh"), "text/PLAN", "--field"}).status, 1);
    Outcome folded = run({"--json", "scan", arg("diary/work.mxh"), "text/PLAN", "--field", "-i"});
    EXPECT_EQ(Json::parse(folded.out), (Json{{{"holder", "work"}, {"node", "買い物"}}}));
}

TEST_F(SearchVerbs, ReplaceWritesOnlyWithSaveAndLeavesReadOnlyHoldersAlone) {
    const std::string before = bytes("diary/work.mxh");
    Outcome dry = run({"replace", arg("diary/diary.mxa"), "メモ", "memo"});
    EXPECT_EQ(dry.status, 1);  // the only hit is in the read-only holder
    EXPECT_THAT(dry.err, HasSubstr("This MemoHolder is Read Only. (old)"));

    Outcome listed = run({"replace", arg("diary/diary.mxa"), "牛乳", "milk"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "work:買い物:replace Memo 000001\n");
    EXPECT_THAT(listed.err, HasSubstr("Nothing written without --save"));
    EXPECT_EQ(bytes("diary/work.mxh"), before);

    const std::string old = bytes("diary/old.mhz");
    Outcome saved = run({"replace", arg("diary/diary.mxa"), "牛乳", "milk", "--save"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(bytes("diary/old.mhz"), old);
    EXPECT_EQ(run({"grep", arg("diary/diary.mxa"), "milk", "--memo"}).out,
              "work:買い物:Memo:000001:      1: milk\n");
}

TEST_F(SearchVerbs, ReplaceInAContainerRewritesTheContainer) {
    ASSERT_EQ(run({"convert", arg("diary/diary.mxa"), arg("diary/copy.maz")}).status, 0);
    Outcome saved = run({"replace", arg("diary/copy.maz"), "会議", "meeting", "--save"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(run({"scan", arg("diary/copy.maz"), "meeting"}).out, "work 予定\n");
}

TEST_F(SearchVerbs, RefusalsAreTroubleAndWriteNothing) {
    Outcome lossy = run({"grep", arg("diary/diary.mxa"), "\xF0\x9F\x98\x80"});  // an emoji
    EXPECT_EQ(lossy.status, 2);
    EXPECT_THAT(lossy.err, HasSubstr("Failure: KeyWord cannot be held in Shift_JIS."));
    EXPECT_EQ(run({"replace", arg("diary/diary.mxa"), "a", "\xF0\x9F\x98\x80"}).status, 2);
    EXPECT_EQ(run({"scan", arg("diary/diary.mxa"), "a", "--holder", "nothere"}).status, 2);
    EXPECT_EQ(run({"scan", arg("diary/diary.mxa"), ""}).status, 2);
    EXPECT_EQ(run({"grep", arg("diary/diary.mxa")}).status, 2);
    EXPECT_EQ(run({"grep", arg("diary/diary.mxa"), "a", "--save"}).status, 2);

    std::filesystem::remove(folder.osPath("diary/old.mhz"));
    const std::string before = bytes("diary/work.mxh");
    Outcome incomplete = run({"replace", arg("diary/diary.mxa"), "牛乳", "milk", "--save"});
    EXPECT_EQ(incomplete.status, 2);
    EXPECT_THAT(incomplete.err, HasSubstr("Nothing written"));
    EXPECT_EQ(bytes("diary/work.mxh"), before);
}

}  // namespace
}  // namespace zel
