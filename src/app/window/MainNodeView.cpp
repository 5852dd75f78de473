#include "app/window/MainNodeView.h"

#include <QImage>

#include "app/window/TFormMainBase0007.h"
#include "app/window/TFormMainScript.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"
#include "views/MemoNodeUI.h"
#include "views/TFormMemoNode.h"
#include "views/TFrameImage.h"
#include "views/TFrameMemoNode.h"

namespace zel {

namespace {

Tone toneOf(BoxTone tone) {
    switch (tone) {
        case BoxTone::Confirmation:
            return Tone::Confirmation;
        case BoxTone::Warning:
            return Tone::Warning;
        default:
            return Tone::Information;
    }
}

}  // namespace

MainNodeView::MainNodeView(TFormMainBase0007& window, QWidget* parent)
    : window_(window), frame_(new TFrameMemoNode(parent)) {
    frame_->initialise();
    frame_->setOwner(this);
}

// --- NodeEditor ------------------------------------------------------------------

void MainNodeView::showNode(MemoNode* node) {
    if (!node) {
        frame_->releaseNode();
        return;
    }
    frame_->setNode(node);
    frame_->Model2UI();
}

void MainNodeView::writeNode(MemoNode& node) {
    // A view that shows another node never writes into this one.
    if (frame_->node() == &node) frame_->UI2Model();
}

void MainNodeView::writeFields(MemoNode& node) {
    if (frame_->node() == &node) frame_->fieldsToModel();
}

void MainNodeView::showFields(MemoNode& node) {
    if (frame_->node() == &node) frame_->fieldsToView();
}

void MainNodeView::showName(std::string_view name) {
    frame_->showNodeName(name);
}

std::string MainNodeView::memoText() const {
    std::string text = linesText(frame_->memoLines());
    // The last line has no line break of its own.
    if (text.size() >= 2) text.resize(text.size() - 2);
    return text;
}

void MainNodeView::setMemoText(std::string_view text) {
    frame_->setMemoLines(textLines(text));
}

void MainNodeView::appendMemoLine(std::string_view line) {
    frame_->appendMemoLines({std::string(line)});
}

void MainNodeView::appendCommentLines(const std::vector<std::string>& lines) {
    frame_->appendCommentLines(lines);
}

void MainNodeView::setFieldsBoxValue(std::string_view key, std::string_view value) {
    frame_->setFieldsEditorValue(key, value);
}

bool MainNodeView::isOverComment(const QPoint& global) const {
    return frame_->isOverComment(global);
}

bool MainNodeView::isOverFields(const QPoint& global) const {
    return frame_->isOverFields(global);
}

// --- NodeViewOwner -----------------------------------------------------------------

void MainNodeView::nodeViewMessage(std::string_view text) {
    window_.messageDoing_(text);
}

void MainNodeView::mainWindowMessage(std::string_view text) {
    window_.messageDoing_(text);
}

void MainNodeView::nodeViewBox(BoxTone tone, std::string_view text) {
    window_.prompter().ask(toneOf(tone), text, ButtonOk);
}

AgentAPLAbs* MainNodeView::nodeViewAgent() {
    return window_.agent.get();
}

std::string MainNodeView::readerName() const {
    return wrapQuotes(window_.userName);
}

std::string MainNodeView::dateFormat() const {
    return window_.getDateFormat();
}

bool MainNodeView::isBusy() {
    return window_.nowDoing();
}

std::string MainNodeView::programDirectory() const {
    return window_.exeDirectory();
}

bool MainNodeView::pasteImageAsNewNode(const QImage& image) {
    if (image.isNull()) return false;
    MemoNode* node = window_.newNodeOfKind_("", KindImage);
    // Refused (read-only): the refusal has said so.
    if (!node) return true;
    // The node is shown now: its image view writes the picture as the node's
    // bitmap, as its Paste does.
    TFrameImage* view = frame_->imageView();
    if (view && frame_->node() == node) view->putImage(image);
    window_.Model2UI();
    return true;
}

bool MainNodeView::askJpegSettings(JpegOptions& options) {
    return window_.prompter().jpegSettings(options);
}

bool MainNodeView::askYesNo(std::string_view text) {
    return window_.prompter().ask(Tone::Confirmation, text, ButtonYes | ButtonNo) == Answer::Yes;
}

bool MainNodeView::refusesEdits() {
    return window_.checkUIReadOnly();
}

bool MainNodeView::newMemoNodeWithText(std::string_view text) {
    auto* script = dynamic_cast<TFormMainScript*>(&window_);
    if (!script || script->UINewNode() < 0) return false;
    frame_->insertAtCursor(frame_->MemoNode0, text);
    return true;
}

long long MainNodeView::saveNodeAsFromView(MemoNode& node) {
    return saveNodeAs(node);
}

bool MainNodeView::newWebNode(std::string_view address) {
    auto* script = dynamic_cast<TFormMainScript*>(&window_);
    return script && script->newWebNode_(address) == 0;
}

bool MainNodeView::askNodeName(MemoNode& node, std::string& name) {
    // A node window forwards its name line here; it is the one asking when
    // this view shows another node, or when the node's own window is active.
    const auto* shown = dynamic_cast<const MemoNodeUI*>(&node);
    const bool separate = frame_->node() != &node ||
                          (shown && shown->nodeWindow && shown->nodeWindow->isActiveWindow());
    auto* script = dynamic_cast<TFormMainScript*>(&window_);
    return script && script->askNodeName_(node, name, separate);
}

// --- NodeWindowHost ----------------------------------------------------------------

QWidget* MainNodeView::hostWidget() {
    return &window_;
}

MainWindowLink* MainNodeView::windowLink() {
    return &window_;
}

MemoFile* MainNodeView::memoFile() const {
    return window_.aFile.get();
}

MemoNode* MainNodeView::getCurMemoNode() const {
    return window_.getCurMemoNode();
}

int MainNodeView::UI2Model() {
    return window_.UI2Model();
}

void MainNodeView::Model2UI() {
    window_.Model2UI();
}

long long MainNodeView::saveNodeAs(MemoNode& node) {
    // The one "MemoNode SaveAs" of the command layer, for the node window's node.
    auto* script = dynamic_cast<TFormMainScript*>(&window_);
    return script ? script->saveNodeAs_(node) : kFailed;
}

bool MainNodeView::printNode(MemoNode& node, std::string& operation) {
    auto* script = dynamic_cast<TFormMainScript*>(&window_);
    if (!script) return false;
    // A node in a window of its own prints what that window shows.
    if (TFormMemoNode* own = TFormMemoNode::ownWindowOf(&node)) own->frame()->UI2Model();
    const int result = script->printMemoNode_(node);
    operation = script->statusMessage();
    return result == 0;
}

bool MainNodeView::hardCopy(QWidget& window) {
    auto* script = dynamic_cast<TFormMainScript*>(&window_);
    return script && script->printPicture_(window) == 0;
}

}  // namespace zel
