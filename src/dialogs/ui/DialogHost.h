#pragma once
// What the editing dialogs need from the main window they belong to: the memo
// file and the current holder and node, the busy protocol, the node view's
// write-back and its editors, new nodes, the selected-nodes editor, the
// application settings, and the questions to the user. The dialogs never
// include the application layer.

#include <QColor>
#include <QFont>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/NodeRef.h"

namespace zel {

class MemoFile;
class MemoHolder;
class MemoNode;

// The boxes the dialogs show; each has only an OK button.
enum class DialogBox { Information, Confirmation, Warning };

class DialogHost {
  public:
    virtual ~DialogHost() = default;

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

    // The node view written into the current node, and shown again from it.
    virtual int UI2Model() = 0;
    virtual void Model2UI() = 0;
    // The node view's fields editor alone, written into `node` and loaded from it.
    virtual void saveFieldsEditor(MemoNode& node) = 0;
    virtual void reloadFieldsEditor(MemoNode& node) = 0;
    // Reads a holder not loaded yet, as showing it would.
    virtual void loadHolder_(MemoHolder& holder) = 0;
    // The holder's settings or its nodes' names changed: it is sorted as its
    // list mode says, and its view follows.
    virtual void holderSettingsChanged(MemoHolder& holder) = 0;

    // "New MemoNode" in the current holder: the node made, or none (refused).
    virtual MemoNode* newMemoNode() = 0;
    // `text` is inserted at the cursor of the node view's text editor.
    virtual void insertIntoNodeEditor(std::string_view text) = 0;
    // The selected-nodes editor opened with (line text, node) pairs; false
    // when it could not be made.
    virtual bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) = 0;

    // The tool bar's "ReadOnly" box is ticked (the node view written back, the
    // editing entries disabled) and its indicator refreshed.
    virtual void switchUIReadOnly() = 0;
    virtual void refreshReadOnlyIndicator() = 0;
    // The user name, in double quotes.
    virtual std::string userName() const = 0;
    // The current holder's date format as stored; empty when none.
    virtual std::string dateFormat() const = 0;

    // Application settings.
    virtual std::string getTempDirectory() const = 0;
    virtual void setTempDirectory(std::string_view directory) = 0;
    virtual int dropMode() const = 0;
    virtual void setDropMode(int mode) = 0;
    virtual int getAutoSaveTime() const = 0;
    virtual void putAutoSaveTime_(int seconds) = 0;
    // The font command ("UIFont"); the main window's font afterwards.
    virtual QFont UIFont() = 0;
    virtual QFont windowFont() const = 0;
    // The main window's panel colour, for a memo file without its own.
    virtual QColor panelColour() const = 0;

    // Questions (texts and paths are Shift_JIS).
    virtual void messageBox(DialogBox kind, std::string_view text) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // The path chosen, or empty when cancelled.
    virtual std::string openFileName(std::string_view filter, std::string_view initialPath) = 0;
    virtual std::string directoryName(std::string_view caption, std::string_view start) = 0;
    // Shows a folder on the desktop; false when nothing could be started.
    virtual bool explore(std::string_view folder) = 0;
};

}  // namespace zel
