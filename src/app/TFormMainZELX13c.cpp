#include "app/TFormMainZELX13c.h"

#include <QMenuBar>
#include <array>
#include <initializer_list>
#include <utility>

#include "app/CommandTable.h"
#include "model/MemoNode.h"
#include "views/MemoHolderUI.h"
#include "views/ViewText.h"

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
    addMarkNodeMenu();
    addMemoNodeMenu();
    addNewNodeMenu();
    addMarkWordMenu();
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

void TFormMainZELX13c::addMarkNodeMenu() {
    addCommandItems(menuBar()->addMenu(QStringLiteral("MarkNode")),
                    {{"Mark ALL", "UIMarkAll"},
                     {"UnMark\u3000ALL", "UIUnMarkAll"},
                     {"Reverse", "UIReverseMarks"},
                     {"-", ""},
                     {"Delete", "UIDeleteMarkNodes"},
                     {"Copy To", "UICopyMarksTo"},
                     {"Move To", "UIMoveMarksTo"},
                     {"Move To Self", "UIMoveMarksToSelf"},
                     {"-", ""},
                     {"Save Each Over", "UISaveMarksEach"}});
}

void TFormMainZELX13c::addMarkWordMenu() {
    QMenu* words = menuBar()->addMenu(QStringLiteral("[MarkWord]"));
    addCommandItems(words, {{"trim", "UITrimSEL"}});
    QMenu* head = words->addMenu(QStringLiteral("Add Head"));
    addTextItem(head, ">", [this] { UIAddHeadSEL_(">"); });
    addTextItem(head, "(SPACE)", [this] { UIAddHeadSEL_(" "); });
    for (const char* mark : {"*", "\u25CF", "\u25CE", "\u25CB"})
        addTextItem(head, mark, [this, mark] { UIAddHeadSEL_(fromQt(QString::fromUtf8(mark))); });
    addCommandItems(head, {{"(Anything)", "UIAddHeadAny"}});
    QMenu* tail = words->addMenu(QStringLiteral("Add Tail"));
    addTextItem(tail, "<BR>", [this] { UIAddTailSEL_("<BR>"); });
    addCommandItems(tail, {{"(Anything)", "UIAddTailAny"}});
    QMenu* delHead = words->addMenu(QStringLiteral("DEL Head"));
    for (int count = 1; count <= 6; ++count)
        addTextItem(delHead, std::to_string(count).c_str(),
                    [this, count] { UIDelHeadSEL_(count); });
    addCommandItems(delHead, {{"Any", "UIDelHeadAny"}});
    addCommandItems(words, {{",LF", "UILFSEL"},
                            {"OneLine", "UIOneLine"},
                            {"Sort", "UISortSEL"},
                            {"Reverse", "UIReverseSEL"}});
    QMenu* number = words->addMenu(QStringLiteral("Set Number"));
    addCommandItems(number, {{"Auto", "UISetNumberSELAuto"}});
    for (const char* format : {"%2d", "%.2d", "%3d", "%.3d"})
        addTextItem(number, format, [this, format] { UISetNumberSEL_(format); });
    addCommandItems(words, {{"Remove Empty Line", "UIRemoveEmptyLine"},
                            {"-", ""},
                            {"Add Name", "UIAddName"},
                            {"Add Name+", "UIAddNamePlus"},
                            {"Replace Name", "UIReplaceName"},
                            {"StatusBar", "UIStatus2SEL"},
                            {"-", ""}});
    addCommandItems(words->addMenu(QStringLiteral("List")),
                    {{"All Nodes ", "UINodesList2SEL"},
                     {"Mark Nodes", "UIMarkList2Sel"},
                     {"Holders", "UIHolderList2Sel"},
                     {"-", ""},
                     {"Name,Value", "UIMakeListNameValue"},
                     {"Value,Name", "UIMakeListValueName"}});
    addCommandItems(words, {{"Version", "UIVersion2SEL"},
                            {"File(MXA)", "UIFileMXA2Sel"},
                            {"CSV", "UICSV2Sel"},
                            {"Check Holder", "UICheckHolder"},
                            {"TAGWordList", "UITagWordListSEL"}});
}

