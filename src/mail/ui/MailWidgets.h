#pragma once
// Pieces both mail windows use: a labelled box in a grid, a status bar of
// two panels, and the texts of the boxes as Shift_JIS.

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <string>
#include <string_view>

class QGridLayout;

namespace zel {

// A status bar whose two panels are plain labels, repainted as they change.
class MailStatusBar : public QStatusBar {
  public:
    explicit MailStatusBar(QWidget* parent);
    void setPanel(int index, std::string_view sjis);
    std::string panel(int index) const;

  private:
    QLabel* panels_[2];
};

// Adds `caption` and a one-line box in `row` of `grid` (two columns of
// pairs: `column` 0 or 1).
QLineEdit* addBox(QGridLayout* grid, int row, int column, const char* caption,
                  const char* objectName);

std::string boxText(const QLineEdit* box);
void setBoxText(QLineEdit* box, std::string_view sjis);

}  // namespace zel
