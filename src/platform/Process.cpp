#include "platform/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/OsPath.h"
#include "text/Sjis.h"

extern char** environ;

namespace zel {
namespace {

constexpr std::size_t kChunk = 4095;

// POSIX shell word splitting without expansions, on UTF-8 text (so no "\"
// hides inside a double-byte character).
std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            std::size_t end = line.find('\'', i + 1);
            if (end == std::string_view::npos) end = line.size();
            word.append(line.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                bool escaped =
                    line[i] == '\\' && i + 1 < line.size() &&
                    std::string_view("\"\\$`").find(line[i + 1]) != std::string_view::npos;
                if (escaped) ++i;
                word += line[i];
            }
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

// The program may outlive the call; a thread of its own collects its exit so
// no zombie stays behind, without the caller waiting.
void reapLater(pid_t pid) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
}

struct Spawned {
    pid_t pid = -1;
    int output = -1;  // read end of the merged output pipe, when captured
};

class SpawnSetup {
  public:
    SpawnSetup() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attributes_);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

enum class Grouping { Inherited, OwnSession, OwnGroup };

bool spawn(const std::vector<std::string>& osArgv, std::string_view folder, bool capture,
           Grouping grouping, Spawned& spawned) {
    if (osArgv.empty() || osArgv[0].empty()) return false;
    SpawnSetup setup;
    int pipeFds[2] = {-1, -1};
    if (capture) {
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
        ::posix_spawn_file_actions_adddup2(&setup.actions_, pipeFds[1], STDOUT_FILENO);
        ::posix_spawn_file_actions_adddup2(&setup.actions_, pipeFds[1], STDERR_FILENO);
    }
    ::posix_spawn_file_actions_addopen(&setup.actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::string osFolder = toOsPath(folder);
    if (!osFolder.empty())
        ::posix_spawn_file_actions_addchdir_np(&setup.actions_, osFolder.c_str());
    // Signals this program ignores or blocks are the child's business again.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    ::posix_spawnattr_setsigmask(&setup.attributes_, &none);
    ::posix_spawnattr_setsigdefault(&setup.attributes_, &defaults);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (grouping == Grouping::OwnSession) flags |= POSIX_SPAWN_SETSID;
    if (grouping == Grouping::OwnGroup) {
        flags |= POSIX_SPAWN_SETPGROUP;
        ::posix_spawnattr_setpgroup(&setup.attributes_, 0);
    }
    ::posix_spawnattr_setflags(&setup.attributes_, flags);

    std::vector<char*> argv;
    for (const auto& word : osArgv) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    int error = ::posix_spawnp(&spawned.pid, argv[0], &setup.actions_, &setup.attributes_,
                               argv.data(), environ);
    if (capture) ::close(pipeFds[1]);
    if (error != 0) {
        if (capture) ::close(pipeFds[0]);
        return false;
    }
    spawned.output = pipeFds[0];
    return true;
}

std::vector<std::string> toOs(const std::vector<std::string>& argv) {
    std::vector<std::string> os;
    os.reserve(argv.size());
    for (const auto& word : argv) os.push_back(toOsPath(word));
    return os;
}

// Output cut into lines at LF, CR dropped, each taken as UTF-8 and kept as
// Shift_JIS behind `prefix`.
class LineCollector {
  public:
    LineCollector(std::string_view prefix, std::vector<std::string>& target)
        : prefix_(prefix), target_(target) {}
    void feed(const char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (bytes[i] == '\n') {
                emit();
            } else if (bytes[i] != '\r') {
                line_ += bytes[i];
            }
        }
    }
    // A last line without LF counts when it is not empty.
    void finish() {
        if (!line_.empty()) emit();
    }

  private:
    void emit() {
        target_.push_back(std::string(prefix_) + utf8ToSjis(line_));
        line_.clear();
    }
    std::string_view prefix_;
    std::vector<std::string>& target_;
    std::string line_;
};

// Reads the pipe to its end.
void readLines(int fd, std::string_view prefix, std::vector<std::string>& target) {
    LineCollector lines(prefix, target);
    char chunk[kChunk];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        lines.feed(chunk, static_cast<std::size_t>(n));
    }
    lines.finish();
}

