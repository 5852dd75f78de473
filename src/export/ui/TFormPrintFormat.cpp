#include "export/ui/TFormPrintFormat.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "export/ui/QtPrintInfo.h"
#include "export/ui/QtPrintStrings.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// The keywords of header and footer texts, as "Help" lists them.
constexpr const char* kHelpLines[] = {
    "Header, Footer \x82\xc9\x97\x98\x97p\x8fo\x97\x88\x82\xe9\x83L\x81[\x83\x8f\x81[\x83h\x82\xcd"
    "\x88\xc8\x89\xba\x82\xcc\x92\xca\x82\xe8\x82\xc5\x82\xb7\x81"
    "B",
    "",
    "%p  \x83y\x81[\x83W\x94\xd4\x8d\x86",
    "%f  \x83t\x83@\x83"
    "C\x83\x8b\x96\xbc\x83p\x83X\x95t\x82\xab",
    "%F  \x83t\x83@\x83"
    "C\x83\x8b\x96\xbc\x83p\x83X\x96\xb3\x82\xb5",
    "%y  \x94N",
    "%m  \x8c\x8e",
    "%d  \x93\xfa",
    "%t  \x8e\x9e\x8a\xd4",
};

constexpr int kDefaultFontSize = 9;

QString qt(std::string_view sjis) {
    return QString::fromStdString(sjisToUtf8(sjis));
}

std::string sjis(const QString& text) {
    return utf8ToSjis(text.toStdString());
}

// A titled box of radio buttons whose ids are their positions.
QButtonGroup* radioBox(QWidget* owner, QLayout* into, const char* title,
                       std::initializer_list<const char*> captions, bool across = false) {
    auto* box = new QGroupBox(QString::fromLatin1(title), owner);
    QBoxLayout* layout = across ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                : static_cast<QBoxLayout*>(new QVBoxLayout(box));
    auto* group = new QButtonGroup(box);
    int id = 0;
    for (const char* caption : captions) {
        auto* button = new QRadioButton(QString::fromLatin1(caption), box);
        layout->addWidget(button);
        group->addButton(button, id++);
    }
    into->addWidget(box);
    return group;
}

QSpinBox* millimetreBox(QWidget* owner, QFormLayout* form, const char* label) {
    auto* row = new QHBoxLayout;
    auto* box = new QSpinBox(owner);
    box->setRange(0, 100);
    row->addWidget(box);
    row->addWidget(new QLabel(QStringLiteral("mm"), owner));
    row->addStretch();
    form->addRow(QString::fromLatin1(label), row);
    return box;
}

void check(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

}  // namespace

