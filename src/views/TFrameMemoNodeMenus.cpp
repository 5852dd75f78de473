// The node view's pop-up menus: the name line's, the text editor's, the
// comment editor's and the fields editor's, and the entries they run.

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>

#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/RenameRules.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr std::string_view kRuler = "**** **** **** **** **** **** **** **** **** **** **** ****";
constexpr std::string_view kMemoRuler =
    "**** **** **** **** **** Memo **** **** **** **** **** ****";
constexpr std::string_view kCommentRuler =
    "**** **** **** **** **** Comment * **** **** **** **** ****";
constexpr std::string_view kFieldsRuler =
    "**** **** **** **** **** Fields ** **** **** **** **** ****";
constexpr std::string_view kFieldEntries[] = {
    "Content-Transfer-Encoding=\"URL\"",
    "Content-Transfer-Encoding=\"binary\"",
    "Filename=\"\"",
    "Link=\"\"",
    "FlagLink=\"true\"",
    "FlagWheel=\"true\"",
};

QString caption(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The menu captions are written in UTF-8 here; as names they are Shift_JIS.
std::string sjisOf(std::string_view utf8) {
    return utf8ToSjis(utf8);
}

std::string clipboardText() {
    return fromQt(QApplication::clipboard()->text());
}

bool endsWithSeparator(std::string_view path) {
    const std::size_t last = lastCharStart(path);
    return last != std::string_view::npos && path.substr(last) == "/";
}

}  // namespace

QAction* TFrameMemoNode::addEntry(QMenu* menu, std::string_view path,
                                  std::function<void()> action) {
    std::size_t slash;
    while ((slash = path.find('/')) != std::string_view::npos && slash + 1 < path.size()) {
        const QString title = caption(path.substr(0, slash));
        QMenu* sub = nullptr;
        for (QAction* existing : menu->actions())
            if (existing->menu() && existing->text() == title) sub = existing->menu();
        menu = sub ? sub : menu->addMenu(title);
        path.remove_prefix(slash + 1);
    }
    if (path == "-") return menu->addSeparator();
    QAction* entry = menu->addAction(caption(path));
    connect(entry, &QAction::triggered, this, std::move(action));
    return entry;
}

void TFrameMemoNode::buildMenus() {
    buildNameMenu();
    buildMemoMenu();
    buildCommentMenu();
    buildFieldsMenu();
    const std::pair<QWidget*, QMenu*> popups[] = {{StaticText_name, PopupMenu1},
                                                  {MemoNode0, PopupMenuMemo},
                                                  {Memo_comment, PopupMenuComment},
                                                  {Memo_Fields, PopupMenuFields}};
    for (const auto& [widget, menu] : popups) {
        connect(widget, &QWidget::customContextMenuRequested, this,
                [widget, menu](const QPoint& at) { menu->popup(widget->mapToGlobal(at)); });
    }
}

void TFrameMemoNode::buildNameMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    addEntry(PopupMenu1, "Copy(&C)",
             [this] { QApplication::clipboard()->setText(StaticText_name->text()); });
    addEntry(PopupMenu1, "Replace(&R)", [this] { renameFromClipboard(false, false); });
    addEntry(PopupMenu1, "Add(&A)", [this] { renameFromClipboard(true, false); });
    addEntry(PopupMenu1, "Add+", [this] { renameFromClipboard(true, true); });
    addEntry(PopupMenu1, "Rename", [this] { nameDialog(); });
    addEntry(PopupMenu1, "-", {});
    addEntry(PopupMenu1, "ExtractFilename", [this] {
        const std::string name = liveNode() ? fileNamePart(node_->getName_()) : std::string();
        if (!name.empty()) renameNode(name);
    });
    for (const char* mark : {"●", "★"}) {
        addEntry(PopupMenu1, mark, [this, mark] {
            if (liveNode()) renameNode(sjisOf(mark) + " " + node_->getName_());
        });
    }
}

