#pragma once
// The memo file properties ("File Propaty"): the memo file's name, file and
// colour, and its memo text. The "Mail" page carries boxes the memo file does
// not use.

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <array>

#include "dialogs/PropertyEdit.h"
#include "dialogs/ui/DialogWidgets.h"
#include "dialogs/ui/TFormPropaty.h"

namespace zel {

class DialogHost;
class MemoFile;

class TFormMXA2 : public TFormPropaty {
    Q_OBJECT
  public:
    explicit TFormMXA2(QWidget* parent = nullptr);

    // The memo file to show (a record of another kind: -1).
    int loadRecord_(MemoBasic& record) override;
    // The colour and memo text where changed; the memo file is then marked
    // changed. The number of settings written, -1 without owner link.
    int storeRecord_() override;
    void setHost(DialogHost* host) { host_ = host; }

    void chooseColour();
    void explore();

    QTabWidget* PageControl1;
    QLabel* StaticText_FileName;
    QLabel* StaticText_name;
    ColourField* StaticText_Color;
    QPushButton* Button_Explorer;
    std::array<QLineEdit*, 8> mailBoxes;
    QPlainTextEdit* Memo_Memo;

  private:
    void showColour();

    MemoFile* file_ = nullptr;
    DialogHost* host_ = nullptr;
    MemoFileSettings loaded_;
    std::optional<Color> colour_;
};

}  // namespace zel
