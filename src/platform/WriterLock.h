#pragma once
// The writers' lock of a memo file (or of a holder file opened on its own):
// every program that reads a memo file in order to write it back holds this
// lock from the read to the last write, so two writers never interleave and
// lose each other's changes. It is an advisory lock on a small file beside
// the memo file (".NAME.lock") that names its holder (program, pid, host,
// since when) for the message another writer gets. The system drops the lock
// when its holder ends, however it ends, so a crash leaves no stale lock.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "platform/IoResult.h"

namespace zel {

class WriterLock {
  public:
    WriterLock() = default;
    ~WriterLock() { release(); }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    WriterLock(WriterLock&& other) noexcept;
    WriterLock& operator=(WriterLock&& other) noexcept;

    // Takes the lock of the file at `path`, waiting up to `wait` while another
    // writer holds it (`waiting`, when given, hears once who that is). A lock
    // this process already holds is shared. The failure names the holder and
    // leaves nothing taken. A previous lock of this object is released first.
    // Where no lock file can be made (no such folder, no right to write
    // there) the call succeeds without a lock: nobody can write there.
    IoResult acquire(std::string_view path, std::chrono::milliseconds wait,
                     const std::function<void(const std::string&)>& waiting = {});
    IoResult acquire(std::string_view path);
    void release();
    bool held() const { return !key_.empty(); }
    // The file locked (as given), empty when none.
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string key_;  // the lock file's absolute OS path
};

// The words of a refusal because another writer holds the lock.
inline constexpr std::string_view kWritingIt = " is writing it; nothing was written";
// A refusal because of another writer: its lock, or its newer file
// ("changed on disk since it was read").
bool isWriterConflict(std::string_view message);

// How long a writer waits for another: ZEL_LOCK_WAIT (seconds, 0 to 600,
// fractions allowed) when set, else 10 seconds.
std::chrono::milliseconds writerLockWait();
// The program named in the locks this process takes ("zel-tool replace").
void setWriterLockProgram(std::string_view name);
// The lock file of `path`: ".NAME.lock" in the same folder (Shift_JIS).
std::string writerLockFileOf(std::string_view path);
// Who holds the lock of `path`, as the lock file says ("" when nobody does).
std::string writerLockHolder(std::string_view path);

}  // namespace zel
