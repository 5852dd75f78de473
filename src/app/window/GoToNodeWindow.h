#pragma once
// The finder of Ctrl+K: one line to type part of a node's name, and under it
// the best matches over every holder of the memo file, loaded or not, as
// "holder / node". Enter or a click makes the node current, switching the
// tab and loading its holder; Up and Down walk the matches from the line.

#include <QDialog>
#include <vector>

#include "search/NodeFinder.h"

class QLineEdit;
class QListWidget;

namespace zel {

class MemoHolder;
class MemoNode;
class TFormMainScript;

class GoToNodeWindow : public QDialog {
    Q_OBJECT
  public:
    explicit GoToNodeWindow(TFormMainScript& window);

    // Gathers the names again and shows the finder with an empty line.
    void start();
    // Makes the node of the match in `row` current; false for no such row.
    bool choose(int row);

    QLineEdit* line = nullptr;
    QListWidget* matches = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void gatherNames();
    void showMatches();
    MemoNode* nodeOf(MemoHolder& holder, const FinderEntry& entry) const;

    TFormMainScript& window_;
    NodeNameIndex index_;
    HolderNameCache fileNames_;
    std::vector<FinderMatch> shown_;
};

}  // namespace zel