void TFormMainZELX13c::addTextItem(QMenu* menu, const char* caption, std::function<void()> run) {
    connect(menu->addAction(QString::fromUtf8(caption)), &QAction::triggered, this, std::move(run));
}

void TFormMainZELX13c::addMemoNodeMenu() {
    QMenu* node = menuBar()->addMenu(QStringLiteral("[MemoNode]"));
    addCommandItems(node, {{"New", "UINewNode"},
                           {"Clone", "UIClone"},
                           {"Copy1To", "UICopy1To"},
                           {"Move1To", "UIMove1To"},
                           {"Delete", "UIDeleteMemoNode"},
                           {"Save As", "UISaveNodeAs"}});
    addCommandItems(node->addMenu(QStringLiteral("Extra")),
                    {{"Set Relative Path", "UISetRelativePath"}, {"ReLoad", "UIReloadNode"}});
    addCommandItems(
        node,
        {{"-", ""}, {"Read Window", "UIShowReadWindow"}, {"Other Window", "UIShowOtherWindow"}});
    if (QAction* readOnly = addCommandItem(node, "ReadOnly", "UIToggleNodeReadOnly")) {
        readOnly->setCheckable(true);
        // The check shows the current node's state after every switch.
        connect(readOnly, &QAction::triggered, this, [this, readOnly] {
            MemoNode* current = getCurMemoNode();
            readOnly->setChecked(current && current->isReadOnlyEffective_());
        });
    }
    addCommandItems(node, {{"-", ""},
                           {"Clear", "UIClearMemo"},
                           {"Count Word", "UICountWords"},
                           {"Sort", "UISortMemo"},
                           {"Number", "UINumberMemo"},
                           {"NoDup", "UINoDupMemo"},
                           {"Mark Dup", "UIMarkDupMemo"}});
}

void TFormMainZELX13c::addCommandItems(QMenu* menu, CommandItems items) {
    for (const auto& [caption, name] : items) {
        if (std::string_view(caption) == "-")
            menu->addSeparator();
        else
            addCommandItem(menu, caption, name);
    }
}

void TFormMainZELX13c::addNewNodeMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("NewNode"));
    addCommandItems(menu, {{"File", "UINewNodeFile"},
                           {"Image", "UINewNodeImage"},
                           {"Image Screen", "UINewNodeImageScreen"},
                           {"URL", "UINewNodeURL"},
                           {"URL(Directory)", "UINewNodeURLDir"},
                           {"URL(File)", "UINewNodeURLFile"},
                           {"Poser", "UINewNodePoser"},
                           {"PoserLike", "UINewNodePoserLike"},
                           {"-", ""},
                           {"Memo->Current Holder", "UIMemoNode2NewNodes"},
                           {"Memo->New Holder", "UIMemoNode2Holder"}});
    addCommandItems(menu->addMenu(QStringLiteral("Numbers")), {{"+10", "UINumbersPlus10"},
                                                               {"001-010", "UINumbers10"},
                                                               {"001-100", "UINumbers100"},
                                                               {"Numbers", "UINumberNodes"}});
    addCommandItems(menu->addMenu(QStringLiteral("Days of Week")),
                    {{"This Week", "UINodesThisWeek"},
                     {"Next Week", "UINodesNextWeek"},
                     {"Prev Week", "UINodesPrevWeek"}});
    addCommandItems(menu->addMenu(QStringLiteral("Days of Month")),
                    {{"This Month", "UINodesThisMonth"},
                     {"Next Month", "UINodesNextMonth"},
                     {"Any Month", "UINodesMonth"}});
    addCommandItems(menu->addMenu(QStringLiteral("Days of Year")),
                    {{"This Year", "UINodesYear"},
                     {"Next Year", "UINodesNextYear"},
                     {"Any Year", "UINodesYear"}});
    addCommandItem(menu, "CSV->Holder", "UICSV2Holder");
}

