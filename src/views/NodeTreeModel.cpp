#include "views/NodeTreeModel.h"

#include <QIcon>

#include "views/MemoHolderUI.h"
#include "views/ViewText.h"

namespace zel {

int TreeItem::level() const {
    int depth = -1;
    for (const TreeItem* above = parent; above; above = above->parent) ++depth;
    return depth;
}

bool TreeItem::contains(const TreeItem* other) const {
    for (const TreeItem* item = other; item; item = item->parent)
        if (item == this) return true;
    return false;
}

NodeTreeModel::NodeTreeModel(MemoHolderUI& holder) : holder_(holder) {}

NodeTreeModel::~NodeTreeModel() = default;

QModelIndex NodeTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || row < 0 || row >= static_cast<int>(lines_.size()))
        return {};
    return createIndex(row, 0, lines_[static_cast<std::size_t>(row)]);
}

QModelIndex NodeTreeModel::parent(const QModelIndex&) const {
    return {};
}

int NodeTreeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int NodeTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant NodeTreeModel::data(const QModelIndex& index, int role) const {
    const TreeItem* item = itemAt(index);
    if (!item || !item->node) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return toQt(holder_.nodes->getNameChild_(item->node));
        case Qt::DecorationRole: {
            QIcon icon = holder_.iconAt(item->image);
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        case LevelRole:
            return item->level();
        case BranchRole:
            return item->children.empty() ? NoBranch : item->expanded ? OpenBranch : ClosedBranch;
        default:
            return {};
    }
}

Qt::ItemFlags NodeTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

TreeItem* NodeTreeModel::itemOf(const MemoNode* node) const {
    auto found = items_.find(node);
    return found == items_.end() ? nullptr : found->second.get();
}

TreeItem* NodeTreeModel::itemAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TreeItem*>(index.internalPointer()) : nullptr;
}

QModelIndex NodeTreeModel::indexOf(const TreeItem* item) const {
    if (!item || item->isRoot() || item->shownRow < 0) return {};
    return createIndex(item->shownRow, 0, const_cast<TreeItem*>(item));
}

bool NodeTreeModel::isShown(const TreeItem* item) const {
    for (const TreeItem* above = item->parent; above && !above->isRoot(); above = above->parent)
        if (!above->expanded) return false;
    return true;
}

std::vector<TreeItem*> NodeTreeModel::shownItems() const {
    std::vector<TreeItem*> shown;
    shown.reserve(lines_.size() + 16);
    std::vector<TreeItem*> pending(root_.children.rbegin(), root_.children.rend());
    while (!pending.empty()) {
        TreeItem* item = pending.back();
        pending.pop_back();
        shown.push_back(item);
        if (item->expanded)
            pending.insert(pending.end(), item->children.rbegin(), item->children.rend());
    }
    return shown;
}

void NodeTreeModel::numberLines(std::size_t from) {
    for (std::size_t i = from; i < lines_.size(); ++i) lines_[i]->shownRow = static_cast<int>(i);
}

void NodeTreeModel::syncLines() {
    std::vector<TreeItem*> shown = shownItems();
    emit linesAboutToChange();
    // Only the stretch between the unchanged head and tail is taken out and
    // put back; the views keep everything else as it was.
    const std::size_t common = std::min(lines_.size(), shown.size());
    std::size_t head = 0;
    while (head < common && lines_[head] == shown[head]) ++head;
    std::size_t tail = 0;
    while (tail < common - head &&
           lines_[lines_.size() - 1 - tail] == shown[shown.size() - 1 - tail])
        ++tail;
    const std::size_t oldEnd = lines_.size() - tail;
    const std::size_t newEnd = shown.size() - tail;
    if (oldEnd > head) {
        beginRemoveRows({}, static_cast<int>(head), static_cast<int>(oldEnd - 1));
        for (std::size_t i = head; i < oldEnd; ++i) lines_[i]->shownRow = -1;
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(head),
                     lines_.begin() + static_cast<std::ptrdiff_t>(oldEnd));
        numberLines(head);
        endRemoveRows();
    }
    if (newEnd > head) {
        beginInsertRows({}, static_cast<int>(head), static_cast<int>(newEnd - 1));
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(head),
                      shown.begin() + static_cast<std::ptrdiff_t>(head),
                      shown.begin() + static_cast<std::ptrdiff_t>(newEnd));
        numberLines(head);
        endInsertRows();
    }
    // Levels and branch marks of lines that kept their place may have changed.
    if (!lines_.empty())
        emit dataChanged(index(0, 0), index(static_cast<int>(lines_.size()) - 1, 0));
    emit linesChanged();
}

