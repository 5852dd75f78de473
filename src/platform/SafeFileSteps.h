#pragma once
// The steps a single writer, a journalled set and a batch of files share
// (SafeFileWriter.h, SafeFileSet.h, SafeFileBatch.h). Not for other callers:
// each step reports failure in errno and leaves the messages to its writer.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/IoResult.h"
#include "platform/SafeFileWriter.h"

namespace zel::safe_file {

// A temporary file ends so; a journal of renames starts and ends so.
inline constexpr std::string_view kTempEnd = ".tmp";
inline constexpr std::string_view kJournalStart = ".zel-journal.";
inline constexpr std::string_view kJournalEnd = ".log";

std::string folderOf(const std::string& os);
std::string nameOf(const std::string& os);
// The path with links resolved; empty when it cannot be resolved.
std::string realPath(const std::string& os);
std::string absolute(const std::string& os);
// The file a write of `os` replaces, as `links` says.
IoResult resolveTarget(const std::string& os, LinkPolicy links, std::string_view path,
                       std::string& target);
// Unique among this machine's processes and this process's writes.
std::string uniqueStamp();

bool writeAll(int fd, std::string_view bytes);
bool syncFile(int fd);
// Syncs the whole file system `fd` lies on.
bool syncFileSystemOf(int fd);
bool syncFolder(const std::string& folder);
bool renameFile(const std::string& from, const std::string& to);
// How many files a batch may hold open at once.
std::size_t batchOpenLimit();

}  // namespace zel::safe_file
