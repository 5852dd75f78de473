#include "platform/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

bool spawn(const std::vector<std::string>& osArgv, std::string_view folder, bool capture,
           bool ownSession, Spawned& spawned) {
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
    if (ownSession) flags |= POSIX_SPAWN_SETSID;
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

// Reads the pipe to its end, cutting lines at LF and dropping CR.
void readLines(int fd, std::string_view prefix, std::vector<std::string>& target) {
    std::string line;
    char chunk[kChunk];
    auto emit = [&] {
        target.push_back(std::string(prefix) + utf8ToSjis(line));
        line.clear();
    };
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        for (ssize_t i = 0; i < n; ++i) {
            if (chunk[i] == '\n') {
                emit();
            } else if (chunk[i] != '\r') {
                line += chunk[i];
            }
        }
    }
    if (!line.empty()) emit();
}

}  // namespace

int runAndCapture(std::vector<std::string>& target, std::string_view folder,
                  std::string_view commandLine, std::string_view prefix) {
    Spawned spawned;
    if (!spawn(splitWords(toOsPath(commandLine)), folder, true, false, spawned)) return -1;
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
    if (!spawn(toOs(argv), folder, false, true, spawned)) return false;
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
    if (!spawn(argv, folder, false, false, spawned)) return false;
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
    if (!spawn(toOs(argv), folder, true, false, spawned)) return run;
    run.started = true;
    readLines(spawned.output, "", run.lines);
    ::close(spawned.output);
    int status = 0;
    while (::waitpid(spawned.pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace zel