int NodeTreeModel::lineFor(const TreeItem* item) const {
    for (const TreeItem* at = item; at && !at->isRoot(); at = at->parent) {
        const TreeItem* parent = at->parent;
        const auto next = static_cast<std::size_t>(at->row) + 1;
        if (next < parent->children.size()) return parent->children[next]->shownRow;
    }
    return static_cast<int>(lines_.size());
}

void NodeTreeModel::setExpanded(TreeItem* item, bool expanded) {
    if (!item || item->isRoot() || item->expanded == expanded) return;
    item->expanded = expanded;
    if (item->shownRow < 0 || item->children.empty()) return;
    syncLines();
}

void NodeTreeModel::setAllExpanded(bool expanded) {
    for (auto& [node, item] : items_) item->expanded = expanded;
    syncLines();
}

void NodeTreeModel::setItemsExpanded(const std::vector<TreeItem*>& items, bool expanded) {
    for (TreeItem* item : items)
        if (item && !item->isRoot()) item->expanded = expanded;
    syncLines();
}

void NodeTreeModel::expandSubtree(TreeItem* item) {
    if (!item || item->isRoot()) return;
    std::vector<TreeItem*> pending{item};
    while (!pending.empty()) {
        TreeItem* below = pending.back();
        pending.pop_back();
        below->expanded = true;
        pending.insert(pending.end(), below->children.begin(), below->children.end());
    }
    if (item->shownRow >= 0) syncLines();
}

bool NodeTreeModel::isInTree(const TreeItem* item) const {
    for (const TreeItem* at = item; at && at != &root_; at = at->parent) {
        const TreeItem* parent = at->parent;
        if (!parent || at->row < 0 ||
            static_cast<std::size_t>(at->row) >= parent->children.size() ||
            parent->children[static_cast<std::size_t>(at->row)] != at)
            return false;
    }
    return item != nullptr;
}

void NodeTreeModel::reveal(TreeItem* item) {
    if (!item || item->shownRow >= 0) return;
    for (TreeItem* above = item->parent; above && !above->isRoot(); above = above->parent)
        above->expanded = true;
    syncLines();
}

void NodeTreeModel::rebuild(const std::vector<MemoNode*>& order, const std::vector<int>& parentOf) {
    beginResetModel();
    root_.children.clear();
    items_.clear();
    items_.reserve(order.size());
    lines_.clear();
    std::vector<TreeItem*> made;
    made.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto item = std::make_unique<TreeItem>();
        item->node = order[i];
        item->parent = parentOf[i] < 0 ? &root_ : made[static_cast<std::size_t>(parentOf[i])];
        item->row = static_cast<int>(item->parent->children.size());
        item->parent->children.push_back(item.get());
        if (item->isTopLevel()) lines_.push_back(item.get());
        made.push_back(item.get());
        items_.emplace(order[i], std::move(item));
    }
    numberLines(0);
    // Children follow their parents, so sizes add up from the back.
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        if (!(*it)->isTopLevel()) (*it)->parent->size += (*it)->size;
    root_.size = static_cast<int>(made.size()) + 1;
    endResetModel();
}
void NodeTreeModel::clearItems() {
    rebuild({}, {});
}

void NodeTreeModel::flatten(std::vector<MemoNode*>& order, std::vector<int>& parentOf) const {
    order.clear();
    parentOf.clear();
    order.reserve(items_.size());
    parentOf.reserve(items_.size());
    std::unordered_map<const TreeItem*, int> position;
    position.reserve(items_.size());
    std::vector<const TreeItem*> pending(root_.children.rbegin(), root_.children.rend());
    while (!pending.empty()) {
        const TreeItem* item = pending.back();
        pending.pop_back();
        position.emplace(item, static_cast<int>(order.size()));
        parentOf.push_back(item->isTopLevel() ? -1 : position.at(item->parent));
        order.push_back(item->node);
        pending.insert(pending.end(), item->children.rbegin(), item->children.rend());
    }
}

