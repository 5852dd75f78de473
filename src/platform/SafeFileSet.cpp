#include "platform/SafeFileSet.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <set>

#include "platform/OsPath.h"
#include "platform/SafeFileSteps.h"

namespace zel {

using namespace safe_file;

SafeFileSet::~SafeFileSet() = default;

SafeFileWriter& SafeFileSet::add(std::string_view path, LinkPolicy links) {
    writers_.push_back(std::make_unique<SafeFileWriter>(path, links));
    return *writers_.back();
}

IoResult SafeFileSet::status() const {
    for (const auto& writer : writers_)
        if (!writer->status()) return writer->status();
    return IoResult::success();
}

IoResult SafeFileSet::commit() {
    IoResult result = commitAll();
    written_.clear();
    if (result)
        for (const auto& writer : writers_) written_.push_back(writer->written());
    // A failed set leaves no temporary file behind; a done one has none left.
    writers_.clear();
    return result;
}

IoResult SafeFileSet::commitAll() {
    if (IoResult bad = status(); !bad) return bad;
    if (writers_.empty()) return IoResult::success();
    // One folder however its paths are spelt ("x.mxa" and "/here/x.mxh").
    auto folderOfWriter = [](const SafeFileWriter& writer) {
        const std::string folder = folderOf(writer.targetOs_);
        const std::string real = realPath(folder);
        return real.empty() ? absolute(folder) : real;
    };
    for (const auto& writer : writers_)
        if (!writer->prepare(true)) return writer->status();

    // Every file is complete and synced; the journal makes the renames one
    // step. It lies beside the file added last (the index of a memo file),
    // which readers open first and tidy the folder of.
    const std::string folder = folderOfWriter(*writers_.back());
    std::set<std::string> folders;
    std::string pairs;
    for (const auto& writer : writers_) {
        const std::string own = folderOfWriter(*writer);
        folders.insert(own);
        const bool here = own == folder;
        pairs += here ? nameOf(writer->tempOs_) : own + "/" + nameOf(writer->tempOs_);
        pairs += '\0';
        pairs += here ? nameOf(writer->targetOs_) : own + "/" + nameOf(writer->targetOs_);
        pairs += '\0';
    }
    const std::string stamp = uniqueStamp();
    const std::string journal = folder + "/" + std::string(kJournalStart) + stamp;
    const std::string journalTemp = journal + std::string(kTempEnd);
    const std::string journalDone = journal + std::string(kJournalEnd);
    int fd = ::open(journalTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool recorded = fd >= 0 && writeAll(fd, pairs) && syncFile(fd);
    if (fd >= 0) ::close(fd);
    recorded = recorded && renameFile(journalTemp, journalDone) && syncFolder(folder);
    if (!recorded) {
        IoResult failure = errnoFailure("Could not write", fromOsPath(journalDone), errno);
        ::unlink(journalTemp.c_str());
        ::unlink(journalDone.c_str());
        return failure;
    }
    IoResult result;
    for (const auto& writer : writers_) {
        int lockedFd = -1;
        IoResult published = writer->publish(lockedFd, false);
        if (lockedFd >= 0) ::close(lockedFd);
        // The journal stays for the renames still due; the next write here does them.
        if (!published) return published;
    }
    for (const auto& each : folders) {
        if (!syncFolder(each) && result)
            result = errnoFailure("Written, but could not sync", fromOsPath(each), errno);
    }
    ::unlink(journalDone.c_str());
    return result;
}

}  // namespace zel
