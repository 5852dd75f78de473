// outline: a node's memo text read as the window's outline tree, printed as
// indented lines (two blanks a level; a kept block's lines after "| "), or
// with --roundtrip the memo text writing the tree back would give. The
// keywords follow the node's Content-Transfer-Encoding ("Poser" keeps their
// blocks whole) unless --poser or --poserlike says otherwise.

#include "cli/Outline.h"

#include <ostream>

#include "cli/Document.h"
#include "cli/Facts.h"
#include "formats/Outline.h"
#include "model/MemoNode.h"

namespace zel {

namespace {

void showItems(const ToolOutput& io, const OutlineItem& parent, int depth) {
    for (const auto& child : parent.children) {
        const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
        io.out << indent << io.shown(child->text) << '\n';
        for (const std::string& line : child->block)
            io.out << indent << "  | " << io.shown(line) << '\n';
        showItems(io, *child, depth + 1);
    }
}

Json itemsJson(const OutlineItem& parent) {
    Json items = Json::array();
    for (const auto& child : parent.children) {
        Json item = {{"text", jsonText(child->text)}};
        if (child->hasBlock()) item["block"] = jsonLines(child->block);
        if (!child->children.empty()) item["children"] = itemsJson(*child);
        items.push_back(std::move(item));
    }
    return items;
}

int runOutline(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {"--poser", "--poserlike", "--roundtrip"}, {}, split, error))
        return io.usageError(error);
    if (split.words.size() < 2 || split.words.size() > 3)
        return io.usageError("wrong number of arguments for outline");
    if (split.has("--poser") && split.has("--poserlike"))
        return io.usageError("--poser or --poserlike, not both");
    VerbDocument held;
    Document& document = *held;
    MemoNode* node = nullptr;
    if (int failed = openNamedNode(io, split.words, document, node)) return failed;
    const bool poser =
        split.has("--poser") ||
        (!split.has("--poserlike") && node->getField_("Content-Transfer-Encoding") == "\"Poser\"");
    Outline tree;
    readWholeOutline(tree, node->memo, nullptr, poser ? &poserKeywords() : nullptr);
    if (split.has("--roundtrip")) {
        std::vector<std::string> lines;
        writeOutline_(tree, &lines, nullptr);
        if (io.json) {
            io.out << Json{{"memo", jsonLines(lines)}}.dump(2) << '\n';
        } else {
            for (const std::string& line : lines) io.out << io.shown(line) << '\n';
        }
        return 0;
    }
    if (io.json)
        io.out << Json{{"node", jsonText(node->getName_())}, {"items", itemsJson(tree.root)}}.dump(
                      2)
               << '\n';
    else
        showItems(io, tree.root, 0);
    return 0;
}

}  // namespace

const ToolVerb kOutlineVerb = {
    "outline",
    "  outline FILE [HOLDER] NODE  the node's memo text as the window's outline tree,\n"
    "                            indented; --roundtrip: the memo text a write-back\n"
    "                            gives; --poser / --poserlike: keep keyword blocks\n"
    "                            whole or not (default: the node's encoding)\n",
    true, runOutline};

}  // namespace zel
