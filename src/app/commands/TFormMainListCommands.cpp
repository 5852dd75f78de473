// Generated text written into the node editor's selection (lists of nodes,
// marks and holders, a field table, the version report, the memo file's
// markup, the CSV export), and nodes made from the lines of the memo text.

#include <unordered_set>

#include "app/commands/CommandNames.h"
#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "dialogs/FileListNodes.h"
#include "dialogs/ui/DialogHost.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

std::vector<std::string> namesOf(const NodeList& nodes) {
    std::vector<std::string> names;
    names.reserve(nodes.size());
    for (const auto& [name, node] : nodes) names.push_back(name);
    return names;
}

}  // namespace

int TFormMainScript::UINodesList2SEL() {
    MemoHolder* holder = getCurHolder();
    if (!holder || !nodeEditor()) return kFailed;
    NodeList nodes;
    holder->setNodeList_(nodes);
    writeListIntoSelection(namesOf(nodes));
    return 0;
}

int TFormMainScript::UIMarkList2Sel() {
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoNode;
    if (!nodeEditor()) return kMissingView;
    CommandScope scope(*this, "UIMarkList2Sel " + holder->getName_());
    NodeList marked;
    holder->collectMarked_(marked);
    writeListIntoSelection(namesOf(marked));
    return 0;
}

int TFormMainScript::UIHolderList2Sel() {
    if (refuse(Busy) || !nodeEditor()) return kFailed;
    CommandScope scope(*this, commands::UIHolderList2Sel);
    std::vector<std::string> names;
    for (int i = 0; i < aFile->countOfHolders_(); ++i)
        names.push_back(aFile->holderAt_(i)->getName_());
    writeListIntoSelection(names);
    return 0;
}

int TFormMainScript::UIMakeListNameValue(bool valueFirst) {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder || !nodeEditor()) return kFailed;
    UI2Model();
    const std::string key =
        trimText(prompter().inputBox("Input the name of Field.", "Field's Name", ""));
    if (key.empty()) return kFailed;
    CommandScope scope(*this, "Make List Name, Field Value");
    // The first line is the comment line the CSV reader skips, the second
    // the header, so "CSV->Holder" reads the table back.
    std::vector<std::string> lines{"# zel.exe " + getDateFormat(), "name, " + key};
    NodeList nodes;
    holder->setNodeList_(nodes);
    for (const auto& [name, node] : nodes) {
        const std::string value = node->getField_(key);
        lines.push_back(valueFirst ? value + "," + name : name + "," + value);
    }
    writeIntoSelection(lines);
    return static_cast<int>(nodes.size());
}

int TFormMainScript::UIVersion2SEL() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !nodeEditor()) return kFailed;
    std::vector<std::string> lines;
    writeVersionTS_(lines);
    writeListIntoSelection(lines);
    messageDoing_(exePath + " Ver " + LabeledEdit_Version);
    return 0;
}

int TFormMainScript::UIFileMXA2Sel() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !nodeEditor()) return kFailed;
    CommandScope scope(*this, commands::UIFileMXA2Sel);
    std::vector<std::string> lines;
    aFile->writeMemoFile_(lines);
    writeListIntoSelection(lines);
    return 0;
}

int TFormMainScript::UICSV2Sel() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !nodeEditor()) return kFailed;
    auto* holder = dynamic_cast<MemoHolderUI*>(getCurHolder());
    if (!holder) return kFailed;
    CommandScope scope(*this, "CSV");
    std::vector<std::string> lines;
    holder->exportLines_(lines);
    writeIntoSelection(lines);
    return static_cast<int>(lines.size());
}

int TFormMainScript::UIFieldsList2Sel() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !nodeEditor()) return kFailed;
    CommandScope scope(*this, commands::UIFieldsList2Sel);
    std::vector<std::string> keys;
    const int count = getCurHolder()->collectFieldKeys_(keys);
    writeListIntoSelection(keys);
    return count;
}

int TFormMainScript::UICheckHolder() {
    if (refuse(Busy) || !nodeEditor()) return kFailed;
    std::vector<std::string> lines;
    std::unordered_set<std::string> included;
    for (int i = 0; i < aFile->countOfHolders_(); ++i) {
        const MemoHolder* holder = aFile->holderAt_(i);
        const std::string file = holderFilePath_(*holder);
        lines.push_back(file + (fileExists(file) ? " exists" : " not exists"));
        included.insert(lowerText(holder->getName_()));
    }
    lines.emplace_back();
    std::vector<std::string> found;
    listFilesRecursive(found, aFile->getMemoFileDir_(), [this] { return isBreakRequested(); });
    for (const std::string& file : found) {
        if (lowerText(extensionOf(file)) != ".mxh") continue;
        const bool known = included.contains(lowerText(baseNameOf(file)));
        lines.push_back(file + (known ? " included" : " not include"));
    }
    writeIntoSelection(lines);
    return static_cast<int>(lines.size());
}

MemoNode* TFormMainScript::nodesFromMemoLines(MemoHolder& holder, const MemoHolder& templates,
                                              int& made) {
    // The file list window's Make Nodes, with the lines as written.
    FileListNodeOptions options;
    options.nameFromFileName = false;
    options.trimLines = false;
    FileListNodeRun run;
    if (dynamic_cast<MemoHolderUI*>(&holder)) run.pattern = templates.byName_("*");
    run.reorder = [this](MemoHolder& sorted) { dialogHost().holderSettingsChanged(sorted); };
    const FileListNodesMade result =
        makeNodesFromLines(holder, textLines(nodeEditor()->memoText()), options, run);
    made = result.count;
    return result.first;
}

int TFormMainScript::UIMemoNode2NewNodes() {
    // Nodes go into the current holder, as every new node does: not into a
    // read-only one.
    if (refuse(Busy | UIReadOnly | HolderReadOnly) || !nodeEditor()) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kFailed;
    UI2Model();
    CommandScope scope(*this, commands::UIMemoNode2NewNodes);
    int made = 0;
    nodesFromMemoLines(*holder, *holder, made);
    holder->changed = true;
    aFile->changed = true;
    scope.endWith("Done:UIMemoNode2NewNodes count=" + std::to_string(made));
    return made;
}

int TFormMainScript::UIMemoNode2Holder() {
    if (refuse(Busy) || !nodeEditor()) return kFailed;
    MemoHolder* source = getCurHolder();
    if (!source) return kFailed;
    UI2Model();
    CommandScope scope(*this, commands::UIMemoNode2Holder);
    MemoHolder* target = newHolder_(-1);
    refreshHolderList();
    int made = 0;
    MemoNode* first = nodesFromMemoLines(*target, *source, made);
    // A holder that got no line still shows with one node.
    if (!first) first = target->makeNode_();
    target->setCurrent_(first);
    aFile->changed = true;
    changeHolder_(target);
    scope.endWith("Done:UIMemoNode2Holder count=" + std::to_string(made));
    return made;
}

}  // namespace zel
