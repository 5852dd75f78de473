#pragma once
// The holder frame: the list control of the shown holder with a position
// display under it, a splitter, and the node view beside them. It turns
// clicks, check-box clicks, drags, keys, the wheel and its pop-up menus into
// changes of the current node, of marks, of node order and of node names,
// and forwards the other menu entries to the main window.

#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "views/HolderFrameHost.h"
#include "views/MemoHolderUI.h"

namespace zel {

class TFrameMemoHolder : public QWidget {
    Q_OBJECT
  public:
    explicit TFrameMemoHolder(QWidget* parent = nullptr);

    // Called once by the main window that hosts the frame.
    void initialise(HolderFrameHost* host);
    HolderFrameHost* host() const { return host_; }
    MemoHolderUI* holder() const { return holder_; }
    // Puts the node view into its place beside the list.
    void setNodeView(QWidget* view);

    // Shows `holder` in its list mode ("Nodes" shows a check list).
    void showHolder(MemoHolderUI* holder);
    // Hides the control of a holder that is no longer shown.
    void hideHolder(MemoHolderUI* holder);
    void configureCheckList(NodeCheckList* control);
    void configureTree(NodeTreeView* control);
    void configureList(NodeListControl* control);
    // The main-menu items "CheckListBox", "TreeView", "ListView". 0, or -1
    // without a holder.
    int switchToCheckList();
    int switchToTree();
    int switchToList();

    void showMessage(std::string_view text);
    // "i + 1 / n" for the current node; yields its index.
    int updatePosition();

    // Event handlers (the controls call them; so can the window and tests).
    void selectHandler();
    void markHandler(int row, bool checked);
    // Drops at a point of the control's viewport.
    void dropOnCheckList(const QPoint& position);
    void dropOnTree(const QPoint& position);
    void treeKeyUp(int key);
    // Key release on the check list or the list.
    void listKeyUp(int key);
    // Left and Right show the previous or next holder.
    void holderKeyUp(int key);
    // Home and End make the first or last node current (in every list mode,
    // the controls' own Home and End left aside); false for other keys.
    bool goToFirstOrLast(int key);
    void rightClickSelect(const QPoint& position);
    // One wheel notch; true when it changed the current node.
    bool wheelStep(bool down);

    // The list menu.
    int showQuery();
    // "name" as wide as given, then the columns the holder's query node lists.
    std::vector<ReportColumn> queryColumns(int nameWidth) const;
    // Sets the list's style (0 Icon, 1 SmallIcon, 2 List, 3 Report).
    void setViewStyle(int position);
    // The view style command, with its status message.
    int UIListViewStyle_(int position);
    int saveAsCSV();

    // The rename entries; they rename the main window's current node.
    int renameWithMark(std::string_view mark);
    int renameCut1();
    int renamePaste();
    int copyName();
    int renameCounted(bool up);
    int renameExtractFilename();
    // "Clone" > "X": asks for a count.
    int cloneAsked();
    int cloneBy(int count);

    // A pop-up entry by its caption path ("New Child/Grep/Any").
    QAction* popupAction(QMenu* menu, std::string_view path) const;

    QWidget* PanelLeft;
    QStatusBar* StatusBar2;
    QSplitter* Splitter1;
    QWidget* FrameMemoNode1;
    QMenu* PopupMenuLB;
    QMenu* PopupMenuTV;
    QMenu* PopupMenuLV;
    // The count last entered for "Clone" > "X".
    std::string cloneCountText = "15";

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void buildMenus();
    void buildCheckListMenu();
    void buildTreeMenu();
    void buildListMenu();
    void addRenameMenu(QMenu* menu, bool tree);
    void addNewMenu(QMenu* menu);
    void addMoveEntries(QMenu* menu, const char* up);
    void addCloneMenu(QMenu* menu, std::initializer_list<int> counts);
    QAction* addEntry(QMenu* menu, std::string_view path);
    QMenu* submenu(QMenu* menu, std::string_view path) const;
    void captionMarkItems(QMenu* menu);
    // An entry the frame handles itself.
    void handle(QMenu* menu, std::string_view path, std::function<void()> action,
                bool busyMatters = true);
    // An entry that runs the command `command` of the main window's command
    // table with `argument`.
    void forward(QMenu* menu, std::string_view path, std::string_view command,
                 std::string_view argument = {}, bool busyMatters = true);
    // Entries of commands the main window has not built are disabled.
    void enableBuiltCommands(QMenu* menu);
    bool mayRunMenu(bool busyMatters);
    void placeControl(QAbstractItemView* view, QWidget* control, QMenu* popup);
    MemoNode* selectedNode() const;
    // The first or last node and the neighbours of a node as the control
    // shows them: the list's view may be sorted, the other controls show the
    // holder's order.
    MemoNode* endNodeShown(bool last) const;
    MemoNode* nodeShownBeside(const MemoNode* node, bool below) const;
    NodeListControl* shownList() const;
    void reselectCurrent();
    void stepHolder(int delta);
    // Renames the current node; false (with the message) for an empty name,
    // a read-only holder or the window's read-only box.
    bool renameCurrent(const std::string& name);
    // Lines may be dragged to another place: not under the window's
    // read-only box, nor in a read-only holder, whose file keeps its order.
    bool acceptsReorder() const;
    void finishTreeMove(TreeItem* moved, bool wasExpanded);

    HolderFrameHost* host_ = nullptr;
    MemoHolderUI* holder_ = nullptr;
    QVBoxLayout* controlsLayout_;
    QLabel* position_;
    QVBoxLayout* nodeViewLayout_;
};

}  // namespace zel
