#include "app/TFormMainZELX13c.h"

#include <QMenuBar>
#include <array>
#include <initializer_list>
#include <utility>

#include "app/CommandTable.h"
#include "model/MemoNode.h"
#include "views/MemoHolderUI.h"

namespace zel {

TFormMainZELX13c::TFormMainZELX13c(QWidget* parent) : TFormMainMenu(parent) {
    holderView_ = std::make_unique<MainHolderView>(*this, this);
    FrameMemoHolder1 = holderView_->frame();
    nodeView_ = std::make_unique<MainNodeView>(*this, FrameMemoHolder1);
    FrameMemoNode1 = nodeView_->frame();
    FrameMemoHolder1->setNodeView(FrameMemoNode1);
    setHolderFrame(holderView_->widget());
    holderView_->cloneCommand = [this](int count) { return UIClone_(count); };
    buildMainMenus();
}

// The menus list the commands built so far; the other entries of the menu
// map join them as their commands land.
void TFormMainZELX13c::buildMainMenus() {
    addFileMenu();
    addHolderMenu();
    addMemoNodeMenu();
    addNewNodeMenu();
    addFormMenu();
    addWindowAndHelpMenus();
}

QAction* TFormMainZELX13c::addCommandItem(QMenu* menu, const char* caption, std::string_view name) {
    const CommandEntry* command = findCommand(name);
    if (!command) return nullptr;
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    connect(action, &QAction::triggered, this, [this, command] { command->run(*this); });
    return action;
}

void TFormMainZELX13c::addMemoNodeMenu() {
    QMenu* node = menuBar()->addMenu(QStringLiteral("[MemoNode]"));
    addCommandItem(node, "New", "UINewNode");
    addCommandItem(node, "Clone", "UIClone");
    addCommandItem(node, "Copy1To", "UICopy1To");
    addCommandItem(node, "Move1To", "UIMove1To");
    addCommandItem(node, "Delete", "UIDeleteMemoNode");
    addCommandItem(node, "Save As", "UISaveNodeAs");
    QMenu* extra = node->addMenu(QStringLiteral("Extra"));
    addCommandItem(extra, "ReLoad", "UIReloadNode");
    node->addSeparator();
    addCommandItem(node, "Read Window", "UIShowReadWindow");
    addCommandItem(node, "Other Window", "UIShowOtherWindow");
    if (QAction* readOnly = addCommandItem(node, "ReadOnly", "UIToggleNodeReadOnly")) {
        readOnly->setCheckable(true);
        // The check shows the current node's state after every switch.
        connect(readOnly, &QAction::triggered, this, [this, readOnly] {
            MemoNode* current = getCurMemoNode();
            readOnly->setChecked(current && current->isReadOnlyEffective_());
        });
    }
}

void TFormMainZELX13c::addNewNodeMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("NewNode"));
    for (const auto& [caption, name] : std::initializer_list<std::pair<const char*, const char*>>{
             {"File", "UINewNodeFile"},
             {"Image", "UINewNodeImage"},
             {"Image Screen", "UINewNodeImageScreen"},
             {"URL", "UINewNodeURL"},
             {"URL(Directory)", "UINewNodeURLDir"},
             {"URL(File)", "UINewNodeURLFile"},
             {"Poser", "UINewNodePoser"},
             {"PoserLike", "UINewNodePoserLike"}})
        addCommandItem(menu, caption, name);
    menu->addSeparator();
    QMenu* numbers = menu->addMenu(QStringLiteral("Numbers"));
    addCommandItem(numbers, "+10", "UINumbersPlus10");
    addCommandItem(numbers, "001-010", "UINumbers10");
    addCommandItem(numbers, "001-100", "UINumbers100");
    addCommandItem(numbers, "Numbers", "UINumberNodes");
    QMenu* week = menu->addMenu(QStringLiteral("Days of Week"));
    addCommandItem(week, "This Week", "UINodesThisWeek");
    addCommandItem(week, "Next Week", "UINodesNextWeek");
    addCommandItem(week, "Prev Week", "UINodesPrevWeek");
    QMenu* month = menu->addMenu(QStringLiteral("Days of Month"));
    addCommandItem(month, "This Month", "UINodesThisMonth");
    addCommandItem(month, "Next Month", "UINodesNextMonth");
    addCommandItem(month, "Any Month", "UINodesMonth");
    QMenu* year = menu->addMenu(QStringLiteral("Days of Year"));
    addCommandItem(year, "This Year", "UINodesYear");
    addCommandItem(year, "Next Year", "UINodesNextYear");
    addCommandItem(year, "Any Year", "UINodesYear");
    addCommandItem(menu, "CSV->Holder", "UICSV2Holder");
}

void TFormMainZELX13c::addFormMenu() {
    QMenu* form = menuBar()->addMenu(QStringLiteral("[Form]"));
    addCommandItem(form, "Font", "UIFont");
    addCommandItem(form, "FontSize+", "UIFontSizeInc");
    addCommandItem(form, "FontSize-", "UIFontSizeDec");
}

