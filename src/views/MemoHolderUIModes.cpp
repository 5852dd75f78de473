// Switching a holder between its list modes, and nesting the tree.

#include <QHeaderView>
#include <algorithm>
#include <unordered_map>

#include "object/Report.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/NodeOrderList.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kNewTreeSide = 5;

// Redrawing stays off while the tree is refilled, also when the switch stops early.
class RedrawPause {
  public:
    explicit RedrawPause(QWidget* widget) : widget_(widget) { widget_->setUpdatesEnabled(false); }
    ~RedrawPause() { widget_->setUpdatesEnabled(true); }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

  private:
    QWidget* widget_;
};

// The tree while it is being nested: positions in display order, parents
// and subtree sizes, by the item's number in the order the walk began with.
struct NestingState {
    std::vector<MemoNode*> node;
    std::vector<int> order;  // position -> item
    std::vector<int> position;
    std::vector<int> parent;
    std::vector<int> size;

    NestingState(const std::vector<MemoNode*>& nodes, const std::vector<int>& parentOf)
        : node(nodes),
          order(nodes.size()),
          position(nodes.size()),
          parent(parentOf),
          size(nodes.size(), 1) {
        for (std::size_t i = 0; i < nodes.size(); ++i) order[i] = position[i] = static_cast<int>(i);
        for (std::size_t i = nodes.size(); i-- > 0;)
            if (parent[i] >= 0) size[static_cast<std::size_t>(parent[i])] += size[i];
    }

    bool isWithin(int item, int top) const {
        for (int at = item; at >= 0; at = parent[static_cast<std::size_t>(at)])
            if (at == top) return true;
        return false;
    }

    void addToAncestors(int from, int delta) {
        for (int at = from; at >= 0; at = parent[static_cast<std::size_t>(at)])
            size[static_cast<std::size_t>(at)] += delta;
    }

    // The item with its subtree becomes the last child of `target`.
    void moveUnder(int item, int target) {
        const auto i = static_cast<std::size_t>(item);
        const int begin = position[i];
        const int length = size[i];
        const int end =
            position[static_cast<std::size_t>(target)] + size[static_cast<std::size_t>(target)];
        auto at = [this](int p) { return order.begin() + p; };
        int low = begin, high = begin + length;
        if (end > begin + length) {
            std::rotate(at(begin), at(begin + length), at(end));
            high = end;
        } else if (end < begin) {
            std::rotate(at(end), at(begin), at(begin + length));
            low = end;
        }
        for (int p = low; p < high; ++p)
            position[static_cast<std::size_t>(order[static_cast<std::size_t>(p)])] = p;
        addToAncestors(parent[i], -length);
        parent[i] = target;
        addToAncestors(target, length);
    }
};

}  // namespace

void MemoHolderUI::activateRows(NodeRowModel* active) {
    checkModel_->setActive(active == checkModel_.get());
    listModel_->setActive(active == listModel_.get());
    treeModel_->clearItems();
    listImages_.clear();
}

void MemoHolderUI::colourControl(QWidget* control) const {
    if (!control) return;
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, toQColor(getColor_()));
    control->setPalette(palette);
    for (QWidget* child : control->findChildren<QAbstractItemView*>()) child->setPalette(palette);
}

NodeCheckList* MemoHolderUI::changeCheckListBox_(QWidget* panel) {
    if (!aUICLB) {
        aUICLB = new NodeCheckList(panel, false);
        aUICLB->setModel(checkModel_.get());
    }
    const ListMode from = listMode();
    attached = true;
    switch (from) {
        case ListMode::Tree:
            if (!aUITV) return aUICLB;
            activateRows(checkModel_.get());
            break;
        case ListMode::List:
            if (!aUILV) return aUICLB;
            activateRows(checkModel_.get());
            break;
        default:
            if (!checkModel_->isActive()) activateRows(checkModel_.get());
            break;
    }
    putField_("ModeNodesMngr", "\"CheckListBox\"");
    colourControl(aUICLB);
    return aUICLB;
}

NodeTreeView* MemoHolderUI::changeTreeView_(QWidget* panel) {
    if (!aUITV) {
        aUITV = new NodeTreeView(panel);
        aUITV->resize(kNewTreeSide, kNewTreeSide);
        aUITV->setModel(treeModel_.get());
    }
    const ListMode from = listMode();
    attached = true;
    RedrawPause paused(aUITV);
    if ((from == ListMode::CheckList && !aUICLB) || (from == ListMode::List && !aUILV))
        return aUITV;
    const bool keep = from == ListMode::Tree || from == ListMode::Other;
    if (!keep || treeModel_->itemCount() != nodes->childCount()) {
        activateRows(nullptr);
        refillTree();
    }
    putField_("ModeNodesMngr", "\"TreeView\"");
    colourControl(aUITV);
    loadIcons_();
    applyIcons_();
    return aUITV;
}

