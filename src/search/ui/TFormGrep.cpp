#include "search/ui/TFormGrep.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "search/ui/SearchWidgets.h"
#include "views/ViewText.h"

namespace zel {

TFormGrep::TFormGrep(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormGrep"));
    setWindowTitle(QStringLiteral("FormGrep"));
    setModal(true);
    auto* option = new QGroupBox(QStringLiteral("Option"), this);
    RadioGroup_Option = new QButtonGroup(this);
    RadioButton_Normal = new QRadioButton(QStringLiteral("Normal"), option);
    RadioButton_Head = new QRadioButton(QStringLiteral("Head"), option);
    RadioButton_Tail = new QRadioButton(QStringLiteral("Tail"), option);
    auto* modes = new QVBoxLayout(option);
    int index = GrepContains;
    for (QRadioButton* button : {RadioButton_Normal, RadioButton_Head, RadioButton_Tail}) {
        RadioGroup_Option->addButton(button, index++);
        modes->addWidget(button);
    }
    CheckBox_NOT = new QCheckBox(QStringLiteral("NOT"), this);
    CheckBox_Number = new QCheckBox(QStringLiteral("Number"), this);
    CheckBox_Ignore = new QCheckBox(QStringLiteral("Ignore"), this);
    auto* switches = new QVBoxLayout;
    for (QCheckBox* box : {CheckBox_NOT, CheckBox_Number, CheckBox_Ignore})
        switches->addWidget(box);
    switches->addStretch();
    ComboBox_KeyWord = makeKeywordBox(this);
    Button_OK = new QPushButton(QStringLiteral("OK"), this);
    Button_Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Button_OK->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(option);
    top->addLayout(switches);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button_OK);
    buttons->addWidget(Button_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ComboBox_KeyWord);
    layout->addLayout(buttons);

    setMinimumWidth(340);
    connect(Button_OK, &QPushButton::clicked, this, &TFormGrep::confirm);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    load(GrepChoice{});
}

void TFormGrep::load(const GrepChoice& choice) {
    QAbstractButton* mode = RadioGroup_Option->button(choice.mode);
    (mode ? mode : RadioButton_Normal)->setChecked(true);
    CheckBox_NOT->setChecked(choice.invert);
    CheckBox_Number->setChecked(choice.numbered);
    CheckBox_Ignore->setChecked(choice.ignoreCase);
    ComboBox_KeyWord->setEditText(toQt(choice.keyword));
}

GrepChoice TFormGrep::choice(bool* lossless) const {
    GrepChoice choice;
    choice.mode =
        RadioGroup_Option->checkedId() < 0 ? GrepContains : RadioGroup_Option->checkedId();
    choice.invert = CheckBox_NOT->isChecked();
    choice.numbered = CheckBox_Number->isChecked();
    choice.ignoreCase = CheckBox_Ignore->isChecked();
    const bool whole = storedText(ComboBox_KeyWord->currentText(), choice.keyword);
    if (lossless) *lossless = whole;
    return choice;
}

void TFormGrep::confirm() {
    putOnTop(ComboBox_KeyWord, ComboBox_KeyWord->currentText());
    accept();
}

bool TFormGrep::ask(GrepChoice& choice, bool* lossless) {
    load(choice);
    if (exec() != QDialog::Accepted) return false;
    choice = this->choice(lossless);
    return true;
}

}  // namespace zel
