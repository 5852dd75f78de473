#pragma once
// Files and folders named by Shift_JIS model paths. Every write of a whole
// file goes through the safe writer (SafeFileWriter.h), not through here.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IoResult.h"

namespace zel {

struct FileStamp;

// With `stamp`, also what a later save checks the file against (FileStamp.h).
IoResult readFile(std::string_view path, std::string& bytes, FileStamp* stamp = nullptr);

// Reads a file piece by piece, for files too large to hold twice.
class FileReader {
  public:
    explicit FileReader(std::string_view path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opening failed, or the first read error.
    const IoResult& status() const { return status_; }
    // Replaces `chunk` with up to `most` next bytes; empty at the end.
    IoResult read(std::string& chunk, std::size_t most);

  private:
    std::string path_;
    int fd_ = -1;
    IoResult status_;
};

// A regular file (links followed).
bool fileExists(std::string_view path);
bool dirExists(std::string_view path);
// Anything at all, a dangling link included.
bool pathExists(std::string_view path);

std::optional<std::uint64_t> fileSize(std::string_view path);
std::optional<std::chrono::system_clock::time_point> fileModified(std::string_view path);

// Creates the folder and every missing folder above it; an existing folder is fine.
IoResult makeDirs(std::string_view path);
// Removes a file or a link (not what it points to).
IoResult removeFile(std::string_view path);
// Removes an empty folder.
IoResult removeDir(std::string_view path);
IoResult renamePath(std::string_view from, std::string_view to);

struct FolderEntry {
    std::string name;    // Shift_JIS, without the folder
    bool isDir = false;  // a real folder; a link to a folder is not one
    bool isLink = false;
};
// The entries of a folder in the order the file system gives, without "." and "..".
IoResult listFolder(std::string_view path, std::vector<FolderEntry>& entries);

}  // namespace zel