TFormStringsPrint::TFormStringsPrint(const TStringsPrinter& printer, QPrinter& qprinter,
                                     const std::vector<std::string>* lines, QtPrintHost& host,
                                     QWidget* parent)
    : QDialog(parent), printer_(printer), qprinter_(qprinter), lines_(lines), host_(host) {
    setWindowTitle(QStringLiteral("TStringsPrinter"));
    setModal(true);
    auto* top = new QVBoxLayout(this);
    auto* columnsLayout = new QHBoxLayout;
    top->addLayout(columnsLayout);

    // Font and margins.
    auto* left = new QFormLayout;
    columnsLayout->addLayout(left);
    fontName = new QComboBox(this);
    QStringList families;
    for (const QString& family : QFontDatabase::families())
        if (!family.startsWith(QLatin1Char('@'))) families << family;
    fontName->addItems(families);
    left->addRow(QStringLiteral("Font name:"), fontName);
    fontSize = new QComboBox(this);
    fontSize->setEditable(true);
    for (int size = 6; size <= 30; ++size) fontSize->addItem(QString::number(size));
    left->addRow(QStringLiteral("Font size:"), fontSize);
    marginLeft = millimetreBox(this, left, "Left margin:");
    marginRight = millimetreBox(this, left, "Right margin:");
    marginTop = millimetreBox(this, left, "Top margin:");
    marginBottom = millimetreBox(this, left, "Bottom margin:");
    marginLine = millimetreBox(this, left, "Line margin:");
    columnSpace = millimetreBox(this, left, "Column space:");

    // Columns, line numbers, header and footer.
    auto* middle = new QVBoxLayout;
    columnsLayout->addLayout(middle);
    columns = radioBox(this, middle, " Columns ", {"1", "2", "3"}, true);
    lineNumber = new QCheckBox(QStringLiteral("LineNumber"), this);
    middle->addWidget(lineNumber);
    headerAlign = radioBox(this, middle, " Header ", {"None", "Left", "Center", "Right"}, true);
    auto* texts = new QFormLayout;
    header = new QLineEdit(this);
    texts->addRow(QStringLiteral("Header string:"), header);
    middle->addLayout(texts);
    footerAlign = radioBox(this, middle, " Footer ", {"None", "Left", "Center", "Right"}, true);
    auto* footerText = new QFormLayout;
    footer = new QLineEdit(this);
    footerText->addRow(QStringLiteral("Footer string:"), footer);
    middle->addLayout(footerText);
    middle->addStretch();

    // Pages and lines.
    auto* right = new QVBoxLayout;
    columnsLayout->addLayout(right);
    pageOption = radioBox(this, right, " PageOption ", {"poBoth", "poOdd", "poEven"}, true);
    rangeOption = radioBox(this, right, " RangeOption ", {"roWhole", "roLimited"}, true);
    auto numberRows = [&](const char* a, const char* b, const char* c, QLineEdit*& x, QLineEdit*& y,
                          QLineEdit*& z) {
        auto* form = new QFormLayout;
        for (auto [label, edit] : {std::pair{a, &x}, std::pair{b, &y}, std::pair{c, &z}}) {
            *edit = new QLineEdit(this);
            (*edit)->installEventFilter(this);
            form->addRow(QString::fromLatin1(label), *edit);
        }
        right->addLayout(form);
    };
    numberRows("StartPage:", "LastPage:", "FirstPageNumber:", startPage, lastPage, firstPageNumber);
    lineRangeOption = radioBox(this, right, " LineRangeOption ", {"roWhole", "roLimited"}, true);
    numberRows("StartLine:", "LastLine:", "FirstLineNumber:", startLine, lastLine, firstLineNumber);
    right->addStretch();

    // The printer.
    auto* printerRows = new QGridLayout;
    top->addLayout(printerRows);
    printerName = new QLabel(this);
    printerOrientation = new QLabel(this);
    paperSize = new QLabel(this);
    int row = 0;
    for (auto [caption, value] : {std::pair{"carrent printer name", printerName},
                                  std::pair{"printer orientation", printerOrientation},
                                  std::pair{"paper size", paperSize}}) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setEnabled(lines_ != nullptr);
        value->setEnabled(lines_ != nullptr);
        printerRows->addWidget(label, row, 0);
        printerRows->addWidget(value, row++, 1);
    }
    printerRows->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    auto button = [&](const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    printerSettingButton = button("Printer setting");
    helpButton = button("Help");
    previewButton = button("Preview");
    printButton = button("Print");
    buttons->addStretch();
    okButton = button("OK");
    cancelButton = button("Cancel");
    okButton->setDefault(true);
    for (QPushButton* b : {printerSettingButton, previewButton, printButton})
        b->setEnabled(lines_ != nullptr);

    numbers_ = {
        {startPage, &PrintSettings::startPage, &PrintSettings::setStartPage},
        {lastPage, &PrintSettings::lastPage, &PrintSettings::setLastPage},
        {firstPageNumber, &PrintSettings::firstPageNumber, &PrintSettings::setFirstPageNumber},
        {startLine, &PrintSettings::startLine, &PrintSettings::setStartLine},
        {lastLine, &PrintSettings::lastLine, &PrintSettings::setLastLine},
        {firstLineNumber, &PrintSettings::firstLineNumber, &PrintSettings::setFirstLineNumber},
    };
    showSettings();
    showPrinter();

    // Every change goes into the dialog's settings at once.
    PrintSettings& s = printer_.settings;
    connect(fontName, &QComboBox::currentTextChanged, this, [this, &s](const QString& name) {
        if (showing_) return;
        PrintFont font = s.font();
        font.name = sjis(name);
        s.setFont(font);
    });
    connect(fontSize, &QComboBox::currentTextChanged, this, [this, &s](const QString& text) {
        if (showing_) return;
        PrintFont font = s.font();
        auto size = readInteger(trimmedView(sjis(text)));
        font.size = size && *size > 0 ? static_cast<int>(std::min<long long>(*size, 1000))
                                      : kDefaultFontSize;
        s.setFont(font);
    });
    auto spin = [&](QSpinBox* box, void (PrintSettings::*set)(long long)) {
        connect(box, &QSpinBox::valueChanged, this, [this, &s, set](int value) {
            if (!showing_) (s.*set)(value);
        });
    };
    spin(marginLeft, &PrintSettings::setMarginLeft);
    spin(marginRight, &PrintSettings::setMarginRight);
    spin(marginTop, &PrintSettings::setMarginTop);
    spin(marginBottom, &PrintSettings::setMarginBottom);
    spin(marginLine, &PrintSettings::setMarginLine);
    spin(columnSpace, &PrintSettings::setColumnSpace);
    connect(columns, &QButtonGroup::idClicked, this, [&s](int id) { s.setColumnCount(id + 1); });
    connect(lineNumber, &QCheckBox::toggled, this, [this, &s](bool on) {
        if (!showing_) s.setLineNumber(on);
    });
    connect(headerAlign, &QButtonGroup::idClicked, this,
            [&s](int id) { s.setHeaderAlign(static_cast<HeaderAlign>(id)); });
    connect(footerAlign, &QButtonGroup::idClicked, this,
            [&s](int id) { s.setFooterAlign(static_cast<HeaderAlign>(id)); });
    connect(header, &QLineEdit::textEdited, this,
            [&s](const QString& text) { s.setHeader(sjis(text)); });
    connect(footer, &QLineEdit::textEdited, this,
            [&s](const QString& text) { s.setFooter(sjis(text)); });
    connect(pageOption, &QButtonGroup::idClicked, this,
            [&s](int id) { s.setPageOption(static_cast<PageOption>(id)); });
    connect(rangeOption, &QButtonGroup::idClicked, this, [this] { rangeChosen(true); });
    connect(lineRangeOption, &QButtonGroup::idClicked, this, [this] { rangeChosen(false); });
    for (const NumberField& field : numbers_) {
        connect(field.edit, &QLineEdit::textEdited, this,
                [this, field] { numberEdited(field, false); });
        connect(field.edit, &QLineEdit::editingFinished, this,
                [this, field] { numberEdited(field, true); });
    }

    connect(printerSettingButton, &QPushButton::clicked, this, [this] {
        host_.pageSetup(qprinter_);
        showPrinter();
    });
    connect(helpButton, &QPushButton::clicked, this, &TFormStringsPrint::help);
    connect(previewButton, &QPushButton::clicked, this, &TFormStringsPrint::preview);
    connect(printButton, &QPushButton::clicked, this, &TFormStringsPrint::print);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormStringsPrint::showSettings() {
    showing_ = true;
    const PrintSettings& s = printer_.settings;
    const QString name = qt(s.font().name);
    if (fontName->findText(name) < 0) fontName->insertItem(0, name);
    fontName->setCurrentText(name);
    fontSize->setCurrentText(QString::number(s.font().size));
    marginLeft->setValue(s.marginLeft());
    marginRight->setValue(s.marginRight());
    marginTop->setValue(s.marginTop());
    marginBottom->setValue(s.marginBottom());
    marginLine->setValue(s.marginLine());
    columnSpace->setValue(s.columnSpace());
    check(columns, s.columnCount() - 1);
    lineNumber->setChecked(s.lineNumber());
    check(headerAlign, s.headerAlign());
    check(footerAlign, s.footerAlign());
    header->setText(qt(s.header()));
    footer->setText(qt(s.footer()));
    check(pageOption, s.pageOption());
    check(rangeOption, s.rangeOption());
    check(lineRangeOption, s.lineRangeOption());
    for (const NumberField& field : numbers_)
        field.edit->setText(QString::number((s.*field.get)()));
    for (QLineEdit* edit : {startPage, lastPage}) edit->setEnabled(s.rangeOption() == roLimited);
    for (QLineEdit* edit : {startLine, lastLine})
        edit->setEnabled(s.lineRangeOption() == roLimited);
    showing_ = false;
}

void TFormStringsPrint::showPrinter() {
    TStringsPrinterInfo info;
    info.read(qprinter_);
    printerName->setText(qt(info.printerName));
    printerOrientation->setText(qt(info.orientation));
    paperSize->setText(qt(info.paperText()));
}

void TFormStringsPrint::numberEdited(const NumberField& field, bool finished) {
    if (showing_) return;
    PrintSettings& s = printer_.settings;
    if (auto value = readInteger(trimmedView(sjis(field.edit->text())))) {
        (s.*field.set)(wrapPrintNumberEntry(*value));
        // While a range is limited, its start is also the first number.
        if (field.edit == startPage && s.rangeOption() == roLimited) {
            s.setFirstPageNumber(s.startPage());
            firstPageNumber->setText(QString::number(s.firstPageNumber()));
        }
        if (field.edit == startLine && s.lineRangeOption() == roLimited) {
            s.setFirstLineNumber(s.startLine());
            firstLineNumber->setText(QString::number(s.firstLineNumber()));
        }
    }
    if (finished) field.edit->setText(QString::number((s.*field.get)()));
}

void TFormStringsPrint::rangeChosen(bool pages) {
    PrintSettings& s = printer_.settings;
    if (pages) {
        s.setRangeOption(static_cast<RangeOption>(rangeOption->checkedId()));
        const bool limited = s.rangeOption() == roLimited;
        startPage->setEnabled(limited);
        lastPage->setEnabled(limited);
        s.setFirstPageNumber(limited ? s.startPage() : 1);
        firstPageNumber->setText(QString::number(s.firstPageNumber()));
    } else {
        s.setLineRangeOption(static_cast<RangeOption>(lineRangeOption->checkedId()));
        const bool limited = s.lineRangeOption() == roLimited;
        startLine->setEnabled(limited);
        lastLine->setEnabled(limited);
        s.setFirstLineNumber(limited ? s.startLine() : 1);
        firstLineNumber->setText(QString::number(s.firstLineNumber()));
    }
}

void TFormStringsPrint::resetNumbers() {
    PrintSettings& s = printer_.settings;
    s.setStartPage(1);
    s.setFirstPageNumber(1);
    s.setStartLine(1);
    s.setFirstLineNumber(1);
    s.setLastPage(kPrintNumberLimit);
    s.setLastLine(kPrintNumberLimit);
    showing_ = true;
    for (const NumberField& field : numbers_)
        field.edit->setText(QString::number((s.*field.get)()));
    showing_ = false;
}

bool TFormStringsPrint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (const NumberField& field : numbers_) {
            if (watched == field.edit) {
                resetNumbers();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormStringsPrint::help() {
    std::string text;
    for (const char* line : kHelpLines) {
        if (!text.empty() || line != kHelpLines[0]) text += "\n";
        text += line;
    }
    host_.message(text);
}

void TFormStringsPrint::preview() {
    if (!lines_) return;
    const PrintReport report = previewStrings_(printer_, *lines_, qprinter_, host_);
    if (!report.message.empty()) host_.message(report.message);
}

void TFormStringsPrint::print() {
    if (!lines_) return;
    QtPrintJob job(qprinter_, host_);
    PrintReport report = printStrings_(printer_, *lines_, job, host_);
    if (!job.finish() && report.ok()) report = {PrintOutcome::Failed, job.failure()};
    if (report.ok()) {
        accept();
        return;
    }
    if (!report.message.empty()) host_.message(report.message);
}

}  // namespace zel
