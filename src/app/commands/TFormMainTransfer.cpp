// Moving or copying the current node to a holder the user picks; in a tree
// the node takes its descendants along, nested as they were.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/window/TFormMainScript.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

enum class Transfer { OneNode, Subtree, Refused };

// What the source's list mode carries along: a tree its subtree, the other
// lists the node alone. A holder listed as bare nodes has no list to take
// the node from.
Transfer transferOf(const MemoHolder& source) {
    const ListMode mode = storedListMode(source);
    if (mode == ListMode::Nodes) return Transfer::Refused;
    return mode == ListMode::Tree ? Transfer::Subtree : Transfer::OneNode;
}

// The nodes a transfer carries: the node, and in a tree its descendants in
// tree order, each with the position of its parent in the set (-1 for the
// node itself).
struct Subtree {
    NodeList nodes;
    std::vector<int> parentOf;
};

Subtree transferSet(const MemoHolder& source, MemoNode* node, Transfer transfer) {
    Subtree set{{{source.getNameChild_(node), node}}, {-1}};
    const auto* shown = dynamic_cast<const MemoHolderUI*>(&source);
    const TreeItem* top =
        transfer == Transfer::Subtree && shown ? shown->treeItemOf(node) : nullptr;
    if (!top) return set;
    shown->listDescendants_(top, set.nodes);
    std::unordered_map<const MemoNode*, int> position;
    position.reserve(set.nodes.size());
    for (std::size_t i = 0; i < set.nodes.size(); ++i)
        position.emplace(set.nodes[i].second, static_cast<int>(i));
    for (std::size_t i = 1; i < set.nodes.size(); ++i)
        set.parentOf.push_back(position.at(shown->treeItemOf(set.nodes[i].second)->parent->node));
    return set;
}

// The source's current node once the moved node has left.
MemoNode* nextCurrentAfterMove(MemoHolder& source, MemoNode* moved, Transfer transfer) {
    MemoNode* next = nullptr;
    if (transfer == Transfer::Subtree) {
        // The nearest line of the same depth, after the subtree first.
        auto* shown = dynamic_cast<MemoHolderUI*>(&source);
        TreeItem* item = shown ? shown->treeItemOf(moved) : nullptr;
        TreeItem* same = shown ? shown->nextSameLevel_(item) : nullptr;
        if (!same && shown) same = shown->prevSameLevel_(item);
        next = same ? same->node : nullptr;
    } else {
        next = source.next_(moved);
        if (!next) next = source.previous_(moved);
    }
    return next ? next : source.makeNode_();
}

// Enters `made` (taken from the set, in its order) into `target`; a node
// below the set's first becomes a child of the node made of its parent. In a
// shown tree that moves its line under the parent's line, as its last child,
// so the set keeps its order and the target's other lines stay as they were.
void enterInTarget(MemoHolder& target, const Subtree& set,
                   std::vector<std::unique_ptr<MemoNode>> made) {
    std::vector<MemoNode*> entered(made.size(), nullptr);
    for (std::size_t i = 0; i < made.size(); ++i) {
        if (!made[i]) continue;
        entered[i] = made[i].get();
        target.addNode_(std::move(made[i]), set.nodes[i].first);
        const int parent = set.parentOf[i];
        if (parent >= 0 && entered[static_cast<std::size_t>(parent)])
            entered[i]->setParentNode_(*entered[static_cast<std::size_t>(parent)]);
    }
}

// Takes the set out of `source`, deepest lines first, so that no child is
// handed to its grandparent on the way; the nodes in the set's order.
std::vector<std::unique_ptr<MemoNode>> takeOut(MemoHolder& source, const Subtree& set) {
    std::vector<std::unique_ptr<MemoNode>> taken(set.nodes.size());
    for (std::size_t i = set.nodes.size(); i-- > 0;)
        taken[i] = source.removeNode_(set.nodes[i].second);
    return taken;
}

// Copies of the set; in a tree each copy is a node of its own, with a UID
// of its own.
std::vector<std::unique_ptr<MemoNode>> copiesOf(const Subtree& set, bool newIdentity) {
    std::vector<std::unique_ptr<MemoNode>> copies;
    copies.reserve(set.nodes.size());
    for (const auto& [name, node] : set.nodes) {
        copies.push_back(node->clone_());
        if (newIdentity) copies.back()->newUID_();
    }
    return copies;
}

