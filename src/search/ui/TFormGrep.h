#pragma once
// The grep options dialog of New Child Grep ("FormGrep"): where the keyword
// must stand, NOT, Number, Ignore and the keyword. It is made once and kept;
// the settings it was last confirmed with are the command's.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

#include "search/ChildGrep.h"

namespace zel {

class TFormGrep : public QDialog {
    Q_OBJECT
  public:
    explicit TFormGrep(QWidget* parent = nullptr);

    // Shows `choice` (its keyword in the box).
    void load(const GrepChoice& choice);
    // What the dialog shows; `lossless` (when given) tells whether the typed
    // keyword survived the conversion to Shift_JIS.
    GrepChoice choice(bool* lossless = nullptr) const;
    // Shows the dialog on `choice` and waits: true with `choice` updated on
    // OK (the keyword then also heads the box's list).
    bool ask(GrepChoice& choice, bool* lossless = nullptr);

    QButtonGroup* RadioGroup_Option;
    QRadioButton* RadioButton_Normal;
    QRadioButton* RadioButton_Head;
    QRadioButton* RadioButton_Tail;
    QCheckBox* CheckBox_NOT;
    QCheckBox* CheckBox_Number;
    QCheckBox* CheckBox_Ignore;
    QComboBox* ComboBox_KeyWord;
    QPushButton* Button_OK;
    QPushButton* Button_Cancel;

  private:
    void confirm();
};

}  // namespace zel
