#pragma once
// The holder view in the main window: the holder frame above the holder
// tabs, bound to the window's memo file. It answers the frame's questions
// through the window's public operations and carries the tab commands.

#include <QSplitter>
#include <functional>
#include <memory>

#include "views/HolderFrameHost.h"
#include "views/HolderTabs.h"
#include "views/TFormHolders.h"
#include "views/TFrameMemoHolder.h"

namespace zel {

class TFormMainBase0007;

class MainHolderView : public HolderFrameHost {
  public:
    // The view's widget gets `parent`; the window then places it.
    MainHolderView(TFormMainBase0007& window, QWidget* parent);

    // The frame above the tab strip, with a splitter between them.
    QSplitter* widget() const { return area_; }
    TFrameMemoHolder* frame() const { return frame_; }
    HolderTabs* tabs() const { return tabs_; }

    // What the window's view hooks do.
    void showHolder(MemoHolder* holder);
    void hideHolder(MemoHolder* holder);
    // After the current node or the holder list changed.
    void refresh();

    // Tab commands.
    int UINewHolder();
    int UINewHolderLeft();
    int UINewHolderRight();
    int UIMoveHolderRight();
    int UIMoveHolderLeft();
    int UIShowHolders();
    // The list-mode items of the main menu.
    int UIChangeCheckListBox();
    int UIChangeTreeView();
    int UIChangeListView();
    // The shown holder in the mode a ModeNodesMngr value names (the check
    // list for any other), also in the middle of a command.
    void showListMode(std::string_view mode);

    // The clone command of the command layer, once it is there.
    std::function<int(int)> cloneCommand;

    // HolderFrameHost.
    MemoFile* memoFile() const override;
    MemoNode* getCurMemoNode() const override;
    void setCurMemoNode_(MemoNode* node) override;
    MemoHolder* changeHolder_(MemoHolder* holder) override;
    bool nowDoing() override;
    bool isUIReadOnly() const override;
    void messageDoing_(std::string_view text) override;
    void startDoing_(std::string_view name) override;
    void doneDoing_(std::string_view text) override;
    int UI2Model() override;
    void saveFieldsEditor(MemoNode& node) override;
    void reloadFieldsEditor(MemoNode& node) override;
    void showNodeName(std::string_view name) override;
    bool isWebBrowser(const QWidget* widget) const override;
    void messageBox(std::string_view text) override;
    bool inputQuery(std::string_view caption, std::string_view prompt, std::string& value) override;
    std::string saveFileName(std::string_view filter, std::string_view initialPath) override;
    int UIClone_(int count) override;
    int popupCommand(std::string_view menu, std::string_view path) override;

  private:
    // A command of the command layer by name; "Still not implemented" for one
    // not built yet.
    int runCommand(std::string_view name);
    void tabChosen(MemoHolder* holder);
    int newHolderAt(int position, std::string_view announce, bool namedInDone);
    int moveCurrentHolder(int delta);
    int changeMode(int (TFrameMemoHolder::*change)(), std::string_view status);

    TFormMainBase0007& window_;
    QSplitter* area_;
    TFrameMemoHolder* frame_;
    HolderTabs* tabs_;
    TFormHolders* holdersWindow_ = nullptr;
};

}  // namespace zel
