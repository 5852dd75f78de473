#pragma once
// The log window: collects the lines the program logs and lets the user copy
// them, clear them or turn them into a node.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <string>
#include <string_view>

namespace zel {

class TFormMainBaseZEL;

class TFormLog : public QWidget {
    Q_OBJECT
  public:
    // `mainWindow` owns the log window; the "NewNode" button works on it.
    explicit TFormLog(TFormMainBaseZEL* mainWindow);

    void addLine(std::string_view line);
    // The whole log, lines joined with CR LF.
    std::string logText() const;
    int lineCount() const;

    QWidget* panel = nullptr;
    QPushButton* buttonHide = nullptr;
    QPushButton* buttonCopyAll = nullptr;
    QPushButton* buttonClear = nullptr;
    QPushButton* buttonNewNode = nullptr;
    QPlainTextEdit* MemoLog = nullptr;

  public slots:
    void copyAll();
    void clearLog();
    // A new text node in the main window holding the whole log.
    void newNodeFromLog();

  private:
    TFormMainBaseZEL* mainWindow_;
};

}  // namespace zel
