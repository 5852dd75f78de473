#pragma once
// Small pieces the search windows share: keyword boxes and their lists, the
// clickable status panel, and the conversion of typed text that refuses what
// Shift_JIS cannot hold.

#include <QComboBox>
#include <QLabel>
#include <QString>
#include <string>
#include <string_view>

namespace zel {

class KeywordHistory;
class MemoBasic;

// The refusal of a keyword or replacement that would turn into "?".
inline constexpr std::string_view kLossyKeyword = "Failure: KeyWord cannot be held in Shift_JIS.";

// Typed text as Shift_JIS; false when a character has no Shift_JIS form.
bool storedText(const QString& text, std::string& sjis);

// A box's own list: `text` at the top, its earlier entry taken out.
void putOnTop(QComboBox* box, const QString& text);
// The box lists `history`; what is typed in it stays.
void listHistory(QComboBox* box, const KeywordHistory& history);
QComboBox* makeKeywordBox(QWidget* parent);

// A status bar of one panel; clicking it clears it.
class StatusPanel : public QLabel {
  public:
    explicit StatusPanel(QWidget* parent = nullptr);
    void setStatus(std::string_view sjis);
    std::string shown() const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// A record's Color field as a colour, or `fallback` when it has none.
QColor recordColour(const MemoBasic& record, const QColor& fallback);
// Gives a panel a background colour.
void paintPanel(QWidget* panel, const QColor& colour);
// A window shown for the first time stands over the middle of its parent.
void placeOverParent(QWidget* window);

}  // namespace zel
