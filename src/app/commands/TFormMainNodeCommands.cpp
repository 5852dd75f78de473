// Node commands of the [MemoNode] menu and the holder view's pop-ups:
// cloning, deleting into the trash holder, the query node, read-only
// switching, names from fields, and the window font.

#include <QApplication>
#include <QClipboard>
#include <algorithm>
#include <cmath>

#include "app/commands/CommandNames.h"
#include "app/window/TFormMainScript.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/MemoNodeUI.h"
#include "views/TFormMemoNode.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kSmallestFontSize = 5;
// As many copies as the largest number series makes.
constexpr int kMostClones = 100000;
constexpr int kBreakPollEvery = 50;

bool isTreeMode(const MemoHolder& holder) {
    return storedListMode(holder) == ListMode::Tree;
}

}  // namespace

int TFormMainScript::UIClone_(int count) {
    if (count < 1 || refuse(Busy | UIReadOnly | HolderReadOnly)) return 0;
    // Scripts pass any count: it is bounded like a number series, and Break stops it.
    count = std::min(count, kMostClones);
    auto* holder = dynamic_cast<MemoHolderUI*>(getCurHolder());
    MemoNode* source = getCurMemoNode();
    if (!holder || !source) return 0;
    CommandScope scope(*this, "Clone MemoNode " + std::to_string(count));
    UI2Model();
    MemoNode* copy = nullptr;
    int made = 0;
    for (; made < count; ++made) {
        if (made > 0 && made % kBreakPollEvery == 0 && isBreakRequested()) {
            setCurMemoNode_(copy);
            return made;
        }
        copy = holder->addCopyOfNode_(*source);
        if (!copy) {
            scope.endWith("failure: Clone MemoNode");
            return made;
        }
    }
    setCurMemoNode_(copy);
    scope.endWith("Done: Clone MemoNode " + std::to_string(count));
    return made;
}

// --- Deleting ------------------------------------------------------------------

int TFormMainScript::UIDeleteMemoNode() {
    // A read-only holder keeps its nodes: nothing goes into the trash.
    if (const int refused = refuse(Busy | UIReadOnly | HolderReadOnly, kReadOnlyApart))
        return refused;
    MemoHolder* holder = getCurHolder();
    CommandScope scope(*this, commands::UIDeleteMemoNode);
    // The node goes into the trash with what the editor holds.
    UI2Model();
    const std::string refusal = isTreeMode(*holder) ? deleteTreeNode_() : deleteOneNode1_();
    scope.endWith(refusal);
    return refusal.empty() ? 0 : kFailed;
}

std::unique_ptr<MemoNode> TFormMainScript::takeNode(MemoHolder& holder, MemoNode& node,
                                                    std::string& name) {
    name = holder.getNameChild_(&node);
    if (auto* shown = dynamic_cast<MemoNodeUI*>(&node); shown && shown->nodeWindow)
        shown->nodeWindow->close();
    return holder.removeNode_(&node);
}

std::vector<std::pair<std::string, std::unique_ptr<MemoNode>>> TFormMainScript::takeNodes(
    MemoHolder& holder, const NodeList& leaving) {
    std::vector<MemoNode*> nodes;
    nodes.reserve(leaving.size());
    for (const auto& [listed, node] : leaving) {
        if (auto* shown = dynamic_cast<MemoNodeUI*>(node); shown && shown->nodeWindow)
            shown->nodeWindow->close();
        nodes.push_back(node);
    }
    if (auto* shown = dynamic_cast<MemoHolderUI*>(&holder)) return shown->takeNodes_(nodes);
    std::vector<std::pair<std::string, std::unique_ptr<MemoNode>>> taken;
    for (MemoNode* node : nodes) {
        std::string name = holder.getNameChild_(node);
        if (auto out = holder.removeNode_(node))
            taken.emplace_back(std::move(name), std::move(out));
    }
    return taken;
}

std::string TFormMainScript::deleteOneNode1_() {
    MemoHolder* holder = getCurHolder();
    if (!holder) return "ERROR: aH = nil in _deleteOneNode1_";
    if (holder->getName_() == kTrashHolderName) return "Can not remove it on the Trush MemoHolder";
    MemoNode* node = getCurMemoNode();
    if (holder->count_() <= 1 || !node) return "Could Not delete. Because There is One Node.";
    MemoNode* next = holder->next_(node);
    if (!next) next = holder->first_();
    std::string name;
    std::unique_ptr<MemoNode> taken = takeNode(*holder, *node, name);
    holder->changed = true;
    aFile->currentNode = nullptr;
    setCurMemoNode_(next);
    moveToTrash_(std::move(taken), name);
    return "";
}

