// Commands that change file fields and names of many nodes at once: paths
// made relative to the holder file, names cut to their file-name part, and
// the Update field taken from each node's bullet line.

#include "app/window/TFormMainScript.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/RenameRules.h"

namespace zel {

namespace {

constexpr std::string_view kBullet = "\x81\x9C";  // "●" in Shift_JIS

std::string holderFolder(const MemoHolder& holder) {
    return std::string(folderOf(holderFilePath_(holder)));
}

std::vector<MemoNode*> nodesOf(const MemoHolder& holder) {
    NodeList listed;
    holder.setNodeList_(listed);
    std::vector<MemoNode*> nodes;
    nodes.reserve(listed.size());
    for (auto& [name, node] : listed) nodes.push_back(node);
    return nodes;
}

}  // namespace

int TFormMainScript::UISetRelativePath() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    MemoNode* node = getCurMemoNode();
    if (!holder || !node) return kFailed;
    UI2Model();
    node->makeRelative_("Filename", holderFolder(*holder));
    holder->changed = true;
    Model2UI();
    return 0;
}

int TFormMainScript::changeEveryNode(std::string_view doing,
                                     const std::function<void(MemoNode&)>& change) {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    if (holder->count_() == 0) {
        messageDoing_("No MemoNode.");
        return 0;
    }
    CommandScope scope(*this, std::string(doing) + std::to_string(holder->count_()));
    UI2Model();
    // Renaming may reorder a sorted holder: the nodes are taken first.
    for (MemoNode* node : nodesOf(*holder)) change(*node);
    holder->changed = true;
    Model2UI();
    return holder->count_();
}

int TFormMainScript::UISetRelativePathHolder() {
    MemoHolder* holder = getCurHolder();
    const std::string folder = holder ? holderFolder(*holder) : std::string();
    return changeEveryNode("Set Relative Paht MemoHolder=",
                           [&folder](MemoNode& node) { node.makeRelative_("Filename", folder); });
}

int TFormMainScript::UIExtractFilenameHolder() {
    return changeEveryNode("ExtractFilename MemoHolder=",
                           [](MemoNode& node) { node.putName_as_(fileNamePart(node.getName_())); });
}

int TFormMainScript::UISetUpdate() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    UI2Model();
    int updated = 0;
    for (MemoNode* node : nodesOf(*holder)) {
        const std::string line = trimText(node->getBulletLine_());
        if (!line.starts_with(kBullet)) continue;
        const std::string word = splitFirstWord(line).first.substr(kBullet.size());
        node->putField_("Update", wrapQuotes(word));
        ++updated;
    }
    if (updated > 0) holder->changed = true;
    Model2UI();
    return updated;
}

}  // namespace zel
