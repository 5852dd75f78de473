#pragma once
// The menu layer: the menu bar, the tool bar panel with its switches and
// buttons, and the status bar with its three panels and its pop-up. Menus and
// buttons come from the menu map (MenuMap.h) and run their commands through
// the command table; an item whose command is not built yet is disabled.

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>
#include <vector>

#include "app/commands/MenuMap.h"
#include "app/window/TFormMainScript.h"

namespace zel {

class TFormMainMenu : public TFormMainScript {
    Q_OBJECT
  public:
    explicit TFormMainMenu(QWidget* parent = nullptr);

    bool uiReadOnlySource() const override { return CheckBox_UIReadOnly->isChecked(); }
    bool internetSource() const override { return CheckBox_UIInternet->isChecked(); }
    void refreshReadOnlyIndicator() override;
    void showHolderCount() override;
    // The tool bar button that runs the command `name`; none when absent.
    QPushButton* toolButton(std::string_view name) const;
    // The main menu's item of a caption path in Shift_JIS, as the menu map
    // writes it ("[Holder]/SaveAs Force/MXH(.mxh)"); none when absent.
    QAction* menuAction(std::string_view path) const;
    // The top menu of that caption ("[Holder]").
    QMenu* mainMenu(std::string_view caption) const;
    // What opening a menu of the menu bar does before it shows: enables its
    // items unless a command runs and sets its check items.
    void prepareMenu(QMenu* menu);

    // Builds `items` into `menu` (paths below `menu`, submenus as needed);
    // every item runs its command through the table. The items made, in order.
    // Items of a pop-up that is not disabled on opening refuse while a
    // command runs (`refuseWhileBusy`).
    std::vector<QAction*> buildMenu(QMenu* menu, const std::vector<MenuItem>& items,
                                    std::string_view prefix = {}, bool refuseWhileBusy = false);
    // Runs a map item: its command with its argument, then its second command.
    int runMenuItem(const MenuItem& item);
    // Runs a command as a menu, a button or a pop-up of the window does: a
    // command that makes a node and shows it leaves the keyboard focus in
    // that node's editor, so what the user types next goes into the node.
    int runControlCommand(std::string_view command, std::string_view argument = {});

    QWidget* Panel_Tool = nullptr;
    QCheckBox* CheckBox_UIReadOnly = nullptr;
    QCheckBox* CheckBox_UIInternet = nullptr;
    QLabel* statusReadOnly = nullptr;
    QLabel* statusHolderCount = nullptr;
    QLabel* statusMessagePanel = nullptr;
    QMenu* PopupMenuStatus = nullptr;

  protected:
    // Places the holder frame below the tool panel.
    void setHolderFrame(QWidget* frame);
    void showMessageText(std::string_view text) override;
    void refreshColor() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The [Holder] menu's radio item of the list mode of `holder` (by
    // default the current holder).
    void checkListModeItem(const MemoHolder* holder = nullptr);
    // The UI read-only switch changed: the layers above disable their own
    // items too.
    virtual void applyUIReadOnly(bool readOnly);

  private:
    void buildMainMenus();
    void buildToolPanel();
    void buildStatusBar();
    void uiReadOnlyToggled(bool checked);
    void internetToggled(bool checked);
    void prepareMemoNodeMenu(QMenu* menu);
    void prepareFormMenu(QMenu* menu);

    QVBoxLayout* bodyLayout_ = nullptr;
};

// The command and argument an action or button runs, as the menu map gives
// them (empty for items the window handles itself).
std::string commandOf(const QObject* control);
std::string argumentOf(const QObject* control);
// The command a menu item runs after its first ("Save All Holders"); mostly empty.
std::string thenOf(const QObject* control);

}  // namespace zel
