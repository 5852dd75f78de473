#include "search/KeywordHistory.h"

#include <algorithm>

namespace zel {

void KeywordHistory::add(std::string_view keyword) {
    if (keyword.empty()) return;
    auto earlier = std::find(entries_.begin(), entries_.end(), keyword);
    if (earlier != entries_.end()) entries_.erase(earlier);
    entries_.insert(entries_.begin(), std::string(keyword));
    if (entries_.size() > kLimit) entries_.resize(kLimit);
}

}  // namespace zel
