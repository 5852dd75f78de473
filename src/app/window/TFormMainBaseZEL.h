#pragma once
// The second layer of the main window: the log window and the other
// companion windows, the general open operation, the start-up open, and
// files dropped on the window.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/window/TFormMainBase0007.h"

namespace zel {

class TFormAbout;
class TFormLog;

// What a file dropped on the window becomes (the application properties' choice).
enum DropMode { DropOpen = 0, DropString = 1, DropExtractFileName = 2 };

class TFormMainBaseZEL : public TFormMainBase0007 {
    Q_OBJECT
  public:
    explicit TFormMainBaseZEL(QWidget* parent = nullptr);
    ~TFormMainBaseZEL() override;

    // Appends a line to the log window (created on first use, not shown).
    int addLog_(std::string_view text) override;
    int showFormLog() override;
    TFormLog* formLog();

    // The about window, created on first use and kept.
    int getFormAbout();
    TFormAbout* formAbout() const { return formAbout_; }
    int setAboutImage(std::string_view path);
    void showAbout(int milliseconds);

    // Opens any path by its kind: 1 when a directory became a node, 0 when a
    // memo file, holder or file was opened, -1 otherwise.
    int _open_(std::string_view path);
    // The start-up open: the first command-line argument, else the default
    // open file.
    void openArg1(const std::vector<std::string>& arguments);
    std::string getDefaultOpenFile() const;

    // Files dropped at `globalPosition`, handled by `dropMode`.
    void dropFiles_(const std::vector<std::string>& paths, const QPoint& globalPosition);
    int dropMode = DropOpen;

    // Starts another zel on a memo file; tests replace it.
    std::function<void(const std::string& path)> startSecondInstance;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    int openByExtension(const std::string& path, const std::string& extension);
    int openWithoutExtension(const std::string& path);
    int openCompressedFile(const std::string& path);
    void dropOneFileOpen(const std::string& path, const QPoint& globalPosition);

    TFormLog* formLog_ = nullptr;
    TFormAbout* formAbout_ = nullptr;
};

}  // namespace zel
