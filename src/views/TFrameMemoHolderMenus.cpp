// The holder frame's pop-up menus and the entries it handles itself: report
// columns, view styles, the CSV export, renames and clone counts.

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>

#include "model/HolderFile.h"
#include "platform/SafeFileWriter.h"
#include "text/TextHelpers.h"
#include "views/RenameRules.h"
#include "views/TFrameMemoHolder.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr std::string_view kEmptyName = "Do not rename empty characters.";
constexpr std::string_view kNotImplemented = "Still not implemented. ";
constexpr int kWidestColumn = 4000;
constexpr int kMostClones = 1000;
const char* const kStyleNames[] = {"Icon", "SmallIcon", "List", "Report"};

// The leading decimal digits of a word as a number (0 without any), bounded.
int leadingNumber(std::string_view word, int bound) {
    long long value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') break;
        value = std::min<long long>(value * 10 + (c - '0'), bound);
    }
    return static_cast<int>(value);
}

QString caption(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A name is saved with its holder: the renames wait for the window's
// read-only box and leave the nodes of a read-only holder as its file has
// them, with the window's messages.
bool refusesRename(HolderFrameHost& host, const MemoNode& node) {
    if (host.isUIReadOnly()) {
        host.messageDoing_("UI ReadOnly");
        return true;
    }
    const auto* holder = dynamic_cast<const MemoHolder*>(node.enclosingRecord_());
    if (!holder || !holder->isReadOnlyEffective_()) return false;
    host.messageDoing_("This MemoHolder is Read Only. (" + holder->getName_() + ")");
    return true;
}

}  // namespace

// --- Building the menus -----------------------------------------------------

QAction* TFrameMemoHolder::addEntry(QMenu* menu, std::string_view path) {
    std::size_t slash;
    while ((slash = path.find('/')) != std::string_view::npos) {
        const QString title = caption(path.substr(0, slash));
        QMenu* sub = nullptr;
        for (QAction* action : menu->actions())
            if (action->menu() && action->text() == title) sub = action->menu();
        menu = sub ? sub : menu->addMenu(title);
        path.remove_prefix(slash + 1);
    }
    if (path == "-") return menu->addSeparator();
    return menu->addAction(caption(path));
}

QMenu* TFrameMemoHolder::submenu(QMenu* menu, std::string_view path) const {
    while (menu && !path.empty()) {
        const std::size_t slash = path.find('/');
        const QString title = caption(path.substr(0, slash));
        QMenu* sub = nullptr;
        for (QAction* action : menu->actions())
            if (action->menu() && action->text() == title) sub = action->menu();
        menu = sub;
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return menu;
}

QAction* TFrameMemoHolder::popupAction(QMenu* menu, std::string_view path) const {
    const std::size_t slash = path.rfind('/');
    if (slash != std::string_view::npos) {
        menu = submenu(menu, path.substr(0, slash));
        path.remove_prefix(slash + 1);
    }
    if (!menu) return nullptr;
    for (QAction* action : menu->actions())
        if (!action->menu() && action->text() == caption(path)) return action;
    return nullptr;
}

bool TFrameMemoHolder::mayRunMenu(bool busyMatters) {
    if (!host_) return false;
    return !busyMatters || !host_->nowDoing();
}

void TFrameMemoHolder::handle(QMenu* menu, std::string_view path, std::function<void()> action,
                              bool busyMatters) {
    connect(addEntry(menu, path), &QAction::triggered, this,
            [this, action = std::move(action), busyMatters] {
                if (mayRunMenu(busyMatters)) action();
            });
}

void TFrameMemoHolder::forward(QMenu* menu, std::string_view path, std::string_view command,
                               std::string_view argument, bool busyMatters) {
    QAction* entry = addEntry(menu, path);
    entry->setProperty(kCommandProperty, caption(command));
    entry->setProperty(kArgumentProperty, toQt(argument));
    connect(entry, &QAction::triggered, this,
            [this, name = std::string(command), text = std::string(argument), busyMatters] {
                if (mayRunMenu(busyMatters)) host_->runCommand(name, text);
            });
}

void TFrameMemoHolder::enableBuiltCommands(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (action->menu()) enableBuiltCommands(action->menu());
        const QString command = action->property(kCommandProperty).toString();
        if (!command.isEmpty()) action->setEnabled(host_ && host_->hasCommand(fromQt(command)));
    }
}

