#include "search/ui/TFindDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zel {

namespace {

QPushButton* addButton(QVBoxLayout* column, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    column->addWidget(button);
    return button;
}

}  // namespace

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    Edit_Find = new QLineEdit(this);
    CheckBox_WholeWord = new QCheckBox(QStringLiteral("Match whole word only"), this);
    CheckBox_MatchCase = new QCheckBox(QStringLiteral("Match case"), this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Find what:"), Edit_Find);
    fields->addRow(CheckBox_WholeWord);
    fields->addRow(CheckBox_MatchCase);
    auto* buttons = new QVBoxLayout;
    Button_FindNext = addButton(buttons, "Find Next", this);
    Button_Cancel = addButton(buttons, "Cancel", this);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    Button_FindNext->setDefault(true);
    connect(Button_FindNext, &QPushButton::clicked, this, &TFindDialog::findNext);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::hide);
}

TReplaceDialog::TReplaceDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Replace"));
    setModal(false);
    Edit_Find = new QLineEdit(this);
    Edit_Replace = new QLineEdit(this);
    CheckBox_WholeWord = new QCheckBox(QStringLiteral("Match whole word only"), this);
    CheckBox_MatchCase = new QCheckBox(QStringLiteral("Match case"), this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Find what:"), Edit_Find);
    fields->addRow(QStringLiteral("Replace with:"), Edit_Replace);
    fields->addRow(CheckBox_WholeWord);
    fields->addRow(CheckBox_MatchCase);
    auto* buttons = new QVBoxLayout;
    Button_FindNext = addButton(buttons, "Find Next", this);
    Button_Replace = addButton(buttons, "Replace", this);
    Button_ReplaceAll = addButton(buttons, "Replace All", this);
    Button_Cancel = addButton(buttons, "Cancel", this);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    connect(Button_FindNext, &QPushButton::clicked, this, &TReplaceDialog::findNext);
    connect(Button_Replace, &QPushButton::clicked, this, &TReplaceDialog::replace);
    connect(Button_ReplaceAll, &QPushButton::clicked, this, &TReplaceDialog::replaceAll);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::hide);
}

}  // namespace zel
