#include "export/ui/TFormHTMLCalendar.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/Clock.h"

namespace zel {

TFormHTMLCalendar::TFormHTMLCalendar(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormHTMLCalendar"));
    setWindowTitle(QStringLiteral("FormHTMLCalendar"));
    setModal(true);

    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->setGridVisible(true);
    MonthCalendar1->setFirstDayOfWeek(Qt::Sunday);
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setDate(clockNow());

    auto button = [this](const char* name, const char* caption) {
        auto* made = new QPushButton(QString::fromLatin1(caption), this);
        made->setObjectName(QString::fromLatin1(name));
        made->setAutoDefault(false);
        return made;
    };
    CreateMonthBtn = button("CreateMonthBtn", "CREATE Month");
    CreateWeekBtn = button("CreateWeekBtn", "CREATE Week");
    Button1 = button("Button1", "CREATE Week");
    CancelBtn = button("CancelBtn", "CANCEL");
    CreateMonthBtn->setDefault(true);
    connect(CreateMonthBtn, &QPushButton::clicked, this, [this] { create(CalendarLayout::Month); });
    connect(CreateWeekBtn, &QPushButton::clicked, this, [this] { create(CalendarLayout::Week); });
    connect(Button1, &QPushButton::clicked, this, [this] { create(CalendarLayout::Week); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    RadioGroupTitle = new QGroupBox(QStringLiteral("Title"), this);
    RadioGroupTitle->setObjectName(QStringLiteral("RadioGroupTitle"));
    auto* titles = new QVBoxLayout(RadioGroupTitle);
    const char* captions[] = {"$1 $X", "$1 $2 $X", "$1 $2 $3 $X"};
    for (std::size_t i = 0; i < TitleItems.size(); ++i) {
        TitleItems[i] = new QRadioButton(QString::fromLatin1(captions[i]), RadioGroupTitle);
        titles->addWidget(TitleItems[i]);
    }
    TitleItems[0]->setChecked(true);
    CheckBoxEmptyNode = new QCheckBox(QStringLiteral("Empty MemoNode"), this);
    CheckBoxEmptyNode->setObjectName(QStringLiteral("CheckBoxEmptyNode"));
    CheckBoxComment = new QCheckBox(QStringLiteral("Comment"), this);
    CheckBoxComment->setObjectName(QStringLiteral("CheckBoxComment"));
    CheckBoxComment->setChecked(true);

    auto* side = new QVBoxLayout;
    side->addWidget(CreateMonthBtn);
    side->addWidget(CreateWeekBtn);
    side->addWidget(Button1);
    side->addWidget(CancelBtn);
    side->addSpacing(8);
    side->addWidget(RadioGroupTitle);
    side->addWidget(CheckBoxEmptyNode);
    side->addWidget(CheckBoxComment);
    side->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MonthCalendar1, 1);
    layout->addLayout(side);
}

DateTime TFormHTMLCalendar::date() const {
    const QDate chosen = MonthCalendar1->selectedDate();
    DateTime day;
    day.year = chosen.year();
    day.month = chosen.month();
    day.day = chosen.day();
    return day;
}

void TFormHTMLCalendar::setDate(const DateTime& day) {
    MonthCalendar1->setSelectedDate(QDate(day.year, day.month, day.day));
}

void TFormHTMLCalendar::create(CalendarLayout layout) {
    choice_ = layout;
    accept();
}

}  // namespace zel
