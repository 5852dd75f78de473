// The MarkNode menu: marking every node, and deleting, copying and moving
// the marked nodes.

#include "app/window/TFormMainScript.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "views/BodyPaths.h"
#include "views/MemoHolderUI.h"
#include "views/MemoNodeUI.h"

namespace zel {

namespace {

NodeList markedNodes(const MemoHolder& holder) {
    NodeList marked;
    holder.collectMarked_(marked);
    return marked;
}

// The first unmarked node after `node`, else the nearest one before it.
MemoNode* nearestUnmarked(const MemoHolder& holder, const MemoNode* node) {
    const int index = holder.indexOf_(node);
    for (int i = index + 1; i < holder.count_(); ++i)
        if (!holder.at_(i)->isMarked_()) return holder.at_(i);
    for (int i = index - 1; i >= 0; --i)
        if (!holder.at_(i)->isMarked_()) return holder.at_(i);
    return nullptr;
}

}  // namespace

int TFormMainScript::markEveryNode(bool (*mark)(bool wasMarked)) {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    UI2Model();
    NodeList nodes;
    holder->setNodeList_(nodes);
    for (auto& [name, node] : nodes) setNodeMark(*node, mark(node->isMarked_()));
    holder->changed = true;
    Model2UI();
    return static_cast<int>(nodes.size());
}

int TFormMainScript::UIMarkAll() {
    return markEveryNode([](bool) { return true; });
}

int TFormMainScript::UIUnMarkAll() {
    return markEveryNode([](bool) { return false; });
}

int TFormMainScript::UIReverseMarks() {
    return markEveryNode([](bool wasMarked) { return !wasMarked; });
}

int TFormMainScript::UIDeleteMarkNodes() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    auto* holder = dynamic_cast<MemoHolderUI*>(getCurHolder());
    if (!holder || holder->getName_() == kTrashHolderName) return 0;
    const ListMode mode = storedListMode(*holder);
    if (mode == ListMode::Tree || mode == ListMode::List) {
        prompter().message("Still Not implimented");
        return kFailed;
    }
    if (mode != ListMode::CheckList) return 0;
    CommandScope scope(*this, "Delete MarkNodes CLB");
    if (!holder->checkList()) return 0;
    UI2Model();
    MemoNode* current = getCurMemoNode();
    MemoNode* replacement = current;
    if (current && current->isMarked_()) {
        aFile->currentNode = nullptr;
        replacement = nearestUnmarked(*holder, current);
    }
    const NodeList marked = markedNodes(*holder);
    if (marked.empty()) {
        scope.endWith("No Mark MemoNode.");
        return 0;
    }
    for (auto& [name, node] : takeNodes(*holder, marked)) moveToTrash_(std::move(node), name);
    holder->changed = true;
    if (holder->count_() == 0) replacement = holder->makeNode_();
    if (!replacement) replacement = holder->first_();
    setCurMemoNode_(replacement);
    scope.endWith("Done " + std::to_string(marked.size()) + " Nodes deleted.");
    return static_cast<int>(marked.size());
}

int TFormMainScript::UICopyMarksTo() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* source = getCurHolder();
    if (!source) return kNoHolder;
    const NodeList marked = markedNodes(*source);
    if (marked.empty()) {
        prompter().ask(Tone::Warning, "Nothing Node Marked.", ButtonOk);
        return 0;
    }
    const HolderChoice choice = askTargetHolder(nullptr, aFile->indexOfHolder_(source));
    if (choice.kind == HolderChoice::Kind::Cancelled) return kFailed;
    MemoHolder* target = targetHolderOf(choice);
    if (!target || refusesReadOnlyTarget(*target)) return kFailed;
    UI2Model();
    loadForTransfer(*target);
    changeHolder_(target);
    MemoNode* last = nullptr;
    for (const auto& [name, node] : marked) {
        std::unique_ptr<MemoNode> copy = node->clone_();
        last = copy.get();
        target->addNode_(std::move(copy), name);
    }
    target->changed = true;
    setCurMemoNode_(last);
    return static_cast<int>(marked.size());
}

