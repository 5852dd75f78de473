#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileStamp.h"
#include "platform/OsPath.h"

namespace zel {
namespace {

std::optional<struct stat> statOf(std::string_view path) {
    struct stat st {};
    if (::stat(toOsPath(path).c_str(), &st) != 0) return std::nullopt;
    return st;
}

bool isDirEntry(const dirent& entry, const std::string& folder, bool& isLink) {
    if (entry.d_type != DT_UNKNOWN) {
        isLink = entry.d_type == DT_LNK;
        return entry.d_type == DT_DIR;
    }
    struct stat st {};
    if (::lstat((folder + "/" + entry.d_name).c_str(), &st) != 0) return false;
    isLink = S_ISLNK(st.st_mode);
    return S_ISDIR(st.st_mode);
}

}  // namespace

IoResult readFile(std::string_view path, std::string& bytes, FileStamp* stamp) {
    bytes.clear();
    int fd = ::open(toOsPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errnoFailure("Could not open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) bytes.reserve(st.st_size);
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd);
            bytes.clear();
            return errnoFailure("Could not read", path, error);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (stamp) *stamp = stampOf(st, contentHash(bytes));
    return IoResult::success();
}

FileReader::FileReader(std::string_view path) : path_(path) {
    fd_ = ::open(toOsPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) status_ = errnoFailure("Could not open", path, errno);
}

FileReader::~FileReader() {
    if (fd_ >= 0) ::close(fd_);
}

IoResult FileReader::read(std::string& chunk, std::size_t most) {
    chunk.clear();
    if (!status_) return status_;
    chunk.resize(most);
    std::size_t filled = 0;
    while (filled < most) {
        ssize_t n = ::read(fd_, chunk.data() + filled, most - filled);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            chunk.clear();
            status_ = errnoFailure("Could not read", path_, errno);
            return status_;
        }
        filled += static_cast<std::size_t>(n);
    }
    chunk.resize(filled);
    return status_;
}

bool fileExists(std::string_view path) {
    auto st = statOf(path);
    return st && S_ISREG(st->st_mode);
}

bool dirExists(std::string_view path) {
    auto st = statOf(path);
    return st && S_ISDIR(st->st_mode);
}

bool pathExists(std::string_view path) {
    struct stat st {};
    return ::lstat(toOsPath(path).c_str(), &st) == 0;
}

std::optional<std::uint64_t> fileSize(std::string_view path) {
    auto st = statOf(path);
    if (!st) return std::nullopt;
    return static_cast<std::uint64_t>(st->st_size);
}

std::optional<std::chrono::system_clock::time_point> fileModified(std::string_view path) {
    auto st = statOf(path);
    if (!st) return std::nullopt;
    auto since =
        std::chrono::seconds(st->st_mtim.tv_sec) + std::chrono::nanoseconds(st->st_mtim.tv_nsec);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(since));
}

IoResult makeDirs(std::string_view path) {
    std::string os = toOsPath(path);
    while (os.size() > 1 && os.back() == '/') os.pop_back();
    if (os.empty()) return IoResult::failure("Could not create an unnamed folder");
    // Walk down from the top so each missing level is created in turn.
    for (std::size_t slash = os.find('/', 1);; slash = os.find('/', slash + 1)) {
        std::string level = os.substr(0, slash);
        if (::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) {
            return errnoFailure("Could not create folder", fromOsPath(level), errno);
        }
        if (slash == std::string::npos) break;
    }
    if (!dirExists(path)) return IoResult::failure("Not a folder: " + std::string(path));
    return IoResult::success();
}

IoResult removeFile(std::string_view path) {
    if (::unlink(toOsPath(path).c_str()) != 0) return errnoFailure("Could not remove", path, errno);
    return IoResult::success();
}

IoResult removeDir(std::string_view path) {
    if (::rmdir(toOsPath(path).c_str()) != 0) {
        return errnoFailure("Could not remove folder", path, errno);
    }
    return IoResult::success();
}

IoResult renamePath(std::string_view from, std::string_view to) {
    if (::rename(toOsPath(from).c_str(), toOsPath(to).c_str()) != 0) {
        return errnoFailure("Could not rename", std::string(from) + " to " + std::string(to),
                            errno);
    }
    return IoResult::success();
}

IoResult listFolder(std::string_view path, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::string os = toOsPath(path);
    DIR* dir = ::opendir(os.c_str());
    if (!dir) return errnoFailure("Could not list", path, errno);
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        FolderEntry item;
        item.name = fromOsPath(name);
        item.isDir = isDirEntry(*entry, os, item.isLink);
        entries.push_back(std::move(item));
    }
    ::closedir(dir);
    return IoResult::success();
}

}  // namespace zel
