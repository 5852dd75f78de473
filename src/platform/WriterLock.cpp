#include "platform/WriterLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>
#include <thread>

#include "platform/FileStamp.h"
#include "platform/OsPath.h"

namespace zel {

namespace {

constexpr auto kDefaultWait = std::chrono::seconds(10);
constexpr double kLongestWaitSeconds = 600;
constexpr auto kPollInterval = std::chrono::milliseconds(25);

struct HeldLock {
    int fd = -1;
    int users = 0;
};

// One descriptor per lock file and process: a second flock from this process
// on another descriptor would wait for itself.
std::mutex& registryGuard() {
    static std::mutex guard;
    return guard;
}

// A forked child holds none of its parent's locks: it starts afresh.
std::map<std::string, HeldLock>& registry() {
    static std::map<std::string, HeldLock> locks;
    static pid_t owner = ::getpid();
    if (owner != ::getpid()) {
        for (const auto& [key, held] : locks) ::close(held.fd);
        locks.clear();
        owner = ::getpid();
    }
    return locks;
}

std::string& programName() {
    static std::string name = "zel";
    return name;
}

std::string absoluteOs(const std::string& os) {
    if (!os.empty() && os.front() == '/') return os;
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + os : os;
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "?";
    return name;
}

std::string nowText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// What the lock file says of its holder, one line each.
std::string holderRecord() {
    return programName() + "\npid=" + std::to_string(::getpid()) + "\nhost=" + hostName() +
           "\nsince=" + nowText() + "\n";
}

std::string valueOf(const std::string& record, std::string_view key) {
    const std::string start = "\n" + std::string(key) + "=";
    std::size_t at = record.find(start);
    if (at == std::string::npos) return "";
    at += start.size();
    return record.substr(at, record.find('\n', at) - at);
}

// "zel-tool replace (pid 12 on host, since 2026-12-11 14:00:00)".
std::string describeRecord(const std::string& record) {
    if (record.empty()) return "";
    std::string text = record.substr(0, record.find('\n'));
    const std::string pid = valueOf(record, "pid"), host = valueOf(record, "host"),
                      since = valueOf(record, "since");
    if (!pid.empty()) {
        text += " (pid " + pid;
        if (!host.empty()) text += " on " + host;
        if (!since.empty()) text += ", since " + since;
        text += ")";
    }
    return text;
}

std::string readRecord(const std::string& lockOs) {
    const int fd = ::open(lockOs.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "";
    char buffer[1024];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// The lock file a descriptor locked is still the one its name leads to (a
// holder that let go removed the file it held).
bool stillLinked(int fd, const std::string& lockOs) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::stat(lockOs.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void writeRecord(int fd) {
    const std::string record = holderRecord();
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] ssize_t n = ::pwrite(fd, record.data(), record.size(), 0);
    }
}

enum class Attempt { Taken, Busy, Failed };

Attempt tryLock(const std::string& lockOs, int& fd, int& error) {
    fd = ::open(lockOs.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return Attempt::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
        ::close(fd);
        fd = -1;
        return error == EWOULDBLOCK ? Attempt::Busy : Attempt::Failed;
    }
    if (!stillLinked(fd, lockOs)) {
        ::close(fd);
        fd = -1;
        return Attempt::Busy;
    }
    writeRecord(fd);
    return Attempt::Taken;
}

}  // namespace

std::string writerLockFileOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameAt = slash == std::string_view::npos ? 0 : slash + 1;
    return std::string(path.substr(0, nameAt)) + "." + std::string(path.substr(nameAt)) + ".lock";
}

std::string writerLockHolder(std::string_view path) {
    const std::string lockOs = toOsPath(writerLockFileOf(path));
    int fd = ::open(lockOs.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "";
    const bool free = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(fd);
    return free ? std::string() : describeRecord(readRecord(lockOs));
}

WriterLock::WriterLock(WriterLock&& other) noexcept
    : path_(std::move(other.path_)), key_(std::move(other.key_)) {
    other.path_.clear();
    other.key_.clear();
}

WriterLock& WriterLock::operator=(WriterLock&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        key_ = std::move(other.key_);
        other.path_.clear();
        other.key_.clear();
    }
    return *this;
}

IoResult WriterLock::acquire(std::string_view path) {
    return acquire(path, writerLockWait());
}

IoResult WriterLock::acquire(std::string_view path, std::chrono::milliseconds wait,
                             const std::function<void(const std::string&)>& waiting) {
    release();
    const std::string key = absoluteOs(toOsPath(writerLockFileOf(path)));
    const auto deadline = std::chrono::steady_clock::now() + wait;
    bool told = false;
    for (;;) {
        {
            std::lock_guard guard(registryGuard());
            auto found = registry().find(key);
            if (found != registry().end()) {
                ++found->second.users;
                key_ = key;
                path_ = path;
                return IoResult::success();
            }
            int fd = -1, error = 0;
            switch (tryLock(key, fd, error)) {
                case Attempt::Taken:
                    registry()[key] = HeldLock{fd, 1};
                    key_ = key;
                    path_ = path;
                    return IoResult::success();
                case Attempt::Failed:
                    // Where no lock file can be made, nobody can write
                    // either: the write itself will say why.
                    if (error == ENOENT || error == ENOTDIR || error == EACCES || error == EROFS ||
                        error == EPERM)
                        return IoResult::success();
                    return errnoFailure("Could not lock", path, error);
                case Attempt::Busy:
                    break;
            }
        }
        const std::string holder = describeRecord(readRecord(key));
        if (!told && waiting) {
            waiting(holder.empty() ? "another program" : holder);
            told = true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return IoResult::failure("Could not lock " + std::string(path) + ": " +
                                     (holder.empty() ? "another program" : holder) +
                                     std::string(kWritingIt));
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

void WriterLock::release() {
    if (key_.empty()) return;
    std::lock_guard guard(registryGuard());
    auto found = registry().find(key_);
    if (found != registry().end() && --found->second.users == 0) {
        // Removed while still held: a writer that opened it meanwhile sees
        // that it locked a file no longer linked, and tries again.
        ::unlink(key_.c_str());
        ::close(found->second.fd);
        registry().erase(found);
    }
    key_.clear();
    path_.clear();
}

std::chrono::milliseconds writerLockWait() {
    const char* text = std::getenv("ZEL_LOCK_WAIT");
    if (!text || !*text) return kDefaultWait;
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(seconds) || seconds < 0) return kDefaultWait;
    return std::chrono::milliseconds(
        static_cast<long long>(std::min(seconds, kLongestWaitSeconds) * 1000));
}

bool isWriterConflict(std::string_view message) {
    return message.find(kWritingIt) != std::string_view::npos ||
           message.find(kChangedOnDisk) != std::string_view::npos;
}

void setWriterLockProgram(std::string_view name) {
    std::lock_guard guard(registryGuard());
    programName() = name;
}

}  // namespace zel