std::string TFormMainScript::deleteTreeNode_() {
    auto* holder = dynamic_cast<MemoHolderUI*>(getCurHolder());
    if (!holder) return "ERROR: self.getCurHolder = nil";
    if (holder->getName_() == kTrashHolderName) return "Can not remove it on Trush MemoHolder.";
    if (holder->count_() <= 1) return "Could Not delete. Because There is One Node.";
    MemoNode* node = getCurMemoNode();
    if (!node) return "ERROR: self.getCurMemoNode = nil";
    TreeItem* item = holder->treeItemOf(node);
    if (!item) return "ERROR: aM.aUITN = nil";
    // The next current node: the first one after the subtree (never deeper),
    // else the nearest one before it that is not deeper.
    const int level = item->level();
    const int index = holder->indexOf_(node);
    MemoNode* next = holder->at_(index + item->size);
    for (int i = index - 1; !next && i >= 0; --i)
        if (TreeItem* before = holder->treeItemOf(holder->at_(i));
            before && before->level() <= level)
            next = before->node;
    if (!next) return "Don't Delete !";
    NodeList doomed{{holder->getNameChild_(node), node}};
    holder->listDescendants_(item, doomed);
    // Children leave before their parents, so no child moves up in between.
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        std::string name;
        std::unique_ptr<MemoNode> taken = takeNode(*holder, *it->second, name);
        moveToTrash_(std::move(taken), name);
    }
    aFile->currentNode = nullptr;
    holder->changed = true;
    setCurMemoNode_(next);
    return "";
}

void TFormMainScript::moveToTrash_(std::unique_ptr<MemoNode> node, std::string_view name) {
    if (!node) return;
    MemoHolder* trash = aFile->holderByName_(kTrashHolderName);
    if (trash) {
        if (!trash->loaded) loadHolder_(trash);
        trash->addNode_(std::move(node), name);
        trash->changed = true;
        return;
    }
    trash = newHolder_(-1);
    trash->putName_as_(kTrashHolderName);
    MemoNode* kept = node.get();
    trash->addNode_(std::move(node), name);
    trash->setCurrent_(kept);
    refreshHolderList();
}

// --- The query node, read-only switching, names ----------------------------------

int TFormMainScript::UISetQuery() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    MemoNode* node = getCurMemoNode();
    if (!holder || !node) return kFailed;
    CommandScope scope(*this, "Set Query");
    holder->putField_("QueryNode", wrapQuotes(node->getName_()));
    holder->changed = true;
    return 0;
}

int TFormMainScript::UIJumpQuery() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kFailed;
    const std::string name = stripQuotes(holder->getField_("QueryNode"));
    MemoNode* query = name.empty() ? nullptr : holder->byName_(name);
    if (!query) {
        messageDoing_("Not found QueryNode named as " + name);
        return kFailed;
    }
    CommandScope scope(*this, "Jump Query");
    UI2Model();
    setCurMemoNode_(query);
    return 0;
}

int TFormMainScript::UIToggleNodeReadOnly() {
    // In a read-only holder every node stays read-only whatever its own flag
    // says; writing the flag would only change the holder's file.
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    messageDoing_("Change FlagReadOnly");
    MemoNode* node = getCurMemoNode();
    if (!node) return kFailed;
    UI2Model();
    node->putField_("FlagReadOnly", node->isReadOnlyEffective_() ? "\"false\"" : "\"true\"");
    // The flag is saved with the holder: unmarked, it would be lost at closing.
    if (MemoHolder* holder = getCurHolder()) holder->changed = true;
    Model2UI();
    return 0;
}

int TFormMainScript::UICopyNodeName() {
    MemoNode* node = getCurMemoNode();
    if (!node) return kFailed;
    const std::string name = node->getName_();
    QApplication::clipboard()->setText(toQt(name));
    messageDoing_("Copied Current MemoNode Name \"" + name + "\"");
    return 0;
}

int TFormMainScript::UIFieldToName() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    UI2Model();
    const std::string key =
        trimText(prompter().inputBox("Change name from Field's Value", "Field Name", ""));
    if (key.empty()) return kFailed;
    CommandScope scope(*this, "Field->Name");
    // Renaming may reorder a sorted holder: the nodes are taken in their
    // order before the first rename.
    NodeList nodes;
    holder->setNodeList_(nodes);
    for (auto& [name, node] : nodes) {
        std::string value = stripQuotes(node->getField_(key));
        if (value.empty()) value = "_";
        std::string old = name;
        std::replace(old.begin(), old.end(), '"', '\'');
        node->putField_("OldName", wrapQuotes(old));
        node->putName_as_(value);
    }
    holder->changed = true;
    Model2UI();
    return static_cast<int>(nodes.size());
}

// --- The window font ---------------------------------------------------------------

int TFormMainScript::UIFont() {
    const QFont chosen = prompter().chooseFont(font()).value_or(font());
    setFont(chosen);
    messageDoing_("FontSize=" + std::to_string(chosen.pointSize()) +
                  " FontName=" + fromQt(chosen.family()));
    return chosen.pointSize();
}

int TFormMainScript::stepFontSize(int direction) {
    QFont larger = font();
    const int size = larger.pointSize();
    const double step = size * 0.1;
    // Halves go to the even neighbour, as the default rounding does.
    const int change = step >= 1 ? static_cast<int>(std::nearbyint(step)) : 1;
    const int stepped = std::max(kSmallestFontSize, size + direction * change);
    larger.setPointSize(stepped);
    setFont(larger);
    return stepped;
}

int TFormMainScript::UIFontSizeInc() {
    const int size = stepFontSize(1);
    messageDoing_("Done: Increment FontSize " + std::to_string(size));
    return size;
}

int TFormMainScript::UIFontSizeDec() {
    const int size = stepFontSize(-1);
    messageDoing_("Done: Decrement FontSize " + std::to_string(size));
    return size;
}

}  // namespace zel
