#pragma once
// The holder properties ("Holder Propaty"): the holder's settings on the
// pages General and Mail and its memo text. "OK" writes back only the
// settings whose control was changed since loading.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <array>

#include "dialogs/PropertyEdit.h"
#include "dialogs/ui/DialogWidgets.h"
#include "dialogs/ui/TFormFilePropaty.h"

namespace zel {

class DialogHost;
class MemoHolder;

class TFormHolder2 : public TFormFilePropaty {
    Q_OBJECT
  public:
    explicit TFormHolder2(QWidget* parent = nullptr);

    // The holder to show (a record of another kind: -1).
    int loadRecord_(MemoBasic& record) override;
    // Only with the owner link set; the number of settings written.
    int storeRecord_() override;
    // What the controls show now, as settings.
    HolderSettings shownSettings() const;
    QTabWidget* PageControl1;
    RadioGroup* RadioGroup_NewNodeName;
    QCheckBox* CheckBox_ReadOnly;
    QCheckBox* CheckBox_Extra;
    QCheckBox* CheckBox_Sort;
    RadioGroup* RadioGroup_SortType;
    RadioGroup* RadioGroup_NewNodeOP;
    QLabel* StaticText_CountOfNodes;
    QComboBox* ComboBox_FormatDate;
    QComboBox* ComboBox_FormatNumber;
    QCheckBox* CheckBox_FlagSameName;
    QLineEdit* Edit_SelectNodeName;
    QLineEdit* Edit_Alias;
    QLabel* StaticText_QueryNode;
    QLabel* StaticText_Name;
    QLabel* StaticText_CountSave;
    QLabel* StaticText_TimeSaved;
    RadioGroup* RadioGroup_FileExt;
    QLineEdit* Edit_SMTPServer;
    QLineEdit* Edit_POPServer;
    QLineEdit* Edit_To;
    QLineEdit* Edit_CC;
    QLineEdit* Edit_BCC;
    QLineEdit* Edit_From;
    QLineEdit* Edit_ReplyTo;
    QLineEdit* Edit_UserID;
    QPlainTextEdit* Memo_Memo;
    QMenuBar* MainMenu1;

  private:
    std::array<QLineEdit*, 8> mailBoxes() const;

    MemoHolder* holder_ = nullptr;
    HolderSettings loaded_;
};

}  // namespace zel
