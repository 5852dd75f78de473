#pragma once
// The save-each window (TFormSaveEach): writes the body of every node of the
// current holder, or of its marked nodes, to the file its Filename names, or
// into one chosen folder, asking before it writes a file over, and logs
// every step. Shown modally by its command; made once and kept, so the
// folder, the options and the log stay between showings.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>
#include <vector>

namespace zel {

class FileListHost;

// The folder line: a click on it chooses the folder.
class DirectoryLine : public QLabel {
    Q_OBJECT
  public:
    explicit DirectoryLine(QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class TFormSaveEach : public QDialog {
    Q_OBJECT
  public:
    explicit TFormSaveEach(QWidget* parent = nullptr);

    // Links the window to `host`, sets "Mark Node Only" as given and, when
    // the folder line is empty, puts the memo file's folder there; it is
    // shown by the caller.
    void open(FileListHost& host, bool markNodeOnly);

    // The folder line (Shift_JIS), as it stands.
    std::string directory() const;
    void setDirectory(std::string_view directory);
    std::vector<std::string> logLines() const;

    // The buttons.
    void SaveEach();
    void SetDirectory();
    void Break();
    void Clear();

    QWidget* Panel_Top;
    DirectoryLine* StaticText1;
    QCheckBox* CheckBox_DefineDirectory;
    QCheckBox* CheckBox_ConfirmWriteOver;
    QCheckBox* CheckBox_MarkNodeOnly;
    QCheckBox* CheckBox_ChangeFilename;
    QPushButton* Button_Break;
    QPushButton* Button_Clear;
    QPushButton* Button_SetDirectory;
    QPushButton* Button_SaveEach;
    QPushButton* Button_Close;
    QPlainTextEdit* Memo1;

  private:
    bool breakPressed();

    FileListHost* host_ = nullptr;
    std::string directory_;
    bool break_ = false;
    int polls_ = 0;
};

}  // namespace zel
