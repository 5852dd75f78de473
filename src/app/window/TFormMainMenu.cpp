#include "app/window/TFormMainMenu.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>
#include <map>

#include "app/commands/CommandNames.h"
#include "app/commands/CommandTable.h"
#include "app/window/NodeEditor.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "text/Values.h"
#include "views/MemoHolderUI.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"
#include "views/WebBrowser.h"

namespace zel {

namespace {

constexpr const char* kCommandProperty = "zelCommand";
constexpr const char* kArgumentProperty = "zelArgument";
constexpr const char* kBuiltProperty = "zelBuilt";
constexpr const char* kThenProperty = "zelThen";

// Tool bar buttons the UI read-only switch disables.
constexpr std::string_view kNewNodeButtons[] = {commands::UINewNode, commands::UINewNodeURL,
                                                commands::UINewNodeImage};

// The commands that make a node and make it current.
bool makesNode(std::string_view command) {
    return command.starts_with(commands::UINewNode) || command.starts_with(commands::UINewChild) ||
           command == commands::UICloneNodeAndChild;
}

bool isBuilt(const MenuItem& item) {
    return isCommandBuilt(item.command) && (item.then.empty() || isCommandBuilt(item.then));
}

void tagControl(QObject* control, std::string_view command, std::string_view argument, bool built) {
    control->setProperty(kCommandProperty, toQt(command));
    control->setProperty(kArgumentProperty, toQt(argument));
    control->setProperty(kBuiltProperty, built);
}

bool isTaggedBuilt(const QObject* control) {
    return control->property(kBuiltProperty).toBool();
}

// The [Holder] radio item's command of a list mode; none for the others.
std::string_view listModeCommand(ListMode mode) {
    switch (mode) {
        case ListMode::CheckList:
            return commands::UIChangeCheckListBox;
        case ListMode::Tree:
            return commands::UIChangeTreeView;
        case ListMode::List:
            return commands::UIChangeListView;
        default:
            return {};
    }
}

}  // namespace

std::string commandOf(const QObject* control) {
    return fromQt(control->property(kCommandProperty).toString());
}

std::string argumentOf(const QObject* control) {
    return fromQt(control->property(kArgumentProperty).toString());
}

std::string thenOf(const QObject* control) {
    return fromQt(control->property(kThenProperty).toString());
}

TFormMainMenu::TFormMainMenu(QWidget* parent) : TFormMainScript(parent) {
    buildMainMenus();
    buildToolPanel();
    buildStatusBar();
}

// --- Menus ----------------------------------------------------------------------

int TFormMainMenu::runMenuItem(const MenuItem& item) {
    int result = runControlCommand(item.command, item.argument);
    if (!item.then.empty()) result = runControlCommand(item.then);
    return result;
}

int TFormMainMenu::runControlCommand(std::string_view command, std::string_view argument) {
    const MemoNode* before = getCurMemoNode();
    const int result = runCommand(*this, command, argument);
    if (result < 0 || !makesNode(command) || getCurMemoNode() == before) return result;
    NodeEditor* editor = nodeEditor();
    if (TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr) frame->focusEditor();
    return result;
}

std::vector<QAction*> TFormMainMenu::buildMenu(QMenu* menu, const std::vector<MenuItem>& items,
                                               std::string_view prefix, bool refuseWhileBusy) {
    std::vector<QAction*> made;
    std::map<std::string, QMenu*, std::less<>> submenus;
    std::map<std::string, QActionGroup*, std::less<>> radioGroups;
    // The menu a path's parent names, made where it first appears.
    auto menuFor = [&](std::string_view parent) {
        QMenu* at = menu;
        std::string walked;
        std::size_t start = 0;
        while (start < parent.size()) {
            const std::size_t slash = parent.find('/', start);
            const std::string_view caption = parent.substr(
                start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
            walked += std::string(caption) + "/";
            auto found = submenus.find(walked);
            if (found == submenus.end())
                found = submenus.emplace(walked, at->addMenu(toQt(caption))).first;
            at = found->second;
            start = slash == std::string_view::npos ? parent.size() : slash + 1;
        }
        return at;
    };
    for (const MenuItem& item : items) {
        std::string_view parent = item.menu;
        if (!prefix.empty()) {
            if (!parent.starts_with(prefix)) continue;
            parent.remove_prefix(prefix.size());
            if (!parent.empty() && !parent.starts_with('/')) continue;
            if (!parent.empty()) parent.remove_prefix(1);
        }
        QMenu* at = menuFor(parent);
        if (item.kind == MenuItemKind::Separator) {
            made.push_back(at->addSeparator());
            continue;
        }
        QAction* action = at->addAction(toQt(itemCaption(item)));
        const bool built = isBuilt(item);
        tagControl(action, item.command, item.argument, built);
        if (!item.then.empty()) action->setProperty(kThenProperty, toQt(item.then));
        action->setEnabled(built);
        if (item.kind == MenuItemKind::Check || item.kind == MenuItemKind::Radio)
            action->setCheckable(true);
        if (item.kind == MenuItemKind::Radio) {
            QActionGroup*& group = radioGroups[std::string(parent)];
            if (!group) group = new QActionGroup(at);
            group->addAction(action);
        }
        connect(action, &QAction::triggered, this, [this, item = &item, action, refuseWhileBusy] {
            if (refuseWhileBusy && nowDoing()) return;
            const int result = runMenuItem(*item);
            // A check item shows the state its command left.
            if (item->command == commands::UIToggleNodeReadOnly) {
                MemoNode* node = getCurMemoNode();
                action->setChecked(node && node->isReadOnly_());
            } else if (item->kind == MenuItemKind::Check && result >= 0) {
                action->setChecked(result > 0);
            } else if (item->kind == MenuItemKind::Radio) {
                checkListModeItem();
            }
        });
        made.push_back(action);
    }
    return made;
}

void TFormMainMenu::buildMainMenus() {
    std::vector<std::string_view> titles;
    for (const MenuItem& item : mainMenuMap()) {
        const std::string_view title = item.menu.substr(0, item.menu.find('/'));
        if (std::find(titles.begin(), titles.end(), title) == titles.end()) titles.push_back(title);
    }
    for (std::string_view title : titles) {
        QMenu* menu = menuBar()->addMenu(toQt(title));
        buildMenu(menu, mainMenuMap(), title);
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { prepareMenu(menu); });
    }
    if (QAction* mode = menuAction("[Holder]/CheckListBox")) mode->setChecked(true);
    for (const char* box : {"[Form]/Comment", "[Form]/Field"})
        if (QAction* item = menuAction(box)) item->setChecked(true);
}

QMenu* TFormMainMenu::mainMenu(std::string_view caption) const {
    for (QAction* action : menuBar()->actions())
        if (action->menu() && action->text() == toQt(caption)) return action->menu();
    return nullptr;
}

QAction* TFormMainMenu::menuAction(std::string_view path) const {
    QList<QAction*> level = menuBar()->actions();
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('/', start);
        const bool last = slash == std::string_view::npos;
        const QString caption =
            toQt(path.substr(start, last ? std::string_view::npos : slash - start));
        QAction* found = nullptr;
        for (QAction* action : level)
            if (!action->isSeparator() && action->text() == caption) found = action;
        if (!found || last) return found;
        if (!found->menu()) return nullptr;
        level = found->menu()->actions();
        start = slash + 1;
    }
}

