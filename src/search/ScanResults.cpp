#include "search/ScanResults.h"

#include <algorithm>
#include <stdexcept>

#include "model/MemoBasic.h"

namespace zel {

void ScanResults::clear() {
    blocks_.clear();
    groups_ = {};
    entries_ = {};
    labels_.clear();
    bytes_ = 0;
}

ScanResults::Span ScanResults::store(std::initializer_list<std::string_view> pieces) {
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
    for (std::string_view piece : pieces) block.append(piece);
    bytes_ += length;
    return {static_cast<std::uint32_t>(blocks_.size() - 1), static_cast<std::uint32_t>(start),
            static_cast<std::uint32_t>(length)};
}

std::string_view ScanResults::view(const Span& span) const {
    if (span.length == 0) return {};
    return blocks_[span.block].view().substr(span.offset, span.length);
}

void ScanResults::add(const MemoNode* node, std::initializer_list<std::string_view> pieces) {
    add(NodeRef(node), pieces, pieces.size() - 1);
}

void ScanResults::add(const NodeRef& node, std::initializer_list<std::string_view> pieces,
                      std::size_t tailPiece) {
    if (groups_.empty() || !(groups_.back().node == node) || groups_.back().head.length > 0)
        groups_.push_back({node, {}});
    std::size_t split = 0;
    for (auto piece = pieces.begin(); piece != pieces.end() && tailPiece > 0; ++piece, --tailPiece)
        split += piece->size();
    entries_.push_back({static_cast<std::uint32_t>(groups_.size() - 1), store(pieces),
                        static_cast<std::uint32_t>(split), 0, 0, 0});
}

void ScanResults::beginGrep(const NodeRef& node, std::initializer_list<std::string_view> head) {
    groups_.push_back({node, store(head)});
}

std::uint8_t ScanResults::labelIndex(std::string_view label) {
    for (std::size_t i = 0; i < labels_.size(); ++i)
        if (labels_[i] == label) return static_cast<std::uint8_t>(i + 1);
    if (labels_.size() >= 255) throw std::length_error("too many grep labels in one list");
    labels_.emplace_back(label);
    return static_cast<std::uint8_t>(labels_.size());
}

void ScanResults::addGrepHit(std::string_view label, std::size_t hit, std::size_t line,
                             std::string_view text) {
    entries_.push_back({static_cast<std::uint32_t>(groups_.size() - 1), store({text}), 0,
                        static_cast<std::uint32_t>(hit), static_cast<std::uint32_t>(line),
                        labelIndex(label)});
}

void ScanResults::appendPrefix(std::string& out, const Entry& entry) const {
    if (entry.label == 0) return;
    appendGrepPrefix(out, GrepHit{labels_[entry.label - 1], entry.hit, entry.line, {}});
}

std::string ScanResults::head(std::size_t row) const {
    const Entry& entry = entries_[row];
    std::string out(view(groups_[entry.group].head));
    out.append(view(entry.body).substr(0, entry.split));
    return out;
}

std::string ScanResults::tail(std::size_t row) const {
    const Entry& entry = entries_[row];
    std::string out;
    appendPrefix(out, entry);
    out.append(view(entry.body).substr(entry.split));
    return out;
}

std::string ScanResults::text(std::size_t row) const {
    std::string out;
    appendText(row, out);
    return out;
}

void ScanResults::appendText(std::size_t row, std::string& out) const {
    const Entry& entry = entries_[row];
    const std::string_view body = view(entry.body);
    out.append(view(groups_[entry.group].head));
    out.append(body.substr(0, entry.split));
    appendPrefix(out, entry);
    out.append(body.substr(entry.split));
}

std::vector<std::string> ScanResults::lines() const {
    std::vector<std::string> all;
    all.reserve(entries_.size());
    for (std::size_t row = 0; row < entries_.size(); ++row) all.push_back(text(row));
    return all;
}

}  // namespace zel
