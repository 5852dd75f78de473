#include "cli/HandOver.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <ostream>

extern char** environ;

namespace zel {

namespace {

bool isProgram(const std::filesystem::path& path) {
    return !path.empty() && ::access(path.c_str(), X_OK) == 0 &&
           std::filesystem::is_regular_file(path);
}

// Both ends of a pipe, closed when it goes.
struct Pipe {
    int ends[2] = {-1, -1};
    bool open() { return ::pipe2(ends, O_CLOEXEC) == 0; }
    void close(int end) {
        if (ends[end] >= 0) ::close(ends[end]);
        ends[end] = -1;
    }
    ~Pipe() {
        close(0);
        close(1);
    }
};

// Copies what the child writes to its two pipes until both are closed.
void relay(Pipe& out, Pipe& err, const ToolOutput& io) {
    std::array<pollfd, 2> ends = {pollfd{out.ends[0], POLLIN, 0}, pollfd{err.ends[0], POLLIN, 0}};
    std::array<std::ostream*, 2> streams = {&io.out, &io.err};
    char buffer[1 << 14];
    int open = 2;
    while (open > 0) {
        if (::poll(ends.data(), ends.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        for (std::size_t i = 0; i < ends.size(); ++i) {
            if (ends[i].fd < 0 || ends[i].revents == 0) continue;
            const ssize_t got = ::read(ends[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                streams[i]->write(buffer, got);
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            ends[i].fd = -1;
            --open;
        }
    }
}

int waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

std::string windowProgramPath() {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed && isProgram(self.parent_path() / "zel")) return (self.parent_path() / "zel");
#ifdef ZEL_BUILT_WINDOW_PROGRAM
    if (isProgram(ZEL_BUILT_WINDOW_PROGRAM)) return ZEL_BUILT_WINDOW_PROGRAM;
#endif
    return {};
}

int handOverToWindowProgram(const ToolOutput& io, const std::vector<std::string>& arguments,
                            std::string_view what) {
    const std::string program = windowProgramPath();
    if (program.empty())
        return io.fail(std::string(what) +
                       " needs the GUI build: there is no zel program beside zel-tool");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    Pipe out, err;
    if (!out.open() || !err.open()) return io.fail("cannot start " + program);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.ends[1], STDERR_FILENO);
    pid_t child = -1;
    const int spawned =
        ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return io.fail("cannot start " + program);
    out.close(1);
    err.close(1);
    relay(out, err, io);
    return waitFor(child);
}

}  // namespace zel
