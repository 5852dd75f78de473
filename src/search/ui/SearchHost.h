#pragma once
// What the search windows need from the main window beyond every companion's
// share: the tool bar's read-only box, the log, replacements and marks told
// to the views, the node editor's memo text, the shared keyword history and
// the selected-nodes editor.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/NodeRef.h"
#include "views/CompanionHost.h"

namespace zel {

class KeywordHistory;

class SearchHost : public CompanionHost {
  public:
    // The tool bar's "ReadOnly" box, asked without a message.
    virtual bool isUIReadOnly() const = 0;
    virtual void addLog_(std::string_view text) = 0;

    // A replace changed nodes of `holder` (already marked changed).
    virtual void holderReplaced(MemoHolder& holder) = 0;
    // Marks or unmarks each node (a node may come twice); the views follow once.
    virtual void markNodes(const std::vector<MemoNode*>& nodes, bool marked) = 0;
    // The node editor shows `lines` as the current node's memo text.
    virtual void putEditorMemo(const std::vector<std::string>& lines) = 0;

    virtual KeywordHistory& keywordHistory() = 0;

    // The selected-nodes editor: whether there is one, and opening it with
    // (position, node) pairs; false when it could not be opened.
    virtual bool hasSelectedNodesEditor() const = 0;
    virtual bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) = 0;
};

}  // namespace zel
