#include "app/TFormMainZELX13c.h"

namespace zel {

TFormMainZELX13c::TFormMainZELX13c(QWidget* parent) : TFormMainMenu(parent) {
    holderView_ = std::make_unique<MainHolderView>(*this, this);
    FrameMemoHolder1 = holderView_->frame();
    nodeView_ = std::make_unique<MainNodeView>(*this, FrameMemoHolder1);
    FrameMemoNode1 = nodeView_->frame();
    FrameMemoHolder1->setNodeView(FrameMemoNode1);
    setHolderFrame(holderView_->widget());
}

void TFormMainZELX13c::showHolderView(MemoHolder* holder) {
    holderView_->showHolder(holder);
}

void TFormMainZELX13c::hideHolderView(MemoHolder* holder) {
    holderView_->hideHolder(holder);
}

void TFormMainZELX13c::refreshHolderList() {
    holderView_->refresh();
}

void TFormMainZELX13c::showListMode(std::string_view mode) {
    holderView_->showListMode(mode);
}

}  // namespace zel
