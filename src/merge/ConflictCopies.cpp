#include "merge/ConflictCopies.h"

#include <algorithm>
#include <cctype>

#include "platform/FileSystem.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::string_view kSyncthingMark = ".sync-conflict-";
constexpr std::string_view kConflictedCopy = "conflicted copy";

bool digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) return false;
    return std::all_of(text.begin() + at, text.begin() + at + count,
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE.EXT, the device a short id of
// letters and digits.
std::optional<ConflictCopyName> syncthingCopy(std::string_view name) {
    const std::size_t mark = name.find(kSyncthingMark);
    if (mark == std::string_view::npos) return std::nullopt;
    const std::size_t stamp = mark + kSyncthingMark.size();
    if (!digitsAt(name, stamp, 8) || name.substr(stamp + 8, 1) != "-" ||
        !digitsAt(name, stamp + 9, 6) || name.substr(stamp + 15, 1) != "-")
        return std::nullopt;
    const std::size_t device = stamp + 16;
    std::size_t end = device;
    while (end < name.size() && std::isalnum(static_cast<unsigned char>(name[end]))) ++end;
    if (end == device || (end < name.size() && name[end] != '.')) return std::nullopt;
    ConflictCopyName copy;
    copy.engine = SyncEngine::Syncthing;
    copy.original = std::string(name.substr(0, mark)) + std::string(name.substr(end));
    copy.origin = name.substr(device, end - device);
    return copy;
}

// NAME (conflicted copy ...).EXT (Nextcloud) or NAME (WHO's conflicted copy ...).EXT (Dropbox).
std::optional<ConflictCopyName> conflictedCopy(std::string_view name) {
    const std::string_view extension = extensionOf(name);
    const std::string_view stem = name.substr(0, name.size() - extension.size());
    const std::size_t words = stem.rfind(kConflictedCopy);
    if (words == std::string_view::npos || stem.back() != ')') return std::nullopt;
    const std::size_t open = stem.rfind(" (", words);
    if (open == std::string_view::npos) return std::nullopt;
    const std::string_view who = stem.substr(open + 2, words - open - 2);
    ConflictCopyName copy;
    copy.original = std::string(stem.substr(0, open)) + std::string(extension);
    if (who.empty()) {
        copy.engine = SyncEngine::Nextcloud;
        copy.origin = trimText(stem.substr(words + kConflictedCopy.size(),
                                           stem.size() - 1 - words - kConflictedCopy.size()));
        return copy;
    }
    if (!who.ends_with("'s ")) return std::nullopt;
    copy.engine = SyncEngine::Dropbox;
    copy.origin = who.substr(0, who.size() - 3);
    return copy;
}

std::optional<ConflictCopyName> parseOnce(std::string_view fileName) {
    if (auto copy = syncthingCopy(fileName)) return copy;
    return conflictedCopy(fileName);
}

}  // namespace

std::optional<ConflictCopyName> parseConflictCopyName(std::string_view fileName) {
    std::optional<ConflictCopyName> copy = parseOnce(fileName);
    if (!copy) return copy;
    // A copy of a conflict copy names the first file in the end.
    while (auto deeper = parseOnce(copy->original)) copy->original = std::move(deeper->original);
    return copy;
}

std::vector<std::string> findConflictCopies(std::string_view path) {
    const std::string folder(folderOf(path));
    const std::string name = fileNameOf(path);
    std::vector<FolderEntry> entries;
    std::vector<std::string> copies;
    if (!listFolder(folder.empty() ? "." : folder, entries)) return copies;
    for (const FolderEntry& entry : entries) {
        if (entry.isDir) continue;
        const auto copy = parseConflictCopyName(entry.name);
        if (copy && copy->original == name) copies.push_back(folder + entry.name);
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

IoResult moveToConflictsFolder(std::string_view copyPath, std::string* movedTo) {
    const std::string folder =
        std::string(folderOf(copyPath)) + std::string(kConflictsFolder) + "/";
    if (IoResult made = makeDirs(folder); !made) return made;
    const std::string name = fileNameOf(copyPath);
    const std::string_view extension = extensionOf(name);
    const std::string stem = name.substr(0, name.size() - extension.size());
    std::string target = folder + name;
    for (int n = 2; pathExists(target); ++n)
        target = folder + stem + " (" + std::to_string(n) + ")" + std::string(extension);
    if (IoResult moved = renamePath(copyPath, target); !moved) return moved;
    if (movedTo) *movedTo = target;
    return IoResult::success();
}

}  // namespace zel
