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

void TFrameMemoHolder::forward(QMenu* menu, std::string_view path, bool busyMatters) {
    const std::string menuName = menu->objectName().toStdString();
    const std::string entry = fromQt(caption(path));
    connect(addEntry(menu, path), &QAction::triggered, this, [=, this] {
        if (mayRunMenu(busyMatters)) host_->popupCommand(menuName, entry);
    });
}

void TFrameMemoHolder::addRenameMenu(QMenu* menu, bool tree) {
    forward(menu, "Rename/Dialog");
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

void TFrameMemoHolder::buildCheckListMenu() {
    QMenu* menu = PopupMenuLB;
    for (const char* path : {"New/Text", "New/URL", "New/Image", "New/Screen"}) forward(menu, path);
    addRenameMenu(menu, false);
    addCloneMenu(menu, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    for (const char* path : {"CopyTo", "MoveTo", "Delete", "Read Window"}) forward(menu, path);
    addEntry(menu, "-");
    for (const char* path : {"Top", "UP", "Down", "Bottom"}) forward(menu, path);
    addEntry(menu, "-");
    for (const char* path : {"SaveAs", "Scan Holder", "Scan Node"}) forward(menu, path);
}

void TFrameMemoHolder::buildTreeMenu() {
    QMenu* menu = PopupMenuTV;
    auto notImplemented = [this] { host_->messageBox(kNotImplemented); };
    for (const char* path : {"New/Text", "New/URL", "New/Image", "New/Screen"}) forward(menu, path);
    for (const char* path :
         {"New Child/Clone", "New Child/Text", "New Child/URL", "New Child/Image",
          "New Child/Screen", "New Child/-", "New Child/Bin->Text", "New Child/URL->Download",
          "New Child/CSV->HTML", "New Child/Grep/Any", "New Child/Grep/-", "New Child/Grep/<a href",
          "New Child/Grep/<img", "New Child/Execute", "New Child/-"}) {
        if (std::string_view(path).ends_with("/-"))
            addEntry(menu, path);
        else
            forward(menu, path);
    }
    for (const char* path : {"New Child/HTML", "New Child/HTML Calendar", "New Child/HTML Page"})
        handle(menu, path, notImplemented);
    addRenameMenu(menu, true);
    addCloneMenu(menu, {1, 2, 3, 4, 5, 10});
    forward(menu, "Copy Name", false);
    for (const char* path :
         {"CopyTo", "MoveTo", "Delete", "Extra/Open Link", "Extra/Open Filename"})
        forward(menu, path);
    addEntry(menu, "Extra/-");
    forward(menu, "Extra/Read Window");
    forward(menu, "Extra/Other Window", false);
    addEntry(menu, "Extra/-");
    forward(menu, "Extra/Set Relative Path", false);
    addEntry(menu, "-");
    for (const char* path : {"TreeView/List Level=0", "TreeView/List Level=0+"})
        forward(menu, path);
    addEntry(menu, "TreeView/-");
    for (const char* path :
         {"TreeView/Expand All", "TreeView/Unexpand", "TreeView/Update Level",
          "TreeView/New RootNode", "Child1/List", "Child1/Sort", "Child1/Reverse",
          "Child1/Set Relative Path", "Child1/ExtractFilename"})
        forward(menu, path);
    handle(menu, "Child1/New Childs", notImplemented);
    for (const char* path : {"Child/List", "Child/New RootNode"}) forward(menu, path);
    addEntry(menu, "-");
    for (const char* path : {"Top", "UP", "Down", "Bottom", "->", "<-"}) forward(menu, path);
}

void TFrameMemoHolder::buildListMenu() {
    QMenu* menu = PopupMenuLV;
    for (const char* path : {"New/Text", "New/URL", "New/Image", "New/Screen"}) forward(menu, path);
    // The list's "Rename" only gives the tree menu's mark items their captions.
    handle(menu, "Rename", [this] { captionMarkItems(PopupMenuTV); });
    addCloneMenu(menu, {1, 2, 3, 4, 5});
    for (const char* path : {"CopyTo", "MoveTo"}) forward(menu, path);
    handle(menu, "Save As CSV", [this] { saveAsCSV(); });
    for (const char* path : {"Delete", "Read Window"}) forward(menu, path);
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
    for (const char* path : {"Set Query", "Jump Query"}) forward(menu, path);
    handle(menu, "Show Query", [this] { showQuery(); });
    addEntry(menu, "-");
    for (const char* path : {"Top", "Up", "Down", "Bottom"}) forward(menu, path);
}

// --- Entries the frame handles --------------------------------------------------

std::vector<ReportColumn> TFrameMemoHolder::queryColumns(int nameWidth) const {
    std::vector<ReportColumn> columns{{"name", nameWidth}};
    const std::string queryName = stripQuotes(holder_->getField_("QueryNode"));
    const MemoNode* query = holder_->byName_(queryName);
    if (!query) return columns;
    for (const std::string& line : query->memo) {
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
    if (!node) return false;
    if (trimText(name).empty()) {
        showMessage(kEmptyName);
        return false;
    }
    node->putName_as_(name);
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
    return host_->UIClone_(std::min(count, kMostClones));
}

int TFrameMemoHolder::cloneAsked() {
    if (!host_) return 0;
    std::string entry = cloneCountText;
    if (!host_->inputQuery("", "Input Number", entry) || entry.empty()) return 0;
    cloneCountText = entry;
    return cloneBy(std::max(1, leadingNumber(trimText(entry), kMostClones)));
}

}  // namespace zel
