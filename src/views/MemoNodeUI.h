#pragma once
// A memo node of a shown holder: it knows its line in the tree, keeps its
// parent link in step with the tree, and may be open in a window of its own.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "model/MemoNode.h"

namespace zel {

struct TreeItem;

class MemoNodeUI : public MemoNode {
  public:
    explicit MemoNodeUI(TObjectNamed* owner = nullptr) : MemoNode(owner) {}

    const char* className() const override { return "MemoNodeUI"; }
    int clear_() override;
    // A new MemoNodeUI of the same holder with this node's content.
    std::unique_ptr<MemoNode> clone_() const override;
    // Also moves the tree line under the parent's line, when both have one.
    void setParentNode_(MemoBasic& parentNode) override;

    // The node's line in its holder's tree; none outside tree mode.
    TreeItem* treeItem() const;
    // The depth of the tree line (0 at the top), -1 without one.
    int level_() const;

    // The node's own window (the node view opened apart); none when closed.
    QPointer<QWidget> nodeWindow;
};

// The one way the user interface changes a mark: writes flagMarked and, in a
// check-list holder, the line's check box follows.
void setNodeMark(MemoNode& node, bool marked);

}  // namespace zel
