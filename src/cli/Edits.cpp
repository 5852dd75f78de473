#include "cli/Edits.h"

#include <ostream>

#include "cli/Document.h"
#include "cli/Tool.h"
#include "model/HolderFile.h"
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

int openEdited(const ToolOutput& io, const std::string& path, bool writing, Document& document) {
    std::string error;
    if (openDocument(path, document, error) != 0) return editTrouble(io, error);
    for (const auto& problem : document.problems) io.err << io.shown(problem) << '\n';
    if (writing && !document.problems.empty())
        return editTrouble(io, "Nothing written: " + path + " could not be read completely");
    return 0;
}

bool saveChangedHolders(const ToolOutput& io, Document& document,
                        const std::vector<MemoHolder*>& holders) {
    if (document.kind == FileKind::Container) {
        if (document.file.writeContainer_(document.path) < 0) {
            io.fail(document.file.lastError());
            return false;
        }
        io.err << "Saved " << io.shown(document.path) << '\n';
        return true;
    }
    std::string error;
    for (MemoHolder* holder : holders) {
        const std::string target = holderSource(document, *holder);
        if (saveHolderFile_(*holder, target, &error) < 0) {
            io.fail(error);
            return false;
        }
        holder->changed = false;
        io.err << "Saved " << io.shown(target) << '\n';
    }
    return true;
}

}  // namespace zel
