// zel-tool end to end: what info, cat and check say, what convert writes, and
// how failures are reported.

#include <filesystem>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "model/Container.h"
#include "support/HolderTestSupport.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using Json = nlohmann::json;

class Tool : public test::VerbTest {
  protected:
    void SetUp() override {
        for (const char* set : {"diary", "foreign"})
            std::filesystem::copy(test::fixture(set), folder.osPath(set),
                                  std::filesystem::copy_options::recursive);
    }
};

TEST_F(Tool, InfoOfAMemoFileListsItsHolders) {
    Outcome text = run({"info", arg("diary/diary.mxa")});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_THAT(text.out, HasSubstr("Current holder: work\n"));
    EXPECT_THAT(text.out, HasSubstr("  old\n    file: " + arg("diary/old.mhz") +
                                    "\n    format: .mhz, read-only\n    nodes: 1\n"));

    Outcome json = run({"--json", "info", arg("diary/diary.mxa")});
    ASSERT_EQ(json.status, 0) << json.err;
    Json facts = Json::parse(json.out);
    EXPECT_EQ(facts["name"], "diary");
    EXPECT_EQ(facts["currentHolder"], "work");
    EXPECT_EQ(facts["fields"][1], (Json{{"key", "CurrentHolder"}, {"value", "\"work\""}}));
    EXPECT_EQ(facts["memo"], (Json{"日記の索引", ""}));
    ASSERT_EQ(facts["holders"].size(), 2u);
    EXPECT_EQ(facts["holders"][0]["nodes"], 2);
    EXPECT_EQ(facts["holders"][1]["format"], ".mhz");
}

TEST_F(Tool, InfoOfAHolderFileShowsSettingsAndNodes) {
    Outcome json = run({"info", "--json", arg("diary/work.mxh")});
    ASSERT_EQ(json.status, 0) << json.err;
    Json facts = Json::parse(json.out);
    EXPECT_EQ(facts["name"], "work");
    EXPECT_EQ(facts["currentNode"], "予定");
    EXPECT_EQ(facts["countSave"], 7);
    EXPECT_EQ(facts["nodes"][0], (Json{{"name", "予定"}, {"marked", true}}));
    EXPECT_EQ(facts["settings"][0], (Json{{"key", "curIndex"}, {"value", "\"予定\""}}));
}

TEST_F(Tool, CatShowsANodeAsTextJsonOrStoredBytes) {
    Outcome text = run({"cat", arg("diary/diary.mxa"), "work", "予定"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out,
              "Name: 予定\nFields:\n  flagMarked=\"true\"\n  Created=\"20060301 142530123\"\n"
              "Comment:\n  部屋 A & B\nMemo:\n会議 <10時>\n\n");

    Outcome json = run({"cat", "--json", arg("diary/diary.mxa"), "OLD", "2005"});
    ASSERT_EQ(json.status, 0) << json.err;
    Json node = Json::parse(json.out);
    EXPECT_EQ(node["holder"], "old");
    EXPECT_EQ(node["memo"], Json{"去年のメモ"});
    EXPECT_TRUE(node["body"].is_null());

    Outcome raw = run({"--raw", "cat", arg("diary/work.mxh"), utf8ToSjis("買い物")});
    ASSERT_EQ(raw.status, 0) << raw.err;
    EXPECT_THAT(raw.out, HasSubstr("Memo:\n" + utf8ToSjis("牛乳") + "\n"));
}

TEST_F(Tool, CatExplainsWhatIsMissing) {
    Outcome node = run({"cat", arg("diary/diary.mxa"), "work", "nothing"});
    EXPECT_EQ(node.status, 1);
    EXPECT_EQ(node.err, "zel-tool: No node named nothing in the holder work\n");
    Outcome holder = run({"cat", arg("diary/diary.mxa"), "none", "x"});
    EXPECT_EQ(holder.status, 1);
    EXPECT_THAT(holder.err, HasSubstr("No holder named none"));
    EXPECT_EQ(run({"cat", arg("diary/work.mxh"), "work", "x"}).status, 1);
    EXPECT_EQ(run({"cat", arg("nowhere.mxa"), "x"}).status, 1);
}

// The model's view of a memo file: each holder's name and nodes.
std::vector<std::string> describeMemoFile(const std::string& sjisPath) {
    MemoFile file;
    std::vector<std::string> errors, facts;
    std::string error;
    const bool index = sjisPath.ends_with(".mxa");
    EXPECT_EQ(
        index ? openIndex_(file, sjisPath, errors, &error) : loadContainer_(file, sjisPath, &error),
        0)
        << error;
    facts.push_back("current " + (file.currentHolder ? file.currentHolder->getName_() : ""));
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        MemoHolder& holder = *file.holderAt_(i);
        if (index) {
            EXPECT_EQ(readHolderFile_(holder, holderFilePath_(holder)), 0);
        }
        facts.push_back("holder " + holder.getName_() + " " + holder.getFileExt_());
        for (const auto& fact : test::describeNodes(holder)) facts.push_back(fact);
    }
    return facts;
}

