#pragma once
// The one way a file is written. The bytes go to a temporary file in the
// target's folder, which is flushed, synced and then renamed over the target,
// and the folder is synced: a crash or a full disk leaves either the old file
// or the new one, never a torn one. Until commit() succeeds the target is not
// touched; a writer destroyed without commit removes its temporary file.
// Temporary files left behind by a run that was killed are removed by the
// next write into their folder. A size limit (ulimit -f) is a write error.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileStamp.h"
#include "platform/IoResult.h"
#include "platform/WriterLock.h"

namespace zel {

// How a target that is a symbolic link is treated.
enum class LinkPolicy {
    // Written through: the link stays and what it points to gets the bytes
    // (a file the user chose, opened through a link of their own).
    Follow,
    // For names that came from a file's content: written through only when
    // the link leads to a file in the same folder, else refused.
    StayInFolder,
};

class SafeFileWriter {
  public:
    explicit SafeFileWriter(std::string_view path, LinkPolicy links = LinkPolicy::Follow);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // The first failure so far (opening, writing); later calls keep it.
    const IoResult& status() const { return status_; }
    IoResult append(std::string_view bytes);
    // Replaces the target with everything appended.
    IoResult commit();
    // The commit is refused ("changed on disk since it was read") when, just
    // before the target is replaced, `version` knows it and another program
    // has written it since (FileStamp.h). From now until the writer is done
    // it holds the target's writers' lock (WriterLock.h), so no other writer
    // of ours can slip in between that check and the rename. Call it before
    // the first append.
    void expectUnchanged(const DiskVersion& version);
    // After a commit that expected a version: the new file as a later save
    // checks it.
    const FileStamp& written() const { return written_; }

  private:
    friend class FileLock;
    friend class SafeFileSet;
    friend class SafeFileBatch;
    // As commit(), but the new file stays open under an exclusive lock taken
    // before it became visible, and its descriptor is handed to `lockedFd`.
    IoResult commitLocked(int& lockedFd);
    IoResult replaceTarget(bool respectLocks, int& lockedFd);
    // The steps of a commit: everything up to the rename (the file's own
    // sync unless a batch syncs for it), then the rename.
    IoResult prepare(bool respectLocks, bool sync = true);
    IoResult publish(int& lockedFd, bool syncFolderAfter);
    IoResult flushBuffer();
    IoResult fail(IoResult failure);
    void discard();

    std::string path_;      // as given (Shift_JIS), for messages
    std::string targetOs_;  // the file finally replaced, links resolved
    std::string tempOs_;
    std::string buffer_;
    int fd_ = -1;
    IoResult status_;
    bool hashing_ = false;
    ContentHasher hasher_;
    DiskVersion expected_;
    WriterLock lock_;
    FileStamp written_;
};

// Writes `bytes` as the whole content of `path` through a SafeFileWriter.
// With `written`, the new file's stamp on success; with either, the write is
// refused as SafeFileWriter::expectUnchanged says (`expected` or nothing).
IoResult writeFileSafely(std::string_view path, std::string_view bytes,
                         LinkPolicy links = LinkPolicy::Follow, FileStamp* written = nullptr,
                         const DiskVersion* expected = nullptr);

// Completes or removes what killed runs left in the folder of `path`:
// journalled renames are finished, other temporary files removed. Writers do
// this once per folder and process; readers may call it before they read.
void tidyFolderOf(std::string_view path);

// For tests: the steps of a save that can fail. A hook that answers true for
// a step makes it fail as the system would (the disk full, an I/O error).
enum class WriteStep { Create, Write, Sync, Rename, SyncFolder };
using WriteFaultHook = std::function<bool(WriteStep)>;
// Installs `hook` (empty: none) and yields the one it replaces.
WriteFaultHook setWriteFaultHook(WriteFaultHook hook);

}  // namespace zel
