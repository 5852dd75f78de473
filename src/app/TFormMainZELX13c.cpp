#include "app/TFormMainZELX13c.h"

#include "app/CommandTable.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

// Tab pop-up items the UI read-only switch disables.
constexpr std::string_view kWritingTabCommands[] = {"UIRenameHolder", "UINewHolder",
                                                    "UIDeleteHolder"};

}  // namespace

TFormMainZELX13c::TFormMainZELX13c(QWidget* parent) : TFormMainMenu(parent) {
    holderView_ = std::make_unique<MainHolderView>(*this, this);
    FrameMemoHolder1 = holderView_->frame();
    nodeView_ = std::make_unique<MainNodeView>(*this, FrameMemoHolder1);
    FrameMemoNode1 = nodeView_->frame();
    FrameMemoHolder1->setNodeView(FrameMemoNode1);
    setHolderFrame(holderView_->widget());
    buildTabPopup();
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
}

void TFormMainZELX13c::showListMode(std::string_view mode) {
    holderView_->showListMode(mode);
    checkListModeItem(holderView_->frame()->holder());
}

}  // namespace zel
