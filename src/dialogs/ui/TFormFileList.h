#pragma once
// The file list window (TFormFileList): files and folders dropped on it
// become lines of a list (optionally every file or folder below a dropped
// folder), the list buttons reshape every line, and "Make Nodes" turns each
// line into a memo node with template fields, in a new holder or the current
// one. Modeless, made once and kept; "Close" only hides it.

#include <QCheckBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <string>
#include <vector>

#include "dialogs/FileListEdit.h"
#include "dialogs/ui/DialogWidgets.h"

namespace zel {

class FileListHost;

class TFormFileList : public QWidget {
    Q_OBJECT
  public:
    explicit TFormFileList(QWidget* parent = nullptr);

    // Links the window to `host`, gives it the main window's font and the
    // memo file's colour on its top panel, and shows it.
    void open(FileListHost& host);

    // What dropping `paths` (full Shift_JIS paths) does in the chosen mode.
    void dropPaths(const std::vector<std::string>& paths);
    // The local files a drop carries, as Shift_JIS paths.
    static std::vector<std::string> droppedPaths(const QMimeData& data);
    FileDropMode dropMode() const;

    // The list and the template, one Shift_JIS line each.
    std::vector<std::string> lines() const;
    void setLines(const std::vector<std::string>& lines);
    std::vector<std::string> templateLines() const;

    // The buttons.
    void CopyAll();
    void Clear();
    void Break();
    void AddHead();
    void DelHead();
    void Num();
    void Sort();
    void AddTail();
    void LinkHTML();
    void MakeNodes();
    void ClearTemplate();

    QTabWidget* PageControl1;
    QWidget* Panel_Top;
    QPushButton* Button_Close;
    QPushButton* Button_CopyAll;
    QPushButton* Button_Clear;
    QPushButton* Button_Break;
    QPushButton* Button_AddHead;
    QPushButton* Button_DelHead;
    QPushButton* Button_Num;
    QPushButton* Button_Sort;
    QPushButton* Button_AddTail;
    QPushButton* Button_LinkHTML;
    RadioGroup* RadioGroup_DragAndDrop;
    QPlainTextEdit* Memo1;
    QCheckBox* CheckBox_Name;
    QCheckBox* CheckBox_Filename;
    QCheckBox* CheckBox_Link;
    RadioGroup* RadioGroup_Holder;
    QPushButton* Button_MakeNodes;
    QPushButton* Button_CloseForm;
    QPushButton* Button_ClearTemplate;
    QPlainTextEdit* Memo2;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Polled while a drop lists folders: lets events through, so Break can
    // be pressed.
    bool breakPressed();
    void applyToLines(void (*change)(std::vector<std::string>&));
    void addWord(const char* caption, const char* prompt, bool head);

    FileListHost* host_ = nullptr;
    bool break_ = false;
    bool dropping_ = false;
};

}  // namespace zel
