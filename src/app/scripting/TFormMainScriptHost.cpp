// The script commands of the window: the two Eval commands, "List" >
// "PPADefine", and running a script node for "New Child" > "Execute".
// Scripts run outside the busy state, so the commands they call are not
// refused as "Now Doing"; the status is set once the run has ended.

#include "app/commands/CommandKit.h"
#include "app/commands/CommandNames.h"
#include "app/commands/CommandTable.h"
#include "app/scripting/ScriptHost.h"
#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "text/TextHelpers.h"
#include "views/TFrameMemoNode.h"

namespace zel {

ScriptHost& TFormMainScript::scriptHost() {
    if (!scriptHost_) scriptHost_ = std::make_shared<ScriptHost>(*this);
    return *scriptHost_;
}

namespace {

// Eval's common part: the log is shown, the script runs in PP1.
int evalScript(TFormMainScript& window, const std::string& script) {
    window.showFormLog();
    const TPPARunResult result = window.scriptHost().runInPP1(script);
    window.messageDoing_(result.ok() ? "Done: Eval" : "ERROR: Eval");
    return result.ok() ? 0 : kFailed;
}

}  // namespace

int TFormMainScript::UIEvalMemo() {
    if (refuse(Busy) || !hasHolderView()) return kFailed;
    if (scriptHost().PP1().IsRunning()) return kFailed;
    NodeEditor* editor = nodeEditor();
    const std::string script = editor ? trimText(editor->memoText()) : std::string();
    if (script.empty()) {
        showFormLog();
        messageDoing_("No script ");
        return kFailed;
    }
    return evalScript(*this, script);
}

int TFormMainScript::UIEvalSEL() {
    if (refuse(Busy) || !getCurHolder() || !hasHolderView()) return kFailed;
    if (scriptHost().PP1().IsRunning()) return kFailed;
    NodeEditor* editor = nodeEditor();
    TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr;
    const std::string script = frame ? trimText(frame->selectedText()) : std::string();
    if (script.empty()) {
        showFormLog();
        return kFailed;
    }
    return evalScript(*this, script);
}

int TFormMainScript::UIFunctionList2Sel() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    if (!getCurHolder() || !hasHolderView() || !nodeEditor()) return kFailed;
    CommandScope scope(*this, commands::UIFunctionList2Sel);
    TPoorPascal& pp = scriptHost().PP1();
    std::vector<std::string> lines = pp.Define();
    lines.insert(lines.end(), pp.DeclarePrototype().begin(), pp.DeclarePrototype().end());
    writeListIntoSelection(lines);
    return static_cast<int>(lines.size());
}

int TFormMainScript::runScriptNode_(MemoNode& node, std::vector<std::string>& lines) {
    ScriptHost& host = scriptHost();
    // The main script is asked to stop; this command makes nothing.
    if (host.PP1().IsRunning()) {
        host.PP1().Abort();
        messageDoing_("Failure: PPA Running Now.");
        return kScriptRunsAlready;
    }
    return host.runNode(node, lines);
}

}  // namespace zel
