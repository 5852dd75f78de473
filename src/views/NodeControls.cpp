#include "views/NodeControls.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <utility>

#include "views/NodeRowModel.h"
#include "views/NodeTreeModel.h"

namespace zel {

namespace {
constexpr int kLargeIcon = 32;
constexpr int kSmallIcon = 16;
// Draws a tree line: the indentation of its level, its branch mark, then
// the icon and the text as any line.
class TreeLineDelegate : public QStyledItemDelegate {
  public:
    explicit TreeLineDelegate(NodeTreeView* view) : QStyledItemDelegate(view), view_(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect mark = markRect(option.rect, index);
        const int branch = index.data(NodeTreeModel::BranchRole).toInt();
        if (branch != NodeTreeModel::NoBranch) {
            QStyleOption shape;
            shape.rect = mark;
            shape.palette = option.palette;
            shape.direction = option.direction;
            shape.state = option.state & QStyle::State_Enabled;
            const bool rightToLeft = option.direction == Qt::RightToLeft;
            const QStyle::PrimitiveElement arrow = branch == NodeTreeModel::OpenBranch
                                                       ? QStyle::PE_IndicatorArrowDown
                                                   : rightToLeft ? QStyle::PE_IndicatorArrowLeft
                                                                 : QStyle::PE_IndicatorArrowRight;
            view_->style()->drawPrimitive(arrow, &shape, painter, view_);
        }
        QStyleOptionViewItem rest(option);
        rest.rect.setLeft(mark.right() + 1);
        QStyledItemDelegate::paint(painter, rest, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += (index.data(NodeTreeModel::LevelRole).toInt() + 1) * view_->indentation();
        return size;
    }

    QRect markRect(const QRect& line, const QModelIndex& index) const {
        const int indent = view_->indentation();
        const int level = index.data(NodeTreeModel::LevelRole).toInt();
        return QRect(line.left() + level * indent, line.top(), indent, line.height());
    }

  private:
    NodeTreeView* view_;
};

// The list's lines: the holder's rows, sorted by the column the user chose.
// The view's order only; the holder keeps its own.
class SortedLines : public QSortFilterProxyModel {
  public:
    SortedLines(NodeRowModel* rows, QObject* parent) : QSortFilterProxyModel(parent), rows_(rows) {
        setSourceModel(rows);
    }

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        return rows_->compareRows(left.row(), right.row(), left.column()) < 0;
    }

  private:
    NodeRowModel* rows_;
};

}  // namespace

NodeLineTable::NodeLineTable(QWidget* parent, bool showColumnHeader)
    : NodeControl<QTableView>(parent) {
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setVisible(showColumnHeader);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fitLineHeight();
}

void NodeLineTable::changeEvent(QEvent* event) {
    NodeControl<QTableView>::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitLineHeight();
}

void NodeLineTable::fitLineHeight() {
    const int text = fontMetrics().height();
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    const int height = std::max({text, indicator, kSmallIcon}) + 4;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
}

NodeTreeView::NodeTreeView(QWidget* parent) : NodeLineTable(parent, false) {
    indentation_ = style()->pixelMetric(QStyle::PM_TreeViewIndentation, nullptr, this);
    setItemDelegate(new TreeLineDelegate(this));
}

void NodeTreeView::setModel(QAbstractItemModel* model) {
    if (tree_) disconnect(tree_, nullptr, this, nullptr);
    NodeLineTable::setModel(model);
    tree_ = qobject_cast<NodeTreeModel*>(model);
    if (!tree_) return;
    // A change of the lines may take the current line out and put it back
    // elsewhere, or move its item under a closed one: the same item stays
    // current and in sight.
    connect(tree_, &NodeTreeModel::linesAboutToChange, this,
            [this] { held_ = tree_->itemAt(currentIndex()); });
    connect(tree_, &NodeTreeModel::linesChanged, this, [this] {
        TreeItem* kept = std::exchange(held_, nullptr);
        if (!kept || !tree_->isInTree(kept)) return;
        tree_->reveal(kept);
        const QModelIndex line = tree_->indexOf(kept);
        if (line.isValid() && line != currentIndex())
            selectionModel()->setCurrentIndex(
                line, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
}

bool NodeTreeView::isExpanded(const QModelIndex& index) const {
    return tree_ && tree_->isExpanded(tree_->itemAt(index));
}

void NodeTreeView::setExpanded(const QModelIndex& index, bool expanded) {
    if (tree_) tree_->setExpanded(tree_->itemAt(index), expanded);
}

void NodeTreeView::expandAll() {
    if (tree_) tree_->setAllExpanded(true);
}

void NodeTreeView::collapseAll() {
    if (tree_) tree_->setAllExpanded(false);
}

QModelIndex NodeTreeView::branchMarkAt(const QPoint& position) const {
    const QModelIndex line = indexAt(position);
    if (!line.isValid() || line.data(NodeTreeModel::BranchRole).toInt() == NodeTreeModel::NoBranch)
        return {};
    const auto* delegate = static_cast<const TreeLineDelegate*>(itemDelegate());
    return delegate->markRect(visualRect(line), line).contains(position) ? line : QModelIndex();
}

void NodeTreeView::toggle(const QModelIndex& index) {
    setExpanded(index, !isExpanded(index));
}

void NodeTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (const QModelIndex mark = branchMarkAt(event->position().toPoint()); mark.isValid()) {
            toggle(mark);
            return event->accept();
        }
    }
    NodeLineTable::mousePressEvent(event);
}

void NodeTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex line = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && line.isValid() &&
        line.data(NodeTreeModel::BranchRole).toInt() != NodeTreeModel::NoBranch) {
        toggle(line);
        return event->accept();
    }
    NodeLineTable::mouseDoubleClickEvent(event);
}

