#pragma once
// The name dialog (TFormName): one node name edited with the program's naming
// conventions - marks and weekdays as the first, second or third word, word
// cuts, counters, path cuts and a date from the calendar. Shown modally by
// the node view, which renames the node with the result; the dialog itself
// never changes the node. It keeps the names confirmed with "OK".

#include <QCalendarWidget>
#include <QString>
#include <string>

#include "dialogs/ui/DialogWidgets.h"
#include "dialogs/ui/TFormPropaty.h"

namespace zel {

class DialogHost;

class TFormName : public TFormPropaty {
    Q_OBJECT
  public:
    explicit TFormName(QWidget* parent = nullptr);

    // The window the dialog is opened from, set before loading; a separate
    // node window dates with "YYYYMMDD" rather than the holder's format.
    void setOwner(DialogHost* host, bool separateWindow);
    // Loads a node's name (a record of another kind: -1).
    int loadRecord_(MemoBasic& record) override;
    // The name box's text as Shift_JIS.
    std::string name() const;
    void setName(std::string_view sjis);

    // The button `caption` of `group` ("$1", "$2", "$3", "Calendar", or ""
    // for the right column); none when there is no such button.
    QPushButton* button(const QString& group, const QString& caption) const;

    // "OK": the result OK, then the name goes to the top of the history.
    void accept() override;

    HistoryBox* ComboBox_Name;
    QCalendarWidget* MonthCalendar1;

  private:
    // A button of `group` that applies `rule` to the name box's text.
    QPushButton* addButton(QWidget* box, const QString& group, const QString& caption,
                           std::function<std::string(const std::string&)> rule);
    void applyRule(const std::function<std::string(const std::string&)>& rule);
    void setDate();
    void copySelection();
    void pasteSelection();

    DialogHost* host_ = nullptr;
    bool separateWindow_ = false;
    std::string loadedName_;
};

}  // namespace zel
