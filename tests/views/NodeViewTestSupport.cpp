#include "NodeViewTestSupport.h"

#include <QTextCursor>

#include "text/Sjis.h"
#include "views/TFormMemoNode.h"

namespace zel::test {

FakeMainWindow::FakeMainWindow()
    : file(std::make_unique<ShownMemoFile>()), view(new TFrameMemoNode(&widget)), agent(this) {
    widget.resize(800, 600);
    view->resize(652, 595);
    view->setOwner(this);
}

FakeMainWindow::~FakeMainWindow() {
    // Node windows go before the nodes they show.
    for (QWidget* window : widget.findChildren<TFormMemoNode*>()) delete window;
    view->releaseNode();
    file.reset();
}

MemoHolderUI& FakeMainWindow::addHolder(const std::vector<std::string>& nodeNames) {
    MemoHolderUI& holder = zel::test::addHolder(*file, "h", nodeNames);
    holder.changed = false;
    if (!nodeNames.empty()) select(node(nodeNames.front()));
    return holder;
}

MemoNode& FakeMainWindow::node(const std::string& name) {
    for (int i = 0; i < file->countOfHolders_(); ++i)
        if (MemoNode* found = file->holderAt_(i)->MemoHolder::byName_(name)) return *found;
    throw std::runtime_error("no node " + name);
}

void FakeMainWindow::select(MemoNode& next) {
    UI2Model();
    current = &next;
    Model2UI();
}

int FakeMainWindow::UI2Model() {
    if (!current) return -1;
    if (TFormMemoNode* own = TFormMemoNode::ownWindowOf(current)) {
        own->frame()->UI2Model();
        return -1;
    }
    view->UI2Model();
    return 0;
}

void FakeMainWindow::Model2UI() {
    if (TFormMemoNode::ownWindowOf(current)) {
        view->hide();
        return;
    }
    view->show();
    view->setNode(current);
    view->Model2UI();
}

bool FakeMainWindow::askNodeName(MemoNode&, std::string& name) {
    if (names.empty()) return false;
    name = names.front();
    names.erase(names.begin());
    return true;
}

bool FakeMainWindow::askJpegSettings(JpegOptions& options) {
    questions.push_back("JPEG");
    if (jpegAnswers.empty()) return false;
    options = jpegAnswers.front();
    jpegAnswers.erase(jpegAnswers.begin());
    return true;
}

bool FakeMainWindow::askYesNo(std::string_view text) {
    questions.emplace_back(text);
    if (yesNoAnswers.empty()) return false;
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.erase(yesNoAnswers.begin());
    return yes;
}

bool FakeMainWindow::refusesEdits() {
    if (uiReadOnly) messages.emplace_back("UI ReadOnly");
    return uiReadOnly;
}

bool FakeMainWindow::contains(const std::string& part) const {
    for (const std::string& text : messages)
        if (text.find(part) != std::string::npos) return true;
    return false;
}

void typeInto(QPlainTextEdit* editor, const QString& text) {
    QTextCursor cursor(editor->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

void selectRange(QPlainTextEdit* editor, int start, int end) {
    QTextCursor cursor(editor->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::string sjis(const char* utf8) {
    return utf8ToSjis(utf8);
}

}  // namespace zel::test
