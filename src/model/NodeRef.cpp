#include "model/NodeRef.h"

#include <mutex>
#include <vector>

#include "model/MemoNode.h"

namespace zel {

namespace {

struct Slot {
    std::uint64_t serial = 0;  // 0: free
    MemoNode* node = nullptr;
};

// Nodes are made and freed on the window's thread, but the benchmarks and
// tests also build holders on others; one uncontended lock costs little.
struct Slots {
    std::mutex lock;
    std::vector<Slot> slots = std::vector<Slot>(1);  // slot 0 is never handed out
    std::vector<std::uint32_t> freed;
    std::uint64_t lastSerial = 0;
};

Slots& registry() {
    static Slots* slots = new Slots;  // outlives nodes freed by static destructors
    return *slots;
}

}  // namespace

NodeRegistry::Ticket NodeRegistry::enter(MemoNode* node) {
    Slots& all = registry();
    std::lock_guard guard(all.lock);
    Ticket ticket;
    ticket.serial = ++all.lastSerial;
    if (!all.freed.empty()) {
        ticket.slot = all.freed.back();
        all.freed.pop_back();
    } else {
        ticket.slot = static_cast<std::uint32_t>(all.slots.size());
        all.slots.emplace_back();
    }
    all.slots[ticket.slot] = {ticket.serial, node};
    return ticket;
}

void NodeRegistry::leave(const Ticket& ticket) {
    Slots& all = registry();
    std::lock_guard guard(all.lock);
    all.slots[ticket.slot] = {};
    all.freed.push_back(ticket.slot);
}

MemoNode* NodeRegistry::find(const Ticket& ticket) {
    if (ticket.serial == 0) return nullptr;
    Slots& all = registry();
    std::lock_guard guard(all.lock);
    const Slot& slot = all.slots[ticket.slot];
    return slot.serial == ticket.serial ? slot.node : nullptr;
}

NodeRef::NodeRef(const MemoNode* node) {
    if (node) ticket_ = node->registryTicket();
}

MemoNode* NodeRef::get() const {
    return NodeRegistry::find(ticket_);
}

}  // namespace zel
