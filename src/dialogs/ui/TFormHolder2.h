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
#include "dialogs/ui/TFormPropaty.h"

namespace zel {

class DialogHost;
class MemoHolder;

class TFormHolder2 : public TFormPropaty {
    Q_OBJECT
  public:
    explicit TFormHolder2(QWidget* parent = nullptr);

    // The holder to show (a record of another kind: -1).
    int loadRecord_(MemoBasic& record) override;
    // Only with the owner link set; the number of settings written.
    int storeRecord_() override;
    // The owner link to the main window, set after loading.
    void setHost(DialogHost* host) { host_ = host; }

    // What the controls show now, as settings.
    HolderSettings shownSettings() const;
    // The colour field's click and "Explorer".
    void chooseColour();
    void explore();

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
    QLabel* StaticText_FileName;
    QLabel* StaticText_Name;
    ColourField* StaticText_Color;
    QPushButton* Button_Explorer;
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
    void showColour();

    MemoHolder* holder_ = nullptr;
    DialogHost* host_ = nullptr;
    HolderSettings loaded_;
    // The colour shown; none: the default face colour (no colour).
    std::optional<Color> colour_;
};

// Shows `folder`'s directory when it exists, else a confirmation box naming
// `shownName` ("Explorer" of the property dialogs).
void exploreFolderOf(DialogHost& host, std::string_view shownName);

}  // namespace zel
