#pragma once
// What the search windows need from the main window they belong to: the memo
// file and the current holder and node, the busy protocol, the editors, new
// nodes, marks, the shared keyword history, the questions to the user and the
// selected-nodes editor. The windows never include the application layer.

#include <QColor>
#include <QFont>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/NodeRef.h"

namespace zel {

class KeywordHistory;
class MemoFile;
class MemoHolder;
class MemoNode;

// The boxes the windows show; each has only an OK button.
enum class SearchBox { Information, Confirmation, Warning, Error };

class SearchHost {
  public:
    virtual ~SearchHost() = default;

    virtual MemoFile* memoFile() const = 0;
    virtual MemoHolder* getCurHolder() const = 0;
    virtual MemoNode* getCurMemoNode() const = 0;
    virtual MemoHolder* changeHolder_(MemoHolder* holder) = 0;
    virtual void setCurMemoNode_(MemoNode* node) = 0;

    // The busy protocol: true while a command runs (the window then says so).
    virtual bool nowDoing() = 0;
    virtual void startDoing_(std::string_view name) = 0;
    virtual void doneDoing_(std::string_view text) = 0;
    // Lets pending window events through; true once Break was pressed.
    virtual bool isBreakRequested() = 0;
    // The tool bar's "ReadOnly" box, asked without a message.
    virtual bool isUIReadOnly() const = 0;
    virtual void messageDoing_(std::string_view text) = 0;
    virtual void addLog_(std::string_view text) = 0;

    // The node editor and every open node window written into their nodes,
    // and shown again from them.
    virtual void writeBackEditors() = 0;
    virtual void reloadEditors() = 0;
    // Reads a holder not loaded yet, as showing it would.
    virtual void loadHolder_(MemoHolder& holder) = 0;
    // A replace changed nodes of `holder` (already marked changed).
    virtual void holderReplaced(MemoHolder& holder) = 0;
    // Marks or unmarks each node (a node may come twice); the views follow once.
    virtual void markNodes(const std::vector<MemoNode*>& nodes, bool marked) = 0;

    // "New MemoNode" in the current holder: the node made, or none.
    virtual MemoNode* newMemoNode() = 0;
    // The node editor shows `lines` as the current node's memo text.
    virtual void putEditorMemo(const std::vector<std::string>& lines) = 0;

    virtual KeywordHistory& keywordHistory() = 0;
    // Texts are Shift_JIS.
    virtual void messageBox(SearchBox kind, std::string_view text) = 0;

    // The selected-nodes editor: whether there is one, and opening it with
    // (position, node) pairs; false when it could not be opened.
    virtual bool hasSelectedNodesEditor() const = 0;
    virtual bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) = 0;

    virtual QFont windowFont() const = 0;
    // The main window's top panel colour, for a memo file without its own.
    virtual QColor panelColour() const = 0;
};

}  // namespace zel
