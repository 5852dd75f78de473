// Node windows: the current node shown apart from the main window.

#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "model/MemoNode.h"
#include "views/TFormMemoNode.h"

namespace zel {

int TFormMainScript::UIShowOtherWindow() {
    return showNodeWindow(false);
}

int TFormMainScript::UIShowReadWindow() {
    return showNodeWindow(true);
}

int TFormMainScript::showNodeWindow(bool readOnly) {
    if (refuse(Busy)) return kFailed;
    MemoNode* node = getCurMemoNode();
    NodeEditor* editor = nodeEditor();
    if (!node || !editor) return kNoNode;
    TFormMemoNode::open(editor->nodeWindowHost(), *node, readOnly);
    messageDoing_((readOnly ? "Done: Show FormMemoNodeReadOnly " : "Done: Show FormMemoNode ") +
                  node->getName_());
    return 0;
}

}  // namespace zel
