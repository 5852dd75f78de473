#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/OsPath.h"
#include "platform/SafeFileWriter.h"

namespace zel {

IoResult FileLock::open(std::string_view path) {
    close();
    int fd = ::open(toOsPath(path).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return errnoFailure("Could not open", path, errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return IoResult::failure("Could not open " + std::string(path) +
                                     ": locked by another program");
        }
        return errnoFailure("Could not lock", path, error);
    }
    fd_ = fd;
    path_ = path;
    return IoResult::success();
}

void FileLock::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

IoResult FileLock::read(std::string& bytes, FileStamp* stamp) const {
    bytes.clear();
    if (fd_ < 0) return IoResult::failure("No file is open");
    struct stat st {};
    if (::fstat(fd_, &st) == 0) bytes.reserve(st.st_size);
    char buffer[65536];
    for (off_t offset = 0;;) {
        ssize_t n = ::pread(fd_, buffer, sizeof buffer, offset);
        if (n == 0) {
            if (stamp) *stamp = stampOf(st, contentHash(bytes));
            return IoResult::success();
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            bytes.clear();
            return errnoFailure("Could not read", path_, errno);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        offset += n;
    }
}

IoResult FileLock::write(std::string_view bytes) {
    if (fd_ < 0) return IoResult::failure("No file is open");
    SafeFileWriter writer(path_);
    writer.append(bytes);
    int lockedFd = -1;
    IoResult result = writer.commitLocked(lockedFd);
    if (lockedFd >= 0) {
        ::close(fd_);
        fd_ = lockedFd;
    }
    return result;
}

}  // namespace zel
