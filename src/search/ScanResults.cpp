#include "search/ScanResults.h"

namespace zel {

void ScanResults::clear() {
    text_.clear();
    entries_.clear();
    // A run that listed a million lines should not pin their memory forever.
    if (text_.capacity() > (std::size_t{64} << 20)) std::string().swap(text_);
    if (entries_.capacity() > (std::size_t{1} << 20)) std::vector<Entry>().swap(entries_);
}

void ScanResults::add(const MemoNode* node, std::initializer_list<std::string_view> pieces) {
    const std::size_t start = text_.size();
    std::size_t head = 0;
    for (std::string_view piece : pieces) {
        head = text_.size() - start;
        text_.append(piece);
    }
    entries_.push_back({static_cast<std::uint64_t>(start), NodeRef(node),
                        static_cast<std::uint32_t>(text_.size() - start),
                        static_cast<std::uint32_t>(head)});
}

std::string_view ScanResults::text(std::size_t row) const {
    const Entry& entry = entries_[row];
    return std::string_view(text_).substr(static_cast<std::size_t>(entry.offset), entry.length);
}

std::vector<std::string> ScanResults::lines() const {
    std::vector<std::string> all;
    all.reserve(entries_.size());
    for (std::size_t row = 0; row < entries_.size(); ++row) all.emplace_back(text(row));
    return all;
}

}  // namespace zel
