#pragma once
// What the mail windows need from the main window they belong to: the memo
// file and the current holder and node, the busy protocol and read-only
// guards every change goes through, the node editor, the questions to the
// user, and Break. The windows never include the application layer.

#include <QFont>
#include <string>
#include <string_view>

namespace zel {

class MemoFile;
class MemoHolder;
class MemoNode;

class MailHost {
  public:
    virtual ~MailHost() = default;

    virtual MemoFile* memoFile() const = 0;
    virtual MemoHolder* getCurHolder() const = 0;
    virtual MemoNode* getCurMemoNode() const = 0;

    // True while a command runs (the window then says so).
    virtual bool nowDoing() = 0;
    virtual void startDoing_(std::string_view name) = 0;
    virtual void doneDoing_(std::string_view text) = 0;
    // The guards: true when the change must be refused (they say why).
    virtual bool checkUIReadOnly() = 0;
    virtual bool checkHolderReadOnly() = 0;
    // The node editor written into the current node, and shown from it.
    virtual int UI2Model() = 0;
    virtual int Model2UI() = 0;
    // A holder's nodes or settings changed: marked changed, views refreshed.
    virtual void holderChanged(MemoHolder& holder) = 0;
    // The memo file's own fields changed.
    virtual void memoFileChanged() = 0;

    virtual void messageDoing_(std::string_view text) = 0;
    // An error box with OK (Shift_JIS text).
    virtual void errorBox(std::string_view text) = 0;
    // Asks for a password (masked as it is typed, never stored); false when
    // cancelled.
    virtual bool askPassword(std::string_view prompt, std::string& password) = 0;
    // Lets pending window events through; true once Break was pressed.
    virtual bool isBreakRequested() = 0;
    virtual QFont windowFont() const = 0;
};

}  // namespace zel
