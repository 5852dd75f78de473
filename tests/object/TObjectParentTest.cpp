#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "object/Agents.h"
#include "object/Report.h"
#include "object/TObjectParent.h"
#include "text/LineList.h"
#include "text/Sjis.h"

namespace zel {
namespace {

// Collects reports instead of writing them to standard error.
class ReportCatcher {
  public:
    ReportCatcher() {
        previous_ = setReporter([this](const std::string& text) { reports.push_back(text); });
    }
    ~ReportCatcher() { setReporter(previous_); }
    std::vector<std::string> reports;

  private:
    Reporter previous_;
};

TObjectNamed* add(TObjectParent& parent, const std::string& name, std::string* given = nullptr) {
    auto child = std::make_unique<TObjectNamed>();
    TObjectNamed* raw = child.get();
    std::string actual = parent.addChild_(std::move(child), name);
    if (given) *given = actual;
    return raw;
}

std::vector<std::string> names(const TObjectParent& parent) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < parent.childCount(); ++i) out.push_back(parent.nameAt(i));
    return out;
}

TEST(UniqueName, StemFromWantedDigitsFromClashingIndex) {
    TObjectParent parent;
    for (auto n : {"a", "b", "c", "memo"}) add(parent, n);
    std::string given;
    add(parent, "Memo", &given);
    EXPECT_EQ(given, "Memo_03");
}

TEST(UniqueName, CountsUpDigitsAndFallsBackAfterHundredTries) {
    TObjectParent parent;
    add(parent, "Note1");
    add(parent, "Note2");
    std::string given;
    add(parent, "Note1", &given);
    EXPECT_EQ(given, "Note3");

    TObjectParent nine;
    for (int i = 1; i <= 9; ++i) add(nine, "Note" + std::to_string(i));
    add(nine, "Note1", &given);
    EXPECT_EQ(given, "Note0");

    TObjectParent ten;
    for (int i = 0; i <= 9; ++i) add(ten, "Note" + std::to_string(i));
    add(ten, "Note1", &given);
    EXPECT_EQ(given, "Note1_100");
    add(ten, "Note1", &given);
    EXPECT_EQ(given, "Note1_101") << "the fallback name is counted up like any other";
}

TEST(UniqueName, LookupIgnoresLetterCaseButNotDoubleByteCharacters) {
    TObjectParent parent;
    add(parent, "\x83\x41");  // katakana A; folding its second byte would make it ヂ (83 61)
    std::string given;
    add(parent, "\x83\x61", &given);
    EXPECT_EQ(given, "\x83\x61");
    EXPECT_EQ(parent.getChild_("\x83\x61"), parent.childAt(1));
    EXPECT_EQ(parent.getChild_("\x82\x60"), nullptr);
    add(parent, "\x82\x60");  // full-width A
    EXPECT_EQ(parent.getChild_("\x82\x81"), parent.childAt(2)) << "full-width a finds A";
}

// The rule walked from the start for every name, with no remembered search:
// what the resumed searches must agree with.
std::string walkedName(const TObjectParent& parent, const std::string& wanted) {
    return uniqueName(wanted, [&](std::string_view name) { return parent.indexOfName(name); });
}

TEST(UniqueName, ManyEqualNamesGetTheRuleNamesInLinearTime) {
    // Quadratic naming would take minutes here; the rule's names must not change.
    TObjectParent parent;
    constexpr int kCount = 200000;
    std::string given;
    for (int i = 0; i < kCount; ++i) add(parent, "x", &given);
    EXPECT_EQ(parent.nameAt(0), "x");
    EXPECT_EQ(parent.nameAt(1), "x_00");
    EXPECT_EQ(parent.nameAt(100), "x_99");
    EXPECT_EQ(parent.nameAt(101), "x_100");
    EXPECT_EQ(given, "x_" + std::to_string(kCount - 2));

    TObjectParent stamped;  // nameless records get a time stamp with digits
    for (int i = 0; i < kCount; ++i) add(stamped, "20060301 142530 ");
    EXPECT_EQ(stamped.nameAt(1), "20060301 142531 ");
    EXPECT_EQ(stamped.nameAt(100), "20060301 142630 ");
    EXPECT_EQ(stamped.nameAt(101), "20060301 142530 _100");
}