void TFrameMemoNode::buildMemoMenu() {
    PopupMenuMemo = new QMenu(this);
    PopupMenuMemo->setObjectName(QStringLiteral("PopupMenuMemo"));
    QMenu* menu = PopupMenuMemo;
    addEntry(menu, "Copy(&C)", [this] { activeEditor()->copy(); });
    QAction* cut = addEntry(menu, "Cut(&T)", [this] { activeEditor()->cut(); });
    QAction* pasting = addEntry(menu, "Paste(&P)", [this] { paste(); });
    QAction* undo = addEntry(menu, "Undo(&U)", [this] { activeEditor()->undo(); });
    addEntry(menu, "SelectAll(&A)", [this] { activeEditor()->selectAll(); });
    addEntry(menu, "-", {});
    addEntry(menu, "Paste+/Name", [this] { insertIntoActive(shownName()); });
    addEntry(menu, "Paste+/Date", [this] { insertIntoActive(today()); });
    addEntry(menu, "Paste+/Time",
             [this] { insertIntoActive(formatDateTime("hh:nn:ss", clock())); });
    addEntry(menu, "Paste+/Buffer", [this] { insertText(activeEditor(), insertionBuffer); });
    addEntry(menu, "Paste+/Line", [this] { insertIntoActive(std::string(kRuler)); });
    // "Name+Memo" has always copied the comment too.
    addEntry(menu, "Copy+/Name+Memo", [this] { copyNodeText(false); });
    addEntry(menu, "Copy+/Name+Memo+Comment", [this] { copyNodeText(false); });
    addEntry(menu, "Copy+/Name+Memo+Comment+Fields", [this] { copyNodeText(true); });
    addEntry(menu, "Mark To Name/Replace", [this] { replaceNameSEL(); });
    addEntry(menu, "Mark To Name/Add", [this] { addNameSEL(false); });
    addEntry(menu, "Mark To Name/Add+", [this] { addNameSEL(true); });
    addEntry(menu, "-", {});
    addEntry(menu, "Explorer", [this] { explorer(); });
    addEntry(menu, "Shell", [this] { shell(); });
    addEntry(menu, "Eval", [this] {
        if (owner_)
            owner_->nodeViewBox(BoxTone::Confirmation, "Still Not Implimented");
        else
            QMessageBox::information(this, QString(), QStringLiteral("Still Not Implimented"));
    })->setVisible(false);
    addEntry(menu, "-", {});
    addEntry(menu, "Memo>>Fiels", [this] { memoToFields(); });
    addEntry(menu, "Memo<<Fields", [this] { fieldsToMemo(); });
    addEntry(menu, "-", {});
    addEntry(menu, "->Poser", [this] { changeEncoding("\"Poser\""); });
    addEntry(menu, "->PoserLike", [this] { changeEncoding("\"PoserLike\""); });
    QAction* pastePlus = nullptr;
    for (QAction* entry : menu->actions())
        if (entry->menu() && entry->text() == QStringLiteral("Paste+")) pastePlus = entry;
    connect(menu, &QMenu::aboutToShow, this, [this, cut, pasting, undo, pastePlus] {
        for (QAction* entry : {cut, pasting, undo, pastePlus}) entry->setEnabled(!readOnly_);
    });
}

void TFrameMemoNode::buildCommentMenu() {
    PopupMenuComment = new QMenu(this);
    PopupMenuComment->setObjectName(QStringLiteral("PopupMenuComment"));
    QMenu* menu = PopupMenuComment;
    addEntry(menu, "Copy(&C)", [this] { activeEditor()->copy(); });
    addEntry(menu, "Cut(&T)", [this] { activeEditor()->cut(); });
    addEntry(menu, "Paste(&P)", [this] { paste(); });
    addEntry(menu, "Undo(&U)", [this] { activeEditor()->undo(); });
    addEntry(menu, "SelectAll(&A)", [this] { activeEditor()->selectAll(); });
    addEntry(menu, "-", {});
    addEntry(menu, "Paste+/Name", [this] { insertIntoActive(shownName()); });
    addEntry(menu, "Paste+/Memo", [this] { insertText(Memo_comment, MemoNode0->toPlainText()); });
    addEntry(menu, "Paste+/Date", [this] { insertIntoActive(today()); });
    addEntry(menu, "Paste+/Time",
             [this] { insertIntoActive(formatDateTime("hh:nn:ss", clock())); });
    addEntry(menu, "Explorer", [this] { explorer(); });
    addEntry(menu, "Mark To Name/Replace", [this] { replaceNameSEL(); });
    addEntry(menu, "Mark To Name/Add", [this] { addNameSEL(false); });
    addEntry(menu, "Mark To Name/Add+", [this] { addNameSEL(true); });
}

void TFrameMemoNode::buildFieldsMenu() {
    PopupMenuFields = new QMenu(this);
    PopupMenuFields->setObjectName(QStringLiteral("PopupMenuFields"));
    QMenu* menu = PopupMenuFields;
    addEntry(menu, "Copy(&C)", [this] { activeEditor()->copy(); });
    addEntry(menu, "Cut(&T)", [this] { activeEditor()->cut(); });
    addEntry(menu, "Paste(&P)", [this] { paste(); });
    for (std::string_view entry : kFieldEntries) {
        addEntry(menu, "Paste+/" + std::string(entry),
                 [this, entry] { insertAtCursor(Memo_Fields, entry); });
    }
    addEntry(menu, "Paste+/-", {});
    addEntry(menu, "Paste+/UID", [this] {
        // A scratch record makes the identity without touching the node.
        MemoBasic scratch;
        insertAtCursor(Memo_Fields, "UID=" + scratch.newUID_());
    });
    addEntry(menu, "Paste+/Created",
             [this] { insertAtCursor(Memo_Fields, "Created=\"" + stampNow() + "\""); });
    addEntry(menu, "Paste+/LastModified",
             [this] { insertAtCursor(Memo_Fields, "LastModified=\"" + stampNow() + "\""); });
    addEntry(menu, "Undo(&U)", [this] { activeEditor()->undo(); });
    addEntry(menu, "SelectAll(&A)", [this] { activeEditor()->selectAll(); });
    addEntry(menu, "Sort", [this] { sortActiveEditor(); });
}