void TFrameMemoHolder::addRenameMenu(QMenu* menu, bool tree) {
    forward(menu, "Rename/Dialog", "UIRenameNode");
    handle(menu, "Rename/●", [this] { renameWithMark(fromQt(caption("●"))); });
    handle(menu, "Rename/★", [this] { renameWithMark(fromQt(caption("★"))); });
    handle(menu, "Rename/Cut1", [this] { renameCut1(); });
    if (tree) {
        handle(menu, "Rename/Inc1", [this] { renameCounted(true); });
        handle(menu, "Rename/Dec1", [this] { renameCounted(false); });
        handle(
            menu, "Rename/ExtractFilename", [this] { renameExtractFilename(); }, false);
    }
    addEntry(menu, "Rename/-");
    handle(menu, "Rename/Copy", [this] { copyName(); });
    handle(menu, "Rename/Paste", [this] { renamePaste(); });
}

void TFrameMemoHolder::captionMarkItems(QMenu* menu) {
    if (QAction* item = popupAction(menu, "Rename/●")) item->setText(caption("●"));
    if (QAction* item = popupAction(menu, "Rename/★")) item->setText(caption("★"));
}

void TFrameMemoHolder::addCloneMenu(QMenu* menu, std::initializer_list<int> counts) {
    for (int count : counts) {
        const std::string path = "Clone/" + std::to_string(count);
        handle(menu, path, [this, count] { cloneBy(count); });
    }
    handle(menu, "Clone/X", [this] { cloneAsked(); });
}

void TFrameMemoHolder::buildMenus() {
    PopupMenuLB = new QMenu(this);
    PopupMenuLB->setObjectName(QStringLiteral("PopupMenuLB"));
    PopupMenuTV = new QMenu(this);
    PopupMenuTV->setObjectName(QStringLiteral("PopupMenuTV"));
    PopupMenuLV = new QMenu(this);
    PopupMenuLV->setObjectName(QStringLiteral("PopupMenuLV"));
    buildCheckListMenu();
    buildTreeMenu();
    buildListMenu();
    // Opening "Rename" gives its mark items their captions.
    for (QMenu* menu : {PopupMenuLB, PopupMenuTV})
        connect(submenu(menu, "Rename"), &QMenu::aboutToShow, this,
                [this, menu] { captionMarkItems(menu); });
}

void TFrameMemoHolder::addNewMenu(QMenu* menu) {
    forward(menu, "New/Text", "UINewNode");
    forward(menu, "New/URL", "UINewNodeURL");
    forward(menu, "New/Image", "UINewNodeImage");
    forward(menu, "New/Screen", "UINewNodeImageScreen");
}

void TFrameMemoHolder::addMoveEntries(QMenu* menu, const char* up) {
    forward(menu, "Top", "UIMoveNodeTop");
    forward(menu, up, "UIMoveNodeUp");
    forward(menu, "Down", "UIMoveNodeDown");
    forward(menu, "Bottom", "UIMoveNodeBottom");
}

