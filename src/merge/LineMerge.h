#pragma once
// diff3 of line lists: what one side changed against the common version is
// taken, what both changed alike is taken once, and a stretch both changed
// differently is a conflict. A merge yields two results that differ only in
// the conflicts: one with our lines there, one with theirs, so a caller that
// keeps both versions of a conflict loses nothing.

#include <cstddef>
#include <string_view>
#include <vector>

#include "text/LineBlock.h"

namespace zel {

using LineViews = std::vector<std::string_view>;

// Views of a list of lines (a memo, a comment), valid while it is unchanged.
template <class Lines>
LineViews lineViews(const Lines& lines) {
    return LineViews(lines.begin(), lines.end());
}
LineBlock lineBlock(const LineViews& lines);

struct LineMerge {
    LineViews ours;    // each conflict resolved to our lines
    LineViews theirs;  // each conflict resolved to their lines
    std::size_t conflicts = 0;
};

// For each line of `a`, the index of the line of `b` it is matched with in a
// shortest edit script, or -1. Matches keep their order. Past a few thousand
// edits the middle is taken as replaced whole: a coarser diff, never a wrong one.
std::vector<int> matchLines(const LineViews& a, const LineViews& b);

// The lines views point into the inputs. Without a common version pass an
// empty `base`: then only what both sides hold alike merges cleanly.
LineMerge mergeLines(const LineViews& base, const LineViews& ours, const LineViews& theirs);

}  // namespace zel
