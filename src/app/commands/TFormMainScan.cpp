// Search from the window: the node, holder and holders search windows, kept as
// companions, and New Child Grep. The windows reach the window through one
// SearchHost, which also keeps the keyword history they share and the grep
// dialog's settings for the run.

#include <algorithm>

#include "app/window/NodeEditor.h"
#include "app/window/Stamps.h"
#include "app/window/TFormMainScript.h"
#include "app/window/WindowCompanionHost.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "search/ChildGrep.h"
#include "search/KeywordHistory.h"
#include "search/ui/TFormScanHolder.h"
#include "search/ui/TFormScanNode.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/MemoNodeUI.h"

namespace zel {

namespace {

class WindowSearchHost final : public WindowCompanionHost<SearchHost> {
  public:
    explicit WindowSearchHost(TFormMainScript& window) : WindowCompanionHost(window) {}

    bool isUIReadOnly() const override { return window_.uiReadOnlySource(); }
    void addLog_(std::string_view text) override { window_.addLog_(text); }

    void holderReplaced(MemoHolder& holder) override {
        if (auto* shown = dynamic_cast<MemoHolderUI*>(&holder)) shown->refreshControls_();
    }
    // Marks are saved with the holder; each holder's lines are told once.
    void markNodes(const std::vector<MemoNode*>& nodes, bool marked) override {
        std::vector<MemoHolder*> touched;
        for (MemoNode* node : nodes) {
            node->setMarked_(marked);
            auto* holder = dynamic_cast<MemoHolder*>(node->enclosingRecord_());
            if (holder && std::find(touched.begin(), touched.end(), holder) == touched.end())
                touched.push_back(holder);
        }
        for (MemoHolder* holder : touched) {
            holder->changed = true;
            if (auto* shown = dynamic_cast<MemoHolderUI*>(holder)) shown->refreshControls_();
        }
    }

    void putEditorMemo(const std::vector<std::string>& lines) override {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
        if (NodeEditor* editor = window_.nodeEditor()) {
            editor->setMemoText(text);
            window_.UI2Model();
        } else if (MemoNode* node = window_.getCurMemoNode()) {
            node->memo = lines;
        }
    }

    KeywordHistory& keywordHistory() override { return history_; }

    bool hasSelectedNodesEditor() const override { return true; }
    bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) override {
        return window_.editSelectedNodes_(nodes) == 0;
    }

    GrepChoice grepChoice;

  private:
    KeywordHistory history_;
};

}  // namespace

SearchHost& TFormMainScript::searchHost() {
    if (!searchHost_) searchHost_ = std::make_unique<WindowSearchHost>(*this);
    return *searchHost_;
}

int TFormMainScript::UIShowScanMemoNode() {
    if (refuse(Busy)) return kFailed;
    if (!getCurHolder() || !getCurMemoNode()) return kNoHolder;
    UI2Model();
    // Modal without a nested event loop: the command returns at once, so
    // scripts and tests go on while the window is shown.
    companion<TFormScanNode>()->open(searchHost());
    addLog_("Show FormScanMemoNode " + longStamp());
    return 0;
}

int TFormMainScript::UIShowScanMemoHolder() {
    if (refuse(Busy)) return kFailed;
    if (!getCurHolder()) return kNoHolder;
    companion<TFormScanHolder>()->open(searchHost());
    addLog_("Show FormScanHolder " + longStamp());
    return 0;
}

int TFormMainScript::UIShowScanMemoHolders() {
    if (refuse(Busy)) return kFailed;
    companion<TFormScanHolders>()->open(searchHost());
    addLog_("Show FormScanHolders " + longStamp());
    return 0;
}

int TFormMainScript::UINewChildGrep5(std::string_view keyword) {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    auto& host = static_cast<WindowSearchHost&>(searchHost());
    std::string wanted(keyword);
    if (wanted.empty()) {
        GrepChoice asked = host.grepChoice;
        if (!prompter().grepOptions(asked)) {
            messageDoing_("Cancel \"New Child Grep\"");
            return kFailed;
        }
        host.grepChoice = asked;
        if (trimText(asked.keyword).empty()) {
            messageDoing_("Cancel \"New Child Grep Any\"");
            return kFailed;
        }
        wanted = asked.keyword;
    }
    CommandScope scope(*this, "New Child Grep5");
    scope.endWith("Failure: New Child Grep5");
    MemoNode* source = getCurMemoNode();
    if (!source) return kFailed;
    UI2Model();
    MemoNode* child = makeGrepChild(*source, wanted, host.grepChoice,
                                    [this] { return newNodeOfKind_("", KindFile); });
    if (!child) return kFailed;
    if (MemoHolder* holder = getCurHolder()) holder->changed = true;
    Model2UI();
    scope.endWith("Done: New Child Grep5 : " + wanted);
    return 0;
}

}  // namespace zel
