// The calendar dialog: it starts at the clock's today and keeps the day and
// the layout chosen last; its buttons close it with the answer the export reads.

#include "export/ui/TFormHTMLCalendar.h"

#include <gtest/gtest.h>

#include <QDate>

#include "platform/Clock.h"

namespace zel {
namespace {

TEST(TFormHTMLCalendar, StartsTodayWithTheDialogsCaptionsAndControls) {
    ScopedClock clock([] { return DateTime{2024, 3, 15}; });
    TFormHTMLCalendar dialog;
    EXPECT_EQ(dialog.windowTitle(), "FormHTMLCalendar");
    EXPECT_EQ(dialog.date(), (DateTime{2024, 3, 15}));
    EXPECT_EQ(dialog.MonthCalendar1->firstDayOfWeek(), Qt::Sunday);
    EXPECT_EQ(dialog.choice(), CalendarLayout::Month);
    EXPECT_EQ(dialog.CreateMonthBtn->text(), "CREATE Month");
    EXPECT_EQ(dialog.CreateWeekBtn->text(), "CREATE Week");
    EXPECT_EQ(dialog.Button1->text(), "CREATE Week");
    EXPECT_EQ(dialog.CancelBtn->text(), "CANCEL");
    EXPECT_TRUE(dialog.TitleItems[0]->isChecked());
    EXPECT_EQ(dialog.TitleItems[2]->text(), "$1 $2 $3 $X");
    EXPECT_FALSE(dialog.CheckBoxEmptyNode->isChecked());
    EXPECT_TRUE(dialog.CheckBoxComment->isChecked());
}

TEST(TFormHTMLCalendar, ButtonsCloseWithTheirLayoutAndCancelKeepsTheLastOne) {
    ScopedClock clock([] { return DateTime{2024, 3, 15}; });
    TFormHTMLCalendar dialog;
    dialog.show();
    dialog.Button1->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice(), CalendarLayout::Week);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    dialog.CreateMonthBtn->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice(), CalendarLayout::Month);

    dialog.show();
    dialog.CreateWeekBtn->click();
    EXPECT_EQ(dialog.choice(), CalendarLayout::Week);
    dialog.show();
    dialog.MonthCalendar1->setSelectedDate(QDate(2026, 2, 28));
    dialog.CancelBtn->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.choice(), CalendarLayout::Week);
    // The day chosen stays for the next time.
    EXPECT_EQ(dialog.date(), (DateTime{2026, 2, 28}));
}

}  // namespace
}  // namespace zel
