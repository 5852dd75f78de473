#include "model/Container.h"

#include <unordered_map>

#include "formats/TContent.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Compression.h"
#include "platform/ExternalNames.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

void fail(std::string* error, std::string why) {
    if (error) *error = std::move(why);
}

// For each holder, the index of the part that carries its file, or 0 (the
// index part) for none: the part of the same plain name, else the unclaimed
// part at the holder's place (holders are written in tab order after the index).
std::vector<std::size_t> partsOfHolders(const MemoFile& file,
                                        const std::vector<ContainerPart>& parts) {
    std::unordered_map<std::string, std::size_t> byName;
    for (std::size_t i = 1; i < parts.size(); ++i)
        if (!parts[i].fileName.empty()) byName.emplace(plainFileName(parts[i].fileName), i);
    const auto count = static_cast<std::size_t>(file.countOfHolders_());
    std::vector<std::size_t> chosen(count, 0);
    std::vector<bool> claimed(parts.size(), false);
    for (std::size_t h = 0; h < count; ++h) {
        auto found = byName.find(plainFileName(holderFilePath_(*file.holderAt_(int(h)))));
        if (found == byName.end()) continue;
        chosen[h] = found->second;
        claimed[found->second] = true;
    }
    for (std::size_t h = 0; h < count; ++h) {
        if (chosen[h] == 0 && h + 1 < parts.size() && !claimed[h + 1]) {
            chosen[h] = h + 1;
            claimed[h + 1] = true;
        }
    }
    return chosen;
}

}  // namespace

int readContainer_(std::string_view path, std::vector<ContainerPart>& parts, std::string* error) {
    std::string message;
    IoResult result = readCompressedFile(path, message);
    if (!result) {
        fail(error, result.message);
        return -1;
    }
    TContent content;
    content.parse(textLines(message));
    message.clear();
    message.shrink_to_fit();
    if (content.partCount() == 0) {
        fail(error, "Not a memo file container (no MIME parts): " + std::string(path));
        return -1;
    }
    for (std::size_t i = 0; i < content.partCount(); ++i) {
        TContent* part = content.partAt(i);
        parts.push_back({part->fileName, part->stream ? std::move(*part->stream) : std::string()});
    }
    return 0;
}

std::string containerPartTarget_(std::string_view containerPath, std::string_view partFileName) {
    std::string_view folder = folderOf(containerPath);
    return folder.empty() ? plainFileName(partFileName) : joinInsideFolder(folder, partFileName);
}

int unpackContainer_(std::string_view path, const ReplaceQuestion& mayReplace,
                     std::string* indexPath, std::string* error) {
    if (indexPath) indexPath->clear();
    std::vector<ContainerPart> parts;
    if (readContainer_(path, parts, error) != 0) return -1;
    int written = 0;
    for (const auto& part : parts) {
        if (part.fileName.empty()) continue;
        const std::string target = containerPartTarget_(path, part.fileName);
        if (pathExists(target) && mayReplace && !mayReplace(target)) continue;
        IoResult result = writeFileSafely(target, part.bytes);
        if (!result) {
            fail(error, result.message);
            return -1;
        }
        ++written;
    }
    if (indexPath && !parts.front().fileName.empty()) {
        std::string index = containerPartTarget_(path, parts.front().fileName);
        if (fileExists(index)) *indexPath = std::move(index);
    }
    return written;
}

int loadContainer_(MemoFile& file, std::string_view path, std::string* error) {
    std::vector<ContainerPart> parts;
    if (readContainer_(path, parts, error) != 0) return -1;
    const ContainerPart& index = parts.front();
    if (index.fileName.empty()) {
        fail(error, "The container's first part is not an index: " + std::string(path));
        return -1;
    }
    file.clear_();
    std::vector<std::string> errors;
    const int found = readIndexText_(file, index.bytes, errors);
    if (!errors.empty()) logLine("Markup error in the index of " + std::string(path));
    for (const auto& line : errors) logLine(line);
    if (found != 0) {
        fail(error, "No <File> element in the index of " + std::string(path));
        return -1;
    }
    file.setFilename(containerPartTarget_(path, index.fileName));

    const std::vector<std::size_t> chosen = partsOfHolders(file, parts);
    for (std::size_t h = 0; h < chosen.size(); ++h) {
        if (chosen[h] == 0) continue;
        const ContainerPart& part = parts[chosen[h]];
        MemoHolder& holder = *file.holderAt_(static_cast<int>(h));
        if (readHolderBytes_(holder, part.bytes, part.fileName) == 0) holder.loaded = true;
    }
    file.changed = false;
    return 0;
}

}  // namespace zel
