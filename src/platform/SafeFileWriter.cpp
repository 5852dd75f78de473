#include "platform/SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <set>

#include "platform/OsPath.h"
#include "platform/SafeFileSteps.h"

namespace zel {
namespace safe_file {

constexpr std::size_t kBufferLimit = 1 << 16;
// Room left in a file name for the temporary suffix.
constexpr std::size_t kLongestEmbeddedName = 160;

WriteFaultHook& faultHook() {
    static WriteFaultHook hook;
    return hook;
}

// True when a test asked this step to fail; errno then says how.
bool injected(WriteStep step) {
    if (!faultHook() || !faultHook()(step)) return false;
    errno = step == WriteStep::Write ? ENOSPC : EIO;
    return true;
}

// A process over its file-size limit gets SIGXFSZ, which ends it without a
// word; ignored, the write fails with EFBIG and is reported like a full disk.
// A handler someone installed is left alone.
void ignoreFileSizeSignal() {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

std::string folderOf(const std::string& os) {
    auto slash = os.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return os.substr(0, slash);
}

std::string nameOf(const std::string& os) {
    return os.substr(os.rfind('/') + 1);
}

std::string realPath(const std::string& os) {
    char resolved[PATH_MAX];
    return ::realpath(os.c_str(), resolved) ? std::string(resolved) : std::string();
}

bool isLink(const std::string& os) {
    struct stat st {};
    return ::lstat(os.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// The file a write replaces. A link is written through, so the link stays and
// its target gets the bytes; for names from content only when that target is
// in the link's own folder.
IoResult resolveTarget(const std::string& os, LinkPolicy links, std::string_view path,
                       std::string& target) {
    target = os;
    if (!isLink(os)) return IoResult::success();
    std::string resolved = realPath(os);
    if (links == LinkPolicy::Follow) {
        if (!resolved.empty()) target = resolved;
        return IoResult::success();
    }
    const std::string folder = realPath(folderOf(os));
    if (resolved.empty() || folder.empty() || folderOf(resolved) != folder) {
        return IoResult::failure("Refused to write " + std::string(path) +
                                 ": it is a symbolic link that leads out of its folder");
    }
    target = resolved;
    return IoResult::success();
}

unsigned processSeed() {
    static const unsigned seed = std::random_device{}();
    return seed;
}

// "<pid>-<seed>-<counter>": nobody else picks it, and a later run can tell
// whether the process that made it still lives.
std::string uniqueStamp() {
    static std::atomic<unsigned> counter{0};
    return std::to_string(::getpid()) + "-" + std::to_string(processSeed()) + "-" +
           std::to_string(counter++);
}

// A long name is cut (at a character boundary) so that the temporary name
// still fits the file system.
std::string embeddedName(std::string name) {
    if (name.size() <= kLongestEmbeddedName) return name;
    std::size_t cut = kLongestEmbeddedName;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
    return name;
}

// Created with the usual mode for new files (the umask applies).
int createTemporary(const std::string& folder, const std::string& name, std::string& tempOs) {
    if (injected(WriteStep::Create)) return -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempOs = (folder == "/" ? "" : folder) + "/." + embeddedName(name) + "." + uniqueStamp() +
                 std::string(kTempEnd);
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
        if (injected(WriteStep::Write)) return false;
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool syncFile(int fd) {
    return !injected(WriteStep::Sync) && ::fsync(fd) == 0;
}

// Since Linux 5.8 syncfs fails when any file of the file system had a
// write-back error after the descriptor was opened; before, it said nothing.
bool syncfsReportsErrors() {
    static const bool reports = [] {
        utsname name{};
        int major = 0, minor = 0;
        if (::uname(&name) != 0 || std::sscanf(name.release, "%d.%d", &major, &minor) != 2)
            return false;
        return major > 5 || (major == 5 && minor >= 8);
    }();
    return reports;
}

// Everything written to the file system `fd` lies on, in one go. False, and
// each file must then be synced on its own, when that cannot be relied on.
bool syncFileSystemOf(int fd) {
    if (!syncfsReportsErrors()) return false;
    return !injected(WriteStep::Sync) && ::syncfs(fd) == 0;
}

// A batch keeps its temporary files open until it commits; a quarter of the
// descriptors the process may have leaves the rest of the program enough.
std::size_t batchOpenLimit() {
    constexpr std::size_t kFewest = 16, kMost = 4096;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return kFewest;
    if (limit.rlim_cur == RLIM_INFINITY) return kMost;
    return std::clamp<std::size_t>(limit.rlim_cur / 4, kFewest, kMost);
}

// Some file systems cannot sync a folder; that is no reason to call a
// completed replacement a failure.
bool syncFolder(const std::string& folder) {
    if (injected(WriteStep::SyncFolder)) return false;
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return ok;
}

bool renameFile(const std::string& from, const std::string& to) {
    return !injected(WriteStep::Rename) && ::rename(from.c_str(), to.c_str()) == 0;
}

// The process id in a name of ours (".<name>.<pid>-<seed>-<n><end>"), or 0.
pid_t ownerOf(std::string_view name, std::string_view end) {
    if (name.size() <= end.size() || name.substr(name.size() - end.size()) != end) return 0;
    name.remove_suffix(end.size());
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return 0;
    std::string_view stamp = name.substr(dot + 1);
    int dashes = 0;
    for (char c : stamp) {
        if (c == '-')
            ++dashes;
        else if (c < '0' || c > '9')
            return 0;
    }
    if (dashes != 2) return 0;
    long pid = std::strtol(std::string(stamp.substr(0, stamp.find('-'))).c_str(), nullptr, 10);
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

bool alive(pid_t pid) {
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
}

bool readWhole(const std::string& os, std::string& bytes) {
    int fd = ::open(os.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, n);
    ::close(fd);
    return n == 0;
}

// A journal lists the renames of one set as "temp\0target\0" pairs: plain
// names for files of its own folder, absolute paths (temp and target in one
// folder) for the others. Only a rename a temporary file was made for is
// done, so a planted journal can do no more than the dead run would have.
void finishJournal(const std::string& folder, const std::string& journal) {
    std::string bytes;
    if (!readWhole(folder + "/" + journal, bytes)) return;
    std::set<std::string> touched{folder};
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t mid = bytes.find('\0', at);
        if (mid == std::string::npos) break;
        std::size_t end = bytes.find('\0', mid + 1);
        if (end == std::string::npos) break;
        std::string temp = bytes.substr(at, mid - at);
        std::string target = bytes.substr(mid + 1, end - mid - 1);
        at = end + 1;
        std::string where = folder;
        if (!temp.empty() && temp.front() == '/') {
            where = folderOf(temp);
            if (target.empty() || target.front() != '/' || folderOf(target) != where) continue;
            temp = nameOf(temp);
            target = nameOf(target);
        }
        const bool plain = temp.find('/') == std::string::npos &&
                           target.find('/') == std::string::npos && !target.empty() &&
                           target != "." && target != "..";
        const bool madeForIt =
            temp.rfind("." + embeddedName(target) + ".", 0) == 0 && ownerOf(temp, kTempEnd) != 0;
        if (plain && madeForIt) {
            ::rename((where + "/" + temp).c_str(), (where + "/" + target).c_str());
            touched.insert(where);
        }
    }
    for (const auto& each : touched) syncFolder(each);
    ::unlink((folder + "/" + journal).c_str());
}

void tidyFolder(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> journals, stale;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name.empty() || name[0] != '.') continue;
        if (name.rfind(kJournalStart, 0) == 0) {
            if (pid_t pid = ownerOf(name, kJournalEnd); pid && !alive(pid))
                journals.emplace_back(name);
        }
        if (pid_t pid = ownerOf(name, kTempEnd); pid && !alive(pid)) stale.emplace_back(name);
    }
    ::closedir(dir);
    for (const auto& journal : journals) finishJournal(folder, journal);
    for (const auto& name : stale) ::unlink((folder + "/" + name).c_str());
}

// Once per folder and process: a folder is tidied before its first write.
void tidyOnce(const std::string& folder) {
    static std::mutex guard;
    static std::set<std::string> tidied;
    {
        std::lock_guard lock(guard);
        if (!tidied.insert(folder).second) return;
    }
    tidyFolder(folder);
}

std::string absolute(const std::string& os) {
    if (!os.empty() && os.front() == '/') return os;
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + os : os;
}

}  // namespace safe_file

using namespace safe_file;

SafeFileWriter::SafeFileWriter(std::string_view path, LinkPolicy links) : path_(path) {
    ignoreFileSizeSignal();
    const std::string os = toOsPath(path);
    if (nameOf(os).empty()) {
        status_ = IoResult::failure("Could not write " + path_ + ": not a file name");
        return;
    }
    status_ = resolveTarget(os, links, path_, targetOs_);
    if (!status_) return;
    const std::string folder = folderOf(targetOs_);
    tidyOnce(absolute(folder));
    fd_ = createTemporary(folder, nameOf(targetOs_), tempOs_);
    if (fd_ < 0) {
        status_ = errnoFailure("Could not write", path_, errno);
        tempOs_.clear();
        return;
    }
    buffer_.reserve(kBufferLimit);
}

void SafeFileWriter::expectUnchanged(const DiskVersion& version) {
    expected_ = version;
    hashing_ = true;
    if (!status_) return;
    if (IoResult locked = lock_.acquire(path_); !locked) fail(std::move(locked));
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
    if (hashing_) hasher_.add(bytes);
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
    if (!prepare(respectLocks)) return status_;
    return publish(lockedFd, true);
}

IoResult SafeFileWriter::prepare(bool respectLocks, bool sync) {
    if (!status_) return status_;
    if (fd_ < 0) return fail(IoResult::failure("Could not write " + path_ + ": already written"));
    if (!flushBuffer()) return status_;
    if (!keepPermissions(fd_, targetOs_) || (sync && !syncFile(fd_))) {
        return fail(errnoFailure("Could not write", path_, errno));
    }
    if (IoResult still = checkStillAsRead(path_, expected_); !still) return fail(std::move(still));
    if (respectLocks && lockedByOthers(targetOs_)) {
        return fail(IoResult::failure("Could not write " + path_ + ": locked by another program"));
    }
    return status_;
}

IoResult SafeFileWriter::publish(int& lockedFd, bool syncFolderAfter) {
    if (!status_) return status_;
    // Locked before it becomes visible, so a lock holder never loses the file.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        return fail(errnoFailure("Could not lock", path_, errno));
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return fail(errnoFailure("Could not write", path_, errno));
    if (!renameFile(tempOs_, targetOs_)) {
        return fail(errnoFailure("Could not replace", path_, errno));
    }
    tempOs_.clear();
    written_ = stampOf(st, hasher_.digest());
    lockedFd = fd_;
    fd_ = -1;
    if (syncFolderAfter && !syncFolder(folderOf(targetOs_))) {
        status_ = errnoFailure("Written, but could not sync the folder of", path_, errno);
    }
    return status_;
}

IoResult writeFileSafely(std::string_view path, std::string_view bytes, LinkPolicy links,
                         FileStamp* written, const DiskVersion* expected) {
    SafeFileWriter writer(path, links);
    if (expected || written) writer.expectUnchanged(expected ? *expected : DiskVersion());
    writer.append(bytes);
    IoResult result = writer.commit();
    if (result && written) *written = writer.written();
    return result;
}

void tidyFolderOf(std::string_view path) {
    tidyOnce(absolute(folderOf(toOsPath(path))));
}

WriteFaultHook setWriteFaultHook(WriteFaultHook hook) {
    WriteFaultHook previous = std::move(faultHook());
    faultHook() = std::move(hook);
    return previous;
}

}  // namespace zel
