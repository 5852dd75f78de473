#pragma once
// The progress window shown while the text printer makes its pages: the
// caption, a bar from 0 to 100 and "Cancel". It is not modal; whoever makes
// the pages asks it whether to go on.

#include <QDialog>
#include <string_view>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zel {

class TFormStrProgress : public QDialog {
    Q_OBJECT
  public:
    explicit TFormStrProgress(std::string_view caption, QWidget* parent = nullptr);

    // Shows `percent`, lets pending window events through, and tells whether
    // to go on (false once "Cancel" was pressed).
    bool advance(int percent);
    bool cancelled() const { return cancelled_; }

    QLabel* caption;
    QProgressBar* bar;
    QPushButton* cancelButton;

  private:
    bool cancelled_ = false;
};

}  // namespace zel