void TFormMainZELX13c::addWindowAndHelpMenus() {
    QMenu* window = menuBar()->addMenu(QStringLiteral("Window"));
    addCommandItem(window, "Log", "UIShowLog");
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    addCommandItem(help, "Version", "UIShowVersion");
    addCommandItem(help, "About", "UIShowAbout");
}

void TFormMainZELX13c::addFileMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommandItem(file, "&Open File", "UIOpenMXA");
    addCommandItem(file, "Open URL", "UIOpenURL");
    addCommandItem(file, "New", "UINewFile");
    addCommandItem(file, "&Save(Message)", "UISaveFileWithMSG");
    addCommandItem(file, "Save(No Message)", "UISaveFileWithoutMSG");
    addCommandItem(file, "Save &As MXA", "UISaveAsMXA");
    addCommandItem(file, "Save As MAZ", "UISaveAsMAZ");
    file->addSeparator();
    QAction* saveAll = file->addAction(QStringLiteral("Save All Holders"));
    connect(saveAll, &QAction::triggered, this, [this] {
        UISaveFileWithoutMSG();
        UISaveAllHolders();
    });
    connect(file->addAction(QStringLiteral("Holders Propaty")), &QAction::triggered, this,
            [this] { holderView_->UIShowHolders(); });
    addCommandItem(file, "Explorer", "UIExplorerMemoFile");
    file->addSeparator();
    addCommandItem(file, "Printer Setup", "UIPrinterSetup");
    addCommandItem(file, "Hardcopy", "UIHardcopy");
    file->addSeparator();
    addCommandItem(file, "&Exit", "UIExit");
    addCommandItem(file, "Exit(All Yes)", "UIExitAllYes");
}

void TFormMainZELX13c::addHolderMenu() {
    QMenu* holder = menuBar()->addMenu(QStringLiteral("[Holder]"));
    addCommandItem(holder, "&Open", "UIOpenHolder");
    addCommandItem(holder, "Open CSV", "UIOpenCSV");
    connect(holder->addAction(QStringLiteral("New")), &QAction::triggered, this,
            [this] { holderView_->UINewHolder(); });
    addCommandItem(holder, "&Save(Message)", "UISaveHolderWithMSG");
    addCommandItem(holder, "Save(NoMessage)", "UISaveHolderNoMSG");
    QMenu* saveAs = holder->addMenu(QStringLiteral("SaveAs Force"));
    addCommandItem(saveAs, "MXH(.mxh)", "UISaveAsMXH");
    addCommandItem(saveAs, "MHZ(.mhz)", "UISaveAsMHZ");
    holder->addSeparator();
    addCommandItem(holder, "Rename", "UIRenameHolder");
    holder->addSeparator();
    addCommandItem(holder, "Delete", "UIDeleteHolder");
    addCommandItem(holder, "Copy", "UICopyHolder");
    holder->addSeparator();
    auto* modes = listModeItems_ = new QActionGroup(holder);
    const std::array<std::pair<const char*, int (MainHolderView::*)()>, 3> modeItems{{
        {"CheckListBox", &MainHolderView::UIChangeCheckListBox},
        {"TreeView", &MainHolderView::UIChangeTreeView},
        {"ListView", &MainHolderView::UIChangeListView},
    }};
    for (const auto& [caption, change] : modeItems) {
        QAction* action = holder->addAction(QString::fromUtf8(caption));
        action->setCheckable(true);
        action->setActionGroup(modes);
        connect(action, &QAction::triggered, this, [this, change = change] {
            (holderView_.get()->*change)();
            checkListModeItem();
        });
    }
    modes->actions().front()->setChecked(true);
}

void TFormMainZELX13c::checkListModeItem() {
    const MemoHolderUI* shown = holderView_->frame()->holder();
    if (!shown || !listModeItems_) return;
    const std::string mode = shown->modeInForce_();
    for (QAction* item : listModeItems_->actions())
        if (item->text().toStdString() == mode) item->setChecked(true);
}

QAction* TFormMainZELX13c::menuAction(std::string_view path) const {
    QList<QAction*> level = menuBar()->actions();
    QAction* found = nullptr;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::string_view caption = path.substr(
            start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        found = nullptr;
        for (QAction* action : level)
            if (action->text() == QString::fromUtf8(caption.data(), caption.size())) found = action;
        if (!found || slash == std::string_view::npos) return found;
        if (!found->menu()) return nullptr;
        level = found->menu()->actions();
        start = slash + 1;
    }
    return found;
}

void TFormMainZELX13c::showHolderView(MemoHolder* holder) {
    holderView_->showHolder(holder);
    checkListModeItem();
}

void TFormMainZELX13c::hideHolderView(MemoHolder* holder) {
    holderView_->hideHolder(holder);
}

void TFormMainZELX13c::refreshHolderList() {
    holderView_->refresh();
}

void TFormMainZELX13c::showListMode(std::string_view mode) {
    holderView_->showListMode(mode);
    checkListModeItem();
}

}  // namespace zel
