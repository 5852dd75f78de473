#pragma once
// The holder view in the main window: the holder frame above the holder
// tabs, bound to the window's memo file. It answers the frame's questions
// through the window's public operations and carries the tab commands.

#include <QSplitter>
#include <memory>

#include "views/HolderFrameHost.h"
#include "views/HolderTabs.h"
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

    // The shown holder in `mode` (the check list for any other than the
    // tree and the list), also in the middle of a command.
    void showListMode(ListMode mode);

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
    int runCommand(std::string_view name, std::string_view argument) override;
    bool hasCommand(std::string_view name) const override;

  private:
    void tabChosen(MemoHolder* holder);

    TFormMainBase0007& window_;
    QSplitter* area_;
    TFrameMemoHolder* frame_;
    HolderTabs* tabs_;
};

}  // namespace zel
