#pragma once
// The holders a mass edit changed. Each holder whose node the edit really
// changed is marked changed once, so the close question and auto save keep
// the work; a holder that was never loaded is never marked, because saving it
// would write it empty. Every edit of the dialogs reports through one of these.

#include <string>
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
    // A mass edit leaves the nodes of a read-only holder (by its own flag or
    // its memo file's) as its file has them: true for such a node, whose
    // holder is then kept as refused.
    bool refuses(const MemoNode& node);
    // "This MemoHolder is Read Only. (" + name + ")" for the first holder
    // refused; empty when none was.
    std::string refusal() const;
    // In the order they were first changed.
    const std::vector<MemoHolder*>& holders() const { return holders_; }
    bool empty() const { return holders_.empty(); }
    bool contains(const MemoHolder* holder) const { return seen_.count(holder) != 0; }

  private:
    std::vector<MemoHolder*> holders_;
    std::unordered_set<const MemoHolder*> seen_;
    const MemoHolder* firstRefused_ = nullptr;
};

}  // namespace zel
