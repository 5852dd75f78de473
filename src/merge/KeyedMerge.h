#pragma once
// The three versions of an ordered list of keyed items (nodes by UID, fields
// by key, holders by file name) lined up item by item, what the merge does
// with each item, and the order of the merged list.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// One item as the three versions hold it: its index in each, -1 where absent.
struct MergeSlot {
    int base = -1;
    int ours = -1;
    int theirs = -1;
};

struct Alignment {
    std::vector<MergeSlot> slots;
    // Slot numbers in each version's order.
    std::vector<int> baseOrder, oursOrder, theirsOrder;
};

// Lines up items by key. A key may repeat within a version: its n-th item
// then matches the n-th item of that key in the others. The keys must live
// until the call returns.
Alignment alignByKey(const std::vector<std::string_view>& base,
                     const std::vector<std::string_view>& ours,
                     const std::vector<std::string_view>& theirs);

enum class SlotMerge {
    Drop,              // deleted on one side and unchanged on the other (or on both)
    Ours,              // ours as it stands: unchanged by them, or changed alike
    Theirs,            // theirs as it stands: changed or added by them only
    OursOverDelete,    // they deleted what we changed: kept, a conflict
    TheirsOverDelete,  // we deleted what they changed: kept, a conflict
    Both,              // both changed (or added) it differently
};

// What becomes of a slot, given whether two of its versions are equal
// (asked only for versions the slot has).
template <class Equal>
SlotMerge decideSlot(const MergeSlot& slot, Equal&& equal) {
    enum { kBase, kOurs, kTheirs };
    const bool inBase = slot.base >= 0, inOurs = slot.ours >= 0, inTheirs = slot.theirs >= 0;
    if (!inOurs && !inTheirs) return SlotMerge::Drop;
    if (!inTheirs) {
        if (!inBase) return SlotMerge::Ours;
        return equal(kBase, kOurs) ? SlotMerge::Drop : SlotMerge::OursOverDelete;
    }
    if (!inOurs) {
        if (!inBase) return SlotMerge::Theirs;
        return equal(kBase, kTheirs) ? SlotMerge::Drop : SlotMerge::TheirsOverDelete;
    }
    if (equal(kOurs, kTheirs)) return SlotMerge::Ours;
    if (inBase && equal(kBase, kOurs)) return SlotMerge::Theirs;
    if (inBase && equal(kBase, kTheirs)) return SlotMerge::Ours;
    return SlotMerge::Both;
}

// The merged order of the slots `kept` marks. It follows ours, unless only
// they reordered what all three versions share, then theirs. An item the
// other side holds and the leading side does not comes after its nearest
// predecessor there that the leading side holds too, and after the items
// only the leading side has that directly follow that predecessor.
std::vector<int> mergedOrder(const Alignment& alignment, const std::vector<char>& kept);

}  // namespace zel
