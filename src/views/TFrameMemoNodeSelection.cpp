// The node view's edits at the cursor: insertion, the selection operations,
// the operations on the whole text body, and renaming the node.

#include <QTextCursor>

#include "model/MemoNode.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/NodeViewLines.h"
#include "views/NodeViewText.h"
#include "views/RenameRules.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr std::string_view kDefaultNumbering = "%.8d:";
constexpr std::string_view kMemoNumbering = "%.5d:";
constexpr std::string_view kReadOnlyName = "Read Only Mode! Can not Change Node name.";

QString withLineFeeds(QString text) {
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

int count(const std::vector<std::string>& lines) {
    return static_cast<int>(lines.size());
}

}  // namespace

// --- Insertion -------------------------------------------------------------------

QPlainTextEdit* TFrameMemoNode::activeEditor() const {
    const QWidget* focused = window()->focusWidget();
    for (QPlainTextEdit* editor : {MemoNode0, Memo_comment, Memo_Fields})
        if (focused == editor) return editor;
    return MemoNode0;
}

void TFrameMemoNode::focusEditor() {
    QPlainTextEdit* editor = body_ == Body::Text ? MemoNode0
                             : isCommentOpen()   ? Memo_comment
                             : isFieldsOpen()    ? Memo_Fields
                                                 : nullptr;
    if (editor) editor->setFocus(Qt::OtherFocusReason);
}

void TFrameMemoNode::insertAtCursor(QPlainTextEdit* editor, std::string_view text) {
    insertText(editor, toQt(text));
}

void TFrameMemoNode::insertText(QPlainTextEdit* editor, QString text) {
    if (editor->isReadOnly()) return;
    const QString whole = editor->toPlainText();
    if (!whole.trimmed().isEmpty()) insertionBuffer = whole;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor cursor = editor->textCursor();
    const int start = cursor.selectionStart();
    cursor.insertText(text);
    cursor.setPosition(start);
    cursor.setPosition(start + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}

std::vector<std::string> TFrameMemoNode::memoLines() {
    std::size_t replaced = 0;
    return editorLines(MemoNode0->toPlainText(), replaced);
}

void TFrameMemoNode::setMemoLines(const std::vector<std::string>& lines) {
    MemoNode0->selectAll();
    insertText(MemoNode0, editorText(lines));
}

void TFrameMemoNode::appendMemoLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) MemoNode0->appendPlainText(toQt(line));
}

void TFrameMemoNode::appendCommentLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Memo_comment->appendPlainText(toQt(line));
}

void TFrameMemoNode::setFieldsEditorValue(std::string_view key, std::string_view value) {
    std::size_t replaced = 0;
    std::vector<std::string> lines = editorLines(Memo_Fields->toPlainText(), replaced);
    const std::string entry = std::string(key) + "=" + std::string(value);
    bool found = false;
    for (std::string& line : lines) {
        const std::size_t equals = findSingleByte(line, '=');
        if (equals != std::string::npos && sameText(trimmedView(line.substr(0, equals)), key)) {
            line = entry;
            found = true;
            break;
        }
    }
    if (!found) lines.push_back(entry);
    Memo_Fields->selectAll();
    insertText(Memo_Fields, editorText(lines));
    if (!fieldsBox_.isOpen()) fieldsBox_.reopen(reopenHeight());
}

// --- The selection ---------------------------------------------------------------

std::string TFrameMemoNode::selectedText() {
    std::size_t replaced = 0;
    const QString text = withLineFeeds(activeEditor()->textCursor().selectedText());
    std::string sjis = utf8ToSjis(text.toStdString(), &replaced);
    reportReplaced(replaced);
    return sjis;
}

int TFrameMemoNode::selectedLineCount() {
    return static_cast<int>(selection(activeEditor()).lines.size());
}

TFrameMemoNode::Selection TFrameMemoNode::selection(QPlainTextEdit* editor) {
    Selection chosen{editor, {}, false};
    QString text = withLineFeeds(chosen.editor->textCursor().selectedText());
    // A selection of whole lines ends with a line break, which stays.
    chosen.endsWithLineBreak = text.endsWith(QLatin1Char('\n'));
    if (chosen.endsWithLineBreak) text.chop(1);
    std::size_t replaced = 0;
    chosen.lines = editorLines(text, replaced);
    reportReplaced(replaced);
    return chosen;
}

void TFrameMemoNode::replaceSelection(const Selection& chosen,
                                      const std::vector<std::string>& lines) {
    QString text = editorText(lines);
    if (chosen.endsWithLineBreak && !lines.empty()) text += QLatin1Char('\n');
    insertText(chosen.editor, text);
}

int TFrameMemoNode::addHeadSEL_(std::string_view text) {
    Selection chosen = selection(activeEditor());
    prefixLines(chosen.lines, text, false);
    replaceSelection(chosen, chosen.lines);
    return count(chosen.lines);
}

int TFrameMemoNode::addTailSEL_(std::string_view text) {
    Selection chosen = selection(activeEditor());
    appendToLines(chosen.lines, text);
    replaceSelection(chosen, chosen.lines);
    return count(chosen.lines);
}