std::vector<std::string> holderNamesExcept(const MemoFile& file, const MemoHolder* left) {
    std::vector<std::string> names;
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        const MemoHolder* holder = file.holderAt_(i);
        if (holder != left) names.push_back(holder->getName_());
    }
    return names;
}

int refuseWithError(TFormMainScript& window, const std::string& text) {
    window.addLog_(text);
    window.prompter().error(text);
    return kFailed;
}

}  // namespace

MemoHolder* TFormMainScript::targetHolderOf(const HolderChoice& choice) {
    if (choice.kind == HolderChoice::Kind::Holder) return aFile->holderByName_(choice.name);
    MemoHolder* made = newHolder_(-1);
    refreshHolderList();
    return made;
}

void TFormMainScript::loadForTransfer(MemoHolder& target) {
    if (target.loaded) return;
    CommandScope scope(*this, "Now Loading Holder " + target.getName_());
    loadHolder_(&target);
}

bool TFormMainScript::refusesReadOnlyTarget(const MemoHolder& target) {
    if (!target.isReadOnlyEffective_()) return false;
    messageDoing_("This MemoHolder is Read Only. (" + target.getName_() + ")");
    return true;
}

HolderChoice TFormMainScript::askTargetHolder(const MemoHolder* left, int currentIndex) {
    return prompter().selectHolder(holderNamesExcept(*aFile, left), currentIndex);
}

int TFormMainScript::UIMove1To() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* source = getCurHolder();
    if (!source) return kNoHolder;
    if (refuse(UIReadOnly | HolderReadOnly)) return kFailed;
    const HolderChoice choice = askTargetHolder(source, -1);
    if (choice.kind == HolderChoice::Kind::Cancelled) return kFailed;
    if (choice.kind == HolderChoice::Kind::Holder && aFile->holderByName_(choice.name) == source) {
        messageDoing_("Source Holder is Distination Holder !");
        return kFailed;
    }
    const Transfer transfer = transferOf(*source);
    if (transfer == Transfer::Refused)
        return refuseWithError(*this, "ERROR: TFormMainScript.UIMove1To");
    const bool isNew = choice.kind == HolderChoice::Kind::NewHolder;
    MemoHolder* target = targetHolderOf(choice);
    if (!target || refusesReadOnlyTarget(*target)) return kFailed;
    UI2Model();
    loadForTransfer(*target);

    MemoNode* moved = getCurMemoNode();
    const Subtree set = transferSet(*source, moved, transfer);
    // The source shows its next node before the moved one leaves, so the
    // editor is written back into a node still in its holder.
    setCurMemoNode_(nextCurrentAfterMove(*source, moved, transfer));
    enterInTarget(*target, set, takeOut(*source, set));
    if (transfer == Transfer::Subtree) target->setCurrent_(moved);

    source->changed = true;
    target->changed = true;
    changeHolder_(target);
    if (isNew && transfer == Transfer::Subtree) showListMode(ListMode::Tree);
    return static_cast<int>(set.nodes.size());
}

int TFormMainScript::UICopy1To() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* source = getCurHolder();
    if (!source) return kNoHolder;
    if (refuse(UIReadOnly)) return kFailed;
    const HolderChoice choice = askTargetHolder(nullptr, aFile->indexOfHolder_(source));
    if (choice.kind == HolderChoice::Kind::Cancelled) return 0;
    const Transfer transfer = transferOf(*source);
    if (transfer == Transfer::Refused)
        return refuseWithError(*this, "ERROR: TFormMainScript.UICopy1To");
    const bool isNew = choice.kind == HolderChoice::Kind::NewHolder;
    MemoHolder* target = targetHolderOf(choice);
    if (!target || refusesReadOnlyTarget(*target)) return kFailed;
    UI2Model();
    loadForTransfer(*target);

    MemoNode* original = getCurMemoNode();
    const bool fromTree = transfer == Transfer::Subtree;
    const Subtree set = transferSet(*source, original, transfer);
    std::vector<std::unique_ptr<MemoNode>> copies = copiesOf(set, fromTree);
    MemoNode* topCopy = copies.front().get();
    enterInTarget(*target, set, std::move(copies));
    // Scripts read the count as the node and its direct children.
    int count = 1;
    for (int parent : set.parentOf) count += parent == 0 ? 1 : 0;

    target->changed = true;
    changeHolder_(target);
    if (isNew && fromTree) showListMode(ListMode::Tree);
    setCurMemoNode_(topCopy);
    return count;
}

}  // namespace zel
