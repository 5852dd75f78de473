#pragma once
// The holder order window ("Holders Order"): the holder names in order; its
// menu entries and drags move holders in the list and in the memo file at
// once. Neither button undoes a move.

#include <QDialog>
#include <QListWidget>
#include <QMenu>

namespace zel {

class MemoFile;

class TFormHolders : public QDialog {
    Q_OBJECT
  public:
    explicit TFormHolders(QWidget* parent = nullptr);

    // Fills the list from `file`, whose holders the window then moves.
    void fill(MemoFile& file);

    // The menu entries, on the selected entry; each yields the new index or -1.
    int moveTop();
    int moveUp();
    int moveDown();
    int moveBottom();
    // A dragged entry dropped onto another takes that entry's place.
    void dropEntry(int from, int to);

    QListWidget* ListBox1;
    QMenu* PopupMenu1;

  private:
    // Moves the entry in the list and selects it, then refreshes the tabs.
    int moveEntry(int from, int to);

    MemoFile* file_ = nullptr;
};

}  // namespace zel
