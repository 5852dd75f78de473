// The holder order commands (sorting, reversing and moving lines in every
// list mode) and the tree commands of the holder view: levels, children,
// indenting and new root nodes.

#include <algorithm>

#include <functional>

#include "app/commands/CommandNames.h"
#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/NodeOrderList.h"
#include "views/RenameRules.h"
#include "views/TFrameMemoNode.h"

namespace zel {

namespace {

enum class NodeMove { Top, Up, Down, Bottom };

MemoHolderUI* shownHolder(MemoHolder* holder) {
    auto* shown = dynamic_cast<MemoHolderUI*>(holder);
    return shown && shown->nodesControl_() ? shown : nullptr;
}

// The holder when it is shown as a tree; none otherwise.
MemoHolderUI* shownTree(MemoHolder* holder) {
    MemoHolderUI* shown = shownHolder(holder);
    return shown && shown->listMode() == ListMode::Tree ? shown : nullptr;
}

// The current holder shown as a tree; otherwise none, and the window says
// "Not TreeView".
MemoHolderUI* treeOrRefuse(TFormMainScript& window) {
    MemoHolderUI* holder = shownTree(window.getCurHolder());
    if (!holder) window.messageDoing_("Not TreeView");
    return holder;
}

NodeOrderList& orderOf(MemoHolderUI& holder) {
    return static_cast<NodeOrderList&>(*holder.nodes);
}

// The list lines put in name order (caption order of the list control).
void arrangeByName(MemoHolderUI& holder, bool ascending) {
    std::vector<std::pair<std::string, const TObjectNamed*>> named;
    for (int i = 0; i < holder.count_(); ++i) {
        MemoNode* node = holder.at_(i);
        named.emplace_back(holder.getNameChild_(node), node);
    }
    std::stable_sort(named.begin(), named.end(), [ascending](const auto& a, const auto& b) {
        const int order = compareText(a.first, b.first);
        return ascending ? order < 0 : order > 0;
    });
    std::vector<const TObjectNamed*> order;
    order.reserve(named.size());
    for (const auto& entry : named) order.push_back(entry.second);
    orderOf(holder).arrangeAs(order);
    // The holder's order is now the one to see, whatever column the view was sorted by.
    if (NodeListControl* list = holder.listControl()) list->showStoredOrder();
    holder.refreshControls_();
}

void sortEveryLevel(MemoHolderUI& holder, TreeItem* parent) {
    holder.sortChildren_(parent);
    const std::vector<TreeItem*> children = parent ? parent->children : holder.topLevelItems();
    for (TreeItem* child : children)
        if (!child->children.empty()) sortEveryLevel(holder, child);
}

// Check list and list: the line a move sends the line at `index` to.
int targetLine(NodeMove move, int index, int count) {
    switch (move) {
        case NodeMove::Top:
            return 0;
        case NodeMove::Up:
            return index - 1;
        case NodeMove::Down:
            return index + 1;
        case NodeMove::Bottom:
            return count - 1;
    }
    return index;
}

bool moveTreeLine(MemoHolderUI& holder, TreeItem* item, NodeMove move) {
    const std::vector<TreeItem*>& siblings = item->parent->children;
    const int row = item->row;
    const int last = static_cast<int>(siblings.size()) - 1;
    const bool upward = move == NodeMove::Top || move == NodeMove::Up;
    if ((upward && row == 0) || (!upward && row == last)) return false;
    switch (move) {
        case NodeMove::Top:
            holder.placeBefore_(item, siblings.front());
            break;
        case NodeMove::Up:
            holder.placeBefore_(item, siblings[static_cast<std::size_t>(row - 1)]);
            break;
        case NodeMove::Down:
            holder.placeAfter_(item, siblings[static_cast<std::size_t>(row + 1)]);
            break;
        case NodeMove::Bottom:
            holder.placeAfter_(item, siblings.back());
            break;
    }
    return true;
}

// The node order, the parent links and the fields are saved with the
// holder: a read-only holder keeps them as its file has them, so every
// command that changes them waits for no command and no read-only guard.
constexpr Guards kHolderEdit = Busy | UIReadOnly | HolderReadOnly;

int moveNode(TFormMainScript& window, NodeMove move) {
    if (window.refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = shownHolder(window.getCurHolder());
    if (!holder) return kFailed;
    const ListMode mode = holder->listMode();
    MemoNode* node = holder->getCurrent_();
    if (!node) return kFailed;
    bool moved = false;
    if (mode == ListMode::Tree) {
        TreeItem* item = holder->treeItemOf(node);
        if (!item) return kFailed;
        const bool wasExpanded = holder->isExpanded_(item);
        moved = moveTreeLine(*holder, item, move);
        if (wasExpanded) holder->setExpanded_(item, true);
    } else {
        const int index = holder->indexOf_(node);
        moved = holder->moveLine_(index, targetLine(move, index, holder->count_()));
        if (moved && mode == ListMode::List && move != NodeMove::Bottom) holder->refreshControls_();
    }
    if (!moved) return 0;
    holder->setCurrent_(node);
    holder->changed = true;
    return 1;
}

// The line shown right above `item`; none for the first line.
TreeItem* lineAbove(const MemoHolderUI& holder, const TreeItem* item) {
    NodeTreeModel* model = holder.treeModel();
    const QModelIndex line = model->indexOf(item);
    return line.isValid() ? model->itemAt(model->index(line.row() - 1, 0)) : nullptr;
}

// The stored parent link follows the line's new place. The fields box of the
// current node shows that link: it is written back before and shown again
// after, so that the next write of the editor keeps the new link.
void linkToParentLine(TFormMainScript& window, TreeItem* item) {
    NodeEditor* editor = window.nodeEditor();
    const bool shown = editor && window.getCurMemoNode() == item->node;
    if (shown) editor->writeFields(*item->node);
    if (item->isTopLevel())
        item->node->removeField_("ParentNodeID");
    else
        // The line already stands where it belongs; only the link is written.
        item->node->MemoNode::setParentNode_(*item->parent->node);
    if (shown) editor->showFields(*item->node);
}

std::string nameOf(const MemoHolderUI& holder, const TreeItem* item) {
    return holder.getNameChild_(item->node);
}

int listTopLevel(TFormMainScript& window, std::string_view doing, bool withChildCount) {
    if (window.refuse(Busy)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(window);
    if (!holder) return kFailed;
    CommandScope scope(window, doing);
    Lines lines;
    for (const TreeItem* item : holder->topLevelItems()) {
        std::string line = nameOf(*holder, item);
        if (withChildCount) line += " " + std::to_string(item->children.size());
        lines.push_back(std::move(line));
    }
    window.writeIntoSelection(lines, true);
    scope.endWith("Done count=" + std::to_string(lines.size()));
    return static_cast<int>(lines.size());
}

}  // namespace

// --- Holder order ----------------------------------------------------------------

int TFormMainScript::UISortMemoHolder() {
    if (refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = shownHolder(getCurHolder());
    if (!holder) return kFailed;
    const ListMode mode = holder->listMode();
    if (mode == ListMode::CheckList) {
        holder->setSort_(true);
        holder->nodes->keepOrder_();
        holder->refreshControls_();
    } else if (mode == ListMode::Tree) {
        sortEveryLevel(*holder, nullptr);
    } else if (mode == ListMode::List) {
        arrangeByName(*holder, true);
    } else {
        return kFailed;
    }
    holder->changed = true;
    messageDoing_("Done:UISortMemoHolder");
    return holder->count_();
}

int TFormMainScript::UIReverseMemoHolder() {
    if (refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = shownHolder(getCurHolder());
    if (!holder) return kFailed;
    const ListMode mode = holder->listMode();
    if (mode == ListMode::CheckList) {
        holder->setSort_(false);
        orderOf(*holder).reverseRange(0, static_cast<std::size_t>(holder->count_()));
        holder->refreshControls_();
    } else if (mode == ListMode::Tree) {
        holder->reverseChildren_(nullptr);
    } else if (mode == ListMode::List) {
        arrangeByName(*holder, false);
    } else {
        return kFailed;
    }
    holder->changed = true;
    messageDoing_(commands::UIReverseMemoHolder);
    return holder->count_();
}

int TFormMainScript::UIMoveNodeTop() {
    return moveNode(*this, NodeMove::Top);
}

int TFormMainScript::UIMoveNodeUp() {
    return moveNode(*this, NodeMove::Up);
}

int TFormMainScript::UIMoveNodeDown() {
    return moveNode(*this, NodeMove::Down);
}

int TFormMainScript::UIMoveNodeBottom() {
    return moveNode(*this, NodeMove::Bottom);
}

int TFormMainScript::UIIndentNode() {
    if (refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    TreeItem* item = holder->selectedTreeItem();
    TreeItem* above = item ? lineAbove(*holder, item) : nullptr;
    if (!above) return 0;
    const bool wasExpanded = holder->isExpanded_(item);
    if (above->level() == item->level())
        holder->moveTreeItem_(item, above, -1);
    else if (above->level() > item->level())
        holder->moveTreeItem_(item, above->parent, -1);
    else
        return 0;
    if (wasExpanded) holder->setExpanded_(item, true);
    linkToParentLine(*this, item);
    holder->setCurrent_(item->node);
    holder->changed = true;
    return 1;
}

int TFormMainScript::UIOutdentNode() {
    if (refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    TreeItem* item = holder->selectedTreeItem();
    if (!item || item->isTopLevel()) return 0;
    const bool wasExpanded = holder->isExpanded_(item);
    holder->placeAfter_(item, item->parent);
    if (wasExpanded) holder->setExpanded_(item, true);
    linkToParentLine(*this, item);
    holder->setCurrent_(item->node);
    holder->changed = true;
    return 1;
}

// --- Tree levels -----------------------------------------------------------------

int TFormMainScript::UIListLevel0() {
    return listTopLevel(*this, "List Level=0", false);
}

int TFormMainScript::UIListLevel0Plus() {
    return listTopLevel(*this, "List Level=0+", true);
}

int TFormMainScript::UIExpandAll() {
    if (refuse(Busy)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    CommandScope scope(*this, "Expand All");
    const std::vector<TreeItem*> topLevel = holder->topLevelItems();
    holder->treeModel()->setAllExpanded(true);
    return static_cast<int>(topLevel.size());
}

int TFormMainScript::UIUnexpand() {
    if (refuse(Busy)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    CommandScope scope(*this, "Unexpand");
    const std::vector<TreeItem*> topLevel = holder->topLevelItems();
    holder->treeModel()->setItemsExpanded(topLevel, false);
    return static_cast<int>(topLevel.size());
}

int TFormMainScript::UIUpdateLevel() {
    if (refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    CommandScope scope(*this, "Update Level");
    UI2Model();
    for (int i = 0; i < holder->count_(); ++i) {
        MemoNode* node = holder->at_(i);
        if (const TreeItem* item = holder->treeItemOf(node))
            node->putField_("Level", wrapQuotes(std::to_string(item->level())));
    }
    holder->changed = true;
    Model2UI();
    return holder->count_();
}

// --- Children of the selected line -------------------------------------------------

int TFormMainScript::UIListChild1() {
    if (refuse(Busy)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    const TreeItem* item = holder->selectedTreeItem();
    if (!item) return kFailed;
    Lines names;
    for (const TreeItem* child : item->children) names.push_back(nameOf(*holder, child));
    if (!names.empty()) writeIntoSelection(names, true);
    messageDoing_("Done:UIListChild1 count Of Child=" + std::to_string(names.size()));
    return static_cast<int>(names.size());
}

int TFormMainScript::UIListChild() {
    if (refuse(Busy)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    const TreeItem* item = holder->selectedTreeItem();
    if (!item) return kFailed;
    NodeList descendants;
    holder->listDescendants_(item, descendants);
    const int childLevel = item->level() + 1;
    Lines lines;
    for (const auto& [name, node] : descendants) {
        const int below = holder->treeItemOf(node)->level() - childLevel;
        lines.push_back(std::string(static_cast<std::size_t>(2 * below), ' ') + name);
    }
    if (!lines.empty()) writeIntoSelection(lines, true);
    messageDoing_("Done:UIListChild count Of Child=" + std::to_string(lines.size()));
    return static_cast<int>(lines.size());
}

namespace {

// Sorting and reversing one level of children: the same guards, refusal
// and report around the holder's reordering.
int reorderChildren1(TFormMainScript& window, void (MemoHolderUI::*reorder)(TreeItem*),
                     std::string_view command) {
    if (window.refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = shownTree(window.getCurHolder());
    if (!holder) {
        window.messageDoing_("Not TreeView in " + std::string(command));
        return kFailed;
    }
    TreeItem* item = holder->selectedTreeItem();
    if (!item) return kFailed;
    (holder->*reorder)(item);
    holder->changed = true;
    window.messageDoing_("Done:" + std::string(command) +
                         " count=" + std::to_string(item->children.size()));
    return static_cast<int>(item->children.size());
}

}  // namespace

int TFormMainScript::UISortChild1() {
    return reorderChildren1(*this, &MemoHolderUI::sortChildren_, commands::UISortChild1);
}

int TFormMainScript::UIReverseChild1() {
    return reorderChildren1(*this, &MemoHolderUI::reverseChildren_, commands::UIReverseChild1);
}

namespace {

// A change to each child of the selected line, with the guards, refusals
// and report the child commands share.
int changeChildren1(TFormMainScript& window, std::string_view command,
                    const std::function<void(MemoHolderUI&, const TreeItem&)>& change) {
    if (window.refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(window);
    if (!holder) return kFailed;
    const TreeItem* item = holder->selectedTreeItem();
    if (!item) return kFailed;
    if (item->children.empty()) {
        window.messageDoing_("No Child");
        return 0;
    }
    window.UI2Model();
    for (const TreeItem* child : item->children) change(*holder, *child);
    holder->changed = true;
    window.Model2UI();
    window.messageDoing_("Done:" + std::string(command) +
                         " count=" + std::to_string(item->children.size()));
    return static_cast<int>(item->children.size());
}

}  // namespace

int TFormMainScript::UIExtractFilenameChild1() {
    return changeChildren1(
        *this, commands::UIExtractFilenameChild1, [](MemoHolderUI& holder, const TreeItem& child) {
            holder.putNameChild_as_(child.node, fileNamePart(nameOf(holder, &child)));
        });
}

int TFormMainScript::UISetRelativepathChild1() {
    return changeChildren1(
        *this, commands::UISetRelativepathChild1, [](MemoHolderUI& holder, const TreeItem& child) {
            child.node->makeRelative_("Filename", std::string(folderOf(holderFilePath_(holder))));
        });
}

// --- New root nodes ---------------------------------------------------------------

int TFormMainScript::UINewRootNodeTV() {
    if (refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    CommandScope scope(*this, commands::UINewRootNodeTV);
    const std::vector<TreeItem*> formerTop = holder->topLevelItems();
    UI2Model();
    MemoNode* former = getCurMemoNode();
    aFile->currentNode = nullptr;
    MemoNode* root = holder->makeNode_();
    holder->moveTreeItem_(holder->treeItemOf(root), nullptr, 0);
    for (TreeItem* item : formerTop) item->node->setParentNode_(*root);
    holder->changed = true;
    setCurMemoNode_(former);
    scope.endWith("Done:UINewRootNodeTV count=" + std::to_string(formerTop.size()));
    return static_cast<int>(formerTop.size());
}

int TFormMainScript::UINewRootNode() {
    if (refuse(kHolderEdit)) return kFailed;
    MemoHolderUI* holder = treeOrRefuse(*this);
    if (!holder) return kFailed;
    TreeItem* item = holder->selectedTreeItem();
    if (!item) return kFailed;
    CommandScope scope(*this, commands::UINewRootNode);
    const std::vector<TreeItem*> formerChildren = item->children;
    UI2Model();
    MemoNode* former = getCurMemoNode();
    aFile->currentNode = nullptr;
    MemoNode* root = holder->makeNode_();
    holder->moveTreeItem_(holder->treeItemOf(root), item, 0);
    // The new node's link names the line it stands under, which is the current
    // node's line whenever the selection and the current node agree.
    root->setParentNode_(*item->node);
    for (TreeItem* child : formerChildren) child->node->setParentNode_(*root);
    holder->changed = true;
    setCurMemoNode_(former);
    scope.endWith("Done:UINewRootNode count=" + std::to_string(formerChildren.size()));
    return static_cast<int>(formerChildren.size());
}

}  // namespace zel
