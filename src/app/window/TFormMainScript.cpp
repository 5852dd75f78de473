#include "app/window/TFormMainScript.h"

#include <QPrinter>

#include "app/scripting/ScriptHost.h"
#include "app/window/NodeEditor.h"
#include "app/window/Stamps.h"
#include "model/MemoNode.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"
#include "views/TFormMemoNode.h"
#include "views/ViewText.h"

namespace zel {

namespace {

constexpr int kAboutMilliseconds = 5000;

}  // namespace

int TFormMainScript::UI2Model() {
    MemoNode* node = getCurMemoNode();
    if (!node) return kFailed;
    // A node in a window of its own is edited there.
    if (TFormMemoNode* own = TFormMemoNode::ownWindowOf(node)) {
        own->frame()->UI2Model();
        return kFailed;
    }
    // A view left behind shows another node, whose text it wrote back
    // before it was left.
    if (nodeEditorBehind_) return kFailed;
    NodeEditor* editor = nodeEditor();
    if (!editor) return kFailed;
    editor->writeNode(*node);
    return 0;
}

void TFormMainScript::Model2UI() {
    if (!isVisible() && scriptHost_ && scriptHost_->isAnyRunning()) {
        nodeEditorBehind_ = true;
        refreshReadOnlyIndicator();
        return;
    }
    nodeEditorBehind_ = false;
    showCurrentNode();
}

void TFormMainScript::catchUpNodeEditor() {
    if (!nodeEditorBehind_) return;
    nodeEditorBehind_ = false;
    showCurrentNode();
}

void TFormMainScript::showEvent(QShowEvent* event) {
    catchUpNodeEditor();
    TFormMainBaseZEL::showEvent(event);
}

void TFormMainScript::showCurrentNode() {
    if (NodeEditor* editor = nodeEditor()) {
        if (TFormMemoNode* own = TFormMemoNode::ownWindowOf(getCurMemoNode())) {
            editor->setEditorVisible(false);
            own->raise();
            own->activateWindow();
        } else {
            editor->setEditorVisible(true);
            editor->showNode(getCurMemoNode());
        }
    }
    refreshReadOnlyIndicator();
}

TFormMainScript::TFormMainScript(QWidget* parent) : TFormMainBaseZEL(parent) {}

TFormMainScript::~TFormMainScript() = default;

void TFormMainScript::setApplicationTitle(std::string_view title) {
    applicationTitle_ = title;
    setWindowIconText(toQt(title));
}

void TFormMainScript::setCaption_() {
    const std::string path = aFile->getMemoFilePath_();
    setWindowTitle(toQt(baseNameOf(exePath) + " " + path));
    std::string name = fileNameOf(path);
    setApplicationTitle(name.empty() ? fileNameOf(exePath) : name);
    refreshColor();
}

int TFormMainScript::UINewNode() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    CommandScope scope(*this, "New MemoNode");
    if (newNodeOfKind_("", KindFile)) return 0;
    scope.endWith("Failure: New MemoNode");
    return kFailed;
}

int TFormMainScript::UIShowVersion() {
    std::vector<std::string> lines;
    writeVersionTS_(lines);
    prompter().ask(Tone::Confirmation, linesText(lines), ButtonOk);
    messageDoing_(exePath + " Ver " + LabeledEdit_Version + " " + LabeledEdit_ReleaseDate);
    return 0;
}

int TFormMainScript::UIShowLog() {
    int result = showFormLog();
    messageDoing_("Show FormLog " + longStamp());
    return result;
}

int TFormMainScript::UIShowAbout() {
    showAbout(kAboutMilliseconds);
    messageDoing_("Done: Show FormAbout. Close After 5 seconds.");
    return 0;
}

}  // namespace zel
