#pragma once
// The holder search windows: Scan, Replace and Grep over the current holder
// (TFormScanHolder) or the holders checked in a list (TFormScanHolders), and
// what to do with the results: go to a node, mark or unmark the listed nodes,
// hand them to the selected-nodes editor, or make a new node of the text.
// Modeless, made once and kept; "Close" only hides them. The result lists
// keep weak references, so a node deleted meanwhile is never reached.

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <set>
#include <string>
#include <vector>

#include "search/HolderScan.h"
#include "search/KeywordHistory.h"
#include "search/ui/ResultListModel.h"
#include "search/ui/SearchWidgets.h"

class QHBoxLayout;

namespace zel {

class SearchHost;

class TFormScanBase : public QWidget {
    Q_OBJECT
  public:
    // The buttons.
    void Scan();
    void Replace();
    void Grep();
    void Mark();
    void Unmark();
    void EditSelect();
    void NewNode();
    void Clear();
    void AllOn();
    void AllOff();
    // Clicking a line of the List tab (`grep` false) or of the Grep tab.
    void clickLine(bool grep, int row);
    bool isRunning() const { return running_; }

    QWidget* Panel_Top;
    QComboBox* ComboBox_KeyWord;
    QComboBox* ComboBox_ReplaceWord;
    QCheckBox* CheckBox_Name;
    QCheckBox* CheckBox_Memo;
    QCheckBox* CheckBox_Comment;
    QCheckBox* CheckBox_Field;
    QCheckBox* CheckBox_Ignore;
    QPushButton* Button_AllOn;
    QPushButton* Button_AllOff;
    QTabWidget* PageControl1;
    QWidget* TabSheet_List;
    QWidget* TabSheet_Grep;
    ResultListView* ListBox_List;
    ResultListView* ListBox_Grep;
    ResultListModel* listModel;
    ResultListModel* grepModel;
    QPushButton* Button_Scan;
    QPushButton* Button_Replace;
    QPushButton* Button_Grep;
    QPushButton* Button_Mark;
    QPushButton* Button_Unmark;
    QPushButton* Button_EditSelect;
    QPushButton* Button_NewNode;
    QPushButton* Button_Clear;
    QPushButton* Button_CopyHolder;
    QPushButton* Button_MoveHolder;
    QPushButton* Button_Close;
    StatusPanel* StatusBar1;

  protected:
    TFormScanBase(QWidget* parent, bool several);
    // The holders a run visits, by name, in order.
    virtual std::vector<std::string> holderNames() const = 0;
    // Links the window to `host`: font, colour, the keyword list, Edit Select.
    void link(SearchHost& host);
    void showWindow();
    void status(std::string_view text);
    // Room beside the tabs for what a window adds.
    QHBoxLayout* body_;
    SearchHost* host_ = nullptr;

  private:
    void run(ScanKind kind);
    // The keyword box's text: false (after saying why) when it cannot run.
    bool takeKeyword(std::string& keyword);
    bool takeReplacement(std::string& replacement);
    ResultListModel* visibleModel() const;
    void markAll(bool marked);
    void setRunning(bool running);

    const bool several_;
    bool running_ = false;
    KeywordHistory replaceWords_;
};

class TFormScanHolder : public TFormScanBase {
    Q_OBJECT
  public:
    explicit TFormScanHolder(QWidget* parent = nullptr);
    // Links the window to `host` and shows it on the current holder; false
    // (nothing shown) without one.
    bool open(SearchHost& host);

  protected:
    std::vector<std::string> holderNames() const override;
};

class TFormScanHolders : public TFormScanBase {
    Q_OBJECT
  public:
    explicit TFormScanHolders(QWidget* parent = nullptr);
    // Links the window to `host`, runs Update and Current, and shows it.
    bool open(SearchHost& host);

    // The holder check list.
    void UpdateHolders();
    void CheckCurrent();
    void CheckAll();
    void UncheckAll();
    // The names of the checked rows, top to bottom.
    std::vector<std::string> checkedNames() const;

    QListWidget* CheckListBox_Holders;
    QPushButton* Button_Update;
    QPushButton* Button_Current;
    QPushButton* Button_ALL;
    QPushButton* Button_UnSelect;

  protected:
    std::vector<std::string> holderNames() const override { return checkedNames(); }

  private:
    void setAllChecked(bool checked);
};

}  // namespace zel
