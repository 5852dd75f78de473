#pragma once
// Pieces both mail windows use: a labelled box in a grid, a button in a row,
// a status bar of two panels, and the texts of the boxes as Shift_JIS.

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

// A button `caption` named `objectName` at the end of `row`; a click runs
// `click` of `window`.
template <class Window>
QPushButton* addButton(Window* window, QHBoxLayout* row, const char* caption,
                       const char* objectName, void (Window::*click)()) {
    auto* button = new QPushButton(caption, window);
    button->setObjectName(objectName);
    QObject::connect(button, &QPushButton::clicked, window, click);
    row->addWidget(button);
    return button;
}

std::string boxText(const QLineEdit* box);
void setBoxText(QLineEdit* box, std::string_view sjis);

}  // namespace zel
