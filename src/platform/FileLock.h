#pragma once
// A memo file held open exclusively while the user works on it: other
// programs (another zel) cannot lock or replace it until it is closed. Reads
// and writes of the locked file go through the lock; a write replaces the file
// safely and keeps the lock on the new file.

#include <string>
#include <string_view>

#include "platform/FileStamp.h"
#include "platform/IoResult.h"

namespace zel {

class FileLock {
  public:
    FileLock() = default;
    ~FileLock() { close(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens `path` for reading and writing and locks it; fails when it does not
    // exist or another program holds the lock. A previous lock is released first.
    IoResult open(std::string_view path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // With `stamp`, what a later save checks the file against.
    IoResult read(std::string& bytes, FileStamp* stamp = nullptr) const;
    IoResult write(std::string_view bytes);

  private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace zel
