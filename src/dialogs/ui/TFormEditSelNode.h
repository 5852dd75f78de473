#pragma once
// The selected-nodes editor (TFormEditSelNode): one edit applied to a whole
// list of nodes handed over by another window - the field window, the holder
// search windows, or "Edit All MemoNode" with every node of the current
// holder. Pages for names, memo texts, comments and one field; the list keeps
// weak references and is never changed by the editor. Modeless, made once
// and kept; "Close" only hides it.

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/SelNodeEdit.h"
#include "dialogs/ui/DialogWidgets.h"
#include "model/NodeRef.h"
#include "search/ui/ResultListModel.h"
#include "search/ui/SearchWidgets.h"

namespace zel {

class DialogHost;

class TFormEditSelNode : public QWidget {
    Q_OBJECT
  public:
    explicit TFormEditSelNode(QWidget* parent = nullptr);

    // Links the window to `host`, shows it, and replaces the node list by
    // `nodes` (the line's text and its node, in order).
    void open(DialogHost& host, const std::vector<std::pair<std::string, NodeRef>>& nodes);
    std::vector<NodeRef> nodeRefs() const;

    void editName(NameEdit edit);
    void editMemo(TextEdit edit);
    void editComment(TextEdit edit);
    void SetField();
    void DeleteField();
    void UpdateField();

    QPushButton* Button_Close;
    QTabWidget* PageControl1;
    HistoryBox* ComboBox_name;
    QPushButton* Button_NameInsertHead;
    QPushButton* Button_NameReplace;
    QPushButton* Button_NameAddTail;
    QPushButton* Button_NameInsertHeadPlus;
    QPushButton* Button_NameAddTailPlus;
    QPlainTextEdit* Memo_Memo;
    QPushButton* Button_MemoInsertHead;
    QPushButton* Button_MemoReplace;
    QPushButton* Button_MemoAddTail;
    QPlainTextEdit* Memo_Comment;
    QPushButton* Button_CommentInsertHead;
    QPushButton* Button_CommentReplace;
    QPushButton* Button_CommentAddTail;
    HistoryBox* ComboBox_Field;
    HistoryBox* ComboBox_Value;
    QPushButton* Button_UpdateField;
    QPushButton* Button_Set;
    QPushButton* Button_Delete;
    ResultListView* ListBox2;
    ResultListModel* nodeModel;
    StatusPanel* StatusBar1;

  private:
    // What every operation does around its change.
    SelEditHooks hooks();
    void report(const SelEditOutcome& outcome);

    DialogHost* host_ = nullptr;
};

}  // namespace zel