void TFrameMemoHolder::buildCheckListMenu() {
    QMenu* menu = PopupMenuLB;
    addNewMenu(menu);
    addRenameMenu(menu, false);
    addCloneMenu(menu, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    forward(menu, "CopyTo", "UICopy1To");
    forward(menu, "MoveTo", "UIMove1To");
    forward(menu, "Delete", "UIDeleteMemoNode");
    forward(menu, "Read Window", "UIShowReadWindow");
    addEntry(menu, "-");
    addMoveEntries(menu, "UP");
    addEntry(menu, "-");
    forward(menu, "SaveAs", "UISaveNodeAs");
    forward(menu, "Scan Holder", "UIShowScanMemoHolder");
    forward(menu, "Scan Node", "UIShowScanMemoNode");
}

void TFrameMemoHolder::buildTreeMenu() {
    QMenu* menu = PopupMenuTV;
    auto notImplemented = [this] { host_->messageBox(kNotImplemented); };
    addNewMenu(menu);
    forward(menu, "New Child/Clone", "UICloneNodeAndChild");
    forward(menu, "New Child/Text", "UINewChild");
    forward(menu, "New Child/URL", "UINewChildURL");
    forward(menu, "New Child/Image", "UINewChildImage");
    forward(menu, "New Child/Screen", "UINewChildImageScreen");
    addEntry(menu, "New Child/-");
    forward(menu, "New Child/Bin->Text", "UINewChildDumpText");
    forward(menu, "New Child/URL->Download", "UINewChildDownloadeed");
    forward(menu, "New Child/CSV->HTML", "UINewChildCSV2HTML");
    // An empty keyword asks for one in the grep dialog.
    forward(menu, "New Child/Grep/Any", "UINewChildGrep5", "");
    addEntry(menu, "New Child/Grep/-");
    forward(menu, "New Child/Grep/<a href", "UINewChildGrep5", "<a href");
    forward(menu, "New Child/Grep/<img", "UINewChildGrep5", "<img");
    forward(menu, "New Child/Execute", "UINewChildExecuted");
    addEntry(menu, "New Child/-");
    for (const char* path : {"New Child/HTML", "New Child/HTML Calendar", "New Child/HTML Page"})
        handle(menu, path, notImplemented);
    addRenameMenu(menu, true);
    addCloneMenu(menu, {1, 2, 3, 4, 5, 10});
    forward(menu, "Copy Name", "UICopyNodeName", {}, false);
    forward(menu, "CopyTo", "UICopy1To");
    forward(menu, "MoveTo", "UIMove1To");
    forward(menu, "Delete", "UIDeleteMemoNode");
    forward(menu, "Extra/Open Link", "UIOpenLink");
    forward(menu, "Extra/Open Filename", "UIOpenFilename");
    addEntry(menu, "Extra/-");
    forward(menu, "Extra/Read Window", "UIShowReadWindow");
    forward(menu, "Extra/Other Window", "UIShowOtherWindow", {}, false);
    addEntry(menu, "Extra/-");
    forward(menu, "Extra/Set Relative Path", "UISetRelativePath", {}, false);
    addEntry(menu, "-");
    forward(menu, "TreeView/List Level=0", "UIListLevel0");
    forward(menu, "TreeView/List Level=0+", "UIListLevel0Plus");
    addEntry(menu, "TreeView/-");
    forward(menu, "TreeView/Expand All", "UIExpandAll");
    forward(menu, "TreeView/Unexpand", "UIUnexpand");
    forward(menu, "TreeView/Update Level", "UIUpdateLevel");
    forward(menu, "TreeView/New RootNode", "UINewRootNodeTV");
    forward(menu, "Child1/List", "UIListChild1");
    forward(menu, "Child1/Sort", "UISortChild1");
    forward(menu, "Child1/Reverse", "UIReverseChild1");
    forward(menu, "Child1/Set Relative Path", "UISetRelativepathChild1");
    forward(menu, "Child1/ExtractFilename", "UIExtractFilenameChild1");
    handle(menu, "Child1/New Childs", notImplemented);
    forward(menu, "Child/List", "UIListChild");
    forward(menu, "Child/New RootNode", "UINewRootNode");
    addEntry(menu, "-");
    addMoveEntries(menu, "UP");
    forward(menu, "->", "UIIndentNode");
    forward(menu, "<-", "UIOutdentNode");
}

void TFrameMemoHolder::buildListMenu() {
    QMenu* menu = PopupMenuLV;
    addNewMenu(menu);
    // The list's "Rename" only gives the tree menu's mark items their captions.
    handle(menu, "Rename", [this] { captionMarkItems(PopupMenuTV); });
    addCloneMenu(menu, {1, 2, 3, 4, 5});
    forward(menu, "CopyTo", "UICopy1To");
    forward(menu, "MoveTo", "UIMove1To");
    handle(menu, "Save As CSV", [this] { saveAsCSV(); });
    forward(menu, "Delete", "UIDeleteMemoNode");
    forward(menu, "Read Window", "UIShowReadWindow");
    addEntry(menu, "-");
    auto* styles = new QActionGroup(menu);
    for (int style = 0; style < 4; ++style) {
        const std::string path = std::string("ViewStyle/") + kStyleNames[style];
        handle(menu, path, [this, style] { UIListViewStyle_(style); });
        QAction* item = popupAction(menu, path);
        item->setCheckable(true);
        styles->addAction(item);
    }
    connect(submenu(menu, "ViewStyle"), &QMenu::aboutToShow, this, [this, styles] {
        NodeListControl* list = holder_ ? holder_->listControl() : nullptr;
        if (list) styles->actions().at(list->viewStyle())->setChecked(true);
    });
    forward(menu, "Set Query", "UISetQuery");
    forward(menu, "Jump Query", "UIJumpQuery");
    handle(menu, "Show Query", [this] { showQuery(); });
    addEntry(menu, "-");
    addMoveEntries(menu, "Up");
}

// --- Entries the frame handles --------------------------------------------------

std::vector<ReportColumn> TFrameMemoHolder::queryColumns(int nameWidth) const {
    std::vector<ReportColumn> columns{{"name", nameWidth}};
    const std::string queryName = stripQuotes(holder_->getField_("QueryNode"));
    const MemoNode* query = holder_->byName_(queryName);
    if (!query) return columns;
    for (std::string_view line : query->memo) {
        const std::string trimmed = trimText(line);
        if (trimmed.empty() || trimmed.starts_with('#')) continue;
        auto [key, rest] = splitFirstWord(trimmed);
        int width = leadingNumber(splitFirstWord(rest).first, kWidestColumn);
        if (width <= 0) width = std::min(10 * static_cast<int>(key.size()), kWidestColumn);
        columns.push_back({key, width});
    }
    return columns;
}

int TFrameMemoHolder::showQuery() {
    if (!host_ || host_->nowDoing() || !holder_ || !holder_->listControl()) return -1;
    NodeListControl* list = holder_->listControl();
    host_->UI2Model();
    std::vector<ReportColumn> columns = queryColumns(list->width());
    if (columns.size() > 1) {
        const int count = holder_->count_();
        showMessage(std::to_string(count) + " / " + std::to_string(count));
    }
    holder_->setReportColumns_(std::move(columns));
    setViewStyle(NodeListControl::Report);
    showMessage("Done");
    return 0;
}

void TFrameMemoHolder::setViewStyle(int position) {
    NodeListControl* list = holder_ ? holder_->listControl() : nullptr;
    if (!list) return;
    list->setViewStyle(position);
    if (position == NodeListControl::Report && holder_->reportColumns_().empty())
        holder_->setReportColumns_({{"name", list->width()}});
}

int TFrameMemoHolder::UIListViewStyle_(int position) {
    if (!holder_ || !holder_->listControl()) {
        showMessage("aH.aUILV = nil");
        return -1;
    }
    if (position < NodeListControl::Icon || position > NodeListControl::Report) return -1;
    setViewStyle(position);
    showMessage(std::string("Done: Change ") + kStyleNames[position] + " ViewStyle.");
    return 0;
}

int TFrameMemoHolder::saveAsCSV() {
    if (!host_ || host_->nowDoing() || !holder_ || !holder_->listControl()) return -1;
    const std::string holderPath = holderFilePath_(*holder_);
    const std::string proposed = withExtension(holderPath, ".csv");
    const std::string path =
        host_->saveFileName("CSV files (*.csv)|*.csv|ALL files (*.*)|*.*", proposed);
    if (path.empty()) return 0;
    host_->startDoing_("Save As CSV");
    std::vector<std::string> lines;
    holder_->exportLines_(lines);
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    const IoResult written = writeFileSafely(path, text);
    host_->doneDoing_(written ? std::string() : "Failure: Save As CSV " + written.message);
    return written ? static_cast<int>(lines.size()) : -1;
}

bool TFrameMemoHolder::renameCurrent(const std::string& name) {
    MemoNode* node = host_ ? host_->getCurMemoNode() : nullptr;
    if (!node || refusesRename(*host_, *node)) return false;
    if (trimText(name).empty()) {
        showMessage(kEmptyName);
        return false;
    }
    node->putName_as_(name);
    // A rename is a change of the holder: unmarked, closing would drop it
    // without a question.
    if (auto* owner = dynamic_cast<MemoHolder*>(node->enclosingRecord_())) owner->changed = true;
    host_->showNodeName(node->getName_());
    return true;
}

int TFrameMemoHolder::renameWithMark(std::string_view mark) {
    MemoNode* node = host_ ? host_->getCurMemoNode() : nullptr;
    if (!node) return -1;
    return renameCurrent(std::string(mark) + " " + node->getName_()) ? 0 : -1;
}

int TFrameMemoHolder::renameCut1() {
    MemoNode* node = host_ ? host_->getCurMemoNode() : nullptr;
    if (!node) return -1;
    return renameCurrent(nameWithoutFirstWord(node->getName_())) ? 0 : -1;
}

int TFrameMemoHolder::renamePaste() {
    if (!host_ || !host_->getCurMemoNode()) return -1;
    return renameCurrent(nameFromClipboard(fromQt(QApplication::clipboard()->text()))) ? 0 : -1;
}

int TFrameMemoHolder::copyName() {
    MemoNode* node = host_ ? host_->getCurMemoNode() : nullptr;
    if (!node) return -1;
    QApplication::clipboard()->setText(toQt(node->getName_()));
    return 0;
}

int TFrameMemoHolder::renameCounted(bool up) {
    MemoNode* node = host_ ? host_->getCurMemoNode() : nullptr;
    if (!node) return -1;
    return renameCurrent(nameCounted(node->getName_(), up)) ? 0 : -1;
}

int TFrameMemoHolder::renameExtractFilename() {
    MemoNode* node = host_ ? host_->getCurMemoNode() : nullptr;
    if (!node) return -1;
    return renameCurrent(fileNamePart(node->getName_())) ? 0 : -1;
}

int TFrameMemoHolder::cloneBy(int count) {
    if (!host_ || count < 1) return 0;
    return host_->runCommand("UIClone_", std::to_string(std::min(count, kMostClones)));
}

int TFrameMemoHolder::cloneAsked() {
    if (!host_) return 0;
    std::string entry = cloneCountText;
    if (!host_->inputQuery("", "Input Number", entry) || entry.empty()) return 0;
    cloneCountText = entry;
    return cloneBy(std::max(1, leadingNumber(trimText(entry), kMostClones)));
}

}  // namespace zel
