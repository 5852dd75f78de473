#pragma once
// The frame layer: the holder frame beside the node editor. Until the holder
// view takes its place, the current holder's nodes are listed by name.

#include <QListWidget>
#include <QSplitter>
#include <memory>

#include "app/MainNodeView.h"
#include "app/TFormMainMenu.h"

namespace zel {

class TFormMainZELX13c : public TFormMainMenu {
    Q_OBJECT
  public:
    explicit TFormMainZELX13c(QWidget* parent = nullptr);

    NodeEditor* nodeEditor() const override { return nodeView_.get(); }
    void showHolderView(MemoHolder* holder) override;
    void hideHolderView(MemoHolder* holder) override;
    void refreshHolderList() override;

    QSplitter* FrameMemoHolder1 = nullptr;
    QListWidget* nodeList = nullptr;
    TFrameMemoNode* FrameMemoNode1 = nullptr;

  private:
    void nodeRowChosen(int row);

    MemoHolder* listedHolder_ = nullptr;
    std::unique_ptr<MainNodeView> nodeView_;
};

}  // namespace zel
