#include "dialogs/ChangedHolders.h"

#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel {

MemoHolder* holderOf(const MemoNode& node) {
    return dynamic_cast<MemoHolder*>(node.enclosingRecord_());
}

void ChangedHolders::add(const MemoNode& node) {
    if (MemoHolder* holder = holderOf(node)) addHolder(*holder);
}

bool ChangedHolders::refuses(const MemoNode& node) {
    const MemoHolder* holder = holderOf(node);
    if (!holder || !holder->isReadOnlyEffective_()) return false;
    if (!firstRefused_) firstRefused_ = holder;
    return true;
}

std::string ChangedHolders::refusal() const {
    if (!firstRefused_) return {};
    return "This MemoHolder is Read Only. (" + firstRefused_->getName_() + ")";
}

void ChangedHolders::addHolder(MemoHolder& holder) {
    if (!holder.loaded || !seen_.insert(&holder).second) return;
    holder.changed = true;
    holders_.push_back(&holder);
}

}  // namespace zel
