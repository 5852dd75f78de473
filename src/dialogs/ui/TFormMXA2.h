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
#include "dialogs/ui/TFormFilePropaty.h"

namespace zel {

class DialogHost;
class MemoFile;

class TFormMXA2 : public TFormFilePropaty {
    Q_OBJECT
  public:
    explicit TFormMXA2(QWidget* parent = nullptr);

    // The memo file to show (a record of another kind: -1).
    int loadRecord_(MemoBasic& record) override;
    // The colour and memo text where changed; the memo file is then marked
    // changed. The number of settings written, -1 without owner link.
    int storeRecord_() override;

    QTabWidget* PageControl1;
    QLabel* StaticText_name;
    std::array<QLineEdit*, 8> mailBoxes;
    QPlainTextEdit* Memo_Memo;

  private:
    MemoFile* file_ = nullptr;
    MemoFileSettings loaded_;
};

}  // namespace zel
