#include "merge/KeyedMerge.h"

#include <unordered_map>

namespace zel {

namespace {

// Slot numbers by key; a repeated key's later items under the key and their
// occurrence number.
class SlotIndex {
  public:
    explicit SlotIndex(std::size_t expected) { first_.reserve(expected); }

    // The slot of the item `key` of a version whose index field `side` is;
    // a new slot when no earlier version had this occurrence of the key.
    int slotFor(std::string_view key, int MergeSlot::*side, Alignment& alignment) {
        auto [found, fresh] = first_.try_emplace(key, static_cast<int>(alignment.slots.size()));
        if (fresh) {
            alignment.slots.emplace_back();
            return found->second;
        }
        if (alignment.slots[found->second].*side < 0) return found->second;
        return repeatedSlot(key, side, alignment);
    }

  private:
    int repeatedSlot(std::string_view key, int MergeSlot::*side, Alignment& alignment) {
        std::vector<int>& later = repeats_[key];
        for (int slot : later)
            if (alignment.slots[slot].*side < 0) return slot;
        later.push_back(static_cast<int>(alignment.slots.size()));
        alignment.slots.emplace_back();
        return later.back();
    }

    std::unordered_map<std::string_view, int> first_;
    std::unordered_map<std::string_view, std::vector<int>> repeats_;
};

void alignVersion(const std::vector<std::string_view>& keys, int MergeSlot::*side,
                  std::vector<int>& order, SlotIndex& index, Alignment& alignment) {
    order.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int slot = index.slotFor(keys[i], side, alignment);
        alignment.slots[slot].*side = static_cast<int>(i);
        order.push_back(slot);
    }
}

bool inAll(const MergeSlot& slot) {
    return slot.base >= 0 && slot.ours >= 0 && slot.theirs >= 0;
}

// Whether `order` lists the slots all three versions share in another order
// than the base does.
bool reordered(const Alignment& alignment, const std::vector<int>& order) {
    std::size_t b = 0;
    const std::vector<int>& base = alignment.baseOrder;
    for (int slot : order) {
        if (!inAll(alignment.slots[slot])) continue;
        while (b < base.size() && !inAll(alignment.slots[base[b]])) ++b;
        if (b == base.size() || base[b] != slot) return true;
        ++b;
    }
    return false;
}

}  // namespace

Alignment alignByKey(const std::vector<std::string_view>& base,
                     const std::vector<std::string_view>& ours,
                     const std::vector<std::string_view>& theirs) {
    Alignment alignment;
    alignment.slots.reserve(ours.size() + theirs.size() / 16 + 1);
    SlotIndex index(ours.size() + theirs.size() / 16 + 1);
    alignVersion(base, &MergeSlot::base, alignment.baseOrder, index, alignment);
    alignVersion(ours, &MergeSlot::ours, alignment.oursOrder, index, alignment);
    alignVersion(theirs, &MergeSlot::theirs, alignment.theirsOrder, index, alignment);
    return alignment;
}

std::vector<int> mergedOrder(const Alignment& alignment, const std::vector<char>& kept) {
    const bool theirsLead =
        !reordered(alignment, alignment.oursOrder) && reordered(alignment, alignment.theirsOrder);
    const std::vector<int>& leader = theirsLead ? alignment.theirsOrder : alignment.oursOrder;
    const std::vector<int>& follower = theirsLead ? alignment.oursOrder : alignment.theirsOrder;
    const std::size_t count = alignment.slots.size();
    std::vector<char> inLeader(count, 0), inFollower(count, 0);
    for (int slot : leader) inLeader[slot] = 1;
    for (int slot : follower) inFollower[slot] = 1;

    // The follower's own kept items, grouped by the anchor they follow (the
    // slot number, or `count` for the start of the list).
    std::unordered_map<int, std::vector<int>> after;
    int anchor = static_cast<int>(count);
    for (int slot : follower) {
        if (!kept[slot]) continue;
        if (inLeader[slot])
            anchor = slot;
        else
            after[anchor].push_back(slot);
    }

    std::vector<int> order;
    order.reserve(count);
    auto flush = [&](int from) {
        auto found = after.find(from);
        if (found != after.end())
            order.insert(order.end(), found->second.begin(), found->second.end());
    };
    int pending = static_cast<int>(count);
    for (int slot : leader) {
        if (!kept[slot]) continue;
        if (inFollower[slot]) {
            flush(pending);
            pending = slot;
        }
        order.push_back(slot);
    }
    flush(pending);
    return order;
}

}  // namespace zel