TEST(UniqueName, ResumedSearchesAgreeWithAFreshWalkAfterEveryChange) {
    TObjectParent parent;
    for (int i = 0; i < 150; ++i) add(parent, "memo");
    for (int i = 0; i < 30; ++i) add(parent, "note1");
    // Freed names are found again: a removal, a rename away and a move that
    // changes the index of the clashing entry.
    parent.deleteChild_(parent.childAt(39));  // memo_38
    EXPECT_EQ(parent.uniqueName_("memo"), walkedName(parent, "memo"));
    EXPECT_EQ(parent.uniqueName_("memo"), "memo_38");
    parent.putNameChild_as_(parent.getChild_("note5"), "other");
    EXPECT_EQ(parent.uniqueName_("note1"), "note5");
    add(parent, "a");
    parent.moveChildTo_(parent.childCount() - 1, 0);  // memo now stands at index 1
    EXPECT_EQ(parent.uniqueName_("Memo"), walkedName(parent, "Memo"));
    EXPECT_EQ(parent.uniqueName_("Memo"), "Memo_38");
    parent.truncateChildren_(100);
    EXPECT_EQ(parent.uniqueName_("memo"), walkedName(parent, "memo"));
    for (std::size_t i = 0; i < parent.childCount(); ++i)
        EXPECT_EQ(parent.getChild_(parent.nameAt(i)), parent.childAt(i)) << "index rebuilt";
    parent.clear_();
    EXPECT_EQ(parent.uniqueName_("memo"), "memo");
}

// Random adds, raw duplicates, renames, deletions, moves, truncations and
// sorts over a few related names; after each, every lookup and every resumed
// search (kept across the changes) must agree with a scan and a fresh walk.
TEST(UniqueName, KeptSearchesAndTheIndexAgreeWithAScanAfterRandomChanges) {
    const std::vector<std::string> pool = {
        "x",     "X",        "x_05",        "x_1",   "n7",      "n07",       "x_00",
        "Note9", "\x82\x60", "\x82\x81_00", "x_100", "x_1_100", "Note9_101", "n"};
    std::mt19937 random(12);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    TObjectParentEX parent;
    auto scannedIndex = [&](std::string_view name) {
        for (std::size_t i = 0; i < parent.childCount(); ++i)
            if (sameText(parent.nameAt(i), name)) return static_cast<int>(i);
        return -1;
    };
    // Half the names wanted are "x", so the list grows past the hundred
    // variants after which the rule falls back to counting tries.
    for (int step = 0; step < 3000; ++step) {
        const std::string& wanted = pick(2) ? pool[0] : pool[pick(pool.size())];
        const std::size_t count = parent.childCount();
        const int what = static_cast<int>(pick(count < 250 ? 3 : 12));
        if (what == 0) {
            std::string expected = walkedName(parent, wanted);
            std::string given;
            add(parent, wanted, &given);
            ASSERT_EQ(given, expected) << step;
        } else if (what == 1) {
            parent.insertChildRaw_(pick(count + 1), std::make_unique<TObjectNamed>(), wanted);
        } else if (what <= 5) {
            TObjectNamed* child = parent.childAt(pick(count));
            const int clash = scannedIndex(wanted);
            std::string expected = clash == parent.indexOfChild(child) ? std::string()
                                   : clash < 0                         ? wanted
                                                                       : walkedName(parent, wanted);
            ASSERT_EQ(parent.putNameChild_as_(child, wanted), expected) << step;
        } else if (what <= 8) {
            ASSERT_TRUE(parent.deleteChild_(parent.childAt(pick(count))));
        } else if (what <= 10) {
            parent.moveChildTo_(pick(count), pick(count));
        } else if (pick(20) == 0) {
            parent.truncateChildren_(count - pick(count / 4));
        } else if (pick(10) == 0) {
            parent.flagSort = true;
            parent.flagAscending = pick(2) == 0;
            parent.keepOrder_();
            parent.flagSort = false;
        }
        for (const auto& name : pool) {
            const int index = scannedIndex(name);
            ASSERT_EQ(parent.indexOfName(name), index) << step << " " << name;
            ASSERT_EQ(parent.getChild_(name), index < 0 ? nullptr : parent.childAt(index));
            ASSERT_EQ(parent.uniqueName_(name), walkedName(parent, name)) << step << " " << name;
        }
        for (std::size_t i = 0; i < parent.childCount(); ++i)
            ASSERT_EQ(parent.indexOfChild(parent.childAt(i)), static_cast<int>(i)) << step;
    }
}

