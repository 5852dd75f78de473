#pragma once
// A holder shown in the holder view. Once shown, it lists its nodes in the
// control of its list mode - check list, tree or list - and answers every
// node-list operation through that control, so callers never ask which mode
// is in force. The holder's node list keeps owning the nodes, always in the
// order the control shows them (the tree's depth-first order).

#include <QCursor>
#include <QIcon>
#include <QPointer>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/MemoHolder.h"
#include "views/NodeControls.h"
#include "views/NodeRowModel.h"
#include "views/NodeTreeModel.h"

namespace zel {

class NodeOrderList;

// The list modes as the holder field ModeNodesMngr names them.
inline constexpr std::string_view kModeNodes = "Nodes";
inline constexpr std::string_view kModeCheckList = "CheckListBox";
inline constexpr std::string_view kModeTree = "TreeView";
inline constexpr std::string_view kModeList = "ListView";

// The list modes; Other for a name none of them has.
enum class ListMode { Nodes, CheckList, Tree, List, Other };
// The mode a ModeNodesMngr value names (unquoted; empty names Nodes).
ListMode listModeNamed(std::string_view value);
// The mode the holder's ModeNodesMngr field names, shown or not.
ListMode storedListMode(const MemoHolder& holder);

class MemoHolderUI : public MemoHolder {
  public:
    explicit MemoHolderUI(TObjectNamed* owner = nullptr);
    ~MemoHolderUI() override;

    const char* className() const override { return "MemoHolderUI"; }
    // Also destroys the controls and the icons and detaches the holder.
    int clear_() override;
    std::unique_ptr<TObjectNamed> deepCopy() const override { return copyAs<MemoHolderUI>(); }
    std::string getNameChild_(const TObjectNamed* child) const override;
    std::string putNameChild_as_(TObjectNamed* child, std::string_view wantedName) override;
    // After the rename the tabs of the memo file follow.
    std::string putName_as_(std::string_view wantedName) override;

    std::unique_ptr<MemoNode> newNode_() override;
    std::string uniqueNodeName_(std::string_view wanted) const override;
    int count_() const override;
    int countMarked_() const override;
    NodeList& collectMarked_(NodeList& list) const override;
    NodeList& setNodeList_(NodeList& list) const override;
    int indexOf_(const MemoNode* node) const override;
    MemoNode* previous_(const MemoNode* node) const override;
    MemoNode* next_(const MemoNode* node) const override;
    MemoNode* first_() const override;
    MemoNode* last_() const override;
    MemoNode* at_(int index) const override;
    MemoNode* byName_(std::string_view name) const override;
    std::unique_ptr<MemoNode> removeNode_(MemoNode* node, int* formerIndex = nullptr) override;
    // Takes the nodes `leaving` out of the holder at once: each with its
    // name, in the holder's order. Outside a tree this is one pass over the
    // holder and one reset of its lines, however many nodes leave.
    std::vector<std::pair<std::string, std::unique_ptr<MemoNode>>> takeNodes_(
        const std::vector<MemoNode*>& leaving);
    // Check list and list: appends; tree: the last sibling of the current
    // node's line. Yields the new line's index.
    int addNode_(std::unique_ptr<MemoNode> node, std::string_view name) override;
    // Tree: ignores `index` and places the node right after the current one.
    int insertNode_(std::unique_ptr<MemoNode> node, std::string_view name, int index) override;
    MemoNode* getCurrent_() const override;
    int setCurrent_(MemoNode* node) override;
    void setColor_(std::uint32_t colour) override;

    // The mode in force: ModeNodesMngr unquoted ("Nodes" when empty), or
    // "Nodes" while the holder has not been shown.
    std::string modeInForce_() const;
    ListMode listMode() const;

    // Switch the list mode; a new control gets `panel` as parent. Each
    // returns the control of the new mode.
    NodeCheckList* changeCheckListBox_(QWidget* panel);
    NodeTreeView* changeTreeView_(QWidget* panel);
    NodeListControl* changeListView_(QWidget* panel);
    void showNodesControl_();
    void hideNodesControl_();
    // The control of the mode in force; none in "Nodes" mode.
    QWidget* nodesControl_() const;
    void mouseCursor_(const QCursor& cursor);

    // Icons from icon nodes: the number of icons, 0 without icon nodes, -1
    // when they are not numbered 0, 1, 2 ... without gaps.
    int loadIcons_();
    void applyIcons_();
    QIcon iconAt(int image) const;
    QIcon itemIcon(const MemoNode& node) const;

