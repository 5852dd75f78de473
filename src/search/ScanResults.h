#pragma once
// The lines a search lists: one text store for all of them, each line with a
// weak reference to its node. A million grep lines are a million offsets into
// one buffer, not a million strings; a line whose node was deleted meanwhile
// still reads as text, but its node answers none.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "model/NodeRef.h"

namespace zel {

class MemoNode;

class ScanResults {
  public:
    void clear();
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }

    // Appends one line made of `pieces`, referring to `node`.
    void add(const MemoNode* node, std::initializer_list<std::string_view> pieces);
    std::string_view text(std::size_t row) const;
    // A line's last piece (the record line, the change, the node name of a
    // Scan line) and what stands before it.
    std::string_view tail(std::size_t row) const { return text(row).substr(entries_[row].head); }
    std::string_view head(std::size_t row) const { return text(row).substr(0, entries_[row].head); }
    const NodeRef& nodeRef(std::size_t row) const { return entries_[row].node; }
    // The node of a line while it lives, else none.
    MemoNode* node(std::size_t row) const { return entries_[row].node.get(); }

    // Every line, in order.
    std::vector<std::string> lines() const;
    // Bytes of text held (the store's own overhead is a few dozen per line).
    std::size_t textBytes() const { return text_.size(); }

  private:
    struct Entry {
        std::uint64_t offset;
        NodeRef node;
        std::uint32_t length;
        std::uint32_t head;
    };
    std::string text_;
    std::vector<Entry> entries_;
};

}  // namespace zel
