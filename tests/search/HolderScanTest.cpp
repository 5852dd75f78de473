// The scanning engine: entries and status texts of Scan, Replace and Grep over
// one holder and several, holder loading, display order, read-only holders
// and nodes, Break, and nodes that go away during a run.

#include <gtest/gtest.h>

#include "model/MemoNode.h"
#include "search/HolderScan.h"
#include "search/SearchTestSupport.h"

namespace zel {
namespace {

using test::addHolder;
using test::kAllSections;
using test::kMemoOnly;
using test::kNameOnly;
using test::RecordingHost;
using test::request;
using Box = ScanOutcome::Box;

TEST(HolderScan, ScanInOneHolderListsNodesWithTheOneHolderTexts) {
    MemoFile file;
    addHolder(file, "h", {"abc1", "other", "ABC2"});
    RecordingHost host;
    ScanResults results;
    ScanOutcome outcome =
        runScan(file, {"h"}, request(ScanKind::Scan, "abc", kNameOnly), host, results);
    EXPECT_EQ(results.lines(), (std::vector<std::string>{"h abc1", "h ABC2"}));
    EXPECT_EQ(host.statuses, (std::vector<std::string>{"*Scanning* abc"}));
    EXPECT_EQ(outcome.status, "*Done Scan* abc 2");
    EXPECT_EQ(outcome.box, Box::None);

    outcome = runScan(file, {"h"}, request(ScanKind::Scan, "abc", kNameOnly, false, false), host,
                      results);
    EXPECT_EQ(results.lines(), (std::vector<std::string>{"h abc1"}));
    outcome = runScan(file, {"h"}, request(ScanKind::Scan, "zzz", kNameOnly), host, results);
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(outcome.status, "*Done Scan* No match");
    EXPECT_EQ(outcome.box, Box::Warning);
}

TEST(HolderScan, SeveralHoldersGoInTheOrderGivenAndSkipUnknownNames) {
    MemoFile file;
    addHolder(file, "h1", {"n"}, {{"abc"}});
    addHolder(file, "h2", {"m"}, {{"x abc"}});
    RecordingHost host;
    ScanResults results;
    ScanOutcome outcome = runScan(file, {"h2", "gone", "h1"},
                                  request(ScanKind::Scan, "abc", kMemoOnly, true), host, results);
    EXPECT_EQ(results.lines(), (std::vector<std::string>{"h2 m", "h1 n"}));
    EXPECT_EQ(host.statuses, (std::vector<std::string>{"*Scanning* abc h2", "*Scanning* abc h1"}));
    EXPECT_EQ(outcome.status, "*Done Scan* count=2 keyWord=abc");

    outcome =
        runScan(file, {"h1", "h2"}, request(ScanKind::Scan, "q", kMemoOnly, true), host, results);
    EXPECT_EQ(outcome.status, "*Done Scan* No match KeyWord=q");
    EXPECT_EQ(outcome.box, Box::Confirmation);
}

TEST(HolderScan, OneHolderRunWithoutAHolderStopsAfterItsStatus) {
    MemoFile file;
    RecordingHost host;
    ScanResults results;
    const ScanOutcome outcome =
        runScan(file, {}, request(ScanKind::Grep, "abc", kNameOnly), host, results);
    EXPECT_FALSE(outcome.searched);
    EXPECT_EQ(outcome.status, "*Grep* abc");
    EXPECT_EQ(outcome.box, Box::None);
}

TEST(HolderScan, ReplaceListsChangesUnderTheOldNameAndMarksTheHolderChanged) {
    MemoFile file;
    std::vector<std::string> memo(15, "-");
    memo[1] = "abc";
    memo[14] = "an abc";
    MemoHolder& holder = addHolder(file, "h", {"n", "abc1"}, {memo});
    holder.changed = false;
    RecordingHost host;
    ScanResults results;
    ScanRequest replace = request(ScanKind::Replace, "abc", {true, true, false, false});
    replace.replacement = "xyz";
    const ScanOutcome outcome = runScan(file, {"h"}, replace, host, results);
    EXPECT_EQ(results.lines(),
              (std::vector<std::string>{"h:n:replace Memo 000002", "h:n:replace Memo 000015",
                                        "h:abc1:replace name xyz1"}));
    EXPECT_EQ(host.statuses, (std::vector<std::string>{"*Replacing* abc xyz"}));
    EXPECT_EQ(outcome.status, "*Done Replace* count=3 KeyWord=abc");
    EXPECT_TRUE(holder.changed);
    EXPECT_EQ(host.replaced, (std::vector<std::string>{"h"}));
    EXPECT_EQ(holder.byName_("xyz1"), results.node(2));

    holder.changed = false;
    const ScanOutcome none = runScan(file, {"h"}, replace, host, results);
    EXPECT_EQ(none.status, "*Done Replace* No match KeyWord=abc");
    EXPECT_EQ(none.box, Box::Confirmation);
    EXPECT_FALSE(holder.changed);
}

TEST(HolderScan, ReplaceLeavesReadOnlyHoldersAndNodesAlone) {
    MemoFile file;
    MemoHolder& locked = addHolder(file, "locked", {"a"}, {{"abc"}});
    locked.setReadOnly_(true);
    MemoHolder& open = addHolder(file, "open", {"b", "c"}, {{"abc"}, {"abc"}});
    open.at_(0)->setReadOnly_(true);
    RecordingHost host;
    ScanResults results;
    ScanRequest replace = request(ScanKind::Replace, "abc", kMemoOnly, true);
    replace.replacement = "x";
    runScan(file, {"locked", "open"}, replace, host, results);
    EXPECT_EQ(results.lines(), (std::vector<std::string>{"open:c:replace Memo 000001"}));
    EXPECT_EQ(locked.at_(0)->memo[0], "abc");
    EXPECT_EQ(open.at_(0)->memo[0], "abc");
    EXPECT_FALSE(locked.changed);
    EXPECT_EQ(host.logs, (std::vector<std::string>{"This MemoHolder is Read Only. (locked)",
                                                   "This MemoNode is Read Only. (open:b)"}));
    EXPECT_EQ(host.statuses, (std::vector<std::string>{"*Replacing* abc x", "*Scanning* abc locked",
                                                       "*Scanning* abc open"}));
}

TEST(HolderScan, GrepEntriesAndTheSeveralHoldersEndTexts) {
    MemoFile file;
    addHolder(file, "h1", {"n"}, {{"zz"}});
    addHolder(file, "h2", {"abc list"}, {{"one", "two abc"}});
    RecordingHost host;
    ScanResults results;
    ScanOutcome outcome = runScan(
        file, {"h1", "h2"}, request(ScanKind::Grep, "abc", kAllSections, true), host, results);
    EXPECT_EQ(results.lines(),
              (std::vector<std::string>{"h2:abc list:Name:abc list",
                                        "h2:abc list:Memo:000001:      2: two abc"}));
    EXPECT_EQ(outcome.status, "*Grep* abc h2");
    EXPECT_EQ(outcome.box, Box::None);

    outcome = runScan(file, {"h1", "h2"}, request(ScanKind::Grep, "q", kAllSections, true), host,
                      results);
    EXPECT_EQ(outcome.status, "No match");
    EXPECT_EQ(outcome.box, Box::Confirmation);
    outcome = runScan(file, {"h2"}, request(ScanKind::Grep, "abc", kMemoOnly), host, results);
    EXPECT_EQ(outcome.status, "*Done Grep* count=1 KeyWord=abc");
}

TEST(HolderScan, NodeGrepCountsEverySectionsLines) {
    MemoFile file;
    MemoHolder& holder = addHolder(file, "h", {"abc list"});
    MemoNode& node = *holder.at_(0);
    node.memo.assign(40, "");
    node.memo.setLine(2, "abc here");
    node.memo.setLine(39, "more abc");
    node.comment = {"ABC"};
    node.fields.append("Key=\"abc\"");
    ScanResults results;
    ScanOutcome outcome = grepNode(node, "h", "abc", false, results);
    EXPECT_EQ(results.lines(),
              (std::vector<std::string>{"h:abc list:Name:abc list",
                                        "h:abc list:Memo:000001:      3: abc here",
                                        "h:abc list:Memo:000002:     40: more abc",
                                        "h:abc list:Fields:000001:      1: Key=\"abc\""}));
    EXPECT_EQ(outcome.status, "*Done Grep* count=4 KeyWord=abc");
    outcome = grepNode(node, "h", "\x82\x81\x82\x82\x82\x83", true, results);
    EXPECT_EQ(outcome.status, "*Done Grep* No match KeyWord=\x82\x81\x82\x82\x82\x83");
    EXPECT_EQ(outcome.box, Box::Confirmation);
}

TEST(HolderScan, UnloadedHoldersAreLoadedFirstAndOnlyOnce) {
    MemoFile file;
    MemoHolder& holder = addHolder(file, "h", {});
    holder.loaded = false;
    RecordingHost host;
    host.onLoad = [](MemoHolder& h) {
        auto node = h.newNode_();
        node->memo = {"abc"};
        h.addNode_(std::move(node), "read");
    };
    ScanResults results;
    runScan(file, {"h"}, request(ScanKind::Grep, "abc", kMemoOnly), host, results);
    runScan(file, {"h"}, request(ScanKind::Grep, "abc", kMemoOnly), host, results);
    EXPECT_EQ(host.loads, (std::vector<std::string>{"h"}));
    EXPECT_EQ(results.size(), 1u);
}

// A holder whose view lists its nodes in reverse.
class ReversedHolder : public MemoHolder {
  public:
    using MemoHolder::MemoHolder;
    NodeList& setNodeList_(NodeList& list) const override {
        NodeList stored;
        MemoHolder::setNodeList_(stored);
        list.insert(list.end(), stored.rbegin(), stored.rend());
        return list;
    }
};

TEST(HolderScan, NodesAreTakenInDisplayOrder) {
    MemoFile file;
    auto reversed = std::make_unique<ReversedHolder>();
    for (const char* name : {"abc1", "abc2"}) reversed->addNode_(reversed->newNode_(), name);
    file.addHolder_(std::move(reversed), "r");
    RecordingHost host;
    ScanResults results;
    runScan(file, {"r"}, request(ScanKind::Scan, "abc", kNameOnly), host, results);
    EXPECT_EQ(results.lines(), (std::vector<std::string>{"r abc2", "r abc1"}));
}

std::vector<std::string> manyNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("abc" + std::to_string(i));
    return names;
}

TEST(HolderScan, BreakKeepsWhatWasFoundAndPollsEveryFiftyNodes) {
    MemoFile file;
    addHolder(file, "h", manyNames(120));
    RecordingHost host;
    host.onPoll = [&host] { return host.polls == 2; };
    ScanResults results;
    const ScanOutcome outcome =
        runScan(file, {"h"}, request(ScanKind::Scan, "abc", kNameOnly), host, results);
    EXPECT_TRUE(outcome.broken);
    EXPECT_EQ(results.size(), 100u);
    EXPECT_EQ(outcome.status, "Break: Scan count=100 KeyWord=abc");
}

TEST(HolderScan, ANodeDeletedDuringTheRunIsSkippedAndItsEntriesGoDead) {
    MemoFile file;
    MemoHolder& holder = addHolder(file, "h", manyNames(60));
    RecordingHost host;
    // What the window may do while events are let through at a poll.
    host.onPoll = [&holder] {
        holder.removeNode_(holder.byName_("abc55"));
        holder.removeNode_(holder.byName_("abc3"));
        return false;
    };
    ScanResults results;
    runScan(file, {"h"}, request(ScanKind::Scan, "abc", kNameOnly), host, results);
    ASSERT_EQ(results.size(), 59u);
    EXPECT_EQ(results.text(3), "h abc3");
    EXPECT_EQ(results.node(3), nullptr);  // listed before it went
    EXPECT_NE(results.node(4), nullptr);
    for (std::size_t row = 0; row < results.size(); ++row) EXPECT_NE(results.text(row), "h abc55");
}

}  // namespace
}  // namespace zel