TEST(Lookup, LooseLookupTrimsButTheIndexDoesNot) {
    TObjectParent parent;
    add(parent, "work");
    add(parent, " Work ");
    EXPECT_EQ(parent.childCount(), 2u) << "names differing in blanks are distinct";
    EXPECT_EQ(parent.getChild_(" work "), parent.childAt(1));
    EXPECT_EQ(parent.findChild_("WORK  "), parent.childAt(0)) << "first trimmed match";
    EXPECT_EQ(parent.findChild_("none"), nullptr);
}

TEST(Rename, OwnNameInOtherCaseChangesNothing) {
    TObjectParent parent;
    TObjectNamed* memo = add(parent, "memo");
    add(parent, "other");
    EXPECT_EQ(memo->putName_as_("MEMO"), "");
    EXPECT_EQ(memo->getName_(), "memo");
    EXPECT_EQ(memo->putName_as_("Other"), "Other_01");
    EXPECT_EQ(memo->getName_(), "Other_01");
    EXPECT_EQ(parent.getChild_("memo"), nullptr);
    EXPECT_EQ(parent.getChild_("other_01"), memo);
    EXPECT_EQ(parent.indexOfChild(memo), 0) << "renaming keeps the position";
}

TEST(Rename, EmptyWantedOrForeignChildIsRefused) {
    TObjectParent parent;
    TObjectNamed* a = add(parent, "a");
    TObjectNamed stranger;
    EXPECT_EQ(parent.putNameChild_as_(a, ""), "");
    EXPECT_EQ(parent.putNameChild_as_(&stranger, "x"), "");
    EXPECT_EQ(parent.getNameChild_(&stranger), "");
}

