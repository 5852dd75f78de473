#include "platform/FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "platform/OsPath.h"

namespace zel {

namespace {

// Lexically absolute: "a/./b" and "/here/a/b" are one file for the check.
std::string absoluteLexical(std::string_view path) {
    std::string whole;
    if (path.empty() || path.front() != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd)) whole = fromOsPath(cwd);
        whole += '/';
    }
    whole += path;
    std::string out;
    out.reserve(whole.size());
    std::size_t at = 0;
    while (at < whole.size()) {
        std::size_t end = whole.find('/', at);
        if (end == std::string::npos) end = whole.size();
        std::string_view part(whole.data() + at, end - at);
        if (part == "..") {
            const std::size_t slash = out.rfind('/');
            out.resize(slash == std::string::npos ? 0 : slash);
        } else if (!part.empty() && part != ".") {
            out += '/';
            out += part;
        }
        at = end + 1;
    }
    return out.empty() ? "/" : out;
}

bool hashFile(int fd, std::uint64_t& hash) {
    ContentHasher hasher;
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        hasher.add(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    hash = hasher.digest();
    return true;
}

}  // namespace

std::uint64_t contentHash(std::string_view bytes) {
    return XXH3_64bits(bytes.data(), bytes.size());
}

ContentHasher::ContentHasher() : state_(XXH3_createState()) {
    XXH3_64bits_reset(static_cast<XXH3_state_t*>(state_));
}

ContentHasher::~ContentHasher() {
    XXH3_freeState(static_cast<XXH3_state_t*>(state_));
}

void ContentHasher::add(std::string_view bytes) {
    XXH3_64bits_update(static_cast<XXH3_state_t*>(state_), bytes.data(), bytes.size());
}

std::uint64_t ContentHasher::digest() const {
    return XXH3_64bits_digest(static_cast<const XXH3_state_t*>(state_));
}

FileStamp stampOf(const struct stat& st, std::uint64_t hash) {
    FileStamp stamp;
    stamp.known = true;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                       static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    stamp.hash = hash;
    return stamp;
}

bool stampFile(std::string_view path, FileStamp& stamp) {
    const int fd = ::open(toOsPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    std::uint64_t hash = 0;
    const bool ok = ::fstat(fd, &st) == 0 && hashFile(fd, hash);
    ::close(fd);
    if (ok) stamp = stampOf(st, hash);
    return ok;
}

bool DiskVersion::knows(std::string_view file) const {
    if (!stamp.known || path.empty() || file.empty()) return false;
    return path == file || absoluteLexical(path) == absoluteLexical(file);
}

DiskState diskStateOf(std::string_view path, const FileStamp& stamp) {
    if (!stamp.known) return DiskState::AsKnown;
    const int fd = ::open(toOsPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? DiskState::Missing : DiskState::AsKnown;
    struct stat st {};
    DiskState state = DiskState::Changed;
    if (::fstat(fd, &st) == 0) {
        const FileStamp now = stampOf(st, stamp.hash);
        const bool untouched = now.device == stamp.device && now.inode == stamp.inode &&
                               now.size == stamp.size && now.modifiedNs == stamp.modifiedNs;
        std::uint64_t hash = 0;
        if (untouched || (now.size == stamp.size && hashFile(fd, hash) && hash == stamp.hash))
            state = DiskState::AsKnown;
    }
    ::close(fd);
    return state;
}

IoResult checkStillAsRead(std::string_view path, const DiskVersion& version) {
    if (!version.knows(path)) return IoResult::success();
    if (diskStateOf(path, version.stamp) != DiskState::Changed) return IoResult::success();
    return IoResult::failure("Could not save " + std::string(path) + ": " +
                             std::string(kChangedOnDisk));
}

bool isChangedOnDiskFailure(const IoResult& result) {
    return !result.ok && result.message.find(kChangedOnDisk) != std::string::npos;
}

}  // namespace zel