void TFormMainMenu::prepareMenu(QMenu* menu) {
    const bool busy = nowDoing();
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        action->setEnabled(!busy && (action->menu() || isTaggedBuilt(action)));
    }
    if (!getCurHolder()) return;
    if (menu == mainMenu("[Holder]")) checkListModeItem();
    if (menu == mainMenu("[MemoNode]")) prepareMemoNodeMenu(menu);
    if (menu == mainMenu("[Form]")) prepareFormMenu(menu);
}

void TFormMainMenu::prepareMemoNodeMenu(QMenu*) {
    QAction* readOnly = menuAction("[MemoNode]/ReadOnly");
    if (!readOnly) return;
    MemoNode* node = getCurMemoNode();
    readOnly->setChecked(node && node->isReadOnly_());
    // Shown again as soon as the holder may be written.
    readOnly->setVisible(!getCurHolder()->isReadOnlyEffective_());
}

void TFormMainMenu::prepareFormMenu(QMenu*) {
    NodeEditor* editor = nodeEditor();
    TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr;
    if (!frame || !hasHolderView()) return;
    if (QAction* item = menuAction("[Form]/Field")) item->setChecked(frame->isFieldsOpen());
    if (QAction* item = menuAction("[Form]/Comment")) item->setChecked(frame->isCommentOpen());
}

void TFormMainMenu::checkListModeItem(const MemoHolder* shown) {
    const auto* holder = dynamic_cast<const MemoHolderUI*>(shown ? shown : getCurHolder());
    if (!holder) return;
    const std::string_view command = listModeCommand(holder->listMode());
    if (command.empty()) return;
    for (QAction* item : mainMenu("[Holder]")->actions())
        if (commandOf(item) == command) item->setChecked(true);
}

// --- Tool bar -----------------------------------------------------------------------

