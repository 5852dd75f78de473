#include "platform/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <random>

#include "platform/OsPath.h"

namespace zel {
namespace {

constexpr std::size_t kBufferLimit = 1 << 16;

// A link is written through, so the link stays and its target gets the bytes.
std::string resolveTarget(const std::string& os) {
    struct stat st {};
    if (::lstat(os.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return os;
    char resolved[PATH_MAX];
    if (::realpath(os.c_str(), resolved)) return resolved;
    return os;
}

std::string folderOf(const std::string& os) {
    auto slash = os.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return os.substr(0, slash);
}

// Created with the usual mode for new files (the umask applies), under a name
// nobody else picks.
int createTemporary(const std::string& prefix, std::string& tempOs) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempOs = prefix + std::to_string(::getpid()) + "-" + std::to_string(seed) + "-" +
                 std::to_string(counter++) + ".tmp";
        int fd = ::open(tempOs.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The new file keeps the permissions of the one it replaces.
bool keepPermissions(int fd, const std::string& targetOs) {
    struct stat st {};
    if (::stat(targetOs.c_str(), &st) != 0) return true;
    return ::fchmod(fd, st.st_mode & 07777) == 0;
}

// Another program holding the target open under its lock (a memo file opened
// exclusively elsewhere) keeps it from being replaced.
bool lockedByOthers(const std::string& targetOs) {
    int fd = ::open(targetOs.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Some file systems cannot sync a folder; that is no reason to call a
// completed replacement a failure.
bool syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return ok;
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string_view path) : path_(path) {
    targetOs_ = resolveTarget(toOsPath(path));
    std::string name = targetOs_.substr(targetOs_.rfind('/') + 1);
    if (name.empty()) {
        status_ = IoResult::failure("Could not write " + path_ + ": not a file name");
        return;
    }
    std::string folder = folderOf(targetOs_);
    fd_ = createTemporary((folder == "/" ? "" : folder) + "/." + name + ".", tempOs_);
    if (fd_ < 0) {
        status_ = errnoFailure("Could not write", path_, errno);
        tempOs_.clear();
        return;
    }
    buffer_.reserve(kBufferLimit);
}

SafeFileWriter::~SafeFileWriter() {
    discard();
}

void SafeFileWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempOs_.empty()) ::unlink(tempOs_.c_str());
    tempOs_.clear();
}

IoResult SafeFileWriter::fail(IoResult failure) {
    discard();
    status_ = std::move(failure);
    return status_;
}

IoResult SafeFileWriter::flushBuffer() {
    if (!writeAll(fd_, buffer_)) return fail(errnoFailure("Could not write", path_, errno));
    buffer_.clear();
    return status_;
}

IoResult SafeFileWriter::append(std::string_view bytes) {
    if (!status_) return status_;
    if (buffer_.size() + bytes.size() <= kBufferLimit) {
        buffer_.append(bytes);
        return status_;
    }
    if (!flushBuffer()) return status_;
    if (!writeAll(fd_, bytes)) return fail(errnoFailure("Could not write", path_, errno));
    return status_;
}

IoResult SafeFileWriter::commit() {
    int lockedFd = -1;
    IoResult result = replaceTarget(true, lockedFd);
    if (lockedFd >= 0) ::close(lockedFd);
    return result;
}

IoResult SafeFileWriter::commitLocked(int& lockedFd) {
    return replaceTarget(false, lockedFd);
}

IoResult SafeFileWriter::replaceTarget(bool respectLocks, int& lockedFd) {
    if (!status_) return status_;
    if (fd_ < 0) return fail(IoResult::failure("Could not write " + path_ + ": already written"));
    if (!flushBuffer()) return status_;
    if (!keepPermissions(fd_, targetOs_) || ::fsync(fd_) != 0) {
        return fail(errnoFailure("Could not write", path_, errno));
    }
    if (respectLocks && lockedByOthers(targetOs_)) {
        return fail(IoResult::failure("Could not write " + path_ + ": locked by another program"));
    }
    // Locked before it becomes visible, so a lock holder never loses the file.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        return fail(errnoFailure("Could not lock", path_, errno));
    }
    if (::rename(tempOs_.c_str(), targetOs_.c_str()) != 0) {
        return fail(errnoFailure("Could not replace", path_, errno));
    }
    tempOs_.clear();
    lockedFd = fd_;
    fd_ = -1;
    if (!syncFolder(folderOf(targetOs_))) {
        status_ = errnoFailure("Written, but could not sync the folder of", path_, errno);
    }
    return status_;
}

IoResult writeFileSafely(std::string_view path, std::string_view bytes) {
    SafeFileWriter writer(path);
    writer.append(bytes);
    return writer.commit();
}

}  // namespace zel
