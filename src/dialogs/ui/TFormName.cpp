#include "dialogs/ui/TFormName.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPalette>

#include "dialogs/ChangedHolders.h"
#include "dialogs/NameRules.h"
#include "dialogs/ui/DialogHost.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

namespace {

const char* const kMarks[] = {"\xE2\x98\x85", "\xE2\x98\x86", "\xE2\x96\xB2",
                              "\xE2\x97\x8F", "\xE2\x97\x8E", "\xE2\x97\x8B"};  // ★☆▲●◎○
const char* const kMoreMarks[] = {"*", "URL", "Image", "DIR", "\xE2\x96\xA0", "\xE2\x96\xA1"};
const char* const kWeekdays[] = {"\xE6\x97\xA5", "\xE6\x9C\x88", "\xE7\x81\xAB", "\xE6\xB0\xB4",
                                 "\xE6\x9C\xA8", "\xE9\x87\x91", "\xE5\x9C\x9F"};  // 日月火水木金土

QDate toQDate(const DateTime& t) {
    return QDate(t.year, t.month, t.day);
}

DateTime fromQDate(const QDate& date) {
    DateTime t;
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    return t;
}

}  // namespace

TFormName::TFormName(QWidget* parent) : TFormPropaty(parent) {
    setObjectName(QStringLiteral("FormName"));
    resize(584, 326);
    // Many small buttons in a narrow dialog: tight padding keeps their captions whole.
    setStyleSheet(QStringLiteral("QPushButton { padding: 1px 3px; }"));
    setMinimumSize(400, 250);
    setMaximumSize(600, 500);

    auto* groups = new QHBoxLayout;
    groups->setSpacing(3);
    auto wordGroup = [&](const QString& title, int place, bool counters) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        grid->setSpacing(1);
        grid->setContentsMargins(3, 3, 3, 3);
        for (int i = 0; i < 6; ++i) {
            const QString mark = QString::fromUtf8(kMarks[i]);
            grid->addWidget(addButton(box, title, mark,
                                      [place, word = fromQt(mark)](const std::string& text) {
                                          return insertNameWord(place, text, word);
                                      }),
                            i, 0);
        }
        grid->addWidget(
            addButton(box, title, QStringLiteral("cut%1").arg(place),
                      [place](const std::string& text) { return cutNameWord(place, text); }),
            6, 0);
        if (place == 1) {
            for (int i = 0; i < 6; ++i) {
                const QString mark = QString::fromUtf8(kMoreMarks[i]);
                grid->addWidget(addButton(box, title, mark,
                                          [word = fromQt(mark)](const std::string& text) {
                                              return insertNameWord(1, text, word);
                                          }),
                                i, 1);
            }
        } else if (place == 2) {
            for (int i = 0; i < 7; ++i) {
                const QString day = QString::fromUtf8(kWeekdays[i]);
                grid->addWidget(addButton(box, title, day,
                                          [word = fromQt(day)](const std::string& text) {
                                              return insertNameWord(2, text, word);
                                          }),
                                i, 1);
            }
        }
        if (counters) {
            auto count = place == 1 ? countFirstWord : countSecondWord;
            grid->addWidget(
                addButton(box, title, QStringLiteral("Inc"),
                          [count](const std::string& text) { return count(text, true); }),
                7, 0);
            grid->addWidget(
                addButton(box, title, QStringLiteral("Dec"),
                          [count](const std::string& text) { return count(text, false); }),
                7, 1);
        }
        groups->addWidget(box);
    };
    wordGroup(QStringLiteral("$1"), 1, true);
    wordGroup(QStringLiteral("$2"), 2, true);
    wordGroup(QStringLiteral("$3"), 3, false);

    auto* calendarBox = new QGroupBox(QStringLiteral("Calendar"), this);
    MonthCalendar1 = new QCalendarWidget(calendarBox);
    MonthCalendar1->setGridVisible(true);
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar1->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    auto* back = dialogButton(QStringLiteral("<<"), calendarBox);
    auto* forward = dialogButton(QStringLiteral(">>"), calendarBox);
    auto* today = dialogButton(QStringLiteral("Today"), calendarBox);
    auto* set = dialogButton(QStringLiteral("Set"), calendarBox);
    for (auto [b, caption] :
         {std::pair{back, "<<"}, {forward, ">>"}, {today, "Today"}, {set, "Set"}})
        b->setObjectName(QStringLiteral("Calendar/") + QString::fromLatin1(caption));
    auto* calendarButtons = new QHBoxLayout;
    for (QPushButton* b : {back, forward, today, set}) calendarButtons->addWidget(b);
    auto* calendarLayout = new QVBoxLayout(calendarBox);
    calendarLayout->setContentsMargins(3, 3, 3, 3);
    calendarLayout->addWidget(MonthCalendar1, 1);
    calendarLayout->addLayout(calendarButtons);
    groups->addWidget(calendarBox, 1);
    connect(back, &QPushButton::clicked, this, [this] {
        MonthCalendar1->setSelectedDate(
            toQDate(shiftYears(fromQDate(MonthCalendar1->selectedDate()), -1)));
    });
    connect(forward, &QPushButton::clicked, this, [this] {
        MonthCalendar1->setSelectedDate(
            toQDate(shiftYears(fromQDate(MonthCalendar1->selectedDate()), 1)));
    });
    connect(today, &QPushButton::clicked, this,
            [this] { MonthCalendar1->setSelectedDate(toQDate(clockNow())); });
    connect(set, &QPushButton::clicked, this, &TFormName::setDate);

    auto* right = new QWidget(this);
    auto* column = new QGridLayout(right);
    column->setSpacing(1);
    column->setContentsMargins(0, 0, 0, 0);
    auto put = [&](int row, int col, QPushButton* b, int span = 1) {
        column->addWidget(b, row, col, 1, span);
    };
    put(0, 0, addButton(right, {}, QStringLiteral("Reset"), [this](const std::string&) {
            return loadedName_;
        }));
    put(0, 1, addButton(right, {}, QStringLiteral("Clear"), [](const std::string&) {
            return std::string();
        }));
    put(0, 2, addButton(right, {}, QStringLiteral("*"), [](const std::string&) {
            return std::string("*");
        }));
    auto* paste = dialogButton(QStringLiteral("Paste"), right);
    auto* copy = dialogButton(QStringLiteral("COPY"), right);
    auto* all = dialogButton(QStringLiteral("All"), right);
    paste->setObjectName(QStringLiteral("/Paste"));
    copy->setObjectName(QStringLiteral("/COPY"));
    all->setObjectName(QStringLiteral("/All"));
    put(1, 0, paste);
    put(1, 1, copy);
    put(1, 2, all);
    put(2, 0, addButton(right, {}, QStringLiteral("ExtractFilename"), extractNameFile), 3);
    put(3, 0, addButton(right, {}, QStringLiteral("ChangeFileExt,''"), removeNameExtension), 3);
    put(4, 0, addButton(right, {}, QStringLiteral("Cut Head"), cutNameHead));
    put(4, 1, addButton(right, {}, QStringLiteral("CH2"), cutNameHeadTwice));
    put(4, 2, addButton(right, {}, QStringLiteral("CH1"), cutNameFirstChar));
    put(5, 0, addButton(right, {}, QStringLiteral("CT1"), cutNameLastChar));
    put(5, 1, addButton(right, {}, QStringLiteral("Cut Tail"), cutNameTail), 2);
    put(6, 0, addButton(right, {}, QStringLiteral("Inc10"), [](const std::string& text) {
            return countTens(text, true);
        }));
    put(6, 1, addButton(right, {}, QStringLiteral("Dec10"), [](const std::string& text) {
            return countTens(text, false);
        }));
    column->setRowStretch(7, 1);
    groups->addWidget(right);
    connect(copy, &QPushButton::clicked, this, &TFormName::copySelection);
    connect(paste, &QPushButton::clicked, this, &TFormName::pasteSelection);
    connect(all, &QPushButton::clicked, this, [this] {
        ComboBox_Name->lineEdit()->selectAll();
        ComboBox_Name->setFocus();
    });

    ComboBox_Name = new HistoryBox(this);
    ComboBox_Name->setMinimumContentsLength(40);
    body()->addLayout(groups, 1);
    body()->addWidget(ComboBox_Name);
    Button_OK->setMinimumWidth(240);
    Button_OK->setDefault(true);
}

