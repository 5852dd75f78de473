// The web browser window's commands: showing it, sending it a web node, an
// image file or the memo text, the node editor's selection as a page, and
// the web views' "NewNode".

#include <QWindow>

#include "app/NodeEditor.h"
#include "app/NodePaths.h"
#include "app/Stamps.h"
#include "app/TFormMainScript.h"
#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "text/TextHelpers.h"
#include "views/TFormWB.h"
#include "views/TFrameMemoNode.h"
#include "views/WebBrowser.h"

namespace zel {

namespace {

// The web browser window, made on first use with the window's font, in
// normal state and in front; none when it could not be made.
TFormWB* shownFormWB(TFormMainScript& window) {
    auto* form = window.companion<TFormWB>();
    if (!form) {
        window.messageDoing_("Failure: FormWB.create.");
        window.addLog_("Failure: FormWB.create.");
        return nullptr;
    }
    form->setFont(window.font());
    // The browser obeys the tool bar's switch as it stands now.
    setWebInternetAllowed(window.internetEnabled());
    form->showNormal();
    form->raise();
    return form;
}

}  // namespace

int TFormMainScript::UIShowFormWB() {
    if (!shownFormWB(*this)) return -1;
    messageDoing_("Show FormWB " + longStamp());
    return 0;
}

int TFormMainScript::showPage_(std::string_view html) {
    TFormWB* form = shownFormWB(*this);
    if (!form) return -1;
    return form->showPage(html);
}

int TFormMainScript::UIMemo2WB() {
    if (!hasHolderView()) return -9;
    MemoNode* node = getCurMemoNode();
    if (!node) return -8;
    UI2Model();
    if (stripQuotes(node->getField_("Content-Transfer-Encoding")) == "URL") {
        TFormWB* form = shownFormWB(*this);
        if (!form) return -1;
        // Relative addresses start from the node's holder folder.
        form->setAddressNode(node);
        form->FrameWB1->showAddress(trimText(stripQuotes(node->getField_("Filename"))));
        return 0;
    }
    if (stripQuotes(node->getField_("Content-Type")).starts_with("image")) {
        const std::string path = expandRelative(*node, stripQuotes(node->getField_("Filename")));
        if (!fileExists(path)) {
            messageDoing_("Not Found " + path);
            return -1;
        }
        TFormWB* form = shownFormWB(*this);
        if (!form) return -1;
        form->FrameWB1->showAddress(path);
        return 0;
    }
    NodeEditor* editor = nodeEditor();
    const std::string text = editor ? editor->memoText() : std::string();
    if (trimText(text).empty()) {
        messageDoing_("UIMemo2WB: No Text");
        return -1;
    }
    return showPage_(text);
}

int TFormMainScript::UISel2WB() {
    if (nowDoing()) return -1;
    NodeEditor* editor = nodeEditor();
    TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr;
    if (!hasHolderView() || !frame) return -9;
    return showPage_(frame->selectedText());
}

int TFormMainScript::newWebNode_(std::string_view address) {
    if (nowDoing()) return -1;
    if (checkUIReadOnly() || checkHolderReadOnly()) return -1;
    const std::string given = trimText(address);
    if (given.empty()) {
        messageDoing_("Cancel \"New MemoNode URL\"");
        return -1;
    }
    UI2Model();
    startDoing_("New MemoNode URL");
    if (!newNodeOfKind_(given, KindURL)) {
        doneDoing_("Failure: New MemoNode URL " + given);
        return -1;
    }
    doneDoing_("Done: New MemoNode URL " + given);
    return 0;
}

}  // namespace zel
