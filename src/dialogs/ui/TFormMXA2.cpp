#include "dialogs/ui/TFormMXA2.h"

#include <QApplication>
#include <QClipboard>
#include <QFormLayout>
#include <QGridLayout>

#include "dialogs/ui/DialogHost.h"
#include "dialogs/ui/TFormHolder2.h"
#include "model/MemoFile.h"
#include "text/LineList.h"
#include "views/ViewText.h"

namespace zel {

namespace {

// A read-only text whose pop-up menu copies it.
QLabel* copyableText(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("Copy"), label);
    QObject::connect(copy, &QAction::triggered, label,
                     [label] { QApplication::clipboard()->setText(label->text()); });
    label->addAction(copy);
    return label;
}

}  // namespace

TFormMXA2::TFormMXA2(QWidget* parent) : TFormPropaty(parent) {
    setObjectName(QStringLiteral("FormMXA2"));
    setWindowTitle(QStringLiteral("File Propaty"));
    resize(547, 548);
    PageControl1 = new QTabWidget(this);
    auto* general = new QWidget(PageControl1);
    StaticText_FileName = copyableText(general);
    StaticText_name = copyableText(general);
    StaticText_Color = new ColourField(QStringLiteral("Color"), general);
    Button_Explorer = dialogButton(QStringLiteral("Explorer"), general);
    auto* form = new QGridLayout(general);
    form->addWidget(new QLabel(QStringLiteral("FileName"), general), 0, 0);
    form->addWidget(StaticText_FileName, 0, 1);
    form->addWidget(Button_Explorer, 0, 2);
    form->addWidget(new QLabel(QStringLiteral("Name"), general), 1, 0);
    form->addWidget(StaticText_name, 1, 1);
    form->addWidget(StaticText_Color, 1, 2);
    form->setRowStretch(2, 1);
    form->setColumnStretch(1, 1);
    PageControl1->addTab(general, QStringLiteral("General"));
    auto* mail = new QWidget(PageControl1);
    auto* mailForm = new QFormLayout(mail);
    for (std::size_t i = 0; i < mailBoxes.size(); ++i) {
        mailBoxes[i] = new QLineEdit(mail);
        mailForm->addRow(toQt(kMailSettingKeys[i]), mailBoxes[i]);
    }
    PageControl1->addTab(mail, QStringLiteral("Mail"));
    Memo_Memo = new QPlainTextEdit(this);
    body()->addWidget(PageControl1);
    body()->addWidget(Memo_Memo, 1);
    connect(StaticText_Color, &ColourField::clicked, this, &TFormMXA2::chooseColour);
    connect(Button_Explorer, &QPushButton::clicked, this, &TFormMXA2::explore);
}

void TFormMXA2::showColour() {
    StaticText_Color->setColour(colour_ ? toQColor(*colour_) : palette().color(QPalette::Button));
}

int TFormMXA2::loadRecord_(MemoBasic& record) {
    auto* file = dynamic_cast<MemoFile*>(&record);
    if (!file) return -1;
    file_ = file;
    host_ = nullptr;
    loaded_ = loadMemoFileSettings(*file);
    StaticText_FileName->setText(toQt(loaded_.fileName));
    StaticText_name->setText(toQt(loaded_.name));
    colour_ = loaded_.colour;
    showColour();
    Memo_Memo->setPlainText(linesToQt(loaded_.memo));
    return 0;
}

int TFormMXA2::storeRecord_() {
    if (!host_ || !file_) return -1;
    MemoFileSettings edited = loaded_;
    edited.colour = colour_;
    const std::string memo = fromQt(Memo_Memo->toPlainText());
    if (memo != fromQt(linesToQt(loaded_.memo))) edited.memo = textLines(memo);
    const int written = storeMemoFileSettings(*file_, loaded_, edited);
    loaded_ = loadMemoFileSettings(*file_);
    return written;
}

void TFormMXA2::chooseColour() {
    if (!host_) return;
    if (std::optional<QColor> chosen = host_->chooseColor(StaticText_Color->colour())) {
        colour_ = fromQColor(*chosen);
        showColour();
    }
}

void TFormMXA2::explore() {
    if (host_) exploreFolderOf(*host_, fromQt(StaticText_FileName->text()));
}

}  // namespace zel
