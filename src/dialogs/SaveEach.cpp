#include "dialogs/SaveEach.h"

#include <filesystem>

#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "model/NodeRef.h"
#include "platform/ExternalNames.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileBatch.h"
#include "platform/SafeFileWriter.h"
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

// The files written but not yet in place: one sync for many files instead of
// two for each. A node's log line and count wait for the batch's commit, and
// the batch is committed whenever what comes next depends on a file of it
// being there (a question about a file it holds, a body read from one, a
// folder made where it puts a file), so every outcome is as if each file had
// been replaced at once.
class PendingSaves {
  public:
    PendingSaves(MemoHolder& holder, bool changeFilename, std::vector<std::string>& log,
                 SaveEachResult& result)
        : holder_(holder), changeFilename_(changeFilename), log_(log), result_(result) {}
    PendingSaves(const PendingSaves&) = delete;
    PendingSaves& operator=(const PendingSaves&) = delete;

    // Writes the body of `node` for `target`; false (nothing queued) when it
    // cannot be written.
    bool save(MemoNode& node, const std::string& name, const std::string& target) {
        bool queued = false;
        const long long written = node.saveBodyWith_(
            target, [this, &queued](std::string_view path, std::string_view bytes) {
                batch_.add(path, bytes);
                queued = true;
                return true;
            });
        if (written < 0 || !queued) return false;
        pending_.push_back({log_.size(), NodeRef(&node), target});
        log_.push_back("Save " + name + " : " + target);
        if (batch_.full()) commit();
        return true;
    }

    // Commits first when `path` is one of the files waiting, or when one of
    // them is to stand where a folder must be made for it.
    void settleFor(const std::string& path) {
        if (pending_.empty()) return;
        if (batch_.holds(path)) return commit();
        std::filesystem::path at(path);
        if (dirExists(at.parent_path().string())) return;
        for (at = at.parent_path(); !at.empty() && at != at.parent_path(); at = at.parent_path())
            if (batch_.holds(at.string())) return commit();
    }

    void commit() {
        if (pending_.empty()) return;
        const std::vector<IoResult> outcomes = batch_.commit();
        for (std::size_t i = 0; i < pending_.size(); ++i) {
            const Pending& done = pending_[i];
            if (i >= outcomes.size() || !outcomes[i]) {
                log_[done.logLine] = "ERROR: could not write " + done.target;
                continue;
            }
            ++result_.saved;
            MemoNode* node = done.node.get();
            if (changeFilename_ && node && node->getField_("Filename") != done.target) {
                node->putField_("Filename", done.target);
                holder_.changed = true;
            }
        }
        pending_.clear();
    }

  private:
    struct Pending {
        std::size_t logLine;
        NodeRef node;
        std::string target;
    };

    MemoHolder& holder_;
    const bool changeFilename_;
    std::vector<std::string>& log_;
    SaveEachResult& result_;
    SafeFileBatch batch_;
    std::vector<Pending> pending_;
};

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

    PendingSaves saves(*holder, options.changeFilename, log, result);
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
            saves.commit();
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
            saves.settleFor(source);
            const bool readable = node->loaded ? fileExists(source) : node->loadLinkedBody_() == 1;
            if (!readable || source == target) {
                log.push_back(notSaved(name, filename));
                continue;
            }
        }
        saves.settleFor(target);
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
        if (!saves.save(*node, name, target)) log.push_back("ERROR: could not write " + target);
    }
    saves.commit();
    result.finalText = "Done: count of the Files saved=" + std::to_string(result.saved);
    return finish();
}

}  // namespace zel
