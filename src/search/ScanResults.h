#pragma once
// The lines a search lists: one text store for all of them, each line with a
// weak reference to its node. A million grep lines are a million small entries
// over one store, not a million strings: the "holder:node:" head of a node's
// grep lines is stored once, and their "Memo:000001:      3: " numbering is
// kept as numbers and written out when a line is read. A line whose node was
// deleted meanwhile still reads as text, but its node answers none.

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
    // Starts the record grep lines of `node`, each led by `head`.
    void beginGrep(const NodeRef& node, std::initializer_list<std::string_view> head);
    // A record grep line of the node begun last: its head, then `label`, and
    // unless `line` is 0 the hit ("%.6d") ":" and line ("%7d") ": ", then `text`.
    void addGrepHit(std::string_view label, std::size_t hit, std::size_t line,
                    std::string_view text);

    std::string text(std::size_t row) const;
    // The same appended to `out`, which saves a string per line.
    void appendText(std::size_t row, std::string& out) const;
    // A line's last piece (the record line, the change, the node name of a
    // Scan line) and what stands before it.
    std::string tail(std::size_t row) const;
    std::string head(std::size_t row) const;
    const NodeRef& nodeRef(std::size_t row) const { return groups_[entries_[row].group].node; }
    // The node of a line while it lives, else none.
    MemoNode* node(std::size_t row) const { return nodeRef(row).get(); }

    // Every line, in order.
    std::vector<std::string> lines() const;
    // Bytes of text held (the store's own overhead is a few dozen per line).
    std::size_t textBytes() const { return bytes_; }

  private:
    // Text goes into blocks that never move once filled, so a growing list
    // never copies what it holds; a text longer than a block gets its own.
    // Blocks double from a small first one, so a short list stays small.
    static constexpr std::size_t kFirstBlockBytes = std::size_t{64} << 10;
    static constexpr std::size_t kBlockBytes = std::size_t{4} << 20;
    struct Span {
        std::uint32_t block = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    // The lines of one node share its reference and their head.
    struct Group {
        NodeRef node;
        Span head;
    };
    struct Entry {
        std::uint32_t group;
        Span body;
        // Bytes of the body before its tail.
        std::uint32_t split;
        std::uint32_t hit;
        std::uint32_t line;
        // 1 + the index of the grep label in labels_; 0 for none.
        std::uint8_t label;
    };
    static_assert(sizeof(Entry) <= 32, "a result line costs its text and 32 bytes");

    // Copies `pieces` into the store, one after the other.
    Span store(std::initializer_list<std::string_view> pieces);
    std::string_view view(const Span& span) const;
    std::uint8_t labelIndex(std::string_view label);
    void appendPrefix(std::string& out, const Entry& entry) const;

    std::vector<LargeBuffer> blocks_;
    std::deque<Group> groups_;
    std::deque<Entry> entries_;
    std::vector<std::string> labels_;
    std::size_t bytes_ = 0;
};

}  // namespace zel