QPushButton* TFormName::addButton(QWidget* box, const QString& group, const QString& caption,
                                  std::function<std::string(const std::string&)> rule) {
    auto* b = dialogButton(caption, box);
    b->setObjectName(group + QLatin1Char('/') + caption);
    connect(b, &QPushButton::clicked, this, [this, rule = std::move(rule)] { applyRule(rule); });
    return b;
}

QPushButton* TFormName::button(const QString& group, const QString& caption) const {
    return findChild<QPushButton*>(group + QLatin1Char('/') + caption);
}

void TFormName::applyRule(const std::function<std::string(const std::string&)>& rule) {
    setName(rule(name()));
}

std::string TFormName::name() const {
    return ComboBox_Name->text();
}

void TFormName::setName(std::string_view sjis) {
    ComboBox_Name->setText(sjis);
}

void TFormName::setOwner(DialogHost* host, bool separateWindow) {
    host_ = host;
    separateWindow_ = separateWindow;
}

int TFormName::loadRecord_(MemoBasic& record) {
    auto* node = dynamic_cast<MemoNode*>(&record);
    if (!node) return -1;
    loadedName_ = node->getName_();
    setName(loadedName_ + " ");
    std::string caption = "Change MemoNode's Name : ";
    const MemoHolder* holder = holderOf(*node);
    const MemoFile* file = holder ? holder->getMemoFile_() : nullptr;
    if (file) caption += file->getName_();
    if (holder) caption += " : " + holder->getName_();
    setWindowTitle(toQt(caption));
    QPalette coloured = QApplication::palette(this);
    if (file && !file->getField_("Color").empty())
        coloured.setColor(QPalette::Window, toQColor(file->getColor_()));
    setPalette(coloured);
    MonthCalendar1->setSelectedDate(toQDate(calendarDateOfName(loadedName_, clockNow())));
    return 0;
}

void TFormName::setDate() {
    if (!host_) return;
    std::string format = separateWindow_ ? std::string() : stripQuotes(host_->dateFormat());
    if (format.empty()) format = "YYYYMMDD";
    setName(
        putDateIntoName(name(), formatDateTime(format, fromQDate(MonthCalendar1->selectedDate()))));
}

void TFormName::copySelection() {
    const QString selected = ComboBox_Name->lineEdit()->selectedText();
    if (!selected.isEmpty()) QApplication::clipboard()->setText(selected);
}

void TFormName::pasteSelection() {
    ComboBox_Name->lineEdit()->insert(QApplication::clipboard()->text());
}

void TFormName::accept() {
    const std::string confirmed = name();
    TFormPropaty::accept();
    ComboBox_Name->enter(confirmed);
}

}  // namespace zel
