#include "search/ScanResults.h"

#include <algorithm>

namespace zel {

void ScanResults::clear() {
    blocks_.clear();
    entries_ = {};
    bytes_ = 0;
}

void ScanResults::add(const MemoNode* node, std::initializer_list<std::string_view> pieces) {
    add(NodeRef(node), pieces, pieces.size() - 1);
}

void ScanResults::add(const NodeRef& node, std::initializer_list<std::string_view> pieces,
                      std::size_t tailPiece) {
    std::size_t length = 0;
    for (std::string_view piece : pieces) length += piece.size();
    if (blocks_.empty() || blocks_.back().room() < length) {
        const std::size_t next = blocks_.empty()
                                     ? kFirstBlockBytes
                                     : std::min(2 * blocks_.back().capacity(), kBlockBytes);
        blocks_.emplace_back(std::max(next, length));
    }
    LargeBuffer& block = blocks_.back();
    const std::size_t start = block.size();
    std::size_t head = 0;
    std::size_t index = 0;
    for (std::string_view piece : pieces) {
        if (index++ == tailPiece) head = block.size() - start;
        block.append(piece);
    }
    bytes_ += length;
    entries_.push_back({node, static_cast<std::uint32_t>(blocks_.size() - 1),
                        static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length),
                        static_cast<std::uint32_t>(head)});
}

std::string_view ScanResults::text(std::size_t row) const {
    const Entry& entry = entries_[row];
    return blocks_[entry.block].view().substr(entry.offset, entry.length);
}

std::vector<std::string> ScanResults::lines() const {
    std::vector<std::string> all;
    all.reserve(entries_.size());
    for (std::size_t row = 0; row < entries_.size(); ++row) all.emplace_back(text(row));
    return all;
}

}  // namespace zel
