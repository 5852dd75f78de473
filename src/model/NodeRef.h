#pragma once
// Weak references to memo nodes. Windows that list nodes (search results,
// field lists, selected-nodes lists) keep these, so a line whose node was
// deleted meanwhile is skipped instead of dereferenced. A reference is checked
// in constant time against a slot the node keeps while it lives; the serial
// in the slot is never reused, so a new node at the same address or in the
// same slot never answers an old reference.

#include <cstdint>

namespace zel {

class MemoNode;

// The live-node slots; a node takes one when made and frees it when gone.
class NodeRegistry {
  public:
    struct Ticket {
        std::uint32_t slot = 0;
        std::uint64_t serial = 0;
    };
    static Ticket enter(MemoNode* node);
    static void leave(const Ticket& ticket);
    // The node of `ticket` while it lives, else nullptr.
    static MemoNode* find(const Ticket& ticket);
};

class NodeRef {
  public:
    NodeRef() = default;
    explicit NodeRef(const MemoNode* node);

    // The node while it lives, else nullptr.
    MemoNode* get() const;
    bool alive() const { return get() != nullptr; }
    std::uint64_t serial() const { return ticket_.serial; }
    bool operator==(const NodeRef& other) const { return ticket_.serial == other.ticket_.serial; }

  private:
    NodeRegistry::Ticket ticket_;
};

}  // namespace zel