NodeListControl* MemoHolderUI::changeListView_(QWidget* panel) {
    if (!aUILV) {
        aUILV = new NodeListControl(panel);
        aUILV->setNodeModel(listModel_.get());
    }
    const ListMode from = listMode();
    attached = true;
    switch (from) {
        case ListMode::CheckList:
            if (!aUICLB) return aUILV;
            activateRows(listModel_.get());
            break;
        case ListMode::Tree:
            // The hierarchy flattens; the parent links stay in the fields.
            if (!aUITV) return aUILV;
            activateRows(listModel_.get());
            break;
        default:
            if (!listModel_->isActive()) activateRows(listModel_.get());
            break;
    }
    putField_("ModeNodesMngr", "\"ListView\"");
    colourControl(aUILV);
    loadIcons_();
    applyIcons_();
    return aUILV;
}

QWidget* MemoHolderUI::nodesControl_() const {
    switch (listMode()) {
        case ListMode::CheckList:
            return aUICLB;
        case ListMode::Tree:
            return aUITV;
        case ListMode::List:
            return aUILV;
        default:
            return nullptr;
    }
}

void MemoHolderUI::showNodesControl_() {
    if (QWidget* control = nodesControl_()) {
        control->setEnabled(true);
        control->setVisible(true);
    }
}

void MemoHolderUI::hideNodesControl_() {
    if (QWidget* control = nodesControl_()) {
        control->setEnabled(false);
        control->setVisible(false);
    }
}

void MemoHolderUI::mouseCursor_(const QCursor& cursor) {
    if (listMode() == ListMode::List && !aUILV) {
        report("ERROR: MemoHolderUI.mouseCursor_");
        return;
    }
    if (QWidget* control = nodesControl_()) control->setCursor(cursor);
}

void MemoHolderUI::refillTree() {
    std::vector<MemoNode*> flat;
    flat.reserve(nodes->childCount());
    for (std::size_t i = 0; i < nodes->childCount(); ++i) flat.push_back(baseAt(i));
    const std::vector<int> topLevel(flat.size(), -1);
    nestAndBuild(flat, topLevel);
}

void MemoHolderUI::TV_after() {
    if (!aUITV) {
        report("ERROR: aTV=nil in MemoHolderUI._TV_after");
        return;
    }
    std::vector<MemoNode*> flat;
    std::vector<int> parentOf;
    treeModel_->flatten(flat, parentOf);
    nestAndBuild(flat, parentOf);
}

void MemoHolderUI::nestAndBuild(const std::vector<MemoNode*>& flat,
                                const std::vector<int>& parentOf) {
    NestingState tree(flat, parentOf);
    std::unordered_map<std::string, int> byUID;
    bool mapBuilt = false;
    const std::size_t count = flat.size();
    // Positions are read from the order as it stands at each step: a child
    // met before its parent moves away and the line after it is passed over.
    for (std::size_t p = 0; p < count; ++p) {
        const int item = tree.order[p];
        const std::string parentId =
            stripQuotes(tree.node[static_cast<std::size_t>(item)]->getField_("ParentNodeID"));
        if (parentId.empty()) continue;
        if (!mapBuilt) {
            byUID.reserve(count);
            for (std::size_t q = 0; q < count; ++q) {
                const int at = tree.order[q];
                std::string uid =
                    stripQuotes(tree.node[static_cast<std::size_t>(at)]->getField_("UID"));
                if (!uid.empty()) byUID.emplace(lowerText(uid), at);
            }
            mapBuilt = true;
        }
        auto found = byUID.find(lowerText(parentId));
        if (found == byUID.end() || tree.isWithin(found->second, item)) continue;
        tree.moveUnder(item, found->second);
    }
    std::vector<MemoNode*> ordered(count);
    std::vector<int> parents(count);
    for (std::size_t p = 0; p < count; ++p) {
        const auto item = static_cast<std::size_t>(tree.order[p]);
        ordered[p] = tree.node[item];
        parents[p] =
            tree.parent[item] < 0 ? -1 : tree.position[static_cast<std::size_t>(tree.parent[item])];
    }
    treeModel_->rebuild(ordered, parents);
    followOrder(ordered);
}

void MemoHolderUI::followOrder(const std::vector<MemoNode*>& flat) {
    // A tree stored in display order nests without moving anything.
    bool same = flat.size() == nodes->childCount();
    for (std::size_t i = 0; same && i < flat.size(); ++i) same = flat[i] == baseAt(i);
    if (same) return;
    order().arrangeAs(std::vector<const TObjectNamed*>(flat.begin(), flat.end()));
}

void MemoHolderUI::followTreeOrder() {
    std::vector<MemoNode*> flat;
    std::vector<int> parentOf;
    treeModel_->flatten(flat, parentOf);
    followOrder(flat);
}

}  // namespace zel
