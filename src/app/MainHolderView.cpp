#include "app/MainHolderView.h"

#include <array>

#include "app/CommandTable.h"
#include "app/NodeEditor.h"
#include "app/TFormMainBase0007.h"
#include "app/TFormMainScript.h"
#include "model/MemoHolder.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

// Pop-up entries that run a command of the command table, by caption path.
constexpr std::array<std::pair<std::string_view, std::string_view>, 45> kPopupCommands{{
    {"Extra/Set Relative Path", "UISetRelativePath"},
    {"New/Text", "UINewNode"},
    {"New/URL", "UINewNodeURL"},
    {"New/Image", "UINewNodeImage"},
    {"New/Screen", "UINewNodeImageScreen"},
    {"New Child/Clone", "UICloneNodeAndChild"},
    {"New Child/Text", "UINewChild"},
    {"New Child/URL", "UINewChildURL"},
    {"New Child/Image", "UINewChildImage"},
    {"New Child/Screen", "UINewChildImageScreen"},
    {"New Child/Bin->Text", "UINewChildDumpText"},
    {"New Child/URL->Download", "UINewChildDownloadeed"},
    {"New Child/CSV->HTML", "UINewChildCSV2HTML"},
    {"SaveAs", "UISaveNodeAs"},
    {"Delete", "UIDeleteMemoNode"},
    {"Copy Name", "UICopyNodeName"},
    {"CopyTo", "UICopy1To"},
    {"MoveTo", "UIMove1To"},
    {"Top", "UIMoveNodeTop"},
    {"UP", "UIMoveNodeUp"},
    {"Up", "UIMoveNodeUp"},
    {"Down", "UIMoveNodeDown"},
    {"Bottom", "UIMoveNodeBottom"},
    {"->", "UIIndentNode"},
    {"<-", "UIOutdentNode"},
    {"Set Query", "UISetQuery"},
    {"Jump Query", "UIJumpQuery"},
    {"Scan Holder", "UIShowScanMemoHolder"},
    {"Scan Node", "UIShowScanMemoNode"},
    {"TreeView/List Level=0", "UIListLevel0"},
    {"TreeView/List Level=0+", "UIListLevel0Plus"},
    {"TreeView/Expand All", "UIExpandAll"},
    {"TreeView/Unexpand", "UIUnexpand"},
    {"TreeView/Update Level", "UIUpdateLevel"},
    {"TreeView/New RootNode", "UINewRootNodeTV"},
    {"Child1/List", "UIListChild1"},
    {"Child1/Sort", "UISortChild1"},
    {"Child1/Reverse", "UIReverseChild1"},
    {"Child1/Set Relative Path", "UISetRelativepathChild1"},
    {"Child1/ExtractFilename", "UIExtractFilenameChild1"},
    {"Child/List", "UIListChild"},
    {"Child/New RootNode", "UINewRootNode"},
    {"Read Window", "UIShowReadWindow"},
    {"Extra/Read Window", "UIShowReadWindow"},
    {"Extra/Other Window", "UIShowOtherWindow"},
}};

constexpr int kTabStripHeight = 24;

}  // namespace

