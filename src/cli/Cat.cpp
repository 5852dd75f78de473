#include <ostream>

#include "cli/Document.h"
#include "cli/Facts.h"
#include "cli/Tool.h"
#include "formats/Base64.h"
#include "formats/TContent.h"
#include "model/MemoHolder.h"

namespace zel {

namespace {

const std::string* bodyOf(const MemoNode& node) {
    return node.isBinary_() && node.content && node.content->stream ? &*node.content->stream
                                                                    : nullptr;
}

Json nodeJson(const MemoHolder& holder, const MemoNode& node) {
    const std::string* body = bodyOf(node);
    return {{"holder", jsonText(holder.getName_())},
            {"name", jsonText(node.getName_())},
            {"fields", jsonFields(node.fields)},
            {"comment", jsonLines(node.comment)},
            {"memo", jsonLines(node.memo)},
            {"body", body ? Json(base64Encode_(*body)) : Json(nullptr)}};
}

void showLines(const ToolOutput& io, const std::vector<std::string>& lines,
               std::string_view indent) {
    for (const auto& line : lines) io.out << indent << io.shown(line) << '\n';
}

void showNode(const ToolOutput& io, const MemoNode& node) {
    std::ostream& out = io.out;
    out << "Name: " << io.shown(node.getName_()) << '\n';
    out << "Fields:\n";
    for (std::size_t i = 0; i < node.fields.size(); ++i)
        out << "  " << io.shown(node.fields[i]) << '\n';
    out << "Comment:\n";
    showLines(io, node.comment, "  ");
    if (const std::string* body = bodyOf(node)) out << "Body: " << body->size() << " bytes\n";
    out << "Memo:\n";
    showLines(io, node.memo, "");
}

}  // namespace

int catCommand(const ToolOutput& io, const std::string& path, const std::string& holderName,
               const std::string& nodeName) {
    VerbDocument held;
    Document& document = *held;
    std::string error;
    if (openDocument(path, document, error) != 0) return io.fail(error);
    const MemoHolder* holder = chooseHolder(document, holderName);
    if (!holder) return io.fail("No holder named " + holderName + " in " + path);
    if (!holder->loaded) return io.fail("The holder " + holder->getName_() + " could not be read");
    const MemoNode* node = chooseNode(*holder, nodeName);
    if (!node) return io.fail("No node named " + nodeName + " in the holder " + holder->getName_());
    if (io.json)
        io.out << nodeJson(*holder, *node).dump(2) << '\n';
    else
        showNode(io, *node);
    return 0;
}

}  // namespace zel
