// The text tools of the [MarkWord] and [MemoNode] menus: each runs an
// operation of the node view on its active editor or its text body.

#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"
#include "views/TFrameMemoNode.h"

namespace zel {

int TFormMainScript::runTextTool(Guards guards, const std::function<int(TFrameMemoNode&)>& tool) {
    if (refuse(guards)) return kFailed;
    TFrameMemoNode* frame = nodeEditor() ? nodeEditor()->nodeFrame() : nullptr;
    return frame ? tool(*frame) : kFailed;
}

namespace {

// The tools that change the selected lines wait for no command and no
// read-only guard; some others wait for no command, the rest for nothing.
constexpr Guards kChangesLines = Busy | UIReadOnly | HolderReadOnly;
constexpr Guards kAnyTime = 0;

bool insertIntoSelection(NodeEditor* editor, std::string_view text, bool memoBox) {
    TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr;
    if (!frame) return false;
    frame->insertAtCursor(memoBox ? frame->MemoNode0 : frame->activeEditor(), text);
    return true;
}

}  // namespace

bool TFormMainScript::writeIntoSelection(const std::vector<std::string>& lines, bool memoBox) {
    return insertIntoSelection(nodeEditor(), linesText(lines), memoBox);
}

bool TFormMainScript::writeListIntoSelection(const std::vector<std::string>& lines) {
    std::string text = linesText(lines);
    if (!text.empty()) text.resize(text.size() - 2);  // the CR LF after the last line
    return insertIntoSelection(nodeEditor(), text, false);
}

int TFormMainScript::addAskedWord(std::string_view caption, std::string_view end,
                                  int (TFrameMemoNode::*add)(std::string_view)) {
    return runTextTool(kChangesLines, [this, caption, end, add](TFrameMemoNode& view) -> int {
        const std::string word = prompter().inputBox(caption, "Word", " ");
        if (word.empty()) {
            messageDoing_("Cancel: Add " + std::string(end) + " Any");
            return kFailed;
        }
        const int lines = (view.*add)(word);
        messageDoing_("UIAdd" + std::string(end) + "Any " + word);
        return lines;
    });
}

int TFormMainScript::UIAddHeadSEL_(std::string_view text) {
    return runTextTool(kChangesLines,
                       [text](TFrameMemoNode& view) { return view.addHeadSEL_(text); });
}

int TFormMainScript::UIAddHeadAny() {
    return addAskedWord("Add Head Each Line", "Head", &TFrameMemoNode::addHeadSEL_);
}

int TFormMainScript::UIAddTailSEL_(std::string_view text) {
    return runTextTool(kChangesLines,
                       [text](TFrameMemoNode& view) { return view.addTailSEL_(text); });
}

int TFormMainScript::UIAddTailAny() {
    return addAskedWord("Add Tail Each Line", "Tail", &TFrameMemoNode::addTailSEL_);
}

int TFormMainScript::UIDelHeadSEL_(long long count) {
    return runTextTool(kChangesLines,
                       [count](TFrameMemoNode& view) { return view.delHeadSEL_(count); });
}

int TFormMainScript::UIDelHeadAny() {
    if (refuse(Busy)) return kFailed;
    const std::string answer = trimText(prompter().inputBox("DEL Head", "Input number", "7"));
    const auto count = readInteger(answer);
    if (!count) {
        messageDoing_("ERROR: \"" + answer + "\" is not a valid integer value");
        return kFailed;
    }
    // A negative count would delete nothing anyway; it is refused like 0.
    if (*count <= 0) return 0;
    return UIDelHeadSEL_(*count);
}

int TFormMainScript::UIRemoveEmptyLine() {
    return runTextTool(kChangesLines,
                       [](TFrameMemoNode& view) { return view.removeEmptyLineSEL(); });
}

int TFormMainScript::UISortSEL() {
    return runTextTool(kChangesLines, [](TFrameMemoNode& view) { return view.sortSEL(); });
}

int TFormMainScript::UIReverseSEL() {
    return runTextTool(kChangesLines, [](TFrameMemoNode& view) { return view.reverseSEL(); });
}

int TFormMainScript::UISetNumberSEL_(std::string_view format) {
    return runTextTool(kChangesLines, [this, format](TFrameMemoNode& view) {
        const int lines = view.setNumberSEL_(format);
        messageDoing_("Done: UISetNumberSEL_ Format=" + std::string(format) +
                      " Count Of Line=" + std::to_string(lines));
        return lines;
    });
}

int TFormMainScript::UISetNumberSELAuto() {
    return runTextTool(kChangesLines, [this](TFrameMemoNode& view) {
        // As many digits as the line count has.
        const std::string width = std::to_string(std::to_string(view.selectedLineCount()).size());
        const std::string format = "%" + width + "d";
        const int lines = view.setNumberSEL_(format);
        messageDoing_("Done: UISetNumberSEL_ Format=" + format +
                      " Count Of Line=" + std::to_string(lines));
        return lines;
    });
}

int TFormMainScript::UIOneLine() {
    return runTextTool(kAnyTime, [](TFrameMemoNode& view) { return view.oneLineSEL(); });
}

int TFormMainScript::UILFSEL() {
    return runTextTool(kAnyTime, [](TFrameMemoNode& view) { return view.lfSEL(); });
}

int TFormMainScript::UIAddName() {
    return runTextTool(kAnyTime, [](TFrameMemoNode& view) { return view.addNameSEL(false); });
}

int TFormMainScript::UIAddNamePlus() {
    return runTextTool(Busy, [](TFrameMemoNode& view) { return view.addNameSEL(true); });
}

int TFormMainScript::UIReplaceName() {
    return runTextTool(kAnyTime, [](TFrameMemoNode& view) { return view.replaceNameSEL(); });
}

int TFormMainScript::UISortMemo() {
    return runTextTool(kAnyTime, [](TFrameMemoNode& view) { return view.sortMemo(); });
}

int TFormMainScript::UINumberMemo() {
    return runTextTool(kAnyTime, [](TFrameMemoNode& view) { return view.numberMemo(); });
}

int TFormMainScript::UINoDupMemo() {
    return runTextTool(kAnyTime, [](TFrameMemoNode& view) { return view.noDupMemo(); });
}

int TFormMainScript::UIMarkDupMemo() {
    return runTextTool(kAnyTime, [](TFrameMemoNode& view) { return view.markDupMemo(); });
}

int TFormMainScript::UITrimSEL() {
    return runTextTool(Busy, [](TFrameMemoNode& view) { return view.trimSEL(); });
}

int TFormMainScript::UITagWordListSEL() {
    return runTextTool(Busy, [](TFrameMemoNode& view) { return view.tagWordListSEL(); });
}

int TFormMainScript::UIStatus2SEL() {
    return runTextTool(Busy, [this](TFrameMemoNode& view) {
        view.insertAtCursor(view.activeEditor(), statusMessage());
        return 0;
    });
}

int TFormMainScript::UIClearMemo() {
    return runTextTool(Busy, [](TFrameMemoNode& view) {
        view.setMemoLines({});
        return 0;
    });
}

int TFormMainScript::UICountWords() {
    return runTextTool(Busy, [this](TFrameMemoNode& view) -> int {
        const std::string word = trimText(prompter().inputBox("", "", view.selectedText()));
        if (word.empty()) return kFailed;
        int times = 0;
        {
            CommandScope scope(*this, "Count Words");
            times = view.countWords_(word);
        }
        messageDoing_(std::to_string(times) + "times,  \"" + word + "\"");
        return times;
    });
}

}  // namespace zel