MainHolderView::MainHolderView(TFormMainBase0007& window, QWidget* parent) : window_(window) {
    area_ = new QSplitter(Qt::Vertical, parent);
    area_->setChildrenCollapsible(false);
    frame_ = new TFrameMemoHolder(area_);
    tabs_ = new HolderTabs(area_);
    area_->addWidget(frame_);
    area_->addWidget(tabs_);
    area_->setStretchFactor(0, 1);
    area_->setStretchFactor(1, 0);
    area_->setSizes({frame_->height(), kTabStripHeight});
    frame_->initialise(this);
    tabs_->bind(*window_.aFile);
    QObject::connect(tabs_, &HolderTabs::holderChosen, area_,
                     [this](MemoHolder* holder) { tabChosen(holder); });
    const std::array<std::pair<const char*, int (MainHolderView::*)()>, 5> tabCommands{{
        {"New", &MainHolderView::UINewHolder},
        {"New Left", &MainHolderView::UINewHolderLeft},
        {"New Right", &MainHolderView::UINewHolderRight},
        {"->", &MainHolderView::UIMoveHolderRight},
        {"<-", &MainHolderView::UIMoveHolderLeft},
    }};
    // The holder commands of the command layer, by caption.
    constexpr std::array<std::pair<const char*, std::string_view>, 3> layerCommands{{
        {"Rename", "UIRenameHolder"},
        {"Rename other", "UIRenameHolderOther"},
        {"Delete", "UIDeleteHolder"},
    }};
    for (QAction* action : tabs_->PopupMenuHolder->actions()) {
        for (const auto& [caption, command] : tabCommands)
            if (action->text() == QLatin1String(caption))
                QObject::connect(action, &QAction::triggered, area_,
                                 [this, command = command] { (this->*command)(); });
        for (const auto& [caption, name] : layerCommands)
            if (action->text() == QLatin1String(caption))
                QObject::connect(action, &QAction::triggered, area_,
                                 [this, name = name] { runCommand(name); });
    }
}

int MainHolderView::runCommand(std::string_view name) {
    const CommandEntry* command = findCommand(name);
    auto* script = dynamic_cast<TFormMainScript*>(&window_);
    return command && script ? command->run(*script) : window_.notImplemented_(name);
}

void MainHolderView::showHolder(MemoHolder* holder) {
    if (auto* shown = dynamic_cast<MemoHolderUI*>(holder)) frame_->showHolder(shown);
    refresh();
}

void MainHolderView::hideHolder(MemoHolder* holder) {
    if (auto* shown = dynamic_cast<MemoHolderUI*>(holder)) frame_->hideHolder(shown);
}

void MainHolderView::refresh() {
    tabs_->refreshTabs();
    frame_->updatePosition();
}

void MainHolderView::tabChosen(MemoHolder* holder) {
    if (window_.nowDoing()) {
        tabs_->selectHolder(window_.getCurHolder());
        return;
    }
    window_.messageDoing_("Changing Holder " + holder->getName_());
    window_.changeHolder_(holder);
    window_.messageDoing_(holder->getName_());
}

int MainHolderView::newHolderAt(int position, std::string_view announce, bool namedInDone) {
    if (window_.checkUIReadOnly()) return -8;
    window_.startDoing_(announce);
    MemoHolder* holder = window_.newHolder_(position);
    holder->setCurrent_(holder->makeNode_());
    tabs_->refreshTabs();
    window_.changeHolder_(holder);
    window_.doneDoing_(namedInDone ? "Done: " + std::string(announce) + " " + holder->getName_()
                                   : std::string());
    return 0;
}

int MainHolderView::UINewHolder() {
    const int current = window_.aFile->indexOfHolder_(window_.getCurHolder());
    return newHolderAt(current < 0 ? -1 : current + 1, "New MemoHolder", true);
}

int MainHolderView::UINewHolderLeft() {
    return newHolderAt(0, "New Holder Left", false);
}

int MainHolderView::UINewHolderRight() {
    return newHolderAt(-1, "New Holder Right", false);
}

int MainHolderView::moveCurrentHolder(int delta) {
    if (window_.nowDoing() || window_.checkUIReadOnly() || window_.checkHolderReadOnly()) return -1;
    MemoFile& file = *window_.aFile;
    const int index = file.indexOfHolder_(window_.getCurHolder());
    if (index < 0 || index + delta < 0 || index + delta >= file.countOfHolders_()) return 0;
    if (delta > 0)
        file.moveHolderRight_(index);
    else
        file.moveHolderLeft_(index);
    // The holder order is saved in the memo file: without this mark a move
    // alone would be dropped at closing without a question.
    file.changed = true;
    tabs_->refreshTabs();
    return 0;
}