void TFormMainZELX13c::addFormMenu() {
    addCommandItems(
        menuBar()->addMenu(QStringLiteral("[Form]")),
        {{"Font", "UIFont"}, {"FontSize+", "UIFontSizeInc"}, {"FontSize-", "UIFontSizeDec"}});
}

void TFormMainZELX13c::addWindowAndHelpMenus() {
    addCommandItems(menuBar()->addMenu(QStringLiteral("Window")), {{"Log", "UIShowLog"}});
    addCommandItems(menuBar()->addMenu(QStringLiteral("&Help")),
                    {{"Version", "UIShowVersion"}, {"About", "UIShowAbout"}});
}

void TFormMainZELX13c::addFileMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommandItems(file, {{"&Open File", "UIOpenMXA"},
                           {"Open URL", "UIOpenURL"},
                           {"New", "UINewFile"},
                           {"&Save(Message)", "UISaveFileWithMSG"},
                           {"Save(No Message)", "UISaveFileWithoutMSG"},
                           {"Save &As MXA", "UISaveAsMXA"},
                           {"Save As MAZ", "UISaveAsMAZ"},
                           {"-", ""}});
    QAction* saveAll = file->addAction(QStringLiteral("Save All Holders"));
    connect(saveAll, &QAction::triggered, this, [this] {
        UISaveFileWithoutMSG();
        UISaveAllHolders();
    });
    connect(file->addAction(QStringLiteral("Holders Propaty")), &QAction::triggered, this,
            [this] { holderView_->UIShowHolders(); });
    addCommandItems(file, {{"Explorer", "UIExplorerMemoFile"},
                           {"-", ""},
                           {"Printer Setup", "UIPrinterSetup"},
                           {"Hardcopy", "UIHardcopy"},
                           {"-", ""},
                           {"&Exit", "UIExit"},
                           {"Exit(All Yes)", "UIExitAllYes"}});
}

void TFormMainZELX13c::addHolderMenu() {
    QMenu* holder = menuBar()->addMenu(QStringLiteral("[Holder]"));
    addCommandItems(holder, {{"&Open", "UIOpenHolder"}, {"Open CSV", "UIOpenCSV"}});
    connect(holder->addAction(QStringLiteral("New")), &QAction::triggered, this,
            [this] { holderView_->UINewHolder(); });
    addCommandItems(holder, {{"&Save(Message)", "UISaveHolderWithMSG"},
                             {"Save(NoMessage)", "UISaveHolderNoMSG"}});
    addCommandItems(holder->addMenu(QStringLiteral("SaveAs Force")),
                    {{"MXH(.mxh)", "UISaveAsMXH"}, {"MHZ(.mhz)", "UISaveAsMHZ"}});
    addCommandItems(holder, {{"-", ""}});
    addCommandItems(holder->addMenu(QStringLiteral("Extra")), {{"Sort Name", "UISortMemoHolder"},
                                                               {"Reverse", "UIReverseMemoHolder"},
                                                               {"-", ""},
                                                               {"Field->Name", "UIFieldToName"},
                                                               {"Set Update", "UISetUpdate"},
                                                               {"-", ""},
                                                               {"ReLoad", "UIReloadMemoHolder"}});
    addCommandItems(holder->addMenu(QStringLiteral("Each")),
                    {{"Set Relative Path", "UISetRelativePathHolder"},
                     {"ExtractFilename", "UIExtractFilenameHolder"},
                     {"ReLoad Each", "UIReLoadEach"}});
    addCommandItems(holder, {{"-", ""},
                             {"Rename", "UIRenameHolder"},
                             {"-", ""},
                             {"Delete", "UIDeleteHolder"},
                             {"Copy", "UICopyHolder"},
                             {"-", ""}});
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
