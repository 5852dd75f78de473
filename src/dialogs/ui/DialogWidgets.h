#pragma once
// Pieces the editing dialogs share: a text box with its history, the colour
// field that opens a colour chooser, and typed text as Shift_JIS.

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/ComboHistory.h"

namespace zel {

// An editable box whose drop-down lists the texts entered, most recent first.
class HistoryBox : public QComboBox {
    Q_OBJECT
  public:
    explicit HistoryBox(QWidget* parent = nullptr);

    // The typed text as Shift_JIS (a character it cannot hold becomes "?").
    std::string text() const;
    void setText(std::string_view sjis);
    // `sjis` goes to the top of the list; the box then shows it.
    void enter(std::string_view sjis);
    // The drop-down lists `entries` (the history is replaced); the typed text stays.
    void setEntries(const std::vector<std::string>& entries);
    const ComboHistory& history() const { return history_; }

  private:
    void refill();
    ComboHistory history_;
};

// A colour shown as a panel; clicking it asks for a colour.
class ColourField : public QLabel {
    Q_OBJECT
  public:
    explicit ColourField(const QString& caption, QWidget* parent = nullptr);
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }
    // The click, as a button press would give it (tests drive it).
    void click() { emit clicked(); }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QColor colour_;
};

// A titled group of radio buttons, one of which (or none) is selected.
class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr,
               int columns = 1);
    // -1 when nothing is selected.
    int itemIndex() const;
    void setItemIndex(int index);
    QString itemText() const;
    // Selects the item of that caption; false (nothing selected) when none has it.
    bool setItemText(const QString& caption);
    QRadioButton* button(int index) const;
    int count() const { return static_cast<int>(buttons_.size()); }

  signals:
    void itemChosen(int index);

  private:
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

QPushButton* dialogButton(const QString& caption, QWidget* parent);
// Shift_JIS lines as an editor's text (one line per line).
QString linesToQt(const std::vector<std::string>& lines);

}  // namespace zel
