#include "dialogs/ui/TFormMXA2.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>

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

TFormMXA2::TFormMXA2(QWidget* parent) : TFormFilePropaty(parent) {
    setObjectName(QStringLiteral("FormMXA2"));
    setWindowTitle(QStringLiteral("File Propaty"));
    resize(547, 548);
    PageControl1 = new QTabWidget(this);
    auto* general = new QWidget(PageControl1);
    StaticText_FileName = copyableText(general);
    StaticText_name = copyableText(general);
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
    mailBoxes = addMailPage(PageControl1);
    Memo_Memo = new QPlainTextEdit(this);
    body()->addWidget(PageControl1);
    body()->addWidget(Memo_Memo, 1);
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

}  // namespace zel
