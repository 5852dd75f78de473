// The node-list operations of a shown holder, answered for the mode in force.

#include "views/MemoHolderUI.h"

#include <algorithm>
#include <unordered_set>

#include "model/MemoFile.h"
#include "object/Report.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/HolderTabs.h"
#include "views/MemoNodeUI.h"
#include "views/NodeOrderList.h"

namespace zel {

MemoHolderUI::MemoHolderUI(TObjectNamed* owner_)
    : MemoHolder(owner_),
      checkModel_(std::make_unique<NodeRowModel>(*this, NodeRowModel::Kind::CheckList)),
      treeModel_(std::make_unique<NodeTreeModel>(*this)),
      listModel_(std::make_unique<NodeRowModel>(*this, NodeRowModel::Kind::List)) {
    nodes = std::make_unique<NodeOrderList>(this);
}

MemoHolderUI::~MemoHolderUI() {
    // The controls go first: they still read the nodes while they are torn down.
    delete aUICLB.data();
    delete aUITV.data();
    delete aUILV.data();
}

int MemoHolderUI::clear_() {
    delete aUICLB.data();
    delete aUITV.data();
    delete aUILV.data();
    checkModel_->setActive(false);
    listModel_->setActive(false);
    listModel_->setColumns({});
    treeModel_->clearItems();
    iconMap_.reset();
    imageList_.reset();
    iconsInUse_ = false;
    listImages_.clear();
    attached = false;
    return MemoHolder::clear_();
}

NodeOrderList& MemoHolderUI::order() const {
    return static_cast<NodeOrderList&>(*nodes);
}

MemoNode* MemoHolderUI::baseAt(std::size_t index) const {
    return static_cast<MemoNode*>(nodes->childAt(index));
}

ListMode listModeNamed(std::string_view value) {
    if (value.empty() || value == kModeNodes) return ListMode::Nodes;
    if (value == kModeCheckList) return ListMode::CheckList;
    if (value == kModeTree) return ListMode::Tree;
    if (value == kModeList) return ListMode::List;
    return ListMode::Other;
}

ListMode storedListMode(const MemoHolder& holder) {
    return listModeNamed(stripQuotes(holder.getField_("ModeNodesMngr")));
}

ListMode MemoHolderUI::listMode() const {
    return attached ? storedListMode(*this) : ListMode::Nodes;
}

std::string MemoHolderUI::modeInForce_() const {
    if (!attached) return std::string(kModeNodes);
    const std::string value = stripQuotes(getField_("ModeNodesMngr"));
    return value.empty() ? std::string(kModeNodes) : value;
}

bool MemoHolderUI::listsNothing() const {
    switch (listMode()) {
        case ListMode::CheckList:
            return !aUICLB;
        case ListMode::Tree:
            return !aUITV;
        case ListMode::List:
            return !aUILV;
        default:
            return false;
    }
}

std::string MemoHolderUI::getNameChild_(const TObjectNamed* child) const {
    if (attached && nodes->indexOfChild(child) < 0) {
        report("ERROR: MemoHolderUI.getNameChild_ Holder:=" + getName_());
        return {};
    }
    return MemoHolder::getNameChild_(child);
}

std::string MemoHolderUI::putNameChild_as_(TObjectNamed* child, std::string_view wantedName) {
    switch (listMode()) {
        case ListMode::CheckList: {
            std::string given = order().TObjectParentEX::putNameChild_as_(child, wantedName);
            if (getSort_()) {
                // The sorted list may have moved the line anywhere.
                checkModel_->refreshAll();
                selectLine(getCurrent_());
            } else {
                nodeChanged_(static_cast<MemoNode*>(child));
            }
            return given;
        }
        case ListMode::Tree:
        case ListMode::List: {
            // The tree's order is its nesting, the list's its lines: no re-sort.
            std::string given = order().TObjectParent::putNameChild_as_(child, wantedName);
            nodeChanged_(static_cast<MemoNode*>(child));
            return given;
        }
        default:
            return MemoHolder::putNameChild_as_(child, wantedName);
    }
}

std::string MemoHolderUI::putName_as_(std::string_view wantedName) {
    std::string given = MemoHolder::putName_as_(wantedName);
    if (MemoFile* file = getMemoFile_(); file && file->getDisplayMode_() == "\"TabControl\"")
        HolderTabs::refreshTabsOf(*file);
    return given;
}

std::unique_ptr<MemoNode> MemoHolderUI::newNode_() {
    return std::make_unique<MemoNodeUI>(this);
}

std::string MemoHolderUI::uniqueNodeName_(std::string_view wanted) const {
    switch (listMode()) {
        case ListMode::Tree:
        case ListMode::List:
            return std::string(wanted);
        default:
            return MemoHolder::uniqueNodeName_(wanted);
    }
}

int MemoHolderUI::count_() const {
    return listsNothing() ? 0 : MemoHolder::count_();
}

int MemoHolderUI::countMarked_() const {
    return listsNothing() ? 0 : MemoHolder::countMarked_();
}

NodeList& MemoHolderUI::collectMarked_(NodeList& list) const {
    return listsNothing() ? list : MemoHolder::collectMarked_(list);
}

NodeList& MemoHolderUI::setNodeList_(NodeList& list) const {
    if (listMode() == ListMode::CheckList && !aUICLB) {
        report("ERROR in MemoHolderUI.setNodeList_");
        return list;
    }
    return listsNothing() ? list : MemoHolder::setNodeList_(list);
}

int MemoHolderUI::indexOf_(const MemoNode* node) const {
    return listsNothing() ? -1 : MemoHolder::indexOf_(node);
}

MemoNode* MemoHolderUI::previous_(const MemoNode* node) const {
    return listsNothing() ? nullptr : MemoHolder::previous_(node);
}

MemoNode* MemoHolderUI::next_(const MemoNode* node) const {
    return listsNothing() ? nullptr : MemoHolder::next_(node);
}

MemoNode* MemoHolderUI::first_() const {
    return listsNothing() ? nullptr : MemoHolder::first_();
}

MemoNode* MemoHolderUI::last_() const {
    return listsNothing() ? nullptr : MemoHolder::last_();
}

MemoNode* MemoHolderUI::at_(int index) const {
    return listsNothing() ? nullptr : MemoHolder::at_(index);
}

MemoNode* MemoHolderUI::byName_(std::string_view name) const {
    if (listsNothing()) return nullptr;
    const ListMode current = listMode();
    MemoNode* found = MemoHolder::byName_(name);
    // The check list finds names regardless of letter case, the tree and the
    // list only exactly.
    if (current != ListMode::Tree && current != ListMode::List) return found;
    if (!found || getNameChild_(found) == name) return found;
    for (std::size_t i = 0; i < nodes->childCount(); ++i)
        if (nodes->nameAt(i) == name) return baseAt(i);
    return nullptr;
}

std::unique_ptr<MemoNode> MemoHolderUI::takeOutOfList(MemoNode* node) {
    // In a control mode the caller picks the next current node; only a
    // current node that leaves is forgotten.
    MemoNode* kept = currentNode == node ? nullptr : currentNode;
    auto taken = MemoHolder::removeNode_(node);
    currentNode = kept;
    return taken;
}

std::unique_ptr<MemoNode> MemoHolderUI::removeNode_(MemoNode* node, int* formerIndex) {
    if (formerIndex) *formerIndex = -1;
    const ListMode current = listMode();
    if (current == ListMode::Nodes || current == ListMode::Other)
        return MemoHolder::removeNode_(node, formerIndex);
    const int index = indexOf_(node);
    if (index < 0) return nullptr;
    if (formerIndex) *formerIndex = index;
    if (current == ListMode::Tree) {
        TreeItem* item = treeModel_->itemOf(node);
        if (!item) return nullptr;
        // The children take the node's place, and their stored parent follows.
        for (TreeItem* child : item->children) {
            if (item->isTopLevel())
                child->node->removeField_("ParentNodeID");
            else
                child->node->MemoNode::setParentNode_(*item->parent->node);
        }
        treeModel_->removeItem(item);
        return takeOutOfList(node);
    }
    NodeRowModel* model = current == ListMode::CheckList ? checkModel_.get() : listModel_.get();
    model->beginRemove(index);
    auto taken = takeOutOfList(node);
    listImages_.erase(node);
    model->endRemove();
    return taken;
}

std::vector<std::pair<std::string, std::unique_ptr<MemoNode>>> MemoHolderUI::takeNodes_(
    const std::vector<MemoNode*>& leaving) {
    std::vector<std::pair<std::string, std::unique_ptr<MemoNode>>> taken;
    const ListMode current = listMode();
    if (current == ListMode::Tree) {
        // Children take a leaving node's place one node at a time.
        for (MemoNode* node : leaving) {
            std::string name = getNameChild_(node);
            if (auto out = removeNode_(node)) taken.emplace_back(std::move(name), std::move(out));
        }
        return taken;
    }
    const std::unordered_set<const TObjectNamed*> out(leaving.begin(), leaving.end());
    std::vector<const TObjectNamed*> kept;
    kept.reserve(nodes->childCount());
    for (std::size_t i = 0; i < nodes->childCount(); ++i)
        if (!out.contains(nodes->childAt(i))) kept.push_back(nodes->childAt(i));
    NodeRowModel* model = current == ListMode::CheckList ? checkModel_.get()
                          : current == ListMode::List    ? listModel_.get()
                                                         : nullptr;
    if (model && !model->isActive()) model = nullptr;
    if (model) model->beginReset();
    MemoNode* keptCurrent = out.contains(currentNode) ? nullptr : currentNode;
    // The leaving nodes go to the end in their order, where taking one out
    // moves no other entry.
    order().arrangeAs(kept);
    while (nodes->childCount() > kept.size()) {
        const std::size_t last = nodes->childCount() - 1;
        auto* node = static_cast<MemoNode*>(nodes->childAt(last));
        std::string name = nodes->nameAt(last);
        listImages_.erase(node);
        taken.emplace_back(std::move(name), MemoHolder::removeNode_(node));
    }
    std::reverse(taken.begin(), taken.end());
    currentNode = keptCurrent;
    if (model) model->endReset();
    return taken;
}

int MemoHolderUI::enterNode(std::unique_ptr<MemoNode> node, std::string_view name, int index) {
    const int count = static_cast<int>(nodes->childCount());
    if (index < 0 || index > count) index = count;
    MemoNode* entered = node.get();
    NodeRowModel* model = listMode() == ListMode::CheckList ? checkModel_.get()
                          : listMode() == ListMode::List    ? listModel_.get()
                                                            : nullptr;
    if (model && !model->isActive()) model = nullptr;
    if (model) model->beginInsert(index);
    MemoHolder::insertNode_(std::move(node), name, index);
    if (model) model->endInsert();
    if (listMode() == ListMode::List) applyIconRule(*entered);
    return index;
}

int MemoHolderUI::addNode_(std::unique_ptr<MemoNode> node, std::string_view name) {
    if (!node) return -1;
    const ListMode current = listMode();
    if (current == ListMode::Nodes || current == ListMode::Other)
        return MemoHolder::addNode_(std::move(node), name);
    if (listsNothing()) {
        // Without its control the holder still keeps the node rather than lose it.
        enterNode(std::move(node), name, -1);
        return 0;
    }
    if (current == ListMode::Tree) {
        TreeItem* beside = treeModel_->itemOf(getCurrent_());
        TreeItem* parent = beside ? beside->parent : &treeModel_->root();
        return enterInTree(std::move(node), name, parent,
                           static_cast<int>(parent->children.size()));
    }
    return enterNode(std::move(node), name, -1);
}

int MemoHolderUI::insertNode_(std::unique_ptr<MemoNode> node, std::string_view name, int index) {
    if (!node) return -1;
    const ListMode current = listMode();
    if (current == ListMode::Nodes || current == ListMode::Other)
        return MemoHolder::insertNode_(std::move(node), name, index);
    if (listsNothing()) {
        enterNode(std::move(node), name, index);
        return -1;
    }
    if (current == ListMode::Tree) {
        TreeItem* beside = treeModel_->itemOf(getCurrent_());
        TreeItem& root = treeModel_->root();
        if (beside)
            enterInTree(std::move(node), name, beside->parent, beside->row + 1);
        else
            enterInTree(std::move(node), name, &root, static_cast<int>(root.children.size()));
        return 0;
    }
    enterNode(std::move(node), name, index);
    return 0;
}

int MemoHolderUI::enterInTree(std::unique_ptr<MemoNode> node, std::string_view name,
                              TreeItem* parent, int row) {
    // In display order the new line follows its previous sibling's subtree,
    // or its parent when it becomes the first child.
    int position = 0;
    if (row > 0) {
        const TreeItem* previous = parent->children[static_cast<std::size_t>(row - 1)];
        position = MemoHolder::indexOf_(previous->node) + previous->size;
    } else if (!parent->isRoot()) {
        position = MemoHolder::indexOf_(parent->node) + 1;
    }
    MemoNode* entered = node.get();
    MemoHolder::insertNode_(std::move(node), name, position);
    TreeItem* item = treeModel_->insertItem(entered, parent, row);
    if (aUITV) {
        treeModel_->reveal(item);
        aUITV->setCurrentIndex(treeModel_->indexOf(item));
    }
    // The stored parent link follows the place the line was given (the
    // line itself stays there, not at the end of its siblings).
    if (parent->isRoot())
        entered->removeField_("ParentNodeID");
    else
        entered->MemoNode::setParentNode_(*parent->node);
    applyIconRule(*entered);
    return MemoHolder::indexOf_(entered);
}

MemoNode* MemoHolderUI::getCurrent_() const {
    switch (listMode()) {
        case ListMode::CheckList:
            if (!aUICLB) return nullptr;
            if (auto rows = aUICLB->selectionModel()->selectedRows(); !rows.isEmpty())
                return checkModel_->nodeAt(rows.first().row());
            return currentNode;
        case ListMode::Tree:
            if (!aUITV) return nullptr;
            if (TreeItem* item = selectedTreeItem()) return item->node;
            return currentNode;
        case ListMode::List:
            if (!aUILV) return nullptr;
            if (int row = aUILV->selectedRow(); row >= 0) return listModel_->nodeAt(row);
            return currentNode;
        default:
            return MemoHolder::getCurrent_();
    }
}

int MemoHolderUI::setCurrent_(MemoNode* node) {
    const int index = MemoHolder::setCurrent_(node);
    selectLine(node);
    return index;
}

void MemoHolderUI::selectLine(MemoNode* node) {
    switch (listMode()) {
        case ListMode::CheckList: {
            if (!aUICLB) return;
            QModelIndex line = checkModel_->index(MemoHolder::indexOf_(node), 0);
            aUICLB->setCurrentIndex(line);
            if (line.isValid()) aUICLB->scrollTo(line);
            return;
        }
        case ListMode::Tree: {
            if (!aUITV) return;
            TreeItem* item = treeModel_->itemOf(node);
            // A node chosen under a closed item is shown by opening its ancestors.
            treeModel_->reveal(item);
            QModelIndex line = treeModel_->indexOf(item);
            aUITV->setCurrentIndex(line);
            if (line.isValid()) aUITV->scrollTo(line);
            return;
        }
        case ListMode::List:
            if (aUILV) aUILV->selectRow(MemoHolder::indexOf_(node));
            return;
        default:
            return;
    }
}

void MemoHolderUI::setColor_(std::uint32_t colour) {
    MemoHolder::setColor_(colour);
    colourControl(nodesControl_());
}

void MemoHolderUI::nodeChanged_(const MemoNode* node) {
    switch (listMode()) {
        case ListMode::CheckList:
            checkModel_->rowChanged(MemoHolder::indexOf_(node));
            return;
        case ListMode::Tree:
            treeModel_->itemChanged(treeModel_->itemOf(node));
            return;
        case ListMode::List:
            listModel_->rowChanged(MemoHolder::indexOf_(node));
            return;
        default:
            return;
    }
}

void MemoHolderUI::refreshControls_() {
    switch (listMode()) {
        case ListMode::CheckList:
            checkModel_->refreshAll();
            break;
        case ListMode::Tree:
            refillTree();
            break;
        case ListMode::List:
            listModel_->refreshAll();
            break;
        default:
            return;
    }
    selectLine(currentNode);
}

MemoNode* MemoHolderUI::addCopyOfNode_(MemoNode& node) {
    std::unique_ptr<MemoNode> copy = newNode_();
    copy->copyFrom_(node);
    MemoNode* made = copy.get();
    const std::string name = node.getName_();
    if (MemoNode* current = getCurrent_()) {
        const int index = indexOf_(current);
        insertNode_(std::move(copy), name, index < 0 ? count_() : index);
    } else {
        addNode_(std::move(copy), name);
    }
    changed = true;
    if (!made->getField_("UID").empty()) made->newUID_();
    return made;
}

void MemoHolderUI::closeNodeWindows_() {
    for (std::size_t i = 0; i < nodes->childCount(); ++i)
        if (auto* node = dynamic_cast<MemoNodeUI*>(baseAt(i)); node && node->nodeWindow)
            node->nodeWindow->close();
}

bool MemoHolderUI::moveLine_(int from, int to) {
    const ListMode current = listMode();
    NodeRowModel* model = current == ListMode::CheckList ? checkModel_.get()
                          : current == ListMode::List    ? listModel_.get()
                                                         : nullptr;
    const int count = static_cast<int>(nodes->childCount());
    if (!model || !model->isActive() || from < 0 || from >= count) return false;
    to = std::clamp(to, 0, count - 1);
    if (from == to) return false;
    // A line moved in the holder's order is seen moving only in that order.
    if (current == ListMode::List && aUILV) aUILV->showStoredOrder();
    if (!model->beginMove(from, to)) return false;
    order().moveChildTo_(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    model->endMove();
    return true;
}

void MemoHolderUI::setReportColumns_(std::vector<ReportColumn> columns) {
    listModel_->setColumns(std::move(columns));
    if (aUILV) aUILV->applyColumnWidths();
    selectLine(currentNode);
}

const std::vector<ReportColumn>& MemoHolderUI::reportColumns_() const {
    return listModel_->columns();
}

}  // namespace zel
