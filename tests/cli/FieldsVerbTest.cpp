// zel-tool fields: the field window's lines and status, its edits, and what
// --save writes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using Json = nlohmann::json;

class FieldsVerb : public test::VerbTest {
  protected:
    void SetUp() override {
        MemoFile file;
        file.setFilename(folder.path("memo.mxa"));
        auto holder = [&](const std::string& name,
                          const std::vector<std::pair<std::string, std::string>>& nodes) {
            MemoHolder* made = file.createHolder_(-1);
            made->putName_as_(name);
            for (const auto& [nodeName, field] : nodes) {
                auto node = made->newNode_();
                if (!field.empty()) node->fields.append(field);
                made->addNode_(std::move(node), nodeName);
            }
            ASSERT_GE(saveHolderFile_(*made, holderFilePath_(*made)), 0);
        };
        holder("work", {{"plan", "Date=\"1\""}, {"list", "Tag=\"ABCabc\""}, {"bare", ""}});
        holder("home", {{"tea", "Date=\"2\""}});
        ASSERT_GE(file.saveMemoFile_(folder.path("memo.mxa")), 0);
    }
    std::string memo() const { return folder.path("memo.mxa"); }
};

TEST_F(FieldsVerb, ListsTheWindowsLinesAndStatus) {
    Outcome listed = run({"fields", memo(), "date"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out,
              "work : plan : date=\"1\"\nhome : tea : date=\"2\"\n"
              "*Done: Scan Field count=2 KeyWord=date\n");

    Outcome others = run({"fields", memo(), "date", "--not", "--holder", "work"});
    EXPECT_EQ(others.out, "work : list : date=\n*Done: Not Scan Field count=1 KeyWord=date\n");

    Outcome none = run({"fields", memo(), "Date", "--both", "--value", "3"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "*Done: Scan Filed No match\n");

    Outcome json = run({"--json", "fields", memo(), "Tag", "--holder", "work"});
    EXPECT_EQ(Json::parse(json.out),
              (Json{{"lines", {{{"holder", "work"}, {"node", "list"}, {"value", "\"ABCabc\""}}}},
                    {"status", "*Done: Scan Field count=1 KeyWord=Tag"},
                    {"changedHolders", Json::array()}}));
}

TEST_F(FieldsVerb, EditsAreWrittenOnlyWithSaveAndOnlyToTheHoldersChanged) {
    const auto workFile = folder.osPath("work.mxh");
    const auto homeFile = folder.osPath("home.mxh");
    const std::string workBefore = test::bytesOf(workFile), homeBefore = test::bytesOf(homeFile);

    Outcome unsaved = run({"fields", memo(), "Tag", "--replace", "abc", "x"});
    EXPECT_EQ(unsaved.status, 0) << unsaved.err;
    EXPECT_THAT(unsaved.out, HasSubstr("work : list : Tag=\"xx\"\n"
                                       "*Done: Replace count=1/1 KeyWord=Tag\n"));
    EXPECT_THAT(unsaved.err, HasSubstr("Nothing written without --save"));
    EXPECT_EQ(test::bytesOf(workFile), workBefore);

    Outcome saved = run({"fields", memo(), "Tag", "--replace", "abc", "x", "--save"});
    EXPECT_THAT(saved.err, HasSubstr("Saved"));
    EXPECT_NE(test::bytesOf(workFile), workBefore);
    EXPECT_EQ(test::bytesOf(homeFile), homeBefore) << "nothing of home changed";
    EXPECT_THAT(run({"fields", memo(), "Tag"}).out, HasSubstr("Tag=\"xx\""));

    run({"fields", memo(), "Date", "--holder", "home", "--set", "2024", "--save"});
    EXPECT_THAT(run({"fields", memo(), "Date"}).out, HasSubstr("home : tea : Date=\"2024\""));
    run({"fields", memo(), "Date", "--delete", "--save"});
    EXPECT_EQ(run({"fields", memo(), "Date"}).status, 1);
}

TEST_F(FieldsVerb, RefusesWhatTheWindowRefuses) {
    EXPECT_EQ(run({"fields", memo(), "a=b", "--set", "1"}).status, 2);
    EXPECT_EQ(run({"fields", memo(), "", "--delete"}).status, 2);
    EXPECT_EQ(run({"fields", memo(), "Date", "--set", "1", "--delete"}).status, 2);
    EXPECT_EQ(run({"fields", memo(), "Date", "--replace", "1"}).status, 2);
    Outcome noHolder = run({"fields", memo(), "Date", "--holder", "none"});
    EXPECT_EQ(noHolder.status, 2);
    EXPECT_THAT(noHolder.err, HasSubstr("No holder named none"));
}

}  // namespace
}  // namespace zel
