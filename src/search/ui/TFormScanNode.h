#pragma once
// The node search window: copies of the current node's name, memo text,
// comment and fields, find and replace inside those copies (never written
// back), and a grep of the node as stored. Modal while shown; made once and
// kept, its boxes keep their contents between openings.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <string>

#include "search/ui/SearchWidgets.h"
#include "search/ui/TFindDialog.h"

namespace zel {

class SearchHost;

class TFormScanNode : public QWidget {
    Q_OBJECT
  public:
    explicit TFormScanNode(QWidget* parent = nullptr);

    // Links the window to `host` and shows its current node: title, colour,
    // Update, then the window, modal. False (nothing shown) without a
    // current holder and node.
    bool open(SearchHost& host);

    // The buttons.
    void Update();
    void Grep();
    void ClearGrep();
    void NewNode();
    // The tabs with an editor copy.
    enum Section { SectionMemo = 0, SectionComment = 1, SectionField = 2 };
    void Scan(Section section);
    void Replace(Section section);
    // The dialogs' buttons of `section`.
    void FindNext(Section section);
    void ReplaceOnce(Section section);

    QWidget* Panel_Top;
    QComboBox* ComboBox_KeyWord;
    QPushButton* Button_Update;
    QPushButton* Button_Set;
    QPushButton* Button_Close;
    QCheckBox* CheckBox_Ignore;
    QTabWidget* PageControl1;
    QWidget* TabSheet_Name;
    QLineEdit* Edit_Name;
    QPushButton* Button_NameScan;
    QPushButton* Button_NameReplace;
    QComboBox* ComboBox_NameReplace;
    QCheckBox* CheckBox_NameIgnore;
    struct EditorTab {
        QWidget* sheet;
        QPushButton* Button_Replace;
        QComboBox* ComboBox_ReplaceWord;
        QPushButton* Button_Scan;
        QPlainTextEdit* Memo;
        TFindDialog* FindDialog;
        TReplaceDialog* ReplaceDialog;
    };
    std::array<EditorTab, 3> tabs;
    QWidget* TabSheet_Grep;
    QPushButton* Button_Grep;
    QPushButton* Button_GrepClear;
    QPushButton* Button_NewNode;
    QPlainTextEdit* Memo_Grep;
    StatusPanel* StatusBar1;

  protected:
    // The find and replace dialogs go with the window.
    void hideEvent(QHideEvent* event) override;

  private:
    EditorTab makeEditorTab(const char* caption);
    QWidget* makeNameTab();
    QWidget* makeGrepTab();
    void status(std::string_view text);
    // The keyword box's text as Shift_JIS; empty (with the refusal said)
    // when it cannot be held.
    bool keyword(std::string& text);

    SearchHost* host_ = nullptr;
};

}  // namespace zel
