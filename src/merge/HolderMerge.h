#pragma once
// Three-way merge of holders, node by node. Nodes are matched by their UID
// (nodes without one by name and by place among nodes of that name). A node
// added on either side is kept; one deleted on one side and unchanged on the
// other is dropped; one changed on one side takes that side; one changed on
// both is merged field by field and its memo and comment line by line. What
// both changed differently is kept twice: our node, and beside it theirs,
// named "<name> (conflict <yyyymmdd hhnnss>)" and marked with a ConflictFrom
// field saying where it came from. Nothing is dropped without a line in the
// report.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/DateTime.h"

namespace zel {

class MemoHolder;

// The field that marks a conflict copy with where it came from.
inline constexpr std::string_view kConflictFromKey = "ConflictFrom";

struct MergeOptions {
    // Where their version came from (a branch, a device, a file): the value
    // of a conflict copy's ConflictFrom field.
    std::string theirsLabel = "theirs";
    // The time in the names of conflict copies; none: the clock's now.
    std::optional<DateTime> when;
};

struct MergeReport {
    // One line per conflict kept (Shift_JIS): what it concerns and what was kept.
    std::vector<std::string> conflicts;
    bool clean() const { return conflicts.empty(); }
};

// Merges `theirs` into `ours` in place; `base` is the version both came
// from, null when none is known (then nothing counts as deleted, and a node
// the two hold differently is a conflict). Nodes of ours that are kept stay
// the same objects, changed in place, and the current node stays current
// while it is kept. Node order follows ours; when only they reordered, theirs.
// A sorted holder is sorted again. `base` may be `ours` itself: the result
// is then theirs, with our unchanged nodes kept as objects (a reload).
MergeReport mergeIntoHolder(MemoHolder& ours, const MemoHolder* base, const MemoHolder& theirs,
                            const MergeOptions& options = {});

}  // namespace zel