void NodeTreeView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex line = currentIndex();
    if (line.isValid()) {
        switch (event->key()) {
            case Qt::Key_Plus:
                setExpanded(line, true);
                return event->accept();
            case Qt::Key_Minus:
                setExpanded(line, false);
                return event->accept();
            case Qt::Key_Asterisk:
                if (tree_) tree_->expandSubtree(tree_->itemAt(line));
                return event->accept();
            default:
                break;
        }
    }
    NodeLineTable::keyPressEvent(event);
}

NodeListControl::NodeListControl(QWidget* parent) : QStackedWidget(parent) {
    iconView = new NodeControl<QListView>(this);
    reportView = new NodeLineTable(this, true);
    iconView->setUniformItemSizes(true);
    iconView->setLayoutMode(QListView::Batched);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(iconView), static_cast<QAbstractItemView*>(reportView)}) {
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setDragEnabled(true);
        view->setAcceptDrops(true);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::NoContextMenu);
        connect(view, &QAbstractItemView::clicked, this,
                [this](const QModelIndex& index) { emit rowClicked(rowOfLine(index.row())); });
        addWidget(view);
    }
    makeHeaderSort();
    setViewStyle(Report);
}

void NodeListControl::makeHeaderSort() {
    QHeaderView* header = reportView->horizontalHeader();
    // No column is sorted before the first click; a third click on a column
    // clears its sort.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSortIndicatorClearable(true);
    reportView->setSortingEnabled(true);
    // The current line keeps its selection through the sort and stays in sight.
    connect(header, &QHeaderView::sortIndicatorChanged, this, [this] {
        if (const QModelIndex current = activeView()->currentIndex(); current.isValid())
            activeView()->scrollTo(current);
    });
}

void NodeListControl::setNodeModel(NodeRowModel* model) {
    model_ = model;
    QSortFilterProxyModel* former = std::exchange(lines_, new SortedLines(model, this));
    iconView->setModel(lines_);
    reportView->setModel(lines_);
    delete former;
    // One selection for both views, so a style change keeps the selected line.
    reportView->setSelectionModel(iconView->selectionModel());
    applyColumnWidths();
}

void NodeListControl::setViewStyle(int style) {
    if (style < Icon || style > Report) return;
    style_ = style;
    if (style == Report) {
        setCurrentWidget(reportView);
        return;
    }
    const bool icons = style == Icon || style == SmallIcon;
    iconView->setViewMode(icons ? QListView::IconMode : QListView::ListMode);
    iconView->setFlow(style == List ? QListView::TopToBottom : QListView::LeftToRight);
    iconView->setWrapping(true);
    iconView->setResizeMode(QListView::Adjust);
    iconView->setMovement(QListView::Static);
    const int side = style == Icon ? kLargeIcon : kSmallIcon;
    iconView->setIconSize(QSize(side, side));
    iconView->setGridSize(style == Icon ? QSize(96, 64) : QSize());
    setCurrentWidget(iconView);
}

void NodeListControl::applyColumnWidths() {
    if (!model_) return;
    const auto& columns = model_->columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        reportView->horizontalHeader()->resizeSection(static_cast<int>(i), columns[i].width);
}

QAbstractItemView* NodeListControl::activeView() const {
    return style_ == Report ? static_cast<QAbstractItemView*>(reportView)
                            : static_cast<QAbstractItemView*>(iconView);
}

int NodeListControl::selectedRow() const {
    if (!iconView->selectionModel()) return -1;
    const QModelIndexList lines = iconView->selectionModel()->selectedRows();
    return lines.isEmpty() ? -1 : rowOfLine(lines.first().row());
}

void NodeListControl::selectRow(int row) {
    if (!model_) return;
    const QModelIndex line = lines_->index(lineOfRow(row), 0);
    activeView()->setCurrentIndex(line);
    if (line.isValid()) activeView()->scrollTo(line);
}

int NodeListControl::rowAt(const QPoint& position) const {
    return rowOfLine(activeView()->indexAt(position).row());
}

int NodeListControl::lineCount() const {
    return lines_ ? lines_->rowCount() : 0;
}

int NodeListControl::rowOfLine(int line) const {
    if (!lines_) return -1;
    const QModelIndex row = lines_->mapToSource(lines_->index(line, 0));
    return row.isValid() ? row.row() : -1;
}

int NodeListControl::lineOfRow(int row) const {
    if (!model_) return -1;
    const QModelIndex line = lines_->mapFromSource(model_->index(row, 0));
    return line.isValid() ? line.row() : -1;
}

void NodeListControl::showStoredOrder() {
    reportView->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void NodeListControl::setHooks(const ControlHooks& hooks) {
    iconView->hooks = hooks;
    reportView->hooks = hooks;
}

}  // namespace zel
