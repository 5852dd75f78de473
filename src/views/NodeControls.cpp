#include "views/NodeControls.h"

#include <QHeaderView>

#include "views/NodeRowModel.h"

namespace zel {

namespace {
constexpr int kLargeIcon = 32;
constexpr int kSmallIcon = 16;
}  // namespace

NodeListControl::NodeListControl(QWidget* parent) : QStackedWidget(parent) {
    iconView = new NodeControl<QListView>(this);
    reportView = new NodeControl<QTreeView>(this);
    reportView->setRootIsDecorated(false);
    reportView->setUniformRowHeights(true);
    reportView->setItemsExpandable(false);
    reportView->setAllColumnsShowFocus(true);
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
                [this](const QModelIndex& index) { emit rowClicked(index.row()); });
        addWidget(view);
    }
    setViewStyle(Report);
}

void NodeListControl::setNodeModel(NodeRowModel* model) {
    model_ = model;
    iconView->setModel(model);
    reportView->setModel(model);
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
        reportView->header()->resizeSection(static_cast<int>(i), columns[i].width);
}

QAbstractItemView* NodeListControl::activeView() const {
    return style_ == Report ? static_cast<QAbstractItemView*>(reportView)
                            : static_cast<QAbstractItemView*>(iconView);
}

int NodeListControl::selectedRow() const {
    if (!iconView->selectionModel()) return -1;
    const QModelIndexList rows = iconView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void NodeListControl::selectRow(int row) {
    if (!model_) return;
    QModelIndex index = model_->index(row, 0);
    activeView()->setCurrentIndex(index);
    if (index.isValid()) activeView()->scrollTo(index);
}

int NodeListControl::rowAt(const QPoint& position) const {
    return activeView()->indexAt(position).row();
}

void NodeListControl::setHooks(const ControlHooks& hooks) {
    iconView->hooks = hooks;
    reportView->hooks = hooks;
}

}  // namespace zel