int MainHolderView::UIMoveHolderRight() {
    return moveCurrentHolder(1);
}

int MainHolderView::UIMoveHolderLeft() {
    return moveCurrentHolder(-1);
}

int MainHolderView::UIShowHolders() {
    if (window_.nowDoing() || !window_.aFile) return -1;
    if (!holdersWindow_) holdersWindow_ = new TFormHolders(&window_);
    holdersWindow_->setFont(window_.font());
    holdersWindow_->fill(*window_.aFile);
    holdersWindow_->exec();
    return 0;
}

int MainHolderView::changeMode(int (TFrameMemoHolder::*change)(), std::string_view status) {
    if (window_.nowDoing() || !frame_->holder()) return 0;
    (frame_->*change)();
    window_.messageDoing_(status);
    return 0;
}

int MainHolderView::UIChangeCheckListBox() {
    return changeMode(&TFrameMemoHolder::switchToCheckList, "Change CheckListBox");
}

int MainHolderView::UIChangeTreeView() {
    return changeMode(&TFrameMemoHolder::switchToTree, "Change TreeView");
}

int MainHolderView::UIChangeListView() {
    return changeMode(&TFrameMemoHolder::switchToList, "Change ListView");
}

void MainHolderView::showListMode(std::string_view mode) {
    if (!frame_->holder()) return;
    if (mode == kModeTree)
        frame_->switchToTree();
    else if (mode == kModeList)
        frame_->switchToList();
    else
        frame_->switchToCheckList();
}

MemoFile* MainHolderView::memoFile() const {
    return window_.aFile.get();
}

MemoNode* MainHolderView::getCurMemoNode() const {
    return window_.getCurMemoNode();
}

void MainHolderView::setCurMemoNode_(MemoNode* node) {
    window_.setCurMemoNode_(node);
}

MemoHolder* MainHolderView::changeHolder_(MemoHolder* holder) {
    return window_.changeHolder_(holder);
}

bool MainHolderView::nowDoing() {
    return window_.nowDoing();
}

bool MainHolderView::isUIReadOnly() const {
    return window_.uiReadOnlySource();
}

void MainHolderView::messageDoing_(std::string_view text) {
    window_.messageDoing_(text);
}

void MainHolderView::startDoing_(std::string_view name) {
    window_.startDoing_(name);
}

void MainHolderView::doneDoing_(std::string_view text) {
    window_.doneDoing_(text);
}

int MainHolderView::UI2Model() {
    return window_.UI2Model();
}

void MainHolderView::saveFieldsEditor(MemoNode& node) {
    if (NodeEditor* editor = window_.nodeEditor()) editor->writeFields(node);
}

void MainHolderView::reloadFieldsEditor(MemoNode& node) {
    if (NodeEditor* editor = window_.nodeEditor()) editor->showFields(node);
}

void MainHolderView::showNodeName(std::string_view name) {
    if (NodeEditor* editor = window_.nodeEditor()) editor->showName(name);
}

bool MainHolderView::isWebBrowser(const QWidget* widget) const {
    return widget && widget->inherits("QWebEngineView");
}

void MainHolderView::messageBox(std::string_view text) {
    window_.prompter().message(text);
}

bool MainHolderView::inputQuery(std::string_view caption, std::string_view prompt,
                                std::string& value) {
    return window_.prompter().inputQuery(caption, prompt, value);
}

std::string MainHolderView::saveFileName(std::string_view filter, std::string_view initialPath) {
    return window_.prompter().saveFileName(filter, initialPath);
}

int MainHolderView::UIClone_(int count) {
    if (!cloneCommand) return window_.notImplemented_("UIClone_");
    return cloneCommand(count);
}

int MainHolderView::popupCommand(std::string_view, std::string_view path) {
    for (const auto& [caption, name] : kPopupCommands)
        if (caption == path) return runCommand(name);
    return window_.notImplemented_(path);
}

}  // namespace zel
