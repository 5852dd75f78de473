#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

#include "dialogs/ui/FakeDialogHost.h"
#include "dialogs/ui/TFormName.h"
#include "platform/Clock.h"
#include "text/Sjis.h"
#include "views/ViewText.h"

namespace zel {
namespace {

class NameDialogTest : public ::testing::Test {
  protected:
    NameDialogTest() {
        h = &host.addHolder("H", {{"0131 meeting", {}}, {"plain", {}}});
        dialog.setOwner(&host, false);
        dialog.loadRecord_(*h->byName_("0131 meeting"));
    }
    void press(const char* group, const char* caption) {
        QPushButton* b = dialog.button(QString::fromUtf8(group), QString::fromUtf8(caption));
        ASSERT_NE(b, nullptr) << group << "/" << caption;
        b->click();
    }
    std::string shown() const { return sjisToUtf8(dialog.name()); }

    ScopedClock clock{[] { return DateTime{2024, 3, 9, 10, 0, 0, 0}; }};
    test::FakeDialogHost host;
    MemoHolder* h = nullptr;
    TFormName dialog;
};

TEST_F(NameDialogTest, LoadingShowsTheNameTheCaptionAndTheDateOfTheName) {
    EXPECT_EQ(shown(), "0131 meeting ");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change MemoNode's Name : demo : H"));
    EXPECT_EQ(dialog.MonthCalendar1->selectedDate(), QDate(2024, 1, 31));
    dialog.loadRecord_(*h->byName_("plain"));
    EXPECT_EQ(dialog.MonthCalendar1->selectedDate(), QDate(2024, 3, 9));
}

TEST_F(NameDialogTest, ButtonsEditTheNameWordByWord) {
    press("$2", "●");
    EXPECT_EQ(shown(), "0131 ● meeting");
    press("$2", "cut2");
    EXPECT_EQ(shown(), "0131 meeting");
    press("$1", "Inc");
    EXPECT_EQ(shown(), "0132 meeting");
    press("$3", "☆");
    EXPECT_EQ(shown(), "0132 meeting ☆ ");
    press("$2", "土");
    EXPECT_EQ(shown(), "0132 土 meeting ☆");
    press("", "Reset");
    EXPECT_EQ(shown(), "0131 meeting");
    press("", "CT1");
    EXPECT_EQ(shown(), "0131 meetin");
    press("", "*");
    EXPECT_EQ(shown(), "*");
    press("", "Clear");
    EXPECT_EQ(shown(), "");
}

TEST_F(NameDialogTest, TheCalendarPutsItsDateWhereTheNameHadOne) {
    press("Calendar", "<<");
    EXPECT_EQ(dialog.MonthCalendar1->selectedDate(), QDate(2023, 1, 31));
    press("Calendar", "Set");
    EXPECT_EQ(shown(), "20230131 meeting");
    host.format = "\"YYYY/MM/DD\"";
    press("Calendar", "Today");
    press("Calendar", "Set");
    EXPECT_EQ(shown(), "2024/03/09 meeting");
    dialog.setOwner(&host, true);
    dialog.setName(utf8ToSjis("● meeting"));
    press("Calendar", "Set");
    EXPECT_EQ(shown(), "20240309 meeting") << "a node window dates with YYYYMMDD";
}

TEST_F(NameDialogTest, OkKeepsTheNameInTheHistoryAndTheClipboardButtonsUseTheSelection) {
    dialog.ComboBox_Name->lineEdit()->setSelection(0, 4);
    press("", "COPY");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("0131"));
    QApplication::clipboard()->setText(QStringLiteral("0201"));
    dialog.ComboBox_Name->lineEdit()->setSelection(0, 4);
    press("", "Paste");
    EXPECT_EQ(shown(), "0201 meeting ");
    dialog.Button_OK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ComboBox_Name->history().entries(), std::vector<std::string>{"0201 meeting "});
    EXPECT_EQ(h->byName_("0131 meeting")->getName_(), "0131 meeting") << "the node is not renamed";
    dialog.Button_CANCEL->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace zel
