#pragma once
// The frame layer: the holder frame (the list of the current holder and the
// node view beside it) above the holder tabs and their pop-up.

#include <memory>
#include <string_view>
#include <vector>

#include "app/window/MainHolderView.h"
#include "app/window/MainNodeView.h"
#include "app/window/TFormMainMenu.h"

namespace zel {

class TFormMainZELX13c : public TFormMainMenu {
    Q_OBJECT
  public:
    explicit TFormMainZELX13c(QWidget* parent = nullptr);

    // Caught up with the current node first (see Model2UI).
    NodeEditor* nodeEditor() const override;
    void showHolderView(MemoHolder* holder) override;
    void hideHolderView(MemoHolder* holder) override;
    void refreshHolderList() override;
    void showListMode(ListMode mode) override;
    bool hasHolderView() const override;
    MainHolderView& holderView() const { return *holderView_; }

    TFrameMemoHolder* FrameMemoHolder1 = nullptr;
    TFrameMemoNode* FrameMemoNode1 = nullptr;
    // The items of the tab strip's pop-up, in order.
    const std::vector<QAction*>& tabPopupItems() const { return tabItems_; }

  protected:
    void applyUIReadOnly(bool readOnly) override;

    // Companion windows shown: kept above this window and wholly on the screen.
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void buildTabPopup();
    // The position under the node list follows every change of the shown
    // list (sorting, reversing, nodes added or removed), once per burst.
    void followShownList();
    void positionChanged();

    std::unique_ptr<MainHolderView> holderView_;
    std::unique_ptr<MainNodeView> nodeView_;
    std::vector<QAction*> tabItems_;
    std::vector<QMetaObject::Connection> listWatch_;
    bool positionDue_ = false;
};

}  // namespace zel
