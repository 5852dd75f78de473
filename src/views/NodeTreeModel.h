#pragma once
// The item model of the tree: the holder's nodes nested by their parent
// links. Its depth-first order (a parent before its children, children in
// order) is the holder's node order. The view sees a flat list of the lines
// shown: every top-level item and the children of opened items, each line
// telling its level and its branch mark. Flat lines let a table lay them out
// by arithmetic, so appending a line costs the same at any holder size.

#include <QAbstractItemModel>
#include <memory>
#include <unordered_map>
#include <vector>

namespace zel {

class MemoHolderUI;
class MemoNode;

// One line of the tree. Top-level items have the model's invisible root as
// parent.
struct TreeItem {
    MemoNode* node = nullptr;
    TreeItem* parent = nullptr;
    std::vector<TreeItem*> children;
    // Position among the parent's children.
    int row = 0;
    // Items in this subtree, this one included.
    int size = 1;
    // Image index given by the icon rule; -1 for none.
    int image = -1;
    // Whether the children are shown.
    bool expanded = false;
    // Line in the view; -1 while a closed ancestor hides the item.
    int shownRow = -1;

    bool isRoot() const { return parent == nullptr; }
    bool isTopLevel() const { return parent && parent->isRoot(); }
    // 0 for a top-level item.
    int level() const;
    // True when `other` is this item or lies below it.
    bool contains(const TreeItem* other) const;
};

class NodeTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    // The line's level (0 for top level) and its branch mark.
    enum Role { LevelRole = Qt::UserRole + 1, BranchRole };
    enum Branch { NoBranch = 0, ClosedBranch = 1, OpenBranch = 2 };

    explicit NodeTreeModel(MemoHolderUI& holder);
    ~NodeTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }

    TreeItem& root() { return root_; }
    const TreeItem& root() const { return root_; }
    std::size_t itemCount() const { return items_.size(); }
    TreeItem* itemOf(const MemoNode* node) const;
    TreeItem* itemAt(const QModelIndex& index) const;
    // Invalid while the item is hidden under a closed ancestor.
    QModelIndex indexOf(const TreeItem* item) const;

    bool isExpanded(const TreeItem* item) const { return item && item->expanded; }
    void setExpanded(TreeItem* item, bool expanded);
    void setAllExpanded(bool expanded);
    // Many items at once, with one pass over the lines.
    void setItemsExpanded(const std::vector<TreeItem*>& items, bool expanded);
    // Opens the item and every item below it.
    void expandSubtree(TreeItem* item);
    // False for an item on its way out of the tree.
    bool isInTree(const TreeItem* item) const;
    // Opens every ancestor of the item, so that it has a line.
    void reveal(TreeItem* item);

    // Rebuilds the tree from nodes in depth-first order, each with the index
    // of its parent in `order` (-1 for top level).
    void rebuild(const std::vector<MemoNode*>& order, const std::vector<int>& parentOf);
    void clearItems();
    // The nodes in depth-first order, with their parents' indexes.
    void flatten(std::vector<MemoNode*>& order, std::vector<int>& parentOf) const;

    TreeItem* insertItem(MemoNode* node, TreeItem* parent, int row);
    // The item's children take its place.
    void removeItem(TreeItem* item);
    // Makes the item the child number `row` of `parent` (counted after the
    // item left its place); refused under itself or its descendants.
    bool moveItem(TreeItem* item, TreeItem* parent, int row);
    // Gives the children of `parent` the order of `children` (the same items).
    void reorderChildren(TreeItem* parent, std::vector<TreeItem*> children);
    void itemChanged(const TreeItem* item);
    void refreshAll();

  signals:
    // Around a change that may take the current line out of the view and put
    // it back elsewhere.
    void linesAboutToChange();
    void linesChanged();

  private:
    static void renumber(TreeItem* parent, std::size_t from);
    static void addToSizes(TreeItem* from, int delta);
    bool isShown(const TreeItem* item) const;
    std::vector<TreeItem*> shownItems() const;
    void numberLines(std::size_t from);
    // Brings the lines in step with the tree after a change of its shape.
    void syncLines();
    // The line a shown item entering the tree takes: the line of the item
    // that follows it in display order, or the end.
    int lineFor(const TreeItem* item) const;

    MemoHolderUI& holder_;
    TreeItem root_;
    std::vector<TreeItem*> lines_;
    std::unordered_map<const MemoNode*, std::unique_ptr<TreeItem>> items_;
};

}  // namespace zel
