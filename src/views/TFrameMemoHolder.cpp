// The holder frame: layout, showing holders, and the event handlers of the
// list controls.

#include "views/TFrameMemoHolder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWheelEvent>

#include "model/MemoFile.h"
#include "object/TObjectNamed.h"
#include "text/TextHelpers.h"
#include "views/MemoNodeUI.h"
#include "views/ViewText.h"

namespace zel {

namespace {

bool isFirstOrLastKey(int key) {
    return key == Qt::Key_Home || key == Qt::Key_End;
}

constexpr int kDesignWidth = 588;
constexpr int kDesignHeight = 578;
constexpr int kPanelWidth = 193;
constexpr int kSplitterWidth = 6;
constexpr int kPositionWidth = 50;
constexpr int kNarrowestNameColumn = 80;
constexpr const char* kConfigured = "zelConfigured";

bool isMultiLineEditor(const QWidget* widget) {
    return qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

// A control is given its place and its events once, however often it is shown.
bool firstConfiguration(QWidget* control) {
    if (control->property(kConfigured).toBool()) return false;
    control->setProperty(kConfigured, true);
    return true;
}

}  // namespace

TFrameMemoHolder::TFrameMemoHolder(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrameMemoHolder1"));
    resize(kDesignWidth, kDesignHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(kSplitterWidth);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setStyleSheet(
        QStringLiteral("QSplitter::handle { background: #008080; border-left: 1px solid #40a0a0;"
                       " border-right: 1px solid #005050; }"));
    layout->addWidget(Splitter1);

    PanelLeft = new QWidget(Splitter1);
    PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
    PanelLeft->setMinimumSize(1, 1);
    auto* left = new QVBoxLayout(PanelLeft);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    controlsLayout_ = new QVBoxLayout;
    controlsLayout_->setContentsMargins(0, 0, 0, 0);
    left->addLayout(controlsLayout_, 1);
    StatusBar2 = new QStatusBar(PanelLeft);
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    StatusBar2->setSizeGripEnabled(false);
    position_ = new QLabel(StatusBar2);
    position_->setAlignment(Qt::AlignCenter);
    position_->setMinimumWidth(kPositionWidth);
    StatusBar2->addWidget(position_, 1);
    left->addWidget(StatusBar2);

    FrameMemoNode1 = new QWidget(Splitter1);
    FrameMemoNode1->setObjectName(QStringLiteral("FrameMemoNode1"));
    nodeViewLayout_ = new QVBoxLayout(FrameMemoNode1);
    nodeViewLayout_->setContentsMargins(0, 0, 0, 0);

    Splitter1->addWidget(PanelLeft);
    Splitter1->addWidget(FrameMemoNode1);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({kPanelWidth, kDesignWidth - kPanelWidth - kSplitterWidth});
    buildMenus();
}

void TFrameMemoHolder::initialise(HolderFrameHost* host) {
    host_ = host;
    cloneCountText = "15";
    for (QMenu* menu : {PopupMenuLB, PopupMenuTV, PopupMenuLV}) enableBuiltCommands(menu);
}

void TFrameMemoHolder::setNodeView(QWidget* view) {
    if (!view) return;
    view->setParent(FrameMemoNode1);
    nodeViewLayout_->addWidget(view);
}

void TFrameMemoHolder::showMessage(std::string_view text) {
    if (host_)
        host_->messageDoing_(text);
    else
        QMessageBox::information(this, QString(), toQt(text));
}

int TFrameMemoHolder::updatePosition() {
    const MemoNode* current = host_ ? host_->getCurMemoNode() : nullptr;
    const int index = holder_ && current ? holder_->indexOf_(current) : -1;
    const int count = holder_ ? holder_->count_() : 0;
    position_->setText(QStringLiteral("%1 / %2").arg(index + 1).arg(count));
    return index;
}

// --- Showing holders -------------------------------------------------------

void TFrameMemoHolder::showHolder(MemoHolderUI* holder) {
    if (checkNIL(holder)) return;
    if (holder_ && holder_ != holder) holder_->hideNodesControl_();
    holder_ = holder;
    // The stored mode decides, also for a holder never shown before.
    const ListMode mode = storedListMode(*holder);
    if (mode == ListMode::Tree)
        configureTree(holder->changeTreeView_(PanelLeft));
    else if (mode == ListMode::List)
        configureList(holder->changeListView_(PanelLeft));
    else
        configureCheckList(holder->changeCheckListBox_(PanelLeft));
    holder->showNodesControl_();
    reselectCurrent();
    holder->mouseCursor_(QCursor(Qt::ArrowCursor));
    if (QWidget* control = holder->nodesControl_(); control && control->isVisible())
        control->setFocus();
    updatePosition();
}

void TFrameMemoHolder::reselectCurrent() {
    // A refilled control has lost its selection: the current node's line
    // is selected again.
    MemoNode* current = host_ ? host_->getCurMemoNode() : nullptr;
    if (current && current->owner == holder_) holder_->setCurrent_(current);
    updatePosition();
}

void TFrameMemoHolder::hideHolder(MemoHolderUI* holder) {
    if (checkNIL(holder)) return;
    holder->hideNodesControl_();
}

int TFrameMemoHolder::switchToCheckList() {
    if (!holder_) return -1;
    holder_->hideNodesControl_();
    configureCheckList(holder_->changeCheckListBox_(PanelLeft));
    holder_->showNodesControl_();
    reselectCurrent();
    return 0;
}

int TFrameMemoHolder::switchToTree() {
    if (!holder_) return -1;
    holder_->hideNodesControl_();
    configureTree(holder_->changeTreeView_(PanelLeft));
    holder_->showNodesControl_();
    reselectCurrent();
    return 0;
}

int TFrameMemoHolder::switchToList() {
    if (!holder_) return -1;
    holder_->hideNodesControl_();
    configureList(holder_->changeListView_(PanelLeft));
    holder_->showNodesControl_();
    reselectCurrent();
    return 0;
}

void TFrameMemoHolder::placeControl(QAbstractItemView* view, QWidget* control, QMenu* popup) {
    control->setParent(PanelLeft);
    controlsLayout_->addWidget(control);
    control->setVisible(false);
    control->setEnabled(false);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setDragEnabled(true);
    view->setAcceptDrops(true);
    view->setDropIndicatorShown(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->viewport()->installEventFilter(this);
    connect(view, &QWidget::customContextMenuRequested, this,
            [view, popup](const QPoint& at) { popup->popup(view->viewport()->mapToGlobal(at)); });
    // Controls go with a clear or the end of their holder: the frame then
    // forgets the holder.
    MemoHolderUI* owner = holder_;
    connect(control, &QObject::destroyed, this, [this, owner] {
        if (holder_ == owner) holder_ = nullptr;
    });
}

bool TFrameMemoHolder::acceptsReorder() const {
    if (host_ && host_->isUIReadOnly()) return false;
    return !(holder_ && holder_->isReadOnlyEffective_());
}

void TFrameMemoHolder::configureCheckList(NodeCheckList* control) {
    if (!control || !firstConfiguration(control)) return;
    placeControl(control, control, PopupMenuLB);
    connect(control, &QAbstractItemView::clicked, this, [this] { selectHandler(); });
    if (auto* model = qobject_cast<NodeRowModel*>(control->model()))
        connect(model, &NodeRowModel::checkClicked, this, &TFrameMemoHolder::markHandler);
    control->hooks.acceptsDrop = [this, control](QObject* source) {
        return source == control && acceptsReorder();
    };
    control->hooks.drop = [this](const QPoint& at) { dropOnCheckList(at); };
    control->hooks.keyUp = [this](int key) { listKeyUp(key); };
    control->hooks.swallowKey = isFirstOrLastKey;
}

void TFrameMemoHolder::configureTree(NodeTreeView* control) {
    if (!control || !firstConfiguration(control)) return;
    // The selection stays as visible when the tree loses the focus.
    QPalette palette = control->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    control->setPalette(palette);
    placeControl(control, control, PopupMenuTV);
    connect(control, &QAbstractItemView::clicked, this, [this] { selectHandler(); });
    control->hooks.acceptsDrop = [this, control](QObject* source) {
        return source == control && acceptsReorder();
    };
    control->hooks.drop = [this](const QPoint& at) { dropOnTree(at); };
    control->hooks.keyUp = [this](int key) { treeKeyUp(key); };
    // Up and Down choose the node on release, through the holder's order.
    control->hooks.swallowKey = [](int key) {
        return key == Qt::Key_Up || key == Qt::Key_Down || isFirstOrLastKey(key);
    };
    control->hooks.mousePress = [this, control](QMouseEvent* event) {
        if (event->button() == Qt::RightButton && QApplication::focusWidget() == control)
            rightClickSelect(event->position().toPoint());
    };
}

void TFrameMemoHolder::configureList(NodeListControl* control) {
    if (!control || !firstConfiguration(control)) return;
    // Columns are not stored: a new list shows those of the holder's query
    // node, the names taking the room the other columns leave.
    if (holder_ && holder_->listControl() == control) {
        std::vector<ReportColumn> columns = queryColumns(0);
        int room = PanelLeft->width();
        for (const ReportColumn& column : columns) room -= column.width;
        columns.front().width = std::max(room, kNarrowestNameColumn);
        holder_->setReportColumns_(std::move(columns));
    }
    placeControl(control->iconView, control, PopupMenuLV);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(control->reportView)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->viewport()->installEventFilter(this);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            PopupMenuLV->popup(view->viewport()->mapToGlobal(at));
        });
    }
    connect(control, &NodeListControl::rowClicked, this, [this] { selectHandler(); });
    ControlHooks hooks;
    hooks.keyUp = [this](int key) { listKeyUp(key); };
    hooks.swallowKey = isFirstOrLastKey;
    control->setHooks(hooks);
}

// --- Handlers ----------------------------------------------------------------

MemoNode* TFrameMemoHolder::selectedNode() const {
    if (!holder_) return nullptr;
    if (holder_->listMode() == ListMode::Tree) {
        TreeItem* item = holder_->selectedTreeItem();
        return item ? item->node : nullptr;
    }
    if (holder_->listMode() == ListMode::List) {
        NodeListControl* list = holder_->listControl();
        return list ? holder_->listModel()->nodeAt(list->selectedRow()) : nullptr;
    }
    NodeCheckList* lines = holder_->checkList();
    if (!lines || !lines->selectionModel()) return nullptr;
    const QModelIndexList chosen = lines->selectionModel()->selectedRows();
    return chosen.isEmpty() ? nullptr : holder_->checkListModel()->nodeAt(chosen.first().row());
}

NodeListControl* TFrameMemoHolder::shownList() const {
    return holder_ && holder_->listMode() == ListMode::List ? holder_->listControl() : nullptr;
}

MemoNode* TFrameMemoHolder::endNodeShown(bool last) const {
    if (NodeListControl* list = shownList())
        return holder_->listModel()->nodeAt(list->rowOfLine(last ? list->lineCount() - 1 : 0));
    return last ? holder_->last_() : holder_->first_();
}

MemoNode* TFrameMemoHolder::nodeShownBeside(const MemoNode* node, bool below) const {
    NodeListControl* list = shownList();
    if (!list) return below ? holder_->next_(node) : holder_->previous_(node);
    const int line = list->lineOfRow(holder_->indexOf_(node));
    if (line < 0) return nullptr;
    return holder_->listModel()->nodeAt(list->rowOfLine(line + (below ? 1 : -1)));
}

void TFrameMemoHolder::selectHandler() {
    MemoNode* node = selectedNode();
    if (!node || !host_ || node == host_->getCurMemoNode()) return;
    host_->setCurMemoNode_(node);
    holder_->changed = true;
    updatePosition();
}

void TFrameMemoHolder::markHandler(int row, bool checked) {
    if (!holder_) return;
    MemoNode* node = holder_->checkListModel()->nodeAt(row);
    if (!node) return;
    const bool current = host_ && node == host_->getCurMemoNode();
    if (current) host_->saveFieldsEditor(*node);
    setNodeMark(*node, checked);
    holder_->changed = true;
    if (current) host_->reloadFieldsEditor(*node);
}

void TFrameMemoHolder::dropOnCheckList(const QPoint& position) {
    NodeCheckList* lines = holder_ ? holder_->checkList() : nullptr;
    if (!lines || !lines->selectionModel()) return;
    const QModelIndexList chosen = lines->selectionModel()->selectedRows();
    if (chosen.isEmpty()) return;
    const int source = chosen.first().row();
    const QModelIndex under = lines->indexAt(position);
    // Below the last line counts as the last line.
    const int target = under.isValid() ? under.row() : holder_->checkListModel()->rowCount() - 1;
    if (target == source || !holder_->moveLine_(source, target)) return;
    holder_->changed = true;
    updatePosition();
}

void TFrameMemoHolder::dropOnTree(const QPoint& position) {
    NodeTreeView* tree =
        holder_ && holder_->listMode() == ListMode::Tree ? holder_->treeView() : nullptr;
    if (!tree) return;
    TreeItem* moved = holder_->selectedTreeItem();
    TreeItem* target = holder_->treeModel()->itemAt(tree->indexAt(position));
    if (!moved || !target || moved == target || moved->contains(target)) return;
    const bool wasExpanded = holder_->isExpanded_(moved);
    holder_->placeBefore_(moved, target);
    finishTreeMove(moved, wasExpanded);
}

void TFrameMemoHolder::finishTreeMove(TreeItem* moved, bool wasExpanded) {
    MemoNode* current = host_ ? host_->getCurMemoNode() : nullptr;
    if (current) host_->saveFieldsEditor(*current);
    // The stored parent link follows the new place; the line stays where it went.
    if (moved->isTopLevel())
        moved->node->removeField_("ParentNodeID");
    else
        moved->node->MemoNode::setParentNode_(*moved->parent->node);
    if (current && moved->node == current) host_->reloadFieldsEditor(*current);
    if (wasExpanded) holder_->setExpanded_(moved, true);
    holder_->changed = true;
    holder_->treeView()->viewport()->update();
    updatePosition();
}

bool TFrameMemoHolder::goToFirstOrLast(int key) {
    if (!isFirstOrLastKey(key) || !holder_ || !host_) return false;
    MemoNode* node = endNodeShown(key == Qt::Key_End);
    if (node && node != host_->getCurMemoNode()) {
        host_->setCurMemoNode_(node);
        updatePosition();
    }
    return true;
}

void TFrameMemoHolder::treeKeyUp(int key) {
    if (goToFirstOrLast(key) || !holder_ || !host_) return;
    TreeItem* selected = holder_->selectedTreeItem();
    if (!selected) return;
    MemoNode* next = nullptr;
    switch (key) {
        case Qt::Key_Left:
            stepHolder(-1);
            return;
        case Qt::Key_Right:
            stepHolder(1);
            return;
        case Qt::Key_Up:
            next = holder_->previous_(selected->node);
            break;
        case Qt::Key_Down:
            next = holder_->next_(selected->node);
            break;
        default:
            return;
    }
    if (next) {
        host_->setCurMemoNode_(next);
        updatePosition();
    }
}

void TFrameMemoHolder::listKeyUp(int key) {
    if (goToFirstOrLast(key)) return;
    // Keys that move the selection choose the node as a click does.
    selectHandler();
    holderKeyUp(key);
}

void TFrameMemoHolder::holderKeyUp(int key) {
    if (key == Qt::Key_Left) stepHolder(-1);
    if (key == Qt::Key_Right) stepHolder(1);
}

void TFrameMemoHolder::stepHolder(int delta) {
    MemoFile* file = host_ ? host_->memoFile() : nullptr;
    if (!file) return;
    MemoNode* current = host_->getCurMemoNode();
    auto* shown = current ? dynamic_cast<MemoHolder*>(current->owner) : holder_;
    const int index = file->indexOfHolder_(shown);
    if (index < 0) return;
    if (MemoHolder* other = file->holderAt_(index + delta)) host_->changeHolder_(other);
}

void TFrameMemoHolder::rightClickSelect(const QPoint& position) {
    NodeTreeView* tree = holder_ ? holder_->treeView() : nullptr;
    if (!tree || !host_) return;
    const QModelIndex under = tree->indexAt(position);
    TreeItem* item = holder_->treeModel()->itemAt(under);
    if (!item) return;
    tree->selectionModel()->setCurrentIndex(under, QItemSelectionModel::ClearAndSelect);
    if (item->node == host_->getCurMemoNode()) return;
    host_->setCurMemoNode_(item->node);
    holder_->changed = true;
    updatePosition();
}

bool TFrameMemoHolder::wheelStep(bool down) {
    if (!host_ || !holder_) return false;
    const QWidget* active = QApplication::focusWidget();
    if (down && (!active || isMultiLineEditor(active))) return false;
    if (!down && active && (isMultiLineEditor(active) || host_->isWebBrowser(active))) return false;
    MemoNode* current = host_->getCurMemoNode();
    if (!current) return false;
    if (current->getField_("Content-Transfer-Encoding") == "\"URL\"" &&
        current->getField_("FlagWheel") != "\"true\"")
        return false;
    MemoNode* next = nodeShownBeside(current, down);
    if (!next) return false;
    host_->setCurMemoNode_(next);
    updatePosition();
    return true;
}

bool TFrameMemoHolder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0 && wheelStep(delta < 0)) return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFrameMemoHolder::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0) wheelStep(delta < 0);
    event->accept();
}

}  // namespace zel
