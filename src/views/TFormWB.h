#pragma once
// The web browser window: a web view of its own for pages, files and web
// nodes, with a status bar; the main window makes it once and keeps it.

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <string_view>

#include "model/NodeRef.h"
#include "views/TFrameWB.h"

namespace zel {

class TFormWB : public QMainWindow, public TFrameWBHost {
    Q_OBJECT
  public:
    explicit TFormWB(QWidget* parent = nullptr);

    // show-page: `html` (Shift_JIS) shown from memory; 0.
    int showPage(std::string_view html);

    // The node whose holder folder relative addresses start from (none:
    // they stay as given); kept as a weak reference.
    void setAddressNode(const MemoNode* node) { addressNode_ = NodeRef(node); }

    void webMessage(std::string_view text) override;
    MemoNode* webNode() override { return addressNode_.get(); }

    TFrameWB* FrameWB1;
    QStatusBar* StatusBar1;
    QLabel* statusPanel;

  private:
    NodeRef addressNode_;
};

}  // namespace zel
