#pragma once
// What every companion window that walks or edits the memo file's nodes (the
// search windows, the editing dialogs) needs from the main window it belongs
// to: the memo file and the current holder and node, the busy protocol, the
// editors' write-back, holders read on demand, new nodes, message boxes and
// the window's looks. Each family's host adds what only it needs, so the
// windows never include the application layer.

#include <QColor>
#include <QFont>
#include <string_view>

namespace zel {

class MemoFile;
class MemoHolder;
class MemoNode;

// The boxes the windows show; each has only an OK button.
enum class CompanionBox { Information, Confirmation, Warning, Error };

class CompanionHost {
  public:
    virtual ~CompanionHost() = default;

    virtual MemoFile* memoFile() const = 0;
    virtual MemoHolder* getCurHolder() const = 0;
    virtual MemoNode* getCurMemoNode() const = 0;
    virtual MemoHolder* changeHolder_(MemoHolder* holder) = 0;
    virtual void setCurMemoNode_(MemoNode* node) = 0;

    // The busy protocol: true while a command runs (the window then says so).
    // A long run holds the busy state, so no command changes the nodes it
    // walks while it lets events through.
    virtual bool nowDoing() = 0;
    virtual void startDoing_(std::string_view name) = 0;
    virtual void doneDoing_(std::string_view text) = 0;
    // Lets pending window events through; true once Break was pressed.
    virtual bool isBreakRequested() = 0;
    virtual void messageDoing_(std::string_view text) = 0;

    // The node view and every open node window written into their nodes, and
    // shown again from them. Node windows hold their own copies of the text:
    // an edit made between the two would otherwise be undone by old text.
    virtual void UI2Model() = 0;
    virtual void Model2UI() = 0;
    // Reads a holder not loaded yet, as showing it would.
    virtual void loadHolder_(MemoHolder& holder) = 0;
    // "New MemoNode" in the current holder: the node made, or none (refused).
    virtual MemoNode* newMemoNode() = 0;

    // Texts are Shift_JIS.
    virtual void messageBox(CompanionBox kind, std::string_view text) = 0;
    virtual QFont windowFont() const = 0;
    // The main window's top panel colour, for a memo file without its own.
    virtual QColor panelColour() const = 0;
};

}  // namespace zel