void TFormMainMenu::buildToolPanel() {
    Panel_Tool = new QWidget(this);
    Panel_Tool->setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(Panel_Tool);
    layout->setContentsMargins(2, 2, 2, 2);
    for (const ToolBarItem& item : toolBarMap()) {
        const std::string_view caption = toolCaption(item);
        if (item.command.empty()) {
            auto* box = new QCheckBox(toQt(caption), Panel_Tool);
            // A space typed after a click goes to the node, never to the switch.
            box->setFocusPolicy(Qt::NoFocus);
            // The switches keep their captions whole; the buttons give way.
            box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            layout->addWidget(box);
            if (caption == "ReadOnly") {
                CheckBox_UIReadOnly = box;
                connect(box, &QCheckBox::toggled, this,
                        [this](bool checked) { uiReadOnlyToggled(checked); });
            } else {
                CheckBox_UIInternet = box;
                box->setChecked(true);
                setWebInternetAllowed(true);
                connect(box, &QCheckBox::toggled, this,
                        [this](bool checked) { internetToggled(checked); });
            }
            continue;
        }
        auto* button = new QPushButton(toQt(caption), Panel_Tool);
        button->setObjectName(toQt(item.command));
        // A space typed after a click goes to the node, never to the button
        // again (which would make one more node).
        button->setFocusPolicy(Qt::NoFocus);
        // A narrow window shrinks the buttons down to their captions, no further.
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
        if (!item.hint.empty()) button->setToolTip(toQt(item.hint));
        tagControl(button, item.command, {}, isCommandBuilt(item.command));
        button->setEnabled(isCommandBuilt(item.command));
        connect(button, &QPushButton::clicked, this, [this, item = &item] {
            if (!item->anyTime && nowDoing()) return;
            runControlCommand(item->command);
        });
        layout->addWidget(button);
    }
    layout->addStretch();
    // A plain panel above the holder frame rather than a tool bar: tool bars
    // paint over their widgets' background, and this panel shows the memo
    // file's colour.
    auto* body = new QWidget(this);
    bodyLayout_ = new QVBoxLayout(body);
    bodyLayout_->setContentsMargins(0, 0, 0, 0);
    bodyLayout_->setSpacing(0);
    bodyLayout_->addWidget(Panel_Tool);
    setCentralWidget(body);
}

void TFormMainMenu::setHolderFrame(QWidget* frame) {
    bodyLayout_->addWidget(frame, 1);
}

QPushButton* TFormMainMenu::toolButton(std::string_view name) const {
    return Panel_Tool->findChild<QPushButton*>(toQt(name));
}

void TFormMainMenu::uiReadOnlyToggled(bool checked) {
    if (nowDoing()) {
        const QSignalBlocker still(CheckBox_UIReadOnly);
        CheckBox_UIReadOnly->setChecked(!checked);
        return;
    }
    UI2Model();
    if (getCurHolder()) applyUIReadOnly(checked);
}

void TFormMainMenu::applyUIReadOnly(bool readOnly) {
    for (std::string_view name : kNewNodeButtons)
        if (QPushButton* button = toolButton(name))
            button->setEnabled(!readOnly && isTaggedBuilt(button));
    if (NodeEditor* editor = nodeEditor()) editor->setReadOnly(readOnly);
}

void TFormMainMenu::internetToggled(bool checked) {
    if (nowDoing()) {
        const QSignalBlocker still(CheckBox_UIInternet);
        CheckBox_UIInternet->setChecked(!checked);
        return;
    }
    // Every embedded browser follows at once, pages already open included.
    setWebInternetAllowed(checked);
    if (!checked) {
        messageDoing_("turn off internet access");
        return;
    }
    messageDoing_("turn on internet access");
    MemoNode* node = getCurMemoNode();
    if (node && node->getField_("Content-Transfer-Encoding") == "\"URL\"") {
        // The editor shows the node again, now with access allowed.
        UI2Model();
        Model2UI();
    }
}

// --- Status bar ---------------------------------------------------------------------

void TFormMainMenu::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setToolTip(QStringLiteral("ReadOnly :  Count of Holders : Message"));
    statusReadOnly = new QLabel(bar);
    statusReadOnly->setFixedWidth(24);
    statusReadOnly->setAlignment(Qt::AlignCenter);
    statusHolderCount = new QLabel(bar);
    // At least as wide as described, and as wide as the count needs.
    statusHolderCount->setMinimumWidth(24);
    statusHolderCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusMessagePanel = new QLabel(bar);
    statusMessagePanel->setMinimumWidth(100);
    bar->addWidget(statusReadOnly);
    bar->addWidget(statusHolderCount);
    bar->addWidget(statusMessagePanel, 1);
    bar->installEventFilter(this);
    statusMessagePanel->installEventFilter(this);
    PopupMenuStatus = new QMenu(bar);
    connect(PopupMenuStatus->addAction(QStringLiteral("Copy(&C)")), &QAction::triggered, this,
            [this] { QApplication::clipboard()->setText(statusMessagePanel->text()); });
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this,
            [this, bar](const QPoint& at) { PopupMenuStatus->popup(bar->mapToGlobal(at)); });
}

void TFormMainMenu::showMessageText(std::string_view text) {
    // One line: a multi-line message would stretch the status bar.
    QString line = toQt(text);
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    statusMessagePanel->setText(line);
}

void TFormMainMenu::refreshReadOnlyIndicator() {
    MemoNode* node = getCurMemoNode();
    statusReadOnly->setText(node && node->isReadOnlyEffective_() ? QStringLiteral("RO")
                                                                 : QString());
}

void TFormMainMenu::showHolderCount() {
    statusHolderCount->setNum(aFile->countOfHolders_());
}

void TFormMainMenu::refreshColor() {
    std::string colour = stripQuotes(aFile->getField_("Color"));
    if (colour.empty()) return;
    QPalette palette = Panel_Tool->palette();
    palette.setColor(QPalette::Window, toQColor(nameToColor(colour)));
    Panel_Tool->setPalette(palette);
}

bool TFormMainMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        statusMessagePanel->clear();
    }
    return TFormMainScript::eventFilter(watched, event);
}

}  // namespace zel
