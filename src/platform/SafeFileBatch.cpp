#include "platform/SafeFileBatch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>

#include "platform/OsPath.h"
#include "platform/SafeFileSteps.h"

namespace zel {

using namespace safe_file;

SafeFileBatch::SafeFileBatch(LinkPolicy links) : links_(links), openLimit_(batchOpenLimit()) {}

SafeFileBatch::~SafeFileBatch() = default;

void SafeFileBatch::add(std::string_view path, std::string_view bytes) {
    auto writer = std::make_unique<SafeFileWriter>(path, links_);
    // Written out now, so a batch holds descriptors, not bytes.
    if (writer->append(bytes)) writer->flushBuffer();
    std::string().swap(writer->buffer_);
    if (!writer->targetOs_.empty()) targets_.insert(absolute(writer->targetOs_));
    writers_.push_back(std::move(writer));
}

bool SafeFileBatch::holds(std::string_view path) const {
    std::string target;
    if (!resolveTarget(toOsPath(path), links_, path, target)) return false;
    return targets_.contains(absolute(target));
}

std::vector<IoResult> SafeFileBatch::commit() {
    std::vector<std::unique_ptr<SafeFileWriter>> writers;
    writers.swap(writers_);
    targets_.clear();
    auto good = [](const auto& writer) { return writer->status().ok && writer->fd_ >= 0; };
    for (const auto& writer : writers) writer->prepare(true, false);

    // Every temporary file complete on disk before any rename. When a file
    // system's sync fails, each file there is synced on its own, so only the
    // one that cannot be is not put in place.
    std::map<dev_t, bool> synced;
    for (const auto& writer : writers) {
        struct stat st {};
        if (!good(writer)) continue;
        if (::fstat(writer->fd_, &st) != 0) {
            writer->fail(errnoFailure("Could not write", writer->path_, errno));
            continue;
        }
        auto [at, first] = synced.try_emplace(st.st_dev, false);
        if (first) at->second = syncFileSystemOf(writer->fd_);
        if (!at->second && !syncFile(writer->fd_))
            writer->fail(errnoFailure("Could not write", writer->path_, errno));
    }

    std::map<std::string, std::vector<SafeFileWriter*>> folders;
    for (const auto& writer : writers) {
        if (!good(writer)) continue;
        int lockedFd = -1;
        if (writer->publish(lockedFd, false))
            folders[folderOf(writer->targetOs_)].push_back(writer.get());
        if (lockedFd >= 0) ::close(lockedFd);
    }
    for (const auto& [folder, placed] : folders) {
        if (syncFolder(folder)) continue;
        const int error = errno;
        for (SafeFileWriter* writer : placed)
            writer->status_ =
                errnoFailure("Written, but could not sync the folder of", writer->path_, error);
    }

    std::vector<IoResult> outcomes;
    outcomes.reserve(writers.size());
    for (const auto& writer : writers) outcomes.push_back(writer->status());
    return outcomes;
}

}  // namespace zel
