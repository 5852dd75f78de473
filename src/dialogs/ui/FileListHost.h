#pragma once
// What the file list and save-each windows need from the main window they
// belong to: the memo file and the current holder and node, the busy
// protocol and read-only guards every change goes through, the node view's
// write-back, new holders, and the questions to the user. The windows never
// include the application layer.

#include <QColor>
#include <QFont>
#include <string>
#include <string_view>

namespace zel {

class MemoFile;
class MemoHolder;
class MemoNode;

enum class HostAnswer { Yes, No, Cancel };

class FileListHost {
  public:
    virtual ~FileListHost() = default;

    virtual MemoFile* memoFile() const = 0;
    virtual MemoHolder* getCurHolder() const = 0;

    // True while a command runs (the window then says so).
    virtual bool nowDoing() = 0;
    virtual void startDoing_(std::string_view name) = 0;
    virtual void doneDoing_(std::string_view text) = 0;
    virtual void messageDoing_(std::string_view text) = 0;
    // Lets pending window events through; true once the main window's Break
    // was pressed.
    virtual bool isBreakRequested() = 0;
    // The guards: true when the change must be refused (they say why).
    virtual bool checkUIReadOnly() = 0;
    virtual bool checkHolderReadOnly() = 0;
    // The node editor written into the current node, and shown from it.
    virtual int UI2Model() = 0;
    virtual void Model2UI() = 0;

    // A new empty holder after the last one (loaded, marked changed, its tab
    // shown); none when it could not be made.
    virtual MemoHolder* newHolder() = 0;
    // Nodes were added to `holder` past its view: it is sorted as its list
    // mode says and its view follows.
    virtual void holderNodesChanged(MemoHolder& holder) = 0;
    // `node` of `holder` becomes the current node, the holder shown.
    virtual void showNode(MemoHolder& holder, MemoNode& node) = 0;
    // A node's fields changed outside the editor: the holder is marked
    // changed and the view and editor follow.
    virtual void nodeFieldsChanged(MemoHolder& holder) = 0;

    // Questions (texts are Shift_JIS). An input box yields `initial` when
    // cancelled.
    virtual std::string inputBox(std::string_view caption, std::string_view prompt,
                                 std::string_view initial) = 0;
    virtual HostAnswer askYesNoCancel(std::string_view text) = 0;
    // A folder chooser opened at `start`; empty when cancelled.
    virtual std::string directoryName(std::string_view caption, std::string_view start) = 0;

    virtual QFont windowFont() const = 0;
    // The main window's top panel colour, for a memo file without its own.
    virtual QColor panelColour() const = 0;
};

}  // namespace zel
