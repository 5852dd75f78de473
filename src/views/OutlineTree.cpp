#include "views/OutlineTree.h"

#include <QColor>
#include <QHeaderView>

#include "model/MemoNode.h"
#include "object/Agents.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// Trees this small open every level when shown.
constexpr std::size_t kExpandedItems = 5000;
// A kept block's tool tip shows its first lines.
constexpr std::size_t kToolTipLines = 20;

// The agent a reading passes on: the window's Break, or a later showing
// that took the tree over.
class ReadingAgent : public AgentAPLAbs {
  public:
    ReadingAgent(AgentAPLAbs* window, std::function<bool()> overtaken)
        : window_(window), overtaken_(std::move(overtaken)) {}
    bool isBreak_() override { return (window_ && window_->isBreak_()) || overtaken_(); }
    int message_(std::string_view text) override { return window_ ? window_->message_(text) : 0; }
    std::string query_(std::string_view key) override {
        return window_ ? window_->query_(key) : std::string();
    }

  private:
    AgentAPLAbs* window_;
    std::function<bool()> overtaken_;
};

// Progress only: a write-back lets no window events through, so nothing
// can change the tree while it is written.
class WritingAgent : public AgentAPLAbs {
  public:
    explicit WritingAgent(AgentAPLAbs* window) : window_(window) {}
    bool isBreak_() override { return false; }
    int message_(std::string_view text) override { return window_ ? window_->message_(text) : 0; }

  private:
    AgentAPLAbs* window_;
};

}  // namespace

// --- The model ---------------------------------------------------------------------

OutlineModel::OutlineModel(QObject* parent) : QAbstractItemModel(parent) {}

void OutlineModel::replace(Outline fresh) {
    beginResetModel();
    outline_ = std::move(fresh);
    endResetModel();
}

OutlineItem* OutlineModel::itemOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<OutlineItem*>(index.internalPointer()) : nullptr;
}

QModelIndex OutlineModel::indexOf(const OutlineItem* item) const {
    if (!item || item == &outline_.root) return {};
    return createIndex(static_cast<int>(item->row), 0, const_cast<OutlineItem*>(item));
}

QModelIndex OutlineModel::insertItem(OutlineItem* parent, std::size_t row, std::string text) {
    OutlineItem& under = owner(parent);
    row = std::min(row, under.children.size());
    beginInsertRows(indexOf(parent), static_cast<int>(row), static_cast<int>(row));
    OutlineItem& made = under.insertChild(row, std::move(text));
    endInsertRows();
    return indexOf(&made);
}

QModelIndex OutlineModel::insertCopy(OutlineItem* parent, std::size_t row,
                                     const OutlineItem& source) {
    OutlineItem copy;
    copySubtree_(source, copy);
    OutlineItem& under = owner(parent);
    row = std::min(row, under.children.size());
    beginInsertRows(indexOf(parent), static_cast<int>(row), static_cast<int>(row));
    OutlineItem& made = under.insertChild(row, copy.text);
    made.block = std::move(copy.block);
    made.children = std::move(copy.children);
    for (auto& child : made.children) child->parent = &made;
    endInsertRows();
    return indexOf(&made);
}

void OutlineModel::removeItem(const QModelIndex& index) {
    OutlineItem* item = itemOf(index);
    if (!item) return;
    OutlineItem* parent = item->parent;
    beginRemoveRows(index.parent(), index.row(), index.row());
    std::unique_ptr<OutlineItem> gone = parent->takeChild(item->row);
    endRemoveRows();
}

QModelIndex OutlineModel::index(int row, int column, const QModelIndex& parent) const {
    const OutlineItem* under = parent.isValid() ? itemOf(parent) : &outline_.root;
    if (column != 0 || row < 0 || static_cast<std::size_t>(row) >= under->children.size())
        return {};
    return createIndex(row, 0, under->children[static_cast<std::size_t>(row)].get());
}

QModelIndex OutlineModel::parent(const QModelIndex& child) const {
    const OutlineItem* item = itemOf(child);
    return item ? indexOf(item->parent) : QModelIndex();
}

int OutlineModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const OutlineItem* under = parent.isValid() ? itemOf(parent) : &outline_.root;
    return static_cast<int>(under->children.size());
}

int OutlineModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant OutlineModel::data(const QModelIndex& index, int role) const {
    const OutlineItem* item = itemOf(index);
    if (!item) return {};
    // A block kept whole under its item is named beside it, and shown in
    // its tool tip; editing sees the item's text alone.
    const bool kept = item->hasBlock() && !item->isLongLine();
    switch (role) {
        case Qt::EditRole:
            return toQt(item->text);
        case Qt::DisplayRole:
            return kept ? toQt(item->text) + QStringLiteral("  {%1 lines}").arg(item->block.size())
                        : toQt(item->text);
        case Qt::ToolTipRole: {
            if (!kept) return {};
            QStringList lines;
            for (std::size_t i = 0; i < item->block.size() && i < kToolTipLines; ++i)
                lines << toQt(item->block[i]);
            if (item->block.size() > kToolTipLines) lines << QStringLiteral("...");
            return lines.join(QLatin1Char('\n'));
        }
        case Qt::ForegroundRole:
            return kept ? QVariant(QColor(Qt::darkBlue)) : QVariant();
        default:
            return {};
    }
}

bool OutlineModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    OutlineItem* item = itemOf(index);
    if (!item || role != Qt::EditRole || (editable && !editable())) return false;
    std::string text = fromQt(value.toString());
    if (text == item->text) return false;
    item->text = std::move(text);
    emit dataChanged(index, index);
    emit textEdited();
    return true;
}

