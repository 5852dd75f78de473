// Commands of the window itself: stepping through the nodes with "UP" and
// "DOWN", the size presets, the comment and fields boxes, and the menu
// entries that have no function.

#include <QScreen>

#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/TFrameMemoNode.h"

namespace zel {

namespace {

constexpr std::string_view kNotImplemented = "Still not implemented. ";
constexpr int kPresetLeft = 3;
constexpr int kPresetTop = 3;

struct SizePreset {
    int width;
    int height;
};
constexpr SizePreset kSizePresets[] = {{1600, 1200}, {1280, 1024}, {1152, 864},
                                       {1024, 768},  {800, 600},   {640, 480}};

}  // namespace

int TFormMainScript::stepCurrentNode(bool forward) {
    if (refuse(Busy)) return kFailed;
    const std::string_view way = forward ? "Next" : "Pre";
    MemoHolder* holder = getCurHolder();
    MemoNode* current = getCurMemoNode();
    MemoNode* target = nullptr;
    if (holder && current) target = forward ? holder->next_(current) : holder->previous_(current);
    if (!target || target == current) {
        messageDoing_("Not Change CurrentNode " + std::string(way) + ".");
        return kFailed;
    }
    setCurMemoNode_(target);
    // The holder knows a node's place in constant time: a script walking
    // every node stays linear.
    const int position = holder->indexOf_(target);
    messageDoing_("Done: Change CurrentNode " + std::string(way) + ": " + target->getName_() + " " +
                  std::to_string(position));
    return position;
}

int TFormMainScript::UIChangeCurrentNodePre() {
    return stepCurrentNode(false);
}

int TFormMainScript::UIChangeCurrentNodeNext() {
    return stepCurrentNode(true);
}

int TFormMainScript::UISizePos_(int width) {
    for (const SizePreset& preset : kSizePresets) {
        if (preset.width != width) continue;
        const QRect area = screen() ? screen()->geometry() : QRect(0, 0, width, preset.height);
        move(kPresetLeft, kPresetTop);
        resize(std::min(preset.width, area.width()), std::min(preset.height, area.height()));
        return 0;
    }
    return kFailed;
}

int TFormMainScript::toggleNodeBox(bool comment) {
    NodeEditor* editor = nodeEditor();
    TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr;
    if (!frame || !hasHolderView()) return kFailed;
    if (comment)
        frame->setCommentOpen(!frame->isCommentOpen());
    else
        frame->setFieldsOpen(!frame->isFieldsOpen());
    return comment ? frame->isCommentOpen() : frame->isFieldsOpen();
}

int TFormMainScript::UIToggleCommentBox() {
    return toggleNodeBox(true);
}

int TFormMainScript::UIToggleFieldsBox() {
    return toggleNodeBox(false);
}

int TFormMainScript::UISortField() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    return UINotImplemented();
}

int TFormMainScript::UIGroupTree() {
    return UISortField();
}

int TFormMainScript::UINothing() {
    return 0;
}

int TFormMainScript::UINotImplemented() {
    prompter().message(kNotImplemented);
    return kCommandNotBuilt;
}

}  // namespace zel
