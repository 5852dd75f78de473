#pragma once
// The frame layer: the holder frame (the list of the current holder and the
// node view beside it) above the holder tabs.

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>

#include "app/MainHolderView.h"
#include "app/MainNodeView.h"
#include "app/TFormMainMenu.h"

namespace zel {

class TFormMainZELX13c : public TFormMainMenu {
    Q_OBJECT
  public:
    explicit TFormMainZELX13c(QWidget* parent = nullptr);

    NodeEditor* nodeEditor() const override { return nodeView_.get(); }
    void showHolderView(MemoHolder* holder) override;
    void hideHolderView(MemoHolder* holder) override;
    void refreshHolderList() override;
    void showListMode(std::string_view mode) override;
    MainHolderView& holderView() const { return *holderView_; }

    TFrameMemoHolder* FrameMemoHolder1 = nullptr;
    TFrameMemoNode* FrameMemoNode1 = nullptr;

    // The main menu's item of a caption path ("[Holder]/SaveAs Force/MXH(.mxh)").
    QAction* menuAction(std::string_view path) const;

  private:
    void buildMainMenus();
    void addFileMenu();
    void addHolderMenu();
    void addMarkNodeMenu();
    void addMemoNodeMenu();
    void addMarkWordMenu();
    // An item whose command takes its own argument.
    void addTextItem(QMenu* menu, const char* caption, std::function<void()> run);
    void addNewNodeMenu();
    void addFormMenu();
    void addWindowAndHelpMenus();
    // Caption and command name of menu items; the caption "-" is a separator.
    using CommandItems = std::initializer_list<std::pair<const char*, const char*>>;
    void addCommandItems(QMenu* menu, CommandItems items);
    // An item that runs the command `name` of the command layer; none while
    // that command is not built.
    QAction* addCommandItem(QMenu* menu, const char* caption, std::string_view name);

    // The [Holder] menu's radio items follow the shown holder's list mode.
    void checkListModeItem();

    std::unique_ptr<MainHolderView> holderView_;
    QActionGroup* listModeItems_ = nullptr;
    std::unique_ptr<MainNodeView> nodeView_;
};

}  // namespace zel