Qt::ItemFlags OutlineModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!editable || editable()) flags |= Qt::ItemIsEditable;
    return flags;
}

// --- The tree ----------------------------------------------------------------------

OutlineTree::OutlineTree(TFrameMemoNode* nodeView, QWidget* parent)
    : QTreeView(parent), nodeView_(nodeView), model_(new OutlineModel(this)) {
    setObjectName(QStringLiteral("TreeViewOutline"));
    setModel(model_);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    // The selection stays visible while another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    model_->editable = [this] {
        return !reading_ && complete_ && node_ && !(nodeView_ && nodeView_->isReadOnly()) &&
               !node_->isReadOnlyEffective_();
    };
    // A relabel that changes a text is an edit to write back.
    connect(model_, &OutlineModel::textEdited, this, [this] { edited_ = true; });

    PopupMenuTV = new QMenu(this);
    PopupMenuTV->setObjectName(QStringLiteral("PopupMenuTV"));
    PopupMenuTV->addAction(QStringLiteral("Edit"), this, [this] { Edit(); });
    PopupMenuTV->addAction(QStringLiteral("Add Node"), this, [this] { AddNode(); });
    PopupMenuTV->addAction(QStringLiteral("Add Child Node"), this, [this] { AddChildNode(); });
    PopupMenuTV->addAction(QStringLiteral("Delete"), this, [this] { Delete(); });
    PopupMenuTV->addAction(QStringLiteral("Clone"), this, [this] { Clone(); });
    PopupMenuTV->addSeparator();
    PopupMenuTV->addAction(QStringLiteral("->text"), this, [this] { ToText(); });
    PopupMenuTV->addSeparator();
    // Both have never done anything; the tree's own arrows open and close.
    PopupMenuTV->addAction(QStringLiteral("Expand"));
    PopupMenuTV->addAction(QStringLiteral("Unexpand"));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenuTV->popup(viewport()->mapToGlobal(at)); });
}

bool OutlineTree::fill(MemoNode& node, bool poser, AgentAPLAbs* agent) {
    const unsigned mine = ++generation_;
    node_ = &node;
    edited_ = false;
    complete_ = true;
    model_->replace(Outline{});
    // The window may run other code while the text is read: read a copy into
    // a tree nobody else sees.
    const std::vector<std::string> lines = node.memo;
    Outline fresh;
    ReadingAgent reading(agent, [this, mine] { return generation_ != mine; });
    ++reading_;
    setUpdatesEnabled(false);
    readWholeOutline(fresh, lines, &reading, poser ? &poserKeywords() : nullptr);
    setUpdatesEnabled(true);
    --reading_;
    if (generation_ != mine) return false;
    complete_ = fresh.complete;
    const bool small = fresh.itemCount() <= kExpandedItems;
    model_->replace(std::move(fresh));
    if (small) expandAll();
    return complete_;
}

void OutlineTree::release() {
    ++generation_;
    node_ = nullptr;
    edited_ = false;
    complete_ = true;
    model_->replace(Outline{});
}

int OutlineTree::outlineText(std::vector<std::string>& lines, AgentAPLAbs* agent) const {
    WritingAgent writing(agent);
    return writeOutline_(model_->outline(), &lines, &writing);
}

OutlineItem* OutlineTree::selectedItem() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : model_->itemOf(selected.front());
}

void OutlineTree::selectItem(const OutlineItem* item) {
    const QModelIndex index = model_->indexOf(item);
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

OutlineItem* OutlineTree::reference() const {
    if (OutlineItem* selected = selectedItem()) return selected;
    const auto& top = model_->outline().root.children;
    return top.empty() ? nullptr : top.front().get();
}

bool OutlineTree::refusesEdit() {
    if (reading_ || !node_) return true;
    if (!complete_) {
        if (nodeView_)
            nodeView_->message(
                "The outline was not read to its end: it is not changed or written back.");
        return true;
    }
    return nodeView_ && nodeView_->refusesNodeChange();
}

void OutlineTree::placed(const QModelIndex& made, bool startEditing) {
    edited_ = true;
    if (made.parent().isValid()) expand(made.parent());
    selectItem(model_->itemOf(made));
    scrollTo(made);
    if (startEditing) edit(made);
}

bool OutlineTree::Edit() {
    OutlineItem* item = selectedItem();
    if (!item || refusesEdit()) return false;
    edit(model_->indexOf(item));
    return true;
}

bool OutlineTree::AddNode() {
    if (refusesEdit()) return false;
    OutlineItem* after = reference();
    placed(after ? model_->insertItem(
                       after->parent == &model_->outline().root ? nullptr : after->parent,
                       after->row + 1, " ")
                 : model_->insertItem(nullptr, 0, " "),
           true);
    return true;
}

bool OutlineTree::AddChildNode() {
    if (refusesEdit()) return false;
    OutlineItem* parent = reference();
    const std::size_t last = parent ? parent->children.size() : 0;
    placed(model_->insertItem(parent, last, " "), true);
    return true;
}

bool OutlineTree::Delete() {
    OutlineItem* item = selectedItem();
    if (!item || refusesEdit()) return false;
    model_->removeItem(model_->indexOf(item));
    edited_ = true;
    return true;
}

bool OutlineTree::Clone() {
    OutlineItem* item = selectedItem();
    if (!item || refusesEdit()) return false;
    OutlineItem* parent = item->parent == &model_->outline().root ? nullptr : item->parent;
    placed(model_->insertCopy(parent, item->row + 1, *item), false);
    return true;
}

void OutlineTree::ToText() {
    if (nodeView_ && !reading_) nodeView_->changeEncoding("\"text\"");
}

}  // namespace zel
