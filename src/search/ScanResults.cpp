#include "search/ScanResults.h"

#include <algorithm>

namespace zel {

void ScanResults::clear() {
    blocks_ = {};
    entries_ = {};
    bytes_ = 0;
}

void ScanResults::add(const MemoNode* node, std::initializer_list<std::string_view> pieces) {
    std::size_t length = 0;
    for (std::string_view piece : pieces) length += piece.size();
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < length) {
        blocks_.emplace_back();
        blocks_.back().reserve(std::max(kBlockBytes, length));
    }
    std::string& block = blocks_.back();
    const std::size_t start = block.size();
    std::size_t head = 0;
    for (std::string_view piece : pieces) {
        head = block.size() - start;
        block.append(piece);
    }
    bytes_ += length;
    entries_.push_back({NodeRef(node), static_cast<std::uint32_t>(blocks_.size() - 1),
                        static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length),
                        static_cast<std::uint32_t>(head)});
}

std::string_view ScanResults::text(std::size_t row) const {
    const Entry& entry = entries_[row];
    return std::string_view(blocks_[entry.block]).substr(entry.offset, entry.length);
}

std::vector<std::string> ScanResults::lines() const {
    std::vector<std::string> all;
    all.reserve(entries_.size());
    for (std::size_t row = 0; row < entries_.size(); ++row) all.emplace_back(text(row));
    return all;
}

}  // namespace zel
