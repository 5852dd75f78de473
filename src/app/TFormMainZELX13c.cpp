#include "app/TFormMainZELX13c.h"

#include "model/MemoHolder.h"
#include "views/ViewText.h"

namespace zel {

TFormMainZELX13c::TFormMainZELX13c(QWidget* parent) : TFormMainMenu(parent) {
    FrameMemoHolder1 = new QSplitter(Qt::Horizontal, this);
    nodeList = new QListWidget(FrameMemoHolder1);
    nodeList->setUniformItemSizes(true);
    nodeView_ = std::make_unique<MainNodeView>(*this, FrameMemoHolder1);
    FrameMemoNode1 = nodeView_->frame();
    FrameMemoHolder1->setStretchFactor(1, 3);
    setHolderFrame(FrameMemoHolder1);
    connect(nodeList, &QListWidget::currentRowChanged, this, &TFormMainZELX13c::nodeRowChosen);
}

void TFormMainZELX13c::showHolderView(MemoHolder* holder) {
    listedHolder_ = nullptr;
    nodeList->setVisible(holder != nullptr);
    refreshHolderList();
}

void TFormMainZELX13c::hideHolderView(MemoHolder* holder) {
    if (holder != listedHolder_) return;
    QSignalBlocker quiet(nodeList);
    nodeList->clear();
    listedHolder_ = nullptr;
}

void TFormMainZELX13c::refreshHolderList() {
    MemoHolder* holder = aFile->currentHolder;
    QSignalBlocker quiet(nodeList);
    if (holder != listedHolder_ || !holder || nodeList->count() != holder->count_()) {
        nodeList->clear();
        listedHolder_ = holder;
        if (!holder) return;
        for (int i = 0; i < holder->count_(); ++i) {
            nodeList->addItem(toQt(holder->nodes->nameAt(static_cast<std::size_t>(i))));
        }
    }
    nodeList->setCurrentRow(holder->indexOf_(getCurMemoNode()));
}

void TFormMainZELX13c::nodeRowChosen(int row) {
    if (!listedHolder_ || nowDoing()) return;
    if (MemoNode* node = listedHolder_->at_(row)) setCurMemoNode_(node);
}

}  // namespace zel
