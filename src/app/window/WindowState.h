#pragma once
// What the program remembers for its user between runs: where its windows
// stood (size, place, splitter sizes), the memo files opened last, and per
// memo file the holder and node shown last. Kept in
// $XDG_STATE_HOME/zel/state.ini (default ~/.local/state), which the program
// writes whole, old file or new, never torn; zel.ini stays the user's.

#include <QByteArray>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace zel {

class TFormMainMenu;
class TFormMainScript;
class TFormMainZELX13c;

inline constexpr std::size_t kRecentFiles = 10;

// The holder and node last shown of a memo file (Shift_JIS, as the model names them).
struct MemoFilePlace {
    std::string path;
    std::string holder;
    std::string node;
};

class WindowState {
  public:
    // The state file (Shift_JIS path).
    static std::string filePath();
    // The state as last saved; empty when there is none or it cannot be read.
    static WindowState load();
    bool save() const;

    // `path` becomes the first of the recent memo files (once, at most ten).
    void addRecent(std::string_view path);
    const std::vector<std::string>& recent() const { return recent_; }
    void setPlace(const MemoFilePlace& place);
    const MemoFilePlace* place(std::string_view path) const;
    // A window's geometry or a splitter's sizes (Qt's own encoding) by name.
    QByteArray layout(const std::string& name) const;
    void setLayout(const std::string& name, const QByteArray& bytes);

    std::string text() const;
    static WindowState parse(std::string_view text);

  private:
    std::map<std::string, std::string> layouts_;  // name to Base64
    std::vector<std::string> recent_;
    std::vector<MemoFilePlace> places_;  // the latest first
};

// Records the windows, the memo file and its place (at the end of a run).
void rememberWindows(const TFormMainZELX13c& window);
// Shrinks `window` to the screen's free area if it is larger, and moves it
// (with its frame) inside.
void fitOnScreen(QWidget& window);
// Puts the main window where it was, fitted to the screen, with its splitter.
void restoreMainWindow(TFormMainZELX13c& window);
// A companion window's size, place and splitter, the first time it shows.
void restoreCompanion(QWidget& companion);
// The memo file `path` heads the recent list.
void rememberRecentFile(std::string_view path);
// The holder and node last shown of the window's memo file become current.
void restorePlace(TFormMainScript& window);
// Opens the memo file `path` in this window (after the save question) and
// shows its holder and node last shown: 0, or -1 when busy, cancelled or missing.
int openRecentFile(TFormMainScript& window, std::string_view path);
// The File menu's "Recent" submenu, filled with the recent memo files each
// time it opens; each opens its file with openRecentFile.
void addRecentMenu(TFormMainMenu& window);

}  // namespace zel
