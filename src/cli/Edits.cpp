#include "cli/Edits.h"

#include <ostream>

#include "cli/Document.h"
#include "cli/Tool.h"
#include "model/HolderFile.h"
#include "model/MemoFileSave.h"
#include "model/MemoHolder.h"
#include "text/Sjis.h"

namespace zel {

int editTrouble(const ToolOutput& io, std::string_view sjisMessage) {
    io.fail(sjisMessage);
    return kEditTrouble;
}

bool storedWhole(const ToolOutput& io, const std::string& argument, std::string& text) {
    if (io.raw) {
        text = argument;
        return true;
    }
    std::size_t replaced = 0;
    text = utf8ToSjis(argument, &replaced);
    return replaced == 0;
}

int openEdited(const ToolOutput& io, const std::string& path, bool writing, Document& document,
               const HolderFileWanted& wanted) {
    std::string error;
    if (const int opened = openDocument(path, document, error, writing, wanted); opened != 0) {
        if (opened == -2) return io.fail(error);
        return editTrouble(io, error);
    }
    for (const auto& problem : document.problems) io.err << io.shown(problem) << '\n';
    if (writing && !document.problems.empty())
        return editTrouble(io, "Nothing written: " + path + " could not be read completely");
    return 0;
}

int saveDocumentSet(const ToolOutput& io, Document& document, const MemoFileSaveRequest& request,
                    int troubleStatus) {
    const MemoFileSaveResult saved = saveMemoFileSet_(document.file, request);
    if (!saved.ok) {
        io.fail(saved.error);
        return saved.conflict ? kWriterConflict : troubleStatus;
    }
    for (const auto& [path, size] : saved.written) io.err << "Saved " << io.shown(path) << '\n';
    return 0;
}

int saveChangedHolders(const ToolOutput& io, Document& document,
                       const std::vector<MemoHolder*>& holders) {
    MemoFileSaveRequest request;
    if (document.kind == FileKind::Container) {
        request.indexPath = document.path;
    } else {
        for (MemoHolder* holder : holders)
            request.holders.emplace_back(holder, holderSource(document, *holder));
    }
    return saveDocumentSet(io, document, request, kEditTrouble);
}

}  // namespace zel