TEST(Move, EndsStayPutAndMiddleSwaps) {
    TObjectParent parent;
    TObjectNamed* a = add(parent, "a");
    TObjectNamed* b = add(parent, "b");
    TObjectNamed* c = add(parent, "c");
    EXPECT_EQ(a->moveUp_(), 0);
    EXPECT_EQ(c->moveDown_(), 2);
    EXPECT_EQ(b->moveUp_(), 0);
    EXPECT_EQ(names(parent), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(a->moveDown_(), 2);
    EXPECT_EQ(names(parent), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(parent.indexOfChild(a), 2);
    TObjectNamed orphan;
    EXPECT_EQ(orphan.moveUp_(), -1);
    EXPECT_EQ(orphan.getName_(), "noname");
    EXPECT_EQ(orphan.putName_as_("x"), "noname");
}

TEST(Insert, RawRulesAppendPastTheEnd) {
    TObjectParent parent;
    parent.insertChildRaw_(5, std::make_unique<TObjectNamed>(), "x");
    parent.insertChildRaw_(0, std::make_unique<TObjectNamed>(), "y");
    parent.insertChildRaw_(1, std::make_unique<TObjectNamed>(), "X");
    EXPECT_EQ(names(parent), (std::vector<std::string>{"y", "X", "x"}));
    EXPECT_EQ(parent.getChild_("x"), parent.childAt(1)) << "first entry of equal names";
    EXPECT_EQ(parent.findChild_("  X "), parent.childAt(1));
    EXPECT_TRUE(parent.deleteChild_(parent.childAt(1)));
    EXPECT_EQ(parent.getChild_("x"), parent.childAt(1));
    EXPECT_EQ(parent.indexOfChild(parent.childAt(1)), 1);
}

// Every child must be found at its own index after any change of the list,
// and a child of another list or one taken out must not be found at all.
TEST(Index, EveryChildIsFoundWhereItStandsAfterEveryKindOfChange) {
    TObjectParentEX parent;
    for (const char* name : {"e", "b", "d", "a", "c"}) add(parent, name);
    auto expectConsistent = [&parent](const char* step) {
        for (std::size_t i = 0; i < parent.childCount(); ++i)
            ASSERT_EQ(parent.indexOfChild(parent.childAt(i)), static_cast<int>(i)) << step;
    };
    expectConsistent("appended");
    parent.insertChildRaw_(1, std::make_unique<TObjectNamed>(), "m");
    expectConsistent("inserted in the middle");
    auto taken = parent.extractChild_(parent.childAt(2));
    expectConsistent("taken from the middle");
    EXPECT_EQ(parent.indexOfChild(taken.get()), -1);
    parent.moveChildTo_(0, 3);
    expectConsistent("moved down");
    parent.moveChildTo_(4, 1);
    expectConsistent("moved up");
    parent.flagSort = true;
    parent.keepOrder_();
    EXPECT_EQ(names(parent), (std::vector<std::string>{"a", "c", "d", "e", "m"}));
    expectConsistent("sorted");
    EXPECT_EQ(parent.getChild_("D"), parent.childAt(2)) << "names stay found after a sort";

    TObjectParent other;
    TObjectNamed* stranger = add(other, "x");
    EXPECT_EQ(parent.indexOfChild(stranger), -1) << "same place in another list";
    parent.clear_();
    EXPECT_EQ(parent.indexOfChild(stranger), -1);
}

TEST(SortedParent, KeepsOrderAfterAddAndRename) {
    TObjectParentEX parent;
    parent.flagSort = true;
    parent.flagAscending = false;
    parent.addChild_(std::make_unique<TObjectNamed>(), "c");
    parent.addChild_(std::make_unique<TObjectNamed>(), "a");
    parent.addChild_(std::make_unique<TObjectNamed>(), "b");
    EXPECT_EQ(names(parent), (std::vector<std::string>{"c", "b", "a"}));
    parent.flagAscending = true;
    parent.childAt(0)->putName_as_("A0");
    EXPECT_EQ(names(parent), (std::vector<std::string>{"a", "A0", "b"}));
    parent.clear_();
    EXPECT_FALSE(parent.flagSort);
    EXPECT_TRUE(parent.flagAscending);
}

TEST(Copy, DeepCopyKeepsNamesOrderAndFlagsAndSetsOwners) {
    TObjectParentEX source;
    source.flagSort = true;
    auto inner = std::make_unique<TObjectParent>();
    inner->addChild_(std::make_unique<TObjectNamed>(), "leaf");
    source.addChild_(std::move(inner), "inner");
    source.addChild_(std::make_unique<TObjectParent>(), "b");
    auto copy = source.deepCopy();
    auto* ex = dynamic_cast<TObjectParentEX*>(copy.get());
    ASSERT_NE(ex, nullptr);
    EXPECT_TRUE(ex->flagSort);
    EXPECT_EQ(names(*ex), (std::vector<std::string>{"b", "inner"}));
    auto* innerCopy = dynamic_cast<TObjectParent*>(ex->getChild_("inner"));
    ASSERT_NE(innerCopy, nullptr);
    EXPECT_NE(innerCopy, source.getChild_("inner"));
    EXPECT_EQ(innerCopy->owner, ex);
    EXPECT_EQ(innerCopy->childAt(0)->getName_(), "leaf");
}

TEST(Stubs, ReportTheirFixedTextsAndYieldNeutralResults) {
    ReportCatcher catcher;
    TObjectNamed plain;
    TObjectNamed other;
    EXPECT_EQ(plain.getNameChild_(&other), "");
    EXPECT_EQ(plain.putNameChild_as_(&other, "x"), "");
    EXPECT_TRUE(checkNIL(nullptr));
    EXPECT_FALSE(checkNIL(&plain));
    AgentAPLAbs agent;
    EXPECT_FALSE(agent.isBreak_());
    EXPECT_EQ(agent.message_("hello"), -1);
    ASSERT_EQ(catcher.reports.size(), 5u);
    EXPECT_EQ(catcher.reports[0],
              "Should not execute. self.classname=TObjectNamed in TObjectNamed.getNameChild_ ");
    EXPECT_EQ(catcher.reports[1], "Should not execute. TObjectNamed.putNameChild_as_ ");
    EXPECT_EQ(catcher.reports[2], "TObjectNamed.checkNIL");
    EXPECT_EQ(catcher.reports[4], "Still not implemented. hello");
}

class FakeWindow : public MainWindowLink, public NodeWindowLink {
  public:
    bool isBreakRequested() const override { return breakRequested; }
    void showStatus(std::string_view text) override { status = text; }
    bool internetEnabled() const override { return internet; }
    MainWindowLink* mainWindowLink() const override { return main; }
    bool breakRequested = false, internet = false;
    std::string status;
    MainWindowLink* main = nullptr;
};

TEST(Agents, ForwardToTheirWindows) {
    FakeWindow window;
    AgentAPLZEL zel(&window);
    EXPECT_FALSE(zel.isBreak_());
    window.breakRequested = true;
    EXPECT_TRUE(zel.isBreak_());
    EXPECT_EQ(zel.message_("busy"), 0);
    EXPECT_EQ(window.status, "busy");
    EXPECT_EQ(zel.query_("getUIInternet"), "false");
    window.internet = true;
    EXPECT_EQ(zel.query_("getUIInternet"), "true");
    EXPECT_EQ(zel.query_("other"), "");

    FakeWindow nodeWindow;
    AgentAPLMemoNode node(&nodeWindow);
    EXPECT_FALSE(node.isBreak_());
    EXPECT_EQ(node.query_("getUIInternet"), "true") << "no main window";
    nodeWindow.main = &window;
    window.internet = false;
    EXPECT_EQ(node.query_("getUIInternet"), "false");
    node.message_("line");
    EXPECT_EQ(nodeWindow.status, "line");
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

// A child that knows which it is, so two lists can be compared child by child.
struct Tagged : TObjectNamed {
    explicit Tagged(int id) : id(id) {}
    int id;
};

// Sorted as every rename used to sort it: the whole list, stably.
class SortedWhole : public TObjectParentEX {
  public:
    std::string putNameChild_as_(TObjectNamed* child, std::string_view wantedName) override {
        std::string result = TObjectParent::putNameChild_as_(child, wantedName);
        keepOrder_();
        return result;
    }
};

// Renames in a sorted list move one entry instead of sorting the list; the
// order must be the one a whole stable sort gives, after any change that may
// have put the list out of order, in both directions and with repeated names.
TEST(SortedParent, RenamingInASortedListMatchesAWholeSort) {
    std::mt19937 random(5);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const std::vector<std::string> pool = {"a", "B", "b1", "c", "k", "M", "m2", "x", "z9"};
    TObjectParentEX fast;
    SortedWhole whole;
    TObjectParentEX* both[] = {&fast, &whole};
    auto ids = [](const TObjectParentEX& parent) {
        std::vector<std::pair<int, std::string>> out;
        for (std::size_t i = 0; i < parent.childCount(); ++i)
            out.emplace_back(static_cast<Tagged*>(parent.childAt(i))->id, parent.nameAt(i));
        return out;
    };
    int nextId = 0;
    for (int step = 0; step < 4000; ++step) {
        const std::string& name = pool[pick(pool.size())];
        const std::size_t count = fast.childCount();
        const std::size_t at = pick(count + 1), other = pick(count + 1);
        const int what = static_cast<int>(pick(count < 30 ? 3 : 20));
        for (TObjectParentEX* parent : both) {
            if (what == 0) {
                parent->addChild_(std::make_unique<Tagged>(nextId), name);
            } else if (what == 1) {
                parent->insertChildRaw_(at, std::make_unique<Tagged>(nextId), name);
            } else if (what == 2 && step % 7 == 0) {
                parent->flagSort = !parent->flagSort;
            } else if (what == 3 && step % 5 == 0) {
                parent->flagAscending = !parent->flagAscending;
            } else if (what == 4 && count > 0) {
                parent->moveChildTo_(at, other);
            } else if (what <= 6 && count > 0) {
                parent->deleteChild_(parent->childAt(at % count));
            } else if (what == 7) {
                parent->keepOrder_();
            } else if (count > 0) {
                parent->putNameChild_as_(parent->childAt(at % count), name);
            }
        }
        ++nextId;
        ASSERT_EQ(ids(fast), ids(whole)) << "step " << step;
    }

    // A whole sort turns runs of equal names around in a descending list.
    for (TObjectParentEX* parent : both) {
        parent->clear_();
        for (int id = 0; id < 3; ++id)
            parent->insertChildRaw_(9, std::make_unique<Tagged>(id), "b");
        parent->addChild_(std::make_unique<Tagged>(3), "a");
        parent->flagSort = true;
        parent->flagAscending = false;
        parent->keepOrder_();
        parent->putNameChild_as_(parent->childAt(3), "c");
    }
    EXPECT_EQ(ids(fast), ids(whole));
}

TEST(SortedParent, AddingToAnOrderedListMatchesAFullSort) {
    for (bool ascending : {true, false}) {
        TObjectParentEX parent;
        parent.flagSort = true;
        parent.flagAscending = ascending;
        std::vector<std::string> wanted{"m", "b", "x", "B1", "a", "z", "k", "\x82\x60", "c"};
        for (const auto& name : wanted) parent.addChild_(std::make_unique<TObjectNamed>(), name);
        std::vector<std::string> sorted = wanted;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto& a, const auto& b) { return compareText(a, b) < 0; });
        if (!ascending) std::reverse(sorted.begin(), sorted.end());
        std::vector<std::string> got;
        for (std::size_t i = 0; i < parent.childCount(); ++i) got.push_back(parent.nameAt(i));
        EXPECT_EQ(got, sorted) << (ascending ? "ascending" : "descending");
        EXPECT_EQ(parent.getChild_("k"), parent.childAt(parent.indexOfName("K")));
    }
}

}  // namespace
}  // namespace zel
