#pragma once
// The tab strip of the holders: one tab per holder of the memo file, in the
// memo file's order, below the node list. Selecting a tab asks for its
// holder; the strip follows every change of the holder list.
//
// The strip draws only the tabs that fit and measures a tab's text only when
// it is drawn, so refilling and painting cost the same for five holders as
// for a hundred thousand (a tab bar that lays out every tab on each insert
// takes minutes there). Its buttons and the wheel scroll it one tab at a time.

#include <QMenu>
#include <QToolButton>
#include <QWidget>
#include <string>
#include <vector>

namespace zel {

class MemoFile;
class MemoHolder;

class HolderTabs : public QWidget {
    Q_OBJECT
  public:
    explicit HolderTabs(QWidget* parent = nullptr);
    ~HolderTabs() override;

    // Binds the strip to `file`: the first binding fills the tabs, and the
    // memo file shows its holders as tabs from then on.
    void bind(MemoFile& file);
    bool isBound() const { return bound_; }
    MemoFile* memoFile() const { return file_; }
    // Refills the tab texts and selects the memo file's current holder. Only
    // the tabs whose holder or name changed are touched.
    void refreshTabs();
    // Selects the tab of `holder` without choosing it.
    void selectHolder(const MemoHolder* holder);
    MemoHolder* holderAt(int tab) const;
    // Refreshes the strip bound to `file`, if any.
    static void refreshTabsOf(const MemoFile& file);

    int count() const { return static_cast<int>(tabs_.size()); }
    QString tabText(int tab) const;
    int currentIndex() const { return current_; }
    // As a click on the tab: the tab's holder is chosen when it changes.
    void setCurrentIndex(int tab);
    // The tab under a point of the strip, -1 where there is none.
    int tabAt(const QPoint& point) const;
    // Where the tab is drawn now; empty while it is scrolled out of sight.
    QRect tabRect(int tab) const;
    // The first tab drawn.
    int firstShownTab() const { return first_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The holder pop-up menu; the main window gives it its entries.
    QMenu* PopupMenuHolder;

  signals:
    // The user selected the tab of `holder`.
    void holderChosen(MemoHolder* holder);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A right click makes its tab current first, so the pop-up's commands
    // act on the holder clicked.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Tab {
        std::string name;
        QString text;
        MemoHolder* holder = nullptr;
        // Measured when first drawn; -1 until then.
        mutable int width = -1;
    };

    int tabWidth(int tab) const;
    int tabHeight() const;
    // The width the tabs may take: the strip less its scroll buttons.
    int stripWidth() const;
    // One past the last tab that fits from the first one drawn.
    int endOfShownTabs() const;
    // The first tab to draw so that the tabs from it up to `tab` fill as much
    // of the strip as they can and `tab` still shows whole.
    int firstShowing(int tab) const;
    void scrollBy(int tabs);
    void makeVisible(int tab);
    void placeButtons();

    MemoFile* file_ = nullptr;
    bool bound_ = false;
    std::vector<Tab> tabs_;
    int current_ = -1;
    int first_ = 0;
    QToolButton* scrollLeft_;
    QToolButton* scrollRight_;
};

}  // namespace zel