TEST_F(Tool, ConvertBetweenIndexAndContainerLosesNothing) {
    const std::vector<std::string> original = describeMemoFile(folder.path("diary/diary.mxa"));
    std::filesystem::create_directory(folder.osPath("packed"));
    std::filesystem::create_directory(folder.osPath("unpacked"));

    Outcome pack = run({"convert", arg("diary/diary.mxa"), arg("packed/diary.maz")});
    ASSERT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(describeMemoFile(folder.path("packed/diary.maz")), original);

    Outcome unpack = run({"convert", arg("packed/diary.maz"), arg("unpacked/copy.mxa")});
    ASSERT_EQ(unpack.status, 0) << unpack.err;
    EXPECT_TRUE(std::filesystem::exists(folder.osPath("unpacked/work.mxh")));
    EXPECT_TRUE(std::filesystem::exists(folder.osPath("unpacked/old.mhz")));
    EXPECT_EQ(describeMemoFile(folder.path("unpacked/copy.mxa")), original);
}

TEST_F(Tool, ConvertBetweenHolderFormsLosesNothing) {
    MemoHolder original;
    ASSERT_EQ(readHolderFile_(original, folder.path("diary/work.mxh")), 0);
    ASSERT_EQ(run({"convert", arg("diary/work.mxh"), arg("w.mhz")}).status, 0);
    ASSERT_EQ(run({"convert", arg("w.mhz"), arg("w.mxh")}).status, 0);
    ASSERT_EQ(run({"convert", arg("w.mxh"), arg("w.mxh")}).status, 0);
    MemoHolder back;
    ASSERT_EQ(readHolderFile_(back, folder.path("w.mxh")), 0);
    EXPECT_EQ(test::describeNodes(back), test::describeNodes(original));
    EXPECT_EQ(back.getCurrent_()->getName_(), original.getCurrent_()->getName_());
    EXPECT_EQ(back.countSave, original.countSave);
}

TEST_F(Tool, ConvertRefusesAndWritesNothingWhenInputIsIncomplete) {
    Outcome missing = run({"convert", arg("foreign/notes.mxa"), arg("notes.maz")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("Missing holder file"));
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("notes.maz")));
    Outcome kinds = run({"convert", arg("diary/work.mxh"), arg("work.mxa")});
    EXPECT_EQ(kinds.status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("work.mxa")));
}

TEST_F(Tool, CheckReportsMarkupErrorsAndFailsOnThem) {
    Outcome good = run({"check", arg("diary/diary.mxa")});
    EXPECT_EQ(good.status, 0);
    EXPECT_THAT(good.out, HasSubstr(": OK"));

    std::filesystem::copy_file(folder.osPath("diary/work.mxh"), folder.osPath("diary/bad.mxh"));
    std::ofstream(folder.osPath("diary/work.mxh"), std::ios::binary)
        << "<Holder name=\"work\">\r\n<Record name=\"a\">\r\n</Holder>\r\n";
    Outcome bad = run({"check", arg("diary/diary.mxa")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_THAT(bad.out, HasSubstr("Markup error in " + arg("diary/work.mxh")));
    EXPECT_THAT(bad.out, HasSubstr("タグの開始と終了が一致しない。Record Holder"));
}

// No folder of files: only the words of the call.
using ToolUsage = test::VerbTest;

TEST_F(ToolUsage, HelpVersionAndMistakes) {
    Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("convert IN OUT"));
    EXPECT_THAT(run({"--version"}).out, ::testing::StartsWith("zel-tool "));
    EXPECT_EQ(run({}).status, 1);
    EXPECT_EQ(run({"--bogus", "info", "x.mxa"}).status, 1);
    EXPECT_EQ(run({"frobnicate"}).status, 1);
    EXPECT_EQ(run({"info"}).status, 1);
    EXPECT_EQ(run({"--json", "check", "x.mxa"}).status, 1);
    EXPECT_THAT(run({"info", "notes.txt"}).err, HasSubstr("Not a memo or holder file"));
}

}  // namespace
}  // namespace zel
