#pragma once
// The one way a file is written. The bytes go to a temporary file in the
// target's folder, which is flushed, synced and then renamed over the target,
// and the folder is synced: a crash or a full disk leaves either the old file
// or the new one, never a torn one. Until commit() succeeds the target is not
// touched; a writer destroyed without commit removes its temporary file.

#include <string>
#include <string_view>

#include "platform/IoResult.h"

namespace zel {

class SafeFileWriter {
  public:
    explicit SafeFileWriter(std::string_view path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // The first failure so far (opening, writing); later calls keep it.
    const IoResult& status() const { return status_; }
    IoResult append(std::string_view bytes);
    // Replaces the target with everything appended.
    IoResult commit();

  private:
    friend class FileLock;
    // As commit(), but the new file stays open under an exclusive lock taken
    // before it became visible, and its descriptor is handed to `lockedFd`.
    IoResult commitLocked(int& lockedFd);
    IoResult replaceTarget(bool respectLocks, int& lockedFd);
    IoResult flushBuffer();
    IoResult fail(IoResult failure);
    void discard();

    std::string path_;      // as given (Shift_JIS), for messages
    std::string targetOs_;  // the file finally replaced, links resolved
    std::string tempOs_;
    std::string buffer_;
    int fd_ = -1;
    IoResult status_;
};

// Writes `bytes` as the whole content of `path` through a SafeFileWriter.
IoResult writeFileSafely(std::string_view path, std::string_view bytes);

}  // namespace zel
