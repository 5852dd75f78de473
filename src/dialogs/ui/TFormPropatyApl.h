#pragma once
// The application properties ("Application Propaty"), shown modally: the
// temporary directory, what a file dropped on the window becomes, the font
// and the auto-save interval. It shows and changes the main window's own
// settings; it keeps no copies of them.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/ui/DialogWidgets.h"

namespace zel {

class DialogHost;

class TFormPropatyApl : public QDialog {
    Q_OBJECT
  public:
    explicit TFormPropatyApl(QWidget* parent = nullptr);

    // Links the dialog to `host` and shows its settings (not yet modally).
    void load(DialogHost& host);

    void SetTempDir();
    void Explorer();
    void Font();

    QPushButton* Button_SetTempDir;
    QPushButton* Button_Explorer;
    QLabel* StaticTextTempDir;
    RadioGroup* RadioGroup_DragAndDrop;
    QPushButton* Button_Font;
    QLineEdit* Edit_AutoSaveTime;
    QPushButton* Button_CLOSE;

  private:
    DialogHost* host_ = nullptr;
};

}  // namespace zel
