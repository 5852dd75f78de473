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
    const TreeItem* above = parent.isValid() ? itemAt(parent) : &root_;
    if (!above || column != 0 || row < 0 || row >= static_cast<int>(above->children.size()))
        return {};
    return createIndex(row, 0, above->children[static_cast<std::size_t>(row)]);
}

QModelIndex NodeTreeModel::parent(const QModelIndex& child) const {
    const TreeItem* item = itemAt(child);
    return item ? indexOf(item->parent) : QModelIndex();
}

int NodeTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const TreeItem* above = parent.isValid() ? itemAt(parent) : &root_;
    return above ? static_cast<int>(above->children.size()) : 0;
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
    if (!item || item->isRoot()) return {};
    return createIndex(item->row, 0, const_cast<TreeItem*>(item));
}

void NodeTreeModel::rebuild(const std::vector<MemoNode*>& order, const std::vector<int>& parentOf) {
    beginResetModel();
    root_.children.clear();
    items_.clear();
    items_.reserve(order.size());
    std::vector<TreeItem*> made;
    made.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto item = std::make_unique<TreeItem>();
        item->node = order[i];
        item->parent = parentOf[i] < 0 ? &root_ : made[static_cast<std::size_t>(parentOf[i])];
        item->row = static_cast<int>(item->parent->children.size());
        item->parent->children.push_back(item.get());
        made.push_back(item.get());
        items_.emplace(order[i], std::move(item));
    }
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
    beginInsertRows(indexOf(parent), row, row);
    auto made = std::make_unique<TreeItem>();
    TreeItem* item = made.get();
    item->node = node;
    item->parent = parent;
    parent->children.insert(parent->children.begin() + row, item);
    renumber(parent, static_cast<std::size_t>(row));
    addToSizes(parent, 1);
    items_[node] = std::move(made);
    endInsertRows();
    return item;
}

void NodeTreeModel::removeItem(TreeItem* item) {
    if (!item || item->isRoot()) return;
    // Children stay in the holder: they take the removed item's place.
    while (!item->children.empty()) moveItem(item->children.back(), item->parent, item->row + 1);
    TreeItem* parent = item->parent;
    const int row = item->row;
    beginRemoveRows(indexOf(parent), row, row);
    parent->children.erase(parent->children.begin() + row);
    renumber(parent, static_cast<std::size_t>(row));
    addToSizes(parent, -1);
    items_.erase(item->node);
    endRemoveRows();
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
    const int destination = sameParent && row > oldRow ? row + 1 : row;
    if (!beginMoveRows(indexOf(from), oldRow, oldRow, indexOf(parent), destination)) return false;
    from->children.erase(from->children.begin() + oldRow);
    renumber(from, static_cast<std::size_t>(oldRow));
    addToSizes(from, -item->size);
    parent->children.insert(parent->children.begin() + row, item);
    item->parent = parent;
    renumber(parent, static_cast<std::size_t>(std::min(row, sameParent ? oldRow : row)));
    addToSizes(parent, item->size);
    endMoveRows();
    return true;
}

void NodeTreeModel::reorderChildren(TreeItem* parent, std::vector<TreeItem*> children) {
    if (!parent) parent = &root_;
    if (children.size() != parent->children.size()) return;
    const QList<QPersistentModelIndex> parents{QPersistentModelIndex(indexOf(parent))};
    emit layoutAboutToBeChanged(parents);
    const QModelIndexList before = persistentIndexList();
    std::vector<TreeItem*> held;
    held.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) held.push_back(itemAt(index));
    parent->children = std::move(children);
    renumber(parent, 0);
    QModelIndexList after;
    after.reserve(before.size());
    for (TreeItem* item : held) after.push_back(indexOf(item));
    changePersistentIndexList(before, after);
    emit layoutChanged(parents);
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
