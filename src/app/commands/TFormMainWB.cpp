// The web browser window's commands: showing it, sending it a web node, an
// image file or the memo text, the node editor's selection as a page, and
// the web views' "NewNode".

#include <QWindow>

#include "app/window/NodeEditor.h"
#include "app/window/Stamps.h"
#include "app/window/TFormMainScript.h"
#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "text/TextHelpers.h"
#include "views/BodyPaths.h"
#include "views/TFormWB.h"
#include "views/TFrameMemoNode.h"
#include "views/WebBrowser.h"

namespace zel {

namespace {

// The web browser window, made on first use with the window's font, in
// normal state and in front.
TFormWB& shownFormWB(TFormMainScript& window) {
    auto* form = window.companion<TFormWB>();
    form->setFont(window.font());
    // The browser obeys the tool bar's switch as it stands now.
    setWebInternetAllowed(window.internetEnabled());
    form->showNormal();
    form->raise();
    return *form;
}

}  // namespace

int TFormMainScript::UIShowFormWB() {
    shownFormWB(*this);
    messageDoing_("Show FormWB " + longStamp());
    return 0;
}

int TFormMainScript::showPage_(std::string_view html) {
    return shownFormWB(*this).showPage(html);
}

int TFormMainScript::UIMemo2WB() {
    if (!hasHolderView()) return kNoHolder;
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    UI2Model();
    if (stripQuotes(node->getField_("Content-Transfer-Encoding")) == "URL") {
        TFormWB& form = shownFormWB(*this);
        // Relative addresses start from the node's holder folder.
        form.setAddressNode(node);
        form.FrameWB1->showAddress(trimText(stripQuotes(node->getField_("Filename"))));
        return 0;
    }
    if (stripQuotes(node->getField_("Content-Type")).starts_with("image")) {
        const std::string path =
            holderRelativePath(*node, stripQuotes(node->getField_("Filename")));
        if (!fileExists(path)) {
            messageDoing_("Not Found " + path);
            return kFailed;
        }
        shownFormWB(*this).FrameWB1->showAddress(path);
        return 0;
    }
    NodeEditor* editor = nodeEditor();
    const std::string text = editor ? editor->memoText() : std::string();
    if (trimText(text).empty()) {
        messageDoing_("UIMemo2WB: No Text");
        return kFailed;
    }
    return showPage_(text);
}

int TFormMainScript::UISel2WB() {
    if (refuse(Busy)) return kFailed;
    NodeEditor* editor = nodeEditor();
    TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr;
    if (!hasHolderView() || !frame) return kNoHolder;
    return showPage_(frame->selectedText());
}

int TFormMainScript::newWebNode_(std::string_view address) {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    const std::string given = trimText(address);
    if (given.empty()) {
        messageDoing_("Cancel \"New MemoNode URL\"");
        return kFailed;
    }
    UI2Model();
    CommandScope scope(*this, "New MemoNode URL");
    if (!newNodeOfKind_(given, KindURL)) {
        scope.endWith("Failure: New MemoNode URL " + given);
        return kFailed;
    }
    scope.endWith("Done: New MemoNode URL " + given);
    return 0;
}

}  // namespace zel