// --- Entries ---------------------------------------------------------------------

void TFrameMemoNode::paste() {
    if (owner_ && owner_->isBusy()) return;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data && data->hasImage() && owner_ &&
        owner_->pasteImageAsNewNode(qvariant_cast<QImage>(data->imageData())))
        return;
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) {
        if (!owner_) {
            message("no text");
            return;
        }
        owner_->mainWindowMessage("no text");
        if (!owner_->isMainWindow()) owner_->nodeViewMessage("no text");
        return;
    }
    QPlainTextEdit* editor = activeEditor();
    if (editor == MemoNode0)
        insertText(MemoNode0, text);
    else
        editor->paste();
}

void TFrameMemoNode::insertIntoActive(const std::string& text) {
    insertAtCursor(activeEditor(), text);
}

std::string TFrameMemoNode::today() const {
    const std::string format =
        owner_ && owner_->isMainWindow() ? stripQuotes(owner_->dateFormat()) : std::string();
    const DateTime now = clock();
    std::string date = format.empty() ? std::string() : formatDateTime(format, now);
    return date.empty() ? formatDateTime("yyyymmdd", now) : date;
}

std::string TFrameMemoNode::stampNow() const {
    return formatDateTime("yyyymmdd hhnnsszzz", clock());
}

void TFrameMemoNode::copyNodeText(bool withFields) {
    QStringList lines{StaticText_name->text(), caption(kMemoRuler), MemoNode0->toPlainText(),
                      caption(kCommentRuler), Memo_comment->toPlainText()};
    if (withFields) lines << caption(kFieldsRuler) << Memo_Fields->toPlainText();
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void TFrameMemoNode::renameFromClipboard(bool append, bool withBlank) {
    const std::string text = nameFromClipboard(trimText(clipboardText()));
    if (!liveNode() || text.empty()) return;
    if (!append)
        renameNode(text);
    else
        renameNode(node_->getName_() + (withBlank ? " " : "") + text);
}

void TFrameMemoNode::explorer() {
    const std::string text = trimText(selectedText());
    if (!text.empty()) {
        openWithShell(text);
    } else if (owner_) {
        owner_->nodeViewBox(BoxTone::Warning, "Not selected");
    } else {
        QMessageBox::warning(this, QString(), QStringLiteral("Not selected"));
    }
}

void TFrameMemoNode::shell() {
    const std::string text = trimText(selectedText());
    if (text.empty()) return;
    auto box = [this](BoxTone tone, const std::string& notice) {
        if (owner_)
            owner_->nodeViewBox(tone, notice);
        else
            QMessageBox::warning(this, QString(), toQt(notice));
    };
    const std::string head = lowerText(std::string_view(text).substr(0, 5));
    if (head == "https" || head == "http:" || head == "file:") {
        shellExplore(text);
    } else if (endsWithSeparator(text)) {
        if (dirExists(text))
            shellExplore(text);
        else
            box(BoxTone::Warning, text + " not exists");
    } else if (const std::string extension = lowerText(extensionOf(text));
               extension == ".exe" || extension == ".bat" || extension == ".com") {
        shellOpen(text);
    } else if (!fileExists(text) && !findProgramFor(text).empty()) {
        box(BoxTone::Confirmation, text + " not exists");
    }
}

void TFrameMemoNode::memoToFields() {
    Memo_Fields->appendPlainText(MemoNode0->toPlainText());
}

void TFrameMemoNode::fieldsToMemo() {
    MemoNode0->appendPlainText(Memo_Fields->toPlainText());
}

void TFrameMemoNode::changeEncoding(std::string_view encoding) {
    if (!liveNode() || node_->isReadOnlyEffective_()) return;
    UI2Model();
    node_->putField_("Content-Transfer-Encoding", encoding);
    markHolderChanged();
    Model2UI();
}

void TFrameMemoNode::sortActiveEditor() {
    activeEditor()->selectAll();
    sortSEL();
}

}  // namespace zel
