#pragma once
// The outline tree of the node view: the memo text of a "Poser" or
// "PoserLike" node as a tree of items, edited through its pop-up menu and
// written back into that node's memo text only.

#include <QAbstractItemModel>
#include <QMenu>
#include <QTreeView>
#include <functional>
#include <string>
#include <vector>

#include "formats/Outline.h"

namespace zel {

class AgentAPLAbs;
class MemoNode;
class TFrameMemoNode;

// The outline as an item model: one column, the items' texts.
class OutlineModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit OutlineModel(QObject* parent = nullptr);

    const Outline& outline() const { return outline_; }
    // Shows `fresh` instead of what was shown.
    void replace(Outline fresh);
    OutlineItem* itemOf(const QModelIndex& index) const;
    QModelIndex indexOf(const OutlineItem* item) const;
    // A new item `text` under `parent` (none: the top level) at `row`.
    QModelIndex insertItem(OutlineItem* parent, std::size_t row, std::string text);
    // A copy of `source` and its subtree under `parent` at `row`.
    QModelIndex insertCopy(OutlineItem* parent, std::size_t row, const OutlineItem& source);
    void removeItem(const QModelIndex& index);

    // Whether labels may be edited now.
    std::function<bool()> editable;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    // A label edit changed an item's text.
    void textEdited();

  private:
    OutlineItem& owner(OutlineItem* parent) { return parent ? *parent : outline_.root; }
    Outline outline_;
};

class OutlineTree : public QTreeView {
    Q_OBJECT
  public:
    // `nodeView` is the node view the tree belongs to.
    explicit OutlineTree(TFrameMemoNode* nodeView, QWidget* parent = nullptr);

    // Empties the tree and reads `node`'s memo text into it, with the
    // collapsed-block keywords for "Poser". Window events pass while it
    // reads; a later showing (or release) meanwhile wins, and this one then
    // yields false. False also when a break stopped the reading: the tree
    // then shows what was read, and is never written back.
    bool fill(MemoNode& node, bool poser, AgentAPLAbs* agent);
    // Lets go of the node; the tree is emptied.
    void release();
    // The node the tree was read from (none after a release).
    MemoNode* node() const { return node_; }
    bool isReading() const { return reading_ > 0; }
    bool isComplete() const { return complete_; }
    bool isEdited() const { return edited_; }
    void setEdited(bool edited) { edited_ = edited; }
    // The outline text of the tree (0), or -1 for an empty tree.
    int outlineText(std::vector<std::string>& lines, AgentAPLAbs* agent) const;
    const Outline& outline() const { return model_->outline(); }
    OutlineModel* outlineModel() const { return model_; }

    // PopupMenuTV's entries; each yields whether it changed the tree.
    bool Edit();
    bool AddNode();
    bool AddChildNode();
    bool Delete();
    bool Clone();
    void ToText();
    // The selected item, or none.
    OutlineItem* selectedItem() const;
    void selectItem(const OutlineItem* item);

    QMenu* PopupMenuTV;

  private:
    // Structural edits are refused for a read-only node or view, a tree
    // read only in part, and while the tree is read.
    bool refusesEdit();
    // The item edits start from: the selected one, else the first.
    OutlineItem* reference() const;
    void placed(const QModelIndex& made, bool startEditing);

    TFrameMemoNode* nodeView_;
    OutlineModel* model_;
    MemoNode* node_ = nullptr;
    bool edited_ = false;
    bool complete_ = true;
    int reading_ = 0;
    // Counts showings: a reading that finds it changed was overtaken.
    unsigned generation_ = 0;
};

}  // namespace zel
