#include "app/window/TFormMainZELX13c.h"

#include <QChildEvent>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

#include "app/commands/CommandNames.h"
#include "app/commands/CommandTable.h"
#include "app/window/CommandKeys.h"
#include "app/window/WindowState.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

// Tab pop-up items the UI read-only switch disables.
constexpr std::string_view kWritingTabCommands[] = {commands::UIRenameHolder, commands::UINewHolder,
                                                    commands::UIDeleteHolder};

// The model of the list control in force.
QAbstractItemModel* shownModel(const MemoHolderUI& holder) {
    const ListMode mode = holder.listMode();
    if (mode == ListMode::Tree) return holder.treeModel();
    if (mode == ListMode::List) return holder.listModel();
    return holder.checkListModel();
}

bool isCompanionWindow(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (!widget || !widget->isWindow()) return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool;
}

}  // namespace

TFormMainZELX13c::TFormMainZELX13c(QWidget* parent) : TFormMainMenu(parent) {
    holderView_ = std::make_unique<MainHolderView>(*this, this);
    FrameMemoHolder1 = holderView_->frame();
    nodeView_ = std::make_unique<MainNodeView>(*this, FrameMemoHolder1);
    FrameMemoNode1 = nodeView_->frame();
    FrameMemoHolder1->setNodeView(FrameMemoNode1);
    setHolderFrame(holderView_->widget());
    buildTabPopup();
    bindCommandKeys(*menuBar(), *FrameMemoHolder1->PanelLeft);
    addRecentMenu(*this);
}

void TFormMainZELX13c::buildTabPopup() {
    QMenu* popup = holderView_->tabs()->PopupMenuHolder;
    popup->clear();
    // Its items do nothing while a command runs.
    tabItems_ = buildMenu(popup, tabPopupMap(), {}, true);
}

void TFormMainZELX13c::applyUIReadOnly(bool readOnly) {
    TFormMainMenu::applyUIReadOnly(readOnly);
    for (QAction* item : tabItems_)
        for (std::string_view name : kWritingTabCommands)
            if (commandOf(item) == name) item->setEnabled(!readOnly && isCommandBuilt(name));
}

bool TFormMainZELX13c::hasHolderView() const {
    return holderView_ && holderView_->frame()->holder();
}

void TFormMainZELX13c::showHolderView(MemoHolder* holder) {
    holderView_->showHolder(holder);
    checkListModeItem(holder);
    followShownList();
}

void TFormMainZELX13c::followShownList() {
    for (const QMetaObject::Connection& watch : listWatch_) disconnect(watch);
    listWatch_.clear();
    const MemoHolderUI* holder = holderView_->frame()->holder();
    QAbstractItemModel* model = holder ? shownModel(*holder) : nullptr;
    if (!model) return;
    auto changed = [this] { positionChanged(); };
    listWatch_ = {connect(model, &QAbstractItemModel::modelReset, this, changed),
                  connect(model, &QAbstractItemModel::layoutChanged, this, changed),
                  connect(model, &QAbstractItemModel::rowsInserted, this, changed),
                  connect(model, &QAbstractItemModel::rowsRemoved, this, changed),
                  connect(model, &QAbstractItemModel::rowsMoved, this, changed)};
}

void TFormMainZELX13c::positionChanged() {
    if (positionDue_) return;
    positionDue_ = true;
    // A command that adds a hundred thousand lines updates it once.
    QTimer::singleShot(0, this, [this] {
        positionDue_ = false;
        holderView_->frame()->updatePosition();
    });
}

bool TFormMainZELX13c::event(QEvent* event) {
    // Every companion window is polished before it first shows.
    if (event->type() == QEvent::ChildPolished) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (isCompanionWindow(child)) child->installEventFilter(this);
    }
    return TFormMainMenu::event(event);
}

bool TFormMainZELX13c::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && isCompanionWindow(watched)) {
        auto* companion = static_cast<QWidget*>(watched);
        restoreCompanion(*companion);
        fitOnScreen(*companion);
        if (QWindow* handle = companion->windowHandle(); handle && windowHandle()) {
            // A window manager keeps a dialog-type window above the window it
            // is transient for; a plain window it stacks like any other.
            if (handle->type() == Qt::Window)
                handle->setFlags((handle->flags() & ~Qt::WindowType_Mask) | Qt::Dialog);
            handle->setTransientParent(windowHandle());
        }
    }
    return TFormMainMenu::eventFilter(watched, event);
}

void TFormMainZELX13c::hideHolderView(MemoHolder* holder) {
    holderView_->hideHolder(holder);
}

NodeEditor* TFormMainZELX13c::nodeEditor() const {
    if (nodeEditorBehind()) const_cast<TFormMainZELX13c*>(this)->catchUpNodeEditor();
    return nodeView_.get();
}

void TFormMainZELX13c::refreshHolderList() {
    holderView_->refresh();
    // The holder list may have grown ("Trush" appearing) or shrunk.
    showHolderCount();
}

void TFormMainZELX13c::showListMode(ListMode mode) {
    holderView_->showListMode(mode);
    checkListModeItem(holderView_->frame()->holder());
    followShownList();
}

}  // namespace zel
