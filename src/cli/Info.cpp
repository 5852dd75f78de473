#include <ostream>

#include "cli/Document.h"
#include "cli/Facts.h"
#include "cli/Tool.h"
#include "model/MemoHolder.h"

namespace zel {

namespace {

const char* kindName(FileKind kind) {
    switch (kind) {
        case FileKind::Index:
            return "index";
        case FileKind::Container:
            return "container";
        case FileKind::Holder:
            return "holder";
        case FileKind::CompressedHolder:
            return "compressed holder";
        default:
            return "unknown";
    }
}

Json memoFileJson(const Document& document) {
    const MemoFile& file = document.file;
    Json holders = Json::array();
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        const MemoHolder& holder = *file.holderAt_(i);
        holders.push_back({{"name", jsonText(holder.getName_())},
                           {"path", jsonText(holderSource(document, holder))},
                           {"format", holderFormat(holder)},
                           {"loaded", holder.loaded},
                           {"readOnly", holder.isReadOnly_()},
                           {"nodes", holder.count_()}});
    }
    return {{"kind", kindName(document.kind)},
            {"path", jsonText(document.path)},
            {"name", jsonText(file.getName_())},
            {"fields", jsonFields(file.fields)},
            {"memo", jsonLines(file.memo)},
            {"currentHolder",
             file.currentHolder ? jsonText(file.currentHolder->getName_()) : Json(nullptr)},
            {"holders", holders}};
}

Json holderJson(const Document& document) {
    const MemoHolder& holder = *document.onlyHolder();
    Json nodes = Json::array();
    for (int i = 0; i < holder.count_(); ++i) {
        const MemoNode& node = *holder.at_(i);
        nodes.push_back({{"name", jsonText(node.getName_())}, {"marked", node.isMarked_()}});
    }
    const std::string current = currentNodeName(holder);
    return {{"kind", kindName(document.kind)},
            {"path", jsonText(document.path)},
            {"name", jsonText(holder.getName_())},
            {"format", holderFormat(holder)},
            {"settings", jsonFields(holder.fields)},
            {"currentNode", current.empty() ? Json(nullptr) : jsonText(current)},
            {"sort", holder.getSort_()},
            {"ascending", holder.getAscending_()},
            {"countSave", holder.countSave},
            {"nodes", nodes}};
}

void showFields(const ToolOutput& io, const FieldList& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) io.out << "  " << io.shown(fields[i]) << '\n';
}

void showMemoFile(const ToolOutput& io, const Document& document) {
    const MemoFile& file = document.file;
    std::ostream& out = io.out;
    out << "Memo file: " << io.shown(file.getName_()) << " (" << kindName(document.kind) << ")\n";
    out << "Path: " << io.shown(document.path) << '\n';
    out << "Fields:\n";
    showFields(io, file.fields);
    out << "Current holder: "
        << (file.currentHolder ? io.shown(file.currentHolder->getName_()) : "(none)") << '\n';
    out << "Holders: " << file.countOfHolders_() << '\n';
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        const MemoHolder& holder = *file.holderAt_(i);
        out << "  " << io.shown(holder.getName_()) << '\n';
        out << "    file: " << io.shown(holderSource(document, holder)) << '\n';
        out << "    format: " << holderFormat(holder) << (holder.isReadOnly_() ? ", read-only" : "")
            << '\n';
        out << "    nodes: ";
        if (holder.loaded)
            out << holder.count_() << '\n';
        else
            out << "not loaded\n";
    }
}

void showHolder(const ToolOutput& io, const Document& document) {
    const MemoHolder& holder = *document.onlyHolder();
    std::ostream& out = io.out;
    out << "Holder: " << io.shown(holder.getName_()) << " (" << kindName(document.kind) << ")\n";
    out << "Path: " << io.shown(document.path) << '\n';
    out << "Settings:\n";
    showFields(io, holder.fields);
    const std::string current = currentNodeName(holder);
    out << "Current node: " << (current.empty() ? "(none)" : io.shown(current)) << '\n';
    out << "Nodes: " << holder.count_() << '\n';
    for (int i = 0; i < holder.count_(); ++i) {
        const MemoNode& node = *holder.at_(i);
        out << "  " << io.shown(node.getName_()) << (node.isMarked_() ? "  [marked]" : "") << '\n';
    }
}

}  // namespace

int infoCommand(const ToolOutput& io, const std::string& path) {
    VerbDocument held;
    Document& document = *held;
    std::string error;
    if (openDocument(path, document, error) != 0) return io.fail(error);
    for (const auto& problem : document.problems)
        io.err << "warning: " << io.shown(problem) << '\n';
    if (io.json) {
        io.out << (document.isHolderFile() ? holderJson(document) : memoFileJson(document)).dump(2)
               << '\n';
    } else if (document.isHolderFile()) {
        showHolder(io, document);
    } else {
        showMemoFile(io, document);
    }
    return 0;
}

}  // namespace zel