// Asks a program and everything it started (its process group) to end, and
// makes it end when it has not after a second; then reaps it.
int stopGroup(pid_t pid) {
    ::kill(-pid, SIGTERM);
    int status = 0;
    for (int waited = 0; waited < 100; ++waited) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

int runAndCapture(std::vector<std::string>& target, std::string_view folder,
                  std::string_view commandLine, std::string_view prefix) {
    Spawned spawned;
    if (!spawn(splitWords(toOsPath(commandLine)), folder, true, Grouping::Inherited, spawned))
        return -1;
    readLines(spawned.output, prefix, target);
    ::close(spawned.output);
    reapLater(spawned.pid);
    return 0;
}

std::string shellCommandLine(std::string_view command) {
    std::string quoted = "/bin/sh -c '";
    for (char c : command) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

bool startDetached(const std::vector<std::string>& argv, std::string_view folder) {
    Spawned spawned;
    if (!spawn(toOs(argv), folder, false, Grouping::OwnSession, spawned)) return false;
    reapLater(spawned.pid);
    return true;
}

RunningProgram::~RunningProgram() {
    if (!reaped_) reapLater(pid_);
}

bool RunningProgram::start(std::string_view program, std::string_view arguments,
                           std::string_view folder) {
    if (!reaped_) return false;
    std::vector<std::string> argv{toOsPath(program)};
    for (auto& word : splitWords(toOsPath(arguments))) argv.push_back(std::move(word));
    Spawned spawned;
    if (!spawn(argv, folder, false, Grouping::Inherited, spawned)) return false;
    pid_ = spawned.pid;
    reaped_ = false;
    return true;
}

std::optional<int> RunningProgram::poll() {
    if (reaped_) return -1;
    int status = 0;
    pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR)) return std::nullopt;
    reaped_ = true;
    if (done == pid_ && WIFEXITED(status)) return WEXITSTATUS(status);
    return -1;
}

FinishedRun runToEnd(const std::vector<std::string>& argv, std::string_view folder) {
    FinishedRun run;
    Spawned spawned;
    if (!spawn(toOs(argv), folder, true, Grouping::Inherited, spawned)) return run;
    run.started = true;
    readLines(spawned.output, "", run.lines);
    ::close(spawned.output);
    int status = 0;
    while (::waitpid(spawned.pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

CapturedRun runCaptured(const std::vector<std::string>& argv, std::string_view folder,
                        std::size_t limit, const std::function<bool()>& poll) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kPollEvery = std::chrono::milliseconds(50);
    CapturedRun run;
    Spawned spawned;
    if (!spawn(toOs(argv), folder, true, Grouping::OwnGroup, spawned)) return run;
    run.started = true;
    LineCollector lines("", run.lines);
    std::size_t kept = 0;
    bool open = true;
    bool stop = false;
    auto lastPoll = Clock::now();
    auto askBreak = [&] {
        if (Clock::now() - lastPoll < kPollEvery) return;
        lastPoll = Clock::now();
        if (poll && poll()) {
            run.broken = true;
            stop = true;
        }
    };
    char chunk[kChunk];
    while (open && !stop) {
        pollfd watched{spawned.output, POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(kPollEvery.count()));
        if (ready > 0) {
            const ssize_t n = ::read(spawned.output, chunk, sizeof chunk);
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (n <= 0) {
                open = false;
            } else {
                const std::size_t room = limit - kept;
                const std::size_t taken = std::min(room, static_cast<std::size_t>(n));
                lines.feed(chunk, taken);
                kept += taken;
                if (taken < static_cast<std::size_t>(n)) {
                    run.cut = true;
                    stop = true;
                }
            }
        }
        askBreak();
    }
    lines.finish();
    ::close(spawned.output);
    int status = 0;
    // The output may close before the program ends; it is still waited for,
    // and Break still stops it.
    while (!stop) {
        const pid_t done = ::waitpid(spawned.pid, &status, WNOHANG);
        if (done == spawned.pid) break;
        if (done < 0 && errno != EINTR) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        askBreak();
    }
    if (stop) {
        stopGroup(spawned.pid);
        return run;
    }
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace zel
