#include "dialogs/FileListNodes.h"

#include <memory>
#include <utility>

#include "dialogs/FieldEdit.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr int kLinesPerBreakCheck = 50;

struct TemplateField {
    std::string key;
    std::string value;
};

std::vector<TemplateField> templateFields(const std::vector<std::string>& lines) {
    std::vector<TemplateField> fields;
    for (const std::string& given : lines) {
        const std::string line = trimText(given);
        const std::size_t equals = line.find('=');
        TemplateField field;
        field.key = trimText(line.substr(0, equals));
        if (equals != std::string::npos) field.value = line.substr(equals + 1);
        // A key the record markup cannot carry would corrupt every node.
        if (isStorableFieldKey(field.key)) fields.push_back(std::move(field));
    }
    return fields;
}

// A copy of `pattern` entered beside the current node, as copies are placed;
// at the end when the holder sorts itself anyway.
MemoNode* enterCopy(MemoHolder& holder, const MemoNode& pattern, bool sorted) {
    std::unique_ptr<MemoNode> copy = holder.newNode_();
    copy->copyFrom_(pattern);
    MemoNode* made = copy.get();
    MemoNode* current = sorted ? nullptr : holder.getCurrent_();
    const int at = current ? holder.indexOf_(current) : -1;
    if (at >= 0)
        holder.insertNode_(std::move(copy), pattern.getName_(), at);
    else
        holder.addNode_(std::move(copy), pattern.getName_());
    if (!made->getField_("UID").empty()) made->newUID_();
    return made;
}

}  // namespace

std::vector<std::string> defaultFileListTemplate() {
    return {"FlagLink=\"true\"", "Created=\"20040102\"", "Modified=\"20040102\""};
}

FileListNodesMade makeNodesFromLines(MemoHolder& holder, const std::vector<std::string>& lines,
                                     const FileListNodeOptions& options,
                                     const FileListNodeRun& run) {
    FileListNodesMade made;
    const std::vector<TemplateField> fields = templateFields(options.templateLines);
    // Sorting after every node would make a long list quadratic; a sorted
    // holder takes its nodes at the end and is sorted once.
    const bool sorted = holder.getSort_();
    MemoNode* const current = holder.currentNode;
    if (sorted) {
        holder.nodes->flagSort = false;
        holder.currentNode = nullptr;
    }
    int seen = 0;
    for (const std::string& line : lines) {
        if (++seen % kLinesPerBreakCheck == 0 && run.breakRequested && run.breakRequested()) {
            made.broken = true;
            break;
        }
        if (trimmedView(line).empty()) continue;
        const std::string path = options.trimLines ? trimText(line) : line;
        MemoNode* node = run.pattern ? enterCopy(holder, *run.pattern, sorted) : holder.makeNode_();
        // Paths written on the other desktop separate with backslashes too.
        std::string name = options.nameFromFileName ? fileNameOf(withSlashes(path)) : path;
        node->putName_as_(name.empty() ? path : name);
        if (options.setFilename) node->putField_("Filename", wrapQuotes(path));
        if (options.setLink) node->putField_("Link", wrapQuotes(path));
        for (const TemplateField& field : fields) node->putField_(field.key, field.value);
        if (!made.first) made.first = node;
        made.last = node;
        ++made.count;
    }
    if (sorted) {
        holder.nodes->flagSort = true;
        holder.currentNode = current;
        if (made.count > 0) {
            if (run.reorder)
                run.reorder(holder);
            else
                holder.nodes->keepOrder_();
        }
    }
    if (made.count > 0) holder.changed = true;
    return made;
}

}  // namespace zel
