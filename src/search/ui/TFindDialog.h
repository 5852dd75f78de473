#pragma once
// The node window's find and replace dialogs: small modeless windows that
// hold the texts and tell the window which button was pressed. The window
// does the finding; the dialogs' own check boxes are shown but not consulted.

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace zel {

class TFindDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QLineEdit* Edit_Find;
    QCheckBox* CheckBox_WholeWord;
    QCheckBox* CheckBox_MatchCase;
    QPushButton* Button_FindNext;
    QPushButton* Button_Cancel;

  signals:
    void findNext();
};

class TReplaceDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TReplaceDialog(QWidget* parent = nullptr);

    QLineEdit* Edit_Find;
    QLineEdit* Edit_Replace;
    QCheckBox* CheckBox_WholeWord;
    QCheckBox* CheckBox_MatchCase;
    QPushButton* Button_FindNext;
    QPushButton* Button_Replace;
    QPushButton* Button_ReplaceAll;
    QPushButton* Button_Cancel;

  signals:
    void findNext();
    void replace();
    void replaceAll();
};

}  // namespace zel
