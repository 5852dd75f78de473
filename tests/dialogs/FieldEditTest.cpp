#include "dialogs/FieldEdit.h"

#include <gtest/gtest.h>

#include "dialogs/DialogTestSupport.h"

namespace zel {
namespace {

using test::addHolder;
using test::nodeNamed;

std::vector<std::string> linesOf(const ScanResults& results) {
    return results.lines();
}

class FieldEditTest : public ::testing::Test {
  protected:
    FieldEditTest() {
        h = &addHolder(file, "H",
                       {{"A", {"Date=\"1\""}},
                        {"B", {"UpdateDate=\"2\""}},
                        {"C", {"Title=\"my date\""}},
                        {"D", {"X=\"y\""}},
                        {"E", {}}});
    }

    FieldOutcome run(FieldAction action, const FieldQuery& query, std::string_view replacement,
                     std::vector<MemoHolder*> holders = {}) {
        if (holders.empty()) holders = {h};
        return runFieldEdit(action, query, replacement, holders, access, lines);
    }

    MemoFile file;
    MemoHolder* h = nullptr;
    ScanResults lines;
    HolderAccess access;
};

TEST_F(FieldEditTest, ScanFindsTheKeyAnywhereInTheFieldsAndScanNotListsTheOthersWithFields) {
    const FieldOutcome found = run(FieldAction::Scan, {.key = "date"}, "");
    EXPECT_EQ(found.result, 3);
    EXPECT_EQ(linesOf(lines),
              (std::vector<std::string>{"H : A : date=\"1\"", "H : B : date=", "H : C : date="}));
    EXPECT_EQ(found.status, "*Done: Scan Field count=3 KeyWord=date");

    const FieldOutcome others = run(FieldAction::ScanNot, {.key = "date"}, "");
    EXPECT_EQ(linesOf(lines), std::vector<std::string>{"H : D : date="});
    EXPECT_EQ(others.status, "*Done: Not Scan Field count=1 KeyWord=date");

    const FieldOutcome exact = run(FieldAction::Scan, {.key = "date", .ignoreCase = false}, "");
    EXPECT_EQ(linesOf(lines), (std::vector<std::string>{"H : B : date=", "H : C : date="}))
        << "Up-date and my date";
    EXPECT_EQ(exact.result, 2);

    EXPECT_EQ(run(FieldAction::Scan, {.key = "zzz"}, "").status, "*Done: Scan Filed No match");
    EXPECT_EQ(run(FieldAction::ScanNot, {.key = "="}, "").status, "*Done: Not Scan Filed No match");
    EXPECT_FALSE(h->changed);
}

TEST_F(FieldEditTest, BothComparesOnlyTheUnquotedValue) {
    addHolder(file, "V",
              {{"p", {"K=\"Red\""}},
               {"q", {"K=\"\""}},
               {"r", {"Z=\"1\""}},
               {"s", {"K=\"dark red\""}},
               {"t", {}}});
    MemoHolder* v = file.holderByName_("V");
    auto names = [&] {
        std::vector<std::string> out;
        for (std::size_t row = 0; row < lines.size(); ++row)
            out.push_back(lines.node(row)->getName_());
        return out;
    };
    run(FieldAction::Scan, {.key = "K", .value = "", .valueOnly = true}, "", {v});
    EXPECT_EQ(names(), (std::vector<std::string>{"q", "r"}));
    run(FieldAction::Scan, {.key = "K", .value = "red", .valueOnly = true}, "", {v});
    EXPECT_EQ(names(), std::vector<std::string>{"p"});
    run(FieldAction::Scan, {.key = "K", .value = "red", .valueOnly = true, .ignoreCase = false}, "",
        {v});
    EXPECT_TRUE(names().empty());
    run(FieldAction::Scan, {.key = "K", .value = "RED", .valueOnly = true, .include = true}, "",
        {v});
    EXPECT_EQ(names(), (std::vector<std::string>{"p", "s"}));
}

TEST_F(FieldEditTest, AKeyNeverMatchesTheSecondByteOfADoubleByteCharacter) {
    // ア is 83 41: its second byte is "A".
    MemoHolder& j = addHolder(file, "J", {{"kana", {"T=\"\x83\x41\""}}, {"latin", {"T=\"A\""}}});
    run(FieldAction::Scan, {.key = "A", .ignoreCase = false}, "", {&j});
    EXPECT_EQ(linesOf(lines), std::vector<std::string>{"J : latin : A="});
    run(FieldAction::Scan, {.key = "T", .value = "a", .valueOnly = true, .include = true}, "",
        {&j});
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.node(0)->getName_(), "latin");
}

TEST_F(FieldEditTest, SetQuotesTheValueLoadsHoldersAndMarksOnlyTheHoldersItChanged) {
    MemoHolder& same = addHolder(file, "Same", {{"s", {"Date=\"2024\""}}});
    MemoHolder& none = addHolder(file, "None", {{"n", {"X=\"1\""}}});
    MemoHolder& later = addHolder(file, "Later", {}, false);
    access.load = [](MemoHolder& holder) {
        test::addNode(holder, {"l", {"Date=\"old\""}});
        holder.loaded = true;
    };
    const FieldOutcome set = run(FieldAction::Set, {.key = "Date", .ignoreCase = false}, "2024",
                                 {h, &same, &none, &later});
    EXPECT_EQ(set.result, 4);
    EXPECT_TRUE(set.usedReplacement);
    EXPECT_EQ(set.status, "*Done: Set count=4 KeyWord=Date");
    EXPECT_EQ(nodeNamed(*h, "B").getField_("Date"), "\"2024\"");
    EXPECT_EQ(nodeNamed(*h, "B").fields.size(), 2u);
    EXPECT_EQ(nodeNamed(later, "l").getField_("Date"), "\"2024\"");
    EXPECT_EQ(linesOf(lines)[0], "H : A : Date=\"2024\"");
    EXPECT_TRUE(h->changed);
    EXPECT_TRUE(later.changed);
    EXPECT_FALSE(same.changed) << "its node already held the value";
    EXPECT_FALSE(none.changed);
    EXPECT_EQ(set.changed.holders(), (std::vector<MemoHolder*>{h, &later}));

    EXPECT_EQ(run(FieldAction::Set, {.key = "zzz"}, "1").status, "No MemoNode.");
}

TEST_F(FieldEditTest, ReplaceIgnoresLetterCaseAlwaysAndAnEmptyFindTextChangesNothing) {
    MemoHolder& t = addHolder(file, "T", {{"n", {"Tag=\"ABCabc\""}}, {"m", {"Tag=\"zzz\""}}});
    FieldOutcome replaced =
        run(FieldAction::Replace, {.key = "Tag", .value = "abc", .ignoreCase = false}, "x", {&t});
    EXPECT_EQ(nodeNamed(t, "n").getField_("Tag"), "\"xx\"");
    EXPECT_EQ(replaced.result, 1);
    EXPECT_EQ(linesOf(lines)[0], "T : n : Tag=\"xx\"");
    EXPECT_EQ(replaced.status, "*Done: Replace count=1/2 KeyWord=Tag");
    EXPECT_TRUE(t.changed);

    t.changed = false;
    const FieldOutcome empty = run(FieldAction::Replace, {.key = "Tag"}, "x", {&t});
    EXPECT_EQ(empty.status, "*Done: Replace count=0/2 KeyWord=Tag");
    EXPECT_EQ(nodeNamed(t, "m").getField_("Tag"), "\"zzz\"");
    EXPECT_FALSE(t.changed);
}

TEST_F(FieldEditTest, DeleteRemovesTheKeyAndListsTheNodesWithoutIt) {
    const FieldOutcome deleted = run(FieldAction::Delete, {.key = "Date", .ignoreCase = false}, "");
    EXPECT_EQ(deleted.status, "*Done: Delete Field count=2 KeyWord=Date");
    EXPECT_EQ(linesOf(lines), (std::vector<std::string>{"H : A", "H : B"}));
    EXPECT_TRUE(nodeNamed(*h, "A").fields.empty());
    EXPECT_EQ(nodeNamed(*h, "B").getField_("UpdateDate"), "\"2\"");
    EXPECT_TRUE(h->changed);
}

TEST_F(FieldEditTest, RefusalsChangeNothing) {
    EXPECT_EQ(run(FieldAction::Scan, {.key = ""}, "").status, kFieldIsEmpty);
    EXPECT_EQ(runFieldEdit(FieldAction::Scan, {.key = "a"}, "", {}, access, lines).status,
              kNoHolderSelected);
    for (const char* key : {"a=b", "a\"", "<a", "a b", "a/b", "a&b", "a\tb"}) {
        const FieldOutcome bad = run(FieldAction::Set, {.key = key}, "v");
        EXPECT_EQ(bad.status, kBadFieldKey) << key;
        EXPECT_EQ(bad.result, -1);
    }
    EXPECT_TRUE(isStorableFieldKey("\x93\xfa\x95\x74"));  // 日付
    EXPECT_FALSE(h->changed);
    EXPECT_EQ(nodeNamed(*h, "E").fields.size(), 0u);
}

TEST_F(FieldEditTest, LinesOfDeletedNodesAreSkippedByMarksAndTheEditorList) {
    MemoHolder& other = addHolder(file, "O", {{"o", {"Date=\"x\""}}});
    run(FieldAction::Scan, {.key = "Date", .ignoreCase = false}, "", {h, &other});
    ASSERT_EQ(lines.size(), 3u);
    h->removeNode_(&nodeNamed(*h, "A"));
    EXPECT_EQ(lines.node(0), nullptr);

    nodeNamed(other, "o").setMarked_(true);
    other.changed = false;
    std::vector<std::string> setCalls;
    const FieldOutcome marked = markListed(lines, true, [&](MemoNode& node, bool on) {
        setCalls.push_back(node.getName_());
        node.setMarked_(on);
    });
    EXPECT_EQ(marked.status, "Done: Mark count=2");
    EXPECT_EQ(setCalls, std::vector<std::string>{"B"});
    EXPECT_TRUE(h->changed);
    EXPECT_FALSE(other.changed) << "its node was marked already";

    const auto listed = listedNodes(lines);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].first, "1");
    EXPECT_EQ(listed[1].first, "2");
    EXPECT_EQ(listed[1].second.get(), &nodeNamed(other, "o"));
}

TEST_F(FieldEditTest, KeyAndValueListsAreSortedIgnoringCase) {
    MemoHolder& k = addHolder(file, "K",
                              {{"a", {"zeta=\" b \"", "Alpha=\"B\""}},
                               {"b", {"alpha=\"a\"", "Beta=\"\""}},
                               {"c", {"ALPHA=\" a\""}}});
    EXPECT_EQ(fieldKeysOf(k), (std::vector<std::string>{"Alpha", "Beta", "zeta"}));
    EXPECT_EQ(fieldValuesOf(k, "alpha"), (std::vector<std::string>{"a", "B"}));
    EXPECT_EQ(fieldValuesOf(k, "zeta"), std::vector<std::string>{"b"});
}

}  // namespace
}  // namespace zel
