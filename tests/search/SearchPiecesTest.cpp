// The keyword history, New Child Grep and the result store.

#include <gtest/gtest.h>

#include "model/MemoNode.h"
#include "search/ChildGrep.h"
#include "search/KeywordHistory.h"
#include "search/ScanResults.h"
#include "search/SearchTestSupport.h"

namespace zel {
namespace {

TEST(KeywordHistory, MostRecentFirstWithoutDuplicatesAndBounded) {
    KeywordHistory history;
    for (const char* keyword : {"a", "b", "", "a", "c", "A"}) history.add(keyword);
    EXPECT_EQ(history.entries(), (std::vector<std::string>{"A", "c", "a", "b"}));
    for (std::size_t i = 0; i < KeywordHistory::kLimit + 5; ++i) history.add(std::to_string(i));
    EXPECT_EQ(history.entries().size(), KeywordHistory::kLimit);
    EXPECT_EQ(history.entries().front(), std::to_string(KeywordHistory::kLimit + 4));
}

TEST(ChildGrep, TheChildIsNamedLinkedAndFilledWithTheKeptLines) {
    MemoFile file;
    MemoHolder& holder = test::addHolder(file, "h", {"source"}, {{"abc", "xyz", "ABC d"}});
    MemoNode& source = *holder.at_(0);
    GrepChoice choice;
    choice.invert = true;
    choice.numbered = true;
    MemoNode* child = makeGrepChild(source, "abc", choice, [&] { return holder.makeNode_(); });
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->getName_().ends_with(" Grep abc NOT "));
    EXPECT_EQ(child->memo, (Lines{"      2: xyz"}));
    EXPECT_FALSE(source.getField_("UID").empty());
    EXPECT_EQ(child->getField_("ParentNodeID"), source.getField_("UID"));

    choice = GrepChoice{};
    choice.mode = GrepTail;
    choice.ignoreCase = false;
    EXPECT_EQ(childGrepLines(source, "d", choice), (Lines{"ABC d"}));

    // No node made: the source is not touched.
    auto made = holder.newNode_();
    MemoNode* other = made.get();
    holder.addNode_(std::move(made), "plain");
    EXPECT_EQ(makeGrepChild(*other, "abc", choice, [] { return nullptr; }), nullptr);
    EXPECT_TRUE(other->getField_("UID").empty());
}

TEST(ScanResults, OneStoreWithAReferencePerLine) {
    MemoFile file;
    MemoHolder& holder = test::addHolder(file, "h", {"a", "b"});
    ScanResults results;
    results.add(holder.at_(0), {"h", ":", "a"});
    results.add(holder.at_(1), {"h ", "b"});
    results.add(nullptr, {});
    EXPECT_EQ(results.text(0), "h:a");
    EXPECT_EQ(results.text(1), "h b");
    EXPECT_EQ(results.text(2), "");
    EXPECT_EQ(results.head(0), "h:");
    EXPECT_EQ(results.tail(0), "a");
    EXPECT_EQ(results.tail(2), "");
    EXPECT_EQ(results.textBytes(), 6u);
    holder.removeNode_(holder.at_(0));
    EXPECT_EQ(results.node(0), nullptr);
    EXPECT_EQ(results.node(1), holder.at_(0));
    EXPECT_EQ(results.node(2), nullptr);
    results.clear();
    EXPECT_TRUE(results.empty());
}

// Grep lines keep their head once per node and their numbering as numbers;
// read back, they are the lines the record grep writes.
TEST(ScanResults, GrepLinesReadAsTheRecordGrepWritesThem) {
    MemoFile file;
    MemoHolder& holder = test::addHolder(file, "h", {"a", "b"});
    ScanResults results;
    results.beginGrep(NodeRef(holder.at_(0)), {"h", ":", "a", ":"});
    results.addGrepHit("Name:", 0, 0, "a");
    results.addGrepHit("Memo:", 2, 31, "x a");
    results.add(holder.at_(0), {"h ", "a"});
    results.beginGrep(NodeRef(holder.at_(1)), {"h:b:"});
    results.addGrepHit("Comment:", 1234567, 7, "");
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results.lines(),
              (std::vector<std::string>{"h:a:Name:a", "h:a:Memo:000002:     31: x a", "h a",
                                        "h:b:Comment:1234567:      7: "}));
    EXPECT_EQ(results.head(1), "h:a:");
    EXPECT_EQ(results.tail(1), "Memo:000002:     31: x a");
    EXPECT_EQ(results.head(2), "h ");
    EXPECT_EQ(results.tail(2), "a");
    EXPECT_EQ(results.textBytes(), 4u + 1 + 3 + 3 + 4);
    holder.removeNode_(holder.at_(0));
    EXPECT_EQ(results.node(1), nullptr);
    EXPECT_EQ(results.node(2), nullptr);
    EXPECT_EQ(results.node(3), holder.at_(0));
    EXPECT_EQ(results.text(0), "h:a:Name:a");
}

}  // namespace
}  // namespace zel
