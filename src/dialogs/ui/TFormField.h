#pragma once
// The field window (TFormField): one field key across the nodes of the
// holders checked in its list. It lists the nodes whose fields mention the
// key, then sets, rewrites or deletes that field in all of them, marks or
// unmarks them, writes the list into a new node or hands it to the
// selected-nodes editor. Modeless, made once and kept; "Close" only hides it.
// The result lines keep weak references, so a node deleted meanwhile is
// skipped. Beside it, the holder fields dialog (TFormHolderFields) edits a
// holder's own settings fields as text.

#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <string>
#include <vector>

#include "dialogs/FieldEdit.h"
#include "dialogs/ui/DialogWidgets.h"
#include "search/ui/ResultListModel.h"
#include "search/ui/SearchWidgets.h"

namespace zel {

class DialogHost;
class MemoHolder;

class TFormField : public QWidget {
    Q_OBJECT
  public:
    explicit TFormField(QWidget* parent = nullptr);

    // Links the window to `host` (font, caption, panel colour), runs "Up
    // Holder" and shows it.
    void open(DialogHost& host);

    // The buttons.
    void Scan();
    void ScanNot();
    void Set();
    void Replace();
    void Delete();
    void Mark();
    void Unmark();
    void NewNode();
    void EditSel();
    void FieldName();
    void ValueList();
    void ReplaceValueList();
    void UpHolder();
    void CheckCurrent();
    void CheckAll();
    void UncheckAll();
    void Clear();
    // Clicking a result line: its node becomes current, in its holder.
    void clickLine(int row);

    // The holders whose lines are checked, top to bottom (holders that have
    // gone meanwhile are left out).
    std::vector<MemoHolder*> checkedHolders() const;
    const ScanResults& results() const { return resultModel->results(); }

    QWidget* Panel_Top;
    QPushButton* Button_FieldName;
    HistoryBox* ComboBox_Field;
    QPushButton* Button_Value;
    HistoryBox* ComboBox_Value;
    QPushButton* Button_ReplaceVal;
    HistoryBox* ComboBox_ReplaceValue;
    QRadioButton* RadioButton_Field;
    QRadioButton* RadioButton_Both;
    QRadioButton* RadioButton_Equal;
    QRadioButton* RadioButton_Include;
    QCheckBox* CheckBox_Ignore;
    QPushButton* Button_Current;
    QPushButton* Button_ALL;
    QPushButton* Button_UnSelect;
    QPushButton* Button_Close;
    QPushButton* Button_EditSel;
    QPushButton* Button_UpHolder;
    QPushButton* Button_NewNode;
    QPushButton* Button_Scan;
    QPushButton* Button_Replace;
    QPushButton* Button_Set;
    QPushButton* Button_CopyHolder;
    QPushButton* Button_Mark;
    QPushButton* Button_ScanNot;
    QPushButton* Button_Clear;
    QPushButton* Button_Delete;
    QPushButton* Button_MoveHolder;
    QPushButton* Button_Unmark;
    QListWidget* CheckListBox1;
    ResultListView* ListBox2;
    ResultListModel* resultModel;
    StatusPanel* StatusBar1;

  private:
    void run(FieldAction action);
    void markAll(bool marked);
    void status(std::string_view text);
    void setAllChecked(bool checked);
    // The current holder's drop-down values for `box` (the key must be set).
    void listValues(HistoryBox* box);

    DialogHost* host_ = nullptr;
    bool running_ = false;
};

class TFormHolderFields : public QDialog {
    Q_OBJECT
  public:
    explicit TFormHolderFields(QWidget* parent = nullptr);

    // Shows the holder's field lines.
    void load(MemoHolder& holder, DialogHost& host);
    // "OK": the edited lines become the holder's fields when they differ
    // (the holder is then marked changed); false, with the dialog left open,
    // when a line's key would break the record markup.
    bool store();

    QPlainTextEdit* Memo1;
    QPushButton* Button_OK;
    QPushButton* Button_Cancel;

  private:
    MemoHolder* holder_ = nullptr;
    DialogHost* host_ = nullptr;
};

}  // namespace zel