    // Nests the tree lines by ParentNodeID.
    void TV_after();
    // The text of "Save As CSV"; the number of lines after the heading, -1
    // for an unknown mode.
    int exportLines_(std::vector<std::string>& lines);
    // A copy of `node` placed beside the current node.
    MemoNode* addCopyOfNode_(MemoNode& node);
    void closeNodeWindows_();

    // Tree helpers. Items are the tree's lines; none outside tree mode.
    TreeItem* treeItemOf(const MemoNode* node) const;
    TreeItem* selectedTreeItem() const;
    // The top-level items in order.
    std::vector<TreeItem*> topLevelItems() const;
    // Moves `item` (with its children) to stand right after `reference`, at
    // its level.
    void placeAfter_(TreeItem* item, TreeItem* reference);
    // Moves `item` to stand right before `reference`, as its previous sibling.
    void placeBefore_(TreeItem* item, TreeItem* reference);
    // Makes `item` the child number `row` of `parent` (none: the top level;
    // -1: the last child).
    bool moveTreeItem_(TreeItem* item, TreeItem* parent, int row);
    // Appends (name, node) of every descendant of `item` in display order.
    void listDescendants_(const TreeItem* item, NodeList& list) const;
    TreeItem* prevSameLevel_(const TreeItem* item) const;
    TreeItem* nextSameLevel_(const TreeItem* item) const;
    // `item` none reverses or sorts the top level.
    void reverseChildren_(TreeItem* item);
    void sortChildren_(TreeItem* item);
    bool isExpanded_(const TreeItem* item) const;
    void setExpanded_(TreeItem* item, bool expanded);

    // Check list and list: the line at `from` moves to `to` (clamped into
    // the list); false when nothing moved.
    bool moveLine_(int from, int to);

    // Report columns of the list control (the first is the node name).
    void setReportColumns_(std::vector<ReportColumn> columns);
    const std::vector<ReportColumn>& reportColumns_() const;

    // Tells the control of the mode in force that a node's text or mark
    // changed, or that the whole list did (after changes made past the holder).
    void nodeChanged_(const MemoNode* node);
    void refreshControls_();

    NodeCheckList* checkList() const { return aUICLB; }
    NodeTreeView* treeView() const { return aUITV; }
    NodeListControl* listControl() const { return aUILV; }
    NodeRowModel* checkListModel() const { return checkModel_.get(); }
    NodeTreeModel* treeModel() const { return treeModel_.get(); }
    NodeRowModel* listModel() const { return listModel_.get(); }

    bool attached = false;

  private:
    // A control mode whose control does not exist lists nothing.
    bool listsNothing() const;
    NodeOrderList& order() const;
    MemoNode* baseAt(std::size_t index) const;
    int enterNode(std::unique_ptr<MemoNode> node, std::string_view name, int index);
    int enterInTree(std::unique_ptr<MemoNode> node, std::string_view name, TreeItem* parent,
                    int row);
    std::unique_ptr<MemoNode> takeOutOfList(MemoNode* node);
    void applyIconRule(const MemoNode& node);
    // Refills the tree, one top-level line per node, and nests it.
    void refillTree();
    // Nests nodes given in display order with their parents, and shows them.
    void nestAndBuild(const std::vector<MemoNode*>& flat, const std::vector<int>& parentOf);
    // The node order follows the tree's display order.
    void followTreeOrder();
    void followOrder(const std::vector<MemoNode*>& flat);
    void activateRows(NodeRowModel* active);
    void colourControl(QWidget* control) const;
    std::string iconNumberFor(const std::string& label) const;
    int imageIndexFor(const MemoNode& node, int current) const;
    void selectLine(MemoNode* node);

    QPointer<NodeCheckList> aUICLB;
    QPointer<NodeTreeView> aUITV;
    QPointer<NodeListControl> aUILV;
    std::unique_ptr<NodeRowModel> checkModel_;
    std::unique_ptr<NodeTreeModel> treeModel_;
    std::unique_ptr<NodeRowModel> listModel_;
    // The icon map: "label=number" (or the number while loading) per icon node.
    std::unique_ptr<std::vector<std::pair<std::string, MemoNode*>>> iconMap_;
    std::unique_ptr<std::vector<QIcon>> imageList_;
    bool iconsInUse_ = false;
    // Image index of each list line given by the icon rule.
    std::unordered_map<const MemoNode*, int> listImages_;
};

}  // namespace zel
