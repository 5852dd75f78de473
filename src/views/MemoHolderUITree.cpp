// The tree helpers of a holder shown as a tree.

#include <algorithm>

#include "text/Sjis.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

// The row `item` takes when it is to stand at `row` of `parent`, counted
// after it has left its place.
int rowAfterLeaving(const TreeItem* item, const TreeItem* parent, int row) {
    return item->parent == parent && item->row < row ? row - 1 : row;
}

}  // namespace

TreeItem* MemoHolderUI::treeItemOf(const MemoNode* node) const {
    return node ? treeModel_->itemOf(node) : nullptr;
}

TreeItem* MemoHolderUI::selectedTreeItem() const {
    if (!aUITV || !aUITV->selectionModel()) return nullptr;
    const QModelIndexList chosen = aUITV->selectionModel()->selectedRows();
    return chosen.isEmpty() ? nullptr : treeModel_->itemAt(chosen.first());
}

std::vector<TreeItem*> MemoHolderUI::topLevelItems() const {
    return treeModel_->root().children;
}

bool MemoHolderUI::moveTreeItem_(TreeItem* item, TreeItem* parent, int row) {
    if (!item) return false;
    if (!parent) parent = &treeModel_->root();
    if (!treeModel_->moveItem(item, parent, row)) return false;
    followTreeOrder();
    return true;
}

void MemoHolderUI::placeAfter_(TreeItem* item, TreeItem* reference) {
    if (!item || !reference || item == reference) return;
    moveTreeItem_(item, reference->parent,
                  rowAfterLeaving(item, reference->parent, reference->row + 1));
}

void MemoHolderUI::placeBefore_(TreeItem* item, TreeItem* reference) {
    if (!item || !reference || item == reference) return;
    moveTreeItem_(item, reference->parent,
                  rowAfterLeaving(item, reference->parent, reference->row));
}

void MemoHolderUI::listDescendants_(const TreeItem* item, NodeList& list) const {
    if (!item || item->isRoot()) return;
    const int first = MemoHolder::indexOf_(item->node) + 1;
    for (int i = first; i < first + item->size - 1; ++i) {
        const auto at = static_cast<std::size_t>(i);
        list.emplace_back(nodes->nameAt(at), baseAt(at));
    }
}

TreeItem* MemoHolderUI::prevSameLevel_(const TreeItem* item) const {
    if (!item || item->isRoot()) return nullptr;
    const int level = item->level();
    for (int i = MemoHolder::indexOf_(item->node) - 1; i >= 0; --i) {
        TreeItem* other = treeModel_->itemOf(baseAt(static_cast<std::size_t>(i)));
        if (other && other->level() == level) return other;
    }
    return nullptr;
}

TreeItem* MemoHolderUI::nextSameLevel_(const TreeItem* item) const {
    if (!item || item->isRoot()) return nullptr;
    const int level = item->level();
    const int count = static_cast<int>(nodes->childCount());
    // Descendants are deeper: the search starts after them.
    for (int i = MemoHolder::indexOf_(item->node) + item->size; i < count; ++i) {
        TreeItem* other = treeModel_->itemOf(baseAt(static_cast<std::size_t>(i)));
        if (other && other->level() == level) return other;
    }
    return nullptr;
}

void MemoHolderUI::reverseChildren_(TreeItem* item) {
    TreeItem* parent = item ? item : &treeModel_->root();
    if (parent->children.size() < 2) return;
    std::vector<TreeItem*> reversed(parent->children.rbegin(), parent->children.rend());
    treeModel_->reorderChildren(parent, std::move(reversed));
    followTreeOrder();
}

void MemoHolderUI::sortChildren_(TreeItem* item) {
    TreeItem* parent = item ? item : &treeModel_->root();
    if (parent->children.size() < 2) return;
    std::vector<std::pair<std::string, TreeItem*>> named;
    named.reserve(parent->children.size());
    for (TreeItem* child : parent->children)
        named.emplace_back(MemoHolder::getNameChild_(child->node), child);
    std::stable_sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
        return compareText(a.first, b.first) < 0;
    });
    std::vector<TreeItem*> sorted;
    sorted.reserve(named.size());
    for (auto& entry : named) sorted.push_back(entry.second);
    treeModel_->reorderChildren(parent, std::move(sorted));
    followTreeOrder();
}

bool MemoHolderUI::isExpanded_(const TreeItem* item) const {
    return treeModel_->isExpanded(item);
}

void MemoHolderUI::setExpanded_(TreeItem* item, bool expanded) {
    treeModel_->setExpanded(item, expanded);
}

}  // namespace zel
