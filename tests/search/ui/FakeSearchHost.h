#pragma once
// A main window stand-in for the search windows: a memo file of plain holders
// and a record of everything the windows ask.

#include <string>
#include <vector>

#include "search/KeywordHistory.h"
#include "search/SearchTestSupport.h"
#include "search/ui/SearchHost.h"
#include "views/FakeCompanionHost.h"

namespace zel::test {

class FakeSearchHost : public FakeCompanionHost<SearchHost> {
  public:
    MemoHolder& addHolder(const std::string& name, const std::vector<std::string>& nodeNames,
                          const std::vector<std::vector<std::string>>& memos = {}) {
        return currentIfFirst(test::addHolder(file, name, nodeNames, memos));
    }

    bool isUIReadOnly() const override { return uiReadOnly; }
    void addLog_(std::string_view text) override { log.emplace_back(text); }

    void holderReplaced(MemoHolder& holder) override {
        calls.push_back("replaced " + holder.getName_());
    }
    void markNodes(const std::vector<MemoNode*>& nodes, bool marked) override {
        for (MemoNode* node : nodes) node->setMarked_(marked);
        calls.push_back("mark " + std::to_string(nodes.size()));
    }
    void putEditorMemo(const std::vector<std::string>& lines) override { editorMemo = lines; }

    KeywordHistory& keywordHistory() override { return history; }

    bool hasSelectedNodesEditor() const override { return editorAvailable; }
    bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) override {
        edited = nodes;
        return editorAvailable;
    }

    KeywordHistory history;
    bool uiReadOnly = false, editorAvailable = false;
    std::vector<std::string> log, editorMemo;
    std::vector<std::pair<std::string, NodeRef>> edited;
};

}  // namespace zel::test
