#pragma once
// What a reader remembers of the file it read, so that a later save can tell
// whether another program rewrote or replaced the file meanwhile and refuse
// to write over that program's work.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/IoResult.h"

struct stat;

namespace zel {

struct FileStamp {
    // False when nothing was read from or written to the file (a new file).
    bool known = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t hash = 0;  // of the bytes as read or written
};

// A fast 64-bit hash of file contents (not for security).
std::uint64_t contentHash(std::string_view bytes);

// Hashes bytes that arrive in pieces; digest() equals contentHash of them all.
class ContentHasher {
  public:
    ContentHasher();
    ~ContentHasher();
    ContentHasher(const ContentHasher&) = delete;
    ContentHasher& operator=(const ContentHasher&) = delete;
    void add(std::string_view bytes);
    std::uint64_t digest() const;

  private:
    void* state_;
};

FileStamp stampOf(const struct stat& st, std::uint64_t hash);
// Reads the whole file at `path` to stamp it; false when it cannot be read.
bool stampFile(std::string_view path, FileStamp& stamp);

// A file as it was read or written: where, and what it held then.
struct DiskVersion {
    std::string path;  // as the model names it (Shift_JIS)
    FileStamp stamp;

    bool knows(std::string_view file) const;
    void forget() { *this = DiskVersion(); }
};

enum class DiskState {
    AsKnown,  // the same file, or other bytes never read: nothing to lose
    Changed,  // another program wrote other bytes there since
    Missing,  // it was removed since
};

// Whether the file at `path` still holds what `stamp` recorded. Same file,
// size and time are trusted; otherwise the bytes decide, so a file copied
// back or touched unchanged is not taken for a change.
DiskState diskStateOf(std::string_view path, const FileStamp& stamp);

// The refusal a save gives when `version` names `path` and the file there
// changed since: "Could not save PATH: changed on disk since it was read".
// Success when the version knows another file, nothing, or the file is as known.
IoResult checkStillAsRead(std::string_view path, const DiskVersion& version);

// The words every such refusal carries, for callers that tell it apart.
inline constexpr std::string_view kChangedOnDisk = "changed on disk since it was read";
bool isChangedOnDiskFailure(const IoResult& result);

}  // namespace zel