int TFormMainScript::UIMoveMarksTo() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* source = getCurHolder();
    if (!source) return kNoHolder;
    // Moving empties the source: both guards hold for it.
    if (refuse(UIReadOnly | HolderReadOnly)) return kFailed;
    if (source->count_() <= 1) {
        messageDoing_("Don't Move. Because There is One Node");
        return kFailed;
    }
    const NodeList marked = markedNodes(*source);
    if (marked.empty()) {
        prompter().ask(Tone::Confirmation, "Nothing Node Marked.", ButtonOk);
        messageDoing_("Nothing Node Marked.");
        return 0;
    }
    const HolderChoice choice = askTargetHolder(nullptr, aFile->indexOfHolder_(source));
    if (choice.kind == HolderChoice::Kind::Cancelled) return kFailed;
    if (choice.kind == HolderChoice::Kind::Holder && aFile->holderByName_(choice.name) == source) {
        messageDoing_("Source Holder is Distination Holder !");
        return kFailed;
    }
    MemoHolder* target = targetHolderOf(choice);
    if (!target || refusesReadOnlyTarget(*target)) return kFailed;
    UI2Model();
    loadForTransfer(*target);
    // The editor is written back; no node may take it once the moved ones left.
    aFile->currentNode = nullptr;
    auto moved = takeNodes(*source, marked);
    source->changed = true;
    const int count = static_cast<int>(moved.size());
    MemoNode* next = source->at_(count < source->count_() ? count : source->count_() - 1);
    setCurMemoNode_(next ? next : source->makeNode_());
    changeHolder_(target);
    MemoNode* last = nullptr;
    for (auto& [name, node] : moved) {
        last = node.get();
        target->addNode_(std::move(node), name);
    }
    target->changed = true;
    setCurMemoNode_(last);
    return count;
}

int TFormMainScript::UISaveMarksEach() {
    if (refuse(Busy)) return kFailed;
    auto* holder = dynamic_cast<MemoHolderUI*>(getCurHolder());
    if (!holder || !holder->checkList() || holder->listMode() != ListMode::CheckList)
        return kFailed;
    UI2Model();
    const NodeList marked = markedNodes(*holder);
    int written = 0;
    int failed = 0;
    for (const auto& [name, node] : marked) {
        const std::string given = stripQuotes(node->fields.value("Filename"));
        if (given.empty()) continue;
        // A name beginning with "." lies beside the holder file, not in
        // whatever folder the program runs in.
        const std::string path = holderRelativePath(*node, given);
        if (node->saveBody_(path) < 0) {
            ++failed;
            addLog_("ERROR: could not write " + path + " in UISaveMarksEach");
            messageDoing_("ERROR: could not write " + path);
        } else {
            ++written;
        }
    }
    if (failed == 0) messageDoing_("Done: Save Each Over " + std::to_string(written));
    return written;
}

int TFormMainScript::UIMoveMarksToSelf() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    auto* holder = dynamic_cast<MemoHolderUI*>(getCurHolder());
    MemoNode* anchor = getCurMemoNode();
    if (!holder || !holder->checkList() || holder->listMode() != ListMode::CheckList ||
        holder->getSort_() || !anchor || holder->indexOf_(anchor) < 0)
        return kFailed;
    const NodeList marked = markedNodes(*holder);
    if (static_cast<int>(marked.size()) >= holder->count_()) return kFailed;
    int moved = 0;
    for (const auto& [name, node] : marked) {
        if (node == anchor) continue;
        const int from = holder->indexOf_(node);
        const int at = holder->indexOf_(anchor);
        // A line taken from above the anchor makes the anchor move up one.
        holder->moveLine_(from, from < at ? at : at + 1);
        anchor = node;
        ++moved;
    }
    holder->changed = true;
    return moved;
}

}  // namespace zel
