#include "app/window/MainHolderView.h"

#include "app/commands/CommandTable.h"
#include "app/window/NodeEditor.h"
#include "app/window/TFormMainBase0007.h"
#include "app/window/TFormMainMenu.h"
#include "model/MemoHolder.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

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

void MainHolderView::showListMode(ListMode mode) {
    if (!frame_->holder()) return;
    if (mode == ListMode::Tree)
        frame_->switchToTree();
    else if (mode == ListMode::List)
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

int MainHolderView::runCommand(std::string_view name, std::string_view argument) {
    auto* menus = dynamic_cast<TFormMainMenu*>(&window_);
    return menus ? menus->runControlCommand(name, argument) : kUnknownCommand;
}

bool MainHolderView::hasCommand(std::string_view name) const {
    return isCommandBuilt(name);
}

}  // namespace zel