int TFrameMemoNode::delHeadSEL_(long long characters) {
    Selection chosen = selection(activeEditor());
    cutLineHeads(chosen.lines, characters);
    replaceSelection(chosen, chosen.lines);
    return count(chosen.lines);
}

int TFrameMemoNode::removeEmptyLineSEL() {
    Selection chosen = selection(activeEditor());
    removeBlankLines(chosen.lines);
    replaceSelection(chosen, chosen.lines);
    return count(chosen.lines);
}

int TFrameMemoNode::trimSEL() {
    Selection chosen = selection(activeEditor());
    trimLines(chosen.lines);
    replaceSelection(chosen, chosen.lines);
    return count(chosen.lines);
}

int TFrameMemoNode::sortSEL() {
    Selection chosen = selection(activeEditor());
    sortLinesIgnoringCase(chosen.lines);
    replaceSelection(chosen, chosen.lines);
    return count(chosen.lines);
}

int TFrameMemoNode::setNumberSEL_(std::string_view format) {
    Selection chosen = selection(activeEditor());
    const int before = count(chosen.lines);
    numberLines(chosen.lines, trimText(format).empty() ? kDefaultNumbering : format, 1);
    replaceSelection(chosen, chosen.lines);
    return before;
}

int TFrameMemoNode::reverseSEL() {
    Selection chosen = selection(activeEditor());
    reverseLines(chosen.lines);
    replaceSelection(chosen, chosen.lines);
    return count(chosen.lines);
}

int TFrameMemoNode::lfSEL() {
    Selection chosen = selection(activeEditor());
    const std::vector<std::string> pieces = splitAtCommas(chosen.lines);
    replaceSelection(chosen, pieces);
    return count(pieces);
}

int TFrameMemoNode::oneLineSEL() {
    Selection chosen = selection(activeEditor());
    if (chosen.lines.empty()) return 0;
    replaceSelection(chosen, {joinLines(chosen.lines)});
    return 1;
}

int TFrameMemoNode::tagWordListSEL() {
    Selection chosen = selection(activeEditor());
    const std::vector<std::string> words = splitAtTags(joinLines(chosen.lines));
    replaceSelection(chosen, words);
    return count(words);
}

int TFrameMemoNode::replaceNameSEL() {
    return renameNode(nameFromClipboard(selectedText())) ? 0 : -1;
}

int TFrameMemoNode::addNameSEL(bool withBlank) {
    const std::string text = nameFromClipboard(selectedText());
    if (!liveNode() || text.empty()) return -1;
    return renameNode(node_->getName_() + (withBlank ? " " : "") + text) ? 0 : -1;
}

// --- The whole text body -----------------------------------------------------------

int TFrameMemoNode::editMemo(const std::function<int(std::vector<std::string>&)>& edit) {
    MemoNode0->selectAll();
    Selection chosen = selection(MemoNode0);
    const int result = edit(chosen.lines);
    replaceSelection(chosen, chosen.lines);
    return result;
}

int TFrameMemoNode::sortMemo() {
    return editMemo([](std::vector<std::string>& lines) {
        sortLinesIgnoringCase(lines);
        return count(lines);
    });
}

int TFrameMemoNode::numberMemo() {
    return editMemo([](std::vector<std::string>& lines) {
        numberLines(lines, kMemoNumbering, 1);
        return count(lines);
    });
}

int TFrameMemoNode::noDupMemo() {
    return editMemo([](std::vector<std::string>& lines) {
        sortUnique(lines);
        return count(lines);
    });
}

int TFrameMemoNode::markDupMemo() {
    return editMemo(
        [](std::vector<std::string>& lines) { return static_cast<int>(markRepeats(lines)); });
}

int TFrameMemoNode::countWords_(std::string_view word) {
    return static_cast<int>(countInLines(memoLines(), word));
}

// --- The name --------------------------------------------------------------------

std::string TFrameMemoNode::shownName() const {
    return fromQt(StaticText_name->text());
}

void TFrameMemoNode::showNodeName(std::string_view name) {
    StaticText_name->setText(toQt(name));
    shownName_ = StaticText_name->text();
}

bool TFrameMemoNode::renameNode(std::string_view wanted) {
    if (!liveNode()) return false;
    if (trimText(wanted).empty()) {
        message(kEmptyName);
        return false;
    }
    node_->putName_as_(wanted);
    showNodeName(node_->getName_());
    markHolderChanged();
    return true;
}

void TFrameMemoNode::nameDialog() {
    if (!liveNode()) return;
    if (readOnly_ || node_->isReadOnlyEffective_()) {
        message(kReadOnlyName);
        return;
    }
    std::string name;
    if (!owner_ || !owner_->askNodeName(*node_, name)) return;
    if (trimText(name).empty()) {
        message(kEmptyName);
        return;
    }
    if (name == shownName()) return;
    StaticText_name->setText(toQt(name));
    if (writeName()) markHolderChanged();
}

}  // namespace zel
