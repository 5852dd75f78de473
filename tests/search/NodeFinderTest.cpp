#include "search/NodeFinder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "support/TempFolder.h"
#include "text/Sjis.h"

namespace zel {
namespace {

// The names the finder lists for `typed`, best first.
std::vector<std::string> found(const NodeNameIndex& index, std::string_view typed,
                               std::size_t limit = 20) {
    std::vector<std::string> names;
    for (const FinderMatch& match : index.find(typed, limit))
        names.push_back(index.entry(match.entry).name);
    return names;
}

NodeNameIndex indexOf(const std::vector<std::string>& names) {
    NodeNameIndex index;
    index.addHolder(0, names);
    return index;
}

TEST(NodeFinderTest, BestMatchesComeFirstThenShorterNamesThenTheirOrder) {
    const NodeNameIndex index =
        indexOf({"Old meeting notes", "meeting", "Meetings 2024", "premeeting", "Meeting plan",
                 "Monday evening talk", "unrelated"});
    EXPECT_EQ(found(index, "meeting"),
              (std::vector<std::string>{"meeting", "Meeting plan", "Meetings 2024",
                                        "Old meeting notes", "premeeting"}));
    // Initials rank below every name that holds the text itself.
    EXPECT_EQ(found(index, "met"), (std::vector<std::string>{"Monday evening talk"}));
    EXPECT_EQ(found(index, "meeting", 2), (std::vector<std::string>{"meeting", "Meeting plan"}));
}

TEST(NodeFinderTest, InitialsCountWordsCapitalsAndScriptChanges) {
    const NodeNameIndex index =
        indexOf({"Go To Node", "goToNode", "go_to-node", "gtn", "Getting things"});
    EXPECT_EQ(found(index, "gtn"),
              (std::vector<std::string>{"gtn", "goToNode", "Go To Node", "go_to-node"}));
    // One letter finds names that hold it, never by initials alone.
    EXPECT_EQ(found(index, "T"), (std::vector<std::string>{"Go To Node", "go_to-node",
                                                           "Getting things", "gtn", "goToNode"}));
}

TEST(NodeFinderTest, LetterCaseAndFullWidthFoldButDoubleByteTextStaysWhole) {
    // "ＡＢＣ１" full-width, "ｘｙｚ" full-width small, "ヂ" is 83 61 (its second byte is "a").
    const std::string wideAbc = "\x82\x60\x82\x61\x82\x62\x82\x50";
    const std::string wideXyz = "\x82\x98\x82\x99\x82\x9A";
    const std::string dji = "\x83\x61";
    const NodeNameIndex index = indexOf({wideAbc, "xyz memo", dji, "Abc1"});
    EXPECT_EQ(found(index, "abc1"), (std::vector<std::string>{wideAbc, "Abc1"}));
    EXPECT_EQ(found(index, wideXyz), (std::vector<std::string>{"xyz memo"}));
    EXPECT_EQ(found(index, "a"), (std::vector<std::string>{wideAbc, "Abc1"}));
    EXPECT_EQ(found(index, dji), (std::vector<std::string>{dji}));
    EXPECT_TRUE(found(index, "   ").empty());
}

TEST(NodeFinderTest, EntriesKnowTheirHolderAndWhichOfEqualNamesTheyAre) {
    NodeNameIndex index;
    index.addHolder(0, {"a", "b"});
    index.addHolder(3, {"todo", "x", "todo", "todo"});
    ASSERT_EQ(index.size(), 6u);
    const std::vector<FinderMatch> matches = index.find("todo", 10);
    ASSERT_EQ(matches.size(), 3u);
    for (std::size_t i = 0; i < matches.size(); ++i) {
        EXPECT_EQ(index.entry(matches[i].entry).holder, 3u);
        EXPECT_EQ(index.entry(matches[i].entry).sameNameBefore, i);
    }
}

TEST(NodeFinderTest, NameOnlyReadTakesEachRecordsNameAsTheReaderDoes) {
    const std::string markup =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n"
        "<Holder name=\"h\">\r\n"
        "  <Field NewNodeName=\"x\"/>\r\n"
        "  <Record name=\"first\">\r\nmemo with &lt;Record name=\"no\"&gt;<BR/>\r\n  </Record>\r\n"
        "  <Record flag=\"1\" name = \"second &amp; more\" >\r\n  </Record>\r\n"
        "  <RecordSet name=\"not a record\"/>\r\n"
        "  <Record\r\n    name=\"\x83\x65\x83\x58\x83\x67\"/>\r\n"
        "  <Record surname=\"no\">\r\n  </Record>\r\n"
        "  <Record name=plain>\r\n  </Record>\r\n"
        "</Holder>\r\n";
    EXPECT_EQ(holderMarkupNodeNames(markup),
              (std::vector<std::string>{"first", "second &amp; more", "\x83\x65\x83\x58\x83\x67",
                                        "", "plain"}));
}

TEST(NodeFinderTest, TheCacheReadsAFileAgainOnlyWhenItChanged) {
    test::TempFolder folder;
    const std::string path = folder.path("h.mxh");
    auto write = [&](const std::string& records) {
        std::ofstream(folder.osPath("h.mxh"), std::ios::binary) << "<Holder name=\"h\">\r\n"
                                                                << records << "</Holder>\r\n";
    };
    write("<Record name=\"one\">\r\n</Record>\r\n");
    HolderNameCache cache;
    ASSERT_NE(cache.names(path), nullptr);
    EXPECT_EQ(*cache.names(path), (std::vector<std::string>{"one"}));
    EXPECT_EQ(cache.reads(), 1u);
    write("<Record name=\"one\">\r\n</Record>\r\n<Record name=\"two\">\r\n</Record>\r\n");
    EXPECT_EQ(*cache.names(path), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(cache.reads(), 2u);
    EXPECT_EQ(cache.names(folder.path("missing.mxh")), nullptr);
}

}  // namespace
}  // namespace zel
