#pragma once
// The base of the property dialogs: a record loaded into the controls, and
// written back from them on "OK". "CANCEL" writes nothing. The dialog is made
// once and kept; closing only hides it.

#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace zel {

class MemoBasic;

class TFormPropaty : public QDialog {
    Q_OBJECT
  public:
    explicit TFormPropaty(QWidget* parent = nullptr);

    // Fills the dialog from `record`; the base loads nothing: -1.
    virtual int loadRecord_(MemoBasic& record);
    // Writes the dialog into the record last loaded; the base writes nothing: -1.
    virtual int storeRecord_();

    QWidget* Panel_Bottom;
    QPushButton* Button_OK;
    QPushButton* Button_CANCEL;

  protected:
    // Where a dialog puts its controls, above the bottom panel.
    QVBoxLayout* body() const { return body_; }

  private:
    QVBoxLayout* body_;
};

}  // namespace zel
