#include "merge/LineMerge.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zel {
namespace {

using Lines = std::vector<std::string>;

LineViews views(const Lines& lines) {
    return lineViews(lines);
}

Lines owned(const LineViews& lines) {
    return {lines.begin(), lines.end()};
}

LineMerge merge(const Lines& base, const Lines& ours, const Lines& theirs) {
    return mergeLines(views(base), views(ours), views(theirs));
}

// Lines drawn from a small alphabet, so that many repeat, as memo lines do
// ("", "-", the same heading).
Lines randomLines(std::mt19937& random, int count) {
    std::uniform_int_distribution<int> letter(0, 5);
    Lines lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(std::string(1, static_cast<char>('a' + letter(random))));
    return lines;
}

Lines randomlyEdited(std::mt19937& random, Lines lines, int edits) {
    std::uniform_int_distribution<int> kind(0, 2);
    for (int e = 0; e < edits; ++e) {
        std::uniform_int_distribution<std::size_t> where(0, lines.size());
        const std::size_t at = where(random);
        const int k = kind(random);
        if (k == 0 || lines.empty() || at == lines.size())
            lines.insert(lines.begin() + at, "new" + std::to_string(e));
        else if (k == 1)
            lines.erase(lines.begin() + at);
        else
            lines[at] = "changed" + std::to_string(e);
    }
    return lines;
}

// The length of a longest common subsequence, the slow and sure way.
std::size_t longestCommon(const Lines& a, const Lines& b) {
    std::vector<std::vector<std::size_t>> table(a.size() + 1,
                                                std::vector<std::size_t>(b.size() + 1, 0));
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;)
            table[i][j] =
                a[i] == b[j] ? table[i + 1][j + 1] + 1 : std::max(table[i + 1][j], table[i][j + 1]);
    return table[0][0];
}

TEST(MatchLines, FindsALongestCommonSubsequenceInOrder) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        const Lines a = randomLines(random, trial % 40);
        const Lines b = randomlyEdited(random, a, trial % 12);
        const std::vector<int> match = matchLines(views(a), views(b));
        std::size_t matched = 0;
        int last = -1;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (match[i] < 0) continue;
            ASSERT_GT(match[i], last) << "matches out of order in trial " << trial;
            ASSERT_EQ(a[i], b[match[i]]);
            last = match[i];
            ++matched;
        }
        EXPECT_EQ(matched, longestCommon(a, b)) << "trial " << trial;
    }
}

TEST(MergeLines, TakesTheSideThatChangedAndWhatBothChangedAlike) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 200; ++trial) {
        const Lines base = randomLines(random, 30);
        const Lines edited = randomlyEdited(random, base, 1 + trial % 9);
        for (const LineMerge& merged :
             {merge(base, edited, base), merge(base, base, edited), merge(base, edited, edited)}) {
            EXPECT_EQ(merged.conflicts, 0u);
            EXPECT_EQ(owned(merged.ours), edited) << "trial " << trial;
            EXPECT_EQ(owned(merged.theirs), edited);
        }
    }
}

TEST(MergeLines, ChangesInDifferentPlacesMergeCleanly) {
    const Lines base = {"title", "one", "two", "three", "four", "end"};
    const Lines ours = {"Title", "one", "two", "three", "four", "end"};
    const Lines theirs = {"title", "one", "two", "three", "four", "end", "added"};
    const LineMerge merged = merge(base, ours, theirs);
    EXPECT_EQ(merged.conflicts, 0u);
    EXPECT_EQ(owned(merged.ours), (Lines{"Title", "one", "two", "three", "four", "end", "added"}));
    EXPECT_EQ(merged.ours, merged.theirs);
}

TEST(MergeLines, AStretchBothChangedDifferentlyIsOneConflictResolvedBothWays) {
    const Lines base = {"a", "b", "c", "d"};
    const Lines ours = {"A", "b", "ours", "d"};
    const Lines theirs = {"a", "b", "theirs", "theirs 2", "d"};
    const LineMerge merged = merge(base, ours, theirs);
    EXPECT_EQ(merged.conflicts, 1u);
    EXPECT_EQ(owned(merged.ours), (Lines{"A", "b", "ours", "d"}));
    EXPECT_EQ(owned(merged.theirs), (Lines{"A", "b", "theirs", "theirs 2", "d"}));
}

TEST(MergeLines, InsertionsAtOnePlaceConflictUnlessEqual) {
    const Lines base = {"a", "b"};
    EXPECT_EQ(merge(base, {"a", "x", "b"}, {"a", "y", "b"}).conflicts, 1u);
    // The merge's lines are views into its inputs, so the inputs must outlive it.
    const Lines inserted = {"a", "x", "b"};
    const LineMerge same = merge(base, inserted, inserted);
    EXPECT_EQ(same.conflicts, 0u);
    EXPECT_EQ(owned(same.ours), (Lines{"a", "x", "b"}));
}

TEST(MergeLines, WithoutBaseOnlyEqualTextsMergeCleanly) {
    EXPECT_EQ(merge({}, {"a", "b"}, {"a", "b"}).conflicts, 0u);
    const Lines ours = {"a", "b"}, theirs = {"a", "c"};
    const LineMerge merged = merge({}, ours, theirs);
    EXPECT_EQ(merged.conflicts, 1u);
    EXPECT_EQ(owned(merged.ours), (Lines{"a", "b"}));
    EXPECT_EQ(owned(merged.theirs), (Lines{"a", "c"}));
}

// So many edits that the search gives up on the middle: still a merge that
// takes the one side's text exactly.
TEST(MergeLines, TextsTooDifferentToTraceStillMergeOneSidedChangesExactly) {
    Lines base, ours;
    for (int i = 0; i < 6000; ++i) {
        base.push_back("line " + std::to_string(i));
        ours.push_back(i % 2 ? "edited " + std::to_string(i) : base.back());
    }
    const LineMerge merged = merge(base, ours, base);
    EXPECT_EQ(merged.conflicts, 0u);
    EXPECT_EQ(owned(merged.ours), ours);
}

}  // namespace
}  // namespace zel
