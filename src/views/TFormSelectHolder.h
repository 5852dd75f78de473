#pragma once
// The holder selection window: the transfer commands ask in it which holder a
// node goes to. It only lists names; the caller maps the answer to a holder.

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <string>
#include <vector>

namespace zel {

class TFormSelectHolder : public QDialog {
    Q_OBJECT
  public:
    explicit TFormSelectHolder(QWidget* parent = nullptr);

    // Lists `names` with nothing selected. "Current" selects the entry at
    // `currentIndex`; it is disabled when that is not an entry.
    void fill(const std::vector<std::string>& names, int currentIndex);
    // The selected entry, -1 for none ("New Holder" or no choice made).
    int selectedRow() const;

    QListWidget* ListBox1;
    QPushButton* ButtonCancel;
    QPushButton* ButtonOK;
    QPushButton* ButtonNewHolder;
    QPushButton* ButtonCurrent;

  private:
    void chooseNewHolder();
    void chooseCurrent();

    int currentIndex_ = -1;
};

}  // namespace zel
