#pragma once
// The holders a mass edit changed. Each holder whose node the edit really
// changed is marked changed once, so the close question and auto save keep
// the work; a holder that was never loaded is never marked, because saving it
// would write it empty. Every edit of the dialogs reports through one of these.

#include <unordered_set>
#include <vector>

namespace zel {

class MemoHolder;
class MemoNode;

// The holder that owns `node`; none for a node outside any holder.
MemoHolder* holderOf(const MemoNode& node);

class ChangedHolders {
  public:
    // `node` was changed: its holder is marked changed (the first time).
    void add(const MemoNode& node);
    void addHolder(MemoHolder& holder);
    // In the order they were first changed.
    const std::vector<MemoHolder*>& holders() const { return holders_; }
    bool empty() const { return holders_.empty(); }
    bool contains(const MemoHolder* holder) const { return seen_.count(holder) != 0; }

  private:
    std::vector<MemoHolder*> holders_;
    std::unordered_set<const MemoHolder*> seen_;
};

}  // namespace zel
