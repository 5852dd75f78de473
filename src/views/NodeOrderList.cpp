#include "views/NodeOrderList.h"

#include <algorithm>
#include <unordered_map>

namespace zel {

void NodeOrderList::arrangeAs(const std::vector<const TObjectNamed*>& order) {
    std::unordered_map<const TObjectNamed*, std::size_t> rank;
    rank.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) rank.emplace(order[i], i);
    reorderEntries([&rank, &order](std::vector<Entry>& entries) {
        std::vector<Entry> placed(order.size());
        std::vector<bool> filled(order.size(), false);
        std::vector<Entry> rest;
        for (Entry& entry : entries) {
            auto found = rank.find(entry.child.get());
            if (found == rank.end() || filled[found->second]) {
                rest.push_back(std::move(entry));
                continue;
            }
            placed[found->second] = std::move(entry);
            filled[found->second] = true;
        }
        entries.clear();
        for (std::size_t i = 0; i < placed.size(); ++i)
            if (filled[i]) entries.push_back(std::move(placed[i]));
        for (Entry& entry : rest) entries.push_back(std::move(entry));
    });
}

void NodeOrderList::reverseRange(std::size_t first, std::size_t last) {
    reorderEntries([first, last](std::vector<Entry>& entries) {
        std::size_t end = std::min(last, entries.size());
        if (first < end) std::reverse(entries.begin() + first, entries.begin() + end);
    });
}

}  // namespace zel
