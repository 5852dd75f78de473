#pragma once
// The calendar dialog of the HTML calendar: the day whose month is exported
// and the layout, a month page ("CREATE Month") or the list page of every
// node ("CREATE Week"). Made once and kept, so it shows the day and layout
// chosen last.

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "export/HtmlOutput.h"
#include "text/DateTime.h"

namespace zel {

class TFormHTMLCalendar : public QDialog {
    Q_OBJECT
  public:
    // The calendar starts at today, as the clock tells it.
    explicit TFormHTMLCalendar(QWidget* parent = nullptr);

    DateTime date() const;
    void setDate(const DateTime& day);
    // The layout of the button that closed the dialog last ("Month" at first).
    CalendarLayout choice() const { return choice_; }

    QCalendarWidget* MonthCalendar1;
    QPushButton* CreateMonthBtn;
    QPushButton* CreateWeekBtn;
    QPushButton* Button1;  // a second "CREATE Week"
    QPushButton* CancelBtn;
    // Shown as the dialog always showed them; the export does not read them.
    QGroupBox* RadioGroupTitle;
    std::array<QRadioButton*, 3> TitleItems;
    QCheckBox* CheckBoxEmptyNode;
    QCheckBox* CheckBoxComment;

  private:
    void create(CalendarLayout layout);

    CalendarLayout choice_ = CalendarLayout::Month;
};

}  // namespace zel
