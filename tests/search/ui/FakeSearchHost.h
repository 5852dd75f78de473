#pragma once
// A main window stand-in for the search windows: a memo file of plain holders
// and a record of everything the windows ask.

#include <QApplication>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "search/KeywordHistory.h"
#include "search/ui/SearchHost.h"

namespace zel::test {

class FakeSearchHost : public SearchHost {
  public:
    FakeSearchHost() { file.putName_as_("demo"); }

    MemoHolder& addHolder(const std::string& name, const std::vector<std::string>& nodeNames,
                          const std::vector<std::vector<std::string>>& memos = {}) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(name);
        holder->loaded = true;
        for (std::size_t i = 0; i < nodeNames.size(); ++i) {
            auto node = holder->newNode_();
            if (i < memos.size()) node->memo = memos[i];
            holder->addNode_(std::move(node), nodeNames[i]);
        }
        if (!currentHolder) {
            currentHolder = holder;
            currentNode = holder->first_();
        }
        return *holder;
    }

    MemoFile* memoFile() const override { return const_cast<MemoFile*>(&file); }
    MemoHolder* getCurHolder() const override { return currentHolder; }
    MemoNode* getCurMemoNode() const override { return currentNode; }
    MemoHolder* changeHolder_(MemoHolder* holder) override {
        calls.push_back("changeHolder " + holder->getName_());
        currentHolder = holder;
        return holder;
    }
    void setCurMemoNode_(MemoNode* node) override {
        calls.push_back("current " + node->getName_());
        currentNode = node;
    }

    bool nowDoing() override { return busy; }
    void startDoing_(std::string_view name) override {
        calls.push_back("start " + std::string(name));
    }
    void doneDoing_(std::string_view text) override {
        calls.push_back("done " + std::string(text));
    }
    bool isBreakRequested() override {
        QApplication::processEvents();
        return breakNow;
    }
    bool isUIReadOnly() const override { return uiReadOnly; }
    void messageDoing_(std::string_view text) override { mainStatus = text; }
    void addLog_(std::string_view text) override { log.emplace_back(text); }

    void writeBackEditors() override { calls.emplace_back("writeBack"); }
    void reloadEditors() override { calls.emplace_back("reload"); }
    void loadHolder_(MemoHolder& holder) override {
        calls.push_back("load " + holder.getName_());
        holder.loaded = true;
    }
    void holderReplaced(MemoHolder& holder) override {
        calls.push_back("replaced " + holder.getName_());
    }
    void markNodes(const std::vector<MemoNode*>& nodes, bool marked) override {
        for (MemoNode* node : nodes) node->setMarked_(marked);
        calls.push_back("mark " + std::to_string(nodes.size()));
    }

    MemoNode* newMemoNode() override {
        if (!currentHolder || refuseNewNode) return nullptr;
        currentNode = currentHolder->makeNode_();
        return currentNode;
    }
    void putEditorMemo(const std::vector<std::string>& lines) override { editorMemo = lines; }

    KeywordHistory& keywordHistory() override { return history; }
    void messageBox(SearchBox kind, std::string_view text) override {
        static const char* kKinds[] = {"information", "confirmation", "warning", "error"};
        boxes.push_back(std::string(kKinds[static_cast<int>(kind)]) + ": " + std::string(text));
    }

    bool hasSelectedNodesEditor() const override { return editorAvailable; }
    bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) override {
        edited = nodes;
        return editorAvailable;
    }
    QFont windowFont() const override { return QApplication::font(); }
    QColor panelColour() const override { return Qt::lightGray; }

    MemoFile file;
    MemoHolder* currentHolder = nullptr;
    MemoNode* currentNode = nullptr;
    KeywordHistory history;
    bool busy = false, breakNow = false, uiReadOnly = false, refuseNewNode = false;
    bool editorAvailable = false;
    std::string mainStatus;
    std::vector<std::string> calls, log, boxes, editorMemo;
    std::vector<std::pair<std::string, NodeRef>> edited;
};

}  // namespace zel::test
