#include "app/TPlainNodeEditor.h"

#include <QSplitter>
#include <QVBoxLayout>

#include "model/MemoNode.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

namespace {

QString joined(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << toQt(line);
    return list.join(QLatin1Char('\n'));
}

std::vector<std::string> linesOf(const QPlainTextEdit* box) {
    QString text = box->toPlainText();
    if (text.isEmpty()) return {};
    std::vector<std::string> lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(fromQt(line));
    return lines;
}

bool isOver(const QWidget* box, const QPoint& global) {
    return box->isVisible() && box->rect().contains(box->mapFromGlobal(global));
}

}  // namespace

TPlainNodeEditor::TPlainNodeEditor(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    StaticText_name = new QLabel(this);
    StaticText_name->setTextFormat(Qt::PlainText);
    StaticText_name->setFrameShape(QFrame::Panel);
    StaticText_name->setFrameShadow(QFrame::Sunken);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    MemoNode0 = new QPlainTextEdit(splitter);
    Memo_comment = new QPlainTextEdit(splitter);
    Memo_Fields = new QPlainTextEdit(splitter);
    for (QPlainTextEdit* box : {MemoNode0, Memo_comment, Memo_Fields}) {
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    splitter->setStretchFactor(0, 4);
    layout->addWidget(StaticText_name);
    layout->addWidget(splitter, 1);
}

void TPlainNodeEditor::showNode(MemoNode* node) {
    shown_ = node;
    if (!node) {
        StaticText_name->clear();
        for (QPlainTextEdit* box : {MemoNode0, Memo_comment, Memo_Fields}) box->clear();
        return;
    }
    StaticText_name->setText(toQt(node->getName_()));
    MemoNode0->setPlainText(node->isBinary_() ? QString() : joined(node->memo));
    Memo_comment->setPlainText(joined(node->comment));
    std::vector<std::string> fieldLines;
    for (std::size_t i = 0; i < node->fields.size(); ++i) fieldLines.push_back(node->fields[i]);
    Memo_Fields->setPlainText(joined(fieldLines));
    setReadOnly(node->isReadOnlyEffective_());
}

void TPlainNodeEditor::writeNode(MemoNode& node) {
    if (&node != shown_) return;
    if (!node.isBinary_()) node.memo = linesOf(MemoNode0);
    node.comment = linesOf(Memo_comment);
    node.fields.clear();
    for (std::string& line : linesOf(Memo_Fields)) node.fields.append(std::move(line));
}

void TPlainNodeEditor::setReadOnly(bool readOnly) {
    for (QPlainTextEdit* box : {MemoNode0, Memo_comment, Memo_Fields}) box->setReadOnly(readOnly);
}

std::string TPlainNodeEditor::memoText() const {
    return fromQt(MemoNode0->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

void TPlainNodeEditor::setMemoText(std::string_view text) {
    QString plain = toQt(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    MemoNode0->setPlainText(plain);
}

void TPlainNodeEditor::appendMemoLine(std::string_view line) {
    MemoNode0->appendPlainText(toQt(line));
}

void TPlainNodeEditor::appendCommentLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Memo_comment->appendPlainText(toQt(line));
}

void TPlainNodeEditor::setFieldsBoxValue(std::string_view key, std::string_view value) {
    std::vector<std::string> lines = linesOf(Memo_Fields);
    std::string entry = std::string(key) + "=" + std::string(value);
    bool replaced = false;
    for (std::string& line : lines) {
        std::size_t equals = findSingleByte(line, '=');
        if (equals != std::string::npos && sameText(line.substr(0, equals), key)) {
            line = entry;
            replaced = true;
            break;
        }
    }
    if (!replaced) lines.push_back(entry);
    Memo_Fields->setPlainText(joined(lines));
}

bool TPlainNodeEditor::isOverComment(const QPoint& global) const {
    return isOver(Memo_comment, global);
}

bool TPlainNodeEditor::isOverFields(const QPoint& global) const {
    return isOver(Memo_Fields, global);
}

}  // namespace zel
