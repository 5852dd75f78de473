#include "dialogs/SaveEach.h"

#include <filesystem>

#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "model/NodeRef.h"
#include "platform/ExternalNames.h"
#include "platform/FileSystem.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::string_view kSaveEachFailed = "ERROR: SaveEach";

std::string normalized(std::string_view path) {
    // "/" and "." never stand inside a double-byte character.
    return std::filesystem::path(std::string(path)).lexically_normal().string();
}

bool isAddress(std::string_view name) {
    const std::string head = lowerText(name.substr(0, 6));
    return isWebAddress(name) || head.starts_with("ftp:") || head.starts_with("file:");
}

bool onlyDots(std::string_view name) {
    return name.find_first_not_of('.') == std::string_view::npos;
}

std::string notSaved(std::string_view name, std::string_view filename) {
    return "Not Save name=" + std::string(name) + " Filename=\"" + std::string(filename) + "\"";
}

// Where the body of a node named `filename` goes; empty when it has no
// place (an address without a folder, a name without a file-name part).
std::string targetOf(const MemoHolder& holder, const std::string& filename,
                     std::string_view directory, bool defineDirectory) {
    const std::string holderFolder(folderOf(holderFilePath_(holder)));
    if (defineDirectory) {
        const std::string name = fileNameOf(withSlashes(filename));
        if (name.empty() || onlyDots(name)) return {};
        return joinInsideFolder(directory.empty() ? holderFolder : std::string(directory), name);
    }
    if (isAddress(filename)) return {};
    const std::string path = withSlashes(filename);
    return normalized(path.starts_with('/') ? path : holderFolder + path);
}

// The file a linked node reads its body from, as loadLinkedBody_ finds it.
std::string linkedSource(const MemoHolder& holder, const std::string& filename) {
    if (!filename.starts_with('.')) return normalized(filename);
    return normalized(std::string(folderOf(holderFilePath_(holder))) + withSlashes(filename));
}

}  // namespace

SaveEachResult saveEach(MemoHolder* holder, std::string_view directory,
                        const SaveEachOptions& options, const SaveEachCalls& calls,
                        std::vector<std::string>& log) {
    SaveEachResult result;
    result.finalText = kSaveEachFailed;
    auto finish = [&] {
        log.push_back(result.finalText);
        return result;
    };
    if (!holder) return finish();
    // The list is taken first: a question lets events through, and a node
    // that went meanwhile is passed over.
    NodeList shown;
    holder->setNodeList_(shown);
    std::vector<std::pair<std::string, NodeRef>> nodes;
    nodes.reserve(shown.size());
    for (const auto& [name, node] : shown) nodes.emplace_back(name, NodeRef(node));

    for (const auto& [name, ref] : nodes) {
        MemoNode* node = ref.get();
        if (!node) continue;
        if (options.markedOnly && !node->isMarked_()) continue;
        // Blanks inside the quotes are no part of a file name either.
        const std::string filename = trimText(stripQuotes(trimText(node->getField_("Filename"))));
        if (filename.empty()) {
            log.push_back(notSaved(name, ""));
            continue;
        }
        if (calls.breakRequested && calls.breakRequested()) {
            log.push_back("*Break*");
            return finish();
        }
        node = ref.get();
        if (!node) continue;
        const std::string target = targetOf(*holder, filename, directory, options.defineDirectory);
        if (target.empty()) {
            log.push_back(notSaved(name, filename));
            continue;
        }
        if (node->isLinked_()) {
            // Unread, the body is empty; written, it would empty a file. A
            // read that failed also counts as done, so the file must be there.
            const std::string source = linkedSource(*holder, filename);
            const bool readable = node->loaded ? fileExists(source) : node->loadLinkedBody_() == 1;
            if (!readable || source == target) {
                log.push_back(notSaved(name, filename));
                continue;
            }
        }
        if (options.confirmWriteOver && fileExists(target) && calls.askWriteOver) {
            const WriteOverAnswer answer =
                calls.askWriteOver("Shall I Write Over \"" + target + "\" ?");
            if (answer == WriteOverAnswer::Cancel) {
                log.push_back("*Cancel*");
                break;
            }
            if (answer == WriteOverAnswer::No) {
                log.push_back("Should Not Save name=\"" + name + "\" Filename=\"" + target + "\"");
                continue;
            }
            log.push_back("*Write Over Filename=\"" + target + "\"");
            node = ref.get();
            if (!node) continue;
        }
        if (node->saveBody_(target) < 0) {
            log.push_back("ERROR: could not write " + target);
            continue;
        }
        log.push_back("Save " + name + " : " + target);
        ++result.saved;
        if (options.changeFilename && node->getField_("Filename") != target) {
            node->putField_("Filename", target);
            holder->changed = true;
        }
    }
    result.finalText = "Done: count of the Files saved=" + std::to_string(result.saved);
    return finish();
}

}  // namespace zel