void NodeTreeModel::renumber(TreeItem* parent, std::size_t from) {
    for (std::size_t i = from; i < parent->children.size(); ++i)
        parent->children[i]->row = static_cast<int>(i);
}

void NodeTreeModel::addToSizes(TreeItem* from, int delta) {
    for (TreeItem* item = from; item; item = item->parent) item->size += delta;
}

TreeItem* NodeTreeModel::insertItem(MemoNode* node, TreeItem* parent, int row) {
    if (!parent) parent = &root_;
    const int count = static_cast<int>(parent->children.size());
    if (row < 0 || row > count) row = count;
    auto made = std::make_unique<TreeItem>();
    TreeItem* item = made.get();
    item->node = node;
    item->parent = parent;
    parent->children.insert(parent->children.begin() + row, item);
    renumber(parent, static_cast<std::size_t>(row));
    addToSizes(parent, 1);
    items_[node] = std::move(made);
    if (!isShown(item)) {
        itemChanged(parent);
        return item;
    }
    const int line = lineFor(item);
    beginInsertRows({}, line, line);
    lines_.insert(lines_.begin() + line, item);
    numberLines(static_cast<std::size_t>(line));
    endInsertRows();
    // A parent's first child gives it a branch mark.
    if (count == 0) itemChanged(parent);
    return item;
}

void NodeTreeModel::removeItem(TreeItem* item) {
    if (!item || item->isRoot()) return;
    TreeItem* parent = item->parent;
    const int row = item->row;
    const bool lastLeafLine = item->children.empty() && item->shownRow >= 0 &&
                              item->shownRow + 1 == static_cast<int>(lines_.size());
    // Children stay in the holder: they take the removed item's place.
    std::vector<TreeItem*> children = std::move(item->children);
    item->children.clear();
    for (TreeItem* child : children) child->parent = parent;
    parent->children.erase(parent->children.begin() + row);
    parent->children.insert(parent->children.begin() + row, children.begin(), children.end());
    renumber(parent, static_cast<std::size_t>(row));
    addToSizes(parent, -1);
    if (lastLeafLine) {
        beginRemoveRows({}, item->shownRow, item->shownRow);
        lines_.pop_back();
        endRemoveRows();
        items_.erase(item->node);
        if (parent->children.empty()) itemChanged(parent);
        return;
    }
    // A hidden item's children stay hidden under the same closed ancestor.
    if (item->shownRow >= 0)
        syncLines();
    else
        itemChanged(parent);
    items_.erase(item->node);
}

bool NodeTreeModel::moveItem(TreeItem* item, TreeItem* parent, int row) {
    if (!parent) parent = &root_;
    if (!item || item->isRoot() || item->contains(parent)) return false;
    TreeItem* from = item->parent;
    const int oldRow = item->row;
    const bool sameParent = from == parent;
    const int room = static_cast<int>(parent->children.size()) - (sameParent ? 1 : 0);
    if (row < 0 || row > room) row = room;
    if (sameParent && row == oldRow) return true;
    from->children.erase(from->children.begin() + oldRow);
    renumber(from, static_cast<std::size_t>(oldRow));
    addToSizes(from, -item->size);
    parent->children.insert(parent->children.begin() + row, item);
    item->parent = parent;
    renumber(parent, static_cast<std::size_t>(std::min(row, sameParent ? oldRow : row)));
    addToSizes(parent, item->size);
    syncLines();
    return true;
}

void NodeTreeModel::reorderChildren(TreeItem* parent, std::vector<TreeItem*> children) {
    if (!parent) parent = &root_;
    if (children.size() != parent->children.size()) return;
    parent->children = std::move(children);
    renumber(parent, 0);
    if (parent->isRoot() || (parent->expanded && parent->shownRow >= 0)) syncLines();
}

void NodeTreeModel::itemChanged(const TreeItem* item) {
    QModelIndex index = indexOf(item);
    if (index.isValid()) emit dataChanged(index, index);
}

void NodeTreeModel::refreshAll() {
    beginResetModel();
    endResetModel();
}

}  // namespace zel
