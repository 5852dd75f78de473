#include "views/MemoNodeUI.h"

#include "views/MemoHolderUI.h"

namespace zel {

int MemoNodeUI::clear_() {
    nodeWindow = nullptr;
    return MemoNode::clear_();
}

std::unique_ptr<MemoNode> MemoNodeUI::clone_() const {
    auto copy = std::make_unique<MemoNodeUI>(owner);
    copy->copyFrom_(*this);
    return copy;
}

void MemoNodeUI::setParentNode_(MemoBasic& parentNode) {
    MemoNode::setParentNode_(parentNode);
    auto* holder = dynamic_cast<MemoHolderUI*>(owner);
    if (!holder) return;
    TreeItem* item = holder->treeItemOf(this);
    TreeItem* parentItem = holder->treeItemOf(dynamic_cast<MemoNode*>(&parentNode));
    if (item && parentItem) holder->moveTreeItem_(item, parentItem, -1);
}

TreeItem* MemoNodeUI::treeItem() const {
    auto* holder = dynamic_cast<MemoHolderUI*>(owner);
    return holder ? holder->treeItemOf(this) : nullptr;
}

int MemoNodeUI::level_() const {
    const TreeItem* item = treeItem();
    return item ? item->level() : -1;
}

void setNodeMark(MemoNode& node, bool marked) {
    node.setMarked_(marked);
    if (auto* holder = dynamic_cast<MemoHolderUI*>(node.owner)) holder->nodeChanged_(&node);
}

}  // namespace zel
