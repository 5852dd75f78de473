#pragma once
// The lines a search lists: one text store for all of them, each line with a
// weak reference to its node. A million grep lines are a million offsets into
// one buffer, not a million strings; a line whose node was deleted meanwhile
// still reads as text, but its node answers none.

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "model/NodeRef.h"
#include "platform/LargeBuffer.h"

namespace zel {

class MemoNode;

class ScanResults {
  public:
    void clear();
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }

    // Appends one line made of `pieces`, referring to `node`; its tail is the
    // last piece.
    void add(const MemoNode* node, std::initializer_list<std::string_view> pieces);
    // The same with the tail made of the pieces from `tailPiece` on.
    void add(const NodeRef& node, std::initializer_list<std::string_view> pieces,
             std::size_t tailPiece);
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
    std::size_t textBytes() const { return bytes_; }

  private:
    // Text goes into blocks that never move once filled, so a growing list
    // never copies what it holds; a line longer than a block gets its own.
    // Blocks double from a small first one, so a short list stays small.
    static constexpr std::size_t kFirstBlockBytes = std::size_t{64} << 10;
    static constexpr std::size_t kBlockBytes = std::size_t{4} << 20;
    struct Entry {
        NodeRef node;
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
        std::uint32_t head;
    };
    static_assert(sizeof(Entry) <= 32, "a result line costs its text and 32 bytes");
    std::vector<LargeBuffer> blocks_;
    std::deque<Entry> entries_;
    std::size_t bytes_ = 0;
};

}  // namespace zel
