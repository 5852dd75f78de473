#pragma once
// The tab strip of the holders: one tab per holder of the memo file, in the
// memo file's order, below the node list. Selecting a tab asks for its
// holder; the strip follows every change of the holder list.

#include <QMenu>
#include <QTabBar>

namespace zel {

class MemoFile;
class MemoHolder;

class HolderTabs : public QTabBar {
    Q_OBJECT
  public:
    explicit HolderTabs(QWidget* parent = nullptr);
    ~HolderTabs() override;

    // Binds the strip to `file`: the first binding fills the tabs, and the
    // memo file shows its holders as tabs from then on.
    void bind(MemoFile& file);
    bool isBound() const { return bound_; }
    MemoFile* memoFile() const { return file_; }
    // Refills the tab texts and selects the memo file's current holder.
    void refreshTabs();
    void selectHolder(const MemoHolder* holder);
    MemoHolder* holderAt(int tab) const;
    // Refreshes the strip bound to `file`, if any.
    static void refreshTabsOf(const MemoFile& file);

    // The holder pop-up menu; the main window gives it its entries.
    QMenu* PopupMenuHolder;

  signals:
    // The user selected the tab of `holder`.
    void holderChosen(MemoHolder* holder);

  private:
    MemoFile* file_ = nullptr;
    bool bound_ = false;
    bool refilling_ = false;
};

}  // namespace zel
